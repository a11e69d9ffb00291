#include "wizard/StateStep.h"

#include <array>

#include "platform/Int16.h"
#include "view/Colours.h"

namespace qx::wizard {

using view::kAmber;
using view::kGreen;
using view::kWhite;
using view::QX_FlowWiz;

namespace {

constexpr int16_t kLampCount = 10;
constexpr int16_t kTopLamp = 0;
constexpr int16_t kMiddleLamp = 5;
constexpr int16_t kBottomLamp = 9;
constexpr int16_t kSuccessUpdates = 3;  // a success message stays for this many updates

constexpr int32_t kNormal = 0;
constexpr int32_t kAttention = 1;
constexpr int32_t kWarning = 2;

// Levels below each bound light lamps 1 to 8; 100 means the span is sufficient. The lamp thus
// walks down the column in steps of about an eighth of the span as the flow falls.
constexpr std::array<int16_t, 8> kLevelBounds = {12, 25, 37, 50, 62, 75, 87, 100};

void show(QX_FlowWiz& v, const char* key, int32_t style) {
    v.ShowStatus(v.lookUpText(key), style);
}

void idle(QX_FlowWiz& v, view::WizardProgress& w, int16_t span) {
    v.LaTMaxW->setEnabled(false);
    v.LaTMinW->setEnabled(false);
    v.ComTeachMaxMin->setEnabled(true);
    v.ComteachQuick->setEnabled(true);
    v.ComSetTeach->setEnabled(false);
    if (w.mTeachMode != TeachMode::MaxMin) {
        show(v, "IDS_FWZ_QUICK_ACT", kNormal);
        v.ShowMaxMinFields(false);
        v.EnableTempSwitchPointInput(true);
        v.EnableQuickOffsetInput(true);
        v.FrameQT->setVisible(true);
        v.FrameFL->setVisible(false);
        w.mSwitchPointSettable = true;
    }
    if (w.mTeachMode == TeachMode::MaxMin) {
        const bool available = v.IsSwitchPointAvailable();
        v.FrameFL->setVisible(available);
        v.FrameQT->setVisible(false);
        w.mSwitchPointSettable = available;
        if (w.mTeachMax < platform::add16(w.mTeachMin, span)) {
            // The taught span is too small to switch on: the user has to teach first.
            show(v, "IDS_FWZ_SELECT_TEACH", kAttention);
        } else {
            show(v, "IDS_FWZ_MAX_MIN_ACT", kNormal);
            v.ShowMaxMinFields(true);
            v.EnableTempSwitchPointInput(true);
            v.EnableFlowSwitchPointInput(true);
        }
    }
    for (auto* button : {v.ComTMax.get(), v.ComTMin.get(), v.ComTQuick.get()}) {
        button->setEnabled(false);
        button->setVisible(true);
    }
}

void waitForMaximum(QX_FlowWiz& v, view::WizardProgress& w, int16_t span) {
    if (w.mFlow <= span) {
        show(v, "IDS_FWZ_SET_MAX", kWarning);
        v.ComTMax->setEnabled(false);
    } else if (w.mFlowUnsettled == 0) {
        v.CtlLedIM1->SetLED(kTopLamp, kGreen, true);
        v.ComTMax->setEnabled(true);
        show(v, "IDS_FWZ_SET_MAX_TEACH", kNormal);
    } else {
        v.CtlLedIM1->SetLED(kTopLamp, kAmber, true);
        v.ComTMax->setEnabled(false);
        show(v, "IDS_FWZ_FLOW_NOT_SET", kWarning);
    }
}

void waitForMinimum(QX_FlowWiz& v, view::WizardProgress& w, int16_t span) {
    v.ComTMax->setEnabled(w.mFlow > span);  // the maximum may be taught again
    // 100 when the flow lies one span below the taught maximum.
    const int16_t level = platform::round16(100.0 / span * platform::sub16(w.mTeachMax, w.mFlow));
    if (level < kLevelBounds.back()) {
        int16_t lamp = 1;
        while (level >= kLevelBounds[static_cast<size_t>(lamp - 1)]) ++lamp;
        v.ClearLevelLamps(lamp);
        v.CtlLedIM1->SetLED(lamp, kAmber, true);
        v.ComTMin->setEnabled(false);
        show(v, lamp == 1 ? "IDS_FWZ_FLOW_TO_HIGH" : "IDS_DIFF_SMALL", kWarning);
    } else if (w.mFlowUnsettled != 0) {
        v.ClearLevelLamps(kBottomLamp);
        v.CtlLedIM1->SetLED(kBottomLamp, kAmber, true);
        v.ComTMax->setEnabled(false);
        v.ComTMin->setEnabled(false);
        show(v, "IDS_FWZ_FLOW_NOT_SET", kWarning);
    } else {
        v.ClearLevelLamps(kBottomLamp);
        v.ComTMax->setEnabled(w.mFlow > span);
        v.CtlLedIM1->SetLED(kBottomLamp, kGreen, true);
        v.ComTMin->setEnabled(true);
        show(v, "IDS_FWZ_SET_MIN_TEACH", kNormal);
    }
}

void maxMinFinished(QX_FlowWiz& v, view::WizardProgress& w) {
    v.ComTMax->setEnabled(false);
    v.ComTMin->setEnabled(false);
    show(v, "IDS_FWZ_MAX_MIN_SUCC", kNormal);
    w.SuccessTicks = platform::add16(w.SuccessTicks, 1);
    v.CtlLedIM1->Init(kLampCount, kWhite);
    if (w.SuccessTicks == kSuccessUpdates) {
        w.mTeachState = TeachState::Idle;
        w.SuccessTicks = 0;
        v.ComTeachCancel->setEnabled(false);
    }
}

void waitForSettledFlow(QX_FlowWiz& v, view::WizardProgress& w) {
    if (w.mFlowUnsettled != 0) {
        v.CtlLedIM1->SetLED(kMiddleLamp, kAmber, true);
        v.ComTQuick->setEnabled(false);
        show(v, "IDS_FWZ_FLOW_NOT_SET", kWarning);
    } else {
        v.ComTQuick->setEnabled(true);
        show(v, "IDS_FWZ_SET_QUICK_TEACH", kNormal);
        v.CtlLedIM1->SetLED(kMiddleLamp, kGreen, true);
    }
}

void quickFinished(QX_FlowWiz& v, view::WizardProgress& w) {
    v.ComTQuick->setEnabled(false);
    show(v, "IDS_FWZ_QUICK_SUCC", kNormal);
    w.SuccessTicks = platform::add16(w.SuccessTicks, 1);
    if (w.SuccessTicks == kSuccessUpdates) {
        w.mTeachState = TeachState::Idle;
        w.SuccessTicks = 0;
        v.CtlLedIM1->Init(kLampCount, kWhite);
        v.ComTeachCancel->setEnabled(false);
    }
}

}  // namespace

void runStateStep(QX_FlowWiz& v) {
    view::WizardProgress& w = v;
    const int16_t span = minimumSpan(v.binding().mFwVersion);
    switch (w.mTeachState) {
        case TeachState::Idle:
            idle(v, w, span);
            break;
        case TeachState::MaxMinStarted:
            w.mTeachState = TeachState::WaitingForMaximum;
            break;
        case TeachState::WaitingForMaximum:
            waitForMaximum(v, w, span);
            break;
        case TeachState::MaximumReset:
            show(v, "IDS_SET_MAX_SUCC", kNormal);
            w.mTeachState = TeachState::WaitingForMinimum;
            break;
        case TeachState::MaxMinByHand:
            show(v, "IDS_SET_MM_TEACH_MAN", kAttention);
            v.CtlLedIM1->SetLED(kTopLamp, kGreen, false);
            v.CtlLedIM1->SetLED(kBottomLamp, kGreen, false);
            break;
        case TeachState::WaitingForMinimum:
            waitForMinimum(v, w, span);
            break;
        case TeachState::MaxMinFinished:
            maxMinFinished(v, w);
            break;
        case TeachState::WaitingForSettledFlow:
            waitForSettledFlow(v, w);
            break;
        case TeachState::QuickByHand:
            v.ComTQuick->setEnabled(false);
            show(v, "IDS_SET_QUICK_TEACH_MAN", kAttention);
            v.CtlLedIM1->SetLED(kMiddleLamp, kGreen, false);
            break;
        case TeachState::QuickFinished:
            quickFinished(v, w);
            break;
        case TeachState::MaximumSent:
        case TeachState::MinimumSent:
        case TeachState::MinimumReset:
        case TeachState::QuickSent:
        case TeachState::QuickReset:
            break;  // waiting for the device's answer
    }
}

}  // namespace qx::wizard
