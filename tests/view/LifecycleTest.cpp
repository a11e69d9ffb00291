// The view's life outside the device: creation and where it stops on a failure, the poll
// interval, binding by the frame, the small frame callbacks, the frame's log messages and
// environment notices, the shared job counter "LOCAL_COMM", destruction, and the frame's
// refusal of its calls while it hosts no view.
#include <regex>
#include <stdexcept>

#include "frame/ParameterSlider.h"
#include "view/ViewChildren.h"
#include "view/ViewStand.h"

namespace qx::view::test {
namespace {

class LifecycleTest : public ViewTest {};

TEST_F(LifecycleTest, CreationSetsUpEverythingTheViewOwns) {
    frame::StandFrame f;
    auto& v = f.create();
    // Only the creation and the two charts log; nothing fails on the way.
    EXPECT_EQ(messages(), (std::vector<std::string>{"UserControl_Initialize():", "CreateChart()Start",
                                                    "CreateChart()Start"}));
    EXPECT_EQ(childTimer(v, "Timer1")->tag(), "0");
    EXPECT_TRUE(v.trend().resetTimeBase());
    ASSERT_TRUE(v.binding().mFilter && v.jobs().commands() && v.jobs().pending() && v.jobs().early() &&
                v.trend().flow.object && v.trend().temp.object);
    for (const auto& [slider, frame] : {std::pair{&v.frame().mSliderFL, childFrame(v, "FrameFL").get()},
                                        {&v.frame().mSliderTP, childFrame(v, "FrameTP").get()}}) {
        EXPECT_EQ(slider->control->container(), frame);
        EXPECT_EQ(slider->object->getProperty("FixFormat").toText(), "#0");
        EXPECT_EQ(dynamic_cast<frame::ParameterSlider&>(*slider->object).displayStyle(), "ShowVal");
    }
}

// Each failing step ends the creation there: what the steps before set stays, nothing after runs,
// and one line names the step, the description and the source line.
TEST_F(LifecycleTest, CreationFailureIsLoggedWithItsStepAndEndsTheCreation) {
    struct Case {
        const char* label;
        const char* pollCycle;  // a registry text, or none
        const char* progId;     // a component that fails, or none
        std::string step;
        int32_t error;
        bool collections, sliders;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"poll cycle text", "fast", nullptr, "get Pollcycle from registry", platform::kTypeMismatch, true, true},
        {"poll cycle beyond 32 bits", "99999999999", nullptr, "get Pollcycle from registry", platform::kOverflow, true, true},
        {"empty poll cycle", "", nullptr, "get Pollcycle from registry", platform::kTypeMismatch, true, true},
        // The charts come before the first step label.
        {"chart component missing", nullptr, platform::kChartProgId, "", platform::kObjectNotSet, false, false},
        {"slider component missing", nullptr, host::kSliderProgId, "create Uuid-Collections", platform::kCannotCreateObject, true, false},
    };
    // clang-format on
    const std::regex failureLine(R"(:UserControl_Initialize\(\)\(step=(.*)\)\(ERROR=(.*)\) line:([0-9]+))");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        platform::registryStore().clear();
        if (c.pollCycle) platform::registryStore().setText(kDtmKey, "PollCycle", c.pollCycle);
        clearLog();
        frame::StandFrame f;
        if (c.progId)
            f.factories().add(c.progId, []() -> std::shared_ptr<platform::PropertyObject> {
                platform::raise(platform::kCannotCreateObject);
            });
        auto& v = f.create();
        const LogEntry last = entries().back();                // the creation's own last line
        EXPECT_NE(childLamps(v)->lampCount(), 10);             // "initialize grid" never ran
        EXPECT_EQ(childTimer(v, "Timer1")->interval(), 1000);  // the design-time interval
        EXPECT_NE(v.binding().mFilter, nullptr);
        EXPECT_EQ(v.jobs().pending() != nullptr, c.collections);
        EXPECT_EQ(static_cast<bool>(v.frame().mSliderTP), c.sliders);
        EXPECT_EQ(logged(":UserControl_Initialize()", false), 1);
        std::smatch m;
        ASSERT_TRUE(std::regex_match(last.message, m, failureLine)) << last.message;
        EXPECT_EQ(m[1].str(), c.step);
        EXPECT_EQ(m[2].str(), platform::standardMessage(c.error));
        EXPECT_GT(std::stoi(m[3].str()), 0);
        EXPECT_EQ(last.line, std::stoi(m[3].str()));  // the header names the same line
    }
}

// "PollCycle" outside 1..30000, or missing, gives 1000 ms; a text that reads as a number is
// taken as that number, halves rounding to even.
TEST_F(LifecycleTest, PollIntervalComesFromTheRegistry) {
    const std::vector<std::pair<platform::Variant, int32_t>> cases = {
        {{}, 1000},    {1, 1},           {30000, 30000},   {30001, 1000},    {0, 1000},
        {-5, 1000},    {" 2500 ", 2500}, {"2500.5", 2500}, {"2501.5", 2502}, {"30000.5", 30000},
        {"0.4", 1000}, {"-7", 1000}};
    for (const auto& [value, interval] : cases) {
        platform::registryStore().clear();
        if (value.isText()) platform::registryStore().setText(kDtmKey, "PollCycle", value.toText());
        if (value.isNumber())
            platform::registryStore().setDword(kDtmKey, "PollCycle", uint32_t(value.toInt32()));
        SCOPED_TRACE(value.toText());
        frame::StandFrame f;
        EXPECT_EQ(childTimer(f.create(), "Timer1")->interval(), interval);
    }
}

// Init logs its arguments and keeps the earlier message handler when given none; the frame's
// small calls give their fixed answers and keep only the latest receiver.
TEST_F(LifecycleTest, FrameCallsLogKeepAndAnswer) {
    frame::StandFrame f;
    auto& v = f.create();
    f.init(InitTarget::Device);
    EXPECT_EQ(logged("IQX_ActiveXConfig2_Init(obj, , )"), 1);
    EXPECT_EQ(v.IQX_ActiveXApp_GetAppliedDataModel(), v.frame().mModel);
    f.init(InitTarget::Device, "TEACH_FMX", "PARAMETER", false);
    EXPECT_EQ(logged("IQX_ActiveXConfig2_Init(obj, TEACH_FMX, PARAMETER)"), 1);
    EXPECT_EQ(v.frame().mMessageHandler, f.messageHandler());

    EXPECT_TRUE(v.IQX_ActiveXApp_RegisterCallback(f.receiver()));
    EXPECT_TRUE(v.IQX_ActiveXApp_RegisterCallback(nullptr));
    EXPECT_EQ(v.frame().mReceiver, nullptr);
    EXPECT_FALSE(v.IQX_ActiveXApp_SetActionArea(f.model()));
}

// Only the frame's own model, with the exact key and a value, announces a change; before any
// binding the frame's model is none, so a notice about none fails on the missing model.
TEST_F(LifecycleTest, OnlyTheFramesOwnModelAnnouncesAnEnvironmentChange) {
    frame::StandFrame f;
    auto& v = f.create();
    f.makeModel();
    clearLog();
    v.IBase_CallbackModule_OnEnvironmentChanged(f.model(), "GLB_ENV_CHANGED", "OPERATOR");
    v.IBase_CallbackModule_OnEnvironmentChanged(nullptr, "GLB_ENV_CHANGED", "OPERATOR");
    EXPECT_EQ(messages(), std::vector<std::string>{
                              onError("IBase_CallbackModule_OnEnvironmentChanged", platform::kObjectNotSet)});

    f.init(InitTarget::Device);
    auto applied = std::dynamic_pointer_cast<frame::FrameDataModel>(v.frame().mModel);
    auto notices = [&] { return applied->frameDescription()->environmentNotices(); };
    // clang-format off
    for (const auto& [m, key, value] : std::vector<std::tuple<host::ObjectPtr, std::string, platform::Variant>>{
             {applied, "GLB_ENV_CHANGED", "OPERATOR"}, {nullptr, "GLB_ENV_CHANGED", "OPERATOR"},
             {f.model(), "glb_env_changed", "OPERATOR"}, {f.model(), "GLB_ENV_CHANGED", ""}, {f.model(), "GLB_ENV_CHANGED", {}}})
        v.IBase_CallbackModule_OnEnvironmentChanged(m, key, value);
    // clang-format on
    EXPECT_EQ(notices(), 0);
    v.IBase_CallbackModule_OnEnvironmentChanged(f.model(), "GLB_ENV_CHANGED", 5);  // named by its text
    EXPECT_EQ(notices(), 1);
}

// A log message of kind "MESSAGE" (exactly) becomes the details of the next detailed message
// only; without a message handler the hand-over fails and the details wait.
TEST_F(LifecycleTest, LogMessageBecomesTheNextDetailsOnly) {
    frame::StandFrame f;
    auto& v = f.create();
    f.init(InitTarget::Device, std::nullopt, std::nullopt, false);
    clearLog();
    v.ISpec_Log_Log("MESSAGE", "A", "B", platform::Variant(7));
    EXPECT_EQ(messages(), std::vector<std::string>{"ISpec_Log_Log() DataObj=A, data=B"});
    for (const char* kind : {"Message", "MESSAGE ", ""}) v.ISpec_Log_Log(kind, "C", "D", {});
    EXPECT_EQ(v.frame().mMessageDetails, "A: B");
    EXPECT_THROW(ViewTestSeam::reportMessageWithDetails(v, "T", "C"), platform::RuntimeError);
    EXPECT_THROW(ViewTestSeam::reportMessage(v, "T", "C"), platform::RuntimeError);
    EXPECT_EQ(v.frame().mMessageDetails, "A: B");

    f.init(InitTarget::Device);
    ViewTestSeam::reportMessageWithDetails(v, "T", "C");
    ViewTestSeam::reportMessageWithDetails(v, "U", "C");
    const auto& shown = f.messageHandler()->shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "T\r\nDetails:A: B");
    EXPECT_EQ(shown[1].text, "U");
}

// The view only adds the differences of its own job count to the shared counter, in the kind of
// number the counter holds; a counter that is no number is logged and left alone.
TEST_F(LifecycleTest, LocalCommFollowsTheJobCountInTheCountersKindOfNumber) {
    using Kind = platform::Variant::Kind;
    // clang-format off
    for (const auto& [start, kind, after] : std::vector<std::tuple<platform::Variant, Kind, double>>{
             {{}, Kind::Integer, 1}, {2.5, Kind::Double, 3.5}, {"5", Kind::Double, 6}, {"many", Kind::Text, 0}}) {
        // clang-format on
        SCOPED_TRACE(start.toText());
        frame::StandFrame f;
        auto& v = f.create();
        v.IuuidCollection_OnCountChanged(1);  // no model: nothing to count in
        f.init(InitTarget::Device);
        auto& env = *f.model()->description()->environment();
        env.put("LOCAL_COMM", start);
        clearLog();
        ViewTestSeam::jobs(v).track("a");
        ViewTestSeam::jobs(v).track("b");
        ViewTestSeam::jobs(v).track("b");  // already held: no change
        ViewTestSeam::jobs(v).settle("a");
        ViewTestSeam::jobs(v).settle("a");  // no longer held: no change
        const auto value = env.get("LOCAL_COMM");
        EXPECT_EQ(value.kind(), kind);  // two jobs added, one removed
        EXPECT_TRUE(environmentValue(*v.frame().mModel, "LOCAL_COMM").equals(value));  // shared with the copy
        if (kind != Kind::Text) {
            EXPECT_EQ(value.toDouble(), after);
        }
        EXPECT_EQ(logged(onError("IUuidCollection_OnCountChanged", platform::kTypeMismatch)),
                  kind == Kind::Text ? 3 : 0);
    }
}

// A view destroyed with jobs still pending takes its share of the counter back.
TEST_F(LifecycleTest, TerminateOnlyLogsAndGivesBackThePendingJobs) {
    BoundStand s(with([](auto& o) { o.localComm = 3; }));
    s.startPolling();
    s.f.link().latencyMs = 10'000;
    ViewTestSeam::readValuesOnce(*s.view);
    ViewTestSeam::readValuesOnce(*s.view);
    EXPECT_EQ(environmentValue(*s.f.model(), "LOCAL_COMM").toInt32(), 5);
    clearLog();
    s.f.terminate();
    EXPECT_EQ(messages(), std::vector<std::string>{"UserControl_Terminate()"});
    EXPECT_EQ(environmentValue(*s.f.model(), "LOCAL_COMM").toInt32(), 3);
    s.f.wait(20'000);  // the answers find no view
    EXPECT_EQ(environmentValue(*s.f.model(), "LOCAL_COMM").toInt32(), 3);
}

// The frame's calls need a view it hosts: before create and after terminate each is refused as a
// misuse before it touches anything (no model is made), and a second create, even after a
// terminate, never replaces the view the container sited.
TEST_F(LifecycleTest, FrameCallsWithoutAHostedViewAreRefused) {
    using Call = std::function<void(frame::StandFrame&)>;
    const std::vector<std::pair<const char*, Call>> calls = {
        {"init", [](frame::StandFrame& f) { f.init(frame::InitTarget::Device); }},
        {"toolbar", [](frame::StandFrame& f) { f.setToolbar(); }},
        {"register", [](frame::StandFrame& f) { f.registerCallback(); }},
        {"press", [](frame::StandFrame& f) { f.press("Edit"); }},
        {"release", [](frame::StandFrame& f) { f.release(); }},
        {"environment", [](frame::StandFrame& f) { f.notifyEnvironmentChanged("STATE"); }},
        {"view", [](frame::StandFrame& f) { f.view(); }},
        {"terminate", [](frame::StandFrame& f) { f.terminate(); }},
    };
    for (bool terminated : {false, true}) {
        for (const auto& [label, call] : calls) {
            SCOPED_TRACE(std::string(label) + (terminated ? " after terminate" : " before create"));
            frame::StandFrame f;
            if (terminated) {
                f.create();
                f.terminate();
            }
            EXPECT_THROW(call(f), std::logic_error);
            EXPECT_FALSE(f.hasView());
            EXPECT_EQ(f.viewPtr(), nullptr);
            EXPECT_EQ(f.model(), nullptr);
        }
    }
    frame::StandFrame f;
    auto& first = f.create();
    EXPECT_THROW(f.create(), std::logic_error);
    EXPECT_EQ(&f.view(), &first);
    f.terminate();
    EXPECT_THROW(f.create(), std::logic_error);
    EXPECT_FALSE(f.hasView());
}

}  // namespace
}  // namespace qx::view::test
