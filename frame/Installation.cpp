#include "frame/Installation.h"

#include "frame/DeviceDescriptionFile.h"
#include "frame/FrameModelFactory.h"
#include "platform/LibraryFolder.h"
#include "platform/RuntimeError.h"
#include "support/PrintableText.h"

namespace qx::frame {

std::vector<support::InstallationFault> checkInstallation() {
    return checkInstallation(flowMonitorDescriptionPath());
}

std::vector<support::InstallationFault> checkInstallation(const std::string& description) {
    std::vector<support::InstallationFault> faults = support::checkLibraryFiles(platform::libraryFolder());
    try {
        readDescriptionFile(description);
    } catch (const platform::RuntimeError& e) {
        // "<path>: <why>"; the fault names the path on its own.
        std::string why = e.description();
        if (why.rfind(description + ": ", 0) == 0) why.erase(0, description.size() + 2);
        faults.push_back({description, support::printableText(why)});
    }
    return faults;
}

}  // namespace qx::frame
