#pragma once
// The simulated flow monitor seen through its register map: what a Modbus server answers to a
// read of its registers and what a write of registers does to the device. A write request is one
// write job to the device (its values in register order), so a command written together with
// other values selects the teach mode, as on the simulated line.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "frame/DeviceDescriptionFile.h"
#include "frame/FlowMonitorSim.h"
#include "frame/modbus/RegisterMap.h"

namespace qx::frame {

class SimRegisterBank {
  public:
    // Modbus exception codes a request may get.
    enum class Reply { Ok, IllegalAddress = 2, IllegalValue = 3 };

    SimRegisterBank(FlowMonitorSim& device, RegisterMap map, DescriptionFile description);

    // The registers [start, start + count) of a table. Every register must belong to a parameter
    // the device has; one without a value reads 0.
    Reply read(RegisterTable table, uint16_t start, uint16_t count, std::vector<uint16_t>& out) const;
    // Writes holding registers from `start`: each must belong to a writable parameter, wholly
    // covered, with a value in the parameter's range (a list's value one of its codes).
    Reply write(uint16_t start, std::span<const uint16_t> values);

    const RegisterMap& map() const { return map_; }

  private:
    const ParameterDefinition* definition(const std::string& name) const;
    const std::vector<ListEntry>* entries(const ParameterDefinition& p) const;
    bool exists(const RegisterEntry& e) const;
    std::optional<std::string> text(const RegisterEntry& e) const;
    std::optional<double> number(const RegisterEntry& e) const;

    FlowMonitorSim& device_;
    RegisterMap map_;
    DescriptionFile description_;
};

}  // namespace qx::frame
