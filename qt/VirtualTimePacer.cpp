#include "VirtualTimePacer.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <memory>

namespace qx::ui {

namespace {

// A QTimer takes an int; an alarm further away is set again when it rings.
constexpr int64_t kLongestAlarmMs = 3'600'000;

VirtualTimePacer::RealClock steadyClock() {
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}

}  // namespace

VirtualTimePacer::VirtualTimePacer(Advance advance, NextDue nextDue, double speed, RealClock clock,
                                   QObject* parent)
    : QObject(parent),
      advance_(std::move(advance)),
      nextDue_(std::move(nextDue)),
      speed_(speed),
      clock_(clock ? std::move(clock) : steadyClock()) {
    alarm_.setSingleShot(true);
    // A coarse timer may ring early; the alarm is for the millisecond an event falls due.
    alarm_.setTimerType(Qt::PreciseTimer);
    connect(&alarm_, &QTimer::timeout, this, [this] { step(); });
}

void VirtualTimePacer::start() {
    remaining_ = -1;
    done_ = nullptr;
    lastReal_ = clock_();
    owed_ = 0;
    running_ = true;
    rearm();
}

void VirtualTimePacer::run(int64_t ms, std::function<void()> done) {
    remaining_ = std::max<int64_t>(ms, 0);
    done_ = std::move(done);
    lastReal_ = clock_();
    owed_ = 0;
    running_ = true;
    // A wait of nothing still runs what is due now, and ends at once.
    if (remaining_ == 0)
        step();
    else
        rearm();
}

void VirtualTimePacer::stop() {
    alarm_.stop();
    running_ = false;
    remaining_ = -1;
    done_ = nullptr;
}

void VirtualTimePacer::step() {
    if (!running_) return;
    const int64_t now = clock_();
    owed_ += static_cast<double>(now - lastReal_) * speed_;
    lastReal_ = now;
    auto ms = static_cast<int64_t>(std::floor(owed_));
    if (remaining_ >= 0) ms = std::min(ms, remaining_);
    owed_ -= static_cast<double>(ms);
    // Also with nothing to run on: what is due now runs now, else the alarm would ring again at
    // once for it.
    advance_(ms);
    if (remaining_ >= 0) {
        remaining_ -= ms;
        if (remaining_ <= 0) {
            auto done = std::move(done_);
            stop();
            if (done) done();
            return;
        }
    }
    rearm();
}

void VirtualTimePacer::rearm() {
    if (!running_) return;
    std::optional<int64_t> virtualMs = nextDue_ ? nextDue_() : std::nullopt;
    if (remaining_ >= 0) virtualMs = std::min(virtualMs.value_or(remaining_), remaining_);
    if (!virtualMs) {
        alarm_.stop();  // nothing waits: sleep until something is posted
        return;
    }
    // What the real time since the last step already stands for counts towards it.
    const double owedNow = owed_ + static_cast<double>(clock_() - lastReal_) * speed_;
    const double realMs = std::ceil((static_cast<double>(*virtualMs) - owedNow) / speed_);
    alarm_.start(static_cast<int>(std::clamp<double>(realMs, 0, kLongestAlarmMs)));
}

std::optional<int64_t> VirtualTimePacer::alarmInMs() const {
    if (!alarm_.isActive()) return std::nullopt;
    return alarm_.interval();  // as armed: what is left of it depends on the machine's load
}

}  // namespace qx::ui
