// What the frame may hand the view (a device object, a data model, nothing), how the view wires
// itself to the communication object and the models, how it re-binds, and how the binding
// fails.
#include "frame/SimDevice.h"
#include "view/BindingTestSupport.h"

namespace qx::view::test {
namespace {

using frame::DeviceOptions;
using frame::InitTarget;

class BindingTest : public StandTest {};

std::string onError(const std::string& operation, int32_t number, const std::string& description = {}) {
    const std::string message = platform::standardMessage(number);
    return operation + "(): ONERROR: Error " + std::to_string(number) + ": " + message + " (" +
           (description.empty() ? message : description) + ")";
}

bool registered(const std::vector<std::shared_ptr<host::IBase_CallbackModule>>& callbacks,
                const host::IBase_CallbackModule* callback) {
    for (const auto& c : callbacks)
        if (c.get() == callback) return true;
    return false;
}

TEST_F(BindingTest, DeviceObjectBringsCommunicationModelAndRegistrations) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device);
        EXPECT_EQ(v.mDevice, f.device());
        ASSERT_NE(v.mSpecComm, nullptr);
        EXPECT_EQ(v.mSpecComm, f.communication());
        EXPECT_EQ(v.mFrameModel, f.model());

        auto copy = applied(v);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->registeredView().get(), static_cast<host::Object*>(&v));
        EXPECT_EQ(environmentText(*copy, "CONTEXT_COMM"), "MONITOR");
        EXPECT_EQ(environmentText(*copy, "SRC"), "DEV");
        // The copy's environment values are the frame model's.
        EXPECT_EQ(environmentText(*f.model(), "SRC"), "DEV");

        // The view counts its pending jobs into the shared "LOCAL_COMM".
        EXPECT_EQ(v.mUuids->Callback(), &v);
        v.mUuids->Add("job-1");
        EXPECT_EQ(f.model()->description()->environment()->get("LOCAL_COMM").toInt32(), 1);
        v.mUuids->Remove("job-1");

        // Connection changes reach the view.
        v.mTeachActive = true;
        ASSERT_TRUE(v.mSpecComm->Connecting(true));
        f.wait(1000);
        EXPECT_TRUE(v.mSpecComm->IsConnected());
        EXPECT_FALSE(v.mTeachActive);
    });
}

TEST_F(BindingTest, DataModelBindsWithoutDeviceOrCommunication) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Model);
        EXPECT_EQ(v.mDevice, nullptr);
        EXPECT_EQ(v.mSpecComm, nullptr);
        EXPECT_EQ(v.mUuids->Callback(), nullptr);
        EXPECT_EQ(v.mFrameModel, f.model());
        ASSERT_NE(v.mModel, nullptr);
        EXPECT_NE(v.mModel, v.mFrameModel);
        EXPECT_EQ(nameOf(v.pSWPOINT), "SWPOINT");
        // A poll tick without a communication object does nothing, and logs nothing.
        v.Timer1_Timer();
        EXPECT_EQ(loggedContaining("Timer1_Timer"), 0);
    });
}

TEST_F(BindingTest, NothingOnAnUnboundViewChangesNothing) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        const std::string unitCaption = v.LaUnit1->caption();
        f.init(InitTarget::None);
        EXPECT_EQ(v.mModel, nullptr);
        EXPECT_EQ(v.mFrameModel, nullptr);
        EXPECT_EQ(v.mModule, "$$MODULE");
        EXPECT_EQ(v.mContext, "MONITOR");
        EXPECT_EQ(v.CoQTOffset->listCount(), 0);
        EXPECT_EQ(v.LaUnit1->caption(), unitCaption);

        // A new module name is taken, but without a model nothing is bound.
        f.init(InitTarget::None, "TEACH_FMX", "PARAMETER");
        EXPECT_EQ(v.mModule, "TEACH_FMX");
        EXPECT_EQ(v.mContext, "PARAMETER");
        EXPECT_EQ(v.mModel, nullptr);
        EXPECT_EQ(v.pSWPOINT, nullptr);
        EXPECT_EQ(v.CoQTOffset->listCount(), 0);
    });
}

TEST_F(BindingTest, SecondDeviceObjectOnlyBringsItsModel) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device);
        const auto firstComm = v.mSpecComm;

        DeviceOptions other;
        other.category = DeviceOptions::Category::Other;
        auto sim = std::make_shared<frame::FlowMonitorSim>(f.scheduler(), other);
        auto model = frame::createFrameModel(other);
        auto device = std::make_shared<frame::SimDevice>(f.scheduler(), sim, model);
        v.IQX_ActiveXConfig2_init(device, std::nullopt, std::nullopt, nullptr);

        EXPECT_EQ(v.mDevice, f.device());
        EXPECT_EQ(v.mSpecComm, firstComm);
        EXPECT_EQ(device->communication(), nullptr);
        EXPECT_EQ(v.mFrameModel, model);
        EXPECT_EQ(nameOf(v.pTEACH_MAX), "TEACH_MAX");
    });
}

TEST_F(BindingTest, FailingCommunicationIsLoggedAndTheModelStillBinds) {
    inFreshThread([&] {
        frame::StandFrame f;
        DeviceOptions o;
        o.commFails = true;
        f.setOptions(o);
        auto& v = f.create();
        f.init(InitTarget::Device);
        EXPECT_EQ(
            logged("Init_Data_Universal(): ERROR: when calling CreateCommunication(): Error 429: " +
                   platform::standardMessage(429) + " (The device's communication could not be created)"),
            1);
        EXPECT_EQ(v.mDevice, f.device());
        EXPECT_EQ(v.mSpecComm, nullptr);
        EXPECT_EQ(v.mUuids->Callback(), nullptr);
        EXPECT_EQ(nameOf(v.pSWPOINT), "SWPOINT");
        EXPECT_EQ(v.CoQTOffset->listCount(), 17);
        EXPECT_EQ(loggedContaining("ONERROR"), 0);
    });
}

// A device object whose "datamodel" cannot be read.
class DeviceWithoutModel : public host::IDevice {
  public:
    std::string className() const override { return "DeviceObject"; }
    host::CommunicationPtr CreateCommunication() override { return nullptr; }
    void ReleaseItem(const host::ObjectPtr&, int32_t) override {}
    host::DataModelPtr datamodel() const override { platform::raise(platform::kNotSupported); }
};

TEST_F(BindingTest, FailureOutsideTheModelBindingEndsTheCallWithItsLogLine) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        auto device = std::make_shared<DeviceWithoutModel>();
        v.IQX_ActiveXConfig2_init(device, std::nullopt, std::nullopt, nullptr);
        EXPECT_EQ(logged(onError("Init_Data_Universal", platform::kNotSupported)), 1);
        EXPECT_EQ(v.mDevice, device);
        EXPECT_EQ(v.mModel, nullptr);
    });
}

TEST_F(BindingTest, FailingRegistrationEndsTheBindingBeforeAnyParameter) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        auto resource = std::make_shared<ScriptedResource>();
        resource->failLanguage = true;
        v.mRes = resource;
        f.init(InitTarget::Device);
        EXPECT_EQ(logged(onError("Init_Data", platform::kInvalidProcedureCall)), 1);
        auto copy = applied(v);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(environmentText(*copy, "CONTEXT_COMM"), "MONITOR");
        EXPECT_EQ(environmentText(*copy, "SRC"), "");
        EXPECT_EQ(copy->registeredView(), nullptr);
        EXPECT_EQ(v.pSWPOINT, nullptr);
        EXPECT_EQ(v.CoQTOffset->listCount(), 0);
    });
}

TEST_F(BindingTest, FailedRebindingKeepsWhatWasBound) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device);
        const auto swpoint = v.pSWPOINT;
        auto resource = std::make_shared<ScriptedResource>();
        resource->failLanguage = true;
        v.mRes = resource;
        f.init(InitTarget::Device, std::nullopt, "PARAMETER");
        EXPECT_EQ(logged(onError("Init_Data", platform::kInvalidProcedureCall)), 1);
        EXPECT_EQ(v.pSWPOINT, swpoint);
        EXPECT_EQ(v.mContext, "PARAMETER");
        EXPECT_EQ(environmentText(*v.mModel, "CONTEXT_COMM"), "PARAMETER");
    });
}

TEST_F(BindingTest, ModelCombiningWorksOnTheFramesModel) {
    platform::registryStore().setDword(kControlsKey, "CombineModels", 42);
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device);
        EXPECT_EQ(v.mModel, f.model());
        EXPECT_EQ(v.mFrameModel, f.model());
        EXPECT_EQ(f.model()->registeredView().get(), static_cast<host::Object*>(&v));
        EXPECT_EQ(frame::asFrameParameter(v.pSWPOINT), frame::findParameter(*f.model(), "SWPOINT"));
        EXPECT_EQ(environmentText(*f.model(), "CONTEXT_COMM"), "MONITOR");
    });
}

TEST_F(BindingTest, RebindingToAnotherContextTellsTheOldOneAndForgetsThePollMode) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device, "TEACH_FMX", "MONITOR");
        const auto copy = applied(v);
        ASSERT_NE(copy, nullptr);
        v.mPollMode = 1;

        f.init(InitTarget::Device, "TEACH_FMX", "PARAMETER");
        EXPECT_EQ(copy->context("TEACH_FMX", "MONITOR")->notices(), 1);
        EXPECT_EQ(copy->context("TEACH_FMX", "MONITOR")->lastNotifier().get(),
                  static_cast<host::Object*>(&v));
        EXPECT_EQ(copy->context("TEACH_FMX", "PARAMETER")->notices(), 0);
        EXPECT_EQ(v.mPollMode, 0);
        EXPECT_EQ(v.mContext, "PARAMETER");
        EXPECT_EQ(environmentText(*copy, "CONTEXT_COMM"), "PARAMETER");
        // Same frame model: the applied copy stays, and the filter is registered with both.
        EXPECT_EQ(v.mModel, copy);
        EXPECT_TRUE(registered(copy->callbacks(), v.mFilter.get()));
        EXPECT_TRUE(registered(f.model()->callbacks(), v.mFilter.get()));

        // Another module in the same context keeps the poll mode.
        v.mPollMode = 2;
        f.init(InitTarget::Device, "PROIN_FMX", "PARAMETER");
        EXPECT_EQ(v.mPollMode, 2);
        EXPECT_EQ(v.mModule, "PROIN_FMX");
        EXPECT_EQ(copy->context("TEACH_FMX", "PARAMETER")->notices(), 1);
    });
}

TEST_F(BindingTest, RebindingWithoutModuleRegistersTheViewItself) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device);
        f.init(InitTarget::Device);
        EXPECT_TRUE(registered(applied(v)->callbacks(), static_cast<host::IBase_CallbackModule*>(&v)));
        EXPECT_TRUE(registered(f.model()->callbacks(), v.mFilter.get()));
    });
}

// Re-binding the same frame model brings its language into the applied copy.
TEST_F(BindingTest, RebindingTheSameModelTakesOverItsLanguage) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device);
        ASSERT_EQ(v.LaC1->caption(), "Temperature chart - ");
        f.model()->settings()->setLanguage(1031);
        f.init(InitTarget::Device);
        EXPECT_EQ(v.mModel->settings()->language(), 1031);
        EXPECT_EQ(v.LaC1->caption(), "Temperaturdiagramm - ");
    });
}

// A new frame model discards the old copy's values, makes a new copy, and every reference is
// looked up again: none may still point into the old copy.
TEST_F(BindingTest, RebindingToAnotherModelLooksEveryReferenceUpAgain) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device);
        const auto oldCopy = applied(v);
        ASSERT_EQ(nameOf(v.pTEACH_MAX), "TEACH_MAX_SAVE");
        ASSERT_EQ(v.mTeachMode, 0);

        DeviceOptions o;
        o.category = DeviceOptions::Category::Other;
        o.flowSp = frame::Presence::Missing;
        o.quickMode = frame::Presence::NoValue;
        o.swPoint = frame::Presence::Missing;
        auto model = frame::createFrameModel(o);
        v.IQX_ActiveXConfig2_init(model, std::nullopt, std::nullopt, nullptr);

        EXPECT_EQ(oldCopy->frameDescription()->frameSettings()->resetCount(), 1);
        EXPECT_EQ(v.mFrameModel, model);
        ASSERT_NE(v.mModel, nullptr);
        EXPECT_NE(v.mModel, oldCopy);
        EXPECT_NE(v.mModel, model);
        EXPECT_EQ(environmentText(*model, "SRC"), "DEV");
        EXPECT_EQ(nameOf(v.pTEACH_MAX), "TEACH_MAX");
        EXPECT_EQ(nameOf(v.pTEACH_MIN), "TEACH_MIN");
        EXPECT_EQ(frame::asFrameParameter(v.pTEACH_MAX), frame::findParameter(*v.mModel, "TEACH_MAX"));
        EXPECT_EQ(frame::asFrameParameter(v.pSWPOINT), frame::findParameter(*v.mModel, "SWPOINT"));
        EXPECT_EQ(v.pFLOWSP_RAW, nullptr);
        EXPECT_EQ(v.pTEACHDO_SWPOINT, nullptr);
        EXPECT_EQ(v.pTEACHDO_QUICK_MODE, nullptr);
        EXPECT_EQ(v.mTeachMode, 2);
        EXPECT_FALSE(v.FrameFL->visible());
        EXPECT_EQ(v.LaLeSP->caption(), "");
        EXPECT_EQ(v.LabeTMax->caption(), "Maximum flow");
        // Once shown, the quick-teach button is never withdrawn by a binding.
        EXPECT_TRUE(v.mQuickButtonVisible);
    });
}

}  // namespace
}  // namespace qx::view::test
