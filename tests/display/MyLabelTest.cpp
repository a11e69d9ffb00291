#include "display/MyLabel.h"

#include <gtest/gtest.h>

#include <vector>

namespace qx::display {
namespace {

constexpr int32_t kChar = platform::FixedPitchTextMetrics::kCharWidth;

class MyLabelTest : public testing::Test {
  protected:
    platform::FixedPitchTextMetrics metrics;
    MyLabel label{"LaFS", metrics};
};

TEST_F(MyLabelTest, WidthFollowsTheCaption) {
    label.setCaption("450 Bit");
    EXPECT_EQ(label.width(), 7 * kChar);
    EXPECT_EQ(label.width(), label.label1().width());

    label.setCaption("1000 Bit");
    EXPECT_EQ(label.width(), 8 * kChar);

    label.setCaption("22°C");  // the degree sign is one character, not two bytes
    EXPECT_EQ(label.width(), 4 * kChar);

    label.setCaption("");
    EXPECT_EQ(label.width(), metrics.textWidth(""));
    EXPECT_EQ(label.caption(), "");
}

TEST(MyLabelWithFontMetrics, EmptyCaptionShrinksToTheMetricsMinimum) {
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

TEST_F(MyLabelTest, ResizeGivesLabel1TheHeightAndKeepsWidths) {
    label.setCaption("60 °C");
    const int32_t width = label.width();

    label.setHeight(400);
    EXPECT_EQ(label.width(), width);
    EXPECT_EQ(label.label1().height(), 400);
    EXPECT_EQ(label.label1().width(), width);

    label.move(120, 240, 3000, 300);  // the layout moves and stretches the control
    EXPECT_EQ(label.label1().height(), 300);
    EXPECT_EQ(label.label1().width(), width);  // Label1 still fits its text
    EXPECT_EQ(label.caption(), "60 °C");
}

TEST_F(MyLabelTest, ObserversOfTheControlSeeCaptionAndSize) {
    std::vector<std::string> seen;
    label.observe([&](const platform::Control&, const std::string& p) { seen.push_back(p); });
    label.setCaption("7");
    label.setForeColor(255);
    EXPECT_EQ(seen, (std::vector<std::string>{"Caption", "Width", "ForeColor"}));
}

}  // namespace
}  // namespace qx::display
