// The frame's model of the flow monitor as the view binds it: its tree, the device variants, and
// what its parameters accept, refuse and show.
#include <gtest/gtest.h>

#include <vector>

#include "FrameTestSupport.h"
#include "frame/DeviceDescriptionFile.h"

namespace qx::frame::test {
namespace {

const std::vector<std::string> kTree = {
    "SYSTEM_FMX/DUMMY: QUICK_2 RESET_COUNT",
    "SYSTEM_FMX/IDENT: HW_VERSION SERIAL_NO OPERATING_HOURS",
    "PROIN_FMX/PROIN: PROINFLOW_RAW DELTAFLOW_NEW PROINTEMP DELTAFLOW_RAW FLOWSP_RAW",
    "MEDIA_FMX/MEDIA: SWPOINT MEDIUM",
    "TEACH_FMX/FLOW2_FMX: TEACHDO_SWPOINT TEACH_MAX_SAVE TEACH_MIN_SAVE TEACHDO_QUICK_MODE FLOWSPQT_RAW",
    "TEACH_FMX/FLOW_FMX: TEACH_MAX TEACH_MIN",
    "TEACH_FMX/TEACH: TEACHDO_QUICK"};

// The tree walked by index, one "MODULE/GROUP: NAME ..." per group; the view's look-up by names
// must find each parameter at the same place.
std::vector<std::string> treeOf(const host::IDataModel& model) {
    std::vector<std::string> tree;
    auto modules = model.description()->modules();
    for (int32_t m = 1; m <= modules->count(); ++m) {
        auto module = modules->item(m);
        for (int32_t g = 1; g <= module->groups()->count(); ++g) {
            auto group = module->groups()->item(g);
            std::string line = module->name() + "/" + group->name() + ":";
            for (int32_t v = 1; v <= group->valueObjects()->count(); ++v) {
                auto p = group->valueObjects()->item(v)->parameter();
                EXPECT_EQ(lookup(model, module->name(), group->name(), p->name()), p);
                line += " " + p->name();
            }
            tree.push_back(line);
        }
    }
    return tree;
}

std::vector<std::string> without(std::vector<std::string> tree, std::initializer_list<std::string> names) {
    for (auto& line : tree)
        for (const auto& name : names)
            if (auto at = (line + " ").find(" " + name + " "); at != std::string::npos)
                line.erase(at, name.size() + 1);
    return tree;
}

// A walk that refreshes only flag & mask > 0 with state 2 or 3 is only tested by a model that
// holds value objects failing each condition.
TEST(Model, TreeKeepsTheFilesOrderAndCoversEveryReasonToSkipARefresh) {
    auto model = createFrameModel({});
    EXPECT_EQ(treeOf(*model), kTree);
    std::string walked, listed;
    for (const auto& line : kTree) walked += line.substr(line.find(':') + 1);
    bool zeroFlags = false, negativeFlags = false, otherState = false, refreshable = false;
    for (const auto& p : listParameters(*model)) {
        listed += " " + p->name();
        EXPECT_EQ(p->noValue(), 0) << p->name();
        auto vo = p->valueObject();
        const bool stateOk = vo->state() == 2 || vo->state() == 3;
        zeroFlags |= vo->flags() == 0 && stateOk;
        negativeFlags |= vo->flags() < 0 && stateOk;
        otherState |= vo->flags() > 0 && !stateOk;
        refreshable |= vo->flags() > 0 && stateOk;
    }
    EXPECT_EQ(listed, walked);
    EXPECT_TRUE(zeroFlags && negativeFlags && otherState && refreshable);
}

TEST(Model, UnknownNamesAndIndexesFail) {
    auto model = createFrameModel(DeviceOptions{.fw = 7});
    auto description = model->description();
    auto modules = description->modules();
    EXPECT_TRUE(description->item("IDX").equals(1203));
    EXPECT_TRUE(description->item("FWversion").equals(7));
    EXPECT_EQ(errorOf([&] { description->item("fwversion"); }), platform::kItemNotFound);
    EXPECT_EQ(errorOf([&] { modules->item("PROIN"); }), platform::kItemNotFound);
    EXPECT_EQ(errorOf([&] { modules->item("proin_fmx"); }), platform::kItemNotFound);  // names are exact
    EXPECT_EQ(errorOf([&] { modules->item("PROIN_FMX")->groups()->item("MEDIA"); }), platform::kItemNotFound);
    EXPECT_EQ(errorOf([&] { lookup(*model, "PROIN_FMX", "PROIN", "SWPOINT"); }), platform::kItemNotFound);
    EXPECT_EQ(errorOf([&] { modules->item(0); }), platform::kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { modules->item(modules->count() + 1); }), platform::kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { model->viewModules()->item("NO_MODULE"); }), platform::kItemNotFound);
    EXPECT_EQ(errorOf([&] { model->viewModules()->item("PROIN_FMX")->contexts()->item("NONE"); }),
              platform::kItemNotFound);
}

TEST(Model, BrokenDescriptionFilesFailWithTheirReason) {
    const std::string head = R"({"displayName": "X", "items": {}, "viewContexts": [])";
    const std::string parameter = R"(, "modules": [{"name": "M", "groups": [{"name": "G", "parameters": [
        {"name": "P", "displayName": {}, "unit": "", "flags": 0, "state": 0, )";
    const std::pair<std::string, const char*> broken[] = {
        {"{", "parse"},
        {head + "}", "modules"},
        {head + parameter + R"("kind": "text", "default": null}]}]}]})", "kind"},
        {head + parameter + R"("kind": "integer", "minimum": "low", "maximum": 1, "default": 0}]}]}]})",
         "minimum"},
    };
    for (const auto& [json, reason] : broken) {
        try {
            parseDescriptionFile(json);
            ADD_FAILURE() << json;
        } catch (const platform::RuntimeError& e) {
            EXPECT_NE(e.description().find(reason), std::string::npos) << e.description();
        }
    }
    EXPECT_NE(errorOf([] { createFrameModel({}, "/nonexistent/flowmonitor.json"); }), 0);
}

// Each option must touch its own parameter and no other: a mix-up would make the view drop the
// wrong reference.
TEST(Model, OptionalParametersHoldNoValueOrAreMissing) {
    const std::pair<Presence DeviceOptions::*, const char*> optional[] = {
        {&DeviceOptions::quickMode, "TEACHDO_QUICK_MODE"},
        {&DeviceOptions::swPoint, "TEACHDO_SWPOINT"},
        {&DeviceOptions::flowSp, "FLOWSP_RAW"},
        {&DeviceOptions::flowSpQt, "FLOWSPQT_RAW"}};
    for (const auto& [option, name] : optional) {
        SCOPED_TRACE(name);
        DeviceOptions options;
        options.*option = Presence::NoValue;
        auto model = createFrameModel(options);
        EXPECT_EQ(treeOf(*model), kTree);
        EXPECT_EQ(findParameter(*model, name)->valueText(), "");
        EXPECT_TRUE(findParameter(*model, name)->valueObject()->value().isEmpty());
        for (const auto& p : listParameters(*model))
            EXPECT_EQ(p->noValue() != 0, p->name() == name) << p->name();
        options.*option = Presence::Missing;
        EXPECT_EQ(treeOf(*createFrameModel(options)), without(kTree, {name}));
    }
    // Without the teach limits their groups stay, so only the parameter look-up fails.
    auto model = createFrameModel(DeviceOptions{.teachPresent = false});
    EXPECT_EQ(treeOf(*model), without(kTree, {"TEACH_MAX", "TEACH_MIN", "TEACH_MAX_SAVE", "TEACH_MIN_SAVE"}));
    EXPECT_EQ(errorOf([&] { lookup(*model, "TEACH_FMX", "FLOW_FMX", "TEACH_MAX"); }),
              platform::kItemNotFound);
}

// A refused text must leave the parameter exactly as it was: a model that clamps, rounds or
// stores the text as it came would let the view send a value the device cannot take.
TEST(Model, TextsInsideTheLimitsAreTakenOthersLeaveTheValueAlone) {
    const char* refused[][2] = {
        {"SWPOINT", "121"},       {"SWPOINT", "-21"},          {"SWPOINT", "abc"},
        {"SWPOINT", ""},          {"SWPOINT", "60,5"},         {"TEACH_MAX", "1000.5"},
        {"TEACH_MAX", "1001"},    {"TEACH_MIN", "-1"},         {"TEACHDO_SWPOINT", "100.1"},
        {"QUICK_2", "6"},         {"TEACHDO_QUICK_MODE", "0"}, {"TEACHDO_QUICK_MODE", "3"},
        {"TEACHDO_QUICK", "0 %"}, {"TEACHDO_QUICK", " 6,0 %"}, {"TEACHDO_QUICK", "1"},
        {"FLOWSPQT_RAW", "1e9"},  {"PROINTEMP", "nan"},
    };
    auto model = createFrameModel({});
    for (const auto& [name, text] : refused) {
        auto p = findParameter(*model, name);
        const std::string before = p->valueText();
        p->setValueText(text);
        EXPECT_EQ(p->valueText(), before) << name << " took \"" << text << "\"";
        EXPECT_EQ(p->noValue(), 0) << name;
    }
    for (const auto& [name, text] : {std::pair{"SWPOINT", "-20"},
                                     {"SWPOINT", "120"},
                                     {"PROINTEMP", "22.5"},
                                     {"TEACHDO_QUICK", "-4,0 %"}}) {
        findParameter(*model, name)->setValueText(text);
        EXPECT_EQ(findParameter(*model, name)->valueText(), text);
    }
    // Blanks around a number are allowed, but the text reads back plain, which the view's
    // read-back comparison then reports as altered.
    findParameter(*model, "SWPOINT")->setValueText(" 70 ");
    EXPECT_EQ(findParameter(*model, "SWPOINT")->valueText(), "70");
}

TEST(Model, ValueObjectIsTheNumericFaceOfTheSameValueAndKeepsNoValue) {
    auto model = createFrameModel({});
    auto mode = lookup(*model, "TEACH_FMX", "FLOW2_FMX", "TEACHDO_QUICK_MODE");
    auto vo = mode->valueObject();
    vo->setValue(1);
    EXPECT_EQ(mode->valueText(), "1");
    vo->setValue(3);  // outside 1..2
    EXPECT_EQ(mode->valueText(), "1");
    vo->setValue("2");  // a numeric text is a number
    EXPECT_EQ(mode->valueText(), "2");
    EXPECT_EQ(errorOf([&] { vo->setValue("two"); }), platform::kTypeMismatch);
    EXPECT_EQ(mode->valueText(), "2");
    auto temp = findParameter(*model, "PROINTEMP");
    temp->setValueText("21.5");
    EXPECT_TRUE(temp->valueObject()->value().equals(21.5));

    auto flowSp = findParameter(*model, "FLOWSP_RAW");
    EXPECT_TRUE(flowSp->setDeviceValue(std::nullopt));
    EXPECT_FALSE(flowSp->setDeviceValue("2000"));  // refused: still no value
    EXPECT_NE(flowSp->noValue(), 0);
    EXPECT_EQ(flowSp->valueText(), "");
    EXPECT_TRUE(flowSp->setDeviceValue("512"));
    EXPECT_EQ(flowSp->noValue(), 0);
    EXPECT_EQ(flowSp->valueText(), "512");
}

TEST(Model, FirmwareChoosesTheToleranceTextsAndTheirCodes) {
    auto entriesOf = [](const FrameParameter& p) {
        std::string list;
        for (const auto& e : p.entries()) list += e.text + "=" + std::to_string(e.value) + ";";
        return list;
    };
    auto fw1 = findParameter(*createFrameModel({}), "TEACHDO_QUICK");
    EXPECT_EQ(entriesOf(*fw1),
              " 4,0 %=8; 3,5 %=7; 3,0 %=6; 2,5 %=5; 2,0 %=4; 1,5 %=3; 1,0 %=2; 0,5 %=1; 0 %=0;"
              "-0,5 %=-1;-1,0 %=-2;-1,5 %=-3;-2,0 %=-4;-2,5 %=-5;-3,0 %=-6;-3,5 %=-7;-4,0 %=-8;");
    EXPECT_TRUE(fw1->valueObject()->value().equals(0));
    for (int32_t fw : {0, 2}) {
        SCOPED_TRACE(fw);
        auto other = findParameter(*createFrameModel(DeviceOptions{.fw = fw}), "TEACHDO_QUICK");
        EXPECT_EQ(entriesOf(*other),
                  " 6,0 %=1; 4,5 %=2; 3,0 %=3; 1,5 %=4; 0 %=5;-1,5 %=6;-3,0 %=7;-4,5 %=8;");
        EXPECT_TRUE(other->valueObject()->value().equals(5));
        other->setValueText("-4,0 %");  // a firmware-1 text
        EXPECT_EQ(other->valueText(), " 0 %");
        other->valueObject()->setValue(1);
        EXPECT_EQ(other->valueText(), " 6,0 %");
        other->valueObject()->setValue(9);  // no such code
        EXPECT_EQ(other->valueText(), " 6,0 %");
        EXPECT_TRUE(other->minimum().equals(1) && other->maximum().equals(8));
    }
}

// Language 0 shows the names themselves; a language without names (French) shows English. The
// device's name is the same in every language.
TEST(Model, DisplayNamesFollowTheModelsLanguage) {
    auto model = createFrameModel(DeviceOptions{.language = 0});
    EXPECT_EQ(findParameter(*model, "PROINTEMP")->displayName(), "PROINTEMP");
    EXPECT_EQ(model->displayName(), "FM1");
    model->settings()->setLanguage(1036);
    EXPECT_EQ(findParameter(*model, "PROINTEMP")->displayName(), "Medium temperature");
    EXPECT_EQ(model->displayName(), "FM1");
}

}  // namespace
}  // namespace qx::frame::test
