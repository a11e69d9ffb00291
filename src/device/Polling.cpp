// The poll cycle and the view's other timers: one read job of every process value per tick of
// Timer1 while no job is pending, the run-time counter in LaTime, and the status line that keeps
// each message on display for at least one TimerState interval.
#include <array>
#include <cstdint>
#include <limits>
#include <string>

#include "support/ResourceComponent.h"
#include "view/Colours.h"
#include "view/QX_FlowWiz.h"

namespace qx::view {

namespace {

// Status-line background by style: normal, then the two attention styles.
constexpr std::array<uint32_t, 3> kStatusColours = {kGreen, kAmber, kAmber};

}  // namespace

void QX_FlowWiz::Timer1_Timer() {
    try {
        if (!mSpecComm) return;
        // Before "CONNECTED" the timer keeps running and polling starts with the first tick after.
        if (!mSpecComm->IsConnected()) return;
        // A slow device lowers the poll rate instead of piling up jobs.
        if (!jobs_.nonePending()) return;
        SendReadJob(BuildPollList());
    } catch (const RuntimeError& e) {
        logOnError("Timer1_Timer", e);
    }
}

host::ParameterList QX_FlowWiz::BuildPollList() {
    host::ParameterList items;
    items.push_back(refs_.DELTAFLOW_RAW);
    items.push_back(refs_.DELTAFLOW_NEW);
    items.push_back(refs_.PROINFLOW_RAW);
    if (refs_.TEACH_MAX) items.push_back(refs_.TEACH_MAX);
    if (refs_.TEACH_MIN) items.push_back(refs_.TEACH_MIN);
    items.push_back(refs_.PROINTEMP);
    items.push_back(refs_.SWPOINT);
    if (mRefreshSwitchInputs) {
        if (IsSwitchPointAvailable()) items.push_back(refs_.TEACHDO_SWPOINT);
        if (refs_.TEACHDO_QUICK) items.push_back(refs_.TEACHDO_QUICK);
    }
    if (refs_.TEACHDO_QUICK_MODE) items.push_back(refs_.TEACHDO_QUICK_MODE);
    if (device::ParameterRefs::hasValue(refs_.FLOWSP_RAW)) items.push_back(refs_.FLOWSP_RAW);
    if (device::ParameterRefs::hasValue(refs_.FLOWSPQT_RAW)) items.push_back(refs_.FLOWSPQT_RAW);
    return items;
}

void QX_FlowWiz::ReadValuesOnce() {
    SendReadJob(BuildPollList());
}

void QX_FlowWiz::TimerCnt_Timer() {
    if (mRunTime == std::numeric_limits<int32_t>::max()) platform::raise(platform::kOverflow);
    ++mRunTime;
    LaTime->setCaption(
        support::replacePlaceholder(lookUpText("IDS_TTIP_TIME_RUN"), std::to_string(mRunTime)));
    // Right-aligned with the chart frame, on the line of the temperature legend.
    LaTime->setLeft(FrameChart->width() - LaTime->width());
    LaTime->setTop(LaLeTS->top());
}

void QX_FlowWiz::ShowStatus(const std::string& text, int32_t style) {
    if (LaStatus->caption() == text) return;
    if (TimerState->enabled()) {
        // Only the last message asked for while one is on display follows it.
        mPendingStatus = text;
        mPendingStyle = style;
        return;
    }
    mPendingStatus.clear();
    TimerState->setEnabled(true);
    LaStatus->setCaption(text);
    if (style < 0 || style >= static_cast<int32_t>(kStatusColours.size()))
        platform::raise(platform::kSubscriptOutOfRange);
    LaStatus->setBackColor(kStatusColours[static_cast<size_t>(style)]);
}

void QX_FlowWiz::TimerState_Timer() {
    TimerState->setEnabled(false);
    // A copy: ShowStatus clears the pending text before it shows its argument.
    const std::string pending = mPendingStatus;
    if (!pending.empty()) ShowStatus(pending, mPendingStyle);
}

void QX_FlowWiz::ClearLevelLamps(int16_t keep) {
    for (int16_t lamp = 1; lamp <= 8; ++lamp)
        if (lamp != keep) CtlLedIM1->ClearLED(lamp);
}

// The teardown of the release without the disconnection.
void QX_FlowWiz::ComTest_Click() {
    dropOwnReferences();
}

}  // namespace qx::view
