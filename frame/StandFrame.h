#pragma once
// The stand-in frame as a whole: one container hosting one QX_FlowWiz on virtual time, bound to
// the simulated flow monitor. It owns everything the frame and the container give the view (the
// scheduler, text metrics, the factories of the slider and the chart component, the data model,
// the device object, the message handler, the callback receiver, the toolbar) and offers the
// calls the frame and a person make. The console and the view tests both drive the view
// through it.
//
// Contract: one thread. Nothing asynchronous happens outside wait(): timer ticks, device answers
// and connection changes run only while virtual time advances. The device options may change
// until the frame's model exists (at the first init, or makeModel()); the model then holds the
// device's values. While a StandFrame lives, the diagnostic log of its thread takes its date and
// time from the frame's scheduler.
//
// A call made at the wrong moment (a second create, init before create, options after the model
// exists) fails with std::logic_error; run-time errors the view lets escape travel unchanged.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "frame/CallbackReceiver.h"
#include "frame/DeviceOptions.h"
#include "frame/FlowMonitorSim.h"
#include "frame/FrameDataModel.h"
#include "frame/FrameToolbar.h"
#include "frame/HostedView.h"
#include "frame/MessageHandler.h"
#include "frame/SimCommunication.h"
#include "frame/SimDevice.h"
#include "platform/Controls.h"
#include "platform/TextMetrics.h"
#include "platform/VirtualScheduler.h"

namespace qx::view {
class QX_FlowWiz;
}

namespace qx::frame {

// What the frame hands to IQX_ActiveXConfig2_init as its object.
enum class InitTarget { Device, Model, None };

// The virtual scheduler of the stand-in frame, which tells an observer after each task it ran,
// so that a front end can look at the view after every event.
class StandScheduler : public platform::VirtualScheduler {
  public:
    using VirtualScheduler::VirtualScheduler;
    Handle postAfter(int64_t ms, Task task) override;

    std::function<void()> afterTask;
};

// The simulated device's view of time: the milliseconds since the run started, so that moving
// the starting time of day (StandFrame::setClock) leaves a settling flow's end where it was.
// Tasks go to the frame's scheduler.
class RunClock : public platform::Scheduler {
  public:
    RunClock(platform::Scheduler& scheduler, const int64_t& startMs)
        : scheduler_(scheduler), startMs_(startMs) {}
    Handle post(Task task) override { return scheduler_.post(std::move(task)); }
    Handle postAfter(int64_t ms, Task task) override { return scheduler_.postAfter(ms, std::move(task)); }
    void cancel(Handle handle) override { scheduler_.cancel(handle); }
    void processPending() override { scheduler_.processPending(); }
    int64_t nowMs() const override { return scheduler_.nowMs() - startMs_; }
    int32_t startDay() const override { return scheduler_.startDay(); }

  private:
    platform::Scheduler& scheduler_;
    const int64_t& startMs_;
};

class StandFrame {
  public:
    // Virtual time starts at 10:00:00.000.
    static constexpr int64_t kStartMs = 10 * 3600 * 1000;
    static constexpr int32_t kViewWidth = 12120;
    static constexpr int32_t kViewHeight = 9000;

    StandFrame();
    // Destroys the view (if still there) and gives the log its own clock back.
    ~StandFrame();
    StandFrame(const StandFrame&) = delete;
    StandFrame& operator=(const StandFrame&) = delete;

    // ---- the container ----
    // The container creates the view: 12120 × 9000 twips, visible, both chart check boxes
    // checked, laid out once for that size. At most once. The view's type is the caller's: the
    // frame itself reaches the view through the control and the host interfaces only.
    template <class View = view::QX_FlowWiz>
    View& create() {
        claimCreation();
        auto made = View::create(uiContext());
        site(hostedView(made));
        return *made;
    }
    // The container destroys the view; the frame's objects stay.
    void terminate();
    // The container destroys the view and creates a new one as create() does, as a frame does
    // to apply a language switch.
    template <class View = view::QX_FlowWiz>
    View& recreate() {
        terminate();
        created_ = false;
        return create<View>();
    }
    // Whether the view exists (created and not terminated).
    bool hasView() const { return hosted_.control != nullptr; }
    template <class View = view::QX_FlowWiz>
    View& view() {  // logic_error when there is none
        return dynamic_cast<View&>(*hosted().control);
    }
    template <class View = view::QX_FlowWiz>
    std::shared_ptr<View> viewPtr() const {
        return std::dynamic_pointer_cast<View>(hosted_.control);
    }

    // ---- the frame ----
    // IQX_ActiveXConfig2_init with the device object, the frame's model or none; the frame's
    // message handler unless `handler` is false. The first init makes the frame's model.
    void init(InitTarget target, const std::optional<std::string>& args = std::nullopt,
              const std::optional<std::string>& argtype = std::nullopt, bool handler = true);
    bool initialised() const { return initialised_; }
    // IQX_ActiveXApp_SetToolbar with a new, empty toolbar, which becomes the latest one.
    FrameToolbar& setToolbar();
    // IQX_ActiveXApp_RegisterCallback with the frame's receiver; the view's answer.
    bool registerCallback();
    // A person clicks the toolbar button `key` (a check-style button toggles first), then the
    // view gets IQX_ActiveXAppEvts_ToolbarButtonClick. A key the toolbar lacks (or any key before
    // there is a toolbar) is one of the frame's own buttons: a plain push button with that key.
    // False, and nothing happens, when the button is disabled.
    bool press(const std::string& key);
    // IQX_ActiveXConfig2_PrepareToRelease; the view's answer.
    bool release();
    // The frame's notice that its environment value `name` changed
    // (IBase_CallbackModule_OnEnvironmentChanged on the view with "GLB_ENV_CHANGED").
    void notifyEnvironmentChanged(const std::string& name);
    // The frame switches its language: the settings of its model and of the applied copies take
    // the number, then every callback registered with the frame's model gets
    // IBase_CallbackModule_OnLanguageChanged (frame model). Before the model exists the number
    // is the language it will be made with.
    void switchLanguage(int32_t language);
    // IBase_CallbackModule_OnUnload (frame model) to every callback registered with the frame's
    // model; nobody is registered before the model exists.
    void unload();

    // ---- time ----
    // Runs everything due at or before now + ms, also what becomes due meanwhile.
    void wait(int64_t ms) { scheduler_.advance(ms); }
    StandScheduler& scheduler() { return scheduler_; }
    // Sets the starting time of day: the present time moves with it, by as much (before
    // anything is scheduled).
    void setClock(int64_t msSinceMidnight);

    // ---- the simulated device and the frame's objects ----
    const DeviceOptions& options() const { return options_; }
    // The device variant; logic_error once the frame's model exists.
    void setOptions(const DeviceOptions& options);
    FlowMonitorSim& sim() { return *sim_; }
    const std::shared_ptr<FlowMonitorSim>& simulator() const { return sim_; }
    SimLink& link() { return sim_->link(); }
    // The frame's model, made now from the options (holding the device's values) if not yet.
    FrameDataModel& makeModel();
    // None before the model is made.
    const std::shared_ptr<FrameDataModel>& model() const { return model_; }
    // The simulated device's device object (made with the model); none before, and none when a
    // device maker chose the line.
    const std::shared_ptr<SimDevice>& device() const { return device_; }
    // Puts a line behind the device object the frame hands to the view: `make` builds that device
    // object from the frame's model when the model is made. Without it, the simulated device's.
    // Like the options, fixed once the model exists.
    void setDeviceMaker(std::function<host::DevicePtr(const host::DataModelPtr&)> make);
    // The communication object the simulated device's device object made last; none before there
    // is one.
    std::shared_ptr<SimCommunication> communication() const;
    const std::shared_ptr<MessageHandler>& messageHandler() const { return messageHandler_; }
    const std::shared_ptr<CallbackReceiver>& receiver() const { return receiver_; }
    // The latest toolbar; none before setToolbar.
    const std::shared_ptr<FrameToolbar>& toolbar() const { return toolbar_; }

    // ---- what the container gives the view ----
    const platform::TextMetrics& textMetrics() const { return *textMetrics_; }
    // A frame on screen measures texts in the font it draws them with; the default gives every
    // character the same width, as the console's frame does. Set before create.
    void setTextMetrics(std::shared_ptr<const platform::TextMetrics> metrics) {
        textMetrics_ = std::move(metrics);
    }
    platform::ControlFactories& factories() { return factories_; }
    platform::UiContext uiContext() { return {scheduler_, *textMetrics_, factories_}; }

  private:
    void claimCreation();  // logic_error on a second create
    void site(HostedView made);
    const HostedView& hosted() const;  // logic_error when there is no view

    int64_t startMs_ = kStartMs;
    StandScheduler scheduler_{kStartMs};
    RunClock runClock_{scheduler_, startMs_};
    std::shared_ptr<const platform::TextMetrics> textMetrics_ =
        std::make_shared<platform::FixedPitchTextMetrics>();
    platform::ControlFactories factories_;
    DeviceOptions options_;
    std::shared_ptr<FlowMonitorSim> sim_;
    std::shared_ptr<FrameDataModel> model_;
    std::shared_ptr<SimDevice> device_;
    std::function<host::DevicePtr(const host::DataModelPtr&)> deviceMaker_;
    host::DevicePtr lineDevice_;  // the device object made by deviceMaker_
    std::shared_ptr<MessageHandler> messageHandler_ = std::make_shared<MessageHandler>();
    std::shared_ptr<CallbackReceiver> receiver_ = std::make_shared<CallbackReceiver>();
    std::shared_ptr<FrameToolbar> toolbar_;
    HostedView hosted_;
    bool created_ = false;
    bool initialised_ = false;
};

}  // namespace qx::frame
