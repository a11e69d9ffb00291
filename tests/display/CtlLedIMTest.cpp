#include "display/CtlLedIM.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/RuntimeError.h"
#include "platform/VirtualScheduler.h"

namespace qx::display {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kAmber = 52222;
constexpr uint32_t kGreen = 0x80FF80;
constexpr uint32_t kRed = 255;

using Colours = std::vector<uint32_t>;

class CtlLedIMTest : public testing::Test {
  protected:
    Colours colours() const {
        Colours out;
        for (int32_t i = 0; i < led.lampCount(); ++i) out.push_back(led.lampColor(i));
        return out;
    }
    // Ten white lamps, the listed ones in other colours.
    static Colours column(std::vector<std::pair<size_t, uint32_t>> lit = {}) {
        Colours out(10, kWhite);
        for (auto [i, colour] : lit) out[i] = colour;
        return out;
    }

    platform::VirtualScheduler scheduler;
    CtlLedIM led{"CtlLedIM1", scheduler};
};

// Lamps are a tenth of the control's height whatever their count, stacked without gaps, and laid
// out only by Init: a later resize leaves them, a second Init drops the lamps of the first.
TEST_F(CtlLedIMTest, InitStacksLampsOfATenthOfTheHeight) {
    EXPECT_EQ(colours(), Colours{kWhite});  // before Init only the design lamp shows
    led.move(0, 0, 400, 975);
    led.Init(10, kWhite);
    ASSERT_EQ(led.lampCount(), 10);
    for (int32_t i = 0; i < 10; ++i) {
        const auto& l = led.lamp(i);
        EXPECT_EQ(std::vector<int32_t>({l.left, l.top, l.width, l.height, l.visible}),
                  std::vector<int32_t>({0, 97 * i, 400, 97, 1}))
            << i;
    }
    EXPECT_EQ(led.blinkingIndex(), -1);

    led.setHeight(1500);
    EXPECT_EQ(led.lamp(9).top, 873);
    led.Init(12, kWhite);
    EXPECT_EQ(led.lamp(11).top, 1650);  // past the bottom edge
    EXPECT_EQ(led.lamp(11).height, 150);
    led.Init(4, kWhite);
    EXPECT_EQ(colours(), Colours(4, kWhite));
    EXPECT_EQ(led.lamp(3).top, 450);
    EXPECT_THROW(led.lamp(4), platform::RuntimeError);

    // Without a real count only lamp 0 is left, in the off colour.
    for (int16_t count : {int16_t{1}, int16_t{0}, int16_t{-3}}) {
        led.Init(10, kWhite);
        led.SetLED(0, kRed);
        led.Init(count, 0x123456);
        EXPECT_EQ(colours(), Colours{0x123456}) << count;
    }

    led.setHeight(2'000'000'000);
    try {
        led.Init(20, kWhite);
        FAIL() << "Init swallowed its failure";
    } catch (const platform::RuntimeError& e) {
        EXPECT_EQ(e.number(), platform::kOverflow);
    }
}

// The blinking lamp shows its colour at once and alternates every half second; blinking another
// lamp restarts the half period and leaves the first in its present phase colour.
TEST_F(CtlLedIMTest, BlinkingLampAlternatesEveryHalfSecond) {
    led.Init(10, kWhite);
    int lampChanges = 0;
    auto watch =
        led.observe([&](const platform::Control&, const std::string& p) { lampChanges += p == "shLed"; });
    led.SetLED(3, kAmber, true);
    EXPECT_EQ(colours(), column({{3, kAmber}}));
    EXPECT_EQ(led.blinkingIndex(), 3);
    scheduler.advance(499);
    EXPECT_EQ(colours(), column({{3, kAmber}}));
    scheduler.advance(1);
    EXPECT_EQ(colours(), column());
    scheduler.advance(500);
    EXPECT_EQ(colours(), column({{3, kAmber}}));
    EXPECT_EQ(lampChanges, 3);  // lit, off, lit

    scheduler.advance(300);
    led.SetLED(4, kGreen, true);
    scheduler.advance(200);  // the first lamp's tick would have fallen here
    EXPECT_EQ(colours(), column({{3, kAmber}, {4, kGreen}}));
    scheduler.advance(300);
    EXPECT_EQ(colours(), column({{3, kAmber}}));
}

// A steady lamp (also with the blink argument left out), a cleared other lamp, Init or ClearAllLED
// end the blinking; the lamp that blinked keeps its present phase, or goes off when it is cleared.
TEST_F(CtlLedIMTest, WhatEndsTheBlinking) {
    struct Case {
        const char* label;
        int64_t after;
        std::function<void(CtlLedIM&)> act;
        Colours expected;
    };
    const std::vector<Case> cases = {
        {"steady lamp in the lit phase", 200, [](CtlLedIM& l) { l.SetLED(5, kGreen, false); },
         column({{3, kAmber}, {5, kGreen}})},
        {"steady lamp in the dark phase", 700, [](CtlLedIM& l) { l.SetLED(5, kGreen, false); },
         column({{5, kGreen}})},
        {"omitted blink argument", 200, [](CtlLedIM& l) { l.SetLED(5, kGreen); },
         column({{3, kAmber}, {5, kGreen}})},
        {"another lamp cleared", 200, [](CtlLedIM& l) { l.ClearLED(0); }, column({{3, kAmber}})},
        {"the blinking lamp cleared", 200, [](CtlLedIM& l) { l.ClearLED(3); }, column()},
        {"Init", 200, [](CtlLedIM& l) { l.Init(10, kWhite); }, column()},
        {"ClearAllLED", 200, [](CtlLedIM& l) { l.ClearAllLED(); }, column()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        led.Init(10, kWhite);
        led.SetLED(3, kAmber, true);
        scheduler.advance(c.after);
        c.act(led);
        EXPECT_EQ(led.blinkingIndex(), -1);
        scheduler.advance(5000);
        EXPECT_EQ(colours(), c.expected);
        EXPECT_FALSE(led.blinkTimer().enabled());
    }
}

// ClearAllLED paints every lamp in the off colour of Init and stops the timer at once; a cleared
// blinking lamp leaves the timer to notice by itself at its next tick.
TEST_F(CtlLedIMTest, ClearAllStopsTheTimerAtOnceClearLedAtTheNextTick) {
    led.Init(10, 0xEEEEEE);
    led.SetLED(0, kAmber);
    led.SetLED(4, kGreen, true);
    led.ClearAllLED();
    EXPECT_EQ(colours(), Colours(10, 0xEEEEEE));
    EXPECT_FALSE(led.blinkTimer().enabled());

    led.SetLED(3, kAmber, true);
    scheduler.advance(200);
    led.ClearLED(3);
    EXPECT_TRUE(led.blinkTimer().enabled());
    scheduler.advance(300);
    EXPECT_FALSE(led.blinkTimer().enabled());
}

TEST_F(CtlLedIMTest, LampOutsideTheColumnChangesNothingAndRaisesNothing) {
    led.Init(10, kWhite);
    led.SetLED(3, kAmber, true);
    EXPECT_NO_THROW(led.SetLED(42, kRed, true));
    // The rest of SetLED still took effect: lamp 42 is the (invisible) blinking lamp now.
    EXPECT_EQ(led.blinkingIndex(), 42);
    EXPECT_NO_THROW(scheduler.advance(3000));
    EXPECT_NO_THROW(led.SetLED(-1, kRed));
    EXPECT_NO_THROW(led.ClearLED(10));
    EXPECT_EQ(colours(), column({{3, kAmber}}));
}

}  // namespace
}  // namespace qx::display
