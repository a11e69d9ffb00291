// Parameters of the stand-in model: what they accept, what they refuse, and their numeric face.
#include <gtest/gtest.h>

#include "ModelTestSupport.h"

namespace qx::frame::test {
namespace {

struct Refusal {
    const char* parameter;
    const char* text;
};

// Every text here must leave the parameter exactly as it was: a model that clamps, rounds or
// stores the text as it came would let the view send a value the device cannot take.
TEST(ModelParameter, RefusedTextsReadBackUnchanged) {
    const Refusal refusals[] = {
        {"SWPOINT", "121"},           {"SWPOINT", "-21"},
        {"SWPOINT", "abc"},           {"SWPOINT", ""},
        {"SWPOINT", "60,5"},          {"TEACH_MAX", "1000.5"},
        {"TEACH_MAX", "1001"},        {"TEACH_MIN", "-1"},
        {"TEACHDO_SWPOINT", "100.1"}, {"TEACHDO_QUICK_MODE", "0"},
        {"TEACHDO_QUICK_MODE", "3"},  {"QUICK_2", "6"},
        {"TEACHDO_QUICK", "0 %"},     {"TEACHDO_QUICK", " 6,0 %"},
        {"TEACHDO_QUICK", "1"},       {"FLOWSPQT_RAW", "1e9"},
        {"PROINTEMP", "nan"},
    };
    auto model = modelWith();
    for (const auto& r : refusals) {
        auto p = findParameter(*model, r.parameter);
        ASSERT_TRUE(p) << r.parameter;
        const std::string before = p->valueText();
        p->setValueText(r.text);
        EXPECT_EQ(p->valueText(), before) << r.parameter << " took \"" << r.text << "\"";
        EXPECT_EQ(p->noValue(), 0) << r.parameter;
    }
}

TEST(ModelParameter, AcceptsTextsUpToTheLimits) {
    auto model = modelWith();
    auto swPoint = findParameter(*model, "SWPOINT");
    swPoint->setValueText("-20");
    EXPECT_EQ(swPoint->valueText(), "-20");
    swPoint->setValueText("120");
    EXPECT_EQ(swPoint->valueText(), "120");
    // Blanks around a number are allowed, but the text reads back in its plain form, which the
    // view's read-back comparison then reports as altered.
    swPoint->setValueText(" 70 ");
    EXPECT_EQ(swPoint->valueText(), "70");

    auto temp = findParameter(*model, "PROINTEMP");
    temp->setValueText("22.5");
    EXPECT_EQ(temp->valueText(), "22.5");

    auto offset = findParameter(*model, "TEACHDO_QUICK");
    offset->setValueText("-4,0 %");
    EXPECT_EQ(offset->valueText(), "-4,0 %");
}

TEST(ModelParameter, StartsWithTheDeviceDefaults) {
    auto model = modelWith();
    const std::pair<const char*, const char*> defaults[] = {
        {"PROINFLOW_RAW", "0"},      {"DELTAFLOW_NEW", "1"},    {"PROINTEMP", "22"},
        {"SWPOINT", "60"},           {"TEACHDO_SWPOINT", "50"}, {"TEACH_MAX", "800"},
        {"TEACH_MIN", "100"},        {"TEACH_MAX_SAVE", "800"}, {"TEACH_MIN_SAVE", "100"},
        {"TEACHDO_QUICK_MODE", "2"}, {"TEACHDO_QUICK", " 0 %"}, {"FLOWSP_RAW", "450"},
        {"FLOWSPQT_RAW", "450"},     {"QUICK_2", "0"},          {"DELTAFLOW_RAW", "0"},
    };
    for (const auto& [name, text] : defaults)
        EXPECT_EQ(findParameter(*model, name)->valueText(), text) << name;
}

TEST(ModelParameter, ListValueIsTheDeviceCodeOfItsText) {
    DeviceOptions fw0;
    fw0.fw = 0;
    auto model0 = modelWith(fw0);
    auto offset0 = findParameter(*model0, "TEACHDO_QUICK");
    EXPECT_TRUE(offset0->valueObject()->value().equals(5));  // " 0 %" on firmware 0
    offset0->valueObject()->setValue(1);
    EXPECT_EQ(offset0->valueText(), " 6,0 %");
    offset0->valueObject()->setValue(9);  // no such code: refused
    EXPECT_EQ(offset0->valueText(), " 6,0 %");
    EXPECT_TRUE(offset0->minimum().equals(1));
    EXPECT_TRUE(offset0->maximum().equals(8));

    auto model1 = modelWith();
    auto offset1 = findParameter(*model1, "TEACHDO_QUICK");
    EXPECT_TRUE(offset1->valueObject()->value().equals(0));  // " 0 %" on firmware 1
    offset1->setValueText("-1,5 %");
    EXPECT_TRUE(offset1->valueObject()->value().equals(-3));
    offset1->valueObject()->setValue(0);
    EXPECT_EQ(offset1->valueText(), " 0 %");
}

TEST(ModelParameter, ValueObjectIsTheNumericFaceOfTheSameValue) {
    auto model = modelWith();
    auto mode = lookup(*model, "TEACH_FMX", "FLOW2_FMX", "TEACHDO_QUICK_MODE");
    auto vo = mode->valueObject();
    EXPECT_EQ(vo->parameter(), mode);
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
}

TEST(ModelParameter, DeviceValueKeepsTheNoValueState) {
    auto model = modelWith();
    auto flowSp = findParameter(*model, "FLOWSP_RAW");
    EXPECT_TRUE(flowSp->setDeviceValue(std::nullopt));
    EXPECT_NE(flowSp->noValue(), 0);
    EXPECT_EQ(flowSp->valueText(), "");
    EXPECT_TRUE(flowSp->valueObject()->value().isEmpty());
    EXPECT_FALSE(flowSp->setDeviceValue("2000"));  // refused: still no value
    EXPECT_NE(flowSp->noValue(), 0);
    EXPECT_TRUE(flowSp->setDeviceValue("512"));
    EXPECT_EQ(flowSp->noValue(), 0);
    EXPECT_EQ(flowSp->valueText(), "512");
}

TEST(ModelParameter, UnitsLimitsAndBinding) {
    auto model = modelWith();
    auto swPoint = findParameter(*model, "SWPOINT");
    EXPECT_EQ(swPoint->unit(), "°C");
    EXPECT_EQ(swPoint->minimum().toText(), "-20");
    EXPECT_EQ(swPoint->maximum().toText(), "120");
    auto fl = findParameter(*model, "TEACHDO_SWPOINT");
    EXPECT_EQ(fl->unit(), "%");
    EXPECT_EQ(fl->maximum().toText(), "100");
    EXPECT_EQ(findParameter(*model, "PROINFLOW_RAW")->unit(), "Bit");

    auto item = std::dynamic_pointer_cast<FrameDeviceItem>(swPoint->binding()->deviceItem());
    ASSERT_TRUE(item);
    EXPECT_EQ(item->parameterName(), "SWPOINT");
    EXPECT_EQ(swPoint->binding()->deviceItem(), swPoint->binding()->deviceItem());
}

TEST(ModelParameter, DisplayNamesFollowTheModelsLanguage) {
    auto model = modelWith();
    auto temp = findParameter(*model, "PROINTEMP");
    EXPECT_EQ(temp->displayName(), "Medium temperature");
    model->settings()->setLanguage(1031);
    EXPECT_EQ(temp->displayName(), "Mediumtemperatur");
    model->settings()->setLanguage(0);
    EXPECT_EQ(temp->displayName(), "PROINTEMP");
    model->settings()->setLanguage(1036);  // no French names: English
    EXPECT_EQ(temp->displayName(), "Medium temperature");

    DeviceOptions german;
    german.language = 1031;
    EXPECT_EQ(findParameter(*modelWith(german), "TEACHDO_QUICK")->displayName(), "Quick-Teach-Toleranz");
    DeviceOptions neutral;
    neutral.language = 0;
    auto neutralModel = modelWith(neutral);
    for (const auto& p : listParameters(*neutralModel)) EXPECT_EQ(p->displayName(), p->name());
    for (int32_t language : {0, 1031, 1033}) {
        neutralModel->settings()->setLanguage(language);
        EXPECT_EQ(neutralModel->displayName(), "FM1");
    }
}

TEST(ModelParameter, RefreshIsCountedPerParameter) {
    auto model = modelWith();
    auto flow = findParameter(*model, "PROINFLOW_RAW");
    flow->refresh();
    flow->refresh();
    EXPECT_EQ(flow->refreshCount(), 2);
    EXPECT_EQ(findParameter(*model, "PROINTEMP")->refreshCount(), 0);
}

}  // namespace
}  // namespace qx::frame::test
