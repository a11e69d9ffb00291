// The view's four buttons on the frame's toolbar ("Poll", "Clear", "Auto", "Edit") with their
// pictures, and the frame's function buttons.
#include <array>
#include <utility>

#include "display/TrendPane.h"
#include "support/DebugLog.h"
#include "support/ParameterWalk.h"
#include "view/QX_FlowWiz.h"

namespace qx::view {

namespace {

// Image-list key and the picture it shows.
constexpr std::array<std::pair<const char*, const char*>, 8> kToolbarImages = {{
    {"ToDevice", "ICO_STORE_TO_DEVICE"},
    {"FromDevice", "ICO_LOAD_FROM_DEVICE"},
    {"Tree", "ICO_TREE"},
    {"Export", "ICO_CSV"},
    {"XmlExport", "ICO_TB_EXPORTXML"},
    {"Clear", "ICO_BLANK"},
    {"Auto", "ICO_AUTO"},
    {"Edit", "ICO_PARAM_DIFFERENT"},
}};

constexpr int32_t kCheckStyle = 1;

// The frame's "STATE" 6 means the device can be reached.
bool deviceReachable(const host::IDataModel& frameModel) {
    return must(must(frameModel.description()).environment()).get("STATE").equals(Variant(6));
}

}  // namespace

void QX_FlowWiz::IQX_ActiveXAppEvts_ToolbarButtonClick(const host::ButtonPtr& button) {
    mToolbar_ButtonClick(button);
}

void QX_FlowWiz::IQX_ActiveXApp_SetToolbar(const host::ToolbarPtr& ctrlToolbar) {
    try {
        if (ctrlToolbar && mFrameModel) {
            EnsureToolbarImages(ctrlToolbar->ImageList());
            if (mContext == "MONITOR" || mContext == "DIAG") {
                auto& buttons = must(ctrlToolbar->Buttons());
                auto poll = buttons.Add({}, "Poll", "", 0, "FromDevice");
                must(poll).setToolTipText(lookUpText("IDS_TTIP_POLLEN_EIN_AUSSCHALTE"));
                poll->setStyle(kCheckStyle);
                platform::ignoreErrors([&] { poll->setEnabled(deviceReachable(*mFrameModel)); });
                poll->setValue(jobs_.pollButtonLeftPressed().value_or(poll->enabled()) ? 1 : 0);
                if (poll->value() == 1 && mModel) mToolbar_ButtonClick(poll);

                must(buttons.Add({}, "Clear", "", 0, "Clear"))
                    .setToolTipText(lookUpText("IDS_TTIP_CLEAR_CHART"));
                must(buttons.Add({}, "Auto", "", 0, "Auto")).setToolTipText(lookUpText("IDS_TTIP_AUTO_SIZE"));
                auto& edit = must(buttons.Add({}, "Edit", "", 0, "Edit"));
                edit.setToolTipText(lookUpText("IDS_TTIP_EDIT_INFO"));
                edit.setStyle(kCheckStyle);
            }
        }
        mToolbar = ctrlToolbar;
    } catch (const RuntimeError& e) {
        platform::ErrorLineScope scope(e);
        support::DebugLog(*this, "IQX_ActiveXApp_SetToolbar(): ERROR: " + e.description(), "");
    }
}

// Adds each picture under its image key; a picture that cannot be had, or a key already in the
// list, leaves that entry as it is.
std::string QX_FlowWiz::AddToolbarImages(const std::shared_ptr<host::IImageList>& imageList) {
    for (const auto& [imageKey, pictureKey] : kToolbarImages) {
        platform::ignoreErrors([&] {
            auto picture = must(GetResource()).picture(pictureKey, true, 4, 16, 16);
            must(must(imageList).ListImages()).Add({}, imageKey, picture);
        });
    }
    return "ToDevice";
}

void QX_FlowWiz::EnsureToolbarImages(const std::shared_ptr<host::IImageList>& imageList) {
    platform::ignoreErrors([&] { AddToolbarImages(imageList); });
    try {
        must(must(imageList).ListImages()).item("ToDevice");
    } catch (const RuntimeError&) {
        platform::ignoreErrors([&] { AddToolbarImages(imageList); });
    }
}

void QX_FlowWiz::ResetPolling() {
    jobs_.forgetAll();
    platform::ignoreErrors([this] { must(must(must(mToolbar).Buttons()).item("Poll")).setValue(0); });
}

void QX_FlowWiz::mToolbar_ButtonClick(const host::ButtonPtr& button) {
    try {
        const std::string key = must(button).key();
        if (key == "Auto")
            followNewestWithSavedRanges();
        else if (key == "Clear")
            restartTrendWindow();
        else if (key == "Edit")
            switchEditing(button->value() == 1);
        else if (key == "Poll")
            switchPolling(*button);
        else if (key.rfind("FUNCTION:", 0) == 0)
            toggleFunctionSwitch(key);
    } catch (const RuntimeError& e) {
        logOnError("mToolbar_ButtonClick", e);
    }
}

// "Auto": the charts follow the newest point again with the ranges saved last.
void QX_FlowWiz::followNewestWithSavedRanges() {
    trend_->followNewest();
    trend_->resetValueBars();
    trend_->RestoreChartRanges();
}

// "Clear": the time window starts at the click; without a line the view shows it at once.
void QX_FlowWiz::restartTrendWindow() {
    trend_->startWindowAt(ui_.scheduler.timeOfDay());
    trend_->resetValueBars();
    HSMin->setValue(HSMin->max());
    trend_->SaveChartRanges();
    if (!must(mSpecComm).IsConnected()) UpdateView();
}

// "Edit": while pressed the values to write are entered by hand, and a running procedure waits
// in its by-hand state; released, it goes back to waiting for the device.
void QX_FlowWiz::switchEditing(bool pressed) {
    if (pressed) {
        const std::string text = lookUpText("IDS_FWZ_EDIT_INFO");
        ReportMessage(text, messageCaption());
    }
    for (platform::Control* c : std::initializer_list<platform::Control*>{LaTMaxW.get(), LaTMinW.get(),
                                                                          LaTQuickW.get(), ComSetTeach.get()})
        c->setEnabled(pressed);
    ComTMax->setEnabled(!pressed);
    ComTQuick->setEnabled(!pressed);
    const int32_t state = wizard::number(mTeachState);
    if (pressed && state >= number(TeachState::MaxMinStarted) && state <= number(TeachState::MaximumReset))
        mTeachState = TeachState::MaxMinByHand;
    else if (pressed && state >= number(TeachState::WaitingForSettledFlow) &&
             state <= number(TeachState::QuickReset))
        mTeachState = TeachState::QuickByHand;
    else if (!pressed && mTeachState == TeachState::MaxMinByHand)
        mTeachState = TeachState::WaitingForMaximum;
    else if (!pressed && mTeachState == TeachState::QuickByHand)
        mTeachState = TeachState::WaitingForSettledFlow;
}

// "Poll": pressed, the view connects, uploads what the device depends on and polls; released, it
// stops polling and lets the line go once nothing is in flight.
void QX_FlowWiz::switchPolling(host::IButton& button) {
    if (!mSpecComm) {
        button.setEnabled(false);
        button.setValue(0);
        Timer1->setEnabled(false);
    } else if (!deviceReachable(must(mFrameModel))) {
        const std::string text = lookUpText("GERAET_IST_NICHT_VERBUNDEN");
        ReportMessageWithDetails(text, messageCaption());
        must(must(must(mToolbar).Buttons()).item("Poll")).setEnabled(false);
    } else if (button.value() == 0) {
        const bool connected = mSpecComm->IsConnected();
        const bool work = jobs_.hasWork();  // asked also when disconnected: it may fail
        if (connected && work) mSpecComm->Connecting(false);
        Timer1->setEnabled(false);
    } else if (!ConnectAndUploadDepends()) {
        button.setValue(0);
    } else {
        support::WalkModelParameters(mModel, mModule, -1);
        Timer1->setEnabled(true);
    }
    jobs_.notePollButton(button.value() == 1);
}

// A "FUNCTION:" button toggles the frame's environment switch of its name; a number is
// complemented bit by bit.
void QX_FlowWiz::toggleFunctionSwitch(const std::string& key) {
    auto& env = must(must(must(mFrameModel).description()).environment());
    const Variant value = env.get(key);
    if (value.isEmpty())
        env.put(key, true);
    else if (value.isBoolean())
        env.put(key, !value.toBool());
    else
        env.put(key, Variant(static_cast<int64_t>(~value.toInt32())));
}

}  // namespace qx::view
