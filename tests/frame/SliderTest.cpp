// The parameter slider as the view sets it up and a person moves it.
#include <gtest/gtest.h>

#include "frame/ParameterSlider.h"
#include "platform/RuntimeError.h"

namespace qx::frame {
namespace {

TEST(SliderTest, LimitsTakeEffectAtUpdateLimitsAndClampTheValue) {
    ParameterSlider slider;
    slider.setProperty("MaxValue", 120);
    slider.setProperty("MinValue", -20);
    slider.setProperty("value", "110");
    EXPECT_EQ(slider.value(), 100);  // the old limits still hold
    EXPECT_EQ(slider.getProperty("MaxValue").toDouble(), 120);
    slider.UpdateLimits();
    slider.setProperty("value", "110");
    EXPECT_EQ(slider.getProperty("value").toDouble(), 110);
    slider.setProperty("value", -25.5);
    EXPECT_EQ(slider.value(), -20);

    slider.setProperty("MaxValue", 50);
    slider.setProperty("value", 80);
    slider.UpdateLimits();  // the present value moves into the new limits
    EXPECT_EQ(slider.value(), 50);
}

TEST(SliderTest, LimitsTheWrongWayRoundAreRefused) {
    ParameterSlider slider;
    slider.setProperty("MinValue", 10);
    slider.setProperty("MaxValue", 5);
    EXPECT_THROW(slider.UpdateLimits(), platform::RuntimeError);
    EXPECT_EQ(slider.minimum(), 0);
    EXPECT_EQ(slider.maximum(), 100);
}

TEST(SliderTest, ALockedSliderRefusesAPersonButNotTheProgram) {
    ParameterSlider slider;
    EXPECT_TRUE(slider.slide(40));
    slider.setProperty("Locked", true);
    EXPECT_FALSE(slider.slide(60));
    EXPECT_EQ(slider.value(), 40);
    slider.setProperty("value", 70);
    EXPECT_EQ(slider.value(), 70);
    slider.setLock(false);
    EXPECT_FALSE(slider.getProperty("Locked").toBool());
    EXPECT_TRUE(slider.slide(60));
}

TEST(SliderTest, PropertiesByName) {
    ParameterSlider slider;
    slider.setProperty("Visible", false);
    slider.setProperty("Height", 1155);
    slider.setProperty("unit", "%");
    slider.setProperty("Step", 1);
    slider.setProperty("SignalColor", static_cast<int64_t>(0xB25452));
    slider.setProperty("FixFormat", "#0");
    slider.setDisplayStyle("ShowVal");
    EXPECT_FALSE(slider.getProperty("Visible").toBool());
    EXPECT_EQ(slider.getProperty("Height").toInt32(), 1155);
    EXPECT_EQ(slider.getProperty("unit").toText(), "%");
    EXPECT_EQ(slider.getProperty("Step").toDouble(), 1);
    EXPECT_EQ(slider.getProperty("SignalColor").toInt32(), 0xB25452);
    EXPECT_EQ(slider.displayStyle(), "ShowVal");
    EXPECT_THROW(slider.getProperty("Caption"), platform::RuntimeError);
    EXPECT_THROW(slider.setProperty("value", "abc"), platform::RuntimeError);
}

TEST(SliderTest, ShowsItsValueInItsFormatWithItsUnit) {
    ParameterSlider slider;
    slider.setProperty("value", 42.6);
    EXPECT_EQ(slider.displayText(), "43");
    slider.setProperty("FixFormat", "#0.0");
    slider.setProperty("unit", "°C");
    EXPECT_EQ(slider.displayText(), "42.6 °C");
}

TEST(SliderTest, IsCreatedByItsProgramId) {
    platform::ControlFactories factories;
    registerSlider(factories);
    auto object = factories.create("QX_ParameterControls.Slider");
    EXPECT_NE(std::dynamic_pointer_cast<host::ISlider>(object), nullptr);
    EXPECT_NE(factories.create("QX_ParameterControls.Slider"), object);
}

}  // namespace
}  // namespace qx::frame
