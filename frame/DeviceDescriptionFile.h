#pragma once
// The contents of a device description file (data/devices/*.json): the device's display name,
// its items, the contexts of its view modules, and modules → groups → parameters in file order.
#include <map>
#include <string>
#include <vector>

#include "frame/ParameterDefinition.h"
#include "platform/Variant.h"

namespace qx::frame {

struct GroupSpec {
    std::string name;
    std::vector<ParameterDefinition> parameters;
};

struct ModuleSpec {
    std::string name;
    std::vector<GroupSpec> groups;
};

struct DescriptionFile {
    std::string displayName;
    std::map<std::string, platform::Variant> items;
    std::vector<std::string> viewContexts;  // the contexts every view module offers
    std::vector<ModuleSpec> modules;
};

// Reads a description from JSON text. A text that is not a description fails with a run-time
// error whose description says what is wrong.
DescriptionFile parseDescriptionFile(const std::string& json);
// Reads the file at `path`; a file that cannot be read fails the same way.
DescriptionFile readDescriptionFile(const std::string& path);

}  // namespace qx::frame
