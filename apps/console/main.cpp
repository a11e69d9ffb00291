// qxflow-run [SCRIPT]: the headless frame. Runs the script (standard input when none is given)
// against one flow wizard view on virtual time and prints what happens.
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string_view>

#include "frame/Installation.h"
#include "platform/FileContents.h"
#include "script/Console.h"
#include "script/Help.h"
#include "support/PrintableText.h"

namespace {

constexpr int kScriptError = 2;

int refuse(const std::string& file, const std::string& why) {
    std::cout << "error: " << qx::support::printableText(file) << ": " << why << "\n";
    return kScriptError;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--help") {
        std::cout << qx::console::helpText();
        return 0;
    }
    if (argc > 2) {
        std::cerr << "usage: qxflow-run [SCRIPT]    (qxflow-run --help tells more)\n";
        return kScriptError;
    }
    std::istringstream file;
    std::string folder = ".";
    if (argc == 2) {
        const qx::platform::FileContents script = qx::platform::readFileContents(argv[1]);
        if (!script.ok) return refuse(argv[1], script.why);
        file.str(script.bytes);
        folder = std::filesystem::absolute(argv[1]).parent_path().string();
    }
    // A broken installation would leave a view that says nothing; refuse before anything runs.
    const auto faults = qx::frame::checkInstallation();
    for (const auto& fault : faults) refuse(fault.path, fault.why);
    if (!faults.empty()) return kScriptError;
    qx::console::Console console(std::cout, folder);
    return console.runScript(argc == 2 ? static_cast<std::istream&>(file) : std::cin);
}
