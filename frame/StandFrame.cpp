#include "frame/StandFrame.h"

#include <stdexcept>

#include "frame/DeviceDescriptionFile.h"
#include "frame/DeviceValues.h"
#include "frame/FrameModelFactory.h"
#include "frame/ParameterSlider.h"
#include "platform/ChartObject.h"
#include "platform/RuntimeError.h"
#include "support/DebugLog.h"

namespace qx::frame {

platform::Scheduler::Handle StandScheduler::postAfter(int64_t ms, Task task) {
    return VirtualScheduler::postAfter(ms, [this, task = std::move(task)] {
        task();
        if (afterTask) afterTask();
    });
}

StandFrame::StandFrame() : sim_(std::make_shared<FlowMonitorSim>(runClock_, options_)) {
    registerSlider(factories_);
    platform::registerChartComponent(factories_);
    support::setLogClock(&scheduler_);
}

StandFrame::~StandFrame() {
    // The view logs as it goes, on the frame's clock; its timers leave the scheduler.
    hosted_ = {};
    support::setLogClock(nullptr);
}

void StandFrame::setClock(int64_t msSinceMidnight) {
    scheduler_.setNow(scheduler_.nowMs() + msSinceMidnight - startMs_);
    startMs_ = msSinceMidnight;
}

void StandFrame::claimCreation() {
    if (created_) throw std::logic_error("the view was already created");
    created_ = true;
}

void StandFrame::site(HostedView made) {
    hosted_ = std::move(made);
    // Siting the control at its extent raises its resize event, as a container does.
    hosted_.control->move(0, 0, kViewWidth, kViewHeight);
    hosted_.control->setVisible(true);
    hosted_.resize();
}

void StandFrame::terminate() {
    if (!hasView()) throw std::logic_error("there is no view to destroy");
    hosted_ = {};
}

const HostedView& StandFrame::hosted() const {
    if (!hasView()) throw std::logic_error("there is no view");
    return hosted_;
}

void StandFrame::setOptions(const DeviceOptions& options) {
    if (model_) throw std::logic_error("the device is fixed once the frame's model exists");
    options_ = options;
    sim_->setOptions(options_);
    // The device answers to its description's names from now on; a description that cannot be
    // read is told when the model is made from it.
    if (options_.descriptionPath.empty())
        sim_->describe(device::DeviceTable::flowMonitor());
    else
        platform::ignoreErrors(
            [&] { sim_->describe(readDescriptionFile(options_.descriptionPath).deviceTable()); });
}

void StandFrame::setDeviceMaker(std::function<host::DevicePtr(const host::DataModelPtr&)> make) {
    if (model_) throw std::logic_error("the device is fixed once the frame's model exists");
    deviceMaker_ = std::move(make);
}

FrameDataModel& StandFrame::makeModel() {
    if (!model_) {
        model_ = createFrameModel(options_);
        sim_->describe(model_->frameDescription()->file()->deviceTable());
        copyDeviceValues(*sim_, *model_);
        if (deviceMaker_)
            lineDevice_ = deviceMaker_(model_);
        else
            device_ = std::make_shared<SimDevice>(scheduler_, sim_, model_);
    }
    return *model_;
}

std::shared_ptr<SimCommunication> StandFrame::communication() const {
    return device_ ? device_->communication() : nullptr;
}

void StandFrame::init(InitTarget target, const std::optional<std::string>& args,
                      const std::optional<std::string>& argtype, bool handler) {
    const auto& wiz = hosted();
    makeModel();
    initialised_ = true;
    host::ObjectPtr obj;
    if (target == InitTarget::Device) obj = lineDevice_ ? lineDevice_ : device_;
    if (target == InitTarget::Model) obj = model_;
    wiz.config->IQX_ActiveXConfig2_init(obj, args, argtype, handler ? messageHandler_ : nullptr);
}

FrameToolbar& StandFrame::setToolbar() {
    const auto& wiz = hosted();
    toolbar_ = std::make_shared<FrameToolbar>();
    wiz.app->IQX_ActiveXApp_SetToolbar(toolbar_);
    return *toolbar_;
}

bool StandFrame::registerCallback() {
    return hosted().app->IQX_ActiveXApp_RegisterCallback(receiver_);
}

bool StandFrame::press(const std::string& key) {
    const auto& wiz = hosted();
    host::ButtonPtr button =
        toolbar_ ? toolbar_->click(key) : std::make_shared<ToolbarButton>(key, "", 0, "");
    if (!button) return false;
    wiz.events->IQX_ActiveXAppEvts_ToolbarButtonClick(button);
    return true;
}

bool StandFrame::release() {
    return hosted().config->IQX_ActiveXConfig2_PrepareToRelease();
}

void StandFrame::notifyEnvironmentChanged(const std::string& name) {
    hosted().callbacks->IBase_CallbackModule_OnEnvironmentChanged(model_, "GLB_ENV_CHANGED",
                                                                  platform::Variant(name));
}

void StandFrame::switchLanguage(int32_t language) {
    if (!model_) {
        DeviceOptions options = options_;
        options.language = language;
        setOptions(options);
        return;
    }
    options_.language = language;
    model_->frameDescription()->switchLanguage(language);
    model_->announceLanguageChange();
}

void StandFrame::unload() {
    if (model_) model_->announceUnload();
}

}  // namespace qx::frame
