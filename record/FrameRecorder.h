#pragma once
// The frame's recorder: watches what the stand-in frame already sees of a run and puts it in the
// run's journal. The trend samples are the points the view added to its trend charts (read off
// the chart models after every event, so the journal holds the same points, holes included), the
// events what crossed the line (writes with their values, their answers, connection statuses),
// what the person was shown (status texts, messages), the wizard's teach states, and notes.
//
// It hooks itself in front of the observers already set on the frame's line and message handler,
// so it is made after whoever prints them (the console) and before a window adds its own.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "frame/StandFrame.h"
#include "platform/Observers.h"
#include "record/RunJournal.h"

namespace qx::platform {
class ChartObject;
}

namespace qx::record {

class FrameRecorder {
  public:
    explicit FrameRecorder(frame::StandFrame& frame);
    // The hooks stay in front of the frame's observers, passing everything on unrecorded.
    ~FrameRecorder() { *alive_ = false; }
    FrameRecorder(const FrameRecorder&) = delete;
    FrameRecorder& operator=(const FrameRecorder&) = delete;

    RunJournal& journal() { return journal_; }
    const RunJournal& journal() const { return journal_; }

    // The frame's clock in ms since the epoch (local wall time on a window's real date).
    int64_t nowMs() const;
    // Looks at the view after an event: new chart points, a new teach state, a view bound anew.
    void afterEvent();
    // A note of the person's.
    void note(const std::string& text);
    // Starts recording the run into `path` from now on; false (reported through the journal's
    // onFailure) when the file cannot be made.
    bool recordTo(const std::string& path);

  private:
    void hookLine();
    void event(const char* kind, std::string text, std::optional<std::string> detail = std::nullopt);
    void followView();
    void takeSamples();
    void updateFacts();

    frame::StandFrame& frame_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    RunJournal journal_;
    int64_t startedMs_;
    // The view and charts looked at last, and how many of their points are in the journal.
    const void* view_ = nullptr;
    const platform::ChartObject* flowChart_ = nullptr;
    const platform::ChartObject* tempChart_ = nullptr;
    int32_t seenPoints_ = 0;
    std::optional<double> lastX_;
    int32_t teachState_ = 0;
    platform::Subscription statusWatch_;
    // What the facts were made from, to make them anew when it changes.
    const void* factsModel_ = nullptr;
    int32_t factsLanguage_ = -2;
    int writeJobs_ = 0;
    std::optional<int> writeAwaitingAnswer_;
};

}  // namespace qx::record
