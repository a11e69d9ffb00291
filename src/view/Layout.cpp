// The screen layout: four panes stacked in the scroll form (trend charts, status line, teach-in
// options, teach panel), recomputed from the control's size, the two chart check boxes and the
// visibility of the teach frames. Every statement that fails leaves its control as it was and
// the layout goes on.
#include <algorithm>

#include "display/TrendPane.h"
#include "platform/Int16.h"
#include "view/QX_FlowWiz.h"

namespace qx::view {

namespace {

using platform::ignoreErrors;

constexpr int32_t kMinLayoutWidth = 12120;
constexpr int32_t kMinLayoutHeight = 5400;
constexpr int32_t kTwipsPerPixel = 15;
// A control up to this high shows no chart; up to the second at most the flow chart.
constexpr int32_t kFlowChartMinHeight = 6000;
constexpr int32_t kTempChartMinHeight = 8000;

// The trend pane: its caption line lies above the visible area; without a chart it keeps only
// the rows of check boxes.
constexpr int32_t kCaptionLineTop = -210;
constexpr int32_t kTrendPaneRightMargin = 210;
constexpr int32_t kNoChartPaneHeight = 800;
// The charts: left of them the unit labels and Y-limit bars, above each its row of labels.
constexpr int32_t kChartLeft = 360, kChartTop = 435;
constexpr int32_t kChartWidthShort = 270;                                // of the trend pane's width
constexpr int32_t kOneChartHeightShort = 1200;                           // of the trend pane's height
constexpr int32_t kFlowChartHalfShort = 400, kTempChartHalfShort = 500;  // of half of it
constexpr int32_t kTempChartGap = 300;  // room for the temperature row between the charts
// Beside a chart: its unit label, the maximum bar below it and the minimum bar above its bottom.
constexpr int32_t kUnitLeft = 120, kUnitBelowChartTop = 120;
constexpr int32_t kFlowMaxBarBelowUnit = 240, kTempMaxBarBelowUnit = 270;
constexpr int32_t kMinBarAboveChartBottom = 790;
// The time bar lies over the lowest chart's bottom edge, narrower than the flow chart.
constexpr int32_t kTimeBarAboveChartBottom = 60, kTimeBarIndent = 300;
// The label rows: the flow row's top, the temperature row's when no flow chart is shown, and the
// gaps between a caption and its value labels.
constexpr int32_t kFlowRowTop = 240, kTempRowTopAlone = 540;
constexpr int32_t kRowCaptionGap = 240, kRowLabelGap = 60;

// The panes below the charts.
constexpr int32_t kPaneGap = 60;
constexpr int32_t kPaneWidthShort = 270;  // of the scroll form's width
constexpr int32_t kTeachPaneHeight = 1860;
// The teach panel: its picture box inside the frame, the left part that keeps its design, and
// the setting frames with their slider, combo box and Set button.
constexpr int32_t kPictureWidthShort = 300, kPictureHeightShort = 240;
constexpr int32_t kLeftPartWidth = 4240;  // lamp column, trigger buttons and value fields
constexpr int32_t kSettingFrameHeight = 1500;
constexpr int32_t kFrameGap = 90;
constexpr int32_t kInputTop = 300;
constexpr int32_t kSliderLeft = 120, kSliderWidthShort = 360, kSliderHeight = 1100;
constexpr int32_t kComboWidthShort = 1600;
constexpr int32_t kSetButtonFromRight = 1100;
constexpr int32_t kCancelGap = 120;

// Sizes are whole twips and pixels: a quotient rounds half to even, as every conversion does.
int32_t divided(int32_t v, int32_t by) {
    return static_cast<int32_t>(platform::roundHalfEven(double(v) / by));
}
int32_t half(int32_t v) {
    return divided(v, 2);
}
int32_t right(const platform::Control& c) {
    return c.left() + c.width();
}
int32_t bottom(const platform::Control& c) {
    return c.top() + c.height();
}

// The plot area follows the chart's size in pixels.
void sizePlotArea(const std::shared_ptr<platform::ControlExtender>& chart) {
    auto object = std::dynamic_pointer_cast<platform::ChartObject>(must(chart).object());
    auto& location = must(object).chartArea().location();
    location.setWidth(divided(chart->width(), kTwipsPerPixel));
    location.setHeight(divided(chart->height(), kTwipsPerPixel));
}

}  // namespace

void QX_FlowWiz::UserControl_Resize() {
    const int16_t height16 = layOutScrollForm();
    limitChartsToHeight();
    const bool flowShown = CheckFL->value() == 1;
    const bool tempShown = CheckTP->value() == 1;
    layOutCharts(height16, flowShown, tempShown);
    layOutChartSides(flowShown, tempShown);
    layOutLabelRows(flowShown);
    stackPanes();
    layOutTeachPanel();
    // The quick-teach start button, when shown, stands before the cancel button.
    ignoreErrors([&] {
        const auto& before = ComteachQuick->visible() ? *ComteachQuick : *ComTeachMaxMin;
        ComTeachCancel->setLeft(right(before) + kCancelGap);
    });
}

// The panes never get less room than 12120 x 5400; the scroll form shows the rest. The layout
// height, in 16 bits: a control beyond 32767 twips leaves it (and the width) 0.
int16_t QX_FlowWiz::layOutScrollForm() {
    int16_t H = 0, W = 0;
    ignoreErrors([&] { H = platform::checked16(std::max(height(), kMinLayoutHeight)); });
    ignoreErrors([&] { W = platform::checked16(std::max(width(), kMinLayoutWidth)); });
    ignoreErrors([&] { SF1->move(0, 0, W, H); });
    return H;
}

// A low control shows no chart, a middle one at most the flow chart. Clearing a check box raises
// its click, which lays out again.
void QX_FlowWiz::limitChartsToHeight() {
    ignoreErrors([&] {
        CheckFL->setEnabled(height() > kFlowChartMinHeight);
        if (!CheckFL->enabled()) CheckFL->setValue(0);
    });
    ignoreErrors([&] {
        CheckTP->setEnabled(height() > kTempChartMinHeight);
        if (!CheckTP->enabled()) CheckTP->setValue(0);
    });
}

// The trend pane and the charts in it, stacked when both are shown; each plot area follows its
// chart's size in pixels.
void QX_FlowWiz::layOutCharts(int16_t H, bool flowShown, bool tempShown) {
    const auto& cPC1 = trend_->flow.control;
    const auto& cPC2 = trend_->temp.control;
    ignoreErrors([&] {
        const int32_t paneHeight =
            flowShown || tempShown
                ? H - FrameTeachOption->height() - FrameTeach->height() - LaStatus->height() - kPaneGap
                : kNoChartPaneHeight;
        FrameChart->move(0, kCaptionLineTop, SF1->width() - kTrendPaneRightMargin, paneHeight);
    });
    const int32_t chartWidth = FrameChart->width() - kChartWidthShort;
    const int32_t oneChartHeight = FrameChart->height() - kOneChartHeightShort;
    ignoreErrors([&] {
        must(cPC1).setVisible(flowShown);
        cPC1->move(kChartLeft, kChartTop, chartWidth,
                   tempShown ? half(FrameChart->height()) - kFlowChartHalfShort : oneChartHeight);
    });
    ignoreErrors([&] {
        must(cPC2).setVisible(tempShown);
        if (flowShown)
            cPC2->move(kChartLeft, bottom(must(cPC1)) + kTempChartGap, chartWidth,
                       half(FrameChart->height()) - kTempChartHalfShort);
        else
            cPC2->move(kChartLeft, kChartTop, chartWidth, oneChartHeight);
    });
    ignoreErrors([&] { sizePlotArea(cPC1); });
    ignoreErrors([&] { sizePlotArea(cPC2); });
}

// Unit label and Y-limit scroll bars beside each chart; the time scroll bar under the lowest
// chart shown. Their visibility follows the check boxes even when a chart is missing.
void QX_FlowWiz::layOutChartSides(bool flowShown, bool tempShown) {
    const auto& cPC1 = trend_->flow.control;
    const auto& cPC2 = trend_->temp.control;
    const auto placeSides = [](const std::shared_ptr<platform::ControlExtender>& chart,
                               display::MyLabel& unit, platform::ScrollBar& maxBar, int32_t maxBarBelowUnit,
                               platform::ScrollBar& minBar) {
        ignoreErrors([&] {
            unit.move(kUnitLeft, must(chart).top() + kUnitBelowChartTop, unit.width(), unit.height());
        });
        ignoreErrors([&] { maxBar.setTop(unit.top() + maxBarBelowUnit); });
        ignoreErrors([&] { minBar.setTop(bottom(must(chart)) - kMinBarAboveChartBottom); });
    };
    placeSides(cPC1, *LaUnit1, *VSMax1, kFlowMaxBarBelowUnit, *VSMin1);
    placeSides(cPC2, *LaUnit2, *VSMax2, kTempMaxBarBelowUnit, *VSMin2);
    for (platform::Control* c :
         std::initializer_list<platform::Control*>{LaUnit1.get(), VSMax1.get(), VSMin1.get()})
        c->setVisible(flowShown);
    for (platform::Control* c :
         std::initializer_list<platform::Control*>{LaUnit2.get(), VSMax2.get(), VSMin2.get()})
        c->setVisible(tempShown);
    ignoreErrors(
        [&] { HSMin->setTop(bottom(tempShown ? must(cPC2) : must(cPC1)) - kTimeBarAboveChartBottom); });
    ignoreErrors([&] { HSMin->setLeft(must(cPC1).left() + kTimeBarIndent); });
    ignoreErrors([&] { HSMin->setWidth(must(cPC1).width() - 2 * kTimeBarIndent); });
}

// A row of check box, caption and value labels above each chart; the run time at the right edge.
void QX_FlowWiz::layOutLabelRows(bool flowShown) {
    const auto placeAt = [](platform::Control& c, int32_t left, int32_t top) {
        c.move(left, top, c.width(), c.height());
    };
    ignoreErrors([&] {
        CheckFL->setTop(kFlowRowTop);
        placeAt(*LaC2, right(*CheckFL), kFlowRowTop);
        placeAt(*LaLeFS, right(*LaC2) + kRowCaptionGap, kFlowRowTop);
        placeAt(*LaFS, right(*LaLeFS) + kRowLabelGap, kFlowRowTop);
        placeAt(*LaLeSP, right(*LaFS), kFlowRowTop);
        placeAt(*LaSp, right(*LaLeSP) + kRowLabelGap, kFlowRowTop);
    });
    ignoreErrors([&] { CheckTP->setTop(flowShown ? bottom(must(trend_->flow.control)) : kTempRowTopAlone); });
    ignoreErrors([&] {
        const int32_t row = CheckTP->top();
        placeAt(*LaC1, right(*CheckTP), row);
        placeAt(*LaLeDF, right(*LaC1), row);
        placeAt(*LaDF, right(*LaLeDF) + kRowLabelGap, row);
        placeAt(*LaLeTS, right(*LaDF) + kRowLabelGap, row);
        placeAt(*LaTS, right(*LaLeTS) + kRowLabelGap, row);
    });
    ignoreErrors([&] { LaTime->setLeft(FrameChart->width() - LaTime->width()); });
}

// The status line, the teach-in options and the teach panel below the charts, 60 apart.
void QX_FlowWiz::stackPanes() {
    const int32_t paneWidth = SF1->width() - kPaneWidthShort;
    ignoreErrors([&] { LaStatus->move(0, bottom(*FrameChart) + kPaneGap, paneWidth, LaStatus->height()); });
    ignoreErrors([&] {
        FrameTeachOption->move(0, bottom(*LaStatus) + kPaneGap, paneWidth, FrameTeachOption->height());
    });
    ignoreErrors(
        [&] { FrameTeach->move(0, bottom(*FrameTeachOption) + kPaneGap, paneWidth, kTeachPaneHeight); });
}

// The teach panel: the left part keeps its design; the setting frames share the rest. FrameFL
// keeps its half whether shown or not, and FrameQT takes the same; only FrameTP widens when
// FrameFL is hidden. It then starts where FrameFL would: in quick-teach mode FrameQT lies over
// its left part, but its Set button stays inside the panel.
void QX_FlowWiz::layOutTeachPanel() {
    ignoreErrors([&] {
        PicTeach->setWidth(FrameTeach->width() - kPictureWidthShort);
        PicTeach->setHeight(FrameTeach->height() - kPictureHeightShort);
    });
    const int32_t settingsWidth = PicTeach->width() - kLeftPartWidth - kFrameGap;
    ignoreErrors([&] { FrameFL->move(kLeftPartWidth, 0, half(settingsWidth), kSettingFrameHeight); });
    ignoreErrors([&] { FrameQT->move(kLeftPartWidth, 0, FrameFL->width(), kSettingFrameHeight); });
    ignoreErrors([&] {
        if (FrameFL->visible())
            FrameTP->move(right(*FrameFL) + kFrameGap, 0, half(settingsWidth), kSettingFrameHeight);
        else
            FrameTP->move(kLeftPartWidth, 0, settingsWidth, kSettingFrameHeight);
    });
    const auto placeSlider = [](const SliderRef& slider, const platform::Frame& frame) {
        must(slider.control).move(kSliderLeft, kInputTop, frame.width() - kSliderWidthShort, kSliderHeight);
    };
    ignoreErrors([&] { placeSlider(mSliderFL, *FrameFL); });
    ignoreErrors([&] { placeSlider(mSliderTP, *FrameTP); });
    ignoreErrors([&] { CoQTOffset->setWidth(FrameQT->width() - kComboWidthShort); });
    ignoreErrors([&] { CoQTOffset->setTop(kInputTop); });
    const auto placeSetButton = [](platform::CommandButton& button, const platform::Frame& frame) {
        ignoreErrors([&] {
            button.move(frame.width() - kSetButtonFromRight, kInputTop, button.width(), button.height());
        });
    };
    placeSetButton(*ComSetFL, *FrameFL);
    placeSetButton(*ComSetPara, *FrameTP);
    placeSetButton(*ComSetQT, *FrameQT);
}

}  // namespace qx::view
