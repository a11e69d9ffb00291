// The poll cycle and the view's other timers on virtual time: what one read job carries, when a
// tick sends nothing, the status line's minimum display time, the run-time counter in LaTime,
// and the helpers around them. The poll rhythm itself is the console scenarios'.
#include "view/ViewChildren.h"
#include "view/ViewStand.h"

namespace qx::view::test {
namespace {

constexpr uint32_t kGreen = 0x80FF80;
constexpr uint32_t kAmber = 52222;
constexpr uint32_t kWhite = 0xFFFFFF;

class PollingTest : public ViewTest {};

TEST_F(PollingTest, PollListHoldsWhatTheDeviceHasInReadOrder) {
    struct Case {
        const char* label;
        std::function<void(DeviceOptions&)> options;
        bool refresh;
        std::vector<std::string> expected;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"full device, switch inputs to reload", [](auto&) {}, true,
         {"DELTAFLOW_RAW", "DELTAFLOW_NEW", "PROINFLOW_RAW", "TEACH_MAX_SAVE", "TEACH_MIN_SAVE", "PROINTEMP", "SWPOINT",
          "TEACHDO_SWPOINT", "TEACHDO_QUICK", "TEACHDO_QUICK_MODE", "FLOWSP_RAW", "FLOWSPQT_RAW"}},
        {"full device", [](auto&) {}, false,
         {"DELTAFLOW_RAW", "DELTAFLOW_NEW", "PROINFLOW_RAW", "TEACH_MAX_SAVE", "TEACH_MIN_SAVE", "PROINTEMP", "SWPOINT",
          "TEACHDO_QUICK_MODE", "FLOWSP_RAW", "FLOWSPQT_RAW"}},
        {"minimal device", [](auto& o) { o.teachPresent = false, o.quickMode = o.flowSp = o.flowSpQt = Presence::Missing; },
         false, {"DELTAFLOW_RAW", "DELTAFLOW_NEW", "PROINFLOW_RAW", "PROINTEMP", "SWPOINT"}},
        // Set points without a value are not read; a switch point without one is not reloaded.
        {"values missing", [](auto& o) { o.category = DeviceOptions::Category::Other, o.swPoint = o.flowSp = o.flowSpQt = Presence::NoValue; },
         true, {"DELTAFLOW_RAW", "DELTAFLOW_NEW", "PROINFLOW_RAW", "TEACH_MAX", "TEACH_MIN", "PROINTEMP", "SWPOINT",
                "TEACHDO_QUICK", "TEACHDO_QUICK_MODE"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        BoundStand s(with(c.options), false);
        ViewTestSeam::progress(*s.view).mRefreshSwitchInputs = c.refresh;
        std::vector<std::string> names;
        for (const auto& p : ViewTestSeam::pollList(*s.view)) names.push_back(nameOf(p));
        EXPECT_EQ(names, c.expected);
    }
}

// A tick before "CONNECTED" sends nothing and the timer keeps running; a tick that fails logs,
// and the next one tries again.
TEST_F(PollingTest, TicksWaitForTheConnectionAndOutliveFailures) {
    BoundStand s(neutral(), false);
    auto& v = *s.view;
    s.f.link().latencyMs = 2500;
    childTimer(v, "Timer1")->setEnabled(true);
    v.frame().mSpecComm->Connecting(true);  // "CONNECTED" at 2.5 s
    s.f.wait(2400);
    EXPECT_EQ(v.jobs().pending()->Count(), 0);
    s.f.wait(600);  // the tick at 3 s finds the device connected
    EXPECT_EQ(v.jobs().pending()->Count(), 1);
    EXPECT_EQ(logged("Timer1_Timer", false), 0);

    s.f.wait(2500);
    auto guarded = std::make_shared<GuardedCommunication>(v.frame().mSpecComm);
    guarded->failReads = true;
    ViewTestSeam::frame(v).mSpecComm = guarded;
    s.f.wait(2000);
    EXPECT_EQ(logged(onError("Timer1_Timer", platform::kObjectError + 7, "The line is gone")), 2);
    EXPECT_EQ(v.jobs().pending()->Count(), 0);
    EXPECT_TRUE(childTimer(v, "Timer1")->enabled());
}

// Each message stays at least 2 s; of those asked for meanwhile only the last follows, and one
// equal to the message on display is dropped, whatever its style. A style beyond 2 fails after
// the caption is shown.
TEST_F(PollingTest, StatusStaysTwoSecondsAndOnlyTheLastWaitingOneFollows) {
    frame::StandFrame f;
    auto& v = f.create();
    std::vector<std::string> shown;
    auto watch =
        childLabel(v, "LaStatus")->observe([&](const platform::Control&, const std::string& property) {
            if (property == "Caption") shown.push_back(childLabel(v, "LaStatus")->caption());
        });
    ViewTestSeam::showStatus(v, "A", 0);
    EXPECT_EQ(childLabel(v, "LaStatus")->backColor(), kGreen);
    f.wait(500);
    ViewTestSeam::showStatus(v, "B", 1);
    f.wait(500);
    ViewTestSeam::showStatus(v, "C", 2);
    ViewTestSeam::showStatus(v, "A", 1);
    f.wait(999);
    EXPECT_EQ(childLabel(v, "LaStatus")->caption(), "A");
    f.wait(1);
    EXPECT_EQ(childLabel(v, "LaStatus")->caption(), "C");
    EXPECT_EQ(childLabel(v, "LaStatus")->backColor(), kAmber);
    f.wait(2000);
    EXPECT_FALSE(childTimer(v, "TimerState")->enabled());
    ViewTestSeam::showStatus(v, "C", 0);
    EXPECT_FALSE(childTimer(v, "TimerState")->enabled());
    EXPECT_EQ(shown, (std::vector<std::string>{"A", "C"}));

    EXPECT_THROW(ViewTestSeam::showStatus(v, "X", 3), platform::RuntimeError);
    EXPECT_EQ(childLabel(v, "LaStatus")->caption(), "X");
    EXPECT_TRUE(childTimer(v, "TimerState")->enabled());
    EXPECT_EQ(childLabel(v, "LaStatus")->backColor(), kAmber);
}

// The counter's text sits right-aligned in the chart frame on the line of the temperature
// legend, also when it grows by a digit; every "%1" is filled, a text without one stays as it is.
TEST_F(PollingTest, RunTimeCounterCountsSecondsIntoLaTime) {
    frame::StandFrame f;
    auto& v = f.create();
    childFrame(v, "FrameChart")->setWidth(9000);
    childMyLabel(v, "LaLeTS")->setTop(777);
    ViewTestSeam::status(v).mRunTime = 8;
    childTimer(v, "TimerCnt")->setEnabled(true);
    f.wait(1000);
    EXPECT_EQ(childMyLabel(v, "LaTime")->caption(), "Running time: 9 s");
    const int32_t narrow = childMyLabel(v, "LaTime")->width();
    EXPECT_EQ(childMyLabel(v, "LaTime")->left(), 9000 - narrow);
    EXPECT_EQ(childMyLabel(v, "LaTime")->top(), 777);
    f.wait(1000);
    EXPECT_GT(childMyLabel(v, "LaTime")->width(), narrow);
    EXPECT_EQ(childMyLabel(v, "LaTime")->left() + childMyLabel(v, "LaTime")->width(), 9000);

    auto resource = std::make_shared<ScriptedResource>();
    resource->texts["IDS_TTIP_TIME_RUN"] = "%1 of %1";
    ViewTestSeam::frame(v).mRes = resource;
    f.wait(1000);
    EXPECT_EQ(childMyLabel(v, "LaTime")->caption(), "11 of 11");
    resource->texts["IDS_TTIP_TIME_RUN"] = "running";
    f.wait(2000);
    EXPECT_EQ(childMyLabel(v, "LaTime")->caption(), "running");
    EXPECT_EQ(v.status().mRunTime, 13);
}

// Lamps 1 to 8 go off except the one kept; the two ends are never touched.
TEST_F(PollingTest, ClearLevelLampsKeepsTheGivenLampAndTheEnds) {
    const uint32_t g = kGreen, w = kWhite;
    // clang-format off
    for (const auto& [keep, expected] : std::vector<std::pair<int16_t, std::vector<uint32_t>>>{
             {1, {g, g, w, w, w, w, w, w, w, g}}, {8, {g, w, w, w, w, w, w, w, g, g}}, {9, {g, w, w, w, w, w, w, w, w, g}}}) {
        // clang-format on
        SCOPED_TRACE(std::to_string(keep));
        frame::StandFrame f;
        auto& v = f.create();
        for (int16_t lamp = 0; lamp < 10; ++lamp) childLamps(v)->SetLED(lamp, kGreen);
        ViewTestSeam::clearLevelLamps(v, keep);
        std::vector<uint32_t> colours;
        for (int32_t lamp = 0; lamp < 10; ++lamp) colours.push_back(childLamps(v)->lampColor(lamp));
        EXPECT_EQ(colours, expected);
    }
}

}  // namespace
}  // namespace qx::view::test
