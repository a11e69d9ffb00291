// Text a person types into a box stays there: a box the view fills again at its next update does
// not take keys. Every box is tried, in each step of a max/min teach-in and of a manual entry.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>

#include "ViewMouse.h"

namespace qx::window::test {
namespace {

// Types "42" at the end of every box that takes keys, runs two updates and reports each typed
// text that did not survive them.
std::vector<std::string> typedTextLost(WindowStand& stand, ViewMouse& mouse, const std::string& step) {
    std::vector<std::pair<std::string, QString>> typed;
    for (const char* name : {"LaTMin", "LaTMax", "LaTQuick", "LaTMinW", "LaTMaxW", "LaTQuickW"}) {
        auto* box = qobject_cast<QLineEdit*>(mouse.widget(name));
        if (!box || !box->isVisible() || !box->isEnabled() || mouse.visibleArea(*box).isEmpty()) continue;
        mouse.click(name);
        const QString before = box->text();
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClicks(box, "42");
        if (box->text() != before) typed.emplace_back(name, box->text());
    }
    stand.window.runFor(2000);
    std::vector<std::string> lost;
    for (const auto& [name, text] : typed) {
        const QString now = static_cast<QLineEdit*>(mouse.widget(name))->text();
        if (now != text)
            lost.push_back(step + ": " + name + " took \"" + text.toStdString() + "\", then showed \"" +
                           now.toStdString() + "\"");
    }
    return lost;
}

// The message the Edit button shows waits for the person; OK closes it.
void closeMessages(WindowStand& stand) {
    for (auto* box : stand.window.findChildren<QMessageBox*>())
        if (box->isVisible()) box->accept();
    ViewMouse::settle();
}

TEST(TypedText, StaysInEveryBoxThatTakesIt) {
    WindowStand stand;
    ViewMouse mouse{stand};
    stand.window.runLine("sim flow 300");
    stand.window.runFor(3000);
    std::vector<std::string> lost = typedTextLost(stand, mouse, "idle");

    mouse.click("ComTeachMaxMin");
    stand.window.runFor(1000);
    for (const auto& l : typedTextLost(stand, mouse, "waiting for the maximum")) lost.push_back(l);

    stand.clickTool("Edit");
    closeMessages(stand);
    for (const auto& l : typedTextLost(stand, mouse, "entered by hand")) lost.push_back(l);
    EXPECT_TRUE(qobject_cast<QLineEdit*>(mouse.widget("LaTMaxW"))->text().endsWith("42"))
        << "the boxes to write take keys while Edit is pressed";

    stand.clickTool("Edit");
    closeMessages(stand);
    for (const auto& l : typedTextLost(stand, mouse, "Edit released")) lost.push_back(l);

    mouse.click("ComTeachCancel");
    for (const auto& l : typedTextLost(stand, mouse, "cancelled")) lost.push_back(l);

    mouse.click("ComteachQuick");
    stand.window.runFor(3000);
    for (const auto& l : typedTextLost(stand, mouse, "quick teach")) lost.push_back(l);

    EXPECT_EQ(lost, std::vector<std::string>{});
}

// A device in quick-teach mode from the start: the box of the quick-teach value to write stays
// enabled from the form's design, while the view fills it at every update.
TEST(TypedText, StaysInTheBoxesOfADeviceInQuickTeachMode) {
    WindowStand stand;
    ViewMouse mouse{stand};
    stand.window.runLine("sim set TEACHDO_QUICK_MODE 1");
    stand.window.runLine("sim flow 300");
    stand.window.runFor(3000);
    EXPECT_EQ(typedTextLost(stand, mouse, "quick-teach mode"), std::vector<std::string>{});
}

}  // namespace
}  // namespace qx::window::test
