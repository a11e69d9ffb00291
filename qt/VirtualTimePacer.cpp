#include "VirtualTimePacer.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>

namespace qx::ui {

namespace {

VirtualTimePacer::RealClock steadyClock() {
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}

}  // namespace

VirtualTimePacer::VirtualTimePacer(Advance advance, double speed, RealClock clock, QObject* parent)
    : QObject(parent),
      advance_(std::move(advance)),
      speed_(speed),
      clock_(clock ? std::move(clock) : steadyClock()) {
    timer_.setInterval(kStepMs);
    connect(&timer_, &QTimer::timeout, this, [this] { step(); });
}

void VirtualTimePacer::start() {
    remaining_ = -1;
    done_ = nullptr;
    lastReal_ = clock_();
    owed_ = 0;
    timer_.start();
}

void VirtualTimePacer::run(int64_t ms, std::function<void()> done) {
    remaining_ = std::max<int64_t>(ms, 0);
    done_ = std::move(done);
    lastReal_ = clock_();
    owed_ = 0;
    timer_.start();
    // A wait of nothing still runs what is due now, and ends at once.
    if (remaining_ == 0) step();
}

void VirtualTimePacer::stop() {
    timer_.stop();
    remaining_ = -1;
    done_ = nullptr;
}

void VirtualTimePacer::step() {
    const int64_t now = clock_();
    owed_ += static_cast<double>(now - lastReal_) * speed_;
    lastReal_ = now;
    auto ms = static_cast<int64_t>(std::floor(owed_));
    if (remaining_ >= 0) ms = std::min(ms, remaining_);
    owed_ -= static_cast<double>(ms);
    if (ms > 0 || remaining_ == 0) advance_(ms);
    if (remaining_ < 0) return;
    remaining_ -= ms;
    if (remaining_ > 0) return;
    auto done = std::move(done_);
    stop();
    if (done) done();
}

}  // namespace qx::ui
