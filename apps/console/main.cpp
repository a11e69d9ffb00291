// qxflow-run [SCRIPT]: the headless frame. Runs the script (standard input when none is given)
// against one flow wizard view on virtual time and prints what happens.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "script/Console.h"

int main(int argc, char** argv) {
    if (argc > 2) {
        std::cerr << "usage: qxflow-run [SCRIPT]\n";
        return 2;
    }
    std::ifstream file;
    std::string folder = ".";
    if (argc == 2) {
        file.open(argv[1]);
        if (!file) {
            std::cout << "error: cannot read " << argv[1] << "\n";
            return 2;
        }
        folder = std::filesystem::absolute(argv[1]).parent_path().string();
    }
    qx::console::Console console(std::cout, folder);
    return console.runScript(argc == 2 ? static_cast<std::istream&>(file) : std::cin);
}
