// The controls behind what the wizard's logic shows: its buttons, fields and panes by meaning,
// the lamp column, the status line, and the teach codes it writes through QUICK_2.
#include "display/TrendPane.h"
#include "view/Colours.h"
#include "view/QX_FlowWiz.h"

namespace qx::view {

using wizard::LampSignal;
using wizard::SettingPane;
using wizard::TeachButton;
using wizard::TeachField;

namespace {
constexpr int16_t kLampCount = 10;
}  // namespace

platform::CommandButton& QX_FlowWiz::buttonFor(TeachButton button) {
    switch (button) {
        case TeachButton::StartMaxMin:
            return *ComTeachMaxMin;
        case TeachButton::StartQuick:
            return *ComteachQuick;
        case TeachButton::Cancel:
            return *ComTeachCancel;
        case TeachButton::SetByHand:
            return *ComSetTeach;
        case TeachButton::Maximum:
            return *ComTMax;
        case TeachButton::Minimum:
            return *ComTMin;
        case TeachButton::Quick:
            break;
    }
    return *ComTQuick;
}

platform::Frame& QX_FlowWiz::paneFor(SettingPane pane) {
    switch (pane) {
        case SettingPane::Flow:
            return *FrameFL;
        case SettingPane::Temperature:
            return *FrameTP;
        case SettingPane::Quick:
            break;
    }
    return *FrameQT;
}

void QX_FlowWiz::showStatus(const char* textKey, wizard::StatusStyle style) {
    ShowStatus(lookUpText(textKey), static_cast<int32_t>(style));
}

void QX_FlowWiz::enableButton(TeachButton button, bool enabled) {
    buttonFor(button).setEnabled(enabled);
}

void QX_FlowWiz::showButton(TeachButton button, bool visible) {
    buttonFor(button).setVisible(visible);
}

void QX_FlowWiz::enableField(TeachField field, bool enabled) {
    auto& box = field == TeachField::MaximumByHand   ? *LaTMaxW
                : field == TeachField::MinimumByHand ? *LaTMinW
                                                     : *LaTQuickW;
    box.setEnabled(enabled);
}

void QX_FlowWiz::showMaxMinFields(bool show) {
    ShowMaxMinFields(show);
}

void QX_FlowWiz::showPane(SettingPane pane, bool visible) {
    paneFor(pane).setVisible(visible);
}

void QX_FlowWiz::enableSettingInput(SettingPane pane, bool enabled) {
    switch (pane) {
        case SettingPane::Flow:
            EnableFlowSwitchPointInput(enabled);
            break;
        case SettingPane::Temperature:
            EnableTempSwitchPointInput(enabled);
            break;
        case SettingPane::Quick:
            EnableQuickOffsetInput(enabled);
            break;
    }
}

bool QX_FlowWiz::switchPointAvailable() {
    return IsSwitchPointAvailable();
}

void QX_FlowWiz::resetLamps() {
    CtlLedIM1->Init(kLampCount, kWhite);
}

void QX_FlowWiz::clearLamps() {
    CtlLedIM1->ClearAllLED();
}

void QX_FlowWiz::setLamp(int16_t lamp, LampSignal signal, bool blink) {
    CtlLedIM1->SetLED(lamp, signal == LampSignal::Go ? kGreen : kAmber, blink);
}

void QX_FlowWiz::clearLevelLamps(int16_t keep) {
    ClearLevelLamps(keep);
}

void QX_FlowWiz::startProcedureWindow() {
    trend_->startWindowAt(ui_.scheduler.timeOfDay());
    HSMin->setValue(HSMin->max());
    trend_->SaveChartRanges();
}

void QX_FlowWiz::endEditing() {
    auto edit = must(must(mToolbar).Buttons()).item("Edit");
    must(edit).setValue(0);
    edit->setEnabled(false);
}

void QX_FlowWiz::updateView() {
    UpdateView();
}

void QX_FlowWiz::writeTeachCode(wizard::TeachCode code) {
    // QUICK_2 takes the command codes as text.
    must(refs_.QUICK_2).setValueText(std::to_string(wizard::number(code)));
}

void QX_FlowWiz::sendTeachJob() {
    sendTeachJob(refs_.QUICK_2);
}

void QX_FlowWiz::sendTeachMode(bool on) {
    SetTeachMode(on);
}

void QX_FlowWiz::resetQuickOffset(int16_t value) {
    platform::ignoreErrors([&] { must(must(refs_.TEACHDO_QUICK).valueObject()).setValue(value); });
}

}  // namespace qx::view
