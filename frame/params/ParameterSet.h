#pragma once
// A device's parameters as an engineer keeps them, to compare a device with later or to put on
// its replacement: the device's identity and every parameter's value text with its unit, in a
// JSON file. The set is taken from the frame's model once the frame's own read has brought the
// device's values in; loading checks the whole set before anything is written, so that a set for
// another device, a value the device would refuse or a parameter it does not have writes nothing.
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace qx::frame {

class FrameDataModel;
class FrameParameter;

// Why a parameter-set file cannot be read or written, as a sentence.
class ParameterSetError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Which device a set belongs to: a set is loaded only onto a device that agrees in all four.
struct DeviceIdentity {
    std::string displayName;  // the model's display name
    int32_t firmware = 0;     // the description's item "FWversion"
    std::string category;     // the bus category: the saving category's id, "other" or ""
    std::string description;  // the description file's display name

    bool operator==(const DeviceIdentity&) const = default;
};

struct SetValue {
    std::string name;
    std::string text;
    std::string unit;
};

struct ParameterSet {
    DeviceIdentity identity;
    std::vector<SetValue> values;  // in the description's order
};

DeviceIdentity identityOf(const FrameDataModel& model);
// Every parameter of the description the model holds, in the description's order.
std::vector<std::shared_ptr<FrameParameter>> describedParameters(const FrameDataModel& model);
// The set as the model holds it now; parameters without a value are left out.
ParameterSet takeSet(const FrameDataModel& model);

std::string setToJson(const ParameterSet& set);
// ParameterSetError naming the JSON path at fault.
ParameterSet setFromJson(const std::string& text);
void writeSetFile(const std::string& path, const ParameterSet& set);
ParameterSet readSetFile(const std::string& path);

struct Difference {
    std::string name;
    std::string fileText;
    std::string deviceText;  // empty when the model holds no value
};
// The set's values that differ from the model's, in the set's order; a parameter the model lacks
// is not compared.
std::vector<Difference> compareSet(const ParameterSet& set, const FrameDataModel& model);

// What loading a set would write: the differing parameters a person may set (settings, never a
// command such as the teach code), each with the text it gets; or why nothing may be written.
struct LoadPlan {
    std::optional<std::string> refusal;
    std::vector<std::pair<std::shared_ptr<FrameParameter>, std::string>> writes;
};
LoadPlan planLoad(const ParameterSet& set, const FrameDataModel& model);

// Whether the parameter would take the text: a number in its range (whole for an integer), or one
// of a list's texts.
bool takesText(const FrameParameter& parameter, const std::string& text);

}  // namespace qx::frame
