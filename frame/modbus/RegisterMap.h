#pragma once
// Where each device parameter lives on a Modbus device: the "modbus" section of a device
// description. Both ends of the Modbus line use it: the communication object to turn parameter
// values into registers and back, the simulated device's server to serve its values.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "frame/DeviceDescriptionFile.h"

namespace qx::frame {

enum class RegisterTable { Holding, Input };
enum class RegisterType { Int16, UInt16, Int32, UInt32 };
// Which register of a 32-bit value comes first.
enum class WordOrder { HighFirst, LowFirst };
// Which byte of a register comes first on the wire; Modbus itself is big-endian.
enum class ByteOrder { BigEndian, LittleEndian };

struct RegisterEntry {
    std::string parameter;
    RegisterTable table = RegisterTable::Holding;
    uint16_t address = 0;
    RegisterType type = RegisterType::UInt16;
    WordOrder wordOrder = WordOrder::HighFirst;
    // The parameter's value is raw × scale + offset.
    double scale = 1;
    double offset = 0;
    bool writable = false;
    // The parameter whose registers this one shares, when both name one value of the device (the
    // saving category's taught limits and the others'); empty for a register of its own.
    std::string sameAs = {};

    uint16_t width() const { return type == RegisterType::Int32 || type == RegisterType::UInt32 ? 2 : 1; }
    // The last register the entry takes.
    uint32_t end() const { return address + width() - 1u; }
};

struct RegisterMap {
    uint8_t unitId = 1;
    ByteOrder byteOrder = ByteOrder::BigEndian;
    std::vector<RegisterEntry> entries;

    // None when the parameter has no register.
    const RegisterEntry* find(const std::string& parameter) const;
    // The entry whose registers include `address` (of entries sharing them, the one that has them
    // as its own); none when the register is not mapped.
    const RegisterEntry* covering(RegisterTable table, uint32_t address) const;
};

// A register map that does not validate: the file, the JSON pointer to the offending value and
// the reason, e.g. "flowmonitor.json: /modbus/registers/3/type: ...".
class RegisterMapError : public std::runtime_error {
  public:
    RegisterMapError(const std::string& file, const std::string& path, const std::string& reason)
        : std::runtime_error(file + ": " + path + ": " + reason) {}
};

// Reads and checks the "modbus" section of a description against the parameters the description
// declares: each parameter mapped at most once and known to the description, no two entries
// sharing a register, input registers never writable, every parameter the view writes writable,
// QUICK_2 a writable holding register, and each parameter's range representable in its type.
RegisterMap parseRegisterMap(const nlohmann::json& description, const DescriptionFile& parameters,
                             const std::string& file);
// The map of the description file at `path`.
RegisterMap readRegisterMap(const std::string& path);

}  // namespace qx::frame
