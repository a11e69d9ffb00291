#pragma once
// A serial device as a Modbus RTU line uses it: raw bytes at a baud rate, with parity, data and
// stop bits as the device's bus wants them, never the controlling terminal of this process.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qx::frame {

struct SerialSettings {
    static constexpr int64_t kDefaultConnectTimeoutMs = 3000;
    static constexpr int64_t kDefaultResponseTimeoutMs = 1000;

    std::string device;
    uint32_t baud = 19200;
    char parity = 'E';  // 'E', 'O' or 'N'
    int dataBits = 8;   // 7 or 8
    int stopBits = 1;   // 1 or 2
    // The unit address asked; none takes the register map's.
    std::optional<uint8_t> unit;
    int64_t connectTimeoutMs = kDefaultConnectTimeoutMs;
    int64_t responseTimeoutMs = kDefaultResponseTimeoutMs;
};

// Reads "<device> [baud=19200] [parity=E|O|N] [data=8] [stop=1] [unit=1] [timeout=<ms>]
// [connect-timeout=<ms>]"; throws std::invalid_argument naming the word it cannot take.
SerialSettings parseSerialSettings(const std::vector<std::string>& words);

// Opens the device without blocking, raw, with the settings' framing; -1 with `why` set when it
// cannot be opened or set up.
int openSerial(const SerialSettings& settings, std::string& why);

}  // namespace qx::frame
