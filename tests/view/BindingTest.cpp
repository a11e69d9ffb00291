// Binding the view to what the frame hands it: which parameters each device variant brings,
// which copy of the model they live in, the sliders, captions and tolerance list set from them,
// re-binding, and how the binding fails.
#include <algorithm>
#include <fstream>
#include <sstream>

#include "frame/FrameModelFactory.h"
#include "frame/ParameterLookup.h"
#include "frame/ParameterSlider.h"
#include "frame/SimDevice.h"
#include "view/ViewChildren.h"
#include "view/ViewStand.h"

namespace qx::view::test {
namespace {

class BindingTest : public ViewTest {};

std::shared_ptr<frame::FrameDataModel> applied(const QX_FlowWiz& v) {
    return std::dynamic_pointer_cast<frame::FrameDataModel>(v.frame().mModel);
}
bool registered(const frame::FrameDataModel& model, const host::IBase_CallbackModule* callback) {
    return std::ranges::any_of(model.callbacks(), [&](const auto& c) { return c.get() == callback; });
}
frame::ParameterSlider& sliderOf(const SliderRef& ref) {
    return dynamic_cast<frame::ParameterSlider&>(*ref.object);
}

// The thirteen references in the order of the binding table.
std::vector<host::ParameterPtr> references(const QX_FlowWiz& v) {
    std::vector<host::ParameterPtr> out;
    for (const auto& [name, member] : device::ParameterRefs::byName()) out.push_back(v.refs().*member);
    return out;
}

// Each variant binds what the device has and nothing else; captions from a parameter the device
// lacks stay as they were. The bus-category variants are the console scenarios'.
TEST_F(BindingTest, EachDeviceVariantBindsWhatItHas) {
    struct Case {
        const char* label;
        std::function<void(DeviceOptions&)> options;
        std::set<size_t> missing;  // indices into the binding table
        int16_t teachMode;         // 0 also shows the quick-teach button
        bool switchPointSettable;
    };
    const std::vector<Case> cases = {
        {"full device", [](auto&) {}, {}, 0, true},
        {"quick mode missing", [](auto& o) { o.quickMode = Presence::Missing; }, {9}, 2, true},
        // Bound but without value: the reference stays, the switch point cannot be set.
        {"switch point without value", [](auto& o) { o.swPoint = Presence::NoValue; }, {}, 0, false},
        {"set point missing", [](auto& o) { o.flowSp = Presence::Missing; }, {11}, 0, true},
        {"quick set point missing", [](auto& o) { o.flowSpQt = Presence::Missing; }, {12}, 0, true},
        {"teach limits missing", [](auto& o) { o.teachPresent = false; }, {7, 8}, 0, true},
    };
    const std::vector<std::string> names = {
        "QUICK_2",         "PROINFLOW_RAW", "DELTAFLOW_NEW",  "PROINTEMP",      "SWPOINT",
        "TEACHDO_SWPOINT", "DELTAFLOW_RAW", "TEACH_MAX_SAVE", "TEACH_MIN_SAVE", "TEACHDO_QUICK_MODE",
        "TEACHDO_QUICK",   "FLOWSP_RAW",    "FLOWSPQT_RAW"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        frame::StandFrame f;
        f.setOptions(with(c.options, neutral()));
        auto& v = f.create();
        childLabel(v, "LabeTMax")->setCaption("before");
        f.init(InitTarget::Device);
        std::vector<std::string> bound, expected = names;
        for (const auto& p : references(v)) bound.push_back(nameOf(p));
        for (size_t i : c.missing) expected[i] = "<none>";
        EXPECT_EQ(bound, expected);
        EXPECT_EQ(wizard::number(v.progress().mTeachMode), c.teachMode);
        EXPECT_EQ(v.progress().mQuickButtonVisible, c.teachMode == 0);
        EXPECT_EQ(v.progress().mSwitchPointSettable, c.switchPointSettable);
        EXPECT_EQ(childFrame(v, "FrameFL")->visible(), c.switchPointSettable);
        EXPECT_EQ(childLabel(v, "LabeTMax")->caption(), c.missing.count(7) ? "before" : "TEACH_MAX_SAVE");
        EXPECT_EQ(childMyLabel(v, "LaLeSP")->caption(), c.missing.count(11) ? "" : "FLOWSP_RAW, ");
    }
}

// The device object brings the communication object, whose callbacks reach the view; every
// reference points into the view's own copy, registered with the view, never into the frame's.
TEST_F(BindingTest, DeviceObjectBindsTheViewsOwnCopy) {
    frame::StandFrame f;
    auto& v = f.create();
    f.init(InitTarget::Device);
    EXPECT_EQ(v.jobs().pending()->Callback(), &v);
    auto copy = applied(v);
    ASSERT_NE(copy, f.model());
    EXPECT_EQ(copy->registeredView().get(), static_cast<host::Object*>(&v));
    for (const auto& p : references(v))
        EXPECT_EQ(frame::asFrameParameter(p), frame::findParameter(*copy, p->name())) << p->name();
    ViewTestSeam::progress(v).mTeachActive = true;
    ASSERT_TRUE(v.frame().mSpecComm->Connecting(true));
    f.wait(1000);
    EXPECT_FALSE(v.progress().mTeachActive);  // the status change reached the view

    // With model combining on, the view works on the frame's own model.
    platform::registryStore().setDword(kControlsKey, "CombineModels", 42);
    inFreshThread([] {
        frame::StandFrame combined;
        auto& w = combined.create();
        combined.init(InitTarget::Device);
        EXPECT_EQ(w.frame().mModel, combined.model());
        EXPECT_EQ(combined.model()->registeredView().get(), static_cast<host::Object*>(&w));
        EXPECT_EQ(frame::asFrameParameter(w.refs().SWPOINT),
                  frame::findParameter(*combined.model(), "SWPOINT"));
    });
}

// A second device object only brings its model: the first device and communication object stay.
// The new frame model discards the old copy's values, makes a new copy and every reference is
// looked up again; the chart and wizard state start afresh at every binding, and the tolerance
// list is the one of the new firmware (1 has its own list, every other version the older one).
TEST_F(BindingTest, SecondDeviceObjectBringsItsModelAndTheViewStartsAfresh) {
    frame::StandFrame f;
    auto& v = f.create();
    f.init(InitTarget::Device);
    const auto firstComm = v.frame().mSpecComm;
    const auto oldCopy = applied(v);
    auto& trend = ViewTestSeam::trend(v);
    trend.flow.range.max = trend.temp.range.max = trend.flow.saved.max = trend.temp.saved.max = 500;
    trend.flow.range.min = trend.temp.range.min = trend.flow.saved.min = trend.temp.saved.min = 100;
    ViewTestSeam::progress(v).mSwitchPointFlow = 321;
    ViewTestSeam::progress(v).mRefreshSwitchInputs = false;
    ViewTestSeam::trend(v).startTrendAt(36000), ViewTestSeam::trend(v).startWindowAt(36000);
    auto list = [&] {
        std::vector<std::string> out;
        for (int32_t i = 0; i < childComboBox(v, "CoQTOffset")->listCount(); ++i)
            out.push_back(childComboBox(v, "CoQTOffset")->list(i));
        return out;
    };
    EXPECT_EQ(list(), (std::vector<std::string>{" 4,0 %", " 3,5 %", " 3,0 %", " 2,5 %", " 2,0 %", " 1,5 %",
                                                " 1,0 %", " 0,5 %", " 0 %", "-0,5 %", "-1,0 %", "-1,5 %",
                                                "-2,0 %", "-2,5 %", "-3,0 %", "-3,5 %", "-4,0 %"}));
    EXPECT_EQ(childComboBox(v, "CoQTOffset")->listIndex(), 8);

    const auto other = with([](auto& o) {
        o.category = DeviceOptions::Category::Other, o.quickMode = Presence::Missing, o.fw = 2;
    });
    auto model = frame::createFrameModel(other);
    auto device = std::make_shared<frame::SimDevice>(
        f.scheduler(), std::make_shared<frame::FlowMonitorSim>(f.scheduler(), other), model);
    v.IQX_ActiveXConfig2_init(device, std::nullopt, std::nullopt, nullptr);
    EXPECT_EQ(v.frame().mDevice, f.device());
    EXPECT_EQ(v.frame().mSpecComm, firstComm);
    EXPECT_EQ(device->communication(), nullptr);
    EXPECT_EQ(v.frame().mFrameModel, model);
    EXPECT_EQ(oldCopy->frameDescription()->frameSettings()->resetCount(), 1);
    EXPECT_NE(v.frame().mModel, oldCopy);
    EXPECT_NE(v.frame().mModel, model);
    EXPECT_EQ(environmentValue(*model, "SRC").toText(), "DEV");
    for (const auto& p : references(v)) {
        if (!p) continue;
        EXPECT_EQ(frame::asFrameParameter(p), frame::findParameter(*v.frame().mModel, p->name()))
            << p->name();
    }
    EXPECT_EQ(nameOf(v.refs().TEACH_MAX), "TEACH_MAX");
    EXPECT_EQ(v.refs().TEACHDO_QUICK_MODE, nullptr);
    EXPECT_TRUE(v.progress().mQuickButtonVisible);  // once shown, never withdrawn by a binding
    for (int32_t max : {v.trend().flow.range.max, v.trend().temp.range.max, v.trend().flow.saved.max,
                        v.trend().temp.saved.max})
        EXPECT_EQ(max, -2000);
    for (int32_t min : {v.trend().flow.range.min, v.trend().temp.range.min, v.trend().flow.saved.min,
                        v.trend().temp.saved.min})
        EXPECT_EQ(min, 2000);
    EXPECT_EQ(v.trend().axisStep(), 10);
    EXPECT_EQ(v.progress().mSwitchPointFlow, -1);
    EXPECT_TRUE(v.progress().mRefreshSwitchInputs);
    EXPECT_FALSE(v.trend().trendStart() || v.trend().teachStartTime());
    EXPECT_EQ(list(), (std::vector<std::string>{" 6,0 %", " 4,5 %", " 3,0 %", " 1,5 %", " 0 %", "-1,5 %",
                                                "-3,0 %", "-4,5 %"}));
    EXPECT_EQ(childComboBox(v, "CoQTOffset")->listIndex(), 4);
    EXPECT_EQ(childComboBox(v, "CoQTOffset")->text(), " 0 %");
}

// Re-binding the same model takes over its language and hands the callbacks to both models again
// (the view itself while it has no module); another context hears that the view leaves the old
// one, and the poll mode is forgotten.
TEST_F(BindingTest, RebindingHandsTheCallbacksOverAgain) {
    frame::StandFrame f;
    auto& v = f.create();
    f.init(InitTarget::Device);
    ASSERT_EQ(childLabel(v, "LaC1")->caption(), "Temperature chart - ");
    f.model()->settings()->setLanguage(1031);
    f.init(InitTarget::Device);
    EXPECT_EQ(childMyLabel(v, "LaLeDF")->caption(), "Mediumtemperatur");
    EXPECT_EQ(ViewTestSeam::lookUpText(v, "IDS_TCANCEL"), "Abbrechen");  // later look-ups too
    EXPECT_TRUE(registered(*applied(v), &v));
    EXPECT_TRUE(registered(*f.model(), v.binding().mFilter.get()));

    f.init(InitTarget::Device, "TEACH_FMX", "MONITOR");
    const auto copy = applied(v);
    ViewTestSeam::leavePollButton(v, 1);
    f.init(InitTarget::Device, "TEACH_FMX", "PARAMETER");
    EXPECT_EQ(copy->context("TEACH_FMX", "MONITOR")->notices(), 1);
    EXPECT_EQ(copy->context("TEACH_FMX", "MONITOR")->lastNotifier().get(), static_cast<host::Object*>(&v));
    EXPECT_EQ(pollMode(v), 0);
    EXPECT_EQ(environmentValue(*copy, "CONTEXT_COMM").toText(), "PARAMETER");
    EXPECT_EQ(v.frame().mModel, copy);  // the same frame model keeps its copy
    EXPECT_TRUE(registered(*copy, v.binding().mFilter.get()));
    ViewTestSeam::leavePollButton(v, 2);
    f.init(InitTarget::Device, "PROIN_FMX", "PARAMETER");  // same context: the mode stays
    EXPECT_EQ(pollMode(v), 2);
    EXPECT_EQ(copy->context("TEACH_FMX", "PARAMETER")->notices(), 1);
}

// In the neutral language each caption shows the key it was looked up by, or the name of the
// parameter it was taken from; each legend shares its colour with the chart line it names.
TEST_F(BindingTest, CaptionsAndLegendColours) {
    frame::StandFrame f;
    f.setOptions(neutral());
    auto& v = f.create();
    f.init(InitTarget::Device);
    // clang-format off
    const std::map<std::string, std::string> captions = {
        {"LaC1", "IDS_Temperaturdiagramm - "}, {"LaC2", "IDS_Stroemungsdiagramm - "}, {"LaLeDF", "PROINTEMP"},
        {"LaLeTS", "SWPOINT, "}, {"LaLeFS", "PROINFLOW_RAW"}, {"LaSp", ""}, {"LabelTMin", "TEACH_MIN_SAVE"},
        {"LaUnit1", "[Bit]"}, {"LaUnit2", "[°C]"}, {"LaTime", ""}, {"FrameTP", "SWPOINT"},
        {"FrameFL", "TEACHDO_SWPOINT"}, {"FrameQT", "TEACHDO_QUICK"}, {"LabelTQuick", "IDS_FWZ_QTV"},
        {"FrameTeach", "IDS_FWZ_TEACH_PROC"}, {"FrameTeachOption", "IDS_FWZ_TEACH_OPT"},
        {"ComSetPara", "IDS_FWZ_SET"}, {"ComSetFL", "IDS_FWZ_SET"}, {"ComSetQT", "IDS_FWZ_SET"},
        {"ComTMax", "IDS_TMax"}, {"ComTMin", "IDS_TMin"}, {"ComTQuick", "IDS_TQuick"},
        {"ComTeachMaxMin", "IDS_TMAX_MIN"}, {"ComteachQuick", "IDS_TSQUICK"}, {"ComTeachCancel", "IDS_TCANCEL"},
        {"ComSetTeach", "IDS_SET_MANUAL"}};
    // clang-format on
    for (const auto& [control, text] : captions)
        EXPECT_EQ(v.Controls().find(control)->getProperty("Caption").toText(), text) << control;
    EXPECT_FALSE(childFrame(v, "FrameTeachOption")->enabled());
    // clang-format off
    const std::map<uint32_t, std::vector<display::MyLabel*>> colours = {
        {0x288C96, {childMyLabel(v, "LaLeDF").get(), childMyLabel(v, "LaDF").get()}}, {0x0000FF, {childMyLabel(v, "LaLeTS").get(), childMyLabel(v, "LaTS").get()}},
        {0xFF0000, {childMyLabel(v, "LaLeSP").get(), childMyLabel(v, "LaSp").get()}}, {0xEF29ED, {childMyLabel(v, "LaLeFS").get(), childMyLabel(v, "LaFS").get()}}};
    // clang-format on
    for (const auto& [colour, labels] : colours)
        for (auto* label : labels) EXPECT_EQ(label->foreColor(), colour) << label->name();
}

// The flow slider starts at 0 even where the parameter's own minimum is higher, so that a value
// below that minimum is not cut off.
TEST_F(BindingTest, SlidersTakeUnitAndStepFromTheirParametersAndFlowStartsAtZero) {
    std::stringstream text;
    text << std::ifstream(frame::flowMonitorDescriptionPath()).rdbuf();
    std::string json = text.str();
    const auto minimum = json.find("\"minimum\": 0", json.find("\"name\": \"TEACHDO_SWPOINT\""));
    const std::string path = testing::TempDir() + "flowmonitor-min20.json";
    std::ofstream(path) << json.replace(minimum, 12, "\"minimum\": 20");
    frame::StandFrame f;
    auto& v = f.create();
    auto model = frame::createFrameModel({}, path);
    ASSERT_EQ(frame::findParameter(*model, "TEACHDO_SWPOINT")->minimum().toDouble(), 20);
    v.IQX_ActiveXConfig2_init(model, std::nullopt, std::nullopt, nullptr);
    EXPECT_EQ(sliderOf(v.frame().mSliderFL).minimum(), 0);
    for (const auto& [slider, unit] : {std::pair{&v.frame().mSliderFL, "%"}, {&v.frame().mSliderTP, "°C"}}) {
        EXPECT_EQ(sliderOf(*slider).getProperty("unit").toText(), unit);
        EXPECT_EQ(sliderOf(*slider).getProperty("Step").toDouble(), 1);
    }
}

// A failing communication is logged with its own text and the model still binds.
TEST_F(BindingTest, FailingCommunicationIsLoggedAndTheModelStillBinds) {
    frame::StandFrame f;
    f.setOptions(with([](auto& o) { o.commFails = true; }));
    auto& v = f.create();
    f.init(InitTarget::Device);
    EXPECT_EQ(logged("Init_Data_Universal(): ERROR: when calling CreateCommunication(): Error 429: " +
                     platform::standardMessage(429) + " (The device's communication could not be created)"),
              1);
    EXPECT_EQ(v.jobs().pending()->Callback(), nullptr);
    EXPECT_EQ(childComboBox(v, "CoQTOffset")->listCount(), 17);
}

// A device object whose "datamodel" cannot be read.
class DeviceWithoutModel : public host::IDevice {
  public:
    std::string className() const override { return "DeviceObject"; }
    host::CommunicationPtr CreateCommunication() override { return nullptr; }
    void ReleaseItem(const host::ObjectPtr&, int32_t) override {}
    host::DataModelPtr datamodel() const override { platform::raise(platform::kNotSupported); }
};

TEST_F(BindingTest, UnreadableModelEndsTheBindingWithItsLogLine) {
    frame::StandFrame f;
    auto& v = f.create();
    auto device = std::make_shared<DeviceWithoutModel>();
    v.IQX_ActiveXConfig2_init(device, std::nullopt, std::nullopt, nullptr);
    EXPECT_EQ(logged(onError("Init_Data_Universal", platform::kNotSupported)), 1);
    EXPECT_EQ(v.frame().mDevice, device);
    EXPECT_EQ(v.frame().mModel, nullptr);
}

// A failing registration step ends Init_Data before any parameter; on a re-binding what was
// bound before stays bound.
TEST_F(BindingTest, FailingRegistrationEndsTheBinding) {
    for (bool rebinding : {false, true}) {
        clearLog();
        SCOPED_TRACE(rebinding ? "re-binding" : "first binding");
        frame::StandFrame f;
        auto& v = f.create();
        if (rebinding) f.init(InitTarget::Device);
        const auto swpoint = v.refs().SWPOINT;
        auto resource = std::make_shared<ScriptedResource>();
        resource->failLanguage = true;
        ViewTestSeam::frame(v).mRes = resource;
        f.init(InitTarget::Device, std::nullopt, "PARAMETER");
        EXPECT_EQ(logged(onError("Init_Data", platform::kInvalidProcedureCall)), 1);
        EXPECT_EQ(v.refs().SWPOINT, swpoint);
        EXPECT_EQ(environmentValue(*v.frame().mModel, "CONTEXT_COMM").toText(), "PARAMETER");
        EXPECT_EQ(environmentValue(*v.frame().mModel, "SRC").toText(), rebinding ? "DEV" : "");
        EXPECT_EQ(applied(v)->registeredView() != nullptr, rebinding);
    }
}

}  // namespace
}  // namespace qx::view::test
