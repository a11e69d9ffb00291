// The frame's toolbar as the view fills it and a person clicks it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "frame/FrameToolbar.h"
#include "platform/RuntimeError.h"

namespace qx::frame {
namespace {

using ::testing::ElementsAre;

int32_t errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const platform::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

host::PicturePtr picture(const std::string& key) {
    return std::make_shared<host::Picture>(key, std::vector<uint8_t>{}, 16, 16);
}

TEST(ToolbarTest, ACheckStyleButtonHasToggledWhenTheClickIsReported) {
    FrameToolbar toolbar;
    auto poll = toolbar.Buttons()->Add({}, "Poll", "", 1, "FromDevice");
    auto clear = toolbar.Buttons()->Add({}, "Clear", "", 0, "Clear");

    auto clicked = toolbar.click("Poll");
    EXPECT_EQ(clicked, poll);
    EXPECT_EQ(clicked->value(), 1);
    EXPECT_EQ(toolbar.click("Poll")->value(), 0);
    poll->setValue(1);  // the view may set it too; the next click releases
    EXPECT_EQ(toolbar.click("Poll")->value(), 0);

    EXPECT_EQ(toolbar.click("Clear")->value(), 0);  // a push button keeps its value
    EXPECT_EQ(clicked->key(), "Poll");
    EXPECT_EQ(clear->image(), "Clear");
}

TEST(ToolbarTest, ADisabledButtonTakesNoClick) {
    FrameToolbar toolbar;
    auto edit = toolbar.Buttons()->Add({}, "Edit", "", 1, "Edit");
    edit->setEnabled(false);
    EXPECT_EQ(toolbar.click("Edit"), nullptr);
    EXPECT_EQ(edit->value(), 0);
}

TEST(ToolbarTest, TheFramesOwnButtonsAreReportedAsPushButtons) {
    FrameToolbar toolbar;
    auto button = toolbar.click("FUNCTION:X");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->key(), "FUNCTION:X");
    EXPECT_EQ(button->Style(), 0);
    EXPECT_EQ(toolbar.Buttons()->count(), 0);
}

TEST(ToolbarTest, ButtonsAreFoundByKeyInTheOrderGiven) {
    FrameToolbar toolbar;
    auto& buttons = *toolbar.Buttons();
    buttons.Add({}, "Poll", "", 1, "FromDevice");
    buttons.Add({}, "Auto", "", 0, "Auto");
    buttons.Add(2, "Clear", "", 0, "Clear");
    EXPECT_THAT(toolbar.buttons().keys(), ElementsAre("Poll", "Clear", "Auto"));
    EXPECT_EQ(buttons.item("Auto")->key(), "Auto");
    EXPECT_EQ(errorOf([&] { buttons.item("Edit"); }), platform::kElementNotFound);
    EXPECT_EQ(errorOf([&] { buttons.Add({}, "Poll", "", 1, ""); }), kKeyNotUnique);
    EXPECT_EQ(errorOf([&] { buttons.Add(9, "Edit", "", 1, ""); }), kIndexOutOfBounds);
    EXPECT_EQ(buttons.count(), 3);
}

TEST(ToolbarTest, AnImageOnceAddedIsNeverReplaced) {
    FrameToolbar toolbar;
    auto images = toolbar.ImageList()->ListImages();
    auto first = picture("ICO_BLANK");
    images->Add({}, "Clear", first);
    images->Add({}, "Auto", picture("ICO_AUTO"));
    EXPECT_EQ(errorOf([&] { images->Add({}, "Clear", picture("ICO_OTHER")); }), kKeyNotUnique);
    EXPECT_EQ(images->item("Clear"), first);
    EXPECT_EQ(errorOf([&] { images->item("ToDevice"); }), platform::kElementNotFound);
    EXPECT_THAT(images->keys(), ElementsAre("Clear", "Auto"));
}

}  // namespace
}  // namespace qx::frame
