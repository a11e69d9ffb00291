#include "chart/ChartPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "chart/ChartSeries.h"
#include "trend/ChartTicks.h"

namespace qx::ui {

using platform::ChartAxis;
using platform::ChartObject;
using trend::AxisTick;

namespace {

constexpr int kGap = 4;  // between the plot and its labels, and around titles
constexpr int kTickLength = 4;
constexpr int kLabelSpacing = 28;  // the least room a value label wants along the Y axis
constexpr QColor kFrameColour{90, 90, 90};
constexpr QColor kGridColour{222, 222, 222};
constexpr QColor kTextColour{40, 40, 40};

// The titles of the shared chart definition, which is written in English, in the other
// languages the view speaks.
std::string titleIn(const std::string& title, int32_t language) {
    struct Translation {
        const char* english;
        int32_t language;
        const char* text;
    };
    static constexpr Translation kTitles[] = {{"Time", 1031, "Zeit"}};
    for (const auto& t : kTitles)
        if (title == t.english && language == t.language) return t.text;
    return title;
}

bool hasRange(const ChartAxis& a) {
    return a.max() > a.min();
}

std::vector<AxisTick> ticksOf(const ChartAxis& axis, int length, int labelRoom) {
    const int maxCount = std::max(1, length / std::max(1, labelRoom));
    if (axis.labels() == platform::AxisLabels::Time)
        return trend::timeTicks(axis.timeScale(), axis.min(), axis.max(), maxCount);
    return trend::valueTicks(axis.min(), axis.max(), maxCount);
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
                      bool left, int32_t language) {
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
    const QString title = QString::fromStdString(titleIn(axis.title(), language));
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
              int xLabelRoom, int32_t language) {
    painter.setPen(QPen(kFrameColour, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot.adjusted(0, 0, -1, -1));
    painter.setPen(kTextColour);
    const ChartAxis& x = chart.chartArea().axis("X");
    const ChartAxis& y = chart.chartArea().axis("Y");
    const ChartAxis& y2 = chart.chartArea().axis("Y2");
    if (y.visible() && hasRange(y)) drawVerticalAxis(painter, fm, y, plot, true, language);
    if (y2.visible() && hasRange(y2)) drawVerticalAxis(painter, fm, y2, plot, false, language);
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
        const QString title = QString::fromStdString(titleIn(x.title(), language));
        painter.drawText(QPointF(plot.center().x() - fm.horizontalAdvance(title) / 2.0,
                                 labelBase + fm.descent() + kGap + fm.ascent()),
                         title);
    }
}

}  // namespace

ChartPainter::ChartPainter() : font_(QStringLiteral("DejaVu Sans")) {
    font_.setPixelSize(11);
}

PlotRoom ChartPainter::neededRoom(const ChartObject& chart, const QRect& area) const {
    const QFontMetrics fm(font_);
    const ChartAxis& x = chart.chartArea().axis("X");
    const int roughHeight = std::max(0, area.height() - 3 * fm.height());
    const int left = std::max(verticalAxisRoom(fm, chart.chartArea().axis("Y"), roughHeight), kGap) + kGap;
    // The last time label is centred on the plot's right edge and needs half its width there.
    const int right =
        std::max(verticalAxisRoom(fm, chart.chartArea().axis("Y2"), roughHeight), timeLabelRoom(fm, x) / 2) +
        kGap;
    return {left, right};
}

QRect ChartPainter::plotArea(const ChartObject& chart, const QRect& area, PlotRoom room) const {
    const QFontMetrics fm(font_);
    const ChartAxis& x = chart.chartArea().axis("X");
    const PlotRoom needed = neededRoom(chart, area);
    int bottom = kGap;
    if (x.visible())
        bottom += kTickLength + kGap + fm.height() + (x.title().empty() ? 0 : fm.height() + kGap);
    const int top = fm.height() / 2 + kGap;
    return area.adjusted(std::max(needed.left, room.left), top, -std::max(needed.right, room.right), -bottom);
}

void ChartPainter::paint(QPainter& painter, const ChartObject& chart, const QRect& area,
                         PlotRoom room) const {
    painter.save();
    painter.setFont(font_);
    const QFontMetrics fm(font_);
    painter.fillRect(area, colourOf(chart.backColor()));
    const QRect plot = plotArea(chart, area, room);
    if (plot.width() > 0 && plot.height() > 0) {
        const int xLabelRoom = timeLabelRoom(fm, chart.chartArea().axis("X"));
        painter.save();
        painter.setClipRect(plot);
        drawGroups(painter, chart, QRectF(plot), true);
        drawGrid(painter, chart, QRectF(plot), xLabelRoom);
        painter.setRenderHint(QPainter::Antialiasing);
        drawGroups(painter, chart, QRectF(plot), false);
        painter.restore();
        drawAxes(painter, fm, chart, QRectF(plot), xLabelRoom, language_);
    }
    painter.restore();
}

}  // namespace qx::ui
