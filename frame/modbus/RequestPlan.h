#pragma once
// How a job's parameters become Modbus requests: reads gathered into as few requests as the map
// allows, writes kept in the job's order.
#include <cstdint>
#include <vector>

#include "frame/modbus/RegisterMap.h"

namespace qx::frame {

// The most registers one read request may ask for, and one write request carry.
inline constexpr uint32_t kMaxReadRegisters = 125;
inline constexpr uint32_t kMaxWriteRegisters = 123;

struct ReadRequest {
    RegisterTable table;
    uint16_t start;
    uint16_t count;
};

// One request per run of registers of one table. Two runs are read together when the registers
// between them all belong to mapped parameters (reading those is harmless) and the request stays
// within kMaxReadRegisters.
std::vector<ReadRequest> planReads(const RegisterMap& map, std::vector<const RegisterEntry*> entries);

// A write job's entries as requests. When the job's registers together form one run, they go as
// one request in register order, whatever the job's order: the device takes the values of one
// job together, as the simulated line delivers a job. Otherwise in job order, split where the next
// entry does not start right after the one before; the register map is laid out so that what the
// view writes together lies together.
std::vector<std::vector<const RegisterEntry*>> planWrites(const std::vector<const RegisterEntry*>& entries);

}  // namespace qx::frame
