#pragma once
// Moves virtual time on with the real clock, `speed` times as fast, so that the view's timers,
// the device's answers and the lamp blinking run in a window as they do on virtual time, at a
// pace a person can watch (speed 1 is real pace). It sleeps until the next due event: one
// single-shot timer is armed for the earliest task of the scheduler (or the end of a wait), and
// armed again whenever an earlier task is posted, so an idle window costs nothing. Either
// free-running (an interactive window) or for a given stretch of virtual time (a script's wait),
// after which it calls back and stops.
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>

namespace qx::ui {

class VirtualTimePacer : public QObject {
  public:
    // Runs the virtual time's events up to `ms` from its present time.
    using Advance = std::function<void(int64_t ms)>;
    // Virtual milliseconds from now until the earliest waiting event; none when nothing waits.
    using NextDue = std::function<std::optional<int64_t>()>;
    // The real clock in milliseconds; tests give their own.
    using RealClock = std::function<int64_t()>;

    VirtualTimePacer(Advance advance, NextDue nextDue, double speed, RealClock clock = {},
                     QObject* parent = nullptr);

    // Free-running from now on, until stop() or run().
    void start();
    // Runs `ms` of virtual time at pace, then stops and calls done.
    void run(int64_t ms, std::function<void()> done);
    void stop();
    bool running() const { return running_; }

    // One step: runs the virtual time that the real time since the last step stands for, then
    // sets the alarm for what is due next. The alarm calls it; so does a front end that must
    // bring virtual time up to the real clock before it hands on a person's input or a line's
    // answer, and tests.
    void step();
    // An event was posted that falls due before the alarm: sets the alarm again. Runs nothing,
    // so it may be called from inside a post.
    void rearm();
    // The real milliseconds the alarm was last set to ring after; none when it is not armed
    // (tests).
    std::optional<int64_t> alarmInMs() const;

  private:
    Advance advance_;
    NextDue nextDue_;
    double speed_;
    RealClock clock_;
    QTimer alarm_;
    bool running_ = false;
    int64_t lastReal_ = 0;
    double owed_ = 0;         // virtual milliseconds not yet run (the fraction of a step)
    int64_t remaining_ = -1;  // of a run(); -1 when free-running
    std::function<void()> done_;
};

}  // namespace qx::ui
