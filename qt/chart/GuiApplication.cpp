#include "chart/GuiApplication.h"

#include <QGuiApplication>
#include <cstdlib>
#include <stdexcept>

namespace qx::ui {

namespace {

QGuiApplication* ownApplication = nullptr;

}  // namespace

void ensureGuiApplication() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    if (QCoreApplication::instance()) throw std::runtime_error("drawing needs a GUI application");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qxflow";
    static char* argv[] = {name, nullptr};
    ownApplication = new QGuiApplication(argc, argv);
    // Gone before the process ends, so that Qt hands back what it took (the font configuration).
    std::atexit([] {
        delete ownApplication;
        ownApplication = nullptr;
    });
}

}  // namespace qx::ui
