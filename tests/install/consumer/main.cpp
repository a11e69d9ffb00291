// Prints the wizard's title in English from the resource database the installed library finds
// beside itself; a library installed without its data prints the key or fails to open the file.
#include <cstdio>
#include <exception>

#include "support/ResourceComponent.h"

int main() {
    try {
        auto res = qx::support::createResourceComponent()->open(qx::support::kResourceLayout,
                                                                qx::support::resourceFilePath());
        res->setLanguage(qx::support::kEnglish);
        int32_t option = 0;
        std::printf("%s\n", res->text("IDS_TEACH_WIZ", option).c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
