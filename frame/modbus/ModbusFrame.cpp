#include "frame/modbus/ModbusFrame.h"

namespace qx::frame {

namespace {

void putWord(std::vector<uint8_t>& bytes, uint16_t word) {
    bytes.push_back(static_cast<uint8_t>(word >> 8));
    bytes.push_back(static_cast<uint8_t>(word));
}

bool isRead(ModbusFunction f) {
    return f == ModbusFunction::ReadHolding || f == ModbusFunction::ReadInput;
}

// The MBAP length of the reply that answers `request`: the unit id, the function code and what
// follows it.
size_t answerLength(const ModbusRequest& request) {
    return isRead(request.function) ? size_t{3} + 2u * request.count : size_t{6};
}

// The MBAP length of an exception reply: unit id, function code, exception code.
constexpr size_t kExceptionLength = 3;

}  // namespace

MbapHeader parseMbap(std::span<const uint8_t> bytes) {
    return {wordAt(bytes, 0), wordAt(bytes, 2), wordAt(bytes, 4), bytes[6]};
}

std::vector<uint8_t> buildFrame(uint16_t transaction, uint8_t unit, std::span<const uint8_t> pdu) {
    std::vector<uint8_t> frame;
    frame.reserve(kMbapSize + pdu.size());
    putWord(frame, transaction);
    putWord(frame, 0);
    putWord(frame, static_cast<uint16_t>(pdu.size() + 1));
    frame.push_back(unit);
    frame.insert(frame.end(), pdu.begin(), pdu.end());
    return frame;
}

std::vector<uint8_t> ModbusRequest::pdu() const {
    std::vector<uint8_t> bytes{static_cast<uint8_t>(function)};
    putWord(bytes, start);
    if (function == ModbusFunction::WriteSingle) {
        putWord(bytes, values.at(0));
        return bytes;
    }
    putWord(bytes, count);
    if (function == ModbusFunction::WriteMultiple) {
        bytes.push_back(static_cast<uint8_t>(2 * values.size()));
        for (uint16_t v : values) putWord(bytes, v);
    }
    return bytes;
}

ReplyFault checkReplyHeader(const MbapHeader& header, const ModbusRequest& request, uint16_t transaction,
                            uint8_t unit) {
    if (header.protocol != 0) return ReplyFault::Protocol;
    if (header.transaction != transaction) return ReplyFault::Transaction;
    if (header.unit != unit) return ReplyFault::Unit;
    if (header.length != answerLength(request) && header.length != kExceptionLength)
        return ReplyFault::Length;
    return ReplyFault::None;
}

ReplyFault checkReply(std::span<const uint8_t> frame, const ModbusRequest& request, uint16_t transaction,
                      uint8_t unit, std::vector<uint16_t>& registers) {
    if (frame.size() < kMbapSize) return ReplyFault::Length;
    const MbapHeader header = parseMbap(frame);
    if (const ReplyFault fault = checkReplyHeader(header, request, transaction, unit);
        fault != ReplyFault::None)
        return fault;
    if (frame.size() != header.frameSize()) return ReplyFault::Length;

    const auto pdu = frame.subspan(kMbapSize);
    const auto asked = static_cast<uint8_t>(request.function);
    if (pdu[0] == (asked | kExceptionBit))
        return header.length == kExceptionLength ? ReplyFault::Exception : ReplyFault::Length;
    if (pdu[0] != asked) return ReplyFault::Function;
    if (header.length != answerLength(request)) return ReplyFault::Length;

    switch (request.function) {
        case ModbusFunction::ReadHolding:
        case ModbusFunction::ReadInput:
            if (pdu[1] != 2 * request.count) return ReplyFault::ByteCount;
            registers.clear();
            for (size_t i = 0; i < request.count; ++i) registers.push_back(wordAt(pdu, 2 + 2 * i));
            return ReplyFault::None;
        case ModbusFunction::WriteSingle:
            return wordAt(pdu, 1) == request.start && wordAt(pdu, 3) == request.values.at(0)
                       ? ReplyFault::None
                       : ReplyFault::Echo;
        case ModbusFunction::WriteMultiple:
            return wordAt(pdu, 1) == request.start && wordAt(pdu, 3) == request.count ? ReplyFault::None
                                                                                      : ReplyFault::Echo;
    }
    return ReplyFault::Function;
}

}  // namespace qx::frame
