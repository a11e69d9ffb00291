// The simulated flow monitor on its own: its factory values, the variants the device options
// make, settling of the flow, and what it does with the commands and values written to it.
#include <gtest/gtest.h>

#include "frame/FlowMonitorSim.h"
#include "platform/VirtualScheduler.h"

namespace qx::frame {
namespace {

class SimTest : public ::testing::Test {
  protected:
    explicit SimTest(DeviceOptions options = {}) : sim(scheduler, options) {}

    void command(const std::string& code) { sim.write({{"QUICK_2", code}}); }
    std::string value(const std::string& name) const { return sim.value(name).value_or("<none>"); }

    platform::VirtualScheduler scheduler;
    FlowMonitorSim sim;
};

TEST_F(SimTest, FactoryValues) {
    const std::pair<const char*, const char*> expected[] = {
        {"PROINFLOW_RAW", "0"},      {"DELTAFLOW_NEW", "1"},    {"PROINTEMP", "22"},
        {"SWPOINT", "60"},           {"TEACHDO_SWPOINT", "50"}, {"TEACH_MAX", "800"},
        {"TEACH_MAX_SAVE", "800"},   {"TEACH_MIN", "100"},      {"TEACH_MIN_SAVE", "100"},
        {"TEACHDO_QUICK_MODE", "2"}, {"TEACHDO_QUICK", " 0 %"}, {"FLOWSP_RAW", "450"},
        {"FLOWSPQT_RAW", "450"},     {"QUICK_2", "0"},          {"DELTAFLOW_RAW", "0"},
    };
    for (const auto& [name, text] : expected) EXPECT_EQ(value(name), text) << name;
    EXPECT_FALSE(sim.has("RESET_COUNT"));
}

TEST_F(SimTest, OptionsRemoveParametersOrTheirValuesAndGiveDefaultsBack) {
    DeviceOptions options;
    options.quickMode = Presence::Missing;
    options.flowSp = Presence::NoValue;
    options.teachPresent = false;
    sim.setOptions(options);
    EXPECT_FALSE(sim.has("TEACHDO_QUICK_MODE"));
    EXPECT_FALSE(sim.has("TEACH_MAX_SAVE"));
    EXPECT_TRUE(sim.has("FLOWSP_RAW"));
    EXPECT_EQ(sim.value("FLOWSP_RAW"), std::nullopt);
    EXPECT_FALSE(sim.set("TEACH_MIN", "5"));

    sim.set("SWPOINT", "70");
    sim.setOptions({});
    EXPECT_EQ(value("TEACHDO_QUICK_MODE"), "2");
    EXPECT_EQ(value("FLOWSP_RAW"), "450");
    EXPECT_EQ(value("TEACH_MIN"), "100");
    EXPECT_EQ(value("SWPOINT"), "70");  // kept, not reset
}

TEST_F(SimTest, SettlingFlagFollowsEachFlowChangeForTheSettlingTime) {
    scheduler.advance(500);
    sim.setFlow(600);
    EXPECT_EQ(value("PROINFLOW_RAW"), "600");
    EXPECT_EQ(value("DELTAFLOW_NEW"), "0");
    scheduler.advance(1999);
    EXPECT_EQ(value("DELTAFLOW_NEW"), "0");
    sim.setFlow(600);  // the same flow is no change
    scheduler.advance(1);
    EXPECT_EQ(value("DELTAFLOW_NEW"), "1");

    sim.setSettleMs(300);
    sim.set("PROINFLOW_RAW", "610");  // an operator's value is a change too
    scheduler.advance(299);
    EXPECT_EQ(value("DELTAFLOW_NEW"), "0");
    scheduler.advance(1);
    EXPECT_EQ(value("DELTAFLOW_NEW"), "1");
    EXPECT_FALSE(sim.set("DELTAFLOW_NEW", "0"));  // derived, not set
}

TEST_F(SimTest, MaxMinTeachOnMatchingCategorySetsBothNamesAndTheSwitchPoint) {
    command("4");
    EXPECT_TRUE(sim.inTeachProcedure());
    sim.setFlow(700);
    command("1");
    EXPECT_EQ(value("TEACH_MAX"), "700");
    EXPECT_EQ(value("TEACH_MAX_SAVE"), "700");
    EXPECT_EQ(value("FLOWSP_RAW"), "400");  // 100 + 50 % of 600
    command("0");
    sim.setFlow(200);
    command("2");
    EXPECT_EQ(value("TEACH_MIN_SAVE"), "200");
    EXPECT_EQ(value("TEACH_MIN"), "200");
    EXPECT_EQ(value("FLOWSP_RAW"), "450");
    command("0");
    command("5");
    EXPECT_FALSE(sim.inTeachProcedure());
    EXPECT_EQ(value("QUICK_2"), "5");  // the last code written stays
    EXPECT_EQ(value("TEACH_MAX"), "700");
}

class SimOtherCategoryTest : public SimTest {
  protected:
    SimOtherCategoryTest() : SimTest(DeviceOptions{.category = DeviceOptions::Category::Other}) {}
};

TEST_F(SimOtherCategoryTest, CodesForMaximumAndMinimumAreSwapped) {
    sim.setFlow(300);
    command("1");
    EXPECT_EQ(value("TEACH_MIN"), "300");
    EXPECT_EQ(value("TEACH_MAX"), "800");
    sim.setFlow(900);
    command("2");
    EXPECT_EQ(value("TEACH_MAX"), "900");
    EXPECT_EQ(value("FLOWSP_RAW"), "600");
}

TEST_F(SimTest, ATeachPutsTheDeviceBackIntoMaxMinMode) {
    command("3");
    EXPECT_EQ(sim.teachMode(), 1);
    sim.setFlow(500);
    command("1");
    EXPECT_EQ(sim.teachMode(), 2);
    EXPECT_EQ(value("TEACHDO_QUICK_MODE"), "2");
    EXPECT_EQ(value("FLOWSP_RAW"), "300");
}

struct QuickCase {
    int32_t fw;
    const char* offset;
    double flow;
    const char* switchPoint;
};

class SimQuickTeachTest : public ::testing::TestWithParam<QuickCase> {};

TEST_P(SimQuickTeachTest, QuickTeachSetsTheQuickSwitchPointOfTheFirmware) {
    const auto& c = GetParam();
    platform::VirtualScheduler scheduler;
    FlowMonitorSim sim(scheduler, DeviceOptions{.fw = c.fw});
    sim.set("TEACHDO_QUICK", c.offset);
    sim.setFlow(c.flow);
    sim.write({{"QUICK_2", "3"}});
    const char* target = c.fw == 1 ? "FLOWSPQT_RAW" : "FLOWSP_RAW";
    const char* other = c.fw == 1 ? "FLOWSP_RAW" : "FLOWSPQT_RAW";
    EXPECT_EQ(sim.value(target), c.switchPoint);
    EXPECT_EQ(sim.value(other), "450");
    EXPECT_EQ(sim.value("TEACHDO_QUICK_MODE"), "1");
}

INSTANTIATE_TEST_SUITE_P(Offsets, SimQuickTeachTest,
                         ::testing::Values(QuickCase{1, " 0 %", 500, "500"},
                                           QuickCase{1, "-1,5 %", 500, "492"},  // 492.5: to even, down
                                           QuickCase{1, "-3,0 %", 150, "146"},  // 145.5: to even, up
                                           QuickCase{1, " 4,0 %", 333, "346"},  // 346.32
                                           QuickCase{0, " 6,0 %", 250, "265"},
                                           QuickCase{0, "-4,5 %", 300, "286"},   // 286.5
                                           QuickCase{0, " 1,5 %", 300, "304"},   // 304.5
                                           QuickCase{2, "-1,5 %", 100, "98"}));  // 98.5; fw 2 is not fw 1

TEST_F(SimTest, SwitchPointFollowsLimitsOnlyInMaxMinMode) {
    sim.set("TEACHDO_SWPOINT", "25");
    EXPECT_EQ(value("FLOWSP_RAW"), "275");
    sim.write({{"TEACH_MAX", "801"}});
    EXPECT_EQ(value("FLOWSP_RAW"), "275");  // 100 + 175.25
    sim.set("TEACHDO_SWPOINT", "50");
    EXPECT_EQ(value("FLOWSP_RAW"), "450");  // 450.5 to even
    sim.set("TEACH_MAX", "803");
    EXPECT_EQ(value("FLOWSP_RAW"), "452");  // 451.5 to even

    sim.write({{"QUICK_2", "1"}, {"FLOWSPQT_RAW", "300"}});  // values of a quick-teach setting
    EXPECT_EQ(sim.teachMode(), 1);
    sim.set("TEACH_MIN", "0");
    EXPECT_EQ(value("FLOWSP_RAW"), "452");
    EXPECT_EQ(value("QUICK_2"), "1");

    sim.write({{"QUICK_2", "2"}, {"TEACH_MAX", "900"}, {"TEACH_MIN", "100"}});
    EXPECT_EQ(sim.teachMode(), 2);
    EXPECT_EQ(value("FLOWSP_RAW"), "500");
    EXPECT_EQ(value("TEACH_MAX_SAVE"), "900");

    sim.write({{"TEACHDO_QUICK_MODE", "1"}, {"TEACH_MAX", "500"}});
    EXPECT_EQ(value("FLOWSP_RAW"), "500");
    sim.write({{"TEACHDO_QUICK_MODE", "2"}, {"TEACHDO_SWPOINT", "10"}});
    EXPECT_EQ(value("FLOWSP_RAW"), "140");
}

TEST_F(SimTest, CommandsBesideOtherValuesDoNotTeach) {
    sim.setFlow(650);
    sim.write({{"QUICK_2", "2"}, {"SWPOINT", "65"}});
    EXPECT_EQ(value("TEACH_MAX"), "800");
    EXPECT_EQ(value("TEACH_MIN"), "100");
    EXPECT_EQ(value("SWPOINT"), "65");
}

TEST_F(SimTest, WithoutTheModeParameterTheDeviceStillKeepsItsMode) {
    DeviceOptions options;
    options.quickMode = Presence::Missing;
    sim.setOptions(options);
    command("3");
    EXPECT_EQ(sim.teachMode(), 1);
    sim.set("TEACH_MAX", "900");
    EXPECT_EQ(value("FLOWSP_RAW"), "450");
    sim.setFlow(1000);
    command("1");
    EXPECT_EQ(sim.teachMode(), 2);
    EXPECT_EQ(value("FLOWSP_RAW"), "550");
}

TEST_F(SimTest, NoValueParametersGetOneWhenTheDeviceSetsThem) {
    DeviceOptions options;
    options.quickMode = Presence::NoValue;
    options.flowSp = Presence::NoValue;
    sim.setOptions(options);
    sim.setFlow(500);
    command("1");
    EXPECT_EQ(value("TEACHDO_QUICK_MODE"), "2");
    EXPECT_EQ(value("FLOWSP_RAW"), "300");
}

TEST_F(SimTest, NoSwitchPointIsComputedFromMissingLimits) {
    DeviceOptions options;
    options.teachPresent = false;
    sim.setOptions(options);
    sim.setFlow(500);
    command("1");
    EXPECT_EQ(sim.teachMode(), 2);
    EXPECT_EQ(value("FLOWSP_RAW"), "450");
    sim.write({{"TEACH_MAX", "900"}});  // dropped: the device lacks it
    EXPECT_FALSE(sim.has("TEACH_MAX"));
}

}  // namespace
}  // namespace qx::frame
