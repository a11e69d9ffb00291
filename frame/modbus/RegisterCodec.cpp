#include "frame/modbus/RegisterCodec.h"

#include <cmath>

#include "platform/Variant.h"

namespace qx::frame {

namespace {

uint16_t wire(const RegisterMap& map, uint16_t word) {
    if (map.byteOrder == ByteOrder::BigEndian) return word;
    return static_cast<uint16_t>((word >> 8) | (word << 8));
}

bool isSigned(RegisterType type) {
    return type == RegisterType::Int16 || type == RegisterType::Int32;
}

// A decimal scale such as 0.1 is applied by dividing by 10, so that 225 reads back as 22.5
// exactly and not as 22.500000000000004.
double applyScale(double raw, double scale) {
    const double divisor = std::round(1 / scale);
    if (scale < 1 && std::abs(1 / scale - divisor) < 1e-9) return raw / divisor;
    return raw * scale;
}

double unscale(double value, double scale) {
    const double divisor = std::round(1 / scale);
    if (scale < 1 && std::abs(1 / scale - divisor) < 1e-9) return value * divisor;
    return value / scale;
}

}  // namespace

std::optional<std::vector<uint16_t>> encodeRegisters(const RegisterMap& map, const RegisterEntry& entry,
                                                     double value) {
    const double raw = platform::roundHalfEven(unscale(value - entry.offset, entry.scale));
    const bool wide = entry.width() == 2;
    const double low = isSigned(entry.type) ? -std::ldexp(1, wide ? 31 : 15) : 0;
    const double high =
        std::ldexp(1, wide ? (isSigned(entry.type) ? 31 : 32) : (isSigned(entry.type) ? 15 : 16)) - 1;
    if (!std::isfinite(raw) || raw < low || raw > high) return std::nullopt;
    const auto bits = static_cast<uint32_t>(static_cast<int64_t>(raw));
    if (!wide) return std::vector<uint16_t>{wire(map, static_cast<uint16_t>(bits))};
    const auto hi = wire(map, static_cast<uint16_t>(bits >> 16));
    const auto lo = wire(map, static_cast<uint16_t>(bits));
    if (entry.wordOrder == WordOrder::HighFirst) return std::vector<uint16_t>{hi, lo};
    return std::vector<uint16_t>{lo, hi};
}

double decodeRegisters(const RegisterMap& map, const RegisterEntry& entry,
                       std::span<const uint16_t> registers) {
    double raw;
    if (entry.width() == 1) {
        const uint16_t word = wire(map, registers[0]);
        raw = isSigned(entry.type) ? double(static_cast<int16_t>(word)) : double(word);
    } else {
        uint16_t hi = wire(map, registers[0]), lo = wire(map, registers[1]);
        if (entry.wordOrder == WordOrder::LowFirst) std::swap(hi, lo);
        const uint32_t bits = (uint32_t{hi} << 16) | lo;
        raw = isSigned(entry.type) ? double(static_cast<int32_t>(bits)) : double(bits);
    }
    return applyScale(raw, entry.scale) + entry.offset;
}

}  // namespace qx::frame
