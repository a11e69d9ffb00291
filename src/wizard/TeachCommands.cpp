// The commands of the teach panel: starting a max/min teach or a quick teach, making the device
// teach, cancelling, writing values entered by hand, and the continuation that writes the next
// command code when the device has answered a teach job.
#include "display/TrendPane.h"
#include "support/ResourceComponent.h"
#include "view/Colours.h"
#include "view/QX_FlowWiz.h"

namespace qx::view {

namespace {

// QUICK_2 takes the command codes as text.
void setCode(const ParameterPtr& quick2, TeachCode code) {
    must(quick2).setValueText(std::to_string(wizard::number(code)));
}

}  // namespace

// Sends a parameter as the teach job; the reference the communication object hands back replaces ours.
void QX_FlowWiz::sendTeachJob(ParameterPtr& parameter) {
    host::WriteItem item = parameter;
    jobs_.setTeachJob(SendWriteJob(item));
    if (auto* kept = std::get_if<ParameterPtr>(&item)) parameter = *kept;
}

void QX_FlowWiz::ComTeachMaxMin_Click() {
    ShowStatus(lookUpText("IDS_FWZ_SET_MAX"), 1);
    mQuickTeachActive = false;
    mTeachActive = true;
    mTeachState = TeachState::MaxMinStarted;
    CtlLedIM1->Init(10, kWhite);
    CtlLedIM1->SetLED(0, kAmber, false);
    CtlLedIM1->SetLED(9, kAmber, false);
    SetTeachMode(true);
    ComTQuick->setVisible(false);
    ComTMax->setVisible(true);
    ComTMin->setVisible(true);
    ShowMaxMinFields(true);
    FrameQT->setVisible(false);
    FrameFL->setVisible(IsSwitchPointAvailable());
    FrameTP->setVisible(true);
    mSwitchPointSettable = true;
    EnableFlowSwitchPointInput(false);
    EnableTempSwitchPointInput(false);
    trend_->startWindowAt(ui_.scheduler.timeOfDay());  // the charts' window starts with the procedure
    HSMin->setValue(HSMin->max());
    trend_->SaveChartRanges();
    ComTeachCancel->setEnabled(true);
    ComTeachMaxMin->setEnabled(false);
    ComteachQuick->setEnabled(false);
}

void QX_FlowWiz::ComteachQuick_Click() {
    mTeachActive = mFwVersion != 0;  // on firmware 0 the Edit button stays disabled
    mTeachState = TeachState::WaitingForSettledFlow;
    mQuickTeachActive = true;
    CtlLedIM1->Init(10, kWhite);
    CtlLedIM1->SetLED(5, kGreen, true);
    SetTeachMode(true);
    ComTQuick->setVisible(true);
    ComTMax->setVisible(false);
    ComTMin->setVisible(false);
    ShowMaxMinFields(false);
    FrameQT->setVisible(true);
    FrameFL->setVisible(false);
    FrameTP->setVisible(true);
    mSwitchPointSettable = true;
    EnableQuickOffsetInput(false);
    EnableTempSwitchPointInput(false);
    trend_->startWindowAt(ui_.scheduler.timeOfDay());
    HSMin->setValue(HSMin->max());
    trend_->SaveChartRanges();
    ComTeachCancel->setEnabled(true);
    ComTeachMaxMin->setEnabled(false);
    ComteachQuick->setEnabled(false);
}

// The category flag swaps the codes the device takes for maximum and minimum.
void QX_FlowWiz::ComTMax_Click() {
    setCode(refs_.QUICK_2, mCategoryMatch ? TeachCode::TeachFirst : TeachCode::TeachSecond);
    mTeachState = TeachState::MaximumSent;
    sendTeachJob(refs_.QUICK_2);
}

void QX_FlowWiz::ComTMin_Click() {
    setCode(refs_.QUICK_2, mCategoryMatch ? TeachCode::TeachSecond : TeachCode::TeachFirst);
    mTeachState = TeachState::MinimumSent;
    sendTeachJob(refs_.QUICK_2);
}

void QX_FlowWiz::ComTQuick_Click() {
    setCode(refs_.QUICK_2, TeachCode::TeachQuick);
    mTeachState = TeachState::QuickSent;
    sendTeachJob(refs_.QUICK_2);
    // The offset goes back to its default in the model only; the next update shows it.
    platform::ignoreErrors(
        [this] { must(must(refs_.TEACHDO_QUICK).valueObject()).setValue(mFwVersion == 0 ? 5 : 0); });
    mRefreshSwitchInputs = true;
}

// A teach job already under way is not withdrawn: its answer finds state 0 and does nothing.
void QX_FlowWiz::ComTeachCancel_Click() {
    mTeachState = TeachState::Idle;
    CtlLedIM1->ClearAllLED();
    SetTeachMode(false);
    mTeachActive = false;
    mQuickTeachActive = false;
    ComTeachCancel->setEnabled(false);
    LaTQuickW->setEnabled(false);
    auto edit = must(must(mToolbar).Buttons()).item("Edit");
    must(edit).setValue(0);
    edit->setEnabled(false);
}

// Only firmware 1 knows the teach-mode codes "4" (start) and "5" (end).
void QX_FlowWiz::SetTeachMode(bool on) {
    if (!must(must(mModel).description()).item("FWversion").equals(Variant(1))) return;
    setCode(refs_.QUICK_2, on ? TeachCode::ModeStart : TeachCode::ModeEnd);
    sendTeachJob(refs_.QUICK_2);
}

void QX_FlowWiz::TeachContinuation() {
    switch (mTeachState) {
        case TeachState::MaximumSent:
            setCode(refs_.QUICK_2, TeachCode::Reset);
            mTeachState = TeachState::MaximumReset;
            sendTeachJob(refs_.QUICK_2);
            break;
        case TeachState::MaximumReset:
            UpdateView();
            break;
        case TeachState::MinimumSent:
            setCode(refs_.QUICK_2, TeachCode::Reset);
            mTeachState = TeachState::MinimumReset;
            ClearLevelLamps(9);
            CtlLedIM1->SetLED(9, kAmber, false);
            sendTeachJob(refs_.QUICK_2);
            break;
        case TeachState::MinimumReset:
            mTeachState = TeachState::MaxMinFinished;
            SetTeachMode(false);
            mTeachActive = false;
            break;
        case TeachState::MaxMinFinished:
            setCode(refs_.QUICK_2, TeachCode::Reset);
            sendTeachJob(refs_.QUICK_2);
            UpdateView();
            break;
        case TeachState::QuickSent:
            setCode(refs_.QUICK_2, TeachCode::Reset);
            mTeachState = TeachState::QuickReset;
            sendTeachJob(refs_.QUICK_2);
            ClearLevelLamps(9);
            break;
        case TeachState::QuickReset:
            mTeachState = TeachState::QuickFinished;
            SetTeachMode(false);
            mQuickTeachActive = false;
            mTeachActive = false;
            break;
        default:
            break;
    }
}

void QX_FlowWiz::ComSetTeach_Click() {
    const bool newerFirmware = mFwVersion != 0;
    host::ParameterList collection;
    // The mode value travels first: the device switches its teach mode before taking the values.
    auto addMode = [&](TeachMode mode) {
        ParameterPtr carrier = newerFirmware ? refs_.TEACHDO_QUICK_MODE : refs_.QUICK_2;
        if (newerFirmware && mode == TeachMode::MaxMin && !carrier) carrier = refs_.QUICK_2;
        must(must(carrier).valueObject()).setValue(wizard::number(mode));
        collection.push_back(carrier);
    };

    if (LaTMax->visible()) {
        must(refs_.TEACH_MAX).setValueText(LaTMaxW->text());
        must(refs_.TEACH_MIN).setValueText(LaTMinW->text());
        ui_.scheduler.processPending();
        if (refs_.TEACH_MIN->valueText() != LaTMinW->text() ||
            refs_.TEACH_MAX->valueText() != LaTMaxW->text()) {
            ReportMessage(lookUpText("IDS_FWZ_VALUE_INVALID"), messageCaption());
            return;
        }
        const double span = Variant(refs_.TEACH_MAX->valueText()).toDouble() -
                            Variant(refs_.TEACH_MIN->valueText()).toDouble();
        if (span < (mFwVersion == 0 ? 51 : 10)) {
            if (mFwVersion == 0)
                ReportMessage(support::replacePlaceholder(lookUpText("IDS_DIFF_SMALL_MAN_FW0"), "50"),
                              messageCaption());
            else if (mFwVersion == 1)
                ReportMessage(support::replacePlaceholder(lookUpText("IDS_DIFF_SMALL_MAN_FW1"), "10"),
                              messageCaption());
            return;
        }
        addMode(TeachMode::MaxMin);
        collection.push_back(refs_.TEACH_MAX);
        collection.push_back(refs_.TEACH_MIN);
        LaTMax->setText(LaTMaxW->text());
        LaTMin->setText(LaTMinW->text());
        host::WriteItem item = collection;
        jobs_.setTeachJob(SendWriteJob(item));
        return;
    }

    // The quick-teach switch point; its answer is handled like any other response.
    ParameterPtr point = newerFirmware ? refs_.FLOWSPQT_RAW : refs_.FLOWSP_RAW;
    must(point).setValueText(LaTQuickW->text());
    if (point->valueText() != LaTQuickW->text()) {
        ReportMessage(lookUpText("IDS_FWZ_VALUE_INVALID"), messageCaption());
        return;
    }
    addMode(TeachMode::Quick);
    collection.push_back(point);
    LaTQuick->setText(LaTQuickW->text());
    host::WriteItem item = collection;
    SendWriteJob(item);
}

}  // namespace qx::view
