// The view's buttons on the frame's toolbar: what a new toolbar gets and how "Poll" starts, what
// each button does when clicked (the parameter walk behind "Poll" included), and the frame's own
// function buttons.
#include "frame/FrameParameter.h"
#include "view/ViewChildren.h"
#include "view/ViewStand.h"

namespace qx::view::test {
namespace {

class ToolbarTest : public ViewTest {};

std::shared_ptr<frame::ToolbarButton> button(const frame::StandFrame& f, const std::string& key) {
    return f.toolbar()->buttons().find(key);
}

TEST_F(ToolbarTest, NewToolbarGetsPicturesAlwaysAndButtonsInItsContextsOnly) {
    for (const std::string context : {"MONITOR", "DIAG", "PARAMETER", "monitor"}) {
        SCOPED_TRACE(context);
        BoundStand s(neutral(5), false);
        s.f.init(InitTarget::Device, std::nullopt, context);
        s.f.setToolbar();
        EXPECT_EQ(s.view->frame().mToolbar, s.f.toolbar());
        EXPECT_EQ(s.f.toolbar()->images().keys(),
                  (std::vector<std::string>{"ToDevice", "FromDevice", "Tree", "Export", "XmlExport", "Clear",
                                            "Auto", "Edit"}));
        const bool buttons = context == "MONITOR" || context == "DIAG";
        const std::vector<std::string> none, all = {"Poll", "Clear", "Auto", "Edit"};
        EXPECT_EQ(s.f.toolbar()->buttons().keys(), buttons ? all : none);
        if (!buttons) continue;
        // clang-format off
        for (const auto& [key, style, toolTip] : std::vector<std::tuple<std::string, int32_t, std::string>>{
                 {"Clear", 0, "IDS_TTIP_CLEAR_CHART"}, {"Auto", 0, "IDS_TTIP_AUTO_SIZE"}, {"Edit", 1, "IDS_TTIP_EDIT_INFO"}}) {
            // clang-format on
            EXPECT_EQ(button(s.f, key)->Style(), style) << key;
            EXPECT_EQ(button(s.f, key)->image(), key);
            EXPECT_EQ(button(s.f, key)->ToolTipText(), toolTip);
        }
    }
}

// "Poll" follows the user's last choice; before there is one, the device's reachability. A
// pressed "Poll" starts polling at once when a model is bound. Pressed before but unreachable
// now, it tells the user and disables "Poll" of the toolbar the view holds: there is none yet,
// so that fails and is logged.
TEST_F(ToolbarTest, PollStartsFromTheLastChoiceOrTheDeviceState) {
    struct Case {
        const char* label;
        platform::Variant state;
        int32_t pollMode, value;
        bool enabled, polling, told;
    };
    // clang-format off
    for (const Case& c : std::vector<Case>{
             {"reachable, never chosen", 6, 0, 1, true, true, false}, {"reachable as text", "6", 0, 1, true, true, false},
             {"state never put", {}, 0, 0, false, false, false}, {"reachable, pressed before", 6, 1, 1, true, true, false},
             {"unreachable, pressed before", 5, 1, 1, false, false, true}}) {
        // clang-format on
        SCOPED_TRACE(c.label);
        BoundStand s(neutral(), false);
        auto& v = *s.view;
        s.f.model()->description()->environment()->put("STATE", c.state);
        ViewTestSeam::leavePollButton(v, c.pollMode);
        clearLog();
        s.f.setToolbar();
        EXPECT_EQ(button(s.f, "Poll")->value(), c.value);
        EXPECT_EQ(button(s.f, "Poll")->enabled(), c.enabled);
        EXPECT_EQ(childTimer(v, "Timer1")->enabled(), c.polling);
        EXPECT_EQ(pollMode(v), c.pollMode == 0 && !c.polling ? 0 : 1);
        s.f.wait(100);
        EXPECT_EQ(s.f.communication()->IsConnected(), c.polling);
        const auto& shown = s.f.messageHandler()->shown();
        ASSERT_EQ(shown.size(), c.told ? 1u : 0u);
        for (const auto& m : shown) EXPECT_EQ(m.text, "GERAET_IST_NICHT_VERBUNDEN");
        EXPECT_EQ(logged(onError("mToolbar_ButtonClick", platform::kObjectNotSet)), c.told ? 1 : 0);
    }
}

// Releasing "Poll" stops the poll timer; it disconnects only while something is outstanding.
TEST_F(ToolbarTest, ReleasingPollDisconnectsOnlyWithWorkOutstanding) {
    for (const auto& [label, outstanding, disconnects] :
         std::vector<std::tuple<std::string, std::function<void(QX_FlowWiz&)>, bool>>{
             {"idle", [](QX_FlowWiz&) {}, false},
             {"read outstanding", [](QX_FlowWiz& v) { ViewTestSeam::readValuesOnce(v); }, true},
             {"command waiting", [](QX_FlowWiz& v) { ViewTestSeam::jobs(v).queueRead(); }, true}}) {
        SCOPED_TRACE(label);
        BoundStand s;
        s.startPolling();
        s.f.link().latencyMs = 5000;
        outstanding(*s.view);
        std::vector<std::string> statuses;
        s.f.link().onConnection = [&](const std::string& status) { statuses.push_back(status); };
        s.f.press("Poll");
        EXPECT_FALSE(childTimer(*s.view, "Timer1")->enabled());
        s.f.wait(5000);
        EXPECT_EQ(statuses.size(), disconnects ? 1u : 0u);
    }
}

// A view whose creation stopped before its job collections fails when "Poll" is released, also
// with the line down: asking for outstanding work only once connected would hide the failure and
// stop the poll timer as if all were well.
TEST_F(ToolbarTest, ReleasingPollWithoutJobCollectionsFailsEvenWhenDisconnected) {
    frame::StandFrame f;
    f.factories().add(platform::kChartProgId, []() -> std::shared_ptr<platform::PropertyObject> {
        platform::raise(platform::kCannotCreateObject);
    });
    f.setOptions(neutral());
    auto& v = f.create();
    ASSERT_EQ(v.jobs().pending(), nullptr);
    // Bound to the model first: taking the device then fails on the missing collections, after the
    // communication object is already held.
    f.init(InitTarget::Model);
    f.init(InitTarget::Device);
    f.setToolbar();
    ASSERT_NE(button(f, "Poll"), nullptr);
    button(f, "Poll")->setValue(1);
    childTimer(v, "Timer1")->setEnabled(true);
    clearLog();
    ASSERT_TRUE(f.press("Poll"));
    ASSERT_FALSE(f.communication()->IsConnected());
    EXPECT_EQ(logged(onError("mToolbar_ButtonClick", platform::kObjectNotSet)), 1);
    EXPECT_TRUE(childTimer(v, "Timer1")->enabled());  // the failure came before the timer was stopped
}

// Checks that each parameter of the model was refreshed exactly when the walk reached it: in a
// module walked, with a flag word greater than 0 (the mask is -1) and the state 2 or 3.
void expectWalked(const host::IDataModel& model, const std::string& module, bool walked) {
    auto& modules = *model.description()->modules();
    for (int32_t m = 1; m <= modules.count(); ++m) {
        const bool inModule = walked && (module == "$$MODULE" || modules.item(m)->name() == module);
        auto& groups = *modules.item(m)->groups();
        for (int32_t g = 1; g <= groups.count(); ++g) {
            auto& values = *groups.item(g)->valueObjects();
            for (int32_t i = 1; i <= values.count(); ++i) {
                auto value = values.item(i);
                auto p = std::dynamic_pointer_cast<frame::FrameParameter>(value->parameter());
                const bool matches =
                    inModule && value->flags() > 0 && (value->state() == 2 || value->state() == 3);
                EXPECT_EQ(p->refreshCount(), matches ? 1 : 0) << p->name();
            }
        }
    }
}

// "Poll" walks the view's module of the applied model (all of them for "$$MODULE") once the
// connection is under way, not when it was refused; an unknown module fails the click.
TEST_F(ToolbarTest, PressingPollAsksTheMatchingParametersToRefresh) {
    using Outcome = frame::SimLink::ConnectOutcome;
    // clang-format off
    for (const auto& [module, outcome] : std::vector<std::pair<std::string, Outcome>>{
             {"$$MODULE", Outcome::Ok}, {"$$MODULE", Outcome::Refuse}, {"TEACH_FMX", Outcome::Ok}, {"NO_SUCH_MODULE", Outcome::Ok}}) {
        // clang-format on
        clearLog();
        SCOPED_TRACE(module);
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device, module);
        ViewTestSeam::leavePollButton(v, 2);
        f.setToolbar();
        f.link().connectOutcome = outcome;
        f.press("Poll");
        const bool known = module != "NO_SUCH_MODULE";
        expectWalked(*v.frame().mModel, module, outcome == Outcome::Ok && known);
        EXPECT_EQ(childTimer(v, "Timer1")->enabled(), outcome == Outcome::Ok && known);
        EXPECT_EQ(logged(onError("mToolbar_ButtonClick", platform::kItemNotFound)), known ? 0 : 1);
    }
}

// "Edit" switches the teach panel between the device's values and the user's, and moves the
// wizard into manual entry and back.
TEST_F(ToolbarTest, EditSwitchesTheInputsAndTheWizardState) {
    // clang-format off
    for (const auto& [from, pressed, to] : std::vector<std::tuple<int32_t, bool, int32_t>>{
             {1, true, 5}, {2, true, 5}, {3, true, 5}, {4, true, 5}, {10, true, 13}, {11, true, 13}, {12, true, 13},
             {0, true, 0}, {5, true, 5}, {7, true, 7}, {13, true, 13}, {5, false, 2}, {13, false, 10}, {3, false, 3},
             {12, false, 12}}) {
        // clang-format on
        SCOPED_TRACE(std::to_string(from) + (pressed ? " pressed" : " released"));
        BoundStand s;
        auto& v = *s.view;
        if (!pressed) button(s.f, "Edit")->setValue(1);
        const std::vector<platform::Control*> inputs = {
            childTextBox(v, "LaTMaxW").get(), childTextBox(v, "LaTMinW").get(),
            childTextBox(v, "LaTQuickW").get(), childButton(v, "ComSetTeach").get()};
        const std::vector<platform::Control*> triggers = {childButton(v, "ComTMax").get(),
                                                          childButton(v, "ComTQuick").get()};
        for (auto* control : inputs) control->setEnabled(!pressed);
        for (auto* control : triggers) control->setEnabled(pressed);
        ViewTestSeam::enterTeachState(v, wizard::TeachState{from});
        s.f.press("Edit");
        EXPECT_EQ(wizard::number(v.progress().mTeachState), to);
        for (auto* control : inputs) EXPECT_EQ(control->enabled(), pressed) << control->name();
        for (auto* control : triggers) EXPECT_EQ(control->enabled(), !pressed) << control->name();
        const auto& shown = s.f.messageHandler()->shown();
        ASSERT_EQ(shown.size(), pressed ? 1u : 0u);
        for (const auto& m : shown) EXPECT_EQ(m.text + (m.detailed ? " detailed" : ""), "IDS_FWZ_EDIT_INFO");
    }
}

// Only keys that begin with "FUNCTION:" exactly are the frame's function buttons; a value that is
// a text cannot be toggled and fails (the toggling itself is the console scenarios').
TEST_F(ToolbarTest, FunctionButtonsToggleOnlyTheirOwnValue) {
    BoundStand s;
    auto& env = *s.f.model()->description()->environment();
    clearLog();
    s.f.press("function:LIGHT");
    EXPECT_TRUE(env.get("function:LIGHT").isEmpty());
    env.put("FUNCTION:NAME", "abc");
    s.f.press("FUNCTION:NAME");
    EXPECT_EQ(env.get("FUNCTION:NAME").toText(), "abc");
    EXPECT_EQ(messages(), std::vector<std::string>{onError("mToolbar_ButtonClick", platform::kTypeMismatch)});
}

TEST_F(ToolbarTest, AutoFollowsTheNewestPointAndWidensTheRangesAgain) {
    BoundStand s;
    auto& v = *s.view;
    const std::vector<platform::ScrollBar*> offsets = {
        childScrollBar(v, "VSMax1").get(), childScrollBar(v, "VSMax2").get(),
        childScrollBar(v, "VSMin1").get(), childScrollBar(v, "VSMin2").get()};
    childScrollBar(v, "HSMin")->setValue(300);
    for (auto* bar : offsets) bar->setValue(40);
    auto& trend = ViewTestSeam::trend(v);
    trend.flow.range.min = 100, trend.flow.range.max = 200, trend.flow.saved.min = 50,
    trend.flow.saved.max = 150;
    trend.temp.range.min = 20, trend.temp.range.max = 25, trend.temp.saved.min = 22,
    trend.temp.saved.max = 30;
    s.f.press("Auto");
    EXPECT_EQ(childScrollBar(v, "HSMin")->value(), 1000);
    for (auto* bar : offsets) EXPECT_EQ(bar->value(), 0) << bar->name();
    EXPECT_EQ((std::vector<int32_t>{v.trend().flow.range.min, v.trend().flow.range.max,
                                    v.trend().temp.range.min, v.trend().temp.range.max}),
              (std::vector<int32_t>{50, 200, 20, 30}));
}

// "Clear" anchors the time window at the click and restarts the ranges; while disconnected the
// view is refreshed at once (what a poll does while connected is the trend charts' tests').
// Without a device that refresh fails, after the rest.
TEST_F(ToolbarTest, ClearRestartsTheTrendViewAndRefreshesWhenDisconnected) {
    for (bool device : {true, false}) {
        clearLog();
        SCOPED_TRACE(device ? "disconnected" : "no device");
        frame::StandFrame f;
        auto& v = f.create();
        f.init(device ? InitTarget::Device : InitTarget::Model);
        ViewTestSeam::leavePollButton(v, 2);
        f.setToolbar();
        f.wait(700);  // the clock now stands between two whole seconds
        childScrollBar(v, "HSMin")->setValue(300);
        childScrollBar(v, "VSMax1")->setValue(40);
        ViewTestSeam::trend(v).flow.range.max = 200;
        ViewTestSeam::trend(v).flow.saved.max = 150;
        clearLog();
        f.press("Clear");
        EXPECT_EQ(v.trend().teachStartTime(), static_cast<int32_t>(f.scheduler().nowMs() / 1000 % 86400));
        EXPECT_EQ(childScrollBar(v, "HSMin")->value(), childScrollBar(v, "HSMin")->max());
        EXPECT_EQ(childScrollBar(v, "VSMax1")->value(), 0);
        EXPECT_EQ(v.trend().flow.saved.max, 200);
        EXPECT_EQ(v.trend().flow.object->group(1).data().numPoints(), device ? 1 : 0);
        EXPECT_EQ(v.trend().flow.range.max == -2000, !device);  // the refresh rescales to the values read
        EXPECT_EQ(logged(onError("mToolbar_ButtonClick", platform::kObjectNotSet)), device ? 0 : 1);
    }
}

// Missing pictures are left out; when the first one is missing the pictures are asked for once
// more. An entry already in the list is kept.
TEST_F(ToolbarTest, MissingPicturesAreLeftOutAndPresentOnesKept) {
    // clang-format off
    for (const auto& [failing, requests, keys] : std::vector<std::tuple<std::string, size_t, std::vector<std::string>>>{
             {"", 8, {"ToDevice", "FromDevice", "Tree", "Export", "XmlExport", "Auto", "Edit"}},
             {"ICO_AUTO", 8, {"ToDevice", "FromDevice", "Tree", "Export", "XmlExport", "Edit"}},
             {"ICO_STORE_TO_DEVICE", 16, {"FromDevice", "Tree", "Export", "XmlExport", "Auto", "Edit"}}}) {
        // clang-format on
        SCOPED_TRACE(failing);
        BoundStand s(neutral(), false);
        auto res = std::make_shared<ScriptedResource>();
        res->failingPictures = {failing};
        ViewTestSeam::frame(*s.view).mRes = res;
        ViewTestSeam::leavePollButton(*s.view, 2);
        auto toolbar = std::make_shared<frame::FrameToolbar>();
        auto kept = std::make_shared<host::Picture>("mine", std::vector<uint8_t>{}, 16, 16);
        toolbar->ImageList()->ListImages()->Add({}, "Clear", kept);
        clearLog();
        s.view->IQX_ActiveXApp_SetToolbar(toolbar);
        EXPECT_EQ(res->requests.size(), requests);
        auto expected = keys;
        expected.insert(expected.begin(), "Clear");
        EXPECT_EQ(toolbar->images().keys(), expected);
        EXPECT_EQ(toolbar->images().item("Clear"), kept);
        EXPECT_EQ(toolbar->buttons().count(), 4);
        EXPECT_TRUE(messages().empty());
    }
}

// A failure outside the ignored steps ends the hand-over before the toolbar is kept, so "Poll" of
// the earlier toolbar is the one the end of the connection releases.
TEST_F(ToolbarTest, FailingHandOverIsLoggedAndKeepsTheEarlierToolbar) {
    BoundStand s;
    auto& v = *s.view;
    const auto first = s.f.toolbar();
    auto res = std::make_shared<ScriptedResource>();
    res->failingText = "IDS_TTIP_CLEAR_CHART";
    ViewTestSeam::frame(v).mRes = res;
    clearLog();
    auto& second = s.f.setToolbar();
    EXPECT_EQ(messages(), std::vector<std::string>{"IQX_ActiveXApp_SetToolbar(): ERROR: text unavailable"});
    EXPECT_EQ(v.frame().mToolbar, first);
    EXPECT_EQ(second.buttons().keys(), (std::vector<std::string>{"Poll", "Clear"}));
    first->buttons().find("Poll")->setValue(1);
    ViewTestSeam::resetPolling(v);
    EXPECT_EQ(first->buttons().find("Poll")->value(), 0);
}

}  // namespace
}  // namespace qx::view::test
