// The wizard's decisions on their own: the teach-in logic against a screen that only records what
// it is told, so each state's message, lamps and teach buttons are seen without a view, a frame
// or a device behind them.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <string>
#include <vector>

#include "wizard/TeachIn.h"

namespace qx::wizard {
namespace {

// What a person would see of the screen: the status line with its style, the lamp column and
// the three teach buttons. Lamps follow the column's rules: one lamp blinks at most, and a lamp
// set without blinking, or one cleared, ends the blinking.
class RecordingScreen : public WizardScreen {
  public:
    std::string status;
    StatusStyle style = StatusStyle::Normal;
    std::array<char, 10> lamps{};
    int blinking = -1;
    std::array<bool, 7> enabled{};
    std::vector<TeachCode> written;

    RecordingScreen() { lamps.fill('.'); }

    void showStatus(const char* textKey, StatusStyle s) override {
        status = textKey;
        style = s;
    }
    void enableButton(TeachButton button, bool on) override { enabled[static_cast<size_t>(button)] = on; }
    void showButton(TeachButton, bool) override {}
    void enableField(TeachField, bool) override {}
    void showMaxMinFields(bool) override {}
    void showPane(SettingPane, bool) override {}
    void enableSettingInput(SettingPane, bool) override {}
    bool switchPointAvailable() override { return true; }
    void resetLamps() override { clearLamps(); }
    void clearLamps() override {
        lamps.fill('.');
        blinking = -1;
    }
    void setLamp(int16_t lamp, LampSignal signal, bool blink) override {
        lamps[static_cast<size_t>(lamp)] = signal == LampSignal::Go ? 'g' : 'a';
        blinking = blink ? lamp : -1;
    }
    void clearLevelLamps(int16_t keep) override {
        for (int16_t lamp = 1; lamp <= 8; ++lamp) {
            if (lamp == keep) continue;
            lamps[static_cast<size_t>(lamp)] = '.';
            blinking = -1;
        }
    }
    void startProcedureWindow() override {}
    void endEditing() override {}
    void updateView() override {}
    void writeTeachCode(TeachCode code) override { written.push_back(code); }
    void sendTeachJob() override {}
    void sendTeachMode(bool) override {}
    void resetQuickOffset(int16_t) override {}

    // The message, the column top to bottom ('.' off, 'g' go, 'a' wait, the blinking lamp in
    // capitals) and the triggers (upper case when enabled).
    std::string seen() const {
        static constexpr std::array<const char*, 3> kStyles = {"normal", "attention", "warning"};
        std::string column(lamps.begin(), lamps.end());
        if (blinking >= 0) {
            auto& c = column[static_cast<size_t>(blinking)];
            c = static_cast<char>(std::toupper(c));
        }
        auto trigger = [&](TeachButton b, const char* up, const char* low) {
            return enabled[static_cast<size_t>(b)] ? up : low;
        };
        return status + " (" + kStyles[static_cast<size_t>(style)] + ") " + column + " " +
               trigger(TeachButton::Maximum, "MAX", "max") + " " +
               trigger(TeachButton::Minimum, "MIN", "min") + " " +
               trigger(TeachButton::Quick, "QUICK", "quick");
    }
};

// The device's values as the view update reads them before the step.
struct Values {
    int16_t fw = 1;
    TeachMode mode = TeachMode::MaxMin;
    int16_t flow = 0;
    bool settled = true;
    int16_t min = 100;
    int16_t max = 800;
};

struct Wizard {
    view::WizardProgress progress;
    view::BindingState binding;
    RecordingScreen screen;
    TeachIn logic{progress, binding, screen};

    Wizard(int state, const Values& in) {
        progress.mTeachState = TeachState{state};
        take(in);
    }
    void take(const Values& in) {
        binding.mFwVersion = in.fw;
        progress.mTeachMode = in.mode;
        progress.mFlow = in.flow;
        progress.mFlowUnsettled = in.settled ? 0 : -1;
        progress.mTeachMin = in.min;
        progress.mTeachMax = in.max;
    }
    int state() const { return number(progress.mTeachState); }
};

TEST(TeachIn, EachStateShowsItsMessageLampsAndTriggers) {
    struct Case {
        Values in;
        int state, stateAfter;
        const char* seen;
    };
    const std::vector<Case> cases = {
        {{}, 1, 2, " (normal) .......... max min quick"},
        // The flow must exceed the span (51 on firmware 0, 10 on newer firmware) and settle.
        {{.fw = 0, .flow = 51}, 2, 2, "IDS_FWZ_SET_MAX (warning) .......... max min quick"},
        {{.fw = 0, .flow = 52}, 2, 2, "IDS_FWZ_SET_MAX_TEACH (normal) G......... MAX min quick"},
        {{.flow = 10}, 2, 2, "IDS_FWZ_SET_MAX (warning) .......... max min quick"},
        {{.flow = 11, .settled = false}, 2, 2, "IDS_FWZ_FLOW_NOT_SET (warning) A......... max min quick"},
        {{}, 4, 6, "IDS_SET_MAX_SUCC (normal) .......... max min quick"},
        {{}, 5, 5, "IDS_SET_MM_TEACH_MAN (attention) g........g max min quick"},
        // State 6: the level is 100 when the flow lies one span below the taught maximum.
        {{.flow = 801}, 6, 6, "IDS_FWZ_FLOW_TO_HIGH (warning) .A........ MAX min quick"},
        {{.flow = 799}, 6, 6, "IDS_FWZ_FLOW_TO_HIGH (warning) .A........ MAX min quick"},  // level 10
        {{.flow = 798}, 6, 6, "IDS_DIFF_SMALL (warning) ..A....... MAX min quick"},        // level 20
        {{.flow = 792}, 6, 6, "IDS_DIFF_SMALL (warning) .......A.. MAX min quick"},        // level 80
        {{.flow = 791}, 6, 6, "IDS_DIFF_SMALL (warning) ........A. MAX min quick"},        // level 90
        {{.flow = 790}, 6, 6, "IDS_FWZ_SET_MIN_TEACH (normal) .........G MAX MIN quick"},
        {{.flow = 790, .settled = false}, 6, 6, "IDS_FWZ_FLOW_NOT_SET (warning) .........A max min quick"},
        // The span is reached, but the flow is too low to teach a maximum again.
        {{.flow = 5, .max = 15}, 6, 6, "IDS_FWZ_SET_MIN_TEACH (normal) .........G max MIN quick"},
        {{.fw = 0, .flow = 750}, 6, 6, "IDS_DIFF_SMALL (warning) ........A. MAX min quick"},  // level 98
        {{.fw = 0, .flow = 749}, 6, 6, "IDS_FWZ_SET_MIN_TEACH (normal) .........G MAX MIN quick"},
        {{.settled = false}, 10, 10, "IDS_FWZ_FLOW_NOT_SET (warning) .....A.... max min quick"},
        {{}, 10, 10, "IDS_FWZ_SET_QUICK_TEACH (normal) .....G.... max min QUICK"},
        {{}, 13, 13, "IDS_SET_QUICK_TEACH_MAN (attention) .....g.... max min quick"},
        // The waiting states change nothing, whatever the flow.
        {{.flow = 790}, 3, 3, " (normal) .......... max min quick"},
        {{.flow = 790}, 7, 7, " (normal) .......... max min quick"},
        {{.flow = 790}, 8, 8, " (normal) .......... max min quick"},
        {{.flow = 790}, 11, 11, " (normal) .......... max min quick"},
        {{.flow = 790}, 12, 12, " (normal) .......... max min quick"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << c.state << ", row " << &c - cases.data());
        Wizard w(c.state, c.in);
        w.logic.step();
        EXPECT_EQ(w.state(), c.stateAfter);
        EXPECT_EQ(w.screen.seen(), c.seen);
    }
}

// A trigger that an earlier step enabled goes off again when the flow no longer allows it: the
// step that follows must take back what the first one gave, not only leave it alone. The flow at
// exactly the span allows no new maximum; one above does.
TEST(TeachIn, LaterStepTakesBackWhatTheFlowNoLongerAllows) {
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
         "IDS_FWZ_SET_QUICK_TEACH (normal) .....G.... max min QUICK",
         "IDS_FWZ_FLOW_NOT_SET (warning) .....A.... max min quick"},
        {2,
         {.flow = 11},
         {.flow = 11, .settled = false},
         "IDS_FWZ_SET_MAX_TEACH (normal) G......... MAX min quick",
         "IDS_FWZ_FLOW_NOT_SET (warning) A......... max min quick"},
        {2,
         {.flow = 11},
         {.flow = 10},
         "IDS_FWZ_SET_MAX_TEACH (normal) G......... MAX min quick",
         "IDS_FWZ_SET_MAX (warning) G......... max min quick"},
        {6,
         {.flow = 790},
         {.flow = 790, .settled = false},
         "IDS_FWZ_SET_MIN_TEACH (normal) .........G MAX MIN quick",
         "IDS_FWZ_FLOW_NOT_SET (warning) .........A max min quick"},
        {6,
         {.flow = 790},
         {.flow = 792},
         "IDS_FWZ_SET_MIN_TEACH (normal) .........G MAX MIN quick",
         "IDS_DIFF_SMALL (warning) .......A.g MAX min quick"},
        {6,
         {.flow = 11, .max = 15},
         {.flow = 10, .max = 15},
         "IDS_DIFF_SMALL (warning) ....A..... MAX min quick",
         "IDS_DIFF_SMALL (warning) .....A.... max min quick"},
        {6,
         {.flow = 11, .max = 21},
         {.flow = 10, .max = 20},
         "IDS_FWZ_SET_MIN_TEACH (normal) .........G MAX MIN quick",
         "IDS_FWZ_SET_MIN_TEACH (normal) .........G max MIN quick"},
        {6,
         {.fw = 0, .flow = 52, .max = 103},
         {.fw = 0, .flow = 51, .max = 102},
         "IDS_FWZ_SET_MIN_TEACH (normal) .........G MAX MIN quick",
         "IDS_FWZ_SET_MIN_TEACH (normal) .........G max MIN quick"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << c.state << ", row " << &c - cases.data());
        Wizard w(c.state, c.first);
        w.logic.step();
        EXPECT_EQ(w.screen.seen(), c.seenFirst);
        w.take(c.then);
        w.logic.step();
        EXPECT_EQ(w.state(), c.state);
        EXPECT_EQ(w.screen.seen(), c.seenThen);
    }
}

// The lamp walks down the column as the flow falls; only the lamp of the present level is lit,
// and the bottom lamp, once lit, stays steady when the flow rises again.
TEST(TeachIn, LevelLampWalksDownAndClearsTheOneBefore) {
    Wizard w(6, {.flow = 799});
    std::vector<std::string> columns;
    for (int16_t flow : std::initializer_list<int16_t>{799, 797, 794, 791, 790, 795}) {
        w.progress.mFlow = flow;
        w.logic.step();
        const std::string seen = w.screen.seen();
        columns.push_back(seen.substr(seen.find(") ") + 2, 10));
    }
    EXPECT_EQ(columns, (std::vector<std::string>{".A........", "...A......", ".....A....", "........A.",
                                                 ".........G", ".....A...g"}));
}

// A success stays for exactly three steps, then the wizard is idle and says so. The lamps go off
// at once after a max/min teach, only at the end after a quick teach.
TEST(TeachIn, SuccessShowsForThreeSteps) {
    struct Case {
        int state;
        const char* message;
        std::vector<std::string> columns;
    };
    const std::vector<Case> cases = {
        {9, "IDS_FWZ_MAX_MIN_SUCC", {"..........", "..........", ".........."}},
        {14, "IDS_FWZ_QUICK_SUCC", {".....g....", ".....g....", ".........."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        Wizard w(c.state, {.min = 100, .max = 800});
        w.screen.setLamp(5, LampSignal::Go, false);
        w.screen.enableButton(TeachButton::Cancel, true);
        std::vector<std::string> columns;
        for (int step = 1; step <= 3; ++step) {
            SCOPED_TRACE(step);
            w.logic.step();
            EXPECT_EQ(w.screen.status, c.message);
            EXPECT_EQ(w.screen.enabled[static_cast<size_t>(TeachButton::Cancel)], step < 3);
            EXPECT_EQ(w.state(), step < 3 ? c.state : 0);
            EXPECT_EQ(w.progress.SuccessTicks, step < 3 ? step : 0);
            const std::string seen = w.screen.seen();
            columns.push_back(seen.substr(seen.find(") ") + 2, 10));
        }
        EXPECT_EQ(columns, c.columns);
        w.logic.step();
        EXPECT_EQ(w.screen.status, "IDS_FWZ_MAX_MIN_ACT");
    }
}

// The answers to the teach jobs lead through the reset codes to the end of the procedure; the
// category flag swaps the codes of maximum and minimum.
TEST(TeachIn, TeachJobsAndTheirAnswersWriteTheCodesInTurn) {
    for (bool category : {true, false}) {
        SCOPED_TRACE(category);
        Wizard w(6, {});
        w.binding.mCategoryMatch = category;
        w.logic.teachMaximum();
        EXPECT_EQ(w.state(), 3);
        w.logic.continueAfterAnswer();
        EXPECT_EQ(w.state(), 4);
        w.progress.mTeachState = TeachState::WaitingForMinimum;
        w.logic.teachMinimum();
        w.logic.continueAfterAnswer();
        EXPECT_EQ(w.state(), 8);
        w.logic.continueAfterAnswer();
        EXPECT_EQ(w.state(), 9);
        const TeachCode first = category ? TeachCode::TeachFirst : TeachCode::TeachSecond;
        const TeachCode second = category ? TeachCode::TeachSecond : TeachCode::TeachFirst;
        EXPECT_EQ(w.screen.written,
                  (std::vector<TeachCode>{first, TeachCode::Reset, second, TeachCode::Reset}));
    }
}

}  // namespace
}  // namespace qx::wizard
