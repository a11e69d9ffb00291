// The parameter-set file and what loading one would write, on the flow monitor's model.
#include <gtest/gtest.h>

#include "frame/FrameModelFactory.h"
#include "frame/FrameParameter.h"
#include "frame/ParameterLookup.h"
#include "frame/params/ParameterSet.h"

namespace qx::frame::test {
namespace {

std::string refusalOf(const std::string& json) {
    try {
        setFromJson(json);
    } catch (const ParameterSetError& e) {
        return e.what();
    }
    return "";
}

TEST(ParameterSetTest, AFileReadsBackAsWrittenAndNamesWhatIsWrongWithIt) {
    const auto model = createFrameModel({});
    const ParameterSet set = takeSet(*model);
    const ParameterSet back = setFromJson(setToJson(set));
    EXPECT_EQ(back.identity, set.identity);
    ASSERT_EQ(back.values.size(), set.values.size());
    for (size_t i = 0; i < set.values.size(); ++i) {
        EXPECT_EQ(back.values[i].name, set.values[i].name);
        EXPECT_EQ(back.values[i].text, set.values[i].text) << "texts keep their blanks and commas";
        EXPECT_EQ(back.values[i].unit, set.values[i].unit);
    }

    EXPECT_TRUE(refusalOf("{").starts_with("not JSON: "));
    EXPECT_EQ(refusalOf(R"({"parameters": []})"), "$.device: missing");
    EXPECT_EQ(refusalOf(R"({"device": {"displayName": "FM1", "firmware": 1.5}})"),
              "$.device.firmware: not a whole number");
    EXPECT_EQ(
        refusalOf(R"({"device": {"displayName": "FM1", "firmware": 1, "category": "", "description": ""},
                           "parameters": [{"name": "SWPOINT", "value": 60}]})"),
        "$.parameters[0].value: not a text");
}

TEST(ParameterSetTest, LoadingWritesOnlyDifferingSettingsAndRefusesAWholeSetForOneFault) {
    const auto model = createFrameModel({});
    ParameterSet set = takeSet(*model);
    auto valueOf = [&](const std::string& name) -> std::string& {
        for (auto& v : set.values)
            if (v.name == name) return v.text;
        throw std::logic_error("no " + name);
    };
    EXPECT_TRUE(planLoad(set, *model).writes.empty()) << "the device holds the set already";

    valueOf("SWPOINT") = "70";
    valueOf("TEACHDO_QUICK") = "-1,5 %";
    valueOf("QUICK_2") = "3";          // a command: never written back
    valueOf("PROINFLOW_RAW") = "500";  // a process value: the device measures it
    const LoadPlan plan = planLoad(set, *model);
    ASSERT_FALSE(plan.refusal) << *plan.refusal;
    ASSERT_EQ(plan.writes.size(), 2u);
    EXPECT_EQ(plan.writes[0].first->name() + "=" + plan.writes[0].second, "SWPOINT=70");
    EXPECT_EQ(plan.writes[1].first->name() + "=" + plan.writes[1].second, "TEACHDO_QUICK=-1,5 %");

    auto refusal = [&](auto change) {
        ParameterSet copy = set;
        change(copy);
        const LoadPlan refused = planLoad(copy, *model);
        EXPECT_TRUE(refused.writes.empty());
        return refused.refusal.value_or("");
    };
    EXPECT_EQ(refusal([](ParameterSet& s) { s.identity.displayName = "FM2"; }),
              "the set is for another device");
    EXPECT_EQ(refusal([](ParameterSet& s) { s.identity.category = "other"; }),
              "the set is for another device");
    EXPECT_EQ(refusal([](ParameterSet& s) {
                  s.values.push_back({"FLOW_GAIN", "1", ""});
              }),
              "the device has no parameter FLOW_GAIN");
    auto withValue = [&](const std::string& name, const std::string& text) {
        return refusal([&](ParameterSet& s) {
            for (auto& v : s.values)
                if (v.name == name) v.text = text;
        });
    };
    EXPECT_EQ(withValue("SWPOINT", "121"), "SWPOINT does not take \"121\"");
    EXPECT_EQ(withValue("SWPOINT", "60.5"), "SWPOINT does not take \"60.5\"") << "an integer is whole";
    EXPECT_EQ(withValue("TEACHDO_QUICK", " 7,0 %"), "TEACHDO_QUICK does not take \" 7,0 %\"");
    EXPECT_EQ(withValue("PROINTEMP", "-40.5"), "PROINTEMP does not take \"-40.5\"");
    ParameterSet inRange = set;
    for (auto& v : inRange.values)
        if (v.name == "PROINTEMP") v.text = "24.5";
    EXPECT_FALSE(planLoad(inRange, *model).refusal) << "a number within the range";
}

}  // namespace
}  // namespace qx::frame::test
