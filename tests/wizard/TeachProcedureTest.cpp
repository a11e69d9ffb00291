// The teach procedures from end to end against the simulated flow monitor: the codes the device
// receives through QUICK_2 and their order, what the device ends up holding, the panel each start
// prepares, the tolerance a quick teach puts back, and a reset the link fails to deliver.
#include <gmock/gmock.h>

#include <cctype>

#include "view/ViewChildren.h"
#include "wizard/WizardStand.h"

namespace qx::stand::test {
namespace {

using testing::ElementsAreArray;

struct ProcedureCase {
    const char* name;
    int32_t fw;
    Category category;
    std::vector<std::string> codes;
};

class TeachProcedure : public testing::TestWithParam<ProcedureCase> {};

// The category swaps the codes for maximum and minimum; firmware 1 frames a procedure with "4"
// and "5" and resets QUICK_2 once for each of the three success updates (the answers chain, so no
// poll comes between them). The scenarios cover the other category on firmware 0, the matching
// one on firmware 1 and both quick teaches; these are the remaining pairs.
TEST_P(TeachProcedure, WritesTheCodesInOrderAndTheDeviceHoldsTheResult) {
    const auto& c = GetParam();
    WizardStand s(device(c.fw, c.category));
    s.teachMaxMin(900, 500);
    EXPECT_THAT(s.codes(), ElementsAreArray(c.codes));
    EXPECT_EQ(s.f.sim().value("TEACH_MAX"), "900");
    EXPECT_EQ(s.f.sim().value("TEACH_MIN"), "500");
    EXPECT_THAT(s.states, ElementsAreArray({0, 1, 2, 3, 4, 6, 7, 8, 9, 0}));
    EXPECT_FALSE(s.f.sim().inTeachProcedure());
    EXPECT_EQ(s.v().progress().SuccessTicks, 0);
    EXPECT_FALSE(s.v().progress().mTeachActive);
    EXPECT_FALSE(childButton(s.v(), "ComTeachCancel")->enabled());
    // No late answer keeps the device busy: nothing more is written once the wizard is idle.
    const auto written = s.writes.size();
    s.wait(5 * kPollMs);
    EXPECT_EQ(s.writes.size(), written);
}

INSTANTIATE_TEST_SUITE_P(FirmwareAndCategory, TeachProcedure,
                         testing::Values(ProcedureCase{"Fw1Other",
                                                       1,
                                                       Category::Other,
                                                       {"4", "2", "0", "1", "0", "5", "0", "0", "0"}},
                                         ProcedureCase{"Fw0Match", 0, Category::Match, {"1", "0", "2", "0"}}),
                         CaseName{});

// The panel a start leaves: upper case for a visible (first group) or enabled (second group) control.
std::string panel(QX_FlowWiz& v) {
    std::string out;
    auto add = [&out](std::string name, bool on) {
        for (auto& ch : name) ch = static_cast<char>(on ? std::toupper(ch) : std::tolower(ch));
        out += name + " ";
    };
    add("TMax", childButton(v, "ComTMax")->visible());
    add("TMin", childButton(v, "ComTMin")->visible());
    add("TQuick", childButton(v, "ComTQuick")->visible());
    add("LaTMax", childTextBox(v, "LaTMax")->visible());
    add("LaTQuick", childTextBox(v, "LaTQuick")->visible());
    add("FL", childFrame(v, "FrameFL")->visible());
    add("QT", childFrame(v, "FrameQT")->visible());
    add("TP", childFrame(v, "FrameTP")->visible());
    out += "| ";
    add("SetFL", childButton(v, "ComSetFL")->enabled());
    add("SetPara", childButton(v, "ComSetPara")->enabled());
    add("Cancel", childButton(v, "ComTeachCancel")->enabled());
    add("MaxMin", childButton(v, "ComTeachMaxMin")->enabled());
    add("Quick", childButton(v, "ComteachQuick")->enabled());
    return out;
}

// Each start shows its own buttons and frames, locks the inputs the procedure changes (during a
// quick teach the tolerance too, while the flow input stays as it was) and leaves only the cancel
// button to the user. The max/min start shows its instruction at once; the quick start leaves
// that to the next update. Nothing reaches the device before the first poll answer carries "4".
TEST(TeachStart, PreparesThePanelOfItsProcedure) {
    struct Case {
        const char* label;
        int32_t fw;
        bool quick;
        Presence swPoint;
        const char *panel, *status;
    };
    const std::vector<Case> cases = {
        {"max/min", 1, false, Presence::Valid,
         "TMAX TMIN tquick LATMAX latquick FL qt TP | setfl setpara CANCEL maxmin quick ", "IDS_FWZ_SET_MAX"},
        // Without a switch point percentage the flow switch point frame stays hidden.
        {"max/min, no switch point", 1, false, Presence::NoValue,
         "TMAX TMIN tquick LATMAX latquick fl qt TP | setfl setpara CANCEL maxmin quick ", "IDS_FWZ_SET_MAX"},
        {"quick", 1, true, Presence::Valid,
         "tmax tmin TQUICK latmax LATQUICK fl QT TP | SETFL setpara CANCEL maxmin quick ", ""},
        // Firmware 0 keeps its quick-teach switch point to itself.
        {"quick, firmware 0", 0, true, Presence::Valid,
         "tmax tmin TQUICK latmax latquick fl QT TP | SETFL setpara CANCEL maxmin quick ", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto options = device(c.fw);
        options.swPoint = c.swPoint;
        WizardStand s(options);
        s.wait(2 * kPollMs);  // the idle message has had its time on the status line
        s.forget();
        ASSERT_TRUE(
            s.click(c.quick ? *childButton(s.v(), "ComteachQuick") : *childButton(s.v(), "ComTeachMaxMin")));
        EXPECT_EQ(panel(s.v()), c.panel);
        if (c.quick) {
            EXPECT_FALSE(childComboBox(s.v(), "CoQTOffset")->enabled());
        }
        if (*c.status) {
            ASSERT_EQ(s.statuses.size(), 1u);
            EXPECT_EQ(s.statuses.back().text, c.status);
            EXPECT_EQ(s.statuses.back().colour, kAmber);
        } else {
            EXPECT_TRUE(s.statuses.empty());
        }
        EXPECT_TRUE(s.writes.empty());
    }
}

// The device teaches with its own tolerance; the view then puts its model's tolerance back to the
// default of the firmware's list (5 on firmware 0, 0 on newer firmware, both " 0 %") without
// sending it, and asks the next update to show it.
TEST(QuickTeachTolerance, DeviceTeachesWithItsOwnAndOnlyTheModelIsReset) {
    struct Case {
        int32_t fw;
        const char* offset;  // the device's tolerance before the teach
        const char* point;   // the switch point the device computes at flow 400
    };
    for (const Case& c : {Case{1, "-1,5 %", "394"}, Case{0, " 3,0 %", "412"}}) {
        SCOPED_TRACE(c.fw);
        WizardStand s(device(c.fw), true, frame::StandFrame::kStartMs,
                      [&](frame::FlowMonitorSim& sim) { ASSERT_TRUE(sim.set("TEACHDO_QUICK", c.offset)); });
        ASSERT_EQ(childComboBox(s.v(), "CoQTOffset")->text(), c.offset);
        ASSERT_TRUE(s.click(*childButton(s.v(), "ComteachQuick")));
        s.settleAt(400);
        ASSERT_TRUE(s.click(*childButton(s.v(), "ComTQuick")));
        EXPECT_EQ(s.v().refs().TEACHDO_QUICK->valueText(), " 0 %");
        EXPECT_TRUE(s.v().progress().mRefreshSwitchInputs);
        s.wait(kPollMs);
        EXPECT_EQ(s.f.sim().value(c.fw == 1 ? "FLOWSPQT_RAW" : "FLOWSP_RAW"), c.point);
        for (const auto& w : s.writes) EXPECT_EQ(w.find("TEACHDO_QUICK="), std::string::npos) << w;
    }
}

// A reset after a quick teach that the link fails to deliver ends both teach flags, as a failed
// teach job does; the quick teach itself did happen and the wizard waits in state 12.
TEST(TeachInterrupted, FailedResetAfterQuickTeachClearsBothFlags) {
    WizardStand s(device(1));
    ASSERT_TRUE(s.click(*childButton(s.v(), "ComteachQuick")));
    s.settleAt(400);
    ASSERT_TRUE(s.click(*childButton(s.v(), "ComTQuick")));
    s.wait(40);
    s.f.link().failNext(frame::SimLink::FailKind::Write, 1);  // the "0" that follows "3"
    s.wait(2 * kPollMs);
    EXPECT_THAT(s.codes(), ElementsAreArray({"4", "3"}));
    EXPECT_EQ(wizard::number(s.v().progress().mTeachState), 12);
    EXPECT_FALSE(s.v().progress().mTeachActive);
    EXPECT_FALSE(s.v().progress().mQuickTeachActive);
}

}  // namespace
}  // namespace qx::stand::test
