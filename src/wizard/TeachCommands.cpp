// The commands of the teach panel, which the wizard's logic decides, the teach mode of the firmware
// that knows it, and writing the taught values entered by hand.
#include "support/ResourceComponent.h"
#include "view/QX_FlowWiz.h"

namespace qx::view {

// Sends a parameter as the teach job; the reference the communication object hands back replaces ours.
void QX_FlowWiz::sendTeachJob(ParameterPtr& parameter) {
    host::WriteItem item = parameter;
    jobs_.setTeachJob(SendWriteJob(item));
    if (auto* kept = std::get_if<ParameterPtr>(&item)) parameter = *kept;
}

// The teach panel's buttons pass to the wizard's logic.
void QX_FlowWiz::ComTeachMaxMin_Click() {
    teachIn_.startMaxMin();
}

void QX_FlowWiz::ComteachQuick_Click() {
    teachIn_.startQuick();
}

void QX_FlowWiz::ComTMax_Click() {
    teachIn_.teachMaximum();
}

void QX_FlowWiz::ComTMin_Click() {
    teachIn_.teachMinimum();
}

void QX_FlowWiz::ComTQuick_Click() {
    teachIn_.teachQuick();
}

void QX_FlowWiz::ComTeachCancel_Click() {
    teachIn_.cancel();
}

// Only firmware 1 knows the teach-mode codes "4" (start) and "5" (end).
void QX_FlowWiz::SetTeachMode(bool on) {
    if (!must(must(mModel).description()).item("FWversion").equals(Variant(1))) return;
    writeTeachCode(on ? TeachCode::ModeStart : TeachCode::ModeEnd);
    sendTeachJob();
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
        if (span < wizard::minimumSpan(mFwVersion)) {
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
