// The view update: device values into labels, legend and inputs; the switch point in flow units;
// and where a failure ends the update, with what it leaves done.
#include <string>
#include <utility>

#include "view/ViewChildren.h"
#include "wizard/WizardStand.h"

namespace qx::stand::test {
namespace {

class UpdateViewTest : public LiveViewTest {};

// The temperature and flow sliders' values.
std::pair<double, double> sliders(const QX_FlowWiz& v) {
    return {v.frame().mSliderTP.object->getProperty("value").toDouble(),
            v.frame().mSliderFL.object->getProperty("value").toDouble()};
}

int32_t right(const platform::Control& c) {
    return c.left() + c.width();
}

TEST_F(UpdateViewTest, DeviceValuesReachLabelsLegendAndPanes) {
    WizardStand s;
    auto& v = s.v();
    // The first answer shows the panes and starts the run-time counter.
    EXPECT_TRUE(childFrame(v, "FrameChart")->visible());
    EXPECT_TRUE(childFrame(v, "FrameTeach")->visible());
    EXPECT_TRUE(childFrame(v, "FrameTeachOption")->enabled());
    EXPECT_TRUE(childTimer(v, "TimerCnt")->enabled());

    s.f.sim().setFlow(300);
    s.f.sim().setTemperature(25.5);
    s.poll();
    EXPECT_EQ(childMyLabel(v, "LaFS")->caption(), "300 Bit");
    EXPECT_EQ(childMyLabel(v, "LaDF")->caption(), "25.5°C");
    EXPECT_EQ(childMyLabel(v, "LaTS")->caption(), "60°C");
    EXPECT_EQ(childLabel(v, "LaMinMax")->caption(), ", TEACH_MAX_SAVE 800 Bit, TEACH_MIN_SAVE 100 Bit");
    EXPECT_EQ(childMyLabel(v, "LaLeSP")->caption(), ", TEACHDO_SWPOINT");
    EXPECT_EQ(childMyLabel(v, "LaSp")->caption(), "450 Bit / 50 %");
    EXPECT_EQ(childTextBox(v, "LaTMin")->text(), "100");
    EXPECT_EQ(childTextBox(v, "LaTMinW")->text(), "100");
    EXPECT_EQ(childTextBox(v, "LaTMax")->text(), "800");
    EXPECT_EQ(childTextBox(v, "LaTMaxW")->text(), "800");
    EXPECT_EQ(childTextBox(v, "LaTQuick")->text(), "450");  // FLOWSPQT_RAW on newer firmware

    // The legend reads on from the flow value, whatever the texts' widths.
    EXPECT_EQ(childLabel(v, "LaMinMax")->left(), right(*childMyLabel(v, "LaFS")));
    EXPECT_EQ(childLabel(v, "LaMinMax")->top(), childMyLabel(v, "LaFS")->top());
    EXPECT_EQ(childMyLabel(v, "LaLeSP")->left(), right(*childLabel(v, "LaMinMax")));
    EXPECT_EQ(childMyLabel(v, "LaSp")->left(), right(*childMyLabel(v, "LaLeSP")) + 60);
    EXPECT_TRUE(childMyLabel(v, "LaLeSP")->visible() && childLabel(v, "LaMinMax")->visible());
}

TEST_F(UpdateViewTest, LegendOfQuickTeachModeAndOfFirmware0) {
    struct Case {
        const char* label;
        int fw, mode;
        const char *minMax, *switchName, *switchPoint;
        bool nameShown, pointShown;
    };
    const std::vector<Case> cases = {
        {"firmware 1, quick teach", 1, 1, "", ", FLOWSPQT_RAW", "450 Bit", true, true},
        // Firmware 0 keeps its quick-teach switch point to itself: no number, no legend.
        {"firmware 0, quick teach", 0, 1, "", ", FLOWSPQT_RAW", " Bit", false, false},
        {"firmware 0, max/min", 0, 2, ", TEACH_MAX_SAVE 800 Bit, TEACH_MIN_SAVE 100 Bit", ", TEACHDO_SWPOINT",
         "450 Bit / 50 %", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        DeviceOptions o;
        o.fw = c.fw;
        WizardStand s(o, false);
        auto& v = s.v();
        WizardStand::put(v.refs().TEACHDO_QUICK_MODE, std::to_string(c.mode));
        ViewTestSeam::update(v);
        EXPECT_EQ(childLabel(v, "LaMinMax")->caption(), c.minMax);
        EXPECT_EQ(childMyLabel(v, "LaLeSP")->caption(), c.switchName);
        EXPECT_EQ(childMyLabel(v, "LaSp")->caption(), c.switchPoint);
        EXPECT_EQ(childMyLabel(v, "LaLeSP")->visible(), c.nameShown);
        EXPECT_EQ(childMyLabel(v, "LaSp")->visible(), c.pointShown);
    }
}

// The switch point in flow units comes from whichever value the device offers.
TEST_F(UpdateViewTest, SwitchPointInFlowUnits) {
    struct Case {
        const char* label;
        int fw, mode;
        Presence flowSp, swPoint;
        int percent, min, max, expected;
        const char* quickText;  // LaTQuick afterwards
    };
    const std::vector<Case> cases = {
        {"max/min, FLOWSP_RAW given", 1, 2, Presence::Valid, Presence::Valid, 50, 100, 800, 450, "450"},
        {"max/min, from the percentage", 1, 2, Presence::NoValue, Presence::Valid, 50, 20, 120, 70, "450"},
        {"max/min, percentage giving 0.5", 1, 2, Presence::NoValue, Presence::Valid, 25, 0, 2, 0, "450"},
        {"max/min, percentage giving 1.5", 1, 2, Presence::NoValue, Presence::Valid, 75, 0, 2, 2, "450"},
        {"max/min, no switch point", 1, 2, Presence::NoValue, Presence::NoValue, 0, 100, 800, 333, "450"},
        {"quick teach, firmware 1", 1, 1, Presence::Valid, Presence::Valid, 50, 100, 800, 450, "450"},
        // Firmware 0 hides its quick-teach switch point behind the no-line value.
        {"quick teach, firmware 0", 0, 1, Presence::Valid, Presence::Valid, 50, 100, 800, 999, "999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        DeviceOptions o;
        o.fw = c.fw;
        o.flowSp = c.flowSp;
        o.swPoint = c.swPoint;
        WizardStand s(o, false);
        auto& v = s.v();
        WizardStand::put(v.refs().TEACHDO_QUICK_MODE, std::to_string(c.mode));
        WizardStand::put(v.refs().PROINFLOW_RAW, "333");
        if (c.swPoint == Presence::Valid)
            WizardStand::put(v.refs().TEACHDO_SWPOINT, std::to_string(c.percent));
        WizardStand::put(v.refs().TEACH_MIN, std::to_string(c.min));
        WizardStand::put(v.refs().TEACH_MAX, std::to_string(c.max));
        ViewTestSeam::update(v);
        EXPECT_EQ(v.progress().mSwitchPointFlow, c.expected);
        EXPECT_EQ(childTextBox(v, "LaTQuick")->text(), c.quickText);
    }
}

// A failure ends the update at once; what was done before stays, nothing after it happens.
TEST_F(UpdateViewTest, AFailureEndsTheUpdateWhereItHappens) {
    inFreshThread([&] {
        WizardStand s({}, false);
        auto& v = s.v();
        ViewTestSeam::refs(v).PROINFLOW_RAW.reset();
        // State 1 before any update: no person can start it yet, the button waits for the first update.
        ViewTestSeam::enterTeachState(v, wizard::TeachState::MaxMinStarted);
        ViewTestSeam::update(v);
        EXPECT_TRUE(v.trend().trendStart().has_value());  // step 1 ran
        EXPECT_EQ(v.progress().mTeachMax, 800);           // so did the reads before the flow
        EXPECT_EQ(s.flowChart().group(1).data().numPoints(), 0);
        EXPECT_FALSE(childTimer(v, "TimerCnt")->enabled());
        EXPECT_EQ(wizard::number(v.progress().mTeachState), 1);
        EXPECT_FALSE(childFrame(v, "FrameTeach")->visible());
    });
    const auto lines = loggedWith("UpdateView()Error:Object variable or With block variable not set, Line:");
    ASSERT_EQ(lines.size(), 1U);
    // The header names the same line as the text.
    const auto at = lines[0].find(", Line:");
    EXPECT_NE(lines[0].find("in line " + lines[0].substr(at + 7) + ": "), std::string::npos);

    // Without SWPOINT the temperature has raised its range's maximum, not yet lowered the minimum.
    WizardStand s({}, false);
    auto& v = s.v();
    ViewTestSeam::refs(v).SWPOINT.reset();
    WizardStand::put(v.refs().PROINTEMP, "150");
    const int16_t rangeMin = v.trend().temp.range.min;
    ViewTestSeam::update(v);
    EXPECT_EQ(v.trend().temp.range.max, 150);
    EXPECT_EQ(v.trend().temp.range.min, rangeMin);
}

TEST_F(UpdateViewTest, UnboundTeachLimitsStopTheUpdateOnlyWhereTheyAreNamed) {
    // Max/min mode names them in the legend; quick-teach mode never asks for them.
    for (int mode : {2, 1}) {
        SCOPED_TRACE(mode);
        const bool completes = mode == 1;
        WizardStand s({}, false);
        auto& v = s.v();
        WizardStand::put(v.refs().TEACHDO_QUICK_MODE, std::to_string(mode));
        ViewTestSeam::refs(v).TEACH_MAX.reset();
        // State 1 before any update: no person can start it yet, the button waits for the first update.
        ViewTestSeam::enterTeachState(v, wizard::TeachState::MaxMinStarted);
        ViewTestSeam::update(v);
        // Steps before the legend ran either way.
        EXPECT_EQ(s.flowChart().group(1).data().numPoints(), 1);
        EXPECT_EQ(childMyLabel(v, "LaFS")->caption(), "0 Bit");
        EXPECT_EQ(childTextBox(v, "LaTMax")->text(), "0");  // the value it had before, never read
        EXPECT_EQ(wizard::number(v.progress().mTeachState), completes ? 2 : 1);
        EXPECT_EQ(childFrame(v, "FrameTeach")->visible(), completes);
    }
}

TEST_F(UpdateViewTest, WithoutTheEditButtonTheUpdateEndsBeforeTheTeachValues) {
    WizardStand s({}, false);
    auto& v = s.v();
    ViewTestSeam::frame(v).mToolbar.reset();
    const std::string flowCaption = childMyLabel(v, "LaFS")->caption();
    ViewTestSeam::update(v);
    EXPECT_TRUE(v.progress().mSliderTPLoaded);                   // the sliders come before
    EXPECT_EQ(childTextBox(v, "LaTMin")->text(), "");            // the teach values are not written
    EXPECT_EQ(childMyLabel(v, "LaFS")->caption(), flowCaption);  // nor anything after them
    EXPECT_EQ(s.status(), "");
}

TEST_F(UpdateViewTest, SlidersShowTheDeviceValuesOnceAndWhenAsked) {
    WizardStand s;
    auto& v = s.v();
    // The binding asks for the switch inputs; the first update serves and clears the request.
    EXPECT_FALSE(v.progress().mRefreshSwitchInputs);
    EXPECT_EQ(sliders(v), std::make_pair(60.0, 50.0));
    EXPECT_EQ(childComboBox(v, "CoQTOffset")->text(), " 0 %");

    // Later device values do not move a slider the user may be working with ...
    ASSERT_TRUE(s.f.sim().set("SWPOINT", "80"));
    ASSERT_TRUE(s.f.sim().set("TEACHDO_SWPOINT", "30"));
    ASSERT_TRUE(s.f.sim().set("TEACHDO_QUICK", " 2,0 %"));
    s.poll();
    EXPECT_EQ(sliders(v), std::make_pair(60.0, 50.0));
    // ... until a set button's answer or a quick teach asks for them again.
    ViewTestSeam::progress(v).mSliderTPLoaded = false;
    ViewTestSeam::progress(v).mRefreshSwitchInputs = true;
    s.poll(2);  // the first read after the request carries the switch inputs
    EXPECT_EQ(sliders(v), std::make_pair(80.0, 30.0));
    EXPECT_EQ(childComboBox(v, "CoQTOffset")->text(), " 2,0 %");
    EXPECT_FALSE(v.progress().mRefreshSwitchInputs);

    // A hidden slider is left alone and loaded once it shows.
    v.frame().mSliderTP.control->setVisible(false);
    ViewTestSeam::progress(v).mSliderTPLoaded = false;
    ASSERT_TRUE(s.f.sim().set("SWPOINT", "90"));
    s.poll();
    EXPECT_EQ(sliders(v).first, 80);
    EXPECT_FALSE(v.progress().mSliderTPLoaded);
}

TEST_F(UpdateViewTest, RefreshingTheSwitchInputs) {
    // A tolerance the list does not hold is not shown, and the update goes on.
    {
        WizardStand s({}, false);
        auto& v = s.v();
        childComboBox(v, "CoQTOffset")->clear();
        ViewTestSeam::update(v);
        EXPECT_FALSE(v.progress().mRefreshSwitchInputs);
        EXPECT_EQ(childComboBox(v, "CoQTOffset")->text(), "");
        EXPECT_EQ(s.status(), "IDS_FWZ_MAX_MIN_ACT");
    }
    // A flow slider that cannot take the value ends the update and keeps the request.
    {
        WizardStand s({}, false);
        auto& v = s.v();
        ViewTestSeam::frame(v).mSliderFL = {};
        childComboBox(v, "CoQTOffset")->setListIndex(0);
        ViewTestSeam::update(v);
        EXPECT_TRUE(v.progress().mRefreshSwitchInputs);
        EXPECT_EQ(childComboBox(v, "CoQTOffset")->listIndex(), 0);
        EXPECT_EQ(s.status(), "");
    }
}

// While Edit is pressed the user types the teach values; updates leave them alone. The typed
// values surviving polls are covered by the manual-entry scenario; here the release hands the
// fields back to the device.
TEST_F(UpdateViewTest, ReleasingEditShowsTheDeviceValuesAgain) {
    WizardStand s;
    auto& v = s.v();
    childButton(v, "ComTeachMaxMin")->click();
    s.poll();
    ASSERT_TRUE(s.f.press("Edit"));
    childTextBox(v, "LaTMaxW")->setText("900");
    childTextBox(v, "LaTQuickW")->setText("12");
    s.poll(2);
    EXPECT_EQ(childTextBox(v, "LaTQuickW")->text(), "12");
    ASSERT_TRUE(s.f.press("Edit"));
    s.poll();
    EXPECT_EQ(childTextBox(v, "LaTMaxW")->text(), "800");
    EXPECT_EQ(childTextBox(v, "LaTQuickW")->text(), "450");
}

}  // namespace
}  // namespace qx::stand::test
