#include "script/Lines.h"

#include "frame/SimLine.h"
#include "frame/modbus/ModbusLine.h"
#include "frame/modbus/RtuLine.h"

namespace qx::console {

const frame::LineKinds& lineKinds() {
    static const frame::LineKinds kinds(
        {frame::modbusLineKind(), frame::rtuLineKind(), frame::simLineKind()});
    return kinds;
}

}  // namespace qx::console
