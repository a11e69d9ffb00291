#include "frame/modbus/ModbusLine.h"

#include <charconv>
#include <optional>

#include "frame/modbus/TcpTransport.h"
#include "frame/modbus/TransportLine.h"

namespace qx::frame {

namespace {

constexpr int64_t kMaxTimeoutMs = 600'000;

// A whole decimal number as a script writes one ("1500", "+1500"); none for anything else.
std::optional<int64_t> wholeNumber(const std::string& text) {
    int64_t v = 0;
    // from_chars takes no '+', and after a '+' it must not find a '-' either ("+-5").
    const bool plus = text.size() > 1 && text[0] == '+' && text[1] != '-';
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data() + (plus ? 1 : 0), end, v);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return v;
}

// "timeout=1500", "connect-timeout=5000".
void readOption(const std::string& word, ModbusSettings& settings) {
    const auto eq = word.find('=');
    const auto ms = eq == std::string::npos ? std::nullopt : wholeNumber(word.substr(eq + 1));
    if (!ms || *ms < 1 || *ms > kMaxTimeoutMs)
        throw LineError("a timeout is <name>=<ms> (1..600000), not " + word);
    if (word.starts_with("timeout="))
        settings.responseTimeoutMs = *ms;
    else if (word.starts_with("connect-timeout="))
        settings.connectTimeoutMs = *ms;
    else
        throw LineError("no line option " + word.substr(0, eq) + " (timeout, connect-timeout)");
}

}  // namespace

LineKind modbusLineKind() {
    return {"modbus",
            "<host>:<port> [timeout=<ms>] [connect-timeout=<ms>]",
            "a real line, on real time",
            1,
            3,
            [](const std::vector<std::string>& arguments) -> MakeLine {
                const std::string& address = arguments.front();
                auto settings = parseEndpoint(address);
                if (!settings) throw LineError("line modbus wants <host>:<port>, not " + address);
                for (size_t i = 1; i < arguments.size(); ++i) readOption(arguments[i], *settings);
                return [settings = *settings, address](const LineContext& context) {
                    return std::make_unique<TransportLine>(
                        context, "modbus", address,
                        [settings](uint8_t unit) { return std::make_unique<TcpTransport>(settings, unit); });
                };
            }};
}

}  // namespace qx::frame
