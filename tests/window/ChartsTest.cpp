// The two trend charts on screen: their time axes stand one above the other, and their axis
// titles speak the view's language.
#include <gtest/gtest.h>

#include <QImage>

#include "ViewMouse.h"
#include "chart/ChartWidget.h"

namespace qx::window::test {
namespace {

const QColor kPlotFrame(90, 90, 90);

ui::ChartWidget* chartOf(ViewMouse& mouse, const std::string& name) {
    for (auto* w : mouse.widget(name)->findChildren<QWidget*>())
        if (auto* chart = dynamic_cast<ui::ChartWidget*>(w)) return chart;
    return nullptr;
}

// The chart as the screen shows it once its frame has come.
QImage shown(ui::ChartWidget& chart) {
    chart.onFrame();
    ViewMouse::settle();
    return chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The columns of the plot's frame (left and right edge) on the image's middle row.
std::pair<int, int> plotEdges(const QImage& image) {
    const int y = image.height() / 2;
    int left = -1, right = -1;
    for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, y) == kPlotFrame) {
            if (left < 0) left = x;
            right = x;
        }
    return {left, right};
}

// A view open in `language` that has polled for three seconds: the flow chart's labels run to
// four digits, the temperature chart's to two.
struct Charts {
    WindowStand stand{false};
    ViewMouse mouse{stand};

    explicit Charts(int32_t language) {
        stand.window.runLine("device lang=" + std::to_string(language));
        for (const char* line :
             {"create", "init device", "set-toolbar", "register-callback", "sim flow 780", "sim temp 24"})
            stand.window.runLine(line);
        stand.window.runFor(3000);
    }
};

TEST(Charts, TimeAxesStandOneAboveTheOther) {
    Charts c(1033);
    ui::ChartWidget* flow = chartOf(c.mouse, "PC1");
    ui::ChartWidget* temperature = chartOf(c.mouse, "PC2");
    ASSERT_TRUE(flow && temperature);
    ASSERT_EQ(flow->mapTo(&c.stand.window, QPoint()).x(), temperature->mapTo(&c.stand.window, QPoint()).x());
    const auto flowEdges = plotEdges(shown(*flow));
    const auto temperatureEdges = plotEdges(shown(*temperature));
    ASSERT_GE(flowEdges.first, 0);
    EXPECT_EQ(flowEdges, temperatureEdges);
}

TEST(Charts, AxisTitlesSpeakTheViewsLanguage) {
    Charts english(1033), german(1031);
    const QImage inEnglish = shown(*chartOf(english.mouse, "PC2"));
    const QImage inGerman = shown(*chartOf(german.mouse, "PC2"));
    ASSERT_EQ(inEnglish.size(), inGerman.size());
    // Both charts hold the same trend at the same clock times: only the time axis' title differs,
    // and it lies below the time labels.
    int firstDifferentRow = -1;
    for (int y = 0; y < inEnglish.height() && firstDifferentRow < 0; ++y)
        for (int x = 0; x < inEnglish.width(); ++x)
            if (inEnglish.pixel(x, y) != inGerman.pixel(x, y)) {
                firstDifferentRow = y;
                break;
            }
    ASSERT_GE(firstDifferentRow, 0) << "the German chart shows the English title";
    EXPECT_GT(firstDifferentRow, plotEdges(inEnglish).first >= 0 ? inEnglish.height() - 30 : 0);
}

}  // namespace
}  // namespace qx::window::test
