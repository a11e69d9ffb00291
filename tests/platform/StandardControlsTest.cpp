// The control models behave like the controls the view was written against: which values they
// refuse, which events a change raises, what observers see, and how the Controls collection
// creates children by program id.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/RuntimeError.h"
#include "platform/StandardControls.h"

namespace qx::platform {
namespace {

template <class F>
int32_t errorOf(F&& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

// Records the properties a control reports as changed.
class Watched {
  public:
    explicit Watched(Control& c) {
        c.observe([this](const Control&, const std::string& property) { changes.push_back(property); });
    }
    std::vector<std::string> changes;
};

TEST(ScrollBar, RefusesValuesOutsideItsRangeAndRaisesChangeOnlyOnAChange) {
    ScrollBar bar("VSMax", false, 0, 100);
    Watched watched(bar);
    std::vector<int32_t> seen;
    bar.Change = [&] { seen.push_back(bar.value()); };

    bar.setValue(40);
    bar.setValue(40);
    bar.setProperty("Value", 100);
    EXPECT_EQ(seen, (std::vector<int32_t>{40, 100}));
    EXPECT_EQ(errorOf([&] { bar.setValue(101); }), kInvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { bar.setValue(-1); }), kInvalidPropertyValue);
    EXPECT_EQ(bar.value(), 100);
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(watched.changes, (std::vector<std::string>{"Value", "Value"}));

    // A bar whose Min is above its Max (as the view's vertical bars run) accepts the range between.
    ScrollBar reversed("VSMin", false, 100, 0);
    reversed.setValue(0);
    EXPECT_EQ(reversed.value(), 0);
    EXPECT_EQ(errorOf([&] { reversed.setValue(101); }), kInvalidPropertyValue);
}

TEST(CheckBox, ClickFollowsEveryChangeOfItsValue) {
    CheckBox box("CheckFL");
    int clicks = 0;
    box.Click = [&] { ++clicks; };
    box.setValue(1);
    box.setValue(1);
    box.setProperty("Value", 0);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(errorOf([&] { box.setValue(5); }), kInvalidPropertyValue);
    EXPECT_EQ(box.value(), 0);
    EXPECT_EQ(clicks, 2);
}

TEST(ComboBox, ChoosesEntriesByTextOrIndexAndClicksOnAChange) {
    ComboBox combo("CoQTTol");
    for (const char* item : {"5 %", "10 %", "20 %"}) combo.addItem(item);
    int clicks = 0;
    combo.Click = [&] { ++clicks; };

    EXPECT_EQ(combo.listIndex(), -1);
    EXPECT_EQ(combo.text(), "");
    combo.setText("10 %");
    EXPECT_EQ(combo.listIndex(), 1);
    combo.setListIndex(1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(combo.getProperty("Text").toText(), "10 %");

    EXPECT_EQ(errorOf([&] { combo.setText("15 %"); }), kInvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { combo.setListIndex(3); }), kInvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { combo.list(3); }), 381);
    EXPECT_EQ(combo.listIndex(), 1);

    combo.setProperty("ListIndex", -1);
    EXPECT_EQ(combo.text(), "");
    EXPECT_EQ(clicks, 2);
    combo.setListIndex(2);
    combo.clear();
    EXPECT_EQ(combo.listCount(), 0);
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
    EXPECT_EQ(label.backColor(), 0x80FF80u);
    EXPECT_FALSE(label.visible());
    EXPECT_EQ(label.left(), 120);
    EXPECT_EQ(watched.changes, (std::vector<std::string>{"Caption", "BackColor", "Visible", "Left"}));
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

// What a program id creates: a bag of named properties.
class FakeChart : public PropertyObject {
  public:
    Variant getProperty(const std::string& name) const override {
        auto it = values.find(name);
        if (it == values.end()) raise(kNotSupported);
        return it->second;
    }
    void setProperty(const std::string& name, const Variant& value) override { values[name] = value; }
    std::map<std::string, Variant> values;
};

TEST(Controls, CreatesChildrenByProgramIdHiddenAndWrapped) {
    ControlFactories factories;
    auto chart = std::make_shared<FakeChart>();
    factories.add("C1Chart2D8.Control.1", [&] { return chart; });
    Controls controls(factories);
    Frame pane("FramePC");

    auto added = controls.add("C1Chart2D8.Control.1", "cPC1", &pane);
    EXPECT_FALSE(added->visible());
    EXPECT_EQ(added->container(), &pane);
    EXPECT_EQ(added->object(), chart);
    added->setProperty("Height", 2000);     // the wrapper's own
    added->setProperty("IsBatched", true);  // the object's
    EXPECT_EQ(added->height(), 2000);
    EXPECT_EQ(chart->values.count("Height"), 0u);
    EXPECT_TRUE(chart->values.at("IsBatched").toBool());

    EXPECT_EQ(controls.item("cPC1"), added);
    EXPECT_EQ(errorOf([&] { controls.add("C1Chart2D8.Control.1", "cPC1", &pane); }), 727);
    EXPECT_EQ(errorOf([&] { controls.add("Nobody.Registered", "cPC2", &pane); }), kInvalidClassString);
    EXPECT_EQ(controls.find("cPC2"), nullptr);
    EXPECT_EQ(errorOf([&] { controls.item("cPC2"); }), 730);
    controls.remove("cPC1");
    EXPECT_EQ(controls.count(), 0);
}

}  // namespace
}  // namespace qx::platform
