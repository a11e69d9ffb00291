// An integrator's smallest container, written against the installed headers only: it creates the
// view, sites it and reads a child control by name. A header the installation lacks fails the
// build; a symbol the library hides fails the link.
#include <cstdio>
#include <exception>
#include <map>

#include "FlowWizView.h"
#include "platform/Scheduler.h"
#include "platform/TextMetrics.h"

namespace {

// Time stands still and posted work waits: creating and sizing the view needs neither.
class StillScheduler : public qx::platform::Scheduler {
  public:
    Handle post(Task task) override { return postAfter(0, std::move(task)); }
    Handle postAfter(int64_t, Task task) override {
        pending_[++last_] = std::move(task);
        return last_;
    }
    void cancel(Handle handle) override { pending_.erase(handle); }
    void processPending() override {}
    int64_t nowMs() const override { return 0; }
    int32_t startDay() const override { return 0; }

  private:
    Handle last_ = 0;
    std::map<Handle, Task> pending_;
};

class FixedPitch : public qx::platform::TextMetrics {
  public:
    int32_t textWidth(const std::string& text) const override {
        return static_cast<int32_t>(text.size()) * 90;
    }
};

}  // namespace

int main() {
    try {
        StillScheduler scheduler;
        FixedPitch metrics;
        qx::platform::ControlFactories factories;
        qx::registerViewComponents(factories);
        qx::FlowWizView view = qx::createFlowWizView({scheduler, metrics, factories});
        view.control->setProperty("Width", qx::platform::Variant(12120));
        view.control->setProperty("Height", qx::platform::Variant(9000));
        view.resize();
        auto chart = view.controls->find("PC1");
        std::printf("%s %s\n", view.control->typeName().c_str(), chart ? chart->name().c_str() : "none");
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
