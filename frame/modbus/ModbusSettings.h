#pragma once
// Where a Modbus TCP line goes and how long it waits.
#include <cstdint>
#include <optional>
#include <string>

namespace qx::frame {

struct ModbusSettings {
    static constexpr int64_t kDefaultConnectTimeoutMs = 3000;
    static constexpr int64_t kDefaultResponseTimeoutMs = 1000;

    std::string host;
    uint16_t port = 502;
    // How long making the TCP connection may take before "CONNECT FAILED".
    int64_t connectTimeoutMs = kDefaultConnectTimeoutMs;
    // How long a request may wait for its reply before its job answers "FAILED".
    int64_t responseTimeoutMs = kDefaultResponseTimeoutMs;
};

// "host:port" (a port of 1..65535); none when the text is not one.
std::optional<ModbusSettings> parseEndpoint(const std::string& text);

}  // namespace qx::frame
