// qxframe: the stand-in frame on screen, hosting the flow wizard view on the simulated flow
// monitor or on a device over another line (Modbus TCP). With --script it runs a console script in the window
// (the transcript goes to standard output as qxflow-run prints it), then stays open unless --quit
// is given. Whatever it cannot start as asked (an option, a file, the installation) it refuses
// before the window opens, with exit status 2: a person must never look at a stand-in while
// believing it is what they asked for.
#include <QApplication>
#include <QFont>
#include <QMessageBox>
#include <QProcess>
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
using qx::window::WindowOptions;

namespace {

constexpr int kRefused = 2;

// Whether a person sees a dialog: a real display, and nobody said the run ends by itself.
bool personWatches(bool quit) {
    const QString platform = QGuiApplication::platformName();
    return !quit && platform != "offscreen" && platform != "minimal";
}

// Tells why the start is refused, on standard error first (so a script or a terminal has it even
// if no dialog can be seen), then in a dialog when a person watches.
int refuse(const std::vector<std::string>& lines, bool quit) {
    std::string all;
    for (const auto& line : lines) all += line + "\n";
    std::cerr << all << std::flush;
    if (personWatches(quit))
        QMessageBox::critical(nullptr, "qxframe", QString::fromStdString("qxframe cannot start:\n\n" + all));
    return kRefused;
}

std::string fileFault(const std::string& file, const std::string& why) {
    return "error: " + qx::support::printableText(file) + ": " + why;
}

// The same frame again on another description, with every other option as the person gave it.
void restartWith(const WindowOptions& options, const std::string& description) {
    QStringList args = {"--device", QString::fromStdString(description)};
    if (!options.registry.empty()) args << "--registry" << QString::fromStdString(options.registry);
    if (!options.line.empty()) args << "--line" << QString::fromStdString(options.line);
    if (QProcess::startDetached(QCoreApplication::applicationFilePath(), args)) {
        QApplication::quit();
        return;
    }
    QMessageBox::critical(nullptr, "qxframe",
                          "A new frame for " + QString::fromStdString(description) +
                              " cannot be started; this one stays as it is.");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const auto parsed = qx::window::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) return refuse({"qxframe: " + parsed.error, qx::window::kUsage}, false);
    const WindowOptions& options = *parsed.options;
    QApplication::setFont(QFont(qx::ui::kScreenFont, qx::ui::kScreenFontPoints));

    // A broken installation would leave a view that says nothing; refuse before anything runs.
    std::vector<std::string> faults;
    for (const auto& fault : qx::frame::checkInstallation())
        faults.push_back(fileFault(fault.path, fault.why));
    if (!faults.empty()) return refuse(faults, options.quit);

    std::istringstream script;
    std::string folder = std::filesystem::current_path().string();
    if (!options.script.empty()) {
        const qx::platform::FileContents file = qx::platform::readFileContents(options.script);
        if (!file.ok) return refuse({fileFault(options.script, file.why)}, options.quit);
        script.str(file.bytes);
        folder = std::filesystem::absolute(options.script).parent_path().string();
    }

    qx::console::Console console(std::cout, folder);
    FrameWindow window(console, options.speed);
    const auto setUp = [&]() -> std::optional<std::string> {
        if (!options.registry.empty())
            if (auto refused = window.tryLine("registry file \"" + options.registry + "\"")) return refused;
        if (!options.script.empty())
            return options.device.empty() ? std::nullopt
                                          : window.tryLine("device file=\"" + options.device + "\"");
        window.useRealTimeOfDay();
        return window.openDevice(options.device, options.line);
    };
    if (auto refused = setUp()) return refuse({"qxframe: " + *refused}, options.quit);
    window.onOpenDescription = [&options](const std::string& path) { restartWith(options, path); };
    window.show();

    if (options.script.empty()) {
        window.recordRun();
        window.letPageSizeView();
        window.startClock();
        return QApplication::exec();
    }
    int status = 0;
    qx::window::ScriptRunner runner(console, window, script, [&](int s) {
        status = s;
        if (!options.screenshot.empty())
            window.grab().save(QString::fromStdString(options.screenshot), "PNG");
        if (options.quit) {
            QApplication::exit(status);
            return;
        }
        window.letPageSizeView();
        window.startClock();
    });
    runner.start();
    const int loop = QApplication::exec();
    return options.quit ? status : loop;
}
