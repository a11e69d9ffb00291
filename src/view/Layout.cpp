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
constexpr int32_t kTeachPaneHeight = 1860;
constexpr int32_t kLeftPartWidth = 4240;  // lamp column, trigger buttons and value fields
constexpr int32_t kSettingFrameHeight = 1500;
constexpr int32_t kFrameGap = 90;
constexpr int32_t kTempChartGap = 300;  // room for the temperature row between the charts

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
    const auto& cPC1 = trend_->flow.control;
    const auto& cPC2 = trend_->temp.control;
    // 1. The panes never get less room than 12120 x 5400; the scroll form shows the rest.
    int16_t H = 0, W = 0;  // 16-bit: a control beyond 32767 twips leaves them 0
    ignoreErrors([&] { H = platform::checked16(std::max(height(), kMinLayoutHeight)); });
    ignoreErrors([&] { W = platform::checked16(std::max(width(), kMinLayoutWidth)); });
    ignoreErrors([&] { SF1->move(0, 0, W, H); });

    // 2. A low control shows no chart, a middle one at most the flow chart. Clearing a check box
    // raises its click, which lays out again.
    ignoreErrors([&] {
        CheckFL->setEnabled(height() > 6000);
        if (!CheckFL->enabled()) CheckFL->setValue(0);
    });
    ignoreErrors([&] {
        CheckTP->setEnabled(height() > 8000);
        if (!CheckTP->enabled()) CheckTP->setValue(0);
    });
    const bool flowShown = CheckFL->value() == 1;
    const bool tempShown = CheckTP->value() == 1;

    // 3. The trend pane; its caption line lies above the visible area.
    ignoreErrors([&] {
        const int32_t paneHeight = flowShown || tempShown ? H - FrameTeachOption->height() -
                                                                FrameTeach->height() - LaStatus->height() - 60
                                                          : 800;
        FrameChart->move(0, -210, SF1->width() - 210, paneHeight);
    });
    const int32_t chartWidth = FrameChart->width() - 270;

    // 4. and 5. The charts.
    ignoreErrors([&] {
        must(cPC1).setVisible(flowShown);
        cPC1->move(360, 435, chartWidth,
                   tempShown ? half(FrameChart->height()) - 400 : FrameChart->height() - 1200);
    });
    ignoreErrors([&] {
        must(cPC2).setVisible(tempShown);
        if (flowShown)
            cPC2->move(360, bottom(must(cPC1)) + kTempChartGap, chartWidth, half(FrameChart->height()) - 500);
        else
            cPC2->move(360, 435, chartWidth, FrameChart->height() - 1200);
    });

    // 6.
    ignoreErrors([&] { sizePlotArea(cPC1); });
    ignoreErrors([&] { sizePlotArea(cPC2); });

    // 7. Unit label and Y-limit scroll bars beside each chart; the time scroll bar under the
    // lowest chart shown. Their visibility follows the check boxes even when a chart is missing.
    ignoreErrors([&] { LaUnit1->move(120, must(cPC1).top() + 120, LaUnit1->width(), LaUnit1->height()); });
    ignoreErrors([&] { VSMax1->setTop(LaUnit1->top() + 240); });
    ignoreErrors([&] { VSMin1->setTop(bottom(must(cPC1)) - 790); });
    ignoreErrors([&] { LaUnit2->move(120, must(cPC2).top() + 120, LaUnit2->width(), LaUnit2->height()); });
    ignoreErrors([&] { VSMax2->setTop(LaUnit2->top() + 270); });
    ignoreErrors([&] { VSMin2->setTop(bottom(must(cPC2)) - 790); });
    for (platform::Control* c :
         {static_cast<platform::Control*>(LaUnit1.get()), static_cast<platform::Control*>(VSMax1.get()),
          static_cast<platform::Control*>(VSMin1.get())})
        c->setVisible(flowShown);
    for (platform::Control* c :
         {static_cast<platform::Control*>(LaUnit2.get()), static_cast<platform::Control*>(VSMax2.get()),
          static_cast<platform::Control*>(VSMin2.get())})
        c->setVisible(tempShown);
    ignoreErrors([&] { HSMin->setTop(bottom(tempShown ? must(cPC2) : must(cPC1)) - 60); });
    ignoreErrors([&] { HSMin->setLeft(must(cPC1).left() + 300); });
    ignoreErrors([&] { HSMin->setWidth(must(cPC1).width() - 600); });

    // 8. A row of check box, caption and value labels above each chart.
    ignoreErrors([&] {
        CheckFL->setTop(240);
        LaC2->move(right(*CheckFL), 240, LaC2->width(), LaC2->height());
        LaLeFS->move(right(*LaC2) + 240, 240, LaLeFS->width(), LaLeFS->height());
        LaFS->move(right(*LaLeFS) + 60, 240, LaFS->width(), LaFS->height());
        LaLeSP->move(right(*LaFS), 240, LaLeSP->width(), LaLeSP->height());
        LaSp->move(right(*LaLeSP) + 60, 240, LaSp->width(), LaSp->height());
    });
    ignoreErrors([&] { CheckTP->setTop(flowShown ? bottom(must(cPC1)) : 540); });
    ignoreErrors([&] {
        const int32_t row = CheckTP->top();
        LaC1->move(right(*CheckTP), row, LaC1->width(), LaC1->height());
        LaLeDF->move(right(*LaC1), row, LaLeDF->width(), LaLeDF->height());
        LaDF->move(right(*LaLeDF) + 60, row, LaDF->width(), LaDF->height());
        LaLeTS->move(right(*LaDF) + 60, row, LaLeTS->width(), LaLeTS->height());
        LaTS->move(right(*LaLeTS) + 60, row, LaTS->width(), LaTS->height());
    });
    ignoreErrors([&] { LaTime->setLeft(FrameChart->width() - LaTime->width()); });

    // 9. The panes below the charts, 60 apart.
    const int32_t paneWidth = SF1->width() - 270;
    ignoreErrors([&] { LaStatus->move(0, bottom(*FrameChart) + 60, paneWidth, LaStatus->height()); });
    ignoreErrors(
        [&] { FrameTeachOption->move(0, bottom(*LaStatus) + 60, paneWidth, FrameTeachOption->height()); });
    ignoreErrors([&] { FrameTeach->move(0, bottom(*FrameTeachOption) + 60, paneWidth, kTeachPaneHeight); });

    // 10. The teach panel: the left part keeps its design; the setting frames share the rest.
    ignoreErrors([&] {
        PicTeach->setWidth(FrameTeach->width() - 300);
        PicTeach->setHeight(FrameTeach->height() - 240);
    });
    // FrameFL keeps its half whether shown or not, and FrameQT takes the same; only FrameTP
    // widens when FrameFL is hidden. It then starts where FrameFL would: in quick-teach mode
    // FrameQT lies over its left part, but its Set button stays inside the panel.
    const int32_t settingsWidth = PicTeach->width() - kLeftPartWidth - kFrameGap;
    ignoreErrors([&] { FrameFL->move(kLeftPartWidth, 0, half(settingsWidth), kSettingFrameHeight); });
    ignoreErrors([&] { FrameQT->move(kLeftPartWidth, 0, FrameFL->width(), kSettingFrameHeight); });
    ignoreErrors([&] {
        if (FrameFL->visible())
            FrameTP->move(right(*FrameFL) + kFrameGap, 0, half(settingsWidth), kSettingFrameHeight);
        else
            FrameTP->move(kLeftPartWidth, 0, settingsWidth, kSettingFrameHeight);
    });
    auto placeSlider = [](const SliderRef& slider, const platform::Frame& frame) {
        must(slider.control).move(120, 300, frame.width() - 360, 1100);
    };
    ignoreErrors([&] { placeSlider(mSliderFL, *FrameFL); });
    ignoreErrors([&] { placeSlider(mSliderTP, *FrameTP); });
    ignoreErrors([&] { CoQTOffset->setWidth(FrameQT->width() - 1600); });
    ignoreErrors([&] { CoQTOffset->setTop(300); });
    ignoreErrors(
        [&] { ComSetFL->move(FrameFL->width() - 1100, 300, ComSetFL->width(), ComSetFL->height()); });
    ignoreErrors(
        [&] { ComSetPara->move(FrameTP->width() - 1100, 300, ComSetPara->width(), ComSetPara->height()); });
    ignoreErrors(
        [&] { ComSetQT->move(FrameQT->width() - 1100, 300, ComSetQT->width(), ComSetQT->height()); });

    // 11. The quick-teach start button, when shown, stands before the cancel button.
    ignoreErrors([&] {
        const auto& before = ComteachQuick->visible() ? *ComteachQuick : *ComTeachMaxMin;
        ComTeachCancel->setLeft(right(before) + 120);
    });
}

}  // namespace qx::view
