#include "hart/protocol/Pdu.h"

#include <gtest/gtest.h>

namespace orvx::hart {
namespace {

Bytes encoded(const Pdu& pdu, std::size_t preambles = 0)
{
    Decoded<Bytes> bytes = encodePdu(pdu, preambles);
    EXPECT_TRUE(bytes) << bytes.refusal().reason;
    return bytes ? bytes.value() : Bytes{};
}

Pdu longResponse()
{
    Pdu pdu;
    pdu.type = FrameType::Response;
    pdu.address = Address::unique5({0x26, 0x0A, 0x12, 0x34, 0x56});
    pdu.command = 48;
    pdu.responseCode = 0;
    pdu.deviceStatus = 0x50;
    pdu.data = {1, 2, 3, 4, 5, 6};
    return pdu;
}

struct BadFrame {
    const char* name;
    Bytes frame;
    std::size_t offset;
    const char* reason;
};

// Each frame differs from a good one in one fault; the decoder names it and where it is.
TEST(Pdu, RefusesEachFaultWithItsOffset)
{
    const std::vector<BadFrame> frames = {
        {"empty", {}, 0, "no delimiter"},
        {"preambles only", {0xFF, 0xFF, 0xFF}, 3, "no delimiter"},
        {"unknown frame type", {0x03, 0x80, 0x00, 0x00, 0x83}, 0, "names no known frame type"},
        {"synchronous physical layer", {0x0A, 0x80, 0x00, 0x00, 0x8A}, 0, "physical layer"},
        {"cut in the address", {0x82, 0x80, 0x0A}, 3, "truncated before the byte count"},
        {"cut in the data", {0x02, 0x80, 0x00, 0x03, 0x01}, 5, "the byte count says 3 bytes"},
        {"no check byte", {0x02, 0x80, 0x00, 0x00}, 4, "the byte count says 0 bytes"},
        {"byte after the check byte", {0x02, 0x80, 0x00, 0x00, 0x82, 0x00}, 5, "1 bytes after the check byte"},
        {"wrong check byte", {0x02, 0x80, 0x00, 0x00, 0x83}, 4, "check byte 0x83, expected 0x82"},
        {"response without status", {0x06, 0x80, 0x00, 0x01, 0x00, 0x87}, 3, "without its response code"},
    };
    for (const BadFrame& bad : frames) {
        const Decoded<Pdu> pdu = decodePdu(bad.frame);
        ASSERT_FALSE(pdu) << bad.name;
        EXPECT_EQ(pdu.refusal().offset, bad.offset) << bad.name;
        EXPECT_NE(pdu.refusal().reason.find(bad.reason), std::string::npos) << bad.name << ": " << pdu.refusal().reason;
    }
}

TEST(Pdu, RefusesTwentyOnePreambles)
{
    Bytes frame(21, 0xFF);
    frame.insert(frame.end(), {0x02, 0x80, 0x00, 0x00, 0x82});
    EXPECT_FALSE(decodePdu(frame));
    frame.erase(frame.begin());
    EXPECT_TRUE(decodePdu(frame));
}

TEST(Pdu, RefusesToEncodeWhatNoFrameHolds)
{
    Pdu tooMuch = longResponse();
    tooMuch.data.assign(kMaxResponseData + 1, 0);
    EXPECT_FALSE(encodePdu(tooMuch));
    tooMuch.data.pop_back();
    EXPECT_TRUE(encodePdu(tooMuch));

    Pdu request;
    request.data.assign(kMaxRequestData, 0);
    EXPECT_TRUE(encodePdu(request));

    Pdu farPoll;
    farPoll.address = Address::poll(64);
    EXPECT_FALSE(encodePdu(farPoll));
    farPoll.address = Address::poll(63);
    EXPECT_TRUE(encodePdu(farPoll));

    Pdu wideExpansion;
    wideExpansion.expansion = {1, 2, 3, 4};
    EXPECT_FALSE(encodePdu(wideExpansion));
    EXPECT_FALSE(encodePdu(Pdu{}, kMaxPreambles + 1));
}

// Command 0 to poll address 0 from the primary master: the frame every HART master sends first.
TEST(Pdu, EncodesTheFirstRequestEveryMasterSends)
{
    Pdu identify;
    identify.address = Address::poll(0);
    EXPECT_EQ(encoded(identify, 5), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x80, 0x00, 0x00, 0x82}));

    identify.address.primaryMaster = false;
    identify.address.pollAddress = 3;
    EXPECT_EQ(encoded(identify), (Bytes{0x02, 0x03, 0x00, 0x00, 0x01}));
}

TEST(Pdu, LongAddressCarriesMasterAndBurstBitsBesideTheIdentifier)
{
    Pdu pdu = longResponse();
    pdu.address.primaryMaster = false;
    pdu.address.burstMode = true;
    const Bytes frame = encoded(pdu);
    ASSERT_GE(frame.size(), 6u);
    EXPECT_EQ(frame[0], 0x86);
    EXPECT_EQ(frame[1], 0x40 | 0x26);
    EXPECT_EQ(frame[7], 6 + 2);  // the byte count counts the two status bytes

    const Decoded<Pdu> back = decodePdu(frame);
    ASSERT_TRUE(back) << back.refusal().reason;
    EXPECT_TRUE(back->address.sameDevice(pdu.address));
    EXPECT_FALSE(back->address.primaryMaster);
    EXPECT_TRUE(back->address.burstMode);
}

TEST(Pdu, DecodesWhatItEncodes)
{
    Pdu burst = longResponse();
    burst.type = FrameType::Burst;
    burst.expansion = {0x01};
    Pdu request;
    request.address = Address::unique5({0xFF, 1, 2, 3, 4});  // the top bits are not the device's
    request.command = 18;
    request.data = {0x10, 0x20};
    for (const Pdu& pdu : {longResponse(), burst, request}) {
        for (std::size_t preambles : {0, 5}) {
            const Bytes frame = encoded(pdu, preambles);
            EXPECT_EQ(pduLength(frame), frame.size());
            const Decoded<Pdu> back = decodePdu(frame);
            ASSERT_TRUE(back) << back.refusal().reason;
            EXPECT_EQ(back->type, pdu.type);
            EXPECT_TRUE(back->address.sameDevice(pdu.address));
            EXPECT_EQ(back->expansion, pdu.expansion);
            EXPECT_EQ(back->command, pdu.command);
            EXPECT_EQ(back->responseCode, pdu.responseCode);
            EXPECT_EQ(back->deviceStatus, pdu.deviceStatus);
            EXPECT_EQ(back->data, pdu.data);
        }
    }
    EXPECT_EQ(request.address.unique[0], 0x3F);
}

// A serial receiver learns where a frame ends from its first bytes.
TEST(Pdu, LengthIsKnownOnceTheByteCountArrived)
{
    const Bytes frame = encoded(longResponse(), 3);
    for (std::size_t size = 0; size < frame.size(); ++size) {
        const std::size_t length = pduLength(ByteView(frame).first(size));
        const bool countArrived = size >= 3 + 8;  // preambles, delimiter, five address bytes, command, count
        EXPECT_EQ(length, countArrived ? frame.size() : 0u) << size;
    }
}

}  // namespace
}  // namespace orvx::hart
