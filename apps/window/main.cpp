// qxframe: the stand-in frame on screen, hosting the flow wizard view on the simulated flow
// monitor. With --script it runs a console script in the window (the transcript goes to
// standard output as qxflow-run prints it), then stays open unless --quit is given.
#include <QApplication>
#include <QFont>
#include <QMessageBox>
#include <QTimer>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "FrameWindow.h"
#include "ScreenTextMetrics.h"
#include "ScriptRunner.h"
#include "WindowOptions.h"
#include "frame/Installation.h"
#include "platform/FileContents.h"
#include "script/Console.h"
#include "support/PrintableText.h"

using qx::window::FrameWindow;

namespace {

constexpr int kScriptError = 2;

int refuse(const std::string& file, const std::string& why) {
    std::cout << "error: " << qx::support::printableText(file) << ": " << why << "\n";
    return kScriptError;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const auto parsed = qx::window::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        std::cerr << "qxframe: " << parsed.error << "\n" << qx::window::kUsage << "\n";
        return kScriptError;
    }
    const auto& options = *parsed.options;
    QApplication::setFont(QFont(qx::ui::kScreenFont, qx::ui::kScreenFontPoints));

    std::istringstream script;
    std::string folder = std::filesystem::current_path().string();
    if (!options.script.empty()) {
        const qx::platform::FileContents file = qx::platform::readFileContents(options.script);
        if (!file.ok) return refuse(options.script, file.why);
        script.str(file.bytes);
        folder = std::filesystem::absolute(options.script).parent_path().string();
    }
    // A broken installation would leave a view that says nothing; refuse before anything runs.
    const auto faults = qx::frame::checkInstallation();
    for (const auto& fault : faults) refuse(fault.path, fault.why);
    if (!faults.empty()) {
        QMessageBox::critical(nullptr, "qxframe",
                              QString::fromStdString("The installation is broken:\n" + faults.front().path +
                                                     ": " + faults.front().why));
        return kScriptError;
    }
    qx::console::Console console(std::cout, folder);
    FrameWindow window(console);
    if (!options.registry.empty()) window.runLine("registry file \"" + options.registry + "\"");
    window.show();

    if (options.script.empty()) {
        window.openDevice(options.device, options.connect);
        window.letPageSizeView();
        window.startClock(1);
        return QApplication::exec();
    }
    if (!options.device.empty()) window.runLine("device file=\"" + options.device + "\"");
    int status = 0;
    qx::window::ScriptRunner runner(console, window, script, options.speed, [&](int s) {
        status = s;
        if (!options.screenshot.empty())
            window.grab().save(QString::fromStdString(options.screenshot), "PNG");
        if (options.quit) {
            QApplication::exit(status);
            return;
        }
        window.letPageSizeView();
        window.startClock(options.speed);
    });
    runner.start();
    const int loop = QApplication::exec();
    return options.quit ? status : loop;
}
