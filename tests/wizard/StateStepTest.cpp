// The wizard's state step as the user sees it after an update: the status message and its
// colour, the lamp column and the teach buttons, for every state, on both firmware spans.
#include <cctype>
#include <string>

#include "view/ViewChildren.h"
#include "wizard/WizardStand.h"

namespace qx::stand::test {
namespace {

class StateStepTest : public LiveViewTest {};

// The column top to bottom: '.' off, 'g' green, 'a' amber; the blinking lamp in capitals.
std::string lamps(const WizardStand& s) {
    std::string out;
    for (int i = 0; i < 10; ++i) {
        const uint32_t c = s.lamp(i);
        char ch = c == kWhite ? '.' : c == kGreen ? 'g' : c == kAmber ? 'a' : '?';
        if (s.blinking() == i) ch = static_cast<char>(std::toupper(ch));
        out += ch;
    }
    return out;
}

// Which teach triggers a person can press: upper case when enabled.
std::string triggers(WizardStand& s) {
    auto flag = [](const platform::Control& c, const char* on, const char* off) {
        return c.enabled() ? on : off;
    };
    auto& v = s.v();
    return std::string(flag(*childButton(v, "ComTMax"), "MAX", "max")) + " " +
           flag(*childButton(v, "ComTMin"), "MIN", "min") + " " +
           flag(*childButton(v, "ComTQuick"), "QUICK", "quick");
}

// Device values as a read job would bring them into the model.
struct Values {
    int fw = 1;
    int mode = 2;
    int flow = 0;
    bool settled = true;
    int min = 100;
    int max = 800;
};

WizardStand directView(const Values& in) {
    DeviceOptions o;
    o.fw = in.fw;
    return WizardStand(o, false);
}

void load(WizardStand& s, const Values& in) {
    auto& v = s.v();
    WizardStand::put(v.refs().TEACHDO_QUICK_MODE, std::to_string(in.mode));
    WizardStand::put(v.refs().PROINFLOW_RAW, std::to_string(in.flow));
    WizardStand::put(v.refs().DELTAFLOW_NEW, in.settled ? "1" : "0");
    WizardStand::put(v.refs().TEACH_MIN, std::to_string(in.min));
    WizardStand::put(v.refs().TEACH_MAX, std::to_string(in.max));
}

// The status message with its colour.
std::string message(const WizardStand& s) {
    const uint32_t c = s.statusColour();
    return s.status() + (c == kGreen ? " (green)" : c == kAmber ? " (amber)" : " (?)");
}

// What a person sees after the update: the message, the lamp column, the triggers.
std::string seen(WizardStand& s) {
    return message(s) + " " + lamps(s) + " " + triggers(s);
}

TEST_F(StateStepTest, EachStateShowsItsMessageLampsAndTriggers) {
    struct Case {
        Values in;
        int state, stateAfter;
        const char* seen;
    };
    const std::vector<Case> cases = {
        // The status line keeps its design colour while no message is shown.
        {{}, 1, 2, " (green) .......... max min quick"},
        // The flow must exceed the span (51 on firmware 0, 10 on newer firmware) and settle.
        {{.fw = 0, .flow = 51}, 2, 2, "IDS_FWZ_SET_MAX (amber) .......... max min quick"},
        {{.fw = 0, .flow = 52}, 2, 2, "IDS_FWZ_SET_MAX_TEACH (green) G......... MAX min quick"},
        {{.flow = 10}, 2, 2, "IDS_FWZ_SET_MAX (amber) .......... max min quick"},
        {{.flow = 11, .settled = false}, 2, 2, "IDS_FWZ_FLOW_NOT_SET (amber) A......... max min quick"},
        {{}, 4, 6, "IDS_SET_MAX_SUCC (green) .......... max min quick"},
        {{}, 5, 5, "IDS_SET_MM_TEACH_MAN (amber) g........g max min quick"},
        // State 6: the level is 100 when the flow lies one span below the taught maximum.
        {{.flow = 801}, 6, 6, "IDS_FWZ_FLOW_TO_HIGH (amber) .A........ MAX min quick"},
        {{.flow = 799}, 6, 6, "IDS_FWZ_FLOW_TO_HIGH (amber) .A........ MAX min quick"},  // level 10
        {{.flow = 798}, 6, 6, "IDS_DIFF_SMALL (amber) ..A....... MAX min quick"},        // level 20
        {{.flow = 792}, 6, 6, "IDS_DIFF_SMALL (amber) .......A.. MAX min quick"},        // level 80
        {{.flow = 791}, 6, 6, "IDS_DIFF_SMALL (amber) ........A. MAX min quick"},        // level 90
        {{.flow = 790}, 6, 6, "IDS_FWZ_SET_MIN_TEACH (green) .........G MAX MIN quick"},
        {{.flow = 790, .settled = false}, 6, 6, "IDS_FWZ_FLOW_NOT_SET (amber) .........A max min quick"},
        // The span is reached, but the flow is too low to teach a maximum again.
        {{.flow = 5, .max = 15}, 6, 6, "IDS_FWZ_SET_MIN_TEACH (green) .........G max MIN quick"},
        {{.fw = 0, .flow = 750}, 6, 6, "IDS_DIFF_SMALL (amber) ........A. MAX min quick"},  // level 98
        {{.fw = 0, .flow = 749}, 6, 6, "IDS_FWZ_SET_MIN_TEACH (green) .........G MAX MIN quick"},
        {{.settled = false}, 10, 10, "IDS_FWZ_FLOW_NOT_SET (amber) .....A.... max min quick"},
        {{}, 10, 10, "IDS_FWZ_SET_QUICK_TEACH (green) .....G.... max min QUICK"},
        {{}, 13, 13, "IDS_SET_QUICK_TEACH_MAN (amber) .....g.... max min quick"},
        // The waiting states change nothing, whatever the flow.
        {{.flow = 790}, 3, 3, " (green) .......... max min quick"},
        {{.flow = 790}, 7, 7, " (green) .......... max min quick"},
        {{.flow = 790}, 8, 8, " (green) .......... max min quick"},
        {{.flow = 790}, 11, 11, " (green) .......... max min quick"},
        {{.flow = 790}, 12, 12, " (green) .......... max min quick"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << c.state << ", row " << &c - cases.data());
        WizardStand s = directView(c.in);
        load(s, c.in);
        auto& v = s.v();
        for (auto* b : {childButton(v, "ComTMax").get(), childButton(v, "ComTMin").get(),
                        childButton(v, "ComTQuick").get()})
            b->setEnabled(false);
        ViewTestSeam::enterTeachState(v, wizard::TeachState{c.state});
        ViewTestSeam::update(v);
        EXPECT_EQ(wizard::number(v.progress().mTeachState), c.stateAfter);
        EXPECT_EQ(seen(s), c.seen);
    }
}

// A trigger that an earlier update enabled goes off again when the flow no longer allows it: the
// update that follows must take back what the first one gave, not only leave it alone. The flow
// at exactly the span allows no new maximum; one above does.
TEST_F(StateStepTest, LaterUpdateTakesBackWhatTheFlowNoLongerAllows) {
    struct Case {
        int state;
        Values first, then;
        const char* seenFirst;
        const char* seenThen;
    };
    const std::vector<Case> cases = {
        {10,
         {},
         {.settled = false},
         "IDS_FWZ_SET_QUICK_TEACH (green) .....G.... max min QUICK",
         "IDS_FWZ_FLOW_NOT_SET (amber) .....A.... max min quick"},
        {2,
         {.flow = 11},
         {.flow = 11, .settled = false},
         "IDS_FWZ_SET_MAX_TEACH (green) G......... MAX min quick",
         "IDS_FWZ_FLOW_NOT_SET (amber) A......... max min quick"},
        {2,
         {.flow = 11},
         {.flow = 10},
         "IDS_FWZ_SET_MAX_TEACH (green) G......... MAX min quick",
         "IDS_FWZ_SET_MAX (amber) G......... max min quick"},
        {6,
         {.flow = 790},
         {.flow = 790, .settled = false},
         "IDS_FWZ_SET_MIN_TEACH (green) .........G MAX MIN quick",
         "IDS_FWZ_FLOW_NOT_SET (amber) .........A max min quick"},
        {6,
         {.flow = 790},
         {.flow = 792},
         "IDS_FWZ_SET_MIN_TEACH (green) .........G MAX MIN quick",
         "IDS_DIFF_SMALL (amber) .......A.g MAX min quick"},
        {6,
         {.flow = 11, .max = 15},
         {.flow = 10, .max = 15},
         "IDS_DIFF_SMALL (amber) ....A..... MAX min quick",
         "IDS_DIFF_SMALL (amber) .....A.... max min quick"},
        {6,
         {.flow = 11, .max = 21},
         {.flow = 10, .max = 20},
         "IDS_FWZ_SET_MIN_TEACH (green) .........G MAX MIN quick",
         "IDS_FWZ_SET_MIN_TEACH (green) .........G max MIN quick"},
        {6,
         {.fw = 0, .flow = 52, .max = 103},
         {.fw = 0, .flow = 51, .max = 102},
         "IDS_FWZ_SET_MIN_TEACH (green) .........G MAX MIN quick",
         "IDS_FWZ_SET_MIN_TEACH (green) .........G max MIN quick"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << c.state << ", row " << &c - cases.data());
        WizardStand s = directView(c.first);
        auto& v = s.v();
        load(s, c.first);
        for (auto* b : {childButton(v, "ComTMax").get(), childButton(v, "ComTMin").get(),
                        childButton(v, "ComTQuick").get()})
            b->setEnabled(false);
        ViewTestSeam::enterTeachState(v, wizard::TeachState{c.state});
        ViewTestSeam::update(v);
        EXPECT_EQ(seen(s), c.seenFirst);
        load(s, c.then);
        s.update();
        EXPECT_EQ(wizard::number(v.progress().mTeachState), c.state);
        EXPECT_EQ(seen(s), c.seenThen);
    }
}

// The lamp walks down the column as the flow falls; only the lamp of the present level is lit.
TEST_F(StateStepTest, LevelLampWalksDownAndClearsTheOneBefore) {
    WizardStand s = directView({});
    load(s, {.flow = 799});
    ViewTestSeam::enterTeachState(s.v(), wizard::TeachState::WaitingForMinimum);
    std::vector<std::string> seen;
    for (int flow : {799, 797, 794, 791, 790, 795}) {
        WizardStand::put(s.v().refs().PROINFLOW_RAW, std::to_string(flow));
        s.update();
        seen.push_back(lamps(s));
    }
    // The level lamps never touch the bottom lamp: once lit it stays, steady, when the flow rises.
    EXPECT_EQ(seen, (std::vector<std::string>{".A........", "...A......", ".....A....", "........A.",
                                              ".........G", ".....A...g"}));
}

// Idle: the message and the manual inputs depend on the mode and, in max/min mode, on whether
// the taught span is usable. Inputs locked beforehand show which ones the update unlocked.
TEST_F(StateStepTest, IdleOffersTheInputsOfTheDevicesMode) {
    // Set buttons | fields | frames, upper case where enabled or shown.
    auto inputs = [](WizardStand& s) {
        auto flag = [](bool on, const char* up, const char* low) { return on ? up : low; };
        auto& v = s.v();
        return std::string(flag(childButton(v, "ComSetFL")->enabled(), "FL", "fl")) + " " +
               flag(childButton(v, "ComSetPara")->enabled(), "TP", "tp") + " " +
               flag(childButton(v, "ComSetQT")->enabled(), "QT", "qt") + "|" +
               flag(childTextBox(v, "LaTMax")->visible(), "MAXMIN", "maxmin") + " " +
               flag(childLabel(v, "LabelTQuick")->visible(), "QUICK", "quick") + "|" +
               flag(childFrame(v, "FrameFL")->visible(), "FL", "fl") + " " +
               flag(childFrame(v, "FrameQT")->visible(), "QT", "qt");
    };
    struct Case {
        Values in;
        const char* status;
        const char* inputs;
    };
    const std::vector<Case> cases = {
        {{.min = 100, .max = 109}, "IDS_FWZ_SELECT_TEACH (amber)", "fl tp qt|maxmin quick|FL qt"},
        {{.min = 100, .max = 110}, "IDS_FWZ_MAX_MIN_ACT (green)", "FL TP qt|MAXMIN quick|FL qt"},
        {{.fw = 0, .min = 100, .max = 150}, "IDS_FWZ_SELECT_TEACH (amber)", "fl tp qt|maxmin quick|FL qt"},
        {{.fw = 0, .min = 100, .max = 151}, "IDS_FWZ_MAX_MIN_ACT (green)", "FL TP qt|MAXMIN quick|FL qt"},
        {{.mode = 1}, "IDS_FWZ_QUICK_ACT (green)", "fl TP QT|maxmin QUICK|fl QT"},
        {{.fw = 0, .mode = 1}, "IDS_FWZ_QUICK_ACT (green)", "fl TP QT|maxmin quick|fl QT"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases.data());
        WizardStand s = directView(c.in);
        load(s, c.in);
        auto& v = s.v();
        ViewTestSeam::enableSettingInput(v, wizard::SettingPane::Flow, false);
        ViewTestSeam::enableSettingInput(v, wizard::SettingPane::Temperature, false);
        ViewTestSeam::enableSettingInput(v, wizard::SettingPane::Quick, false);
        ViewTestSeam::showMaxMinFields(v, false);
        childLabel(v, "LabelTQuick")->setVisible(false);
        childButton(v, "ComTeachMaxMin")->setEnabled(false);
        childButton(v, "ComSetTeach")->setEnabled(true);
        childTextBox(v, "LaTMaxW")->setEnabled(true);
        ViewTestSeam::update(v);
        EXPECT_EQ(wizard::number(v.progress().mTeachState), 0);
        EXPECT_EQ(message(s), c.status);
        EXPECT_EQ(inputs(s), c.inputs);
        // Whatever the mode: ready to start either procedure, nothing to teach or set by hand.
        EXPECT_TRUE(childButton(v, "ComTeachMaxMin")->enabled());
        EXPECT_TRUE(childButton(v, "ComteachQuick")->enabled());
        EXPECT_FALSE(childButton(v, "ComSetTeach")->enabled());
        EXPECT_FALSE(childTextBox(v, "LaTMaxW")->enabled());
        EXPECT_EQ(triggers(s), "max min quick");
        EXPECT_TRUE(childButton(v, "ComTMax")->visible() && childButton(v, "ComTMin")->visible() &&
                    childButton(v, "ComTQuick")->visible());
    }
}

// A success stays for exactly three updates, then the wizard is idle and says so. The lamps go
// off at once after a max/min teach, only at the end after a quick teach.
TEST_F(StateStepTest, SuccessShowsForThreeUpdates) {
    struct Case {
        int state;
        const char* message;
        std::vector<std::string> lampsSeen;
    };
    const std::vector<Case> cases = {
        {9, "IDS_FWZ_MAX_MIN_SUCC", {"..........", "..........", ".........."}},
        {14, "IDS_FWZ_QUICK_SUCC", {".....g....", ".....g....", ".........."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        WizardStand s = directView({});
        load(s, {});
        auto& v = s.v();
        childLamps(v)->SetLED(5, kGreen, false);
        childButton(v, "ComTeachCancel")->setEnabled(true);
        ViewTestSeam::enterTeachState(v, wizard::TeachState{c.state});
        std::vector<std::string> lampsSeen;
        for (int update = 1; update <= 3; ++update) {
            SCOPED_TRACE(update);
            s.update();
            EXPECT_EQ(s.status(), c.message);
            EXPECT_EQ(childButton(v, "ComTeachCancel")->enabled(), update < 3);
            EXPECT_EQ(wizard::number(v.progress().mTeachState), update < 3 ? c.state : 0);
            EXPECT_EQ(v.progress().SuccessTicks, update < 3 ? update : 0);
            lampsSeen.push_back(lamps(s));
        }
        EXPECT_EQ(lampsSeen, c.lampsSeen);
        s.update();
        EXPECT_EQ(s.status(), "IDS_FWZ_MAX_MIN_ACT");
    }
}

}  // namespace
}  // namespace qx::stand::test
