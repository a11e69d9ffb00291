#pragma once
// A parameter's value as the registers of its map entry carry it, and back: scale and offset,
// the 16- and 32-bit types, the word order of 32-bit values and the byte order of the map.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "frame/modbus/RegisterMap.h"

namespace qx::frame {

// The registers for `value` (as many as the entry is wide); none when the value, once scaled,
// does not fit the entry's type.
std::optional<std::vector<uint16_t>> encodeRegisters(const RegisterMap& map, const RegisterEntry& entry,
                                                     double value);
// The value the entry's registers hold; `registers` starts at the entry's first register.
double decodeRegisters(const RegisterMap& map, const RegisterEntry& entry,
                       std::span<const uint16_t> registers);

}  // namespace qx::frame
