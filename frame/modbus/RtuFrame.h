#pragma once
// Modbus RTU frames as both ends of a serial line build and read them: the unit address, the PDU
// and a CRC-16 (polynomial 0xA001 reflected, low byte first). A serial line has no lengths in its
// frames: how many bytes belong to a frame follows from its function code and, for a read reply
// or a multiple write request, from its byte count.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qx::frame {

// The smallest frame: address, function code, exception code, CRC.
inline constexpr size_t kRtuMinFrame = 5;
// The largest RTU frame: address, a PDU of 253 bytes, CRC.
inline constexpr size_t kRtuMaxFrame = 256;

uint16_t crc16(std::span<const uint8_t> bytes);
// The frame that carries `pdu` (function code first) to or from `unit`.
std::vector<uint8_t> buildRtuFrame(uint8_t unit, std::span<const uint8_t> pdu);
// Whether the frame's last two bytes are the CRC of the rest.
bool crcHolds(std::span<const uint8_t> frame);

// How long the reply whose first bytes are `head` is in all, once enough of it is there to tell
// (two bytes, three for a read reply); none while it is not. A function code nobody asked for
// gives the smallest frame, so a reader never waits past what it can check.
std::optional<size_t> rtuReplySize(std::span<const uint8_t> head);
// The same for a request, as a server reads one (seven bytes tell a multiple write's length).
std::optional<size_t> rtuRequestSize(std::span<const uint8_t> head);

// The silence that ends a frame, in microseconds: three and a half characters of 11 bits at the
// baud rate, and 1750 µs above 19200 baud, where timers cannot be that fine.
int64_t rtuSilenceUs(uint32_t baud);

}  // namespace qx::frame
