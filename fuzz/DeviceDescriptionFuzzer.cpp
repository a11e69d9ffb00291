// The device description reader on arbitrary text, as a user's own description file reaches
// it. A text it refuses fails with the frame's run-time error that says what is wrong; a text
// it accepts gives every list parameter its entries for every firmware.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "frame/DeviceDescriptionFile.h"
#include "platform/RuntimeError.h"

namespace {

using namespace qx::frame;
using qx::fuzz::require;

void checkAccepted(const DescriptionFile& file) {
    for (const ModuleSpec& m : file.modules)
        for (const GroupSpec& g : m.groups)
            for (const ParameterDefinition& p : g.parameters) {
                if (p.kind != ParameterDefinition::Kind::List) continue;
                require(p.entriesByFirmware.contains("default"), "a list has entries for every firmware");
                for (const auto& [firmware, entries] : p.entriesByFirmware)
                    require(!entries.empty(), "a list of firmware " + firmware + " has entries");
            }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        checkAccepted(parseDescriptionFile(std::string(reinterpret_cast<const char*>(data), size)));
    } catch (const qx::platform::RuntimeError& e) {
        require(e.number() == qx::platform::kObjectError,
                "a refused description fails with the frame's error");
        require(e.description().size() > std::string("Device description: ").size(),
                "the failure says what is wrong");
    }
    return 0;
}
