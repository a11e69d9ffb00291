#include "wizard/TeachIn.h"

#include <array>

#include "platform/Int16.h"

namespace qx::wizard {

namespace {

constexpr int16_t kTopLamp = 0;
constexpr int16_t kMiddleLamp = 5;
constexpr int16_t kBottomLamp = 9;
constexpr int16_t kSuccessUpdates = 3;  // a success message stays for this many updates

// Levels below each bound light lamps 1 to 8; 100 means the span is sufficient. The lamp thus
// walks down the column in steps of about an eighth of the span as the flow falls.
constexpr std::array<int16_t, 8> kLevelBounds = {12, 25, 37, 50, 62, 75, 87, 100};

constexpr std::array<TeachButton, 3> kTeachButtons = {TeachButton::Maximum, TeachButton::Minimum,
                                                      TeachButton::Quick};

}  // namespace

void TeachIn::startMaxMin() {
    screen_.showStatus("IDS_FWZ_SET_MAX", StatusStyle::Attention);
    w_.mQuickTeachActive = false;
    w_.mTeachActive = true;
    w_.mTeachState = TeachState::MaxMinStarted;
    screen_.resetLamps();
    screen_.setLamp(kTopLamp, LampSignal::Wait, false);
    screen_.setLamp(kBottomLamp, LampSignal::Wait, false);
    screen_.sendTeachMode(true);
    screen_.showButton(TeachButton::Quick, false);
    screen_.showButton(TeachButton::Maximum, true);
    screen_.showButton(TeachButton::Minimum, true);
    screen_.showMaxMinFields(true);
    screen_.showPane(SettingPane::Quick, false);
    screen_.showPane(SettingPane::Flow, screen_.switchPointAvailable());
    screen_.showPane(SettingPane::Temperature, true);
    w_.mSwitchPointSettable = true;
    screen_.enableSettingInput(SettingPane::Flow, false);
    screen_.enableSettingInput(SettingPane::Temperature, false);
    showProcedure();
}

void TeachIn::startQuick() {
    w_.mTeachActive = binding_.mFwVersion != 0;  // on firmware 0 the Edit button stays disabled
    w_.mTeachState = TeachState::WaitingForSettledFlow;
    w_.mQuickTeachActive = true;
    screen_.resetLamps();
    screen_.setLamp(kMiddleLamp, LampSignal::Go, true);
    screen_.sendTeachMode(true);
    screen_.showButton(TeachButton::Quick, true);
    screen_.showButton(TeachButton::Maximum, false);
    screen_.showButton(TeachButton::Minimum, false);
    screen_.showMaxMinFields(false);
    screen_.showPane(SettingPane::Quick, true);
    screen_.showPane(SettingPane::Flow, false);
    screen_.showPane(SettingPane::Temperature, true);
    w_.mSwitchPointSettable = true;
    screen_.enableSettingInput(SettingPane::Quick, false);
    screen_.enableSettingInput(SettingPane::Temperature, false);
    showProcedure();
}

// The charts follow the procedure from its start; only Cancel leads out of it.
void TeachIn::showProcedure() {
    screen_.startProcedureWindow();
    screen_.enableButton(TeachButton::Cancel, true);
    screen_.enableButton(TeachButton::StartMaxMin, false);
    screen_.enableButton(TeachButton::StartQuick, false);
}

// The category flag swaps the codes the device takes for maximum and minimum.
void TeachIn::teachMaximum() {
    sendCode(binding_.mCategoryMatch ? TeachCode::TeachFirst : TeachCode::TeachSecond,
             TeachState::MaximumSent);
}

void TeachIn::teachMinimum() {
    sendCode(binding_.mCategoryMatch ? TeachCode::TeachSecond : TeachCode::TeachFirst,
             TeachState::MinimumSent);
}

void TeachIn::teachQuick() {
    sendCode(TeachCode::TeachQuick, TeachState::QuickSent);
    // The offset goes back to its default in the model only; the next update shows it.
    screen_.resetQuickOffset(binding_.mFwVersion == 0 ? 5 : 0);
    w_.mRefreshSwitchInputs = true;
}

void TeachIn::sendCode(TeachCode code, TeachState next) {
    screen_.writeTeachCode(code);
    w_.mTeachState = next;
    screen_.sendTeachJob();
}

// A teach job already under way is not withdrawn: its answer finds state 0 and does nothing.
void TeachIn::cancel() {
    w_.mTeachState = TeachState::Idle;
    screen_.clearLamps();
    screen_.sendTeachMode(false);
    w_.mTeachActive = false;
    w_.mQuickTeachActive = false;
    screen_.enableButton(TeachButton::Cancel, false);
    screen_.enableField(TeachField::QuickByHand, false);
    screen_.endEditing();
}

void TeachIn::continueAfterAnswer() {
    switch (w_.mTeachState) {
        case TeachState::MaximumSent:
            sendCode(TeachCode::Reset, TeachState::MaximumReset);
            break;
        case TeachState::MaximumReset:
            screen_.updateView();
            break;
        case TeachState::MinimumSent:
            screen_.writeTeachCode(TeachCode::Reset);
            w_.mTeachState = TeachState::MinimumReset;
            screen_.clearLevelLamps(kBottomLamp);
            screen_.setLamp(kBottomLamp, LampSignal::Wait, false);
            screen_.sendTeachJob();
            break;
        case TeachState::MinimumReset:
            w_.mTeachState = TeachState::MaxMinFinished;
            screen_.sendTeachMode(false);
            w_.mTeachActive = false;
            break;
        case TeachState::MaxMinFinished:
            screen_.writeTeachCode(TeachCode::Reset);
            screen_.sendTeachJob();
            screen_.updateView();
            break;
        case TeachState::QuickSent:
            sendCode(TeachCode::Reset, TeachState::QuickReset);
            screen_.clearLevelLamps(kBottomLamp);
            break;
        case TeachState::QuickReset:
            w_.mTeachState = TeachState::QuickFinished;
            screen_.sendTeachMode(false);
            w_.mQuickTeachActive = false;
            w_.mTeachActive = false;
            break;
        default:
            break;
    }
}

void TeachIn::step() {
    const int16_t span = minimumSpan(binding_.mFwVersion);
    switch (w_.mTeachState) {
        case TeachState::Idle:
            idle(span);
            break;
        case TeachState::MaxMinStarted:
            w_.mTeachState = TeachState::WaitingForMaximum;
            break;
        case TeachState::WaitingForMaximum:
            waitForMaximum(span);
            break;
        case TeachState::MaximumReset:
            screen_.showStatus("IDS_SET_MAX_SUCC", StatusStyle::Normal);
            w_.mTeachState = TeachState::WaitingForMinimum;
            break;
        case TeachState::MaxMinByHand:
            screen_.showStatus("IDS_SET_MM_TEACH_MAN", StatusStyle::Attention);
            screen_.setLamp(kTopLamp, LampSignal::Go, false);
            screen_.setLamp(kBottomLamp, LampSignal::Go, false);
            break;
        case TeachState::WaitingForMinimum:
            waitForMinimum(span);
            break;
        case TeachState::MaxMinFinished:
            maxMinFinished();
            break;
        case TeachState::WaitingForSettledFlow:
            waitForSettledFlow();
            break;
        case TeachState::QuickByHand:
            screen_.enableButton(TeachButton::Quick, false);
            screen_.showStatus("IDS_SET_QUICK_TEACH_MAN", StatusStyle::Attention);
            screen_.setLamp(kMiddleLamp, LampSignal::Go, false);
            break;
        case TeachState::QuickFinished:
            quickFinished();
            break;
        case TeachState::MaximumSent:
        case TeachState::MinimumSent:
        case TeachState::MinimumReset:
        case TeachState::QuickSent:
        case TeachState::QuickReset:
            break;  // waiting for the device's answer
    }
}

void TeachIn::idle(int16_t span) {
    screen_.enableField(TeachField::MaximumByHand, false);
    screen_.enableField(TeachField::MinimumByHand, false);
    screen_.enableButton(TeachButton::StartMaxMin, true);
    screen_.enableButton(TeachButton::StartQuick, true);
    screen_.enableButton(TeachButton::SetByHand, false);
    if (w_.mTeachMode != TeachMode::MaxMin) {
        screen_.showStatus("IDS_FWZ_QUICK_ACT", StatusStyle::Normal);
        screen_.showMaxMinFields(false);
        screen_.enableSettingInput(SettingPane::Temperature, true);
        screen_.enableSettingInput(SettingPane::Quick, true);
        screen_.showPane(SettingPane::Quick, true);
        screen_.showPane(SettingPane::Flow, false);
        w_.mSwitchPointSettable = true;
    }
    if (w_.mTeachMode == TeachMode::MaxMin) {
        const bool available = screen_.switchPointAvailable();
        screen_.showPane(SettingPane::Flow, available);
        screen_.showPane(SettingPane::Quick, false);
        w_.mSwitchPointSettable = available;
        if (w_.mTeachMax < platform::add16(w_.mTeachMin, span)) {
            // The taught span is too small to switch on: the user has to teach first.
            screen_.showStatus("IDS_FWZ_SELECT_TEACH", StatusStyle::Attention);
        } else {
            screen_.showStatus("IDS_FWZ_MAX_MIN_ACT", StatusStyle::Normal);
            screen_.showMaxMinFields(true);
            screen_.enableSettingInput(SettingPane::Temperature, true);
            screen_.enableSettingInput(SettingPane::Flow, true);
        }
    }
    for (TeachButton button : kTeachButtons) {
        screen_.enableButton(button, false);
        screen_.showButton(button, true);
    }
}

void TeachIn::waitForMaximum(int16_t span) {
    if (w_.mFlow <= span) {
        screen_.showStatus("IDS_FWZ_SET_MAX", StatusStyle::Warning);
        screen_.enableButton(TeachButton::Maximum, false);
    } else if (w_.mFlowUnsettled == 0) {
        screen_.setLamp(kTopLamp, LampSignal::Go, true);
        screen_.enableButton(TeachButton::Maximum, true);
        screen_.showStatus("IDS_FWZ_SET_MAX_TEACH", StatusStyle::Normal);
    } else {
        screen_.setLamp(kTopLamp, LampSignal::Wait, true);
        screen_.enableButton(TeachButton::Maximum, false);
        screen_.showStatus("IDS_FWZ_FLOW_NOT_SET", StatusStyle::Warning);
    }
}

void TeachIn::waitForMinimum(int16_t span) {
    screen_.enableButton(TeachButton::Maximum, w_.mFlow > span);  // the maximum may be taught again
    // 100 when the flow lies one span below the taught maximum.
    const int16_t level = platform::round16(100.0 / span * platform::sub16(w_.mTeachMax, w_.mFlow));
    if (level < kLevelBounds.back()) {
        int16_t lamp = 1;
        while (level >= kLevelBounds[static_cast<size_t>(lamp - 1)]) ++lamp;
        screen_.clearLevelLamps(lamp);
        screen_.setLamp(lamp, LampSignal::Wait, true);
        screen_.enableButton(TeachButton::Minimum, false);
        screen_.showStatus(lamp == 1 ? "IDS_FWZ_FLOW_TO_HIGH" : "IDS_DIFF_SMALL", StatusStyle::Warning);
    } else if (w_.mFlowUnsettled != 0) {
        screen_.clearLevelLamps(kBottomLamp);
        screen_.setLamp(kBottomLamp, LampSignal::Wait, true);
        screen_.enableButton(TeachButton::Maximum, false);
        screen_.enableButton(TeachButton::Minimum, false);
        screen_.showStatus("IDS_FWZ_FLOW_NOT_SET", StatusStyle::Warning);
    } else {
        screen_.clearLevelLamps(kBottomLamp);
        screen_.enableButton(TeachButton::Maximum, w_.mFlow > span);
        screen_.setLamp(kBottomLamp, LampSignal::Go, true);
        screen_.enableButton(TeachButton::Minimum, true);
        screen_.showStatus("IDS_FWZ_SET_MIN_TEACH", StatusStyle::Normal);
    }
}

void TeachIn::maxMinFinished() {
    screen_.enableButton(TeachButton::Maximum, false);
    screen_.enableButton(TeachButton::Minimum, false);
    screen_.showStatus("IDS_FWZ_MAX_MIN_SUCC", StatusStyle::Normal);
    w_.SuccessTicks = platform::add16(w_.SuccessTicks, 1);
    screen_.resetLamps();
    if (w_.SuccessTicks == kSuccessUpdates) {
        w_.mTeachState = TeachState::Idle;
        w_.SuccessTicks = 0;
        screen_.enableButton(TeachButton::Cancel, false);
    }
}

void TeachIn::waitForSettledFlow() {
    if (w_.mFlowUnsettled != 0) {
        screen_.setLamp(kMiddleLamp, LampSignal::Wait, true);
        screen_.enableButton(TeachButton::Quick, false);
        screen_.showStatus("IDS_FWZ_FLOW_NOT_SET", StatusStyle::Warning);
    } else {
        screen_.enableButton(TeachButton::Quick, true);
        screen_.showStatus("IDS_FWZ_SET_QUICK_TEACH", StatusStyle::Normal);
        screen_.setLamp(kMiddleLamp, LampSignal::Go, true);
    }
}

void TeachIn::quickFinished() {
    screen_.enableButton(TeachButton::Quick, false);
    screen_.showStatus("IDS_FWZ_QUICK_SUCC", StatusStyle::Normal);
    w_.SuccessTicks = platform::add16(w_.SuccessTicks, 1);
    if (w_.SuccessTicks == kSuccessUpdates) {
        w_.mTeachState = TeachState::Idle;
        w_.SuccessTicks = 0;
        screen_.resetLamps();
        screen_.enableButton(TeachButton::Cancel, false);
    }
}

}  // namespace qx::wizard
