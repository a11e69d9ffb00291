#include "platform/Timer.h"

namespace qx::platform {

Timer::Timer(std::string name, Scheduler& scheduler, int32_t interval)
    : Control(std::move(name), "Timer"), scheduler_(scheduler), interval_(interval) {
    Control::setEnabled(false);
}

Timer::~Timer() {
    unschedule();
}

void Timer::setInterval(int32_t ms) {
    if (ms < 0) ms = 0;
    const bool restart = enabled();
    if (restart) unschedule();
    assign(interval_, ms, "Interval");
    if (restart) schedule();
}

void Timer::setEnabled(bool on) {
    if (on == enabled()) return;
    Control::setEnabled(on);
    if (on)
        schedule();
    else
        unschedule();
}

void Timer::schedule() {
    if (interval_ <= 0) return;
    pending_ = scheduler_.postAfter(interval_, [this] {
        pending_ = 0;
        schedule();  // the next tick is due one interval after this one, whatever the handler does
        fire(Tick);
    });
}

void Timer::unschedule() {
    if (pending_) scheduler_.cancel(pending_);
    pending_ = 0;
}

Variant Timer::getProperty(const std::string& name) const {
    if (name == "Interval") return interval_;
    return Control::getProperty(name);
}

void Timer::setProperty(const std::string& name, const Variant& value) {
    if (name == "Interval") return setInterval(value.toInt32());
    Control::setProperty(name, value);
}

}  // namespace qx::platform
