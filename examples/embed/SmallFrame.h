#pragma once
// A small frame of its own, written against the installed headers only: a device data model
// with the flow monitor's parameters, a device object whose line is simulated in the process,
// a toolbar, a message handler, a parameter slider without a screen, and a clock on Qt's event
// loop. It is what an integrator writes to host the flow wizard view in an application.
#include "FlowWizView.h"
#include "host/Device.h"
#include "host/FrameServices.h"
#include "host/Toolbar.h"
#include "platform/Controls.h"
#include "platform/Scheduler.h"
#include "platform/TextMetrics.h"

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace embed {

// The one UI thread's tasks, run by Qt's event loop at their time on the real clock.
class QtClock : public QObject, public qx::platform::Scheduler {
  public:
    QtClock();
    Handle post(Task task) override { return postAfter(0, std::move(task)); }
    Handle postAfter(int64_t ms, Task task) override;
    void cancel(Handle handle) override;
    void processPending() override;
    int64_t nowMs() const override;
    int32_t startDay() const override { return startDay_; }

  private:
    void arm();

    struct Entry {
        Handle handle;
        Task task;
    };
    std::multimap<int64_t, Entry> due_;
    Handle next_ = 1;
    int32_t startDay_ = 0;
    int64_t startMs_ = 0;
    QTimer timer_;
};

class FlowModel;

// What the frame owns and hands to the view: build it, then create the view with ui().
class SmallFrame {
  public:
    SmallFrame();
    ~SmallFrame();

    qx::platform::UiContext ui() { return {clock_, metrics_, factories_}; }
    // The frame's part of the view's start: init with the device, the callback receiver, the
    // toolbar (the view adds its Poll button and, the device being reachable, starts polling).
    void start(const qx::FlowWizView& view);
    // The messages the view showed, for the program to print.
    std::function<void(const std::string&)> onMessage;

  private:
    QtClock clock_;
    qx::platform::FixedPitchTextMetrics metrics_;
    qx::platform::ControlFactories factories_;
    std::shared_ptr<FlowModel> model_;
    std::shared_ptr<qx::host::IDevice> device_;
    std::shared_ptr<qx::host::IMessageHandler> messages_;
    std::shared_ptr<qx::host::ICallbackReceiver> receiver_;
    std::shared_ptr<qx::host::IToolbar> toolbar_;
};

}  // namespace embed
