// The device variants as the view meets them: optional parameters with a value, without one, or
// absent; the teach parameters absent; the firmware's list texts.
#include <gtest/gtest.h>

#include "ModelTestSupport.h"

namespace qx::frame::test {
namespace {

struct Binding {
    const char* module;
    const char* group;
    const char* parameter;
};

// Every parameter the view binds, at the place it looks for it.
constexpr Binding kBindings[] = {
    {"SYSTEM_FMX", "DUMMY", "QUICK_2"},
    {"PROIN_FMX", "PROIN", "PROINFLOW_RAW"},
    {"PROIN_FMX", "PROIN", "DELTAFLOW_NEW"},
    {"PROIN_FMX", "PROIN", "PROINTEMP"},
    {"MEDIA_FMX", "MEDIA", "SWPOINT"},
    {"TEACH_FMX", "FLOW2_FMX", "TEACHDO_SWPOINT"},
    {"PROIN_FMX", "PROIN", "DELTAFLOW_RAW"},
    {"TEACH_FMX", "FLOW2_FMX", "TEACH_MAX_SAVE"},
    {"TEACH_FMX", "FLOW2_FMX", "TEACH_MIN_SAVE"},
    {"TEACH_FMX", "FLOW_FMX", "TEACH_MAX"},
    {"TEACH_FMX", "FLOW_FMX", "TEACH_MIN"},
    {"TEACH_FMX", "FLOW2_FMX", "TEACHDO_QUICK_MODE"},
    {"TEACH_FMX", "TEACH", "TEACHDO_QUICK"},
    {"PROIN_FMX", "PROIN", "FLOWSP_RAW"},
    {"TEACH_FMX", "FLOW2_FMX", "FLOWSPQT_RAW"},
};

TEST(ModelVariants, EveryBindingIsFoundWhereTheViewLooks) {
    auto model = modelWith();
    for (const auto& b : kBindings) {
        host::ParameterPtr p;
        EXPECT_NO_THROW(p = lookup(*model, b.module, b.group, b.parameter)) << b.parameter;
        ASSERT_TRUE(p) << b.parameter;
        EXPECT_EQ(p->name(), b.parameter);
        EXPECT_EQ(p->noValue(), 0) << b.parameter;
    }
}

struct OptionalParameter {
    Presence DeviceOptions::*option;
    Binding where;
};

constexpr OptionalParameter kOptional[] = {
    {&DeviceOptions::quickMode, {"TEACH_FMX", "FLOW2_FMX", "TEACHDO_QUICK_MODE"}},
    {&DeviceOptions::swPoint, {"TEACH_FMX", "FLOW2_FMX", "TEACHDO_SWPOINT"}},
    {&DeviceOptions::flowSp, {"PROIN_FMX", "PROIN", "FLOWSP_RAW"}},
    {&DeviceOptions::flowSpQt, {"TEACH_FMX", "FLOW2_FMX", "FLOWSPQT_RAW"}},
};

// Each option must touch its own parameter and no other: a mix-up would make the view drop the
// wrong reference.
TEST(ModelVariants, NoValueParameterExistsWithoutAValue) {
    for (const auto& o : kOptional) {
        DeviceOptions options;
        options.*o.option = Presence::NoValue;
        auto model = modelWith(options);
        auto p = lookup(*model, o.where.module, o.where.group, o.where.parameter);
        EXPECT_NE(p->noValue(), 0) << o.where.parameter;
        EXPECT_EQ(p->valueText(), "") << o.where.parameter;
        EXPECT_TRUE(p->valueObject()->value().isEmpty()) << o.where.parameter;
        for (const auto& other : kBindings) {
            if (std::string(other.parameter) == o.where.parameter) continue;
            EXPECT_EQ(findParameter(*model, other.parameter)->noValue(), 0)
                << other.parameter << " with " << o.where.parameter << " novalue";
        }
    }
}

TEST(ModelVariants, MissingParameterIsNotInTheModel) {
    for (const auto& o : kOptional) {
        DeviceOptions options;
        options.*o.option = Presence::Missing;
        auto model = modelWith(options);
        EXPECT_EQ(errorOf([&] { lookup(*model, o.where.module, o.where.group, o.where.parameter); }),
                  platform::kItemNotFound)
            << o.where.parameter;
        EXPECT_FALSE(findParameter(*model, o.where.parameter));
        EXPECT_EQ(listParameters(*model).size(), listParameters(*modelWith()).size() - 1)
            << o.where.parameter;
    }
}

TEST(ModelVariants, TeachMissingRemovesTheTeachLimitsFromBothGroups) {
    DeviceOptions options;
    options.teachPresent = false;
    auto model = modelWith(options);
    for (const char* name : {"TEACH_MAX", "TEACH_MIN", "TEACH_MAX_SAVE", "TEACH_MIN_SAVE"})
        EXPECT_FALSE(findParameter(*model, name)) << name;
    EXPECT_EQ(errorOf([&] { lookup(*model, "TEACH_FMX", "FLOW_FMX", "TEACH_MAX"); }),
              platform::kItemNotFound);
    EXPECT_EQ(errorOf([&] { lookup(*model, "TEACH_FMX", "FLOW2_FMX", "TEACH_MIN_SAVE"); }),
              platform::kItemNotFound);
    // The groups stay, so only the parameter look-up fails and the rest of the group is found.
    EXPECT_NO_THROW(lookup(*model, "TEACH_FMX", "FLOW2_FMX", "TEACHDO_SWPOINT"));
    EXPECT_EQ(model->description()
                  ->modules()
                  ->item("TEACH_FMX")
                  ->groups()
                  ->item("FLOW_FMX")
                  ->valueObjects()
                  ->count(),
              0);
}

TEST(ModelVariants, FirmwareChoosesTheToleranceTexts) {
    DeviceOptions options;
    auto fw1 = findParameter(*modelWith(options), "TEACHDO_QUICK");
    ASSERT_EQ(fw1->entries().size(), 17u);
    EXPECT_EQ(fw1->entries().front().text, " 4,0 %");
    EXPECT_EQ(fw1->entries()[8].text, " 0 %");
    EXPECT_EQ(fw1->entries().back().text, "-4,0 %");

    for (int32_t fw : {0, 2}) {
        options.fw = fw;
        auto model = modelWith(options);
        EXPECT_TRUE(model->description()->item("FWversion").equals(fw));
        auto other = findParameter(*model, "TEACHDO_QUICK");
        ASSERT_EQ(other->entries().size(), 8u) << fw;
        EXPECT_EQ(other->entries().front().text, " 6,0 %");
        EXPECT_EQ(other->entries()[4].text, " 0 %");
        EXPECT_EQ(other->entries().back().text, "-4,5 %");
        EXPECT_EQ(other->valueText(), " 0 %");
        other->setValueText("-4,0 %");  // a firmware-1 text
        EXPECT_EQ(other->valueText(), " 0 %");
    }
}

}  // namespace
}  // namespace qx::frame::test
