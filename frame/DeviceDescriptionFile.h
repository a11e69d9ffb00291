#pragma once
// The contents of a device description file (data/devices/*.json): the device's display name,
// its items, the contexts of its view modules, and modules → groups → parameters in file order.
//
// A description is checked whole as it is read: a value of the wrong type, a limit or default
// outside its range (integer parameters and IDX are 32-bit numbers, flags a 32-bit word), a
// minimum above its maximum, a repeated module, group (within its module), parameter, list entry
// or view context, an empty name, no modules at all. Its "wizard" section, when there is one, is
// checked as well: an unknown role, a place naming a parameter the description lacks, a role
// placed twice for the same devices, an unknown category scope, a tolerance list that is empty,
// repeats an entry or lacks its zero entry, a firmware family that is no number, a missing
// "default" family, an empty category id or unit. Keys the reader does not know are left to other
// readers of the same file.
#include <map>
#include <string>
#include <vector>

#include "device/DeviceTable.h"
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
    // What the file states of the view's device table (its "wizard" section); a part left empty
    // is one the file does not state.
    device::DeviceTable wizard;

    // The table the device goes by: the file's, each part it leaves out the flow monitor's.
    device::DeviceTable deviceTable() const {
        device::DeviceTable table = wizard;
        table.complete(device::DeviceTable::flowMonitor());
        return table;
    }
};

// Reads a description from JSON text. A text that is not a valid description fails with a
// run-time error whose description is "<JSON path>: <why>" ("$.modules[0].groups[1]
// .parameters[2].flags: 4294967296 is outside ...").
DescriptionFile parseDescriptionFile(const std::string& json);
// Reads the file at `path`; the description of a failure starts with the path: "<path>: <why>".
DescriptionFile readDescriptionFile(const std::string& path);

}  // namespace qx::frame
