// Modbus TCP frames: requests as a device expects them, and every way a reply can fail to be the
// answer to its request.
#include <gtest/gtest.h>

#include "frame/modbus/ModbusFrame.h"

namespace qx::frame::test {
namespace {

constexpr uint16_t kTransaction = 0x1234;
constexpr uint8_t kUnit = 1;

using Bytes = std::vector<uint8_t>;

TEST(ModbusFrameTest, RequestsCarryHeaderAndPdu) {
    const ModbusRequest read{ModbusFunction::ReadInput, 2, 4, {}};
    EXPECT_EQ(buildFrame(kTransaction, kUnit, read.pdu()), (Bytes{0x12, 0x34, 0, 0, 0, 6, 1, 4, 0, 2, 0, 4}));
    const ModbusRequest single{ModbusFunction::WriteSingle, 5, 1, {0xABCD}};
    EXPECT_EQ(single.pdu(), (Bytes{6, 0, 5, 0xAB, 0xCD}));
    const ModbusRequest multiple{ModbusFunction::WriteMultiple, 9, 2, {1, 0x0203}};
    EXPECT_EQ(buildFrame(7, kUnit, multiple.pdu()),
              (Bytes{0, 7, 0, 0, 0, 11, 1, 16, 0, 9, 0, 2, 4, 0, 1, 2, 3}));
    const MbapHeader header = parseMbap(buildFrame(0xFFFE, 0xF7, multiple.pdu()));
    EXPECT_EQ(header.transaction, 0xFFFE);
    EXPECT_EQ(header.unit, 0xF7);
    EXPECT_EQ(header.frameSize(), 17u);
}

// A read of two holding registers from 10 and its good answer, which each case spoils in one way.
const ModbusRequest kRead{ModbusFunction::ReadHolding, 10, 2, {}};
const Bytes kGoodRead{0x12, 0x34, 0, 0, 0, 7, 1, 3, 4, 0x01, 0x2C, 0xFF, 0xFF};

struct Spoilt {
    const char* what;
    ModbusRequest request;
    Bytes reply;
    ReplyFault fault;
};

Bytes with(Bytes bytes, size_t at, std::initializer_list<uint8_t> put) {
    std::copy(put.begin(), put.end(), bytes.begin() + static_cast<ptrdiff_t>(at));
    return bytes;
}

const ModbusRequest kWrite{ModbusFunction::WriteMultiple, 9, 2, {1, 2}};
const Bytes kGoodWrite{0x12, 0x34, 0, 0, 0, 6, 1, 16, 0, 9, 0, 2};
const ModbusRequest kSingle{ModbusFunction::WriteSingle, 5, 1, {3}};
const Bytes kGoodSingle{0x12, 0x34, 0, 0, 0, 6, 1, 6, 0, 5, 0, 3};

const Spoilt kSpoilt[] = {
    {"good read", kRead, kGoodRead, ReplyFault::None},
    {"good write", kWrite, kGoodWrite, ReplyFault::None},
    {"good single write", kSingle, kGoodSingle, ReplyFault::None},
    {"exception", kRead, {0x12, 0x34, 0, 0, 0, 3, 1, 0x83, 2}, ReplyFault::Exception},
    {"exception of another function", kRead, {0x12, 0x34, 0, 0, 0, 3, 1, 0x84, 2}, ReplyFault::Function},
    {"exception with a body", kRead, with(kGoodRead, 7, {0x83}), ReplyFault::Length},
    {"another transaction", kRead, with(kGoodRead, 1, {0x35}), ReplyFault::Transaction},
    {"protocol 1", kRead, with(kGoodRead, 2, {0, 1}), ReplyFault::Protocol},
    {"another unit", kRead, with(kGoodRead, 6, {2}), ReplyFault::Unit},
    {"the broadcast unit", kRead, with(kGoodRead, 6, {0}), ReplyFault::Unit},
    {"length 0", kRead, with(kGoodRead, 4, {0, 0}), ReplyFault::Length},
    {"length 0xFFFF", kRead, with(kGoodRead, 4, {0xFF, 0xFF}), ReplyFault::Length},
    {"length of one register more", kRead, with(kGoodRead, 4, {0, 9}), ReplyFault::Length},
    {"another read function", kRead, with(kGoodRead, 7, {4}), ReplyFault::Function},
    {"byte count too small", kRead, with(kGoodRead, 8, {2}), ReplyFault::ByteCount},
    {"byte count too large", kRead, with(kGoodRead, 8, {6}), ReplyFault::ByteCount},
    {"a byte short", kRead, Bytes(kGoodRead.begin(), kGoodRead.end() - 1), ReplyFault::Length},
    {"a byte over", kRead,
     [] {
         auto b = kGoodRead;
         b.push_back(0);
         return b;
     }(),
     ReplyFault::Length},
    {"no body", kRead, Bytes(kGoodRead.begin(), kGoodRead.begin() + 7), ReplyFault::Length},
    {"half a header", kRead, Bytes(kGoodRead.begin(), kGoodRead.begin() + 4), ReplyFault::Length},
    {"write confirmed elsewhere", kWrite, with(kGoodWrite, 9, {10}), ReplyFault::Echo},
    {"write confirmed for fewer", kWrite, with(kGoodWrite, 11, {1}), ReplyFault::Echo},
    {"single write of another value", kSingle, with(kGoodSingle, 11, {4}), ReplyFault::Echo},
    {"write answered as a read", kWrite, kGoodRead, ReplyFault::Length},
};

TEST(ModbusFrameTest, EveryFieldOfAReplyMustMatchItsRequest) {
    for (const Spoilt& s : kSpoilt) {
        std::vector<uint16_t> registers;
        EXPECT_EQ(checkReply(s.reply, s.request, kTransaction, kUnit, registers), s.fault) << s.what;
    }
}

TEST(ModbusFrameTest, AGoodReadGivesItsRegisters) {
    std::vector<uint16_t> registers;
    ASSERT_EQ(checkReply(kGoodRead, kRead, kTransaction, kUnit, registers), ReplyFault::None);
    EXPECT_EQ(registers, (std::vector<uint16_t>{300, 0xFFFF}));
}

TEST(ModbusFrameTest, HeaderFaultsNeedNoBody) {
    // A length beyond any frame is refused from the header, before anything more is read.
    const MbapHeader huge = parseMbap(with(kGoodRead, 4, {0xFF, 0xFF}));
    EXPECT_EQ(checkReplyHeader(huge, kRead, kTransaction, kUnit), ReplyFault::Length);
    const MbapHeader zero = parseMbap(with(kGoodRead, 4, {0, 0}));
    EXPECT_EQ(checkReplyHeader(zero, kRead, kTransaction, kUnit), ReplyFault::Length);
    EXPECT_EQ(checkReplyHeader(parseMbap(kGoodRead), kRead, kTransaction, kUnit), ReplyFault::None);
}

}  // namespace
}  // namespace qx::frame::test
