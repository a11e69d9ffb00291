#pragma once
// Modbus TCP frames as both ends of our line build and read them: the MBAP header (transaction,
// protocol, length, unit) in front of the four functions a register map needs. A reply counts as
// the answer to a request only when every field agrees with it: behind a gateway, on a connection
// that carries a late answer or from a broken peer, the next frame on the socket may be another.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qx::frame {

// The header: transaction id, protocol id, length, unit id.
inline constexpr size_t kMbapSize = 7;
// The largest frame Modbus TCP allows: the header and a PDU of 253 bytes.
inline constexpr size_t kMaxFrameSize = 260;

enum class ModbusFunction : uint8_t { ReadHolding = 3, ReadInput = 4, WriteSingle = 6, WriteMultiple = 16 };
// The bit a server sets in the function code of an exception reply.
inline constexpr uint8_t kExceptionBit = 0x80;

struct MbapHeader {
    uint16_t transaction = 0;
    uint16_t protocol = 0;
    // The bytes after the length field: the unit id and the PDU.
    uint16_t length = 0;
    uint8_t unit = 0;

    // The size of the whole frame the header announces.
    size_t frameSize() const { return size_t{6} + length; }
};

// The header at the start of `bytes`, which holds at least kMbapSize bytes.
MbapHeader parseMbap(std::span<const uint8_t> bytes);
// The frame that carries `pdu` (function code first) to or from `unit`.
std::vector<uint8_t> buildFrame(uint16_t transaction, uint8_t unit, std::span<const uint8_t> pdu);
// The big-endian word at `bytes`.
inline uint16_t wordAt(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

struct ModbusRequest {
    ModbusFunction function = ModbusFunction::ReadHolding;
    uint16_t start = 0;
    // Registers to read; for a write, the registers written (values.size()).
    uint16_t count = 0;
    std::vector<uint16_t> values;

    // Function code, address and the rest, as the frame carries them.
    std::vector<uint8_t> pdu() const;
};

// Why a reply is not the answer to its request; None when it is.
enum class ReplyFault {
    None,
    Exception,    // a well-formed exception reply: the device refused the request
    Transaction,  // the answer to another request
    Protocol,     // not Modbus (protocol id other than 0)
    Unit,         // from another unit than ours
    Length,       // an MBAP length that does not fit the request, or a frame of another size
    Function,     // another function code than the request's
    ByteCount,    // a read's byte count that is not twice the registers asked for
    Echo,         // a write confirmed for other registers or values than those written
};

// What the header alone tells: a reply that is wrong here fails at once, without waiting for a
// body that may never come or be longer than any Modbus frame.
ReplyFault checkReplyHeader(const MbapHeader& header, const ModbusRequest& request, uint16_t transaction,
                            uint8_t unit);
// The whole reply (`frame` holds every byte up to the size its header announced); a read's
// registers go to `registers`.
ReplyFault checkReply(std::span<const uint8_t> frame, const ModbusRequest& request, uint16_t transaction,
                      uint8_t unit, std::vector<uint16_t>& registers);

}  // namespace qx::frame
