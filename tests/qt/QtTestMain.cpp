// The widget and window tests run on Qt's offscreen platform, so they need no display; the fonts
// are the ones the setup installs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>

#include "ScreenTextMetrics.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(qx::ui::kScreenFont, qx::ui::kScreenFontPoints));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
