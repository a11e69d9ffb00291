#pragma once
// The run's journal: every sample and event of the run kept in memory (the newest ones, within a
// bound), and, while a recording is asked for, written through to its file. Rows are committed
// to the file once a second of the frame's clock has passed since the last commit (or the clock
// went back), and at once for every event, so that a crash loses at most the last second of
// samples and no event.
//
// A file that cannot be written is reported once (onFailure) and then left alone: the journal
// and the run go on without it.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "record/RecordingFile.h"

namespace qx::record {

class RunJournal {
  public:
    // The most the journal keeps in memory; older rows make room (the file keeps them all).
    static constexpr size_t kKeptSamples = 500'000;
    static constexpr size_t kKeptEvents = 50'000;
    static constexpr int64_t kCommitEveryMs = 1000;

    RunJournal() = default;
    RunJournal(const RunJournal&) = delete;
    RunJournal& operator=(const RunJournal&) = delete;

    // Facts replace earlier ones of the same key, in memory and in the file.
    void setFacts(const RunFacts& facts);
    const RunFacts& facts() const { return facts_; }
    std::string fact(const std::string& key) const;

    void addSample(const Sample& sample);
    void addEvent(const Event& event);

    // From now on rows go to the file at `path` too (a recording before it is closed). False,
    // after reporting through onFailure, when the file cannot be made.
    bool recordTo(const std::string& path, int64_t nowMs);
    // Closes the recording, committing what is pending.
    void stopRecording();
    bool recording() const { return writer_ != nullptr; }
    // Commits what is pending now (before a copy is taken, at the end of a run).
    void commit();

    const std::deque<Sample>& samples() const { return samples_; }
    const std::deque<Event>& events() const { return events_; }

    // Told once per recording that cannot be written, with the file and the reason.
    std::function<void(const std::string& why)> onFailure;

  private:
    // Runs a write to the file; a failure ends the recording and is reported.
    template <class Write>
    void toFile(Write&& write);

    RunFacts facts_;
    std::deque<Sample> samples_;
    std::deque<Event> events_;
    std::unique_ptr<RecordingWriter> writer_;
    int64_t lastCommitMs_ = 0;
};

}  // namespace qx::record
