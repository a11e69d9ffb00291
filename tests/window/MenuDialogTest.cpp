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

#include "WindowStand.h"
#include "frame/FrameModelFactory.h"
#include "view/QX_FlowWiz.h"

namespace qx::window::test {
namespace {

// Answers the next modal dialog once it is up; `answer` gets it. Gives up after a while, so that a
// dialog that never came cannot be answered by a later test.
void answerNextDialog(std::function<void(QWidget*)> answer, int triesLeft = 3000) {
    QTimer::singleShot(10, [answer = std::move(answer), triesLeft] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog)
            answer(dialog);
        else if (triesLeft > 0)
            answerNextDialog(answer, triesLeft - 1);
        else
            ADD_FAILURE() << "no dialog came";
    });
}

QAction* menuAction(FrameWindow& window, const QString& menu, const QString& item) {
    for (QAction* top : window.menuBar()->actions()) {
        if (top->text().remove('&') != menu) continue;
        for (QAction* action : top->menu()->actions())
            if (action->text().remove('&').startsWith(item)) return action;
    }
    return nullptr;
}

void trigger(FrameWindow& window, const QString& menu, const QString& item) {
    QAction* action = menuAction(window, menu, item);
    ASSERT_NE(action, nullptr) << menu.toStdString() << " > " << item.toStdString();
    action->trigger();
}

// A file dialog's chosen file, as typed into its name box and confirmed.
void chooseFile(QWidget* dialog, const QString& path, QString* offered = nullptr) {
    auto* files = qobject_cast<QFileDialog*>(dialog);
    ASSERT_NE(files, nullptr);
    auto* name = files->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    if (offered) *offered = name->text();
    files->selectFile(path);
    QMetaObject::invokeMethod(files, "accept");
}

TEST(MenuDialog, ExportOffersANameAndAddsTheExtension) {
    WindowStand stand;
    stand.window.runFor(3000);
    QTemporaryDir dir;
    for (const char* format : {"csv", "png"}) {
        SCOPED_TRACE(format);
        QString offered;
        answerNextDialog([&](QWidget* d) { chooseFile(d, dir.filePath("mine"), &offered); });
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
    answerNextDialog([&](QWidget* d) {
        chooseFile(d, broken);
        answerNextDialog([&](QWidget* box) {
            auto* message = qobject_cast<QMessageBox*>(box);
            ASSERT_NE(message, nullptr);
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
    answerNextDialog([&](QWidget* d) { chooseFile(d, good); });
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
