// Binding the view to each variant of the flow monitor: which parameters it finds, which teach
// pair the bus category chooses, what the sliders, legends and the tolerance list show, and in
// which language.
#include <fstream>
#include <sstream>

#include "frame/ParameterSlider.h"
#include "view/BindingTestSupport.h"

namespace qx::view::test {
namespace {

using frame::DeviceOptions;
using frame::InitTarget;
using frame::Presence;
using Category = DeviceOptions::Category;

class BindingVariantsTest : public StandTest {};

// The thirteen references in the order of the binding table.
std::vector<std::string> boundNames(const QX_FlowWiz& v) {
    return {nameOf(v.pQUICK_2),       nameOf(v.pPROINFLOW_RAW),
            nameOf(v.pDELTAFLOW_NEW), nameOf(v.pPROINTEMP),
            nameOf(v.pSWPOINT),       nameOf(v.pTEACHDO_SWPOINT),
            nameOf(v.pDELTAFLOW_RAW), nameOf(v.pTEACH_MAX),
            nameOf(v.pTEACH_MIN),     nameOf(v.pTEACHDO_QUICK_MODE),
            nameOf(v.pTEACHDO_QUICK), nameOf(v.pFLOWSP_RAW),
            nameOf(v.pFLOWSPQT_RAW)};
}

struct DeviceCase {
    const char* label;
    DeviceOptions options;
    std::vector<std::string> bound;
    bool categoryMatch;
    int16_t teachMode;
    bool quickButton;
    bool switchPointSettable;  // also whether FrameFL shows
    const char* teachMaxCaption;
    const char* setPointLegend;
    const char* quickText;  // LaTQuick and LaTQuickW
};

DeviceOptions with(auto&& change) {
    DeviceOptions o;
    change(o);
    return o;
}

const std::vector<std::string> kAllSave = {
    "QUICK_2",         "PROINFLOW_RAW", "DELTAFLOW_NEW",  "PROINTEMP",      "SWPOINT",
    "TEACHDO_SWPOINT", "DELTAFLOW_RAW", "TEACH_MAX_SAVE", "TEACH_MIN_SAVE", "TEACHDO_QUICK_MODE",
    "TEACHDO_QUICK",   "FLOWSP_RAW",    "FLOWSPQT_RAW"};

std::vector<std::string> replaced(std::vector<std::string> names, size_t index, const char* name) {
    names[index] = name;
    return names;
}
std::vector<std::string> plainTeach(std::vector<std::string> names = kAllSave) {
    names[7] = "TEACH_MAX";
    names[8] = "TEACH_MIN";
    return names;
}

TEST_F(BindingVariantsTest, EachDeviceVariantBindsWhatItHasAndNothingElse) {
    const std::vector<DeviceCase> variants = {
        {"full device", {}, kAllSave, true, 0, true, true, "Taught maximum", "Flow switch point, ", ""},
        {"other category", with([](auto& o) { o.category = Category::Other; }), plainTeach(), false, 0, true,
         true, "Maximum flow", "Flow switch point, ", ""},
        {"no category record", with([](auto& o) { o.category = Category::None; }), plainTeach(), false, 0,
         true, true, "Maximum flow", "Flow switch point, ", ""},
        // The category would match, but without a database nothing can say so.
        {"no database", with([](auto& o) { o.databasePresent = false; }), plainTeach(), false, 0, true, true,
         "Maximum flow", "Flow switch point, ", ""},
        {"quick mode without value", with([](auto& o) { o.quickMode = Presence::NoValue; }),
         replaced(kAllSave, 9, "<none>"), true, 2, false, true, "Taught maximum", "Flow switch point, ", ""},
        {"quick mode missing", with([](auto& o) { o.quickMode = Presence::Missing; }),
         replaced(kAllSave, 9, "<none>"), true, 2, false, true, "Taught maximum", "Flow switch point, ", ""},
        // Bound but without value: the reference stays, the switch point cannot be set.
        {"switch point without value", with([](auto& o) { o.swPoint = Presence::NoValue; }), kAllSave, true,
         0, true, false, "Taught maximum", "Flow switch point, ", ""},
        {"switch point missing", with([](auto& o) { o.swPoint = Presence::Missing; }),
         replaced(kAllSave, 5, "<none>"), true, 0, true, false, "Taught maximum", "Flow switch point, ", ""},
        {"set point without value", with([](auto& o) { o.flowSp = Presence::NoValue; }), kAllSave, true, 0,
         true, true, "Taught maximum", "Flow switch point, ", "n. def."},
        {"set point missing", with([](auto& o) { o.flowSp = Presence::Missing; }),
         replaced(kAllSave, 11, "<none>"), true, 0, true, true, "Taught maximum", "", ""},
        {"quick set point without value", with([](auto& o) { o.flowSpQt = Presence::NoValue; }), kAllSave,
         true, 0, true, true, "Taught maximum", "Flow switch point, ", ""},
        {"quick set point missing", with([](auto& o) { o.flowSpQt = Presence::Missing; }),
         replaced(kAllSave, 12, "<none>"), true, 0, true, true, "Taught maximum", "Flow switch point, ", ""},
        // Captions from a parameter the device lacks stay as they were.
        {"teach limits missing", with([](auto& o) { o.teachPresent = false; }),
         replaced(replaced(kAllSave, 7, "<none>"), 8, "<none>"), true, 0, true, true, "before",
         "Flow switch point, ", ""},
    };
    for (const auto& variant : variants) {
        SCOPED_TRACE(variant.label);
        inFreshThread([&] {
            frame::StandFrame f;
            f.setOptions(variant.options);
            auto& v = f.create();
            v.LabeTMax->setCaption("before");
            f.init(InitTarget::Device);

            EXPECT_EQ(boundNames(v), variant.bound);
            EXPECT_EQ(v.mCategoryMatch, variant.categoryMatch);
            EXPECT_EQ(v.mTeachMode, variant.teachMode);
            EXPECT_EQ(v.mQuickButtonVisible, variant.quickButton);
            EXPECT_EQ(v.mSwitchPointSettable, variant.switchPointSettable);
            EXPECT_EQ(v.FrameFL->visible(), variant.switchPointSettable);
            EXPECT_FALSE(v.FrameQT->visible());
            EXPECT_EQ(v.LabeTMax->caption(), variant.teachMaxCaption);
            EXPECT_EQ(v.LaLeSP->caption(), variant.setPointLegend);
            EXPECT_EQ(v.LaTQuick->text(), variant.quickText);
            EXPECT_EQ(v.LaTQuickW->text(), variant.quickText);
        });
    }
}

// Every reference points into the view's own copy, never into the frame's model.
TEST_F(BindingVariantsTest, ReferencesBelongToTheAppliedCopy) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device);
        ASSERT_NE(v.mModel, nullptr);
        ASSERT_NE(v.mModel, v.mFrameModel);
        EXPECT_EQ(v.mFrameModel, f.model());
        for (const auto& p : {v.pQUICK_2, v.pPROINFLOW_RAW, v.pDELTAFLOW_NEW, v.pPROINTEMP, v.pSWPOINT,
                              v.pTEACHDO_SWPOINT, v.pDELTAFLOW_RAW, v.pTEACH_MAX, v.pTEACH_MIN,
                              v.pTEACHDO_QUICK_MODE, v.pTEACHDO_QUICK, v.pFLOWSP_RAW, v.pFLOWSPQT_RAW}) {
            ASSERT_NE(p, nullptr);
            EXPECT_EQ(frame::asFrameParameter(p), frame::findParameter(*v.mModel, p->name())) << p->name();
            EXPECT_NE(frame::asFrameParameter(p), frame::findParameter(*f.model(), p->name())) << p->name();
        }
    });
}

TEST_F(BindingVariantsTest, ToleranceListFollowsTheFirmware) {
    struct Case {
        int32_t fw;
        int32_t count;
        int32_t index;
        const char* first;
        const char* last;
    };
    for (const Case c : {Case{1, 17, 8, " 4,0 %", "-4,0 %"}, Case{0, 8, 4, " 6,0 %", "-4,5 %"},
                         Case{2, 8, 4, " 6,0 %", "-4,5 %"}}) {
        SCOPED_TRACE(c.fw);
        inFreshThread([&] {
            frame::StandFrame f;
            f.setOptions(with([&](auto& o) { o.fw = c.fw; }));
            auto& v = f.create();
            f.init(InitTarget::Device);
            EXPECT_EQ(v.mFwVersion, c.fw);
            ASSERT_EQ(v.CoQTOffset->listCount(), c.count);
            EXPECT_EQ(v.CoQTOffset->listIndex(), c.index);
            EXPECT_EQ(v.CoQTOffset->text(), " 0 %");
            EXPECT_EQ(v.CoQTOffset->list(0), c.first);
            EXPECT_EQ(v.CoQTOffset->list(c.count - 1), c.last);
        });
    }
}

// A second binding on the other firmware replaces the list rather than adding to it.
TEST_F(BindingVariantsTest, ToleranceListIsRebuiltAtEachBinding) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device);
        ASSERT_EQ(v.CoQTOffset->listCount(), 17);
        auto fw0 = frame::createFrameModel(with([](auto& o) { o.fw = 0; }));
        v.IQX_ActiveXConfig2_init(fw0, std::nullopt, std::nullopt, nullptr);
        EXPECT_EQ(v.CoQTOffset->listCount(), 8);
        EXPECT_EQ(v.CoQTOffset->listIndex(), 4);
    });
}

frame::ParameterSlider& sliderOf(const SliderRef& ref) {
    return dynamic_cast<frame::ParameterSlider&>(*ref.object);
}

TEST_F(BindingVariantsTest, SlidersTakeLimitsUnitAndValueFromTheirParameters) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device);
        auto& tp = sliderOf(v.mSliderTP);
        EXPECT_EQ(tp.minimum(), -20);
        EXPECT_EQ(tp.maximum(), 120);
        EXPECT_EQ(tp.getProperty("unit").toText(), "°C");
        EXPECT_EQ(tp.value(), 60);
        EXPECT_EQ(tp.getProperty("Step").toDouble(), 1);
        auto& fl = sliderOf(v.mSliderFL);
        EXPECT_EQ(fl.minimum(), 0);
        EXPECT_EQ(fl.maximum(), 100);
        EXPECT_EQ(fl.getProperty("unit").toText(), "%");
        EXPECT_EQ(fl.value(), 50);
    });
}

// The flow switch-point slider starts at 0 even where the parameter's own minimum is higher; a
// value between 0 and that minimum would otherwise be cut off.
TEST_F(BindingVariantsTest, FlowSliderMinimumIsZeroWhateverTheParameterSays) {
    std::ifstream in(frame::flowMonitorDescriptionPath());
    std::stringstream text;
    text << in.rdbuf();
    std::string json = text.str();
    const auto at = json.find("\"name\": \"TEACHDO_SWPOINT\"");
    ASSERT_NE(at, std::string::npos);
    const auto minimum = json.find("\"minimum\": 0", at);
    ASSERT_NE(minimum, std::string::npos);
    json.replace(minimum, 12, "\"minimum\": 20");
    const std::string path = testing::TempDir() + "flowmonitor-min20.json";
    std::ofstream(path) << json;

    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        auto model = frame::createFrameModel({}, path);
        ASSERT_EQ(frame::findParameter(*model, "TEACHDO_SWPOINT")->minimum().toDouble(), 20);
        v.IQX_ActiveXConfig2_init(model, std::nullopt, std::nullopt, nullptr);
        EXPECT_EQ(sliderOf(v.mSliderFL).minimum(), 0);
        EXPECT_EQ(sliderOf(v.mSliderTP).minimum(), -20);
    });
}

TEST_F(BindingVariantsTest, SliderOfAMissingParameterKeepsWhatItHad) {
    inFreshThread([&] {
        frame::StandFrame f;
        f.setOptions(with([](auto& o) { o.swPoint = Presence::Missing; }));
        auto& v = f.create();
        auto& fl = sliderOf(v.mSliderFL);
        fl.setProperty("MaxValue", 77);
        fl.setProperty("unit", "x");
        fl.UpdateLimits();
        fl.setValue(33);
        f.init(InitTarget::Device);
        EXPECT_EQ(fl.maximum(), 77);
        EXPECT_EQ(fl.getProperty("unit").toText(), "x");
        EXPECT_EQ(fl.value(), 33);
        EXPECT_EQ(sliderOf(v.mSliderTP).maximum(), 120);
    });
}

TEST_F(BindingVariantsTest, LegendsAndFrameCaptionsComeFromTheParameters) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device);
        EXPECT_EQ(v.LaC1->caption(), "Temperature chart - ");
        EXPECT_EQ(v.LaC2->caption(), "Flow chart - ");
        EXPECT_EQ(v.LaLeDF->caption(), "Medium temperature");
        EXPECT_EQ(v.LaLeTS->caption(), "Temperature switch point, ");
        EXPECT_EQ(v.LaLeFS->caption(), "Flow");
        EXPECT_EQ(v.LabelTMin->caption(), "Taught minimum");
        EXPECT_EQ(v.LabeTMax->caption(), "Taught maximum");
        EXPECT_EQ(v.LaUnit1->caption(), "[Bit]");
        EXPECT_EQ(v.LaUnit2->caption(), "[°C]");
        EXPECT_EQ(v.LaTime->caption(), "");
        EXPECT_EQ(v.LaSp->caption(), "");
        EXPECT_EQ(v.FrameTP->caption(), "Temperature switch point");
        EXPECT_EQ(v.FrameFL->caption(), "Switch point position");
        EXPECT_EQ(v.FrameQT->caption(), "Quick-teach tolerance");

        // Each legend and its value share a colour with the chart line they name.
        EXPECT_EQ(v.LaLeDF->foreColor(), 0x288C96u);
        EXPECT_EQ(v.LaDF->foreColor(), 0x288C96u);
        EXPECT_EQ(v.LaLeTS->foreColor(), 0x0000FFu);
        EXPECT_EQ(v.LaTS->foreColor(), 0x0000FFu);
        EXPECT_EQ(v.LaLeSP->foreColor(), 0xFF0000u);
        EXPECT_EQ(v.LaSp->foreColor(), 0xFF0000u);
        EXPECT_EQ(v.LaLeFS->foreColor(), 0xEF29EDu);
        EXPECT_EQ(v.LaFS->foreColor(), 0xEF29EDu);
    });
}

TEST_F(BindingVariantsTest, ButtonAndFrameCaptionsAreLookedUp) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device);
        EXPECT_EQ(v.LabelTQuick->caption(), "Quick-teach switch point");
        EXPECT_EQ(v.FrameTeach->caption(), "Teach-in");
        EXPECT_EQ(v.FrameTeachOption->caption(), "Teach-in method");
        EXPECT_EQ(v.ComSetPara->caption(), "Set");
        EXPECT_EQ(v.ComSetFL->caption(), "Set");
        EXPECT_EQ(v.ComSetQT->caption(), "Set");
        EXPECT_EQ(v.ComTMax->caption(), "Teach max");
        EXPECT_EQ(v.ComTMin->caption(), "Teach min");
        EXPECT_EQ(v.ComTQuick->caption(), "Teach");
        EXPECT_EQ(v.ComTeachMaxMin->caption(), "Max/min teach");
        EXPECT_EQ(v.ComteachQuick->caption(), "Quick teach");
        EXPECT_EQ(v.ComTeachCancel->caption(), "Cancel");
        EXPECT_EQ(v.ComSetTeach->caption(), "Write values");
        EXPECT_FALSE(v.FrameTeachOption->enabled());
    });
}

// The text resource follows the language of the model's settings; neutral language 0 shows
// every key as it is.
TEST_F(BindingVariantsTest, TextsFollowTheModelLanguage) {
    struct Case {
        int32_t language;
        const char* tempChart;
        const char* flowChart;
        const char* writeValues;
        const char* cancel;
    };
    for (const Case c :
         {Case{0, "IDS_Temperaturdiagramm - ", "IDS_Stroemungsdiagramm - ", "IDS_SET_MANUAL", "IDS_TCANCEL"},
          Case{1033, "Temperature chart - ", "Flow chart - ", "Write values", "Cancel"},
          Case{1031, "Temperaturdiagramm - ", "Strömungsdiagramm - ", "Werte schreiben", "Abbrechen"}}) {
        SCOPED_TRACE(c.language);
        inFreshThread([&] {
            frame::StandFrame f;
            f.setOptions(with([&](auto& o) { o.language = c.language; }));
            auto& v = f.create();
            f.init(InitTarget::Device);
            EXPECT_EQ(v.LaC1->caption(), c.tempChart);
            EXPECT_EQ(v.LaC2->caption(), c.flowChart);
            EXPECT_EQ(v.ComSetTeach->caption(), c.writeValues);
            EXPECT_EQ(v.lookUpText("IDS_TCANCEL"), c.cancel);  // later look-ups too
            if (c.language == 1031) {
                EXPECT_EQ(v.LaLeDF->caption(), "Mediumtemperatur");
            }
        });
    }
}

// The view state of the charts and the wizard starts afresh at each binding.
TEST_F(BindingVariantsTest, BindingResetsChartRangesAndWizardInputs) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        v.mFlowRangeMax = v.mTempRangeMax = v.mSavedFlowRangeMax = v.mSavedTempRangeMax = 500;
        v.mFlowRangeMin = v.mTempRangeMin = v.mSavedFlowRangeMin = v.mSavedTempRangeMin = 100;
        v.mAxisStep = 3;
        v.mSwitchPointFlow = 321;
        v.mTrendStart = 36000;
        v.mTeachStartTime = 36000;
        f.init(InitTarget::Device);
        EXPECT_EQ(v.mFlowRangeMax, -2000);
        EXPECT_EQ(v.mTempRangeMax, -2000);
        EXPECT_EQ(v.mSavedFlowRangeMax, -2000);
        EXPECT_EQ(v.mSavedTempRangeMax, -2000);
        EXPECT_EQ(v.mFlowRangeMin, 2000);
        EXPECT_EQ(v.mTempRangeMin, 2000);
        EXPECT_EQ(v.mSavedFlowRangeMin, 2000);
        EXPECT_EQ(v.mSavedTempRangeMin, 2000);
        EXPECT_EQ(v.mAxisStep, 10);
        EXPECT_EQ(v.mSwitchPointFlow, -1);
        EXPECT_TRUE(v.mRefreshSwitchInputs);
        EXPECT_FALSE(v.mTrendStart.has_value());
        EXPECT_FALSE(v.mTeachStartTime.has_value());
    });
}

}  // namespace
}  // namespace qx::view::test
