#include "display/MyLabel.h"

#include <gtest/gtest.h>

#include <vector>

namespace qx::display {
namespace {

constexpr int32_t kChar = platform::FixedPitchTextMetrics::kCharWidth;

// The label fits its caption (the degree sign is one character, not two bytes); a resize gives
// Label1 the height and leaves it the width of its text; observers see caption and width change.
TEST(MyLabelTest, WidthFollowsTheCaptionAndSurvivesResizing) {
    platform::FixedPitchTextMetrics metrics;
    MyLabel label{"LaFS", metrics};
    std::vector<std::string> seen;
    label.observe([&](const platform::Control&, const std::string& p) { seen.push_back(p); });
    label.setCaption("1000 Bit");
    EXPECT_EQ(seen, (std::vector<std::string>{"Caption", "Width"}));
    EXPECT_EQ(label.width(), 8 * kChar);
    EXPECT_EQ(label.label1().width(), 8 * kChar);
    label.setCaption("60 °C");
    EXPECT_EQ(label.width(), 5 * kChar);

    label.move(120, 240, 3000, 300);  // the layout moves and stretches the control
    EXPECT_EQ(label.label1().height(), 300);
    EXPECT_EQ(label.label1().width(), 5 * kChar);
    EXPECT_EQ(label.caption(), "60 °C");
}

TEST(MyLabelTest, EmptyCaptionShrinksToTheMetricsMinimum) {
    // A real font reports a width for the empty text too; the label must not assume zero.
    struct PaddedMetrics : platform::TextMetrics {
        int32_t textWidth(const std::string& text) const override {
            return 30 + 100 * static_cast<int32_t>(text.size());
        }
    } metrics;
    MyLabel label("LaTime", metrics);
    label.setCaption("");
    EXPECT_EQ(label.width(), 30);
    label.setCaption("ab");
    EXPECT_EQ(label.width(), 230);
}

}  // namespace
}  // namespace qx::display
