// Symbols on a line series: each point that stands apart from its neighbours by more than a
// symbol keeps its symbol exactly where it was drawn before, while points packed closer than
// that show the line alone (a symbol on each of thousands of vertices costs a paint of well over
// a frame and shows nothing but a smear).
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "chart/ChartPainter.h"
#include "platform/LibraryFolder.h"

namespace qx::ui {
namespace {

const QColor kSymbol(237, 41, 239);

void addPoint(platform::ChartObject& chart, double seconds, int16_t y) {
    auto& d = chart.group(1).data();
    const int32_t n = d.numPoints() + 1;
    d.setNumPoints(n);
    d.setX(n, seconds / 3600.0);
    d.setY(1, n, y);
}

TEST(ChartSymbolsTest, SymbolsWherePointsStandApartAndNoneWhereTheyCrowd) {
    platform::ChartObject chart;
    chart.load(platform::libraryFolder() + "/PC1.dat");
    chart.group(1).style(1).setFillColor(0xEF29ED);
    chart.group(1).style(1).setSymbolShape(platform::SymbolShape::Dot);
    chart.chartArea().axis("X").setMax(60 / 3600.0);
    for (const char* y : {"Y", "Y2"}) chart.chartArea().axis(y).setMax(100);
    // The first half a point every 10 ms, the second a point every 3 s, as a 1 s poll gives at a
    // wider window.
    for (int i = 0; i < 3000; ++i) addPoint(chart, i * 0.01, static_cast<int16_t>(30 + i % 7));
    for (int s = 33; s <= 57; s += 3) addPoint(chart, s, 60);

    QImage image(640, 300, QImage::Format_RGB32);
    const ChartPainter painter;
    {
        QPainter p(&image);
        painter.paint(p, chart, image.rect());
    }
    const QRect plot = painter.plotArea(chart, image.rect());
    const auto xOf = [&](double seconds) { return plot.left() + seconds / 60 * plot.width(); };
    int crowded = 0;
    for (int y = plot.top(); y <= plot.bottom(); ++y)
        for (int x = plot.left(); x < static_cast<int>(xOf(30)) - 3; ++x)
            crowded += image.pixelColor(x, y) == kSymbol;
    EXPECT_EQ(crowded, 0);
    const double yOf60 = plot.bottom() - 0.6 * plot.height();
    for (int s = 33; s <= 57; s += 3)
        EXPECT_EQ(image.pixelColor(static_cast<int>(xOf(s)), static_cast<int>(yOf60)), kSymbol)
            << "point at " << s << " s";
}

}  // namespace
}  // namespace qx::ui
