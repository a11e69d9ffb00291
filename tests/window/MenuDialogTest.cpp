// The frame's menus and dialogs, with the offscreen platform's dialogs answered by the test as a
// person would answer them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "MenuDialogs.h"
#include "WindowStand.h"
#include "frame/FrameModelFactory.h"
#include "view/QX_FlowWiz.h"

namespace qx::window::test {
namespace {

TEST(MenuDialog, ExportOffersANameAndAddsTheExtension) {
    WindowStand stand;
    stand.window.runFor(3000);
    QTemporaryDir dir;
    for (const char* format : {"csv", "png"}) {
        SCOPED_TRACE(format);
        QString offered;
        answerNext<QFileDialog>([&](QFileDialog* d) { chooseFile(d, dir.filePath("mine"), &offered); });
        trigger(stand.window, "File", QString("Export trend as ") + QString(format).toUpper());
        EXPECT_TRUE(offered.startsWith("trend-") && offered.endsWith(QString(".") + format))
            << offered.toStdString();
        EXPECT_TRUE(QFile::exists(dir.filePath(QString("mine.") + format)));
    }
}

TEST(MenuDialog, TheViewMenuMarksTheLanguageShown) {
    WindowStand stand;
    EXPECT_TRUE(menuAction(stand.window, "View", "English")->isChecked());
    EXPECT_FALSE(menuAction(stand.window, "View", "German")->isChecked());
    trigger(stand.window, "View", "German");
    EXPECT_TRUE(menuAction(stand.window, "View", "German")->isChecked());
    EXPECT_FALSE(menuAction(stand.window, "View", "English")->isChecked());
    EXPECT_EQ(stand.console.frame().options().language, 1031);
}

// Switching the language makes a new view; the window shows that one, not the widgets of the
// view that went, wherever in memory the new one lies.
TEST(MenuDialog, AnotherLanguageShowsTheNewView) {
    WindowStand stand;
    stand.window.runFor(2000);
    for (const char* language : {"German", "English", "German"}) {
        SCOPED_TRACE(language);
        trigger(stand.window, "View", language);
        stand.window.runFor(2000);
        auto* cancel = stand.window.findChild<QPushButton*>("ComTeachCancel");
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->text().toStdString(), std::string(language) == "German" ? "Abbrechen" : "Cancel");
    }
}

// A description that does not validate is refused naming the file, the item and the reason; the
// running view and its line stay. One that validates goes to the frame that opens it.
TEST(MenuDialog, OpeningADescriptionChecksItFirst) {
    WindowStand stand;
    stand.window.runFor(3000);
    std::vector<std::string> opened;
    stand.window.onOpenDescription = [&](const std::string& path) { opened.push_back(path); };
    QTemporaryDir dir;
    const QString broken = dir.filePath("broken.json");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"displayName": 7})");
    file.close();
    const auto* viewBefore = &stand.console.frame().view();

    QString refusal;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    answerNext<QFileDialog>([&](QFileDialog* d) {
        chooseFile(d, broken);
        answerNext<QMessageBox>([&](QMessageBox* message) {
            refusal = message->text();
            icon = message->icon();
            message->accept();
        });
    });
    trigger(stand.window, "File", "Open device description");
    EXPECT_TRUE(refusal.contains(broken + ": $.displayName: ")) << refusal.toStdString();
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(&stand.console.frame().view(), viewBefore);
    EXPECT_TRUE(stand.toolButton("Poll")->isChecked());

    const QString good = QString::fromStdString(frame::flowMonitorDescriptionPath());
    chooseNextFile(good);
    trigger(stand.window, "File", "Open device description");
    EXPECT_EQ(opened, std::vector<std::string>{good.toStdString()});
}

TEST(MenuDialog, AFailureShowsAsAnErrorTheWindowWaitsFor) {
    WindowStand stand;
    stand.window.runFor(3000);
    stand.clickTool("Poll");
    stand.window.runFor(3000);
    stand.window.runLine("frame-env STATE 5");  // the device is no longer reachable
    stand.clickTool("Poll");
    QMessageBox* box = nullptr;
    for (auto* shown : stand.window.findChildren<QMessageBox*>())
        if (shown->isVisible()) box = shown;
    ASSERT_NE(box, nullptr) << "the view's message shows";
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
}

}  // namespace
}  // namespace qx::window::test
