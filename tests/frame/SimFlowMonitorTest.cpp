// The simulated flow monitor on its own: its factory values, the variants the device options
// make, settling of the flow, and what it does with the commands and values written to it.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "FrameTestSupport.h"
#include "frame/FlowMonitorSim.h"
#include "platform/VirtualScheduler.h"

namespace qx::frame::test {
namespace {

class SimTest : public ::testing::Test {
  protected:
    void reset(const DeviceOptions& options) { sim = std::make_unique<FlowMonitorSim>(scheduler, options); }

    // Steps: "flow N", "wait MS", "settle MS", "cmd C" (QUICK_2 written alone), "set P=V" (the
    // operator's value, which must be taken), "write P=V;P=V" (one job); checks: "P=V" the
    // device's value ("<none>" for none), "mode N" its teach mode.
    void run(const std::string& script) {
        for (const std::string& step : stepsOf(script)) {
            SCOPED_TRACE(step);
            const auto blank = std::min(step.find(' '), step.size());
            const std::string word = step.substr(0, blank),
                              rest = step.substr(std::min(blank + 1, step.size()));
            const std::string name = rest.substr(0, rest.find('=')), value = rest.substr(rest.find('=') + 1);
            std::vector<WrittenValue> values;
            for (const auto& pair : split(rest, ";"))
                values.push_back({pair.substr(0, pair.find('=')), pair.substr(pair.find('=') + 1)});
            const std::map<std::string, std::function<void()>> actions = {
                {"flow", [&] { sim->setFlow(std::stod(rest)); }},
                {"wait", [&] { scheduler.advance(std::stoll(rest)); }},
                {"settle", [&] { sim->setSettleMs(std::stoll(rest)); }},
                {"cmd",
                 [&] {
                     sim->write({{"QUICK_2", rest}});
                 }},
                {"set", [&] { EXPECT_TRUE(sim->set(name, value)); }},
                {"write", [&] { sim->write(values); }},
                {"mode", [&] { EXPECT_EQ(sim->teachMode(), std::stoi(rest)); }},
            };
            if (actions.count(word))
                actions.at(word)();
            else
                EXPECT_EQ(sim->value(step.substr(0, step.find('='))).value_or("<none>"),
                          step.substr(step.find('=') + 1));
        }
    }

    platform::VirtualScheduler scheduler;
    std::unique_ptr<FlowMonitorSim> sim = std::make_unique<FlowMonitorSim>(scheduler, DeviceOptions{});
};

TEST_F(SimTest, DeviceAndFrameModelStartWithTheFactoryValues) {
    const std::string factory = R"(
        PROINFLOW_RAW=0, DELTAFLOW_NEW=1, PROINTEMP=22, SWPOINT=60, TEACHDO_SWPOINT=50, TEACH_MAX=800
        TEACH_MAX_SAVE=800, TEACH_MIN=100, TEACH_MIN_SAVE=100, TEACHDO_QUICK_MODE=2, TEACHDO_QUICK= 0 %
        FLOWSP_RAW=450, FLOWSPQT_RAW=450, QUICK_2=0, DELTAFLOW_RAW=0
    )";
    run(factory);
    auto model = createFrameModel({});
    for (const auto& step : stepsOf(factory))
        EXPECT_EQ(findParameter(*model, step.substr(0, step.find('=')))->valueText(),
                  step.substr(step.find('=') + 1));
    EXPECT_FALSE(sim->has("RESET_COUNT"));
}

// A teach without limits computes no switch point; a value the device lacks is dropped; the
// defaults come back with the options, values set meanwhile stay.
TEST_F(SimTest, OptionsRemoveParametersOrTheirValuesAndGiveDefaultsBack) {
    sim->setOptions(
        DeviceOptions{.quickMode = Presence::Missing, .flowSp = Presence::NoValue, .teachPresent = false});
    EXPECT_FALSE(sim->has("TEACHDO_QUICK_MODE"));
    EXPECT_FALSE(sim->has("TEACH_MAX_SAVE"));
    EXPECT_TRUE(sim->has("FLOWSP_RAW"));
    EXPECT_FALSE(sim->set("TEACH_MIN", "5"));
    run(R"(
        FLOWSP_RAW=<none>, flow 500, cmd 1, mode 2, FLOWSP_RAW=<none>, write TEACH_MAX=900, set SWPOINT=70
    )");
    EXPECT_FALSE(sim->has("TEACH_MAX"));
    sim->setOptions({});
    run("TEACHDO_QUICK_MODE=2, FLOWSP_RAW=450, TEACH_MIN=100, SWPOINT=70");
}

// The same flow again is no change; an operator's value is a change too.
TEST_F(SimTest, SettlingFlagFollowsEachFlowChangeForTheSettlingTime) {
    run(R"(
        wait 500, flow 600, PROINFLOW_RAW=600, DELTAFLOW_NEW=0, wait 1999, DELTAFLOW_NEW=0, flow 600
        wait 1, DELTAFLOW_NEW=1, settle 300, set PROINFLOW_RAW=610, wait 299, DELTAFLOW_NEW=0
        wait 1, DELTAFLOW_NEW=1
    )");
    EXPECT_FALSE(sim->set("DELTAFLOW_NEW", "0"));  // derived, not set
}

// QUICK_2 keeps the last code written.
TEST_F(SimTest, TeachCodesForMaximumAndMinimumFollowTheCategory) {
    for (auto [category, maxCode, minCode] : {std::tuple{DeviceOptions::Category::Match, "1", "2"},
                                              std::tuple{DeviceOptions::Category::Other, "2", "1"}}) {
        reset(DeviceOptions{.category = category});
        run(std::string("flow 700, cmd ") + maxCode + R"(, TEACH_MAX=700, TEACH_MAX_SAVE=700, TEACH_MIN=100
            FLOWSP_RAW=400, flow 200, cmd )" +
            minCode + ", TEACH_MIN_SAVE=200, TEACH_MIN=200, FLOWSP_RAW=450");
    }
    run("cmd 4");
    EXPECT_TRUE(sim->inTeachProcedure());
    run("cmd 0, cmd 5, QUICK_2=5, TEACH_MAX=700");
    EXPECT_FALSE(sim->inTeachProcedure());
}

// The mode is the device's own, whether or not its parameter exists or holds a value.
TEST_F(SimTest, ALimitTeachReturnsFromQuickTeachToMaxMinMode) {
    const std::tuple<Presence, const char*, const char*> rows[] = {{Presence::Valid, "450", "2"},
                                                                   {Presence::Missing, "450", "<none>"},
                                                                   {Presence::NoValue, "<none>", "2"}};
    for (const auto& [quickMode, flowSp, modeAfter] : rows) {
        reset(DeviceOptions{.quickMode = quickMode,
                            .flowSp = quickMode == Presence::NoValue ? Presence::NoValue : Presence::Valid});
        run(std::string("cmd 3, mode 1, set TEACH_MAX=900, FLOWSP_RAW=") + flowSp +
            ", flow 1000, cmd 1, mode 2, FLOWSP_RAW=550, TEACHDO_QUICK_MODE=" + modeAfter);
    }
}

// flow × (100 + offset) / 100, halves to even (492.5, 145.5, 286.5, 304.5, 98.5), into
// FLOWSPQT_RAW on firmware 1 only.
TEST_F(SimTest, QuickTeachSetsTheQuickSwitchPointOfTheFirmware) {
    const std::tuple<int32_t, const char*, const char*, const char*> rows[] = {
        {1, " 0 %", "500", "FLOWSPQT_RAW=500"},   {1, "-1,5 %", "500", "FLOWSPQT_RAW=492"},
        {1, "-3,0 %", "150", "FLOWSPQT_RAW=146"}, {1, " 4,0 %", "333", "FLOWSPQT_RAW=346"},
        {0, " 6,0 %", "250", "FLOWSP_RAW=265"},   {0, "-4,5 %", "300", "FLOWSP_RAW=286"},
        {0, " 1,5 %", "300", "FLOWSP_RAW=304"},   {2, "-1,5 %", "100", "FLOWSP_RAW=98"}};
    for (const auto& [fw, offset, flow, switchPoint] : rows) {
        reset(DeviceOptions{.fw = fw});
        run(std::string("set TEACHDO_QUICK=") + offset + ", flow " + flow + ", cmd 3, " + switchPoint +
            (fw == 1 ? ", FLOWSP_RAW=450" : ", FLOWSPQT_RAW=450") + ", TEACHDO_QUICK_MODE=1");
    }
}

// Halves to even: 100 + 175.25, 450.5, 451.5. QUICK_2 or TEACHDO_QUICK_MODE written beside other
// values selects the mode and teaches nothing.
TEST_F(SimTest, SwitchPointFollowsLimitsOnlyInMaxMinMode) {
    run(R"(
        flow 650, set TEACHDO_SWPOINT=25, FLOWSP_RAW=275, write TEACH_MAX=801, FLOWSP_RAW=275
        set TEACHDO_SWPOINT=50, FLOWSP_RAW=450, set TEACH_MAX=803, FLOWSP_RAW=452
        write QUICK_2=1;FLOWSPQT_RAW=300, mode 1, TEACH_MAX=803, set TEACH_MIN=0, FLOWSP_RAW=452, QUICK_2=1
        write QUICK_2=2;TEACH_MAX=900;TEACH_MIN=100, mode 2, FLOWSP_RAW=500, TEACH_MAX_SAVE=900
        write TEACHDO_QUICK_MODE=1;TEACH_MAX=500, FLOWSP_RAW=500
        write TEACHDO_QUICK_MODE=2;TEACHDO_SWPOINT=10, FLOWSP_RAW=140
    )");
}

}  // namespace
}  // namespace qx::frame::test
