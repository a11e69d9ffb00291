// The view's other timers on virtual time: the status line's minimum display time, the
// run-time counter in LaTime, and the helpers around them.
#include "view/BindingTestSupport.h"

namespace qx::view::test {
namespace {

using frame::InitTarget;

constexpr uint32_t kGreen = 0x80FF80;
constexpr uint32_t kAmber = 52222;
constexpr uint32_t kWhite = 0xFFFFFF;

class PollingTimersTest : public StandTest {};

// Every caption the status line showed, in order.
struct StatusWatch {
    explicit StatusWatch(platform::Label& label) {
        label.observe([this](const platform::Control& c, const std::string& property) {
            if (property == "Caption") shown.push_back(static_cast<const platform::Label&>(c).caption());
        });
    }
    std::vector<std::string> shown;
};

TEST_F(PollingTimersTest, StatusStaysTwoSecondsAndOnlyTheLastWaitingOneFollows) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        StatusWatch watch(*v.LaStatus);
        v.ShowStatus("A", 0);
        EXPECT_EQ(v.LaStatus->backColor(), kGreen);
        f.wait(500);
        v.ShowStatus("B", 1);
        f.wait(500);
        v.ShowStatus("C", 2);
        f.wait(999);
        EXPECT_EQ(v.LaStatus->caption(), "A");
        f.wait(1);
        EXPECT_EQ(v.LaStatus->caption(), "C");
        EXPECT_EQ(v.LaStatus->backColor(), kAmber);
        EXPECT_TRUE(v.TimerState->enabled());
        f.wait(2000);
        EXPECT_FALSE(v.TimerState->enabled());
        f.wait(10'000);
        EXPECT_EQ(watch.shown, (std::vector<std::string>{"A", "C"}));
    });
}

// A request equal to the message on display is dropped, even while another one waits, and even
// with another style.
TEST_F(PollingTimersTest, StatusEqualToTheDisplayedOneIsDropped) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        StatusWatch watch(*v.LaStatus);
        v.ShowStatus("A", 0);
        v.ShowStatus("B", 2);
        v.ShowStatus("A", 1);
        f.wait(2000);
        EXPECT_EQ(v.LaStatus->caption(), "B");
        f.wait(2000);
        ASSERT_FALSE(v.TimerState->enabled());
        v.ShowStatus("B", 0);
        EXPECT_EQ(v.LaStatus->backColor(), kAmber);
        EXPECT_FALSE(v.TimerState->enabled());
        EXPECT_EQ(watch.shown, (std::vector<std::string>{"A", "B"}));
    });
}

TEST_F(PollingTimersTest, StatusWithAnUnknownStyleFailsAfterShowingIt) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        const uint32_t before = v.LaStatus->backColor();
        EXPECT_THROW(v.ShowStatus("X", 3), platform::RuntimeError);
        EXPECT_EQ(v.LaStatus->caption(), "X");
        EXPECT_TRUE(v.TimerState->enabled());
        EXPECT_EQ(v.LaStatus->backColor(), before);
    });
}

// The counter's text sits right-aligned in the chart frame on the line of the temperature
// legend, also when it grows by a digit.
TEST_F(PollingTimersTest, RunTimeCounterCountsSecondsIntoLaTime) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        v.FrameChart->setWidth(9000);
        v.LaLeTS->setTop(777);
        v.mRunTime = 8;
        v.TimerCnt->setEnabled(true);
        f.wait(1000);
        EXPECT_EQ(v.LaTime->caption(), "Running time: 9 s");
        const int32_t narrow = v.LaTime->width();
        EXPECT_EQ(v.LaTime->left(), 9000 - narrow);
        EXPECT_EQ(v.LaTime->top(), 777);
        f.wait(1000);
        EXPECT_EQ(v.LaTime->caption(), "Running time: 10 s");
        EXPECT_GT(v.LaTime->width(), narrow);
        EXPECT_EQ(v.LaTime->left() + v.LaTime->width(), 9000);
        EXPECT_EQ(v.mRunTime, 10);
    });
}

TEST_F(PollingTimersTest, RunTimeTextFillsEveryPlaceholderOrStaysAsItIs) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        auto resource = std::make_shared<ScriptedResource>();
        resource->texts["IDS_TTIP_TIME_RUN"] = "%1 of %1";
        v.mRes = resource;
        v.TimerCnt->setEnabled(true);
        f.wait(1000);
        EXPECT_EQ(v.LaTime->caption(), "1 of 1");
        resource->texts["IDS_TTIP_TIME_RUN"] = "running";
        f.wait(2000);
        EXPECT_EQ(v.LaTime->caption(), "running");
        EXPECT_EQ(v.mRunTime, 3);
    });
}

TEST_F(PollingTimersTest, ClearLevelLampsKeepsTheGivenLampAndTheEnds) {
    struct Case {
        int16_t keep;
        std::vector<uint32_t> expected;
    };
    const uint32_t g = kGreen, w = kWhite;
    for (const Case& c : {Case{3, {g, w, w, g, w, w, w, w, w, g}}, Case{9, {g, w, w, w, w, w, w, w, w, g}},
                          Case{0, {g, w, w, w, w, w, w, w, w, g}}, Case{8, {g, w, w, w, w, w, w, w, g, g}}}) {
        SCOPED_TRACE(c.keep);
        inFreshThread([&] {
            frame::StandFrame f;
            auto& v = f.create();
            for (int16_t lamp = 0; lamp < 10; ++lamp) v.CtlLedIM1->SetLED(lamp, kGreen);
            v.ClearLevelLamps(c.keep);
            std::vector<uint32_t> colours;
            for (int32_t lamp = 0; lamp < 10; ++lamp) colours.push_back(v.CtlLedIM1->lampColor(lamp));
            EXPECT_EQ(colours, c.expected);
        });
    }
}

// The Test button tears down like a release but leaves the connection alone.
TEST_F(PollingTimersTest, TestButtonStopsTimersAndDropsChartsAndSlidersOnly) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device);
        v.mSpecComm->Connecting(true);
        f.wait(1000);
        ASSERT_TRUE(v.mSpecComm->IsConnected());
        v.Timer1->setEnabled(true);
        v.TimerCnt->setEnabled(true);
        v.TimerState->setEnabled(true);
        v.ComTest->click();
        EXPECT_FALSE(v.Timer1->enabled());
        EXPECT_FALSE(v.TimerCnt->enabled());
        EXPECT_FALSE(v.TimerState->enabled());
        EXPECT_EQ(v.mFlowChart, nullptr);
        EXPECT_EQ(v.mTempChart, nullptr);
        EXPECT_FALSE(v.mSliderFL);
        EXPECT_FALSE(v.mSliderTP);
        f.wait(5000);
        EXPECT_TRUE(v.mSpecComm->IsConnected());
        EXPECT_NE(v.mModel, nullptr);
    });
}

}  // namespace
}  // namespace qx::view::test
