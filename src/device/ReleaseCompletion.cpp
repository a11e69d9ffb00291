// A deferred release ends with the last answer or with a status change. The end-of-teach command,
// or the read that waited for the connection, can leave neither to come: its answer arrived inside
// the call that sent it, or the line was already gone and it could not be sent. The view then does
// on the next turn what the last answer would have done (disconnect), or, without a connection,
// what the status change would have done. It looks again at that turn, so that work started
// meanwhile ends the release its own way.
#include "view/QX_FlowWiz.h"

namespace qx::view {

namespace {

bool nothingToCome(const QX_FlowWiz& v) {
    return v.frame().mReleasePending && v.frame().mSpecComm && v.jobs().allSettled();
}

}  // namespace

void QX_FlowWiz::finishReleaseWithoutAnswers() {
    if (!nothingToCome(*this)) return;
    ui_.scheduler.post([weak = std::weak_ptr<QX_FlowWiz>(self())] {
        auto v = weak.lock();
        if (!v) return;
        try {
            if (!nothingToCome(*v)) return;
            if (v->mSpecComm->IsConnected()) {
                v->Timer1->setEnabled(false);
                v->mSpecComm->Connecting(false);
            } else {
                v->IBase_Communication_OnConnectStatusChanged("DISCONNECTED");
            }
        } catch (const platform::RuntimeError& e) {
            v->logOnError("finishReleaseWithoutAnswers", e);
        }
    });
}

}  // namespace qx::view
