#pragma once
// The Modbus RTU line as a kind of line: `line rtu <device> [baud=19200] [parity=E|O|N] [data=8]
// [stop=1] [unit=<map's>] [timeout=<ms>] [connect-timeout=<ms>]`. The same register map, request
// planning and contract as the TCP line (frame/modbus/TransportLine.h); only the transport
// differs.
#include "frame/line/LineKinds.h"

namespace qx::frame {

LineKind rtuLineKind();

}  // namespace qx::frame
