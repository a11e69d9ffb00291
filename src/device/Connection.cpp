// The view's side of the conversation with the communication object: sending jobs and tracking
// their ids, connecting on the user's request, and what each answer and connection status does.
#include "device/ReleaseCompletion.h"
#include "display/TrendPane.h"
#include "support/DebugLog.h"
#include "view/QX_FlowWiz.h"

namespace qx::view {

namespace {

// The text is looked up before the caption is built, as the message reads.
void reportConnectFailed(QX_FlowWiz& view) {
    const std::string text = view.lookUpText("IDS_VERBINDUNG_KONNTE_NICHT_AUFGEBAUT_");
    view.ReportMessageWithDetails(text, view.messageCaption());
}

// An answer may have come inside the queuing call, before its id was known: it then waits in
// mUuids2 and the job never counts as pending.
void trackJob(QX_FlowWiz& view, const std::string& id) {
    if (id.empty()) return;
    if (must(view.mUuids2).IsInside(id))
        view.mUuids2->Remove(id);
    else
        must(view.mUuids).Add(id);
}

}  // namespace

std::string QX_FlowWiz::SendReadJob(const host::ParameterList& items) {
    const std::string id = must(mSpecComm).QueueRead(true, {items});
    trackJob(*this, id);
    return id;
}

std::string QX_FlowWiz::SendWriteJob(host::WriteItem& item) {
    const std::string id = must(mSpecComm).QueueWrite(true, item);
    trackJob(*this, id);
    return id;
}

bool QX_FlowWiz::ConnectAndUploadDepends() {
    try {
        if (must(mSpecComm).IsConnected()) {
            if (must(mUuids).Count() == 0)
                ReadValuesOnce();
            else
                must(mFifo).Add("ReadOnce");  // the read follows the last outstanding answer
            return true;
        }
        if (mSpecComm->Connecting(true)) {
            must(mFifo).Add("ReadOnce");  // runs when "CONNECTED" arrives
            return true;
        }
        if (visible()) reportConnectFailed(*this);
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
            if (must(mFifo).Count() > 0 && mFifo->Remove() == "ReadOnce") ReadValuesOnce();
            // A release deferred for that read ends with its answer, unless it came inside the call.
            device::finishReleaseWithoutAnswers(*this);
        } else if (status == "DISCONNECTED" || status == "DISCONNECTED ABORT") {
            trend_->breakAtNextUpdate();
            ResetPolling();
            TimerCnt->setEnabled(false);
        } else if (status == "CONNECT FAILED") {
            trend_->breakAtNextUpdate();
            ResetPolling();
            if (visible()) reportConnectFailed(*this);
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
        const bool unknown = !must(mUuids).IsInside(id);
        if (unbound || unknown) {
            must(mUuids2).Add(id);
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
        const bool connected = mSpecComm->IsConnected();
        const int32_t jobs = mUuids->Count();
        const int32_t commands = must(mFifo).Count();
        if (commands > 0 && jobs == 1 && connected && mFifo->Remove() == "ReadOnce") ReadValuesOnce();

        if (id == mTeachJobId) {
            TeachContinuation();
        } else {
            if (id == mSettingJobId) mSliderTPLoaded = false;  // show the device's SWPOINT again
            UpdateView();
        }
        mUuids->Remove(id);

        // The "Poll" button is only asked once nothing is outstanding; without a toolbar or its
        // button the handler then fails here, also while a release is pending.
        if (mUuids->Count() == 0) {
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
