#pragma once
// A person's way through the window's menus and the dialogs they open, for the window tests:
// a menu entry found by its text, a modal dialog answered once it is up, a file chosen in a
// file dialog.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <functional>

#include "FrameWindow.h"

namespace qx::window::test {

// Answers the next modal dialog of that kind once it is up and shown; `answer` gets it. A dialog
// of another kind, or one still on its way up or down, is left alone. Gives up after a while, so
// that a dialog that never came cannot be answered by a later test.
template <class Dialog>
void answerNext(std::function<void(Dialog*)> answer, int triesLeft = 3000) {
    QTimer::singleShot(10, [answer = std::move(answer), triesLeft] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible())
            answer(dialog);
        else if (triesLeft > 0)
            answerNext<Dialog>(answer, triesLeft - 1);
        else
            ADD_FAILURE() << "no " << Dialog::staticMetaObject.className() << " came";
    });
}

// The entry of the menu `menu` whose text (without accelerators) starts with `item`.
inline QAction* menuAction(FrameWindow& window, const QString& menu, const QString& item) {
    for (QAction* top : window.menuBar()->actions()) {
        if (top->text().remove('&') != menu) continue;
        for (QAction* action : top->menu()->actions())
            if (action->text().remove('&').startsWith(item)) return action;
    }
    return nullptr;
}

inline void trigger(FrameWindow& window, const QString& menu, const QString& item) {
    QAction* action = menuAction(window, menu, item);
    ASSERT_NE(action, nullptr) << menu.toStdString() << " > " << item.toStdString();
    action->trigger();
}

// A file dialog's chosen file, as typed into its name box and confirmed.
inline void chooseFile(QFileDialog* files, const QString& path, QString* offered = nullptr) {
    auto* name = files->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    if (offered) *offered = name->text();
    files->selectFile(path);
    // The whole path typed, as a person may type it: what the dialog gives back then does not
    // hang on its file system model, which fills in the background.
    name->setText(path);
    // Done, not accept(): accept() looks the file up in the dialog's file system model, which
    // fills in the background and, on a busy machine, may not know the file yet.
    static_cast<QDialog*>(files)->done(QDialog::Accepted);
}

// The next file dialog, once it is up, chooses `path`.
inline void chooseNextFile(const QString& path) {
    answerNext<QFileDialog>([path](QFileDialog* files) { chooseFile(files, path); });
}

}  // namespace qx::window::test
