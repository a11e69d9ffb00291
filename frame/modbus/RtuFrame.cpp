#include "frame/modbus/RtuFrame.h"

#include "frame/modbus/ModbusFrame.h"

namespace qx::frame {

uint16_t crc16(std::span<const uint8_t> bytes) {
    uint16_t crc = 0xFFFF;
    for (uint8_t b : bytes) {
        crc ^= b;
        for (int bit = 0; bit < 8; ++bit)
            crc =
                (crc & 1) != 0 ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
    }
    return crc;
}

std::vector<uint8_t> buildRtuFrame(uint8_t unit, std::span<const uint8_t> pdu) {
    std::vector<uint8_t> frame;
    frame.reserve(pdu.size() + 3);
    frame.push_back(unit);
    frame.insert(frame.end(), pdu.begin(), pdu.end());
    const uint16_t crc = crc16(frame);
    frame.push_back(static_cast<uint8_t>(crc));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
    return frame;
}

bool crcHolds(std::span<const uint8_t> frame) {
    if (frame.size() < 4) return false;
    const uint16_t crc = crc16(frame.first(frame.size() - 2));
    return frame[frame.size() - 2] == static_cast<uint8_t>(crc) &&
           frame[frame.size() - 1] == static_cast<uint8_t>(crc >> 8);
}

std::optional<size_t> rtuReplySize(std::span<const uint8_t> head) {
    if (head.size() < 2) return std::nullopt;
    const uint8_t function = head[1];
    if ((function & kExceptionBit) != 0) return kRtuMinFrame;
    switch (static_cast<ModbusFunction>(function)) {
        case ModbusFunction::ReadHolding:
        case ModbusFunction::ReadInput:
            if (head.size() < 3) return std::nullopt;
            return size_t{5} + head[2];
        case ModbusFunction::WriteSingle:
        case ModbusFunction::WriteMultiple:
            return size_t{8};
    }
    return kRtuMinFrame;
}

std::optional<size_t> rtuRequestSize(std::span<const uint8_t> head) {
    if (head.size() < 2) return std::nullopt;
    if (static_cast<ModbusFunction>(head[1]) == ModbusFunction::WriteMultiple) {
        if (head.size() < 7) return std::nullopt;
        return size_t{9} + head[6];
    }
    // Reads and single writes are eight bytes; so is anything else a server can only refuse.
    return size_t{8};
}

int64_t rtuSilenceUs(uint32_t baud) {
    if (baud == 0 || baud > 19200) return 1750;
    return (int64_t{35} * 11 * 1'000'000 / 10 + baud - 1) / baud;
}

}  // namespace qx::frame
