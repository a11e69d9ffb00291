// A teach-in done the way a person does it, with the mouse on the window's widgets, gives the
// device the same writes as the console script of that teach-in. The script is played twice: once
// through the console as it is, once in the window with each of a person's actions (click,
// choose, type, press) made with the mouse and the keys at the control's place on screen; the
// frame's own steps (device, create, init, ...), the simulator and the waits are the same in both.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ViewMouse.h"

namespace qx::window::test {
namespace {

// The demo scripts of the source tree (Qt's test module names the tests' source folder).
std::filesystem::path demoScript(const std::string& name) {
    return std::filesystem::path(QT_TESTCASE_SOURCEDIR).parent_path() / "data" / "scripts" / name;
}

std::vector<std::string> writesIn(const std::string& transcript) {
    std::vector<std::string> writes;
    std::istringstream lines(transcript);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("write ", 0) == 0) writes.push_back(line);
    return writes;
}

std::vector<std::string> writesOfConsole(std::istream& script) {
    std::ostringstream out;
    console::Console console(out, ".");
    EXPECT_EQ(console.runScript(script), 0) << out.str();
    return writesIn(out.str());
}

// The text of a quoted script word.
std::string unquoted(std::string word) {
    if (word.size() >= 2 && word.front() == '"' && word.back() == '"') word = word.substr(1, word.size() - 2);
    return word;
}

// Plays the script in the window: a person's actions with the mouse and the keys, the rest as
// the frame and the simulator do it. The queries print nothing the writes depend on.
std::vector<std::string> writesOfMouse(std::istream& script) {
    WindowStand stand(false);
    ViewMouse mouse{stand};
    for (std::string line; std::getline(script, line);) {
        std::istringstream words(line);
        std::string command, target, rest;
        words >> command >> target;
        std::getline(words >> std::ws, rest);
        SCOPED_TRACE(line);
        if (command.empty() || command[0] == '#' || command == "show" || command == "expect" ||
            command == "trace" || command == "release")
            continue;
        if (command == "click")
            mouse.click(target);
        else if (command == "choose")
            mouse.choose(target, unquoted(rest));
        else if (command == "slide")
            mouse.slideTo(target, std::stod(rest));
        else if (command == "type")
            mouse.typeInto(target, unquoted(rest));
        else if (command == "press")
            stand.clickTool(target);
        else if (command == "wait")
            stand.window.runFor(std::stoll(target));
        else
            stand.window.runLine(line);  // the frame's steps and the simulator
        if (testing::Test::HasFatalFailure()) break;
    }
    return writesIn(stand.transcript.str());
}

std::pair<std::vector<std::string>, std::vector<std::string>> writesOfBoth(const std::string& script) {
    std::istringstream forConsole(script), forMouse(script);
    return {writesOfConsole(forConsole), writesOfMouse(forMouse)};
}

std::string textOf(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(TeachByMouse, GivesTheDeviceTheWritesOfTheConsoleScript) {
    for (const char* name : {"teach_maxmin_fw1.qxs", "teach_quick.qxs"}) {
        SCOPED_TRACE(name);
        const auto script = demoScript(name);
        ASSERT_TRUE(std::filesystem::exists(script)) << script;
        const auto [console, mouse] = writesOfBoth(textOf(script));
        ASSERT_GE(console.size(), 4u);
        EXPECT_EQ(mouse, console);
    }
}

// The switch points set by hand: each slider moved with the keys and its frame's Set button
// clicked, in max/min mode (flow and temperature) and in quick-teach mode (temperature).
TEST(TeachByMouse, SwitchPointsSetByHandGiveTheWritesOfTheConsole) {
    const auto [console, mouse] = writesOfBoth(
        "device fw=1 lang=1033\ncreate\ninit device\nset-toolbar\nsim flow 300\nwait 3000\n"
        "slide mSliderTP 70\nclick ComSetPara\nwait 1000\n"
        "slide mSliderFL 30\nclick ComSetFL\nwait 1000\n"
        "click ComteachQuick\nwait 1100\nclick ComTQuick\nwait 4000\n"
        "slide mSliderTP 45\nclick ComSetPara\nwait 1000\n");
    const std::vector<std::string> expected = {"write SWPOINT=\"70\"", "write TEACHDO_SWPOINT=\"30\""};
    ASSERT_GE(console.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(console.begin(), console.begin() + 2), expected);
    EXPECT_EQ(console.back(), "write SWPOINT=\"45\"");
    EXPECT_EQ(mouse, console);
}

}  // namespace
}  // namespace qx::window::test
