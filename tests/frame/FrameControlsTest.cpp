// The frame's parameter slider and toolbar as the view sets them up and a person uses them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FrameTestSupport.h"
#include "frame/FrameToolbar.h"
#include "frame/ParameterSlider.h"

namespace qx::frame::test {
namespace {

using ::testing::ElementsAre;

// Limits set take effect at UpdateLimits, which refuses them the wrong way round; a value outside
// the limits in effect is clamped. A lock stops a person, not the program. The value shows in
// FixFormat's decimals, the unit after a blank.
TEST(Slider, LimitsLockAndShownText) {
    ParameterSlider slider;
    slider.setProperty("MaxValue", 120);
    slider.setProperty("MinValue", -20);
    slider.setProperty("value", "110");
    EXPECT_EQ(slider.value(), 100);
    slider.UpdateLimits();
    slider.setProperty("value", "110");
    EXPECT_EQ(slider.getProperty("value").toDouble(), 110);
    slider.setProperty("value", -25.5);
    EXPECT_EQ(slider.value(), -20);
    slider.setProperty("MaxValue", 50);
    slider.setProperty("value", 80);
    slider.UpdateLimits();  // the present value moves into the new limits
    EXPECT_EQ(slider.value(), 50);
    slider.setProperty("MinValue", 60);
    EXPECT_EQ(errorOf([&] { slider.UpdateLimits(); }), platform::kInvalidPropertyValue);
    EXPECT_EQ(slider.minimum(), -20);
    EXPECT_EQ(slider.maximum(), 50);
    EXPECT_EQ(errorOf([&] { slider.setProperty("value", "abc"); }), platform::kTypeMismatch);
    EXPECT_NE(errorOf([&] { slider.getProperty("Caption"); }), 0);

    slider.setProperty("Locked", true);
    EXPECT_FALSE(slider.slide(30));
    slider.setProperty("value", 42.6);
    EXPECT_EQ(slider.displayText(), "43");
    slider.setProperty("FixFormat", "#0.0");
    slider.setProperty("unit", "°C");
    EXPECT_EQ(slider.displayText(), "42.6 °C");
    slider.setLock(false);
    EXPECT_TRUE(slider.slide(30));
    EXPECT_EQ(slider.value(), 30);
}

// A check-style button has toggled by the time its click is reported, also after the view set
// its value; a push button keeps its value; a disabled button takes no click; a key the toolbar
// lacks is a frame button, reported as a push button and not added.
TEST(Toolbar, Clicks) {
    FrameToolbar toolbar;
    auto poll = toolbar.Buttons()->Add({}, "Poll", "", 1, "FromDevice");
    toolbar.Buttons()->Add({}, "Clear", "", 0, "Clear");
    EXPECT_EQ(toolbar.click("Poll"), poll);
    EXPECT_EQ(poll->value(), 1);
    poll->setValue(0);
    EXPECT_EQ(toolbar.click("Poll")->value(), 1);
    EXPECT_EQ(toolbar.click("Clear")->value(), 0);
    poll->setEnabled(false);
    EXPECT_EQ(toolbar.click("Poll"), nullptr);
    EXPECT_EQ(poll->value(), 1);
    EXPECT_EQ(toolbar.click("FUNCTION:X")->Style(), 0);
    EXPECT_EQ(toolbar.Buttons()->count(), 2);
}

TEST(Toolbar, ButtonsAndImagesAreFoundByKeyInTheOrderGivenAndKeysAreUnique) {
    FrameToolbar toolbar;
    auto& buttons = *toolbar.Buttons();
    buttons.Add({}, "Poll", "", 1, "FromDevice");
    buttons.Add({}, "Auto", "", 0, "Auto");
    buttons.Add(2, "Clear", "", 0, "Clear");
    EXPECT_THAT(toolbar.buttons().keys(), ElementsAre("Poll", "Clear", "Auto"));
    EXPECT_EQ(buttons.item("Auto")->image(), "Auto");
    EXPECT_EQ(errorOf([&] { buttons.item("Edit"); }), platform::kElementNotFound);
    EXPECT_EQ(errorOf([&] { buttons.Add({}, "Poll", "", 1, ""); }), kKeyNotUnique);
    EXPECT_EQ(errorOf([&] { buttons.Add(9, "Edit", "", 1, ""); }), kIndexOutOfBounds);
    EXPECT_EQ(buttons.count(), 3);

    auto images = toolbar.ImageList()->ListImages();
    auto picture = std::make_shared<host::Picture>("ICO_BLANK", std::vector<uint8_t>{}, 16, 16);
    images->Add({}, "Clear", picture);
    EXPECT_EQ(errorOf([&] { images->Add({}, "Clear", picture); }), kKeyNotUnique);
    EXPECT_EQ(errorOf([&] { images->item("ToDevice"); }), platform::kElementNotFound);
}

}  // namespace
}  // namespace qx::frame::test
