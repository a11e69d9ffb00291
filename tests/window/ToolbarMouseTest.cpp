// The frame's toolbar under the mouse: a click on the drawn Poll button reaches the view, which
// connects and polls; a second click releases it.
#include <gtest/gtest.h>

#include "WindowStand.h"

namespace qx::window::test {
namespace {

TEST(ToolbarMouse, PollClickedWithTheMouseConnectsAndPolls) {
    WindowStand stand;
    stand.clickTool("Poll");
    stand.window.runFor(3000);
    EXPECT_NE(stand.transcript.str().find("connection CONNECTED"), std::string::npos) << stand.transcript.str();
    EXPECT_TRUE(stand.toolButton("Poll")->isChecked());

    stand.clickTool("Poll");
    stand.window.runFor(3000);
    EXPECT_FALSE(stand.toolButton("Poll")->isChecked());
}

}  // namespace
}  // namespace qx::window::test
