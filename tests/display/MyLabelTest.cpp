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

TEST_F(MyLabelTest, StartsAtItsDesignSizeAndCaption) {
    EXPECT_EQ(label.width(), MyLabel::kDesignWidth);
    EXPECT_EQ(label.height(), MyLabel::kDesignHeight);
    EXPECT_EQ(label.caption(), "Label1");
    EXPECT_EQ(label.label1().width(), 6 * kChar);
    EXPECT_EQ(label.label1().height(), MyLabel::kDesignHeight);
    EXPECT_EQ(label.typeName(), "MyLabel");
}

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

TEST_F(MyLabelTest, ColoursGoToLabel1) {
    const uint32_t designBack = label.label1().backColor();
    EXPECT_EQ(label.backColor(), designBack);
    label.setBackColor(0x00FF00);
    EXPECT_EQ(label.backColor(), 0x00FF00u);
    EXPECT_EQ(label.label1().backColor(), 0x00FF00u);

    label.setForeColor(0x288C96);  // RGB(150, 140, 40)
    EXPECT_EQ(label.label1().foreColor(), 0x288C96u);
}

TEST_F(MyLabelTest, PropertiesByNameBehaveLikeTheTypedOnes) {
    label.setProperty("Caption", platform::Variant("12.5"));
    EXPECT_EQ(label.width(), 4 * kChar);
    EXPECT_EQ(label.getProperty("Caption").toText(), "12.5");

    label.setProperty("ForeColor", platform::Variant(255));
    label.setProperty("BackColor", platform::Variant(0xFFFFFFu));
    EXPECT_EQ(label.getProperty("ForeColor").toInt32(), 255);
    EXPECT_EQ(label.getProperty("BackColor").toInt32(), 0xFFFFFF);
    EXPECT_EQ(label.getProperty("Width").toInt32(), 4 * kChar);
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
