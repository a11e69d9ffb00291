#pragma once
// The Modbus TCP line as a kind of line: `line modbus <host>:<port> [timeout=<ms>]
// [connect-timeout=<ms>]`, a transport line (frame/modbus/TransportLine.h) over TCP.
#include "frame/line/LineKinds.h"

namespace qx::frame {

LineKind modbusLineKind();

}  // namespace qx::frame
