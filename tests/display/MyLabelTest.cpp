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
    auto watch = label.observe([&](const platform::Control&, const std::string& p) { seen.push_back(p); });
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

// A window watches only the control, so the control passes on every colour change of Label1,
// whether the view sets it by name or typed, and reads it back from Label1.
TEST(MyLabelTest, ObserversSeeBothColours) {
    platform::FixedPitchTextMetrics metrics;
    MyLabel label{"LaSp", metrics};
    std::vector<std::string> seen;
    auto watch = label.observe([&](const platform::Control&, const std::string& p) { seen.push_back(p); });
    label.setForeColor(0x0000FF);
    label.setBackColor(0x80FF80);
    label.setProperty("ForeColor", platform::Variant(int64_t{0xFF0000}));
    label.setProperty("BackColor", platform::Variant(int64_t{52222}));
    EXPECT_EQ(seen, (std::vector<std::string>{"ForeColor", "BackColor", "ForeColor", "BackColor"}));
    EXPECT_EQ(label.foreColor(), 0xFF0000u);
    EXPECT_EQ(label.getProperty("BackColor").toInt32(), 52222);
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
