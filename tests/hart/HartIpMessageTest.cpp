#include "hart/protocol/HartIpMessage.h"
#include "hart/protocol/MessageStream.h"
#include "hart/protocol/Pdu.h"

#include <gtest/gtest.h>

namespace orvx::hart {
namespace {

Bytes message(MessageType type, MessageId id, std::uint16_t sequence, const Bytes& body)
{
    HartIpHeader header;
    header.type = type;
    header.id = id;
    header.sequence = sequence;
    Decoded<Bytes> bytes = encodeMessage(header, body);
    EXPECT_TRUE(bytes) << bytes.refusal().reason;
    return bytes ? bytes.value() : Bytes{};
}

Bytes identifyFrame()
{
    Pdu pdu;
    pdu.address = Address::poll(0);
    return encodePdu(pdu).value();
}

Bytes identifyRequest(std::uint16_t sequence)
{
    return message(MessageType::Request, MessageId::TokenPassingPdu, sequence, identifyFrame());
}

struct BadMessage {
    const char* name;
    Bytes bytes;
    std::size_t offset;
    const char* reason;
};

TEST(HartIpMessage, RefusesEachFaultWithItsOffset)
{
    Bytes longCount = identifyRequest(1);
    longCount[7] += 1;
    Bytes shortCount = identifyRequest(1);
    shortCount[7] -= 1;
    Bytes badCheck = identifyRequest(1);
    badCheck.back() ^= 0x01;
    const std::vector<BadMessage> messages = {
        {"short header", {1, 0, 3, 0, 0, 1, 0}, 7, "needs eight bytes"},
        {"version 3", {3, 0, 3, 0, 0, 1, 0, 8}, 0, "version 3"},
        {"message type 4", {1, 4, 3, 0, 0, 1, 0, 8}, 1, "unknown message type 4"},
        {"message id 4", {1, 0, 4, 0, 0, 1, 0, 8}, 2, "unknown message id 4"},
        {"byte count under the header", {1, 0, 2, 0, 0, 1, 0, 7}, 6, "byte count 7"},
        {"byte count over the limit", {1, 0, 3, 0, 0, 1, 0x02, 0x01}, 6, "byte count 513"},
        {"fewer bytes than counted", longCount, longCount.size(), "counts 14 bytes, 13 arrived"},
        {"more bytes than counted", shortCount, shortCount.size() - 1, "counts 12 bytes, 13 arrived"},
        {"bad frame inside", badCheck, 12, "frame: check byte"},
        {"keep-alive with a body", {1, 0, 2, 0, 0, 1, 0, 9, 0}, 8, "with a body"},
        {"session initiate of four bytes", {1, 0, 0, 0, 0, 1, 0, 12, 1, 0, 0, 0}, 8, "not five"},
        {"error reply with a long body", {1, 3, 0, 0, 0, 1, 0, 10, 2, 2}, 8, "error reply"},
    };
    for (const BadMessage& bad : messages) {
        const Decoded<HartIpMessage> decoded = decodeMessage(bad.bytes);
        ASSERT_FALSE(decoded) << bad.name;
        EXPECT_EQ(decoded.refusal().offset, bad.offset) << bad.name;
        EXPECT_NE(decoded.refusal().reason.find(bad.reason), std::string::npos)
            << bad.name << ": " << decoded.refusal().reason;
    }
}

TEST(HartIpMessage, RefusesToEncodeOverTheLimit)
{
    EXPECT_FALSE(encodeMessage(HartIpHeader{}, Bytes(kMaxHartIpMessage - kHartIpHeaderSize + 1, 0)));
    EXPECT_TRUE(encodeMessage(HartIpHeader{}, Bytes(kMaxHartIpMessage - kHartIpHeaderSize, 0)));
}

TEST(HartIpMessage, HeaderIsBigEndianAndCountsItself)
{
    const Bytes bytes = identifyRequest(0x1234);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 8), (Bytes{1, 0, 3, 0, 0x12, 0x34, 0, 13}));
    const Decoded<HartIpMessage> decoded = decodeMessage(bytes);
    ASSERT_TRUE(decoded) << decoded.refusal().reason;
    EXPECT_EQ(decoded->header.sequence, 0x1234);
    EXPECT_EQ(decoded->header.byteCount, 13);
    EXPECT_EQ(decoded->body, identifyFrame());
}

TEST(HartIpMessage, SessionInitiateCarriesHostTypeAndTimer)
{
    const Bytes body = encodeSessionInitiate({false, 0x01020304});
    EXPECT_EQ(body, (Bytes{0, 1, 2, 3, 4}));
    const Decoded<SessionInitiate> back = decodeSessionInitiate(body);
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->primaryMaster);
    EXPECT_EQ(back->inactivityCloseMs, 0x01020304u);
    EXPECT_FALSE(decodeSessionInitiate(Bytes{2, 0, 0, 0, 0}));
    EXPECT_FALSE(decodeSessionInitiate(Bytes{1, 0, 0, 0}));
    EXPECT_TRUE(decodeMessage(message(MessageType::Request, MessageId::SessionInitiate, 1, body)));
    EXPECT_TRUE(decodeMessage(message(MessageType::Nak, MessageId::SessionInitiate, 1, {1})));
}

// TCP delivers messages in pieces of any size, several at once, or one byte at a time.
TEST(MessageStream, CutsMessagesOutOfPiecesOfAnySize)
{
    Bytes stream;
    for (std::uint16_t sequence = 1; sequence <= 3; ++sequence) {
        const Bytes one = identifyRequest(sequence);
        stream.insert(stream.end(), one.begin(), one.end());
    }
    const Bytes keepAlive = message(MessageType::Request, MessageId::KeepAlive, 4, {});
    stream.insert(stream.end(), keepAlive.begin(), keepAlive.end());

    for (std::size_t piece : {std::size_t{1}, std::size_t{5}, std::size_t{13}, stream.size()}) {
        MessageStream reader;
        std::vector<std::uint16_t> sequences;
        for (std::size_t at = 0; at < stream.size(); at += piece) {
            reader.append(ByteView(stream).subspan(at, std::min(piece, stream.size() - at)));
            while (auto next = reader.next()) {
                ASSERT_TRUE(*next) << next->refusal().reason;
                sequences.push_back((*next)->header.sequence);
            }
        }
        EXPECT_EQ(sequences, (std::vector<std::uint16_t>{1, 2, 3, 4})) << "pieces of " << piece;
        EXPECT_EQ(reader.buffered(), 0u);
        EXPECT_FALSE(reader.broken());
    }
}

TEST(MessageStream, BadBodyIsReportedAndTheStreamGoesOn)
{
    Bytes bad = identifyRequest(1);
    bad.back() ^= 0xFF;
    const Bytes good = identifyRequest(2);
    MessageStream reader;
    reader.append(bad);
    reader.append(good);
    auto first = reader.next();
    ASSERT_TRUE(first.has_value());
    EXPECT_FALSE(*first);
    auto second = reader.next();
    ASSERT_TRUE(second.has_value() && *second);
    EXPECT_EQ((*second)->header.sequence, 2);
}

// A header that cannot be read loses the framing: everything after it is noise.
TEST(MessageStream, UnreadableHeaderBreaksTheStreamForGood)
{
    MessageStream reader;
    reader.append(Bytes{1, 0, 3, 0, 0, 1, 0xFF, 0xFF});
    auto refused = reader.next();
    ASSERT_TRUE(refused.has_value());
    EXPECT_FALSE(*refused);
    EXPECT_TRUE(reader.broken());
    reader.append(identifyRequest(2));
    EXPECT_FALSE(reader.next().has_value());
    EXPECT_EQ(reader.buffered(), 0u);
}

}  // namespace
}  // namespace orvx::hart
