#include "frame/modbus/ModbusSettings.h"

#include <charconv>

namespace qx::frame {

std::optional<ModbusSettings> parseEndpoint(const std::string& text) {
    const auto colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) return std::nullopt;
    unsigned port = 0;
    const char* first = text.data() + colon + 1;
    const char* last = text.data() + text.size();
    auto [end, error] = std::from_chars(first, last, port);
    if (first == last || error != std::errc() || end != last || port == 0 || port > 65535)
        return std::nullopt;
    ModbusSettings settings;
    settings.host = text.substr(0, colon);
    settings.port = static_cast<uint16_t>(port);
    return settings;
}

}  // namespace qx::frame
