// The view's device table as a description states it: the reader refuses a malformed "wizard"
// section with the item's path and the reason, the flow monitor's file states what the view
// falls back on, the frame's database carries the table by module, and the simulated device
// answers to the names a variant gives its parameters.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>

#include "frame/DeviceDescriptionFile.h"
#include "frame/FlowMonitorSim.h"
#include "frame/FrameModelFactory.h"
#include "platform/LibraryFolder.h"
#include "platform/RuntimeError.h"
#include "platform/VirtualScheduler.h"

namespace qx::frame::test {
namespace {

using nlohmann::json;

std::string variantPath() {
    return platform::libraryFolder() + "/devices/flowsensor-fs2.json";
}

json variant() {
    return json::parse(std::ifstream(variantPath()));
}

std::string refusal(const json& description) {
    try {
        parseDescriptionFile(description.dump());
        return {};
    } catch (const platform::RuntimeError& e) {
        return e.description();
    }
}

TEST(DeviceTableFile, EachFaultOfTheWizardSectionIsRefusedWithItsPathAndReason) {
    const std::string w = "$.wizard";
    const struct {
        std::function<void(json&)> spoil;
        std::string expected;
    } cases[] = {
        {[](json& d) { d["wizard"] = 5; }, w + ": is a number, not an object"},
        {[](json& d) { d["wizard"]["parameters"][0]["role"] = "VALVE"; },
         w + ".parameters[0].role: unknown role \"VALVE\""},
        {[](json& d) { d["wizard"]["parameters"][0]["role"] = ""; }, w + ".parameters[0].role: "},
        {[](json& d) { d["wizard"]["parameters"][1]["name"] = "FLOWW"; },
         w + ".parameters[1]: the description has no parameter PROCESS/LIVE/FLOWW"},
        {[](json& d) { d["wizard"]["parameters"][1]["group"] = "TEACHIN"; },
         w + ".parameters[1]: the description has no parameter PROCESS/TEACHIN/FLOW"},
        {[](json& d) { d["wizard"]["parameters"][2].erase("module"); },
         w + ".parameters[2]: \"module\" is missing"},
        {[](json& d) { d["wizard"]["parameters"][7]["category"] = "match"; },
         w + ".parameters[7].category: unknown category \"match\" (saving or other)"},
        // One role, two parameters for the same devices: the view could bind only one of them.
        {[](json& d) { d["wizard"]["parameters"][9]["category"] = "saving"; },
         w + ".parameters[9]: the role TEACH_MAX is placed twice for the same devices"},
        {[](json& d) { d["wizard"]["parameters"][9].erase("category"); },
         w + ".parameters[9]: the role TEACH_MAX is placed twice for the same devices"},
        {[](json& d) { d["wizard"]["parameters"] = json::array(); }, w + ".parameters: is an empty list"},
        {[](json& d) {
             d["wizard"]["parameters"] = {{"1", d["wizard"]["parameters"]}};
         },
         w + ".parameters: \"default\" is missing"},
        {[](json& d) {
             d["wizard"]["parameters"] = {{"default", d["wizard"]["parameters"]}, {"01", json::array()}};
         },
         w + ".parameters.01: a firmware version is a whole decimal number or \"default\""},
        {[](json& d) { d["wizard"]["savingCategory"] = ""; }, w + ".savingCategory: "},
        {[](json& d) { d["wizard"]["savingCategory"] = 7; }, w + ".savingCategory: is a number, not a text"},
        {[](json& d) { d["wizard"]["units"].erase("temperature"); },
         w + ".units: \"temperature\" is missing"},
        {[](json& d) { d["wizard"]["units"]["flow"] = "Bit\x1b"; },
         w + ".units.flow: \"Bit\\x1B\" holds a control character"},
        {[](json& d) { d["wizard"]["tolerances"]["default"]["zero"] = " 0,0 %"; },
         w + ".tolerances.default.zero: \" 0,0 %\" is not one of the entries"},
        {[](json& d) { d["wizard"]["tolerances"]["default"]["entries"][1] = " 5,0 %"; },
         w + ".tolerances.default.entries[1]: duplicate tolerance \" 5,0 %\""},
        {[](json& d) { d["wizard"]["tolerances"]["default"]["entries"] = json::array(); },
         w + ".tolerances.default.entries: is an empty list"},
        {[](json& d) {
             d["wizard"]["tolerances"] = {{"1", d["wizard"]["tolerances"]["default"]}};
         },
         w + ".tolerances: \"default\" is missing"},
    };
    ASSERT_EQ(refusal(variant()), "");
    for (const auto& c : cases) {
        json d = variant();
        c.spoil(d);
        const std::string why = refusal(d);
        EXPECT_EQ(why.substr(0, c.expected.size()), c.expected) << why;
    }
}

// What the view falls back on for a description without the tables is what the flow monitor's
// own file states, so that such a description binds as the flow monitor always did.
TEST(DeviceTableFile, TheFlowMonitorsFileStatesTheBuiltInTableAndOthersGoByIt) {
    const DescriptionFile flowMonitor = readDescriptionFile(flowMonitorDescriptionPath());
    EXPECT_TRUE(flowMonitor.wizard == device::DeviceTable::flowMonitor());

    json bare = variant();
    bare.erase("wizard");
    bare["wizard"] = {{"units", {{"flow", "l/h"}, {"temperature", "K"}}}};
    const DescriptionFile partial = parseDescriptionFile(bare.dump());
    const device::DeviceTable table = partial.deviceTable();
    EXPECT_EQ(table.flowUnit, "l/h");
    EXPECT_TRUE(table.places == device::DeviceTable::flowMonitor().places);
    EXPECT_TRUE(table.tolerances == device::DeviceTable::flowMonitor().tolerances);
    EXPECT_EQ(table.savingCategory, device::DeviceTable::flowMonitor().savingCategory);
}

std::vector<std::string> column(host::IDatabase& db, const std::string& sql, const std::string& field) {
    std::vector<std::string> out;
    for (auto rs = db.query(sql); !rs->eof(); rs->moveNext()) out.push_back(rs->field(field).toText());
    return out;
}

// The variant's device is recorded with its own saving id, and its table under its own module
// index only; a description without a table leaves the tables empty.
TEST(DeviceTableDatabase, CarriesTheDescriptionsTableUnderItsModule) {
    auto model = createFrameModel({}, variantPath());
    auto& db = *model->settings()->database();
    EXPECT_EQ(column(db,
                     "Select * from Buscategories b, BusCategoryTypes t where b.module=2207 and "
                     "t.BusCat_idx=b.busCategory",
                     "category"),
              std::vector<std::string>{"9D1E6A20-3C47-4B8E-8F15-6A2B7C9D0E31"});
    EXPECT_EQ(
        column(db, "Select * from WizardParameters where module=2207 and role='TEACH_MAX' order by category",
               "parameter"),
        (std::vector<std::string>{"MAX_FLOW", "MAX_STORED"}));
    EXPECT_EQ(column(db, "Select * from WizardTolerances where module=2207 and zero=1", "text"),
              std::vector<std::string>{" 0 %"});
    EXPECT_EQ(column(db, "Select * from WizardSettings where module=2207 order by name", "value"),
              (std::vector<std::string>{"Digit", "9D1E6A20-3C47-4B8E-8F15-6A2B7C9D0E31", "°F"}));
    EXPECT_TRUE(column(db, "Select * from WizardParameters where module<>2207", "role").empty());

    json bare = variant();
    bare.erase("wizard");
    const std::string path = testing::TempDir() + "fs2-without-table.json";
    std::ofstream(path) << bare.dump();
    auto plain = createFrameModel({}, path);
    for (const char* table : {"WizardParameters", "WizardTolerances", "WizardSettings"})
        EXPECT_TRUE(
            column(*plain->settings()->database(), std::string("Select * from ") + table, "module").empty());
}

// The device keeps its values by role: a variant's names reach the same values and commands, the
// flow monitor's names are then none of its parameters.
TEST(DeviceTableSim, AVariantsNamesReachTheSameValuesAndCommands) {
    platform::VirtualScheduler clock(0);
    FlowMonitorSim sim(clock);
    sim.describe(readDescriptionFile(variantPath()).deviceTable());
    EXPECT_FALSE(sim.has("QUICK_2"));
    EXPECT_FALSE(sim.has("TEACH_MAX_SAVE"));
    EXPECT_EQ(sim.value("MAX_STORED"), "800");
    EXPECT_EQ(sim.value("FLOW_STABLE"), "1");
    sim.setFlow(620);
    clock.advance(FlowMonitorSim::kDefaultSettleMs);
    sim.write({{"TEACH_CMD", "1"}});  // the maximum on a device of the saving category
    EXPECT_EQ(sim.value("MAX_STORED"), "620");
    EXPECT_EQ(sim.value("MAX_FLOW"), "620");  // one value under both names
    sim.setFlow(610);
    sim.write({{"TEACH_CMD", "2"}});
    EXPECT_EQ(sim.value("MIN_FLOW"), "610");
    EXPECT_EQ(sim.value("FLOW_SP"), "615");  // the switch point follows in max/min mode
    ASSERT_TRUE(sim.set("QT_TOLERANCE", "-5,0 %"));
    sim.write({{"TEACH_CMD", "3"}});  // quick teach: firmware 1 sets the quick-teach point
    EXPECT_EQ(sim.value("QT_SP"), "580");
    EXPECT_EQ(sim.value("TEACH_MODE"), "1");
}

}  // namespace
}  // namespace qx::frame::test
