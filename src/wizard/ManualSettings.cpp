// Values the user sets by hand in the teach panel: the flow switch point, the temperature switch
// point and the quick-teach tolerance, each written as one job; and the locks on their inputs.
#include "view/Colours.h"
#include "view/QX_FlowWiz.h"

namespace qx::view {

namespace {

constexpr int32_t kSliderHeight = 1155;

// Locks or unlocks a slider input, but only when its Set button changes state.
void enableSliderInput(platform::CommandButton& setButton, const SliderRef& slider, bool enable,
                       uint32_t unlocked, uint32_t locked) {
    if (setButton.enabled() == enable) return;
    setButton.setEnabled(enable);
    auto& control = must(slider.control);
    control.setProperty("Locked", !enable);
    control.setProperty("SignalColor", enable ? unlocked : locked);
    must(slider.object).setLock(!enable);
    control.setHeight(kSliderHeight);
}

}  // namespace

// Writes the parameter as a setting job; its answer makes the next update reload mSliderTP.
void QX_FlowWiz::sendSettingJob(ParameterPtr& parameter) {
    host::WriteItem item = parameter;
    jobs_.setSettingJob(SendWriteJob(item));
    if (auto* kept = std::get_if<ParameterPtr>(&item)) parameter = *kept;
}

void QX_FlowWiz::ComSetFL_Click() {
    Variant value = must(mSliderFL.object).getProperty("value");
    if (value.toDouble() < 1) value = 1;
    must(refs_.TEACHDO_SWPOINT).setValueText(value.toText());
    mSliderFL.object->setProperty("value", refs_.TEACHDO_SWPOINT->valueText());  // shows what the model took
    sendSettingJob(refs_.TEACHDO_SWPOINT);
}

void QX_FlowWiz::ComSetPara_Click() {
    must(refs_.SWPOINT).setValueText(must(mSliderTP.object).getProperty("value").toText());
    sendSettingJob(refs_.SWPOINT);
}

void QX_FlowWiz::ComSetQT_Click() {
    must(refs_.TEACHDO_QUICK).setValueText(CoQTOffset->text());
    sendSettingJob(refs_.TEACHDO_QUICK);
}

void QX_FlowWiz::CheckFL_Click() {
    UserControl_Resize();
}
void QX_FlowWiz::CheckTP_Click() {
    UserControl_Resize();
}

void QX_FlowWiz::EnableFlowSwitchPointInput(bool enable) {
    enableSliderInput(*ComSetFL, mSliderFL, enable, kFlowSliderUnlocked, kFlowSliderLocked);
}

void QX_FlowWiz::EnableTempSwitchPointInput(bool enable) {
    enableSliderInput(*ComSetPara, mSliderTP, enable, kTempSliderUnlocked, kTempSliderLocked);
}

void QX_FlowWiz::EnableQuickOffsetInput(bool enable) {
    ComSetQT->setEnabled(enable);
    CoQTOffset->setEnabled(enable);
}

}  // namespace qx::view
