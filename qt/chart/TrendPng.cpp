#include "chart/TrendPng.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "chart/ChartPainter.h"
#include "chart/ChartSeries.h"
#include "chart/GuiApplication.h"

namespace qx::ui {

namespace {

constexpr int kMargin = 6;
// The painter's coordinates are 16-bit in places; a picture wider or higher than this is no use
// to anyone and would take gigabytes.
constexpr int kLargestSide = 32767;

QFont captionFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    return font;
}

// What a chart's lines stand for, in the order the definition gives its series: the value, the
// switch point, the taught maximum and minimum.
std::vector<std::string> lineNames(const std::string& value, int32_t language) {
    if (language == 1031) return {value, "Schaltpunkt", "Teach-Maximum", "Teach-Minimum"};
    return {value, "Switch point", "Taught maximum", "Taught minimum"};
}

bool holdsValues(const platform::ChartData& data, int series) {
    for (int32_t p = 1; p <= data.numPoints(); ++p)
        if (data.y(series, p)) return true;
    return false;
}

// One entry per line the chart holds values for, right of the caption: a short stretch of the
// line as the chart draws it, then its name.
void drawLegend(QPainter& p, const QFontMetrics& fm, const platform::ChartObject& chart,
                const std::vector<std::string>& names, QPoint at) {
    constexpr int kSample = 24;
    const auto& group = chart.group(1);
    int x = at.x();
    for (int s = 1; s <= group.styleCount() && s <= static_cast<int>(names.size()); ++s) {
        if (!holdsValues(group.data(), s)) continue;
        const QString name = QString::fromStdString(names[static_cast<size_t>(s - 1)]);
        const int middle = at.y() - fm.ascent() / 2 + fm.descent() / 2;
        p.setPen(linePenOf(group.style(s)));
        p.drawLine(x, middle, x + kSample, middle);
        p.setPen(QColor(40, 40, 40));
        p.drawText(QPoint(x + kSample + kMargin / 2, at.y()), name);
        x += kSample + kMargin / 2 + fm.horizontalAdvance(name) + 2 * kMargin;
    }
}

QImage renderTrend(const std::string& path, const trend::TrendSource& source, QSize size, int32_t language) {
    ensureGuiApplication();
    const std::string pixels =
        std::to_string(size.width()) + " x " + std::to_string(size.height()) + " pixels";
    if (size.width() > kLargestSide || size.height() > kLargestSide)
        throw std::runtime_error(path + ": the picture would be " + pixels + ", larger than " +
                                 std::to_string(kLargestSide) + " on a side");
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) throw std::runtime_error(path + ": there is no memory for a picture of " + pixels);
    image.fill(Qt::white);
    QPainter p(&image);
    const QFont font = captionFont();
    const QFontMetrics fm(font);
    QFont legendFont = font;
    legendFont.setBold(false);
    const QFontMetrics lfm(legendFont);
    const int half = size.height() / 2;
    const int captionHeight = fm.height() + kMargin;
    const struct {
        const platform::ChartObject& chart;
        const trend::TrendColumn& column;
        QRect area;
    } charts[] = {
        {source.flowChart, source.flow, QRect(0, 0, size.width(), half)},
        {source.temperatureChart, source.temperature, QRect(0, half, size.width(), size.height() - half)}};
    // The room both plots need, so that their time axes line up.
    ChartPainter painter;
    painter.setLanguage(language);
    PlotRoom room;
    for (const auto& c : charts) {
        const PlotRoom needed = painter.neededRoom(c.chart, c.area.adjusted(0, captionHeight, 0, 0));
        room = {std::max(room.left, needed.left), std::max(room.right, needed.right)};
    }
    for (const auto& c : charts) {
        const QString caption = QString::fromStdString(c.column.caption());
        const QPoint captionAt(c.area.left() + kMargin, c.area.top() + kMargin + fm.ascent());
        p.setFont(font);
        p.setPen(QColor(40, 40, 40));
        p.drawText(captionAt, caption);
        p.setFont(legendFont);
        drawLegend(p, lfm, c.chart, lineNames(c.column.name, language),
                   captionAt + QPoint(fm.horizontalAdvance(caption) + 3 * kMargin, 0));
        painter.paint(p, c.chart, c.area.adjusted(0, captionHeight, 0, 0), room);
    }
    return image;
}

}  // namespace

void exportTrendPng(const std::string& path, const trend::TrendSource& source, int width, int height,
                    int32_t language) {
    if (width < 1 || height < 2) throw std::runtime_error(path + ": the picture has no room");
    if (!renderTrend(path, source, QSize(width, height), language).save(QString::fromStdString(path), "PNG"))
        throw std::runtime_error(path + ": cannot be written");
}

}  // namespace qx::ui
