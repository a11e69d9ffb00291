#include "chart/ChartPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "chart/ChartDecimation.h"
#include "chart/ChartTicks.h"

namespace qx::ui {

using platform::ChartAxis;
using platform::ChartObject;
using platform::ChartStyle;

namespace {

constexpr int kGap = 4;  // between the plot and its labels, and around titles
constexpr int kTickLength = 4;
constexpr int kLabelSpacing = 28;  // the least room a value label wants along the Y axis
constexpr QColor kFrameColour{90, 90, 90};
constexpr QColor kGridColour{222, 222, 222};
constexpr QColor kTextColour{40, 40, 40};

QColor colourOf(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>(bgr >> 8 & 0xFF),
                  static_cast<int>(bgr >> 16 & 0xFF));
}

Qt::PenStyle penStyleOf(platform::LinePattern p) {
    switch (p) {
        case platform::LinePattern::None:
            return Qt::NoPen;
        case platform::LinePattern::Solid:
            return Qt::SolidLine;
        case platform::LinePattern::Dash:
            return Qt::DashLine;
        case platform::LinePattern::Dot:
            return Qt::DotLine;
        case platform::LinePattern::DashDot:
            return Qt::DashDotLine;
    }
    return Qt::SolidLine;
}

bool hasRange(const ChartAxis& a) {
    return a.max() > a.min();
}

// Maps chart values to pixels of the plot rectangle.
class PlotMapping {
  public:
    PlotMapping(const QRectF& plot, const ChartAxis& x, const ChartAxis& y) : plot_(plot), x_(x), y_(y) {}

    double px(double x) const {
        return plot_.left() + (x - x_.min()) / (x_.max() - x_.min()) * plot_.width();
    }
    double py(double y) const {
        return plot_.bottom() - (y - y_.min()) / (y_.max() - y_.min()) * plot_.height();
    }
    QPointF point(const ChartVertex& v) const { return {px(v.x), py(v.y)}; }
    double bottom() const { return plot_.bottom(); }

  private:
    QRectF plot_;
    const ChartAxis& x_;
    const ChartAxis& y_;
};

QPolygonF runPolygon(const DecimatedSeries& s, size_t run, const PlotMapping& m, platform::ChartType type) {
    QPolygonF line;
    for (size_t i = s.runStarts[run]; i < s.runEnd(run); ++i) {
        const QPointF p = m.point(s.vertices[i]);
        if (type == platform::ChartType::Step && !line.isEmpty()) line.append({p.x(), line.back().y()});
        line.append(p);
    }
    return line;
}

void drawSymbols(QPainter& painter, const DecimatedSeries& s, const PlotMapping& m, const ChartStyle& style) {
    const double r = style.symbolSize() / 2.0;
    const QColor fill = colourOf(style.fillColor());
    painter.setPen(style.symbolShape() == platform::SymbolShape::Star ||
                           style.symbolShape() == platform::SymbolShape::Cross
                       ? QPen(fill, 1.2)
                       : QPen(Qt::NoPen));
    painter.setBrush(fill);
    for (const ChartVertex& v : s.vertices) {
        const QPointF c = m.point(v);
        switch (style.symbolShape()) {
            case platform::SymbolShape::None:
                return;
            case platform::SymbolShape::Dot:
                painter.drawEllipse(c, r, r);
                break;
            case platform::SymbolShape::Box:
                painter.drawRect(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r));
                break;
            case platform::SymbolShape::Triangle:
                painter.drawPolygon(
                    QPolygonF({{c.x(), c.y() - r}, {c.x() + r, c.y() + r}, {c.x() - r, c.y() + r}}));
                break;
            case platform::SymbolShape::Diamond:
                painter.drawPolygon(QPolygonF(
                    {{c.x(), c.y() - r}, {c.x() + r, c.y()}, {c.x(), c.y() + r}, {c.x() - r, c.y()}}));
                break;
            case platform::SymbolShape::Star:
                painter.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
                painter.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
                [[fallthrough]];
            case platform::SymbolShape::Cross:
                painter.drawLine(QPointF(c.x() - r, c.y() - r), QPointF(c.x() + r, c.y() + r));
                painter.drawLine(QPointF(c.x() - r, c.y() + r), QPointF(c.x() + r, c.y() - r));
                break;
        }
    }
}

void drawSeries(QPainter& painter, const DecimatedSeries& s, const PlotMapping& m, platform::ChartType type,
                const ChartStyle& style) {
    if (s.vertices.empty()) return;
    if (type == platform::ChartType::Area) {
        painter.setPen(style.linePattern() == platform::LinePattern::None || style.lineWidth() == 0
                           ? QPen(Qt::NoPen)
                           : QPen(colourOf(style.lineColor()), style.lineWidth()));
        painter.setBrush(colourOf(style.fillColor()));
        for (size_t r = 0; r < s.runCount(); ++r) {
            QPolygonF area = runPolygon(s, r, m, type);
            area.append({area.back().x(), m.bottom()});
            area.append({area.front().x(), m.bottom()});
            painter.drawPolygon(area);
        }
        return;
    }
    if (style.linePattern() != platform::LinePattern::None && style.lineWidth() > 0) {
        QPen pen(colourOf(style.lineColor()), style.lineWidth(), penStyleOf(style.linePattern()), Qt::FlatCap,
                 Qt::RoundJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        for (size_t r = 0; r < s.runCount(); ++r) {
            const QPolygonF line = runPolygon(s, r, m, type);
            if (line.size() == 1)
                painter.drawPoint(line.front());  // a lone point between two holes still shows
            else
                painter.drawPolyline(line);
        }
    }
    if (style.symbolShape() != platform::SymbolShape::None) drawSymbols(painter, s, m, style);
}

// Draws the groups of one kind: the areas (behind the grid) or the lines (in front of it). Group 2
// (the band on Y2) lies behind group 1; within a line group the first series is drawn last, so
// the process value stays on top of its reference lines.
void drawGroups(QPainter& painter, const ChartObject& chart, const QRectF& plot, int columns, bool areas) {
    const ChartAxis& x = chart.chartArea().axis("X");
    const ChartColumns window{x.min(), x.max(), columns};
    if (window.empty()) return;
    for (int g = platform::kChartGroupCount; g >= 1; --g) {
        const ChartAxis& y = chart.chartArea().axis(g == 1 ? "Y" : "Y2");
        const platform::ChartGroup& group = chart.group(g);
        if (!hasRange(y) || areas != (group.chartType() == platform::ChartType::Area)) continue;
        const PlotMapping mapping(plot, x, y);
        if (areas) {
            for (int s = 1; s <= group.styleCount(); ++s)
                drawSeries(painter, decimate(group.data(), s, window), mapping, group.chartType(),
                           group.style(s));
        } else {
            for (int s = group.styleCount(); s >= 1; --s)
                drawSeries(painter, decimate(group.data(), s, window), mapping, group.chartType(),
                           group.style(s));
        }
    }
}

std::vector<AxisTick> ticksOf(const ChartAxis& axis, int length, int labelRoom) {
    const int maxCount = std::max(1, length / std::max(1, labelRoom));
    if (axis.labels() == platform::AxisLabels::Time)
        return timeTicks(axis.timeScale(), axis.min(), axis.max(), maxCount);
    return valueTicks(axis.min(), axis.max(), maxCount);
}

int widestLabel(const QFontMetrics& fm, const std::vector<AxisTick>& ticks) {
    int w = 0;
    for (const AxisTick& t : ticks) w = std::max(w, fm.horizontalAdvance(QString::fromStdString(t.label)));
    return w;
}

// The room a vertical axis needs beside the plot: labels and title.
int verticalAxisRoom(const QFontMetrics& fm, const ChartAxis& axis, int plotHeight) {
    if (!axis.visible()) return 0;
    int room = kTickLength + kGap + widestLabel(fm, ticksOf(axis, plotHeight, kLabelSpacing));
    if (!axis.title().empty()) room += fm.height() + kGap;
    return room;
}

int timeLabelRoom(const QFontMetrics& fm, const ChartAxis& x) {
    const std::string sample = x.labels() == platform::AxisLabels::Time ? x.timeScale().label(0) : "-8888.8";
    return fm.horizontalAdvance(QString::fromStdString(sample)) + 3 * kGap;
}

void drawVerticalAxis(QPainter& painter, const QFontMetrics& fm, const ChartAxis& axis, const QRectF& plot,
                      bool left) {
    const auto ticks = ticksOf(axis, static_cast<int>(plot.height()), kLabelSpacing);
    const double edge = left ? plot.left() : plot.right();
    const int outward = left ? -1 : 1;
    int widest = 0;
    for (const AxisTick& t : ticks) {
        const double y = plot.bottom() - (t.value - axis.min()) / (axis.max() - axis.min()) * plot.height();
        painter.drawLine(QPointF(edge, y), QPointF(edge + outward * kTickLength, y));
        const QString label = QString::fromStdString(t.label);
        const int w = fm.horizontalAdvance(label);
        widest = std::max(widest, w);
        const double lx = left ? edge - kTickLength - kGap - w : edge + kTickLength + kGap;
        painter.drawText(QPointF(lx, y + fm.ascent() / 2.0 - 1), label);
    }
    if (axis.title().empty()) return;
    const QString title = QString::fromStdString(axis.title());
    painter.save();
    const double tx = left ? edge - kTickLength - 2 * kGap - widest - fm.descent()
                           : edge + kTickLength + 2 * kGap + widest + fm.ascent();
    painter.translate(tx, plot.center().y());
    painter.rotate(left ? -90 : 90);
    painter.drawText(QPointF(-fm.horizontalAdvance(title) / 2.0, 0), title);
    painter.restore();
}

void drawGrid(QPainter& painter, const ChartObject& chart, const QRectF& plot, int xLabelRoom) {
    painter.setPen(QPen(kGridColour, 1));
    const ChartAxis& x = chart.chartArea().axis("X");
    const ChartAxis& y = chart.chartArea().axis("Y");
    if (x.grid() && hasRange(x))
        for (const AxisTick& t : ticksOf(x, static_cast<int>(plot.width()), xLabelRoom)) {
            const double px = plot.left() + (t.value - x.min()) / (x.max() - x.min()) * plot.width();
            painter.drawLine(QPointF(px, plot.top()), QPointF(px, plot.bottom()));
        }
    if (y.grid() && hasRange(y))
        for (const AxisTick& t : ticksOf(y, static_cast<int>(plot.height()), kLabelSpacing)) {
            const double py = plot.bottom() - (t.value - y.min()) / (y.max() - y.min()) * plot.height();
            painter.drawLine(QPointF(plot.left(), py), QPointF(plot.right(), py));
        }
}

void drawAxes(QPainter& painter, const QFontMetrics& fm, const ChartObject& chart, const QRectF& plot,
              int xLabelRoom) {
    painter.setPen(QPen(kFrameColour, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot.adjusted(0, 0, -1, -1));
    painter.setPen(kTextColour);
    const ChartAxis& x = chart.chartArea().axis("X");
    const ChartAxis& y = chart.chartArea().axis("Y");
    const ChartAxis& y2 = chart.chartArea().axis("Y2");
    if (y.visible() && hasRange(y)) drawVerticalAxis(painter, fm, y, plot, true);
    if (y2.visible() && hasRange(y2)) drawVerticalAxis(painter, fm, y2, plot, false);
    if (!x.visible()) return;
    const double labelBase = plot.bottom() + kTickLength + kGap + fm.ascent();
    if (hasRange(x))
        for (const AxisTick& t : ticksOf(x, static_cast<int>(plot.width()), xLabelRoom)) {
            const double px = plot.left() + (t.value - x.min()) / (x.max() - x.min()) * plot.width();
            painter.drawLine(QPointF(px, plot.bottom()), QPointF(px, plot.bottom() + kTickLength));
            const QString label = QString::fromStdString(t.label);
            painter.drawText(QPointF(px - fm.horizontalAdvance(label) / 2.0, labelBase), label);
        }
    if (!x.title().empty()) {
        const QString title = QString::fromStdString(x.title());
        painter.drawText(QPointF(plot.center().x() - fm.horizontalAdvance(title) / 2.0,
                                 labelBase + fm.descent() + kGap + fm.ascent()),
                         title);
    }
}

}  // namespace

ChartPainter::ChartPainter() : font_(QStringLiteral("DejaVu Sans")) {
    font_.setPixelSize(11);
}

QRect ChartPainter::plotArea(const ChartObject& chart, const QRect& area, int leftRoom) const {
    const QFontMetrics fm(font_);
    const ChartAxis& x = chart.chartArea().axis("X");
    const int roughHeight = std::max(0, area.height() - 3 * fm.height());
    const int left = std::max(
        std::max(verticalAxisRoom(fm, chart.chartArea().axis("Y"), roughHeight), kGap) + kGap, leftRoom);
    // The last time label is centred on the plot's right edge and needs half its width there.
    const int right =
        std::max(verticalAxisRoom(fm, chart.chartArea().axis("Y2"), roughHeight), timeLabelRoom(fm, x) / 2) +
        kGap;
    int bottom = kGap;
    if (x.visible())
        bottom += kTickLength + kGap + fm.height() + (x.title().empty() ? 0 : fm.height() + kGap);
    const int top = fm.height() / 2 + kGap;
    return area.adjusted(left, top, -right, -bottom);
}

void ChartPainter::paint(QPainter& painter, const ChartObject& chart, const QRect& area, int leftRoom) const {
    painter.save();
    painter.setFont(font_);
    const QFontMetrics fm(font_);
    painter.fillRect(area, colourOf(chart.backColor()));
    const QRect plot = plotArea(chart, area, leftRoom);
    if (plot.width() > 0 && plot.height() > 0) {
        const int xLabelRoom = timeLabelRoom(fm, chart.chartArea().axis("X"));
        painter.save();
        painter.setClipRect(plot);
        drawGroups(painter, chart, QRectF(plot), plot.width(), true);
        drawGrid(painter, chart, QRectF(plot), xLabelRoom);
        painter.setRenderHint(QPainter::Antialiasing);
        drawGroups(painter, chart, QRectF(plot), plot.width(), false);
        painter.restore();
        drawAxes(painter, fm, chart, QRectF(plot), xLabelRoom);
    }
    painter.restore();
}

}  // namespace qx::ui
