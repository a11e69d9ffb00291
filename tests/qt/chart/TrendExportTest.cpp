// The trend picture: the PNG's size and drawn series by their colours, with the look the view
// gives the charts (PC1.dat and its colours).
#include <unistd.h>
#include <QColor>
#include <QImage>
#include <filesystem>
#include <stdexcept>

#include <gtest/gtest.h>

#include "chart/TrendPng.h"
#include "platform/LibraryFolder.h"
#include "trend/ChartPoints.h"

namespace qx::ui {
namespace {

using test::addPoint;
using test::kTenOClock;

// A chart as the view sets it up: PC1.dat, a minute's window from ten o'clock, Y from 0 to 100.
void setUp(platform::ChartObject& chart, uint32_t symbolColour) {
    chart.load(platform::libraryFolder() + "/PC1.dat");
    chart.group(1).style(1).setFillColor(symbolColour);
    chart.group(1).style(1).setSymbolShape(platform::SymbolShape::Dot);
    auto& area = chart.chartArea();
    area.axis("X").timeScale().setBase(kTenOClock);
    area.axis("X").setMax(60 / 3600.0);
    for (const char* y : {"Y", "Y2"}) area.axis(y).setMax(100);
}

int countColour(const QImage& image, const QRect& part, QColor colour) {
    int n = 0;
    for (int y = part.top(); y <= part.bottom(); ++y)
        for (int x = part.left(); x <= part.right(); ++x) n += image.pixelColor(x, y) == colour;
    return n;
}

// A flow line with a break in the middle and a temperature line across: each half of the picture
// shows its chart's line and symbols, and no line crosses the break.
TEST(TrendExportTest, PngOfBothChartsAtTheGivenSize) {
    platform::ChartObject flow, temp;
    setUp(flow, 0xEF29ED);
    setUp(temp, 0x288C96);
    for (int s = 0; s <= 20; s += 2) addPoint(flow, s, 50);
    addPoint(flow, 20, {});
    addPoint(flow, 40, {});
    for (int s = 40; s <= 60; s += 2) addPoint(flow, s, 50);
    for (int s = 0; s <= 60; s += 2) addPoint(temp, s, 25);

    const auto file =
        std::filesystem::temp_directory_path() / ("qx-trend-" + std::to_string(getpid()) + ".png");
    exportTrendPng(file.string(), {flow, temp, "FM1", {"PROINFLOW_RAW", "Bit"}, {"PROINTEMP", "°C"}}, 700,
                   500);
    QImage image(QString::fromStdString(file.string()));
    std::filesystem::remove(file);
    ASSERT_EQ(image.size(), QSize(700, 500));

    const QColor line(0, 0, 128), flowSymbol(237, 41, 239), tempSymbol(150, 140, 40);
    const QRect top(0, 0, 700, 250), bottom(0, 250, 700, 250);
    EXPECT_GT(countColour(image, top, line), 200);
    EXPECT_GT(countColour(image, bottom, line), 400);
    EXPECT_GT(countColour(image, top, flowSymbol), 50);
    EXPECT_EQ(countColour(image, top, tempSymbol), 0);
    EXPECT_GT(countColour(image, bottom, tempSymbol), 50);

    // The columns of the top half that show the line: two stretches, a gap of a third between.
    std::vector<int> lineColumns;
    for (int x = 0; x < 700; ++x)
        if (countColour(image, QRect(x, 0, 1, 250), line) > 0) lineColumns.push_back(x);
    ASSERT_FALSE(lineColumns.empty());
    int widestGap = 0;
    for (size_t i = 1; i < lineColumns.size(); ++i)
        widestGap = std::max(widestGap, lineColumns[i] - lineColumns[i - 1]);
    const int span = lineColumns.back() - lineColumns.front();
    EXPECT_GT(widestGap, span / 4);
    EXPECT_LT(widestGap, span / 2);
}

// A picture as large as the console's largest view cannot be drawn: the error says so, and Qt
// says nothing of its own (no painter warnings on the console's standard error).
TEST(TrendExportTest, PngTooLargeToDrawSaysSoWithoutQtWarnings) {
    platform::ChartObject flow, temp;
    static std::vector<std::string> qtSaid;
    qtSaid.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& m) { qtSaid.push_back(m.toStdString()); });
    std::string why;
    try {
        exportTrendPng("/tmp/never.png", {flow, temp, "FM1", {"F", ""}, {"T", ""}}, 2147483647 / 15,
                       2147483647 / 15);
    } catch (const std::runtime_error& e) {
        why = e.what();
    }
    qInstallMessageHandler(previous);
    EXPECT_EQ(
        why,
        "/tmp/never.png: the picture would be 143165576 x 143165576 pixels, larger than 32767 on a side");
    EXPECT_EQ(qtSaid, std::vector<std::string>{});
    EXPECT_FALSE(std::filesystem::exists("/tmp/never.png"));
}

// Above each chart a legend shows each line the chart holds values for, drawn as the chart draws
// it: the flow chart's value and switch point, the temperature chart's value alone.
TEST(TrendExportTest, PngLegendShowsTheLinesEachChartHolds) {
    platform::ChartObject flow, temp;
    setUp(flow, 0xEF29ED);
    setUp(temp, 0x288C96);
    for (int s = 0; s <= 60; s += 2) {
        addPoint(flow, s, 50);
        flow.group(1).data().setY(2, flow.group(1).data().numPoints(), 70);
        addPoint(temp, s, 25);
    }
    const auto file =
        std::filesystem::temp_directory_path() / ("qx-legend-" + std::to_string(getpid()) + ".png");
    exportTrendPng(file.string(), {flow, temp, "FM1", {"Durchfluss", "Bit"}, {"Temperatur", "°C"}}, 700, 500,
                   1031);
    QImage image(QString::fromStdString(file.string()));
    std::filesystem::remove(file);
    ASSERT_EQ(image.size(), QSize(700, 500));

    const QColor valueLine(0, 0, 128), switchPointLine(255, 0, 0);
    const QRect flowCaption(0, 0, 700, 22), tempCaption(0, 250, 700, 22);
    EXPECT_GT(countColour(image, flowCaption, valueLine), 10);
    EXPECT_GT(countColour(image, flowCaption, switchPointLine), 5);
    EXPECT_GT(countColour(image, tempCaption, valueLine), 10);
    EXPECT_EQ(countColour(image, tempCaption, switchPointLine), 0);
}

}  // namespace
}  // namespace qx::ui
