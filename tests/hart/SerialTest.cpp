#include "SerialPair.h"
#include "hart/link/SerialTransport.h"
#include "hart/protocol/Pdu.h"
#include "hart/protocol/SerialFrameReader.h"
#include "hart/protocol/UniversalCommands.h"
#include "hart/server/PositionerDevice.h"
#include "hart/server/SerialLineServer.h"

#include <gtest/gtest.h>

#include <future>

namespace orvx::hart {
namespace {

using test::SerialPair;

Bytes frame(FrameType type, std::uint8_t command, std::size_t preambles, std::uint8_t poll = 0)
{
    Pdu pdu;
    pdu.type = type;
    pdu.address = Address::poll(poll);
    pdu.command = command;
    pdu.data = {1, 2, 3};
    return encodePdu(pdu, preambles).value();
}

Bytes join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// What the reader hands on from bytes that arrive in pieces, at the given milliseconds.
TEST(SerialFrameReader, FindsWholeFramesAndPassesOverTheRest)
{
    const Bytes request = frame(FrameType::Request, 0, 5);
    const Bytes response = frame(FrameType::Response, 0, 5);
    Bytes garbledCount = frame(FrameType::Request, 0, 5);
    garbledCount[5 + 3] = 200;  // the byte count: the reader waits for bytes that never come
    Bytes manyPreambles(30, 0xFF);
    manyPreambles.insert(manyPreambles.end(), request.begin() + 5, request.end());
    const Bytes onePreamble(request.begin() + 4, request.end());
    const Bytes badDelimiter = {0xFF, 0xFF, 0x0F};  // frame type 7 names nothing

    struct Piece {
        Bytes bytes;
        std::uint64_t atMs;
    };
    struct Case {
        const char* name;
        std::vector<Piece> pieces;
        std::vector<Bytes> frames;
    } const cases[] = {
        {"one frame", {{request, 0}}, {request}},
        {"two frames in one piece", {{join({request, response}), 0}}, {request, response}},
        {"noise before the preambles", {{join({{0x12, 0x00, 0x7E}, request}), 0}}, {request}},
        {"a frame with one preamble is noise", {{join({onePreamble, response}), 0}}, {response}},
        {"a delimiter of no frame type is noise", {{join({badDelimiter, response}), 0}}, {response}},
        {"an idle line's preambles are cut to twenty",
         {{manyPreambles, 0}},
         {join({Bytes(kMaxPreambles, 0xFF), Bytes(request.begin() + 5, request.end())})}},
        {"a frame in pieces within the gap",
         {{Bytes(request.begin(), request.begin() + 7), 0},
          {Bytes(request.begin() + 7, request.end()), SerialFrameReader::kGapMs}},
         {request}},
        {"a pause past the gap drops the frame begun",
         {{Bytes(request.begin(), request.begin() + 7), 0},
          {Bytes(request.begin() + 7, request.end()), SerialFrameReader::kGapMs + 1},
          {response, SerialFrameReader::kGapMs + 2}},
         {response}},
        {"a garbled byte count gives way to the next frame after a pause",
         {{garbledCount, 0}, {response, 1000}},
         {response}},
    };
    for (const Case& c : cases) {
        SerialFrameReader reader;
        std::vector<Bytes> found;
        for (const Piece& piece : c.pieces) {
            reader.append(piece.bytes, piece.atMs);
            while (std::optional<Bytes> next = reader.next())
                found.push_back(*next);
        }
        EXPECT_EQ(found, c.frames) << c.name;
        for (const Bytes& f : found)
            EXPECT_TRUE(decodePdu(f)) << c.name;
    }
}

// The master's end of a socat pair, with a bare line on the device's end to answer by hand.
class SerialLink : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!m_pair.ready())
            GTEST_SKIP() << "socat is not installed";
        std::string error;
        ASSERT_TRUE(m_transport.open(error)) << error;
        ASSERT_TRUE(m_device.open(m_pair.deviceEnd(), error)) << error;
    }
    // What the device's end heard within the time: whole frames only.
    std::optional<Bytes> heard(int timeoutMs = 2000)
    {
        SerialFrameReader reader;
        Bytes bytes;
        std::string error;
        for (int waited = 0; waited < timeoutMs; waited += 50) {
            EXPECT_TRUE(m_device.receive(bytes, 50, error)) << error;
            reader.append(bytes, 0);
            bytes.clear();
            if (std::optional<Bytes> frame = reader.next())
                return frame;
        }
        return std::nullopt;
    }

    SerialPair m_pair;
    SerialTransport m_transport{m_pair.masterEnd()};
    SerialLine m_device;
};

TEST_F(SerialLink, ReportsSilenceThenAClosedLine)
{
    const Decoded<Bytes> silent = m_transport.exchange(frame(FrameType::Request, 0, 0), 300);
    ASSERT_FALSE(silent);
    EXPECT_EQ(silent.refusal().reason, "no answer within 300 ms");
    EXPECT_TRUE(m_transport.isOpen());

    m_pair.stop();
    const Decoded<Bytes> closed = m_transport.exchange(frame(FrameType::Request, 0, 0), 300);
    ASSERT_FALSE(closed);
    EXPECT_NE(closed.refusal().reason.find("closed"), std::string::npos) << closed.refusal().reason;
    EXPECT_FALSE(m_transport.isOpen());
}

// The loop carries more than the answer: noise, another master's request, a device's burst.
TEST_F(SerialLink, SendsPreamblesAndTakesOnlyADevicesResponse)
{
    const Bytes request = frame(FrameType::Request, 0, 0);
    std::future<Decoded<Bytes>> answer = std::async(std::launch::async,
                                                    [&] { return m_transport.exchange(request, 2000); });
    const std::optional<Bytes> sent = heard();
    ASSERT_TRUE(sent);
    EXPECT_EQ(*sent, join({Bytes(SerialLine::kPreambles, 0xFF), request}));

    const Bytes response = frame(FrameType::Response, 0, 3);
    std::string error;
    ASSERT_TRUE(m_device.send(
        join({{0x55, 0x00}, frame(FrameType::Request, 1, 5, 4), frame(FrameType::Burst, 1, 5), response}), error))
        << error;
    const Decoded<Bytes> got = answer.get();
    ASSERT_TRUE(got) << got.refusal().reason;
    EXPECT_EQ(got.value(), response);
}

// The device server's end: what it cannot read it refuses and does not answer; a request for a
// device on its line is answered, one for another poll address is not.
TEST_F(SerialLink, TheServerAnswersItsDevicesOnly)
{
    m_device.close();
    std::vector<std::unique_ptr<IServedDevice>> devices;
    devices.push_back(std::make_unique<PositionerDevice>(2, 0x0A1B02));
    DeviceResponder responder(std::move(devices));
    SerialLineServer server(m_pair.deviceEnd(), responder);
    std::string error;
    ASSERT_TRUE(server.start(error)) << error;
    std::atomic<bool> serving{true};
    std::thread serve([&] {
        while (serving)
            server.serveOnce(20);
    });

    Bytes garbled = frame(FrameType::Request, universal_command::ReadUniqueIdentifier, 0, 2);
    garbled.back() ^= 0x01;
    EXPECT_FALSE(m_transport.exchange(garbled, 300));
    EXPECT_FALSE(m_transport.exchange(frame(FrameType::Request, universal_command::ReadUniqueIdentifier, 0, 3), 300));
    const Decoded<Bytes> identity = m_transport.exchange(
        frame(FrameType::Request, universal_command::ReadUniqueIdentifier, 0, 2), 2000);
    serving = false;
    serve.join();
    EXPECT_EQ(server.refused(), 1u);
    ASSERT_TRUE(identity) << identity.refusal().reason;
    const Decoded<Pdu> pdu = decodePdu(identity.value());
    ASSERT_TRUE(pdu);
    EXPECT_EQ(pdu->address.pollAddress, 2);
    EXPECT_EQ(pdu->type, FrameType::Response);
}

}  // namespace
}  // namespace orvx::hart
