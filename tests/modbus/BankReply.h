#pragma once
// The test devices' answer to one request: the reply PDU the register bank gives for a read of
// holding or input registers, a single write or a multiple write, or its exception reply; with
// `exception` the device refuses whatever it would have answered.
#include <cstdint>
#include <span>
#include <vector>

#include "frame/modbus/ModbusFrame.h"
#include "frame/modbus/SimRegisterBank.h"

namespace qx::frame::test {

inline std::vector<uint8_t> bankReply(SimRegisterBank& bank, std::span<const uint8_t> pdu, bool exception) {
    const uint8_t function = pdu[0];
    const uint16_t start = wordAt(pdu, 1), count = wordAt(pdu, 3);
    std::vector<uint8_t> reply{function};
    std::vector<uint16_t> words;
    auto outcome = SimRegisterBank::Reply::Ok;
    if (function == 3 || function == 4) {
        outcome =
            bank.read(function == 3 ? RegisterTable::Holding : RegisterTable::Input, start, count, words);
        reply.push_back(static_cast<uint8_t>(2 * words.size()));
    } else if (function == 6) {
        words = {count};
        outcome = bank.write(start, words);
        words = {start, count};
    } else {
        for (size_t i = 0; i < count; ++i) words.push_back(wordAt(pdu, 6 + 2 * i));
        outcome = bank.write(start, words);
        words = {start, count};
    }
    for (uint16_t w : words)
        reply.insert(reply.end(), {static_cast<uint8_t>(w >> 8), static_cast<uint8_t>(w)});
    if (exception) outcome = SimRegisterBank::Reply::IllegalValue;
    if (outcome != SimRegisterBank::Reply::Ok)
        reply = {static_cast<uint8_t>(function | kExceptionBit), static_cast<uint8_t>(outcome)};
    return reply;
}

}  // namespace qx::frame::test
