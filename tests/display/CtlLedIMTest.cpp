#include "display/CtlLedIM.h"

#include <gtest/gtest.h>

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
    // Ten white lamps with one lamp in another colour.
    static Colours column(int32_t lit = -1, uint32_t colour = kWhite) {
        Colours out(10, kWhite);
        if (lit >= 0) out[static_cast<size_t>(lit)] = colour;
        return out;
    }

    platform::VirtualScheduler scheduler;
    CtlLedIM led{"CtlLedIM1", scheduler};
};

TEST_F(CtlLedIMTest, BeforeInitOnlyTheDesignLampShows) {
    EXPECT_EQ(colours(), Colours{kWhite});
    EXPECT_GT(led.lamp(0).height, 0);
    EXPECT_FALSE(led.blinkTimer().enabled());
}

TEST_F(CtlLedIMTest, InitStacksTenLampsOfATenthOfTheHeight) {
    led.move(0, 0, 400, 975);
    led.Init(10, kWhite);

    ASSERT_EQ(led.lampCount(), 10);
    for (int32_t i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        const auto& lamp = led.lamp(i);
        EXPECT_EQ(lamp.top, 97 * i);  // no gaps: 0, 97, 194, ... 873
        EXPECT_EQ(lamp.height, 97);
        EXPECT_EQ(lamp.width, 400);  // the control's width, not the design lamp's
        EXPECT_EQ(lamp.left, 0);
        EXPECT_TRUE(lamp.visible);
    }
    EXPECT_EQ(colours(), column());
    EXPECT_EQ(led.blinkingIndex(), -1);
}

TEST_F(CtlLedIMTest, LampHeightIgnoresTheCount) {
    led.setHeight(975);
    led.Init(4, kWhite);
    ASSERT_EQ(led.lampCount(), 4);
    EXPECT_EQ(led.lamp(3).top, 291);  // the column ends well above the bottom
    EXPECT_EQ(led.lamp(3).height, 97);

    led.Init(12, kWhite);
    ASSERT_EQ(led.lampCount(), 12);
    EXPECT_EQ(led.lamp(11).top, 1067);  // past the bottom edge
}

TEST_F(CtlLedIMTest, InitWithoutRealCountLeavesLampZeroInTheOffColour) {
    for (int16_t count : {1, 0, -3}) {
        SCOPED_TRACE(count);
        led.Init(10, kWhite);
        led.SetLED(0, kRed);
        led.Init(count, 0x123456);
        EXPECT_EQ(colours(), Colours{0x123456});
    }
}

TEST_F(CtlLedIMTest, SecondInitDropsTheLampsOfTheFirst) {
    led.Init(10, kWhite);
    led.SetLED(2, kGreen);
    led.SetLED(8, kAmber);
    led.Init(4, kWhite);
    EXPECT_EQ(colours(), Colours(4, kWhite));
    EXPECT_THROW(led.lamp(4), platform::RuntimeError);
}

TEST_F(CtlLedIMTest, LampsAreLaidOutOnlyByInit) {
    led.setHeight(975);
    led.Init(10, kWhite);
    led.setHeight(1500);
    EXPECT_EQ(led.lamp(9).top, 873);
    EXPECT_EQ(led.lamp(9).height, 97);
    led.Init(10, kWhite);
    EXPECT_EQ(led.lamp(9).top, 1350);
}

TEST_F(CtlLedIMTest, InitReportsAColumnBeyondTheTwipsRange) {
    led.setHeight(2'000'000'000);
    try {
        led.Init(20, kWhite);
        FAIL() << "Init swallowed its failure";
    } catch (const platform::RuntimeError& e) {
        EXPECT_EQ(e.number(), platform::kOverflow);
    }
}

TEST_F(CtlLedIMTest, BlinkingLampAlternatesEveryHalfSecond) {
    led.Init(10, kWhite);
    led.SetLED(3, kAmber, true);
    EXPECT_EQ(colours(), column(3, kAmber));  // at once, not after the first tick
    EXPECT_EQ(led.blinkingIndex(), 3);

    scheduler.advance(499);
    EXPECT_EQ(colours(), column(3, kAmber));
    scheduler.advance(1);
    EXPECT_EQ(colours(), column());
    scheduler.advance(500);
    EXPECT_EQ(colours(), column(3, kAmber));
    scheduler.advance(500);
    EXPECT_EQ(colours(), column());
}

TEST_F(CtlLedIMTest, BlinkingAnotherLampRestartsTheHalfPeriod) {
    led.Init(10, kWhite);
    led.SetLED(3, kAmber, true);
    scheduler.advance(300);
    led.SetLED(4, kGreen, true);
    scheduler.advance(200);  // the first lamp's tick would have fallen here
    EXPECT_EQ(led.lampColor(4), kGreen);
    scheduler.advance(300);
    EXPECT_EQ(led.lampColor(4), kWhite);
    EXPECT_EQ(led.lampColor(3), kAmber);  // left in its phase colour
}

TEST_F(CtlLedIMTest, SteadyLampStopsTheBlinkingOneInItsPresentPhase) {
    struct Case {
        int64_t after;
        uint32_t frozen;
    };
    for (auto [after, frozen] : {Case{200, kAmber}, Case{700, kWhite}}) {
        SCOPED_TRACE(after);
        led.Init(10, kWhite);
        led.SetLED(3, kAmber, true);
        scheduler.advance(after);
        led.SetLED(5, kGreen, false);
        EXPECT_EQ(led.blinkingIndex(), -1);
        scheduler.advance(5000);
        EXPECT_EQ(led.lampColor(3), frozen);
        EXPECT_EQ(led.lampColor(5), kGreen);
        EXPECT_FALSE(led.blinkTimer().enabled());
    }
}

TEST_F(CtlLedIMTest, OmittedBlinkArgumentMeansSteady) {
    led.Init(10, kWhite);
    led.SetLED(1, kAmber, true);
    led.SetLED(2, kGreen);
    EXPECT_EQ(led.blinkingIndex(), -1);
    scheduler.advance(3000);
    Colours expected = column(2, kGreen);
    expected[1] = kAmber;
    EXPECT_EQ(colours(), expected);
}

TEST_F(CtlLedIMTest, ClearedBlinkingLampStaysOff) {
    led.Init(10, kWhite);
    led.SetLED(3, kAmber, true);
    scheduler.advance(200);
    led.ClearLED(3);
    EXPECT_EQ(colours(), column());
    EXPECT_EQ(led.blinkingIndex(), -1);
    // The timer is left to notice by itself at its next tick.
    EXPECT_TRUE(led.blinkTimer().enabled());
    scheduler.advance(300);
    EXPECT_FALSE(led.blinkTimer().enabled());
    scheduler.advance(3000);
    EXPECT_EQ(colours(), column());
}

TEST_F(CtlLedIMTest, ClearingAnotherLampFreezesTheBlinkingOne) {
    led.Init(10, kWhite);
    led.SetLED(0, kGreen);
    led.SetLED(3, kAmber, true);
    led.ClearLED(0);
    scheduler.advance(3000);
    EXPECT_EQ(colours(), column(3, kAmber));
}

TEST_F(CtlLedIMTest, ClearAllPaintsEveryLampAndStopsTheTimerAtOnce) {
    led.Init(10, 0xEEEEEE);
    led.SetLED(0, kAmber);
    led.SetLED(9, kAmber);
    led.SetLED(4, kGreen, true);
    led.ClearAllLED();
    EXPECT_EQ(colours(), Colours(10, 0xEEEEEE));
    EXPECT_EQ(led.blinkingIndex(), -1);
    EXPECT_FALSE(led.blinkTimer().enabled());
}

TEST_F(CtlLedIMTest, InitEndsBlinking) {
    led.Init(10, kWhite);
    led.SetLED(3, kAmber, true);
    led.Init(10, kWhite);
    scheduler.advance(3000);
    EXPECT_EQ(colours(), column());
    EXPECT_FALSE(led.blinkTimer().enabled());
}

TEST_F(CtlLedIMTest, LampOutsideTheColumnChangesNothingAndRaisesNothing) {
    led.Init(10, kWhite);
    led.SetLED(3, kAmber, true);
    EXPECT_NO_THROW(led.SetLED(42, kRed, true));
    EXPECT_EQ(colours(), column(3, kAmber));
    // The rest of SetLED still took effect: lamp 42 is the (invisible) blinking lamp now.
    EXPECT_EQ(led.blinkingIndex(), 42);
    EXPECT_NO_THROW(scheduler.advance(3000));
    EXPECT_EQ(colours(), column(3, kAmber));

    EXPECT_NO_THROW(led.SetLED(-1, kRed));
    EXPECT_NO_THROW(led.ClearLED(10));
    EXPECT_EQ(colours(), column(3, kAmber));
}

TEST_F(CtlLedIMTest, ObserversAndNamedPropertiesSeeTheColumn) {
    led.Init(10, kWhite);
    int lampChanges = 0;
    led.observe([&](const platform::Control&, const std::string& p) { lampChanges += p == "shLed"; });
    led.SetLED(6, kAmber, true);
    scheduler.advance(1000);
    EXPECT_EQ(lampChanges, 3);  // lit, off, lit
    EXPECT_EQ(led.getProperty("LampCount").toInt32(), 10);
    EXPECT_EQ(led.getProperty("BlinkIndex").toInt32(), 6);
}

}  // namespace
}  // namespace qx::display
