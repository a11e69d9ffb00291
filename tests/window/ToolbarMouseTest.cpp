// The frame's toolbar under the mouse: the view opens polling, with its Poll button pressed; a
// click on the drawn button releases it and the line goes, a second click connects again.
#include <gtest/gtest.h>

#include "WindowStand.h"

namespace qx::window::test {
namespace {

// The line's connection changes the transcript tells of, in order.
std::string connections(const std::string& transcript) {
    std::string lines;
    std::istringstream in(transcript);
    for (std::string line; std::getline(in, line);)
        if (line.starts_with("connection ")) lines += line + "\n";
    return lines;
}

TEST(ToolbarMouse, PollClickedWithTheMouseReleasesAndConnectsAgain) {
    WindowStand stand;
    stand.window.runFor(3000);
    EXPECT_TRUE(stand.toolButton("Poll")->isChecked());
    EXPECT_EQ(connections(stand.transcript.str()), "connection CONNECTED\n");

    stand.clickTool("Poll");
    stand.window.runFor(3000);
    EXPECT_FALSE(stand.toolButton("Poll")->isChecked());
    EXPECT_EQ(connections(stand.transcript.str()), "connection CONNECTED\nconnection DISCONNECTED\n");

    stand.clickTool("Poll");
    stand.window.runFor(3000);
    EXPECT_TRUE(stand.toolButton("Poll")->isChecked());
    EXPECT_EQ(connections(stand.transcript.str()),
              "connection CONNECTED\nconnection DISCONNECTED\nconnection CONNECTED\n");
}

}  // namespace
}  // namespace qx::window::test
