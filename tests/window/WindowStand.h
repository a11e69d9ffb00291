#pragma once
// A frame window as a person meets it, for tests that use it through the mouse and the keys:
// the console's transcript collected, the demo device open, virtual time run on demand.
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <sstream>
#include <string>

#include "FrameWindow.h"
#include "script/Console.h"

namespace qx::window::test {

struct WindowStand {
    std::ostringstream transcript;
    console::Console console{transcript, "."};
    FrameWindow window{console};

    explicit WindowStand(bool open = true) {
        if (open) window.openDevice({}, {});
        window.show();
    }

    // The toolbar button a person clicks for the frame toolbar's key.
    QToolButton* toolButton(const std::string& key) {
        auto* bar = window.findChild<QToolBar*>("FrameToolbar");
        auto* action = bar ? bar->findChild<QAction*>(QString::fromStdString(key)) : nullptr;
        return action ? qobject_cast<QToolButton*>(bar->widgetForAction(action)) : nullptr;
    }
    void clickTool(const std::string& key) {
        QToolButton* button = toolButton(key);
        ASSERT_NE(button, nullptr) << key;
        QTest::mouseClick(button, Qt::LeftButton);
    }
};

}  // namespace qx::window::test
