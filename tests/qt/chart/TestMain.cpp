// The chart tests run on Qt's offscreen platform, so they need no display and draw the same
// pixels on every machine with the DejaVu fonts.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A requested repaint runs at the next turn of the event loop instead of a few ms later.
    qputenv("QT_QPA_UPDATE_IDLE_TIME", "0");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
