#pragma once
// A timer control on the scheduler. Enabled at time t it first ticks at t + Interval, then every
// Interval. Enabling it while enabled does not restart it; disabling it drops its pending tick;
// setting Interval while enabled restarts it. An interval of 0 never ticks.
#include "platform/Control.h"
#include "platform/PackageInternal.h"
#include "platform/Scheduler.h"

namespace qx::platform {

class QX_FLOW_INTERNAL Timer : public Control {
  public:
    Timer(std::string name, Scheduler& scheduler, int32_t interval);
    ~Timer() override;

    int32_t interval() const { return interval_; }
    void setInterval(int32_t ms);
    void setEnabled(bool on) override;

    Event Tick;

    Variant getProperty(const std::string& name) const override;
    void setProperty(const std::string& name, const Variant& value) override;

  private:
    void schedule();
    void unschedule();

    Scheduler& scheduler_;
    int32_t interval_;
    Scheduler::Handle pending_ = 0;
};

}  // namespace qx::platform
