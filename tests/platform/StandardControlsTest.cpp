// The control models behave like the controls the view was written against: which values they
// refuse, which events a change raises, what observers see, and how the Controls collection
// creates children by program id.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ChartObject.h"
#include "platform/Controls.h"
#include "platform/StandardControls.h"
#include "platform/TestSupport.h"

namespace qx::platform {
namespace {

using test::errorOf;
using Names = std::vector<std::string>;

// Records the properties a control reports as changed.
struct Watched {
    explicit Watched(Control& c) {
        c.observe([this](const Control&, const std::string& property) { changes.push_back(property); });
    }
    Names changes;
};

TEST(ScrollBar, RefusesValuesOutsideItsRangeAndRaisesChangeOnlyOnAChange) {
    ScrollBar bar("VSMax", false, 0, 100);
    Watched watched(bar);
    std::vector<int32_t> seen;
    bar.Change = [&] { seen.push_back(bar.value()); };
    bar.setValue(40);
    bar.setValue(40);
    bar.setProperty("Value", 100);
    EXPECT_EQ(errorOf([&] { bar.setValue(101); }), kInvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { bar.setValue(-1); }), kInvalidPropertyValue);
    EXPECT_EQ(bar.value(), 100);
    EXPECT_EQ(seen, (std::vector<int32_t>{40, 100}));
    EXPECT_EQ(watched.changes, (Names{"Value", "Value"}));

    // A bar whose Min is above its Max (as the view's vertical bars run) accepts the range between.
    ScrollBar reversed("VSMin", false, 100, 0);
    EXPECT_EQ(errorOf([&] { reversed.setValue(0); }), 0);
    EXPECT_EQ(errorOf([&] { reversed.setValue(101); }), kInvalidPropertyValue);
}

TEST(CheckBoxAndComboBox, ClickFollowsEveryChangeOfTheValueAndRefusedValuesChangeNothing) {
    CheckBox box("CheckFL");
    int boxClicks = 0;
    box.Click = [&] { ++boxClicks; };
    box.setValue(1);
    box.setValue(1);
    box.setProperty("Value", 0);
    EXPECT_EQ(errorOf([&] { box.setValue(5); }), kInvalidPropertyValue);
    EXPECT_EQ(box.value(), 0);
    EXPECT_EQ(boxClicks, 2);

    ComboBox combo("CoQTTol");
    for (const char* item : {"5 %", "10 %", "20 %"}) combo.addItem(item);
    int clicks = 0;
    combo.Click = [&] { ++clicks; };
    EXPECT_EQ(combo.listIndex(), -1);
    combo.setText("10 %");
    EXPECT_EQ(combo.listIndex(), 1);
    combo.setListIndex(1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(errorOf([&] { combo.setText("15 %"); }), kInvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { combo.setListIndex(3); }), kInvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { combo.list(3); }), 381);
    EXPECT_EQ(combo.getProperty("Text").toText(), "10 %");
    combo.setProperty("ListIndex", -1);
    EXPECT_EQ(combo.text(), "");
    EXPECT_EQ(clicks, 2);
    combo.setListIndex(2);
    combo.clear();
    EXPECT_EQ(combo.text(), "");
}

TEST(Control, PropertiesByNameReachTheTypedMembersAndUnknownNamesFail) {
    Label label("LaFlow");
    Watched watched(label);
    label.setProperty("Caption", 12.5);
    label.setProperty("BackColor", 0x80FF80);
    label.setProperty("Visible", false);
    label.setProperty("Left", "120");
    label.setLeft(120);  // no change, no notice
    EXPECT_EQ(label.caption(), "12.5");
    EXPECT_EQ(label.left(), 120);
    EXPECT_EQ(watched.changes, (Names{"Caption", "BackColor", "Visible", "Left"}));
    EXPECT_EQ(errorOf([&] { label.getProperty("Colour"); }), kNotSupported);
    EXPECT_EQ(errorOf([&] { label.setProperty("Colour", 1); }), kNotSupported);
    EXPECT_EQ(errorOf([&] { label.setProperty("Left", "left"); }), kTypeMismatch);
}

TEST(Control, UsableOnlyWhenItAndEveryContainerAreVisibleAndEnabled) {
    Frame outer("FrameTeach"), inner("FrameMax");
    CommandButton button("ComTMax");
    inner.setContainer(&outer);
    button.setContainer(&inner);
    EXPECT_TRUE(button.usable());
    outer.setEnabled(false);
    EXPECT_FALSE(button.usable());
    outer.setEnabled(true);
    inner.setVisible(false);
    EXPECT_FALSE(button.usable());
}

TEST(Controls, CreatesChildrenByProgramIdHiddenInsideAnExtenderThatPassesPathsOn) {
    ControlFactories factories;
    registerChartComponent(factories);
    Controls controls(factories);
    Frame pane("FramePC");
    auto added = controls.add(kChartProgId, "cPC1", &pane);
    auto chart = std::dynamic_pointer_cast<ChartObject>(added->object());
    ASSERT_TRUE(chart);
    EXPECT_FALSE(added->visible());
    EXPECT_EQ(added->container(), &pane);
    added->setProperty("Height", 1600);  // position and size stay the extender's own
    added->setProperty("ChartGroups(1).data.NumPoints(1)", 3);
    EXPECT_EQ(added->height(), 1600);
    EXPECT_EQ(chart->chartArea().location().height(), 0);
    EXPECT_EQ(chart->group(1).data().numPoints(), 3);
    auto second =
        std::dynamic_pointer_cast<ChartObject>(controls.add(kChartProgId, "cPC2", nullptr)->object());
    EXPECT_NE(second, chart);  // each chart holds its own points

    EXPECT_EQ(controls.item("cPC1"), added);
    EXPECT_EQ(errorOf([&] { controls.add(kChartProgId, "cPC1", &pane); }), 727);
    EXPECT_EQ(errorOf([&] { controls.add("Nobody.Registered", "cPC3", &pane); }), kInvalidClassString);
    EXPECT_EQ(controls.find("cPC3"), nullptr);
    EXPECT_EQ(errorOf([&] { controls.item("cPC3"); }), 730);
    controls.remove("cPC1");
    EXPECT_EQ(controls.count(), 1);
}

}  // namespace
}  // namespace qx::platform
