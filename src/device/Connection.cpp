// The view's side of the conversation with the communication object: sending jobs and tracking
// their ids, connecting on the user's request, and what each answer and connection status does.
#include "display/TrendPane.h"
#include "support/DebugLog.h"
#include "view/QX_FlowWiz.h"

namespace qx::view {

// The text is looked up before the caption is built, as the message reads.
void QX_FlowWiz::reportConnectFailed() {
    const std::string text = lookUpText("IDS_VERBINDUNG_KONNTE_NICHT_AUFGEBAUT_");
    ReportMessageWithDetails(text, messageCaption());
}

std::string QX_FlowWiz::SendReadJob(const host::ParameterList& items) {
    const std::string id = must(mSpecComm).QueueRead(true, {items});
    jobs_.track(id);
    return id;
}

std::string QX_FlowWiz::SendWriteJob(host::WriteItem& item) {
    const std::string id = must(mSpecComm).QueueWrite(true, item);
    jobs_.track(id);
    return id;
}

bool QX_FlowWiz::ConnectAndUploadDepends() {
    try {
        if (must(mSpecComm).IsConnected()) {
            if (jobs_.nonePending())
                ReadValuesOnce();
            else
                jobs_.queueRead();  // the read follows the last outstanding answer
            return true;
        }
        if (mSpecComm->Connecting(true)) {
            jobs_.queueRead();  // runs when "CONNECTED" arrives
            return true;
        }
        if (visible()) reportConnectFailed();
        return false;
    } catch (const RuntimeError& e) {
        logOnError("ConnectAndUploadDepends", e);
        return false;
    }
}

void QX_FlowWiz::IBase_Communication_OnConnectStatusChanged(const std::string& status) {
    try {
        mTeachActive = false;
        mQuickTeachActive = false;
        if (!mSpecComm) return;
        if (status == "CONNECTED") {
            if (jobs_.takeReadOnConnect()) ReadValuesOnce();
            // A release deferred for that read ends with its answer, unless it came inside the call.
            finishReleaseWithoutAnswers();
        } else if (status == "DISCONNECTED" || status == "DISCONNECTED ABORT") {
            trend_->breakAtNextUpdate();
            ResetPolling();
            TimerCnt->setEnabled(false);
        } else if (status == "CONNECT FAILED") {
            trend_->breakAtNextUpdate();
            ResetPolling();
            if (visible()) reportConnectFailed();
        }
        // A deferred release completes once the device is no longer connected.
        if (!mSpecComm->IsConnected() && mReleasePending) {
            if (!IQX_ActiveXConfig2_PrepareToRelease()) {
                must(mReceiver).NotifyReleased();
                mReceiver.reset();
            }
        }
    } catch (const RuntimeError& e) {
        logOnError("IBase_Communication_OnConnectStatusChanged", e);
    }
}

void QX_FlowWiz::IBase_Communication_OnJobResponse(const std::string& id, const std::string& status,
                                                   int32_t) {
    try {
        // Both conditions are read, so a view without its collections fails here whatever
        // mSpecComm holds.
        const bool unbound = !mSpecComm;
        const bool unknown = !jobs_.isPending(id);
        if (unbound || unknown) {
            jobs_.noteEarlyAnswer(id);
            return;
        }
        if (status != "SUCCESS") {
            // The id stays pending until the disconnection empties the collection.
            mTeachActive = false;
            mQuickTeachActive = false;
            Timer1->setEnabled(false);
            mSpecComm->Connecting(false);
            return;
        }
        if (jobs_.takeReadAfterAnswer(mSpecComm->IsConnected())) ReadValuesOnce();

        if (jobs_.isTeachJob(id)) {
            teachIn_.continueAfterAnswer();
        } else {
            if (jobs_.isSettingJob(id)) mSliderTPLoaded = false;  // show the device's SWPOINT again
            UpdateView();
        }
        jobs_.settle(id);

        // The "Poll" button is only asked once nothing is outstanding; without a toolbar or its
        // button the handler then fails here, also while a release is pending.
        if (jobs_.nonePending()) {
            const bool pollReleased = must(must(must(mToolbar).Buttons()).item("Poll")).value() == 0;
            if (pollReleased || mReleasePending) {
                Timer1->setEnabled(false);
                mSpecComm->Connecting(false);
            }
        }
    } catch (const RuntimeError& e) {
        logOnError("IBase_Communication_OnJobResponse", e);
    }
}

void QX_FlowWiz::IBase_Communication_OnReleased() {
    support::DebugWrite(className() + ".IBase_Communication_OnReleased()", "");
    ResetPolling();
}

}  // namespace qx::view
