#include "viewer/RecordingPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "trend/ChartTicks.h"
#include "viewer/TimeAxis.h"

namespace qx::viewer {

namespace {

constexpr int kMarkerHeight = 7;

QColor markerColour(const std::string& kind) {
    if (kind == "note") return {0, 110, 220};
    if (kind == "write" || kind == "answer") return {220, 120, 0};
    if (kind == "teach-state") return {0, 150, 60};
    if (kind == "connection") return {200, 0, 0};
    return {110, 110, 110};
}

// The values the chart's lines take in the window, with a little room above and below.
std::pair<double, double> valueRange(const Recording& recording, const ChartContent& content,
                                     const ChartWindow& window) {
    Stretch all;
    for (const ChartLine& line : content.lines) {
        all.merge(recording.between(line.quantity, window.fromMs, window.toMs));
        // The line runs on from the sample before the window, so its value is in view too.
        if (const auto v = recording.valueAt(line.quantity, window.fromMs)) all.add(0, *v);
    }
    if (all.empty()) return {0, 1};
    const double pad =
        all.high > all.low ? (all.high - all.low) * 0.05 : std::max(1.0, std::abs(all.low) * 0.05);
    return {all.low - pad, all.high + pad};
}

}  // namespace

RecordingPainter::RecordingPainter() : font_("DejaVu Sans", 9) {
    const QFontMetrics m(font_);
    titleHeight_ = m.height() + 6;
    labelWidth_ = m.horizontalAdvance("-00000.0") + 8;
    timeHeight_ = m.height() + kMarkerHeight + 6;
}

QRect RecordingPainter::plotArea(const QRect& area) const {
    return area.adjusted(labelWidth_, titleHeight_, -12, -timeHeight_);
}

double RecordingPainter::xOf(const QRect& plot, const ChartWindow& window, double tMs) {
    return plot.left() + (tMs - window.fromMs) / (window.toMs - window.fromMs) * plot.width();
}

double RecordingPainter::timeAt(const QRect& plot, const ChartWindow& window, double x) {
    return window.fromMs + (x - plot.left()) / std::max(1, plot.width()) * (window.toMs - window.fromMs);
}

std::vector<int> RecordingPainter::eventsNear(const Recording& recording, const QRect& plot,
                                              const ChartWindow& window, double x, double reach) {
    const auto& events = recording.events();
    const double from = timeAt(plot, window, x - reach), to = timeAt(plot, window, x + reach);
    auto it = std::lower_bound(events.begin(), events.end(), from, [](const RecordedEvent& e, double t) {
        return static_cast<double>(e.tMs) < t;
    });
    std::vector<int> near;
    for (; it != events.end() && static_cast<double>(it->tMs) <= to; ++it)
        near.push_back(static_cast<int>(it - events.begin()));
    std::stable_sort(near.begin(), near.end(), [&](int a, int b) {
        return std::abs(static_cast<double>(events[static_cast<size_t>(a)].tMs) - timeAt(plot, window, x)) <
               std::abs(static_cast<double>(events[static_cast<size_t>(b)].tMs) - timeAt(plot, window, x));
    });
    return near;
}

void RecordingPainter::paint(QPainter& painter, const Recording& recording, const ChartContent& content,
                             const ChartWindow& window, const QRect& area) const {
    painter.save();
    painter.setFont(font_);
    painter.fillRect(area, Qt::white);
    const QRect plot = plotArea(area);
    if (plot.width() < 2 || plot.height() < 2 || !(window.toMs > window.fromMs)) {
        painter.restore();
        return;
    }
    const QFontMetrics metrics(font_);

    // Title on the left, the legend to its right, each line's sample stroke before its name.
    painter.setPen(Qt::black);
    int x = area.left() + 4;
    const int textY = area.top() + 3 + metrics.ascent();
    if (!content.title.isEmpty()) {
        painter.drawText(x, textY, content.title);
        x += metrics.horizontalAdvance(content.title) + 16;
    }
    for (const ChartLine& line : content.lines) {
        painter.setPen(QPen(line.colour, std::max<qreal>(line.width, 2), line.style));
        const int midY = area.top() + titleHeight_ / 2;
        painter.drawLine(x, midY, x + 18, midY);
        painter.setPen(Qt::black);
        painter.drawText(x + 22, textY, line.name);
        x += 22 + metrics.horizontalAdvance(line.name) + 14;
    }

    // Grid and labels.
    const auto [low, high] = valueRange(recording, content, window);
    const auto py = [&, low = low, high = high](double v) {
        return plot.bottom() - (v - low) / (high - low) * plot.height();
    };
    painter.setPen(QPen(QColor(225, 225, 225), 0));
    const auto valueTicks = trend::valueTicks(low, high, std::max(2, plot.height() / 30));
    const auto timeTicks = viewer::timeTicks(window.fromMs, window.toMs, std::max(2, plot.width() / 90));
    for (const auto& t : valueTicks)
        painter.drawLine(QPointF(plot.left(), py(t.value)), QPointF(plot.right(), py(t.value)));
    for (const auto& t : timeTicks) {
        const double tx = xOf(plot, window, t.ms);
        painter.drawLine(QPointF(tx, plot.top()), QPointF(tx, plot.bottom()));
    }
    painter.setPen(Qt::black);
    for (const auto& t : valueTicks) {
        const QString label = QString::fromStdString(t.label);
        painter.drawText(
            QRectF(area.left(), py(t.value) - metrics.height() / 2.0, labelWidth_ - 6, metrics.height()),
            Qt::AlignRight | Qt::AlignVCenter, label);
    }
    for (const auto& t : timeTicks) {
        const QString label = QString::fromStdString(t.label);
        const double w = metrics.horizontalAdvance(label);
        const double tx = std::clamp(xOf(plot, window, t.ms) - w / 2, double(area.left()), area.right() - w);
        painter.drawText(QPointF(tx, plot.bottom() + kMarkerHeight + 3 + metrics.ascent()), label);
    }
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);

    // The lines, the first on top.
    painter.setClipRect(plot);
    painter.setRenderHint(QPainter::Antialiasing);
    const auto starts = recording.columnStarts({window.fromMs, window.toMs, plot.width()});
    for (auto line = content.lines.rbegin(); line != content.lines.rend(); ++line) {
        const auto series = recording.decimate(line->quantity, starts);
        painter.setPen(QPen(line->colour, line->width, line->style, Qt::FlatCap, Qt::RoundJoin));
        QPolygonF run;
        for (size_t r = 0; r < series.runCount(); ++r) {
            run.clear();
            for (size_t i = series.runStarts[r]; i < series.runEnd(r); ++i) {
                const QPointF p(xOf(plot, window, series.vertices[i].x), py(series.vertices[i].y));
                // A held value (the switch point, the taught limits) is one stroke, not one per column.
                if (run.size() >= 2 && run.back().y() == p.y() && run[run.size() - 2].y() == p.y())
                    run.back() = p;
                else
                    run.append(p);
            }
            if (run.size() == 1) {
                painter.drawPoint(run.front());
                continue;
            }
            const qsizetype spanned = static_cast<qsizetype>(std::abs(run.back().x() - run.front().x())) + 1;
            if (run.size() <= 2 * spanned) {
                painter.drawPolyline(run);
                continue;
            }
            // Several vertices per pixel column draw a solid band whatever the pen; a wide pen's
            // outline of a line that doubles back in every column costs the rasterizer many
            // frames, a one-pixel aliased line next to nothing.
            const QPen wide = painter.pen();
            QPen thin = wide;
            thin.setWidth(0);
            painter.setPen(thin);
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.drawPolyline(run);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(wide);
        }
    }
    painter.setRenderHint(QPainter::Antialiasing, false);

    // Cursors over the lines, each with its letter at the top.
    for (const bool b : {false, true}) {
        const auto& t = b ? window.cursorB : window.cursorA;
        if (!t) continue;
        const double cx = xOf(plot, window, *t);
        painter.setPen(QPen(cursorColour(b), 1, Qt::DashLine));
        painter.drawLine(QPointF(cx, plot.top()), QPointF(cx, plot.bottom()));
        painter.setPen(cursorColour(b));
        painter.drawText(QPointF(cx + 3, plot.top() + metrics.ascent() + 1), b ? "B" : "A");
    }
    painter.setClipping(false);

    // Event markers under the plot: a small triangle pointing up at the event's time; events
    // closer than a marker share one.
    const auto& events = recording.events();
    auto it =
        std::lower_bound(events.begin(), events.end(), window.fromMs,
                         [](const RecordedEvent& e, double t) { return static_cast<double>(e.tMs) < t; });
    double lastX = -1e9;
    painter.setPen(Qt::NoPen);
    for (; it != events.end() && static_cast<double>(it->tMs) <= window.toMs; ++it) {
        const double ex = xOf(plot, window, static_cast<double>(it->tMs));
        const bool picked = it - events.begin() == window.pickedEvent;
        if (ex - lastX < 3 && !picked) continue;
        lastX = ex;
        const double top = plot.bottom() + 1, h = kMarkerHeight;
        painter.setBrush(picked ? QColor(Qt::black) : markerColour(it->kind));
        painter.drawPolygon(QPolygonF(
            {{ex, top}, {ex + h / 2 + (picked ? 1 : 0), top + h}, {ex - h / 2 - (picked ? 1 : 0), top + h}}));
    }
    painter.restore();
}

}  // namespace qx::viewer
