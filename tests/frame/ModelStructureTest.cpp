// The model's tree as the view and the parameter walk see it: names, order, items, failures.
#include <gtest/gtest.h>

#include <vector>

#include "ModelTestSupport.h"
#include "frame/DeviceDescriptionFile.h"

namespace qx::frame::test {
namespace {

std::vector<std::string> namesInCollectionOrder(const host::IDataModel& model) {
    std::vector<std::string> names;
    auto modules = model.description()->modules();
    for (int32_t m = 1; m <= modules->count(); ++m) {
        auto groups = modules->item(m)->groups();
        for (int32_t g = 1; g <= groups->count(); ++g) {
            auto values = groups->item(g)->valueObjects();
            for (int32_t v = 1; v <= values->count(); ++v)
                names.push_back(values->item(v)->parameter()->name());
        }
    }
    return names;
}

TEST(ModelStructure, CollectionsKeepTheFileOrder) {
    auto model = modelWith();
    const std::vector<std::string> expected = {
        "QUICK_2",         "RESET_COUNT",    "HW_VERSION",     "SERIAL_NO",
        "OPERATING_HOURS", "PROINFLOW_RAW",  "DELTAFLOW_NEW",  "PROINTEMP",
        "DELTAFLOW_RAW",   "FLOWSP_RAW",     "SWPOINT",        "MEDIUM",
        "TEACHDO_SWPOINT", "TEACH_MAX_SAVE", "TEACH_MIN_SAVE", "TEACHDO_QUICK_MODE",
        "FLOWSPQT_RAW",    "TEACH_MAX",      "TEACH_MIN",      "TEACHDO_QUICK",
    };
    EXPECT_EQ(namesInCollectionOrder(*model), expected);
    std::vector<std::string> listed;
    for (const auto& p : listParameters(*model)) listed.push_back(p->name());
    EXPECT_EQ(listed, expected);
    auto modules = model->description()->modules();
    EXPECT_EQ(modules->item(1)->name(), "SYSTEM_FMX");
    EXPECT_EQ(modules->item(4)->name(), "TEACH_FMX");
}

// A walk that refreshes only flag & mask > 0 with state 2 or 3 is only tested by a model that
// holds value objects failing each condition.
TEST(ModelStructure, ValueObjectsCoverEveryReasonToSkipARefresh) {
    bool zeroFlags = false, negativeFlags = false, otherState = false, refreshable = false;
    for (const auto& p : listParameters(*modelWith())) {
        auto vo = p->valueObject();
        const bool stateOk = vo->state() == 2 || vo->state() == 3;
        zeroFlags |= vo->flags() == 0 && stateOk;
        negativeFlags |= vo->flags() < 0 && stateOk;
        otherState |= vo->flags() > 0 && !stateOk;
        refreshable |= vo->flags() > 0 && stateOk;
    }
    EXPECT_TRUE(zeroFlags);
    EXPECT_TRUE(negativeFlags);
    EXPECT_TRUE(otherState);
    EXPECT_TRUE(refreshable);
}

TEST(ModelStructure, UnknownNamesAndIndexesFail) {
    auto model = modelWith();
    auto modules = model->description()->modules();
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

TEST(ModelStructure, ItemsComeFromTheFileAndTheFirmwareOption) {
    DeviceOptions options;
    options.fw = 7;
    auto description = modelWith(options)->description();
    EXPECT_TRUE(description->item("IDX").equals(1203));
    EXPECT_TRUE(description->item("FWversion").equals(7));
    EXPECT_EQ(errorOf([&] { description->item("fwversion"); }), platform::kItemNotFound);
}

TEST(ModelStructure, ContextsCountTheNoticesOfTheView) {
    auto model = modelWith();
    auto view = std::make_shared<FrameDeviceItem>("a view stand-in");
    model->viewModules()->item("PROIN_FMX")->contexts()->item("MONITOR")->notify(view);
    model->viewModules()->item("PROIN_FMX")->contexts()->item("MONITOR")->notify(view);
    auto context = model->context("PROIN_FMX", "MONITOR");
    ASSERT_TRUE(context);
    EXPECT_EQ(context->notices(), 2);
    EXPECT_EQ(context->lastNotifier(), view);
    EXPECT_EQ(model->context("TEACH_FMX", "MONITOR")->notices(), 0);
}

TEST(ModelStructure, BrokenDescriptionFilesFailWithTheirReason) {
    const std::pair<const char*, const char*> broken[] = {
        {"{", "parse"},
        {R"({"displayName": "X", "items": {}, "viewContexts": []})", "modules"},
        {R"({"displayName": "X", "items": {}, "viewContexts": [], "modules": [{"name": "M", "groups": [
            {"name": "G", "parameters": [{"name": "P", "displayName": {}, "unit": "", "kind": "text",
             "default": null, "flags": 0, "state": 0}]}]}]})",
         "kind"},
        {R"({"displayName": "X", "items": {}, "viewContexts": [], "modules": [{"name": "M", "groups": [
            {"name": "G", "parameters": [{"name": "P", "displayName": {}, "unit": "", "kind": "integer",
             "minimum": "low", "maximum": 1, "default": 0, "flags": 0, "state": 0}]}]}]})",
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

}  // namespace
}  // namespace qx::frame::test
