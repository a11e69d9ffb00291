// The wizard's state step as the user sees it after an update: the status message and its
// colour, the lamp column and the teach buttons, for every state, on both firmware spans.
#include <cctype>
#include <string>

#include "wizard/LiveViewStand.h"

namespace qx::live::test {
namespace {

class StateStepTest : public LiveViewTest {};

// The column top to bottom: '.' off, 'g' green, 'a' amber; the blinking lamp in capitals.
std::string lamps(const Live& s) {
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
std::string triggers(Live& s) {
    auto flag = [](const platform::Control& c, const char* on, const char* off) {
        return c.enabled() ? on : off;
    };
    auto& v = s.v();
    return std::string(flag(*v.ComTMax, "MAX", "max")) + " " + flag(*v.ComTMin, "MIN", "min") + " " +
           flag(*v.ComTQuick, "QUICK", "quick");
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

Live directView(const Values& in) {
    DeviceOptions o;
    o.fw = in.fw;
    return Live(o, false);
}

void load(Live& s, const Values& in) {
    auto& v = s.v();
    Live::put(v.pTEACHDO_QUICK_MODE, std::to_string(in.mode));
    Live::put(v.pPROINFLOW_RAW, std::to_string(in.flow));
    Live::put(v.pDELTAFLOW_NEW, in.settled ? "1" : "0");
    Live::put(v.pTEACH_MIN, std::to_string(in.min));
    Live::put(v.pTEACH_MAX, std::to_string(in.max));
}

TEST_F(StateStepTest, EachStateShowsItsMessageLampsAndTriggers) {
    struct Case {
        const char* label;
        Values in;
        int state;
        // expected
        int stateAfter;
        const char* status;
        uint32_t colour;
        const char* lampColumn;
        const char* buttons;
    };
    const uint32_t none = kGreen;  // the status line's design colour: no message shown
    const std::vector<Case> cases = {
        {"1 moves on and shows nothing", {}, 1, 2, "", none, "..........", "max min quick"},
        {"2, flow at the span (firmware 0)",
         {.fw = 0, .flow = 51},
         2,
         2,
         "IDS_FWZ_SET_MAX",
         kAmber,
         "..........",
         "max min quick"},
        {"2, flow above the span, settled (firmware 0)",
         {.fw = 0, .flow = 52},
         2,
         2,
         "IDS_FWZ_SET_MAX_TEACH",
         kGreen,
         "G.........",
         "MAX min quick"},
        {"2, flow at the span (firmware 1)",
         {.flow = 10},
         2,
         2,
         "IDS_FWZ_SET_MAX",
         kAmber,
         "..........",
         "max min quick"},
        {"2, flow above the span, not settled",
         {.flow = 11, .settled = false},
         2,
         2,
         "IDS_FWZ_FLOW_NOT_SET",
         kAmber,
         "A.........",
         "max min quick"},
        {"4 reports the maximum and moves on",
         {},
         4,
         6,
         "IDS_SET_MAX_SUCC",
         kGreen,
         "..........",
         "max min quick"},
        {"5 shows both ends steady", {}, 5, 5, "IDS_SET_MM_TEACH_MAN", kAmber, "g........g", "max min quick"},
        // State 6: the level is 100 when the flow lies one span below the taught maximum.
        {"6, flow above the maximum",
         {.flow = 801},
         6,
         6,
         "IDS_FWZ_FLOW_TO_HIGH",
         kAmber,
         ".A........",
         "MAX min quick"},
        {"6, just below the maximum (level 10)",
         {.flow = 799},
         6,
         6,
         "IDS_FWZ_FLOW_TO_HIGH",
         kAmber,
         ".A........",
         "MAX min quick"},
        {"6, level 20", {.flow = 798}, 6, 6, "IDS_DIFF_SMALL", kAmber, "..A.......", "MAX min quick"},
        {"6, level 80", {.flow = 792}, 6, 6, "IDS_DIFF_SMALL", kAmber, ".......A..", "MAX min quick"},
        {"6, level 90", {.flow = 791}, 6, 6, "IDS_DIFF_SMALL", kAmber, "........A.", "MAX min quick"},
        {"6, span reached, settled",
         {.flow = 790},
         6,
         6,
         "IDS_FWZ_SET_MIN_TEACH",
         kGreen,
         ".........G",
         "MAX MIN quick"},
        {"6, span reached, not settled",
         {.flow = 790, .settled = false},
         6,
         6,
         "IDS_FWZ_FLOW_NOT_SET",
         kAmber,
         ".........A",
         "max min quick"},
        {"6, span reached with the flow too low to teach a maximum",
         {.flow = 5, .max = 15},
         6,
         6,
         "IDS_FWZ_SET_MIN_TEACH",
         kGreen,
         ".........G",
         "max MIN quick"},
        {"6, firmware 0, 50 below (level 98)",
         {.fw = 0, .flow = 750},
         6,
         6,
         "IDS_DIFF_SMALL",
         kAmber,
         "........A.",
         "MAX min quick"},
        {"6, firmware 0, 51 below (level 100)",
         {.fw = 0, .flow = 749},
         6,
         6,
         "IDS_FWZ_SET_MIN_TEACH",
         kGreen,
         ".........G",
         "MAX MIN quick"},
        {"10, not settled",
         {.settled = false},
         10,
         10,
         "IDS_FWZ_FLOW_NOT_SET",
         kAmber,
         ".....A....",
         "max min quick"},
        {"10, settled", {}, 10, 10, "IDS_FWZ_SET_QUICK_TEACH", kGreen, ".....G....", "max min QUICK"},
        {"13 shows the middle lamp steady",
         {},
         13,
         13,
         "IDS_SET_QUICK_TEACH_MAN",
         kAmber,
         ".....g....",
         "max min quick"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Live s = directView(c.in);
        load(s, c.in);
        auto& v = s.v();
        for (auto* b : {v.ComTMax.get(), v.ComTMin.get(), v.ComTQuick.get()}) b->setEnabled(false);
        v.mTeachState = c.state;
        v.UpdateView();
        EXPECT_EQ(v.mTeachState, c.stateAfter);
        EXPECT_EQ(s.status(), c.status);
        EXPECT_EQ(s.statusColour(), c.colour);
        EXPECT_EQ(lamps(s), c.lampColumn);
        EXPECT_EQ(triggers(s), c.buttons);
    }
}

// The lamp walks down the column as the flow falls; only the lamp of the present level is lit.
TEST_F(StateStepTest, LevelLampWalksDownAndClearsTheOneBefore) {
    Live s = directView({});
    load(s, {.flow = 799});
    s.v().mTeachState = 6;
    std::vector<std::string> seen;
    for (int flow : {799, 797, 794, 791, 790, 795}) {
        Live::put(s.v().pPROINFLOW_RAW, std::to_string(flow));
        s.update();
        seen.push_back(lamps(s));
    }
    // The level lamps never touch the bottom lamp: once lit it stays, steady, when the flow rises.
    EXPECT_EQ(seen, (std::vector<std::string>{".A........", "...A......", ".....A....", "........A.",
                                              ".........G", ".....A...g"}));
}

TEST_F(StateStepTest, WaitingStatesChangeNothing) {
    for (int state : {3, 7, 8, 11, 12}) {
        SCOPED_TRACE(state);
        Live s = directView({});
        load(s, {.flow = 790});
        auto& v = s.v();
        v.CtlLedIM1->SetLED(9, kAmber, false);
        for (auto* b : {v.ComTMax.get(), v.ComTMin.get(), v.ComTQuick.get()}) b->setEnabled(false);
        v.mTeachState = state;
        v.UpdateView();
        EXPECT_EQ(v.mTeachState, state);
        EXPECT_EQ(s.status(), "");
        EXPECT_EQ(lamps(s), ".........a");
        EXPECT_EQ(triggers(s), "max min quick");
    }
}

// Idle: the message and the manual inputs depend on the mode and, in max/min mode, on whether
// the taught span is usable. Inputs locked beforehand show which ones the update unlocked.
TEST_F(StateStepTest, IdleOffersTheInputsOfTheDevicesMode) {
    struct Case {
        const char* label;
        Values in;
        const char* status;
        uint32_t colour;
        bool flowInput, tempInput, offsetInput, maxMinFields, quickFields;
        bool frameFL, frameQT;
    };
    const std::vector<Case> cases = {
        {"max/min, span one short (firmware 1)",
         {.min = 100, .max = 109},
         "IDS_FWZ_SELECT_TEACH",
         kAmber,
         false,
         false,
         false,
         false,
         false,
         true,
         false},
        {"max/min, span sufficient (firmware 1)",
         {.min = 100, .max = 110},
         "IDS_FWZ_MAX_MIN_ACT",
         kGreen,
         true,
         true,
         false,
         true,
         false,
         true,
         false},
        {"max/min, span one short (firmware 0)",
         {.fw = 0, .min = 100, .max = 150},
         "IDS_FWZ_SELECT_TEACH",
         kAmber,
         false,
         false,
         false,
         false,
         false,
         true,
         false},
        {"max/min, span sufficient (firmware 0)",
         {.fw = 0, .min = 100, .max = 151},
         "IDS_FWZ_MAX_MIN_ACT",
         kGreen,
         true,
         true,
         false,
         true,
         false,
         true,
         false},
        {"quick-teach mode (firmware 1)",
         {.mode = 1},
         "IDS_FWZ_QUICK_ACT",
         kGreen,
         false,
         true,
         true,
         false,
         true,
         false,
         true},
        {"quick-teach mode (firmware 0)",
         {.fw = 0, .mode = 1},
         "IDS_FWZ_QUICK_ACT",
         kGreen,
         false,
         true,
         true,
         false,
         false,
         false,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Live s = directView(c.in);
        load(s, c.in);
        auto& v = s.v();
        v.EnableFlowSwitchPointInput(false);
        v.EnableTempSwitchPointInput(false);
        v.EnableQuickOffsetInput(false);
        v.ShowMaxMinFields(false);
        v.LabelTQuick->setVisible(false);
        v.ComTeachMaxMin->setEnabled(false);
        v.ComSetTeach->setEnabled(true);
        v.LaTMaxW->setEnabled(true);
        v.UpdateView();
        EXPECT_EQ(v.mTeachState, 0);
        EXPECT_EQ(s.status(), c.status);
        EXPECT_EQ(s.statusColour(), c.colour);
        EXPECT_EQ(v.ComSetFL->enabled(), c.flowInput);
        EXPECT_EQ(v.ComSetPara->enabled(), c.tempInput);
        EXPECT_EQ(v.ComSetQT->enabled(), c.offsetInput);
        EXPECT_EQ(v.LaTMax->visible(), c.maxMinFields);
        EXPECT_EQ(v.LabelTQuick->visible(), c.quickFields);
        EXPECT_EQ(v.FrameFL->visible(), c.frameFL);
        EXPECT_EQ(v.FrameQT->visible(), c.frameQT);
        // Whatever the mode: ready to start either procedure, nothing to teach or set by hand.
        EXPECT_TRUE(v.ComTeachMaxMin->enabled());
        EXPECT_TRUE(v.ComteachQuick->enabled());
        EXPECT_FALSE(v.ComSetTeach->enabled());
        EXPECT_FALSE(v.LaTMaxW->enabled());
        EXPECT_EQ(triggers(s), "max min quick");
        EXPECT_TRUE(v.ComTMax->visible() && v.ComTMin->visible() && v.ComTQuick->visible());
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
        Live s = directView({});
        load(s, {});
        auto& v = s.v();
        v.CtlLedIM1->SetLED(5, kGreen, false);
        v.ComTeachCancel->setEnabled(true);
        v.mTeachState = c.state;
        std::vector<std::string> lampsSeen;
        for (int update = 1; update <= 3; ++update) {
            SCOPED_TRACE(update);
            s.update();
            EXPECT_EQ(s.status(), c.message);
            EXPECT_EQ(v.ComTeachCancel->enabled(), update < 3);
            EXPECT_EQ(v.mTeachState, update < 3 ? c.state : 0);
            EXPECT_EQ(v.SuccessTicks, update < 3 ? update : 0);
            lampsSeen.push_back(lamps(s));
        }
        EXPECT_EQ(lampsSeen, c.lampsSeen);
        s.update();
        EXPECT_EQ(s.status(), "IDS_FWZ_MAX_MIN_ACT");
    }
}

// One counter serves both success states: ticks left over from one count towards the other.
TEST_F(StateStepTest, SuccessTicksAreSharedByBothSuccessStates) {
    Live s = directView({});
    load(s, {});
    auto& v = s.v();
    v.mTeachState = 9;
    s.update();
    s.update();
    v.mTeachState = 14;
    s.update();
    EXPECT_EQ(v.mTeachState, 0);
    EXPECT_EQ(v.SuccessTicks, 0);
}

}  // namespace
}  // namespace qx::live::test
