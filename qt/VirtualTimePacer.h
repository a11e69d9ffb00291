#pragma once
// Moves virtual time on with the real clock, `speed` times as fast, in small steps on a QTimer,
// so that the view's timers, the device's answers and the lamp blinking run in a window as they
// do on virtual time, at a pace a person can watch (speed 1 is real pace). Either free-running
// (the window after its script) or for a given stretch of virtual time (a script's wait), after
// which it calls back and stops.
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

namespace qx::ui {

class VirtualTimePacer : public QObject {
  public:
    // Runs the virtual time's events up to `ms` from its present time.
    using Advance = std::function<void(int64_t ms)>;
    // The real clock in milliseconds; tests give their own.
    using RealClock = std::function<int64_t()>;

    VirtualTimePacer(Advance advance, double speed, RealClock clock = {}, QObject* parent = nullptr);

    // Free-running from now on, until stop() or run().
    void start();
    // Runs `ms` of virtual time at pace, then stops and calls done.
    void run(int64_t ms, std::function<void()> done);
    void stop();
    bool running() const { return timer_.isActive(); }

    // One step: the virtual time that the real time since the last step stands for. The timer
    // calls it; tests call it directly.
    void step();

  private:
    static constexpr int kStepMs = 10;

    Advance advance_;
    double speed_;
    RealClock clock_;
    QTimer timer_;
    int64_t lastReal_ = 0;
    double owed_ = 0;         // virtual milliseconds not yet run (the fraction of a step)
    int64_t remaining_ = -1;  // of a run(); -1 when free-running
    std::function<void()> done_;
};

}  // namespace qx::ui
