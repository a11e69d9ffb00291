#pragma once
// The view's record of its jobs: the ids it waits for, answers that overtook their id, the
// follow-up read that waits for the line or for the last answer, the ids of the teach and setting
// jobs, and the last state of the "Poll" button. The view asks it when a queued read is due.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "device/CCommandFiFo.h"
#include "device/CuuidCollection.h"
#include "device/IuuidCollection.h"
#include "platform/PackageInternal.h"
#include "platform/RuntimeError.h"

namespace qx::device {

class QX_FLOW_INTERNAL JobBook {
  public:
    // The "Poll" button as last left by the user; Unset until the first click and again after a
    // binding with another context.
    enum class PollMode : int32_t { Unset = 0, Pressed = 1, Released = 2 };

    // The queue and both collections; until then every operation that needs them fails with
    // "object not set", as a view whose creation stopped early does.
    void create();
    // Makes the view the callback of the pending collection, so that its size reaches the model.
    void reportCountTo(IuuidCollection* callback);
    // Empties the pending collection and lets go of its callback.
    void clearPending();

    // Takes note of the id a queuing call returned. An answer that came inside that call already
    // settled it, so it never counts as pending.
    void track(const std::string& id);
    bool isPending(const std::string& id) const;
    // An answer to an id not yet known, kept until its queuing call returns.
    void noteEarlyAnswer(const std::string& id);
    void settle(const std::string& id);
    bool nonePending() const;
    // A command waits or a job is pending; both are looked at, so either one missing fails.
    bool hasWork() const;
    // Nothing is pending, no answer came early and no command waits.
    bool allSettled() const;
    // Drops every pending id, early answer, waiting command and the teach job's id.
    void forgetAll();

    // The read asked for while the line comes up or jobs are outstanding.
    void queueRead();
    // On "CONNECTED": takes the oldest command and tells whether it is the read.
    bool takeReadOnConnect();
    // With an answer that leaves only its own job pending on a live line: takes the oldest command
    // and tells whether it is the read.
    bool takeReadAfterAnswer(bool connected);

    void setTeachJob(const std::string& id) { mTeachJobId = id; }
    void setSettingJob(const std::string& id) { mSettingJobId = id; }
    bool isTeachJob(const std::string& id) const { return id == mTeachJobId; }
    bool isSettingJob(const std::string& id) const { return id == mSettingJobId; }

    void notePollButton(bool pressed) { mPollMode = pressed ? PollMode::Pressed : PollMode::Released; }
    void forgetPollButton() { mPollMode = PollMode::Unset; }
    // How the user left the button, none before the first click: a new toolbar shows it so.
    std::optional<bool> pollButtonLeftPressed() const {
        if (mPollMode == PollMode::Unset) return std::nullopt;
        return mPollMode == PollMode::Pressed;
    }

    // Read-only views for front ends and tests.
    const CuuidCollection* pending() const { return mUuids.get(); }
    const CuuidCollection* early() const { return mUuids2.get(); }
    const CCommandFiFo* commands() const { return mFifo.get(); }
    const std::string& teachJobId() const { return mTeachJobId; }
    const std::string& settingJobId() const { return mSettingJobId; }
    PollMode pollMode() const { return mPollMode; }

  private:
    // The collections and the queue, failing as calls on "none" do before create.
    CuuidCollection& pendingIds() const { return platform::must(mUuids.get()); }
    CuuidCollection& earlyIds() const { return platform::must(mUuids2.get()); }
    CCommandFiFo& queue() const { return platform::must(mFifo.get()); }

    std::unique_ptr<CuuidCollection> mUuids;   // pending jobs
    std::unique_ptr<CuuidCollection> mUuids2;  // answers that came before their id
    std::unique_ptr<CCommandFiFo> mFifo;
    std::string mTeachJobId;
    std::string mSettingJobId;
    PollMode mPollMode = PollMode::Unset;
};

}  // namespace qx::device
