// The view's life: creation by the container, binding by the frame, the release of every frame
// object (deferred while the device still has work), and the small frame callbacks.
#include <string>

#include "display/TrendPane.h"
#include "support/DebugLog.h"
#include "view/Colours.h"
#include "view/QX_FlowWiz.h"

namespace qx::view {

using platform::RuntimeError;

QX_FlowWiz::QX_FlowWiz(const platform::UiContext& ui)
    : platform::Control("QX_FlowWiz", "QX_FlowWiz"),
      ui_(ui),
      controls_(ui.factories),
      trend_(std::make_unique<display::TrendPane>(ui, controls_, *this)) {
    buildForm();
}

std::shared_ptr<QX_FlowWiz> QX_FlowWiz::create(const platform::UiContext& ui) {
    std::shared_ptr<QX_FlowWiz> view(new QX_FlowWiz(ui));
    view->UserControl_Initialize();
    return view;
}

// The container destroys the view: it only logs. Releasing the frame's objects is the job of
// IQX_ActiveXConfig2_PrepareToRelease.
QX_FlowWiz::~QX_FlowWiz() {
    UserControl_Terminate();
}

void QX_FlowWiz::UserControl_Terminate() {
    support::DebugLog(*this, "UserControl_Terminate()", "");
}

std::shared_ptr<QX_FlowWiz> QX_FlowWiz::self() {
    return std::static_pointer_cast<QX_FlowWiz>(platform::Control::shared_from_this());
}

void QX_FlowWiz::logOnError(const std::string& operation, const RuntimeError& e) {
    platform::ErrorLineScope scope(e);
    support::DebugLog(*this, operation + "(): ONERROR: " + platform::errorSummary(e), "");
}

void QX_FlowWiz::UserControl_Initialize() {
    support::DebugLog(*this, "UserControl_Initialize():", "");
    mContext = "MONITOR";
    mModule = "$$MODULE";
    Timer1->setTag("0");
    mFilter = std::make_shared<device::CFilterCallbackModule>();

    std::string step;
    try {
        trend_->createCharts(*FrameChart);
        step = "create Uuid-Collections";
        jobs_.create();
        auto addSlider = [this](SliderRef& slider, const char* name, platform::Frame* frame,
                                uint32_t colour) {
            auto control = controls_.add(host::kSliderProgId, name, frame);
            auto object = std::dynamic_pointer_cast<host::ISlider>(control->object());
            if (!object) platform::raise(platform::kTypeMismatch);
            slider = {control, object};
            object->setDisplayStyle("ShowVal");
            control->setVisible(true);
            object->setProperty("SignalColor", colour);
            object->setProperty("FixFormat", "#0");
        };
        addSlider(mSliderFL, "mSliderFL", FrameFL.get(), kBlue);
        addSlider(mSliderTP, "mSliderTP", FrameTP.get(), kRed);

        step = "get Pollcycle from registry";
        int32_t interval = support::ReadRegistryValue("SOFTWARE\\Orvex\\DTM", "PollCycle", "").toInt32();
        Timer1->setInterval(interval > 30000 || interval < 1 ? 1000 : interval);

        step = "initialize grid";
        CtlLedIM1->Init(10, kWhite);
    } catch (const RuntimeError& e) {
        platform::ErrorLineScope scope(e);
        support::DebugLog(*this,
                          ":UserControl_Initialize()(step=" + step + ")(ERROR=" + e.description() +
                              ") line:" + std::to_string(e.line()),
                          "");
    }
}

void QX_FlowWiz::IQX_ActiveXConfig2_init(const host::ObjectPtr& obj, const std::optional<std::string>& args,
                                         const std::optional<std::string>& argtype,
                                         const std::shared_ptr<host::IMessageHandler>& messagehandler) {
    const std::string module = args.value_or(""), context = argtype.value_or("");
    support::DebugLog(*this, "IQX_ActiveXConfig2_Init(obj, " + module + ", " + context + ")", "");
    Init_Data_Universal(obj, module, context);
    if (messagehandler) mMessageHandler = messagehandler;
}

bool QX_FlowWiz::IQX_ActiveXConfig2_PrepareToRelease() {
    support::DebugLog(*this, "IQX_ActiveXConfig2_PrepareToRelease():", "");
    releaseDeviceItems();
    Timer1->setEnabled(false);
    if (mSpecComm && deferReleaseWhileBusy()) return true;
    dropOwnReferences();
    jobs_.clearPending();
    if (mModel) {
        detachFromModels();
        if (!support::IsCombineModels()) must(mModel->settings()).reset();
        mModel.reset();
        mFrameModel.reset();
    }
    mToolbar.reset();
    mRes.reset();
    if (mSpecComm) mSpecComm->Release(true);
    mSpecComm.reset();
    mDevice.reset();
    mMessageHandler.reset();
    if (!mReleasePending) mReceiver.reset();
    return false;
}

// The device items the view asked the device for.
void QX_FlowWiz::releaseDeviceItems() {
    auto releaseItem = [this](const ParameterPtr& p) {
        if (!p) return;
        auto item = must(must(p).binding()).deviceItem();
        must(mDevice).ReleaseItem(item, 2);
    };
    releaseItem(refs_.TEACH_MAX);
    releaseItem(refs_.TEACH_MIN);
    releaseItem(refs_.SWPOINT);
    if (IsSwitchPointAvailable()) releaseItem(refs_.TEACHDO_SWPOINT);
    releaseItem(refs_.TEACHDO_QUICK_MODE);
}

// With jobs queued or in flight, or a teach procedure running, or the line still up, the
// release waits for the line: the device leaves teach mode, the timers stop and the release
// completes on the answers (or at once when none can come). True when it waits.
bool QX_FlowWiz::deferReleaseWhileBusy() {
    if (jobs_.hasWork() || mTeachActive || mQuickTeachActive) {
        if (mTeachActive || mQuickTeachActive) {
            SetTeachMode(false);
            mTeachActive = false;
            mQuickTeachActive = false;
        }
        stopTimers();
        mReleasePending = true;
        finishReleaseWithoutAnswers();
        return true;
    }
    if (!mSpecComm->IsConnected()) return false;
    stopTimers();
    if (mSpecComm->Connecting(false)) {
        mReleasePending = true;
        return true;
    }
    support::DebugLog(
        *this, "IQX_ActiveXConfig2_PrepareToRelease(): PROBLEM: mSpecComm.Connecting(False) returned False!",
        "");
    return false;
}

void QX_FlowWiz::stopTimers() {
    Timer1->setEnabled(false);
    TimerCnt->setEnabled(false);
    TimerState->setEnabled(false);
    CtlLedIM1->stopBlinkTimer();
}

void QX_FlowWiz::dropOwnReferences() {
    trend_->dropCharts();
    mSliderFL = {};
    mSliderTP = {};
    stopTimers();
}

host::ObjectPtr QX_FlowWiz::IQX_ActiveXApp_GetAppliedDataModel() {
    return mModel;
}

bool QX_FlowWiz::IQX_ActiveXApp_RegisterCallback(const std::shared_ptr<host::ICallbackReceiver>& receiver) {
    mReceiver = receiver;
    return true;
}

// The view uses no action area.
bool QX_FlowWiz::IQX_ActiveXApp_SetActionArea(const host::ObjectPtr&) {
    return false;
}
void QX_FlowWiz::IQX_ActiveXAppEvts_ActionAreaButtonClick(const std::string&) {}
void QX_FlowWiz::IQX_ActiveXAppEvts_ToolbarButtonMenuClick(const host::ObjectPtr&) {}
void QX_FlowWiz::IBase_CallbackModule_OnLanguageChanged(const host::ObjectPtr&) {}
void QX_FlowWiz::IBase_CallbackModule_OnUnload(const host::ObjectPtr&) {}
void QX_FlowWiz::ISpec_Log_Init(const host::ObjectPtr&) {}

void QX_FlowWiz::IBase_CallbackModule_OnEnvironmentChanged(const host::ObjectPtr& m, const std::string& key,
                                                           const Variant& value) {
    try {
        // The very object the frame handed over; before any binding that is none, and a notice
        // about none then fails on the missing model.
        const bool fromFrameModel = m.get() == static_cast<host::Object*>(mFrameModel.get());
        const bool changed = key == "GLB_ENV_CHANGED";
        const std::string name = value.toText();
        if (!(fromFrameModel && changed && !name.empty())) return;
        auto frameValue = must(must(must(mFrameModel).description()).environment()).get(name);
        auto& applied = must(must(mModel).description());
        must(applied.environment()).put(name, frameValue);
        applied.notifyEnvironmentChanged();
    } catch (const RuntimeError& e) {
        logOnError("IBase_CallbackModule_OnEnvironmentChanged", e);
    }
}

void QX_FlowWiz::ISpec_Log_Log(const std::string& kind, const std::string& DataObj, const std::string& data,
                               const Variant&) {
    try {
        support::DebugLog(*this, "ISpec_Log_Log() DataObj=" + DataObj + ", data=" + data, "");
        if (kind == "MESSAGE") mMessageDetails = DataObj + ": " + data;
    } catch (const RuntimeError& e) {
        logOnError("ISpec_Log_Log", e);
    }
}

void QX_FlowWiz::IuuidCollection_OnCountChanged(int32_t difference) {
    if (!mModel) return;
    try {
        auto& env = must(must(mModel->description()).environment());
        const Variant count = env.get("LOCAL_COMM");
        // The sum keeps the kind of number the counter holds: a fraction or a numeric text stays
        // a floating-point number; empty, a boolean or a whole number gives a whole number.
        if (count.kind() == Variant::Kind::Double || count.isText())
            env.put("LOCAL_COMM", Variant(count.toDouble() + difference));
        else
            env.put("LOCAL_COMM", Variant(static_cast<int64_t>(count.toDouble()) + difference));
    } catch (const RuntimeError& e) {
        logOnError("IUuidCollection_OnCountChanged", e);
    }
}

}  // namespace qx::view
