// The view's buttons on the frame's toolbar: what a new toolbar gets and how "Poll" starts, what
// each button does when clicked, and the frame's own function buttons.
#include <set>

#include "frame/FrameParameter.h"
#include "view/ViewStand.h"

namespace qx::view::test {
namespace {

using frame::InitTarget;

class ToolbarTest : public ViewStandTest {};

frame::DeviceOptions neutral(int32_t state = 6) {
    frame::DeviceOptions options;
    options.language = 0;
    options.state = state;
    return options;
}

const std::vector<std::string> kImageKeys = {"ToDevice",  "FromDevice", "Tree", "Export",
                                             "XmlExport", "Clear",      "Auto", "Edit"};

// A resource whose texts are their keys and whose pictures are made on request; chosen keys fail.
class TestResource : public host::IResource {
  public:
    std::string className() const override { return "TestResource"; }
    std::string text(const std::string& key, int32_t&) override {
        if (key == failingText) platform::raise(platform::kObjectError + 3, "text unavailable");
        return key;
    }
    host::PicturePtr picture(const std::string& key, bool, int32_t, int16_t, int16_t) override {
        requests.push_back(key);
        if (failingPictures.count(key)) platform::raise(platform::kElementNotFound);
        return std::make_shared<host::Picture>(key, std::vector<uint8_t>{}, 16, 16);
    }
    int32_t setLanguage(int32_t language) override { return language; }

    std::string failingText;
    std::set<std::string> failingPictures;
    std::vector<std::string> requests;
};

struct Buttons {
    explicit Buttons(const frame::StandFrame& f) : toolbar(*f.toolbar()) {}
    std::shared_ptr<frame::ToolbarButton> operator[](const std::string& key) const {
        return toolbar.buttons().find(key);
    }
    const frame::FrameToolbar& toolbar;
};

TEST_F(ToolbarTest, NewToolbarGetsPicturesAlwaysAndButtonsInItsContextsOnly) {
    struct Case {
        const char* context;
        std::vector<std::string> buttons;
    };
    for (const Case& c :
         {Case{"MONITOR", {"Poll", "Clear", "Auto", "Edit"}}, Case{"DIAG", {"Poll", "Clear", "Auto", "Edit"}},
          Case{"PARAMETER", {}}, Case{"monitor", {}}}) {
        SCOPED_TRACE(c.context);
        inFreshThread([&] {
            SCOPED_TRACE(c.context);  // traces are kept per thread
            frame::StandFrame f;
            f.setOptions(neutral(5));
            auto& v = f.create();
            f.init(InitTarget::Device);
            v.mContext = c.context;
            f.setToolbar();
            EXPECT_EQ(v.mToolbar, f.toolbar());
            EXPECT_EQ(f.toolbar()->images().keys(), kImageKeys);
            EXPECT_EQ(f.toolbar()->buttons().keys(), c.buttons);
            if (c.buttons.empty()) return;
            Buttons b(f);
            struct Expected {
                const char* key;
                int32_t style;
                const char* image;
                const char* toolTip;
            };
            for (const Expected& e : {Expected{"Poll", 1, "FromDevice", "IDS_TTIP_POLLEN_EIN_AUSSCHALTE"},
                                      Expected{"Clear", 0, "Clear", "IDS_TTIP_CLEAR_CHART"},
                                      Expected{"Auto", 0, "Auto", "IDS_TTIP_AUTO_SIZE"},
                                      Expected{"Edit", 1, "Edit", "IDS_TTIP_EDIT_INFO"}}) {
                SCOPED_TRACE(e.key);
                EXPECT_EQ(b[e.key]->Style(), e.style);
                EXPECT_EQ(b[e.key]->image(), e.image);
                EXPECT_EQ(b[e.key]->ToolTipText(), e.toolTip);
            }
            // "Edit" comes with the toolbar's defaults: enabled and released.
            EXPECT_TRUE(b["Edit"]->enabled());
            EXPECT_EQ(b["Edit"]->value(), 0);
            EXPECT_TRUE(b["Clear"]->enabled());
        });
    }
}

TEST_F(ToolbarTest, WithoutFramesModelTheToolbarIsOnlyKept) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.setToolbar();
        EXPECT_EQ(v.mToolbar, f.toolbar());
        EXPECT_EQ(f.toolbar()->images().count(), 0);
        EXPECT_EQ(f.toolbar()->buttons().count(), 0);
        v.IQX_ActiveXApp_SetToolbar(nullptr);
        EXPECT_EQ(v.mToolbar, nullptr);
    });
}

// "Poll" follows the user's last choice; before there is one, the device's reachability. A
// pressed "Poll" starts polling at once when a model is bound.
TEST_F(ToolbarTest, PollStartsFromTheLastChoiceOrTheDeviceState) {
    struct Case {
        const char* label;
        platform::Variant state;
        int32_t pollMode;
        int32_t value;
        bool enabled, polling;
    };
    const std::vector<Case> cases = {
        {"reachable, never chosen", 6, 0, 1, true, true},
        {"unreachable, never chosen", 5, 0, 0, false, false},
        {"reachable as text", "6", 0, 1, true, true},
        {"state never put", platform::Variant(), 0, 0, false, false},
        {"reachable, released before", 6, 2, 0, true, false},
        {"reachable, pressed before", 6, 1, 1, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        inFreshThread([&] {
            SCOPED_TRACE(c.label);  // traces are kept per thread
            frame::StandFrame f;
            f.setOptions(neutral());
            auto& v = f.create();
            f.init(InitTarget::Device);
            f.model()->description()->environment()->put("STATE", c.state);
            v.mPollMode = c.pollMode;
            f.setToolbar();
            Buttons b(f);
            EXPECT_EQ(b["Poll"]->value(), c.value);
            EXPECT_EQ(b["Poll"]->enabled(), c.enabled);
            EXPECT_EQ(v.Timer1->enabled(), c.polling);
            EXPECT_EQ(v.mFifo->Count(), c.polling ? 1 : 0);  // the read waits for the connection
            EXPECT_EQ(v.mPollMode, c.polling ? 1 : c.pollMode);
            f.wait(100);
            EXPECT_EQ(f.communication()->IsConnected(), c.polling);
            EXPECT_TRUE(f.messageHandler()->shown().empty());
        });
    }
}

// Pressed before but unreachable now: the new button starts pressed and disabled, and its click
// tells the user and disables "Poll" of the toolbar the view holds, which is still the old one.
TEST_F(ToolbarTest, PressedBeforeButUnreachableNowDisablesTheHeldToolbarsPoll) {
    inFreshThread([&] {
        frame::StandFrame f;
        f.setOptions(neutral());
        auto& v = f.create();
        f.init(InitTarget::Device);
        v.mPollMode = 2;
        f.setToolbar();
        const auto first = f.toolbar();
        ASSERT_TRUE(f.press("Poll"));
        f.press("Poll");
        v.mPollMode = 1;
        f.model()->description()->environment()->put("STATE", 5);
        clearLog();
        auto& second = f.setToolbar();
        EXPECT_FALSE(first->buttons().find("Poll")->enabled());
        EXPECT_EQ(second.buttons().find("Poll")->value(), 1);
        EXPECT_FALSE(second.buttons().find("Poll")->enabled());
        const auto& shown = f.messageHandler()->shown();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_TRUE(shown[0].detailed);
        EXPECT_EQ(shown[0].text, "GERAET_IST_NICHT_VERBUNDEN");
        EXPECT_EQ(shown[0].caption, "FM1 IDS_TEACH_WIZ");
        EXPECT_EQ(v.mPollMode, 1);
        EXPECT_FALSE(v.Timer1->enabled());
        EXPECT_TRUE(messages().empty());
    });
    // The first toolbar of all: there is no toolbar to disable, so the click fails there.
    inFreshThread([&] {
        frame::StandFrame f;
        f.setOptions(neutral(5));
        auto& v = f.create();
        f.init(InitTarget::Device);
        v.mPollMode = 1;
        clearLog();
        f.setToolbar();
        EXPECT_EQ(messages(),
                  std::vector<std::string>{onError("mToolbar_ButtonClick", platform::kObjectNotSet)});
        EXPECT_EQ(f.messageHandler()->shown().size(), 1u);
        EXPECT_EQ(v.mToolbar, f.toolbar());
    });
}

TEST_F(ToolbarTest, PollWithoutDeviceDisablesItself) {
    inFreshThread([&] {
        frame::StandFrame f;
        f.setOptions(neutral());
        auto& v = f.create();
        f.init(InitTarget::Model);
        v.Timer1->setEnabled(true);
        f.setToolbar();  // reachable: pressed, and the automatic click finds no device
        Buttons b(f);
        EXPECT_EQ(b["Poll"]->value(), 0);
        EXPECT_FALSE(b["Poll"]->enabled());
        EXPECT_FALSE(v.Timer1->enabled());
        EXPECT_EQ(v.mPollMode, 2);
    });
}

// Unreachable at the click: the user is told (with the frame's last details), "Poll" is
// disabled and keeps the value the click gave it.
TEST_F(ToolbarTest, PressingPollWhileUnreachableTellsTheUser) {
    inFreshThread([&] {
        BoundStand s(neutral());
        auto& v = *s.view;
        s.f.model()->description()->environment()->put("STATE", 0);
        v.ISpec_Log_Log("MESSAGE", "Gateway", "offline", {});
        s.f.press("Poll");
        Buttons b(s.f);
        EXPECT_EQ(b["Poll"]->value(), 1);
        EXPECT_FALSE(b["Poll"]->enabled());
        EXPECT_EQ(v.mPollMode, 1);
        EXPECT_EQ(v.mFifo->Count(), 0);
        EXPECT_FALSE(v.Timer1->enabled());
        const auto& shown = s.f.messageHandler()->shown();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, "GERAET_IST_NICHT_VERBUNDEN\r\nDetails:Gateway: offline");
    });
}

// Releasing "Poll" stops the poll timer; it disconnects only while something is outstanding.
TEST_F(ToolbarTest, ReleasingPollDisconnectsOnlyWithWorkOutstanding) {
    struct Case {
        const char* label;
        std::function<void(QX_FlowWiz&)> outstanding;
        bool disconnects;
    };
    const std::vector<Case> cases = {
        {"idle", [](QX_FlowWiz&) {}, false},
        {"read outstanding", [](QX_FlowWiz& v) { v.ReadValuesOnce(); }, true},
        {"command waiting", [](QX_FlowWiz& v) { v.mFifo->Add("ReadOnce"); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        inFreshThread([&] {
            SCOPED_TRACE(c.label);  // traces are kept per thread
            BoundStand s(neutral());
            auto& v = *s.view;
            s.startPolling();
            s.f.link().latencyMs = 5000;
            c.outstanding(v);
            std::vector<std::string> statuses;
            s.f.link().onConnection = [&](const std::string& status) { statuses.push_back(status); };
            s.f.press("Poll");
            EXPECT_FALSE(v.Timer1->enabled());
            EXPECT_EQ(v.mPollMode, 2);
            s.f.wait(5000);
            EXPECT_EQ(statuses,
                      c.disconnects ? std::vector<std::string>{"DISCONNECTED"} : std::vector<std::string>{});
        });
    }
}

TEST_F(ToolbarTest, PressingPollAsksTheMatchingParametersToRefresh) {
    for (bool accepted : {true, false}) {
        SCOPED_TRACE(accepted ? "connection accepted" : "connection refused");
        inFreshThread([&] {
            SCOPED_TRACE(accepted ? "connection accepted"
                                  : "connection refused");  // traces are kept per thread
            BoundStand s(neutral());
            auto& v = *s.view;
            if (!accepted) s.f.link().connectOutcome = frame::SimLink::ConnectOutcome::Refuse;
            s.f.press("Poll");
            int refreshed = 0, expected = 0;
            auto& modules = *v.mModel->description()->modules();
            for (int32_t m = 1; m <= modules.count(); ++m) {
                auto& groups = *modules.item(m)->groups();
                for (int32_t g = 1; g <= groups.count(); ++g) {
                    auto& values = *groups.item(g)->valueObjects();
                    for (int32_t i = 1; i <= values.count(); ++i) {
                        auto value = values.item(i);
                        auto p = std::dynamic_pointer_cast<frame::FrameParameter>(value->parameter());
                        ASSERT_NE(p, nullptr);
                        const bool matches =
                            value->flags() > 0 && (value->state() == 2 || value->state() == 3);
                        if (matches && accepted) ++expected;
                        EXPECT_EQ(p->refreshCount(), matches && accepted ? 1 : 0) << p->name();
                        refreshed += p->refreshCount();
                    }
                }
            }
            EXPECT_EQ(refreshed, expected);
            if (accepted) {
                EXPECT_GT(refreshed, 0);
            }
        });
    }
}

// "Edit" switches the teach panel between the device's values and the user's, and moves the
// wizard into manual entry and back.
TEST_F(ToolbarTest, EditSwitchesTheInputsAndTheWizardState) {
    struct Case {
        int32_t from;
        bool pressed;
        int32_t to;
    };
    const std::vector<Case> cases = {
        {1, true, 5},    {2, true, 5},  {3, true, 5},    {4, true, 5},  {10, true, 13}, {11, true, 13},
        {12, true, 13},  {0, true, 0},  {5, true, 5},    {7, true, 7},  {13, true, 13}, {5, false, 2},
        {13, false, 10}, {3, false, 3}, {12, false, 12}, {0, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + (c.pressed ? " pressed" : " released"));
        inFreshThread([&] {
            SCOPED_TRACE(std::to_string(c.from) +
                         (c.pressed ? " pressed" : " released"));  // traces are kept per thread
            BoundStand s(neutral());
            auto& v = *s.view;
            if (!c.pressed) s.f.toolbar()->buttons().find("Edit")->setValue(1);
            for (platform::Control* control : std::initializer_list<platform::Control*>{
                     v.LaTMaxW.get(), v.LaTMinW.get(), v.LaTQuickW.get(), v.ComSetTeach.get(),
                     v.ComTMax.get(), v.ComTQuick.get()})
                control->setEnabled(!c.pressed);
            v.mTeachState = c.from;
            s.f.press("Edit");
            EXPECT_EQ(v.mTeachState, c.to);
            EXPECT_EQ(v.LaTMaxW->enabled(), c.pressed);
            EXPECT_EQ(v.LaTMinW->enabled(), c.pressed);
            EXPECT_EQ(v.LaTQuickW->enabled(), c.pressed);
            EXPECT_EQ(v.ComSetTeach->enabled(), c.pressed);
            EXPECT_EQ(v.ComTMax->enabled(), !c.pressed);
            EXPECT_EQ(v.ComTQuick->enabled(), !c.pressed);
            const auto& shown = s.f.messageHandler()->shown();
            ASSERT_EQ(shown.size(), c.pressed ? 1u : 0u);
            if (c.pressed) {
                EXPECT_FALSE(shown[0].detailed);
                EXPECT_EQ(shown[0].text, "IDS_FWZ_EDIT_INFO");
                EXPECT_EQ(shown[0].caption, "FM1 IDS_TEACH_WIZ");
            }
        });
    }
}

// Without a message handler pressing "Edit" ends at the message: nothing else changes.
TEST_F(ToolbarTest, EditWithoutHandlerEndsAtTheMessage) {
    inFreshThread([&] {
        frame::StandFrame f;
        f.setOptions(neutral());
        auto& v = f.create();
        f.init(InitTarget::Device, std::nullopt, std::nullopt, false);
        v.mPollMode = 2;
        f.setToolbar();
        v.mTeachState = 3;
        v.ComTMax->setEnabled(true);
        clearLog();
        f.press("Edit");
        EXPECT_EQ(messages(),
                  std::vector<std::string>{onError("mToolbar_ButtonClick", platform::kObjectNotSet)});
        EXPECT_EQ(v.mTeachState, 3);
        EXPECT_TRUE(v.ComTMax->enabled());
    });
}

TEST_F(ToolbarTest, FunctionButtonsToggleTheirEnvironmentValue) {
    inFreshThread([&] {
        BoundStand s(neutral());
        auto& env = *s.f.model()->description()->environment();
        std::vector<std::string> seen;
        for (int i = 0; i < 3; ++i) {
            s.f.press("FUNCTION:LIGHT");
            seen.push_back(env.get("FUNCTION:LIGHT").toText());
        }
        EXPECT_EQ(seen, (std::vector<std::string>{"True", "False", "True"}));
        EXPECT_TRUE(env.get("FUNCTION:LIGHT").isBoolean());

        // Numbers are negated bit by bit.
        env.put("FUNCTION:COUNT", 5);
        s.f.press("FUNCTION:COUNT");
        EXPECT_EQ(env.get("FUNCTION:COUNT").toInt32(), -6);
        env.put("FUNCTION:HALF", 2.5);
        s.f.press("FUNCTION:HALF");
        EXPECT_EQ(env.get("FUNCTION:HALF").toInt32(), -3);

        // The prefix compares exactly; other keys are not the view's.
        clearLog();
        s.f.press("function:LIGHT");
        s.f.press("Other");
        EXPECT_TRUE(env.get("function:LIGHT").isEmpty());
        EXPECT_TRUE(messages().empty());

        env.put("FUNCTION:NAME", "abc");
        s.f.press("FUNCTION:NAME");
        EXPECT_EQ(env.get("FUNCTION:NAME").toText(), "abc");
        EXPECT_EQ(messages(),
                  std::vector<std::string>{onError("mToolbar_ButtonClick", platform::kTypeMismatch)});
    });
}

TEST_F(ToolbarTest, AutoFollowsTheNewestPointAndWidensTheRangesAgain) {
    inFreshThread([&] {
        BoundStand s(neutral());
        auto& v = *s.view;
        v.HSMin->setValue(300);
        for (auto* bar : {v.VSMax1.get(), v.VSMax2.get(), v.VSMin1.get(), v.VSMin2.get()}) bar->setValue(40);
        v.mFlowRangeMin = 100;
        v.mFlowRangeMax = 200;
        v.mSavedFlowRangeMin = 50;
        v.mSavedFlowRangeMax = 150;
        v.mTempRangeMin = 20;
        v.mTempRangeMax = 25;
        v.mSavedTempRangeMin = 22;
        v.mSavedTempRangeMax = 30;
        s.f.press("Auto");
        EXPECT_EQ(v.HSMin->value(), 1000);
        for (auto* bar : {v.VSMax1.get(), v.VSMax2.get(), v.VSMin1.get(), v.VSMin2.get()})
            EXPECT_EQ(bar->value(), 0);
        EXPECT_EQ(v.mFlowRangeMin, 50);
        EXPECT_EQ(v.mFlowRangeMax, 200);
        EXPECT_EQ(v.mTempRangeMin, 20);
        EXPECT_EQ(v.mTempRangeMax, 30);
    });
}

// "Clear" anchors the time window at the click and restarts the ranges; the view is refreshed at
// once only while no poll will do it.
TEST_F(ToolbarTest, ClearRestartsTheTrendViewAndRefreshesWhenDisconnected) {
    for (bool connected : {false, true}) {
        SCOPED_TRACE(connected ? "connected" : "disconnected");
        inFreshThread([&] {
            SCOPED_TRACE(connected ? "connected" : "disconnected");  // traces are kept per thread
            BoundStand s(neutral());
            auto& v = *s.view;
            if (connected) {
                s.startPolling();
                s.f.press("Poll");
            }
            s.f.wait(700);  // the clock now stands between two whole seconds
            v.HSMin->setValue(300);
            v.mFlowRangeMax = 200;
            v.mSavedFlowRangeMax = 150;
            const int points = v.mFlowChart->group(1).data().numPoints();
            s.f.press("Clear");
            EXPECT_EQ(v.mTeachStartTime, static_cast<int32_t>(s.f.scheduler().nowMs() / 1000 % 86400));
            EXPECT_EQ(v.HSMin->value(), v.HSMin->max());
            EXPECT_EQ(v.mSavedFlowRangeMax, 200);
            // The refresh takes the ranges from the values that follow the click.
            EXPECT_EQ(v.mFlowChart->group(1).data().numPoints(), points + (connected ? 0 : 1));
            if (connected) {
                EXPECT_EQ(v.mFlowRangeMax, -2000);
                EXPECT_EQ(v.mFlowRangeMin, 2000);
            }
        });
    }
}

TEST_F(ToolbarTest, ClearWithoutDeviceDoesEverythingButTheRefresh) {
    inFreshThread([&] {
        frame::StandFrame f;
        f.setOptions(neutral(5));
        auto& v = f.create();
        f.init(InitTarget::Model);
        f.setToolbar();
        v.mFlowRangeMax = 200;
        v.VSMax1->setValue(40);
        clearLog();
        f.press("Clear");
        EXPECT_EQ(messages(),
                  std::vector<std::string>{onError("mToolbar_ButtonClick", platform::kObjectNotSet)});
        EXPECT_TRUE(v.mTeachStartTime.has_value());
        EXPECT_EQ(v.VSMax1->value(), 0);
        EXPECT_EQ(v.mFlowRangeMax, -2000);
        EXPECT_EQ(v.mSavedFlowRangeMax, 200);
        EXPECT_FALSE(v.mTrendStart.has_value());  // UpdateView never ran
    });
}

// Missing pictures are left out; when the first one is missing the pictures are asked for once
// more. An entry already in the list is kept.
TEST_F(ToolbarTest, MissingPicturesAreLeftOutAndPresentOnesKept) {
    struct Case {
        const char* label;
        std::set<std::string> failing;
        size_t requests;
        std::vector<std::string> keys;
    };
    const std::vector<Case> cases = {
        {"all there", {}, 8, kImageKeys},
        {"one missing",
         {"ICO_AUTO"},
         8,
         {"ToDevice", "FromDevice", "Tree", "Export", "XmlExport", "Clear", "Edit"}},
        {"first missing",
         {"ICO_STORE_TO_DEVICE"},
         16,
         {"FromDevice", "Tree", "Export", "XmlExport", "Clear", "Auto", "Edit"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        inFreshThread([&] {
            SCOPED_TRACE(c.label);  // traces are kept per thread
            frame::StandFrame f;
            f.setOptions(neutral());
            auto& v = f.create();
            f.init(InitTarget::Device);
            auto res = std::make_shared<TestResource>();
            res->failingPictures = c.failing;
            v.mRes = res;
            v.mPollMode = 2;
            auto toolbar = std::make_shared<frame::FrameToolbar>();
            auto kept = std::make_shared<host::Picture>("mine", std::vector<uint8_t>{}, 16, 16);
            toolbar->ImageList()->ListImages()->Add({}, "Clear", kept);
            clearLog();
            v.IQX_ActiveXApp_SetToolbar(toolbar);
            EXPECT_EQ(res->requests.size(), c.requests);
            std::vector<std::string> expected = c.keys;
            expected.erase(std::find(expected.begin(), expected.end(), "Clear"));
            expected.insert(expected.begin(), "Clear");
            EXPECT_EQ(toolbar->images().keys(), expected);
            EXPECT_EQ(toolbar->images().item("Clear"), kept);
            EXPECT_EQ(toolbar->buttons().count(), 4);
            EXPECT_TRUE(messages().empty());
        });
    }
}

// A failure outside the ignored steps ends the hand-over before the toolbar is kept.
TEST_F(ToolbarTest, FailingHandOverIsLoggedAndKeepsTheEarlierToolbar) {
    inFreshThread([&] {
        frame::StandFrame f;
        f.setOptions(neutral());
        auto& v = f.create();
        f.init(InitTarget::Device);
        v.mPollMode = 2;
        f.setToolbar();
        const auto first = f.toolbar();
        auto res = std::make_shared<TestResource>();
        res->failingText = "IDS_TTIP_CLEAR_CHART";
        v.mRes = res;
        clearLog();
        auto& second = f.setToolbar();
        EXPECT_EQ(messages(),
                  std::vector<std::string>{"IQX_ActiveXApp_SetToolbar(): ERROR: text unavailable"});
        EXPECT_EQ(v.mToolbar, first);
        EXPECT_EQ(second.buttons().keys(),
                  (std::vector<std::string>{"Poll", "Clear"}));  // added, then its tooltip
        // "Poll" of the toolbar the view holds is the one the connection releases.
        first->buttons().find("Poll")->setValue(1);
        v.ResetPolling();
        EXPECT_EQ(first->buttons().find("Poll")->value(), 0);
        v.IQX_ActiveXApp_SetToolbar(nullptr);
        v.ResetPolling();  // no toolbar: the button is simply not there
    });
}

}  // namespace
}  // namespace qx::view::test
