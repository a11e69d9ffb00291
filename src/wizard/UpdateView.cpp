// The one view update after new process values: it reads the values from the data model, widens
// the charts' running ranges and adds a point to each, fills the value labels and the legend
// line, runs the wizard's state step and shows the panes. It never writes to the device.
//
// Any failure ends the update where it happened; what was already changed stays, and the next
// update tries again from the start.
#include <algorithm>
#include <string>

#include "device/ParameterRefs.h"
#include "display/TrendPane.h"
#include "platform/Int16.h"
#include "support/DebugLog.h"
#include "view/QX_FlowWiz.h"

namespace qx::view {

using display::kNoLine;
using platform::round16;

namespace {

constexpr int32_t kLegendGap = 60;

int16_t textAs16(const ParameterPtr& p) {
    return Variant(must(p).valueText()).toInt16();
}

host::IButton& editButton(const host::ToolbarPtr& toolbar) {
    return must(must(must(toolbar).Buttons()).item("Edit"));
}

}  // namespace

void QX_FlowWiz::UpdateView() {
    try {
        const int32_t now = ui_.scheduler.timeOfDay();
        startTrendIfDue(now);
        readTeachAndFlowValues();
        computeSwitchPointFlow();
        plotProcessValues(now);
        loadSwitchInputs();
        showTaughtValues();
        showValueLabels();
        showLegend();
        showQuickTeachValue();
        // Editing by hand belongs to a running teach procedure.
        ComteachQuick->setVisible(mQuickButtonVisible);
        editButton(mToolbar).setEnabled(mTeachActive);
        // What the wizard's state shows, and the moves that need no answer from the device.
        teachIn_.step();
        showPanes();
    } catch (const RuntimeError& e) {
        platform::ErrorLineScope scope(e);
        support::DebugLog(*this, "UpdateView()",
                          "Error:" + e.description() + ", Line:" + std::to_string(e.line()));
    }
}

// Trend start, or a restart of both trends with fresh ranges and run time.
void QX_FlowWiz::startTrendIfDue(int32_t now) {
    trend_->startIfEmpty(now);
    if (trend_->restartPending()) {
        trend_->restartAt(now);
        mRunTime = 0;
    }
}

// The device's values; unbound teach values keep what they had.
void QX_FlowWiz::readTeachAndFlowValues() {
    if (refs_.TEACH_MIN) mTeachMin = textAs16(refs_.TEACH_MIN);
    if (refs_.TEACH_MAX) mTeachMax = textAs16(refs_.TEACH_MAX);
    if (refs_.TEACHDO_QUICK_MODE)
        mTeachMode = static_cast<TeachMode>(must(refs_.TEACHDO_QUICK_MODE->valueObject()).value().toInt16());
    mFlow = textAs16(refs_.PROINFLOW_RAW);
    mFlowUnsettled = round16(must(must(refs_.DELTAFLOW_NEW).valueObject()).value().toDouble() - 1);
}

// The switch point in flow units.
void QX_FlowWiz::computeSwitchPointFlow() {
    if (mTeachMode == TeachMode::Quick) {
        const ParameterPtr& quickPoint = mFwVersion != 0 ? refs_.FLOWSPQT_RAW : refs_.FLOWSP_RAW;
        if (device::ParameterRefs::hasValue(quickPoint)) mSwitchPointFlow = textAs16(quickPoint);
    } else if (device::ParameterRefs::hasValue(refs_.FLOWSP_RAW)) {
        mSwitchPointFlow = must(refs_.FLOWSP_RAW->valueObject()).value().toInt16();
    } else if (IsSwitchPointAvailable()) {
        // The device gives the switch point as a percentage of the taught span.
        const double percent = Variant(refs_.TEACHDO_SWPOINT->valueText()).toDouble();
        const int16_t span = platform::sub16(mTeachMax, mTeachMin);
        mSwitchPointFlow = round16(percent * (span / 100.0) + mTeachMin);
    } else {
        mSwitchPointFlow = mFlow;
    }
}

// Widens both charts' ranges to what they will show and adds one point to each. On a device
// without SWPOINT this fails once the temperature has raised the maximum.
void QX_FlowWiz::plotProcessValues(int32_t now) {
    auto& trend = *trend_;
    // A lost connection leaves a gap in both trends.
    trend.markBreakIfPending();

    auto& flowRange = trend.flow.range;
    flowRange.widen(mFlow);
    if (mFwVersion == 1) flowRange.widen(mSwitchPointFlow);
    if (mTeachMode != TeachMode::Quick) {
        flowRange.widen(mTeachMin);
        flowRange.widen(mTeachMax);
    }
    trend.applyAxis(trend.flow, int16_t{0});  // a flow below 0 is never shown

    const double temperature = Variant(must(refs_.PROINTEMP).valueText()).toDouble();
    auto& tempRange = trend.temp.range;
    if (temperature > tempRange.max) tempRange.max = round16(temperature);
    const bool tempPointShown = must(refs_.SWPOINT).noValue() == 0;
    const double tempPoint = tempPointShown ? Variant(refs_.SWPOINT->valueText()).toDouble() : 0;
    if (tempPointShown && tempPoint > tempRange.max) tempRange.max = round16(tempPoint);
    if (temperature < tempRange.min) tempRange.min = round16(temperature);
    if (tempPointShown && tempPoint < tempRange.min) tempRange.min = round16(tempPoint);
    trend.applyAxis(trend.temp, std::nullopt);

    // Firmware 0 keeps the quick-teach switch point to itself.
    if (mTeachMode == TeachMode::Quick && mFwVersion == 0) mSwitchPointFlow = kNoLine;

    // The run time counts from the first update; the time axes start anew when asked.
    TimerCnt->setEnabled(true);
    trend.resetTimeBaseIfAsked(now);

    const bool quickMode = mTeachMode == TeachMode::Quick;
    trend.addChartPoint(trend.flow, mFlow, IsSwitchPointAvailable() ? mSwitchPointFlow : kNoLine,
                        quickMode ? kNoLine : mTeachMin, quickMode ? kNoLine : mTeachMax);
    trend.addChartPoint(trend.temp, round16(temperature), tempPointShown ? round16(tempPoint) : kNoLine, 0,
                        0);
}

// The sliders show the device's values once, and again when asked.
void QX_FlowWiz::loadSwitchInputs() {
    if (must(mSliderTP.control).visible() && !mSliderTPLoaded) {
        must(mSliderTP.object).setProperty("value", refs_.SWPOINT->valueText());
        mSliderTPLoaded = true;
    }
    if (!mRefreshSwitchInputs) return;
    if (IsSwitchPointAvailable())
        must(mSliderFL.object).setProperty("value", refs_.TEACHDO_SWPOINT->valueText());
    // A tolerance the list does not hold is simply not shown.
    platform::ignoreErrors([this] {
        if (refs_.TEACHDO_QUICK) CoQTOffset->setText(refs_.TEACHDO_QUICK->valueText());
    });
    mRefreshSwitchInputs = false;
}

// The taught values, unless the user is editing them.
void QX_FlowWiz::showTaughtValues() {
    if (editButton(mToolbar).value() != 0) return;
    LaTMin->setText(std::to_string(mTeachMin));
    LaTMinW->setText(std::to_string(mTeachMin));
    LaTMax->setText(std::to_string(mTeachMax));
    LaTMaxW->setText(std::to_string(mTeachMax));
}

// The value labels beside the charts.
void QX_FlowWiz::showValueLabels() {
    LaDF->setCaption(refs_.PROINTEMP->valueText() + refs_.PROINTEMP->unit());
    LaTS->setCaption(refs_.SWPOINT->valueText() + refs_.SWPOINT->unit());
    LaFS->setCaption(std::to_string(mFlow) + " " + must(refs_.PROINFLOW_RAW).unit());
}

// The legend line under the flow chart: it reads on from the flow value with the taught limits,
// the switch point's name and the switch point, in max/min mode also as the device's percentage.
void QX_FlowWiz::showLegend() {
    const bool switchPointAvailable = IsSwitchPointAvailable();
    const bool quickMode = mTeachMode == TeachMode::Quick;
    LaLeSP->setVisible(switchPointAvailable);
    if (mFwVersion == 0) {
        LaSp->setVisible(false);
        LaLeSP->setVisible(false);
    }
    LaMinMax->setVisible(true);
    if (!quickMode) {
        if (switchPointAvailable) LaLeSP->setCaption(", " + refs_.TEACHDO_SWPOINT->displayName());
        const auto& tMax = must(refs_.TEACH_MAX);
        const auto& tMin = must(refs_.TEACH_MIN);
        LaMinMax->setCaption(", " + tMax.displayName() + " " + std::to_string(mTeachMax) + " " + tMax.unit() +
                             ", " + tMin.displayName() + " " + std::to_string(mTeachMin) + " " + tMin.unit());
    } else {
        if (refs_.FLOWSP_RAW)
            LaLeSP->setCaption(", " +
                               (refs_.FLOWSPQT_RAW ? refs_.FLOWSPQT_RAW : refs_.FLOWSP_RAW)->displayName());
        LaMinMax->setCaption("");
    }

    LaMinMax->setLeft(LaFS->left() + LaFS->width());
    LaMinMax->setTop(LaFS->top());
    LaLeSP->setLeft(LaMinMax->left() + LaMinMax->width());
    LaSp->setLeft(LaLeSP->left() + LaLeSP->width() + kLegendGap);

    std::string switchPointText;
    if (switchPointAvailable) {
        switchPointText = (mSwitchPointFlow == kNoLine ? std::string() : std::to_string(mSwitchPointFlow)) +
                          " " + refs_.PROINFLOW_RAW->unit();
        if (!quickMode)
            switchPointText +=
                " / " + refs_.TEACHDO_SWPOINT->valueText() + " " + refs_.TEACHDO_SWPOINT->unit();
    }
    LaSp->setCaption(switchPointText);
}

// The quick-teach switch point, unless the user is editing it.
void QX_FlowWiz::showQuickTeachValue() {
    if (editButton(mToolbar).value() != 0) return;
    if (mFwVersion == 0) {
        if (device::ParameterRefs::hasValue(refs_.FLOWSP_RAW)) {
            LaTQuick->setText(std::to_string(mSwitchPointFlow));
            LaTQuickW->setText(std::to_string(mSwitchPointFlow));
        }
    } else if (device::ParameterRefs::hasValue(refs_.FLOWSPQT_RAW)) {
        LaTQuick->setText(refs_.FLOWSPQT_RAW->valueText());
        LaTQuickW->setText(refs_.FLOWSPQT_RAW->valueText());
    }
}

// The panes; the time window stays put while a procedure runs.
void QX_FlowWiz::showPanes() {
    FrameTeachOption->setEnabled(true);
    FrameChart->setVisible(true);
    if (!FrameTeach->visible()) {
        FrameTeach->setVisible(true);
        UserControl_Resize();
    }
    if (mTeachState != TeachState::Idle) HSMin->setEnabled(false);
}

}  // namespace qx::view
