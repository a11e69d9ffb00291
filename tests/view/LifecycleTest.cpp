// The view's life outside the device: creation and where it stops on a failure, binding by the
// frame, the small frame callbacks, the frame's log messages and environment notices, and the
// shared job counter "LOCAL_COMM".
#include <regex>

#include "frame/ParameterSlider.h"
#include "view/ViewStand.h"

namespace qx::view::test {
namespace {

using frame::InitTarget;

class LifecycleTest : public ViewStandTest {};

TEST_F(LifecycleTest, CreationSetsUpEverythingTheViewOwns) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        // Only the creation and the two charts log; nothing fails on the way.
        EXPECT_EQ(messages(), (std::vector<std::string>{"UserControl_Initialize():", "CreateChart()Start",
                                                        "CreateChart()Start"}));
        EXPECT_EQ(v.Timer1->tag(), "0");
        EXPECT_EQ(v.mModule, "$$MODULE");
        EXPECT_EQ(v.mContext, "MONITOR");
        EXPECT_TRUE(v.mResetTimeBase);
        ASSERT_TRUE(v.mFilter && v.mFifo && v.mUuids && v.mUuids2);
        EXPECT_EQ(v.mUuids->Callback(), nullptr);  // the view becomes its callback at binding
        EXPECT_TRUE(v.mFlowChart && v.mTempChart);

        struct Expected {
            const SliderRef& slider;
            platform::Control* frame;
            const char* name;
            uint32_t colour;
        };
        for (const Expected& e : {Expected{v.mSliderFL, v.FrameFL.get(), "mSliderFL", 0xFF0000u},
                                  Expected{v.mSliderTP, v.FrameTP.get(), "mSliderTP", 0x0000FFu}}) {
            SCOPED_TRACE(e.name);
            ASSERT_TRUE(e.slider);
            EXPECT_EQ(e.slider.control->name(), e.name);
            EXPECT_EQ(e.slider.control->container(), e.frame);
            EXPECT_TRUE(e.slider.control->visible());
            EXPECT_EQ(e.slider.object->getProperty("SignalColor").toDouble(), e.colour);
            EXPECT_EQ(e.slider.object->getProperty("FixFormat").toText(), "#0");
            auto* slider = dynamic_cast<frame::ParameterSlider*>(e.slider.object.get());
            ASSERT_NE(slider, nullptr);
            EXPECT_EQ(slider->displayStyle(), "ShowVal");
        }

        ASSERT_EQ(v.CtlLedIM1->lampCount(), 10);
        for (int lamp = 0; lamp < 10; ++lamp) EXPECT_EQ(v.CtlLedIM1->lampColor(lamp), 0xFFFFFFu);
        for (auto* timer : {v.Timer1.get(), v.TimerCnt.get(), v.TimerState.get()})
            EXPECT_FALSE(timer->enabled());
    });
}

// Each failing step ends the creation there: what the steps before set stays, nothing after runs,
// and one line names the step, the description and the source line.
TEST_F(LifecycleTest, CreationFailureIsLoggedWithItsStepAndEndsTheCreation) {
    auto refuse = [](int32_t number) {
        return [number]() -> std::shared_ptr<platform::PropertyObject> { platform::raise(number); };
    };
    struct Case {
        const char* label;
        std::function<void()> registry;
        std::function<void(frame::StandFrame&)> frame;
        std::string step;
        int32_t error;
        bool collections, sliders;
    };
    const std::vector<Case> cases = {
        {"poll cycle text", [] { platform::registryStore().setText(kDtmKey, "PollCycle", "fast"); },
         [](frame::StandFrame&) {}, "get Pollcycle from registry", platform::kTypeMismatch, true, true},
        {"poll cycle beyond 32 bits",
         [] { platform::registryStore().setText(kDtmKey, "PollCycle", "99999999999"); },
         [](frame::StandFrame&) {}, "get Pollcycle from registry", platform::kOverflow, true, true},
        {"empty poll cycle text", [] { platform::registryStore().setText(kDtmKey, "PollCycle", ""); },
         [](frame::StandFrame&) {}, "get Pollcycle from registry", platform::kTypeMismatch, true, true},
        // The charts come before the first step label.
        {"chart component missing", [] {},
         [&](frame::StandFrame& f) {
             f.factories().add(platform::kChartProgId, refuse(platform::kInvalidClassString));
         },
         "", platform::kObjectNotSet, false, false},
        {"slider component missing", [] {},
         [&](frame::StandFrame& f) {
             f.factories().add(host::kSliderProgId, refuse(platform::kCannotCreateObject));
         },
         "create Uuid-Collections", platform::kCannotCreateObject, true, false},
    };
    const std::regex failureLine(R"(:UserControl_Initialize\(\)\(step=(.*)\)\(ERROR=(.*)\) line:([0-9]+))");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        platform::registryStore().clear();
        platform::registryStore().setDword(kControlsKey, "Debug", 1);
        c.registry();
        clearLog();
        std::string lastAfterCreation;
        inFreshThread([&] {
            SCOPED_TRACE(c.label);  // traces are kept per thread
            frame::StandFrame f;
            c.frame(f);
            auto& v = f.create();
            lastAfterCreation = messages().back();
            EXPECT_NE(v.CtlLedIM1->lampCount(), 10);  // "initialize grid" never ran
            EXPECT_EQ(v.Timer1->interval(), 1000);    // the design-time interval
            EXPECT_EQ(v.Timer1->tag(), "0");
            EXPECT_NE(v.mFilter, nullptr);
            EXPECT_EQ(v.mUuids != nullptr, c.collections);
            EXPECT_EQ(v.mFifo != nullptr, c.collections);
            EXPECT_EQ(static_cast<bool>(v.mSliderTP), c.sliders);
        });
        std::vector<LogEntry> failures;
        for (const auto& e : entries())
            if (e.message.rfind(":UserControl_Initialize()", 0) == 0) failures.push_back(e);
        ASSERT_EQ(failures.size(), 1u);
        std::smatch m;
        ASSERT_TRUE(std::regex_match(failures[0].message, m, failureLine)) << failures[0].message;
        EXPECT_EQ(m[1].str(), c.step);
        EXPECT_EQ(m[2].str(), platform::standardMessage(c.error));
        EXPECT_GT(std::stoi(m[3].str()), 0);
        EXPECT_EQ(failures[0].line, std::stoi(m[3].str()));  // the header names the same line
        EXPECT_EQ(lastAfterCreation, failures[0].message);
    }
}

// A registry text that reads as a number is taken as that number, halves rounding to even.
TEST_F(LifecycleTest, PollCycleTextIsTakenAsItsNumber) {
    struct Case {
        const char* text;
        int32_t interval;
    };
    for (const Case& c :
         {Case{" 2500 ", 2500}, Case{"2500.5", 2500}, Case{"2501.5", 2502}, Case{"30000.4", 30000},
          Case{"30000.5", 30000}, Case{"30001", 1000}, Case{"0.4", 1000}, Case{"-7", 1000}}) {
        SCOPED_TRACE(c.text);
        platform::registryStore().setText(kDtmKey, "PollCycle", c.text);
        inFreshThread([&] {
            SCOPED_TRACE(c.text);  // traces are kept per thread
            frame::StandFrame f;
            EXPECT_EQ(f.create().Timer1->interval(), c.interval);
        });
    }
}

TEST_F(LifecycleTest, InitLogsItsArgumentsAndKeepsTheEarlierHandlerWhenGivenNone) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device);
        EXPECT_EQ(logged("IQX_ActiveXConfig2_Init(obj, , )"), 1);
        EXPECT_EQ(v.mMessageHandler, f.messageHandler());

        f.init(InitTarget::Device, "TEACH_FMX", "PARAMETER", false);
        EXPECT_EQ(logged("IQX_ActiveXConfig2_Init(obj, TEACH_FMX, PARAMETER)"), 1);
        EXPECT_EQ(v.mMessageHandler, f.messageHandler());

        auto other = std::make_shared<frame::MessageHandler>();
        v.IQX_ActiveXConfig2_init(f.model(), std::string("TEACH_FMX"), std::string("PARAMETER"), other);
        EXPECT_EQ(v.mMessageHandler, other);
    });
}

// The calls that do nothing log nothing either; the two with answers always give the same one.
TEST_F(LifecycleTest, SmallFrameCallsAnswerAndKeepNothing) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        EXPECT_EQ(v.IQX_ActiveXApp_GetAppliedDataModel(), nullptr);
        f.init(InitTarget::Device);
        EXPECT_EQ(v.IQX_ActiveXApp_GetAppliedDataModel(), v.mModel);
        EXPECT_NE(v.mModel, nullptr);
        clearLog();

        auto first = std::make_shared<frame::CallbackReceiver>();
        auto second = std::make_shared<frame::CallbackReceiver>();
        EXPECT_TRUE(v.IQX_ActiveXApp_RegisterCallback(first));
        EXPECT_TRUE(v.IQX_ActiveXApp_RegisterCallback(second));
        EXPECT_EQ(v.mReceiver, second);
        EXPECT_TRUE(v.IQX_ActiveXApp_RegisterCallback(nullptr));
        EXPECT_EQ(v.mReceiver, nullptr);

        EXPECT_FALSE(v.IQX_ActiveXApp_SetActionArea(nullptr));
        EXPECT_FALSE(v.IQX_ActiveXApp_SetActionArea(f.model()));
        v.IQX_ActiveXAppEvts_ActionAreaButtonClick("Poll");
        v.IQX_ActiveXAppEvts_ToolbarButtonMenuClick(f.model());
        v.IBase_CallbackModule_OnLanguageChanged(f.model());
        v.IBase_CallbackModule_OnUnload(f.model());
        v.ISpec_Log_Init(f.model());
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(v.mToolbar, nullptr);
    });
}

TEST_F(LifecycleTest, OnlyTheFramesOwnModelAnnouncesAnEnvironmentChange) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device);
        auto applied = std::dynamic_pointer_cast<frame::FrameDataModel>(v.mModel);
        ASSERT_NE(applied, nullptr);
        ASSERT_NE(applied.get(), f.model().get());
        auto notices = [&] { return applied->frameDescription()->environmentNotices(); };
        f.model()->description()->environment()->put("OPERATOR", "Ann");
        clearLog();

        struct Case {
            const char* label;
            host::ObjectPtr m;
            std::string key;
            platform::Variant value;
        };
        // A model with the same values is still another object; keys compare exactly.
        const std::vector<Case> ignored = {
            {"applied copy", applied, "GLB_ENV_CHANGED", "OPERATOR"},
            {"none", nullptr, "GLB_ENV_CHANGED", "OPERATOR"},
            {"key in other case", f.model(), "glb_env_changed", "OPERATOR"},
            {"other key", f.model(), "ENV_CHANGED", "OPERATOR"},
            {"empty text", f.model(), "GLB_ENV_CHANGED", ""},
            {"empty value", f.model(), "GLB_ENV_CHANGED", platform::Variant()},
        };
        for (const auto& c : ignored) {
            SCOPED_TRACE(c.label);
            v.IBase_CallbackModule_OnEnvironmentChanged(c.m, c.key, c.value);
            EXPECT_EQ(notices(), 0);
        }
        EXPECT_TRUE(messages().empty());

        f.notifyEnvironmentChanged("OPERATOR");
        EXPECT_EQ(notices(), 1);
        EXPECT_EQ(environmentValue(*applied, "OPERATOR").toText(), "Ann");
        // A number names the value by its text.
        v.IBase_CallbackModule_OnEnvironmentChanged(f.model(), "GLB_ENV_CHANGED", 5);
        EXPECT_EQ(notices(), 2);
        EXPECT_TRUE(messages().empty());
    });
}

// Before any binding the frame's model is none, so a notice about none is about it and fails on
// the missing model; a notice from a real object is not about it.
TEST_F(LifecycleTest, EnvironmentNoticeBeforeBindingFailsOnlyForNone) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.makeModel();
        clearLog();
        v.IBase_CallbackModule_OnEnvironmentChanged(f.model(), "GLB_ENV_CHANGED", "OPERATOR");
        EXPECT_TRUE(messages().empty());
        v.IBase_CallbackModule_OnEnvironmentChanged(nullptr, "GLB_ENV_CHANGED", "OPERATOR");
        EXPECT_EQ(messages(), std::vector<std::string>{onError("IBase_CallbackModule_OnEnvironmentChanged",
                                                               platform::kObjectNotSet)});
    });
}

TEST_F(LifecycleTest, LogMessageOfKindMessageBecomesTheNextDetailsOnly) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device);
        clearLog();
        v.ISpec_Log_Log("MESSAGE", "A", "B", platform::Variant(7));
        EXPECT_EQ(messages(), std::vector<std::string>{"ISpec_Log_Log() DataObj=A, data=B"});
        EXPECT_EQ(v.mMessageDetails, "A: B");
        // Kinds compare exactly; every call is logged whatever its kind.
        for (const char* kind : {"message", "Message", "MESSAGE ", ""}) v.ISpec_Log_Log(kind, "C", "D", {});
        EXPECT_EQ(logged("ISpec_Log_Log() DataObj=C, data=D"), 4);
        EXPECT_EQ(v.mMessageDetails, "A: B");
        v.ISpec_Log_Log("MESSAGE", "E", "F", {});
        EXPECT_EQ(v.mMessageDetails, "E: F");  // the latest replaces the earlier one

        v.ReportMessageWithDetails("T", "C");
        v.ReportMessageWithDetails("U", "C");
        v.ReportMessage("V", "C");
        const auto& shown = f.messageHandler()->shown();
        ASSERT_EQ(shown.size(), 3u);
        EXPECT_TRUE(shown[0].detailed);
        EXPECT_EQ(shown[0].text, "T\r\nDetails:E: F");
        EXPECT_EQ(shown[1].text, "U");
        EXPECT_FALSE(shown[2].detailed);
        EXPECT_EQ(shown[2].text, "V");
        EXPECT_EQ(shown[2].caption, "C");
    });
}

// Without a message handler the hand-over fails and the details wait for the next message.
TEST_F(LifecycleTest, MessagesWithoutHandlerFailAndKeepTheDetails) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device, std::nullopt, std::nullopt, false);
        v.ISpec_Log_Log("MESSAGE", "A", "B", {});
        for (const auto& report : std::vector<std::function<void()>>{
                 [&] { v.ReportMessageWithDetails("T", "C"); }, [&] { v.ReportMessage("T", "C"); }}) {
            try {
                report();
                ADD_FAILURE() << "a message without handler was handed over";
            } catch (const platform::RuntimeError& e) {
                EXPECT_EQ(e.number(), platform::kObjectNotSet);
            }
        }
        EXPECT_EQ(v.mMessageDetails, "A: B");
    });
}

TEST_F(LifecycleTest, MessageCaptionIsTheDeviceNameAndTheWizardTitle) {
    inFreshThread([&] {
        frame::DeviceOptions options;
        options.language = 0;
        frame::StandFrame f;
        f.setOptions(options);
        auto& v = f.create();
        EXPECT_THROW(v.messageCaption(), platform::RuntimeError);  // no model yet
        f.init(InitTarget::Device);
        EXPECT_EQ(v.WizardTitle(), "IDS_TEACH_WIZ");
        EXPECT_EQ(v.messageCaption(), "FM1 IDS_TEACH_WIZ");
        // The resource object is made once and then kept.
        auto res = v.mRes;
        v.lookUpText("IDS_TMax");
        EXPECT_EQ(v.mRes, res);
    });
}

// The view only adds the differences of its own job count to the shared counter, in the kind of
// number the counter holds.
TEST_F(LifecycleTest, LocalCommFollowsTheJobCountInTheCountersKindOfNumber) {
    struct Case {
        const char* label;
        platform::Variant start;
        platform::Variant::Kind kind;
        double after;  // two jobs added, one removed
    };
    const std::vector<Case> cases = {
        {"whole number", platform::Variant(5), platform::Variant::Kind::Integer, 6},
        {"never put", platform::Variant(), platform::Variant::Kind::Integer, 1},
        {"fraction", platform::Variant(2.5), platform::Variant::Kind::Double, 3.5},
        {"numeric text", platform::Variant("5"), platform::Variant::Kind::Double, 6},
        {"boolean", platform::Variant(true), platform::Variant::Kind::Integer, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        inFreshThread([&] {
            SCOPED_TRACE(c.label);  // traces are kept per thread
            frame::StandFrame f;
            auto& v = f.create();
            f.init(InitTarget::Device);
            auto& env = *f.model()->description()->environment();
            env.put("LOCAL_COMM", c.start);
            v.mUuids->Add("a");
            v.mUuids->Add("b");
            v.mUuids->Add("b");  // already held: no change
            v.mUuids->Remove("a");
            v.mUuids->Remove("a");  // no longer held: no change
            const auto value = env.get("LOCAL_COMM");
            EXPECT_EQ(value.kind(), c.kind);
            EXPECT_EQ(value.toDouble(), c.after);
            // The applied copy shares the counter with the frame's model.
            EXPECT_TRUE(environmentValue(*v.mModel, "LOCAL_COMM").equals(value));
        });
    }
}

TEST_F(LifecycleTest, LocalCommThatIsNoNumberIsLoggedAndLeftAlone) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        v.IuuidCollection_OnCountChanged(1);  // no model: nothing to count in
        f.init(InitTarget::Device);
        auto& env = *f.model()->description()->environment();
        env.put("LOCAL_COMM", "many");
        clearLog();
        v.mUuids->Add("a");
        EXPECT_EQ(env.get("LOCAL_COMM").toText(), "many");
        EXPECT_EQ(v.mUuids->Count(), 1);  // the collection keeps the id all the same
        EXPECT_EQ(messages(), std::vector<std::string>{
                                  onError("IUuidCollection_OnCountChanged", platform::kTypeMismatch)});
    });
}

// A view destroyed with jobs still pending takes its share of the counter back.
TEST_F(LifecycleTest, TerminateOnlyLogsAndGivesBackThePendingJobs) {
    inFreshThread([&] {
        frame::DeviceOptions options;
        options.localComm = 3;
        BoundStand s(options);
        s.startPolling();
        s.f.link().latencyMs = 10'000;
        s.view->ReadValuesOnce();
        s.view->ReadValuesOnce();
        auto& env = *s.f.model()->description()->environment();
        EXPECT_EQ(env.get("LOCAL_COMM").toInt32(), 5);
        clearLog();
        s.f.terminate();
        EXPECT_EQ(messages(), std::vector<std::string>{"UserControl_Terminate()"});
        EXPECT_EQ(env.get("LOCAL_COMM").toInt32(), 3);
        EXPECT_EQ(s.f.receiver()->releasedCount(), 0);
        s.f.wait(20'000);  // the answers find no view
        EXPECT_EQ(env.get("LOCAL_COMM").toInt32(), 3);
    });
}

}  // namespace
}  // namespace qx::view::test
