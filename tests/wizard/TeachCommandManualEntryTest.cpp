// Manual entry during a teach-in: the Edit button's moves into and out of it, and ComSetTeach
// writing the values typed by hand: what the data model refuses, the minimum span with its
// message per firmware, and the collection the device receives, in order.
#include <gmock/gmock.h>

#include <optional>

#include "wizard/TeachStand.h"

namespace qx::teach::test {
namespace {

using testing::ElementsAreArray;

void maxMinStarted(TeachStand& s) {
    ASSERT_TRUE(s.click(*s.v().ComTeachMaxMin));
    s.wait(kPollMs);
}
void quickStarted(TeachStand& s) {
    ASSERT_TRUE(s.click(*s.v().ComteachQuick));
    s.wait(kPollMs);
}
void typeInto(platform::TextBox& box, const std::string& text) {
    ASSERT_TRUE(box.usable());
    box.setText(text);
}

class EditMoves : public testing::Test {};

// Pressing Edit during a max/min teach opens the entry fields and locks the teach buttons;
// releasing it returns to waiting for the maximum.
TEST_F(EditMoves, EditDuringMaxMinTeachEntersAndLeavesManualEntry) {
    TeachStand s(device(1));
    maxMinStarted(s);
    ASSERT_TRUE(s.toolbarButton("Edit").enabled());
    ASSERT_TRUE(s.press("Edit"));
    auto& v = s.v();
    EXPECT_EQ(v.mTeachState, 5);
    ASSERT_EQ(s.messages().size(), 1u);
    EXPECT_EQ(s.messages()[0].text, "IDS_FWZ_EDIT_INFO");
    EXPECT_EQ(s.messages()[0].caption, "FM1 IDS_TEACH_WIZ");
    EXPECT_TRUE(v.LaTMaxW->enabled());
    EXPECT_TRUE(v.LaTMinW->enabled());
    EXPECT_TRUE(v.ComSetTeach->enabled());
    EXPECT_FALSE(v.ComTMax->enabled());
    s.wait(3 * kPollMs);
    EXPECT_EQ(s.statuses.back().text, "IDS_SET_MM_TEACH_MAN");
    EXPECT_EQ(s.statuses.back().colour, kAmber);
    EXPECT_EQ(s.lamp(0), kGreen);
    EXPECT_EQ(s.lamp(9), kGreen);
    EXPECT_EQ(v.mTeachState, 5);  // updates keep the manual entry

    ASSERT_TRUE(s.press("Edit"));
    EXPECT_EQ(v.mTeachState, 2);
    EXPECT_FALSE(v.ComSetTeach->enabled());
    EXPECT_EQ(s.messages().size(), 1u);  // releasing shows nothing
}

// Edit pressed while the teach-max job is on its way: its answer finds state 5 and must neither
// reset QUICK_2 nor move on to state 4.
TEST_F(EditMoves, EditWhileTheMaximumIsSentSwallowsTheAnswer) {
    TeachStand s(device(1));
    maxMinStarted(s);
    s.settleAt(900);
    ASSERT_TRUE(s.click(*s.v().ComTMax));
    ASSERT_TRUE(s.press("Edit"));
    EXPECT_EQ(s.v().mTeachState, 5);
    s.wait(3 * kPollMs);
    EXPECT_THAT(s.codes(), ElementsAreArray({"4", "1"}));
    EXPECT_EQ(s.v().mTeachState, 5);
}

// During a quick teach Edit moves between 10 and 13.
TEST_F(EditMoves, EditDuringQuickTeachEntersAndLeavesManualEntry) {
    TeachStand s(device(1));
    quickStarted(s);
    ASSERT_TRUE(s.press("Edit"));
    EXPECT_EQ(s.v().mTeachState, 13);
    EXPECT_TRUE(s.v().LaTQuickW->enabled());
    EXPECT_FALSE(s.v().ComTQuick->enabled());
    ASSERT_TRUE(s.press("Edit"));
    EXPECT_EQ(s.v().mTeachState, 10);
}

// Firmware 0 keeps the Edit button disabled for a quick teach: manual entry is not offered.
TEST_F(EditMoves, QuickTeachOnFirmwareZeroOffersNoEdit) {
    TeachStand s(device(0));
    quickStarted(s);
    EXPECT_FALSE(s.v().mTeachActive);
    EXPECT_FALSE(s.toolbarButton("Edit").enabled());
    EXPECT_FALSE(s.press("Edit"));
    EXPECT_EQ(s.v().mTeachState, 10);
}

// ---- ComSetTeach, maximum and minimum ----

struct SpanCase {
    const char* name;
    int32_t fw;
    Category category;
    Presence quickMode;
    std::string max, min;
    std::optional<std::string> message;  // none: no message box
    std::optional<std::string> write;    // none: nothing sent
};

class SetTeachSpan : public testing::TestWithParam<SpanCase> {};

// The span must reach 51 on firmware 0 and 10 on newer firmware; the message names the limit
// only on firmware 0 and 1. When the span holds, the mode value travels first, then the maximum,
// then the minimum: the device switches to max/min mode before it takes the limits.
TEST_P(SetTeachSpan, RefusesTooSmallASpanAndSendsTheRestInOrder) {
    const auto& c = GetParam();
    auto options = device(c.fw, c.category);
    options.language = 1033;
    options.quickMode = c.quickMode;
    TeachStand s(options);
    maxMinStarted(s);
    ASSERT_TRUE(s.press("Edit"));
    s.wait(kPollMs);
    s.writes.clear();
    const auto boxesBefore = s.messages().size();

    typeInto(*s.v().LaTMaxW, c.max);
    typeInto(*s.v().LaTMinW, c.min);
    const std::string teachJobBefore = s.v().mTeachJobId;
    ASSERT_TRUE(s.click(*s.v().ComSetTeach));
    s.wait(kPollMs);

    if (c.message) {
        ASSERT_EQ(s.messages().size(), boxesBefore + 1);
        EXPECT_EQ(s.messages().back().text, *c.message);
        EXPECT_EQ(s.messages().back().caption, "FM1 Teach-in Wizard");
    } else {
        EXPECT_EQ(s.messages().size(), boxesBefore);
    }
    if (c.write) {
        EXPECT_THAT(s.writes, ElementsAreArray({*c.write}));
        EXPECT_EQ(s.v().LaTMax->text(), c.max);
        EXPECT_EQ(s.v().LaTMin->text(), c.min);
        EXPECT_NE(s.v().mTeachJobId, teachJobBefore);  // sent as the teach job
        EXPECT_EQ(s.f.sim().value("TEACH_MAX"), c.max);
        EXPECT_EQ(s.f.sim().value("TEACH_MIN"), c.min);
        EXPECT_EQ(s.v().mTeachState, 5);  // its answer is a teach answer and moves nothing
    } else {
        EXPECT_TRUE(s.writes.empty());
        EXPECT_EQ(s.v().mTeachJobId, teachJobBefore);
    }
}

const char* const kFw0Small =
    "The maximum must be more than 50 above the minimum. Nothing was written to the device.";
const char* const kFw1Small =
    "The maximum must be at least 10 above the minimum. Nothing was written to the device.";

INSTANTIATE_TEST_SUITE_P(
    Firmware, SetTeachSpan,
    testing::Values(
        SpanCase{"Fw0SpanFifty", 0, Category::Other, Presence::Valid, "600", "550", kFw0Small, std::nullopt},
        SpanCase{"Fw0SpanFiftyOne", 0, Category::Other, Presence::Valid, "601", "550", std::nullopt,
                 R"(QUICK_2="2" TEACH_MAX="601" TEACH_MIN="550")"},
        SpanCase{"Fw1SpanNine", 1, Category::Match, Presence::Valid, "609", "600", kFw1Small, std::nullopt},
        SpanCase{"Fw1SpanTen", 1, Category::Match, Presence::Valid, "610", "600", std::nullopt,
                 R"(TEACHDO_QUICK_MODE="2" TEACH_MAX_SAVE="610" TEACH_MIN_SAVE="600")"},
        SpanCase{"Fw1WithoutQuickMode", 1, Category::Other, Presence::Missing, "610", "600", std::nullopt,
                 R"(QUICK_2="2" TEACH_MAX="610" TEACH_MIN="600")"},
        SpanCase{"Fw2SpanNine", 2, Category::Other, Presence::Valid, "609", "600", std::nullopt,
                 std::nullopt},
        SpanCase{"Fw2SpanTen", 2, Category::Other, Presence::Valid, "610", "600", std::nullopt,
                 R"(TEACHDO_QUICK_MODE="2" TEACH_MAX="610" TEACH_MIN="600")"}),
    [](const testing::TestParamInfo<SpanCase>& info) { return std::string(info.param.name); });

class SetTeachRefusal : public testing::Test {};

// A value the model refuses, or stores as a different text, is caught by reading it back: the
// user is told and nothing is sent, while the model keeps what it did accept.
TEST_F(SetTeachRefusal, ReadBackThatDiffersStopsBeforeSending) {
    TeachStand s(device(1, Category::Other));
    maxMinStarted(s);
    ASSERT_TRUE(s.press("Edit"));
    s.writes.clear();

    typeInto(*s.v().LaTMaxW, "2000");  // beyond the parameter's range
    typeInto(*s.v().LaTMinW, "300");
    ASSERT_TRUE(s.click(*s.v().ComSetTeach));
    EXPECT_EQ(s.messageTexts().back(), "IDS_FWZ_VALUE_INVALID");
    EXPECT_EQ(s.v().pTEACH_MIN->valueText(), "300");
    EXPECT_NE(s.v().LaTMax->text(), "2000");

    const auto boxes = s.messages().size();
    typeInto(*s.v().LaTMaxW, "700.0");  // accepted as 700, reads back as "700"
    ASSERT_TRUE(s.click(*s.v().ComSetTeach));
    EXPECT_EQ(s.messages().size(), boxes + 1);
    EXPECT_EQ(s.messageTexts().back(), "IDS_FWZ_VALUE_INVALID");

    s.wait(2 * kPollMs);
    EXPECT_TRUE(s.writes.empty());
}

// ---- ComSetTeach, quick-teach switch point ----

// With the maximum fields hidden (quick teach) the typed switch point goes to the quick-teach
// parameter of the firmware, after the mode value. Its answer is an ordinary one: the teach job
// id stays, so a later teach answer is still recognised.
TEST_F(SetTeachRefusal, QuickSwitchPointOnFirmwareOneGoesWithModeOne) {
    TeachStand s(device(1));
    quickStarted(s);
    ASSERT_TRUE(s.press("Edit"));
    ASSERT_FALSE(s.v().LaTMax->visible());
    s.writes.clear();
    const std::string teachJob = s.v().mTeachJobId;

    typeInto(*s.v().LaTQuickW, "420");
    ASSERT_TRUE(s.click(*s.v().ComSetTeach));
    EXPECT_EQ(s.v().LaTQuick->text(), "420");
    EXPECT_EQ(s.v().mTeachJobId, teachJob);
    s.wait(kPollMs);
    EXPECT_THAT(s.writes, ElementsAreArray({R"(TEACHDO_QUICK_MODE="1" FLOWSPQT_RAW="420")"}));
    EXPECT_EQ(s.f.sim().value("FLOWSPQT_RAW"), "420");

    typeInto(*s.v().LaTQuickW, "1200");
    ASSERT_TRUE(s.click(*s.v().ComSetTeach));
    EXPECT_EQ(s.messageTexts().back(), "IDS_FWZ_VALUE_INVALID");
    s.wait(kPollMs);
    EXPECT_EQ(s.writes.size(), 1u);
}

// Firmware 0 offers no Edit during a quick teach, so the frame calls the handler here directly:
// the mode travels in QUICK_2 and the switch point is FLOWSP_RAW.
TEST_F(SetTeachRefusal, QuickSwitchPointOnFirmwareZeroGoesWithQuickTwo) {
    TeachStand s(device(0));
    quickStarted(s);
    s.writes.clear();
    s.v().LaTQuickW->setText("420");
    s.v().ComSetTeach_Click();
    EXPECT_EQ(s.v().LaTQuick->text(), "420");
    s.wait(kPollMs);
    EXPECT_THAT(s.writes, ElementsAreArray({R"(QUICK_2="1" FLOWSP_RAW="420")"}));
}

}  // namespace
}  // namespace qx::teach::test
