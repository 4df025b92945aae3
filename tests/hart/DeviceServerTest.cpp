#include "hart/protocol/ResponseCode.h"
#include "hart/server/MessageHandler.h"

#include <gtest/gtest.h>

namespace orvx::hart {
namespace {

DeviceRecord device(std::uint8_t poll, std::uint32_t id)
{
    DeviceRecord record;
    record.pollAddress = poll;
    record.identity.expandedDeviceType = 0xE4A1;
    record.identity.deviceId = id;
    record.tagDescriptorDate = {"FV-101", "ESD VALVE", {1, 1, 2026}};
    return record;
}

HartIpMessage request(MessageId id, const Bytes& body, std::uint16_t sequence = 7)
{
    HartIpHeader header;
    header.id = id;
    header.sequence = sequence;
    return decodeMessage(encodeMessage(header, body).value()).value();
}

HartIpMessage frame(const Address& address, std::uint8_t command, const Bytes& data = {})
{
    Pdu pdu;
    pdu.address = address;
    pdu.command = command;
    pdu.data = data;
    return request(MessageId::TokenPassingPdu, encodePdu(pdu).value());
}

class ServedDevices : public ::testing::Test {
protected:
    Reply send(const HartIpMessage& message, const std::string& peer = "udp:a")
    {
        return m_handler.handle(peer, message, m_now);
    }
    void open(const std::string& peer = "udp:a", std::uint32_t timer = 30000)
    {
        const Reply reply = send(request(MessageId::SessionInitiate, encodeSessionInitiate({true, timer})), peer);
        ASSERT_TRUE(reply.bytes && !reply.closeSession);
    }
    // The response frame of a token-passing reply; fails the test when there is none.
    Pdu answer(const HartIpMessage& message)
    {
        const Reply reply = send(message);
        EXPECT_TRUE(reply.bytes.has_value());
        if (!reply.bytes)
            return {};
        const HartIpMessage decoded = decodeMessage(*reply.bytes).value();
        EXPECT_EQ(decoded.header.type, MessageType::Response);
        EXPECT_EQ(decoded.header.sequence, message.header.sequence);
        return decodePdu(decoded.body).value();
    }

    SessionTable m_sessions{2};
    UniversalResponder m_responder{{device(0, 0x0A1B2C), device(1, 0x0A1B2D)}};
    MessageHandler m_handler{m_sessions, m_responder};
    std::uint64_t m_now = 1000;
};

TEST_F(ServedDevices, RefusesFramesBeforeASessionAndSessionsBeyondTheBound)
{
    const Reply early = send(frame(Address::poll(0), 0));
    ASSERT_TRUE(early.bytes);
    EXPECT_TRUE(early.closeSession);
    EXPECT_EQ(decodeMessage(*early.bytes)->header.type, MessageType::Nak);

    open("udp:a");
    open("udp:b");
    const Reply third = send(request(MessageId::SessionInitiate, encodeSessionInitiate({true, 30000})), "udp:c");
    ASSERT_TRUE(third.bytes);
    EXPECT_EQ(decodeMessage(*third.bytes)->body, Bytes{hartip_error::ServiceUnavailable});
    EXPECT_EQ(m_sessions.size(), 2u);
}

TEST_F(ServedDevices, SessionEndsWhenItsTimerRunsOutOrItCloses)
{
    const Reply reply = send(request(MessageId::SessionInitiate, encodeSessionInitiate({true, 10})));
    const HartIpMessage granted = decodeMessage(*reply.bytes).value();
    EXPECT_EQ(granted.header.status, 8);  // set to the nearest timer granted
    EXPECT_EQ(decodeSessionInitiate(granted.body)->inactivityCloseMs, SessionTable::kMinTimerMs);

    m_now += SessionTable::kMinTimerMs - 1;
    EXPECT_TRUE(m_sessions.expire(m_now).empty());
    EXPECT_FALSE(send(request(MessageId::KeepAlive, {})).closeSession);
    m_now += SessionTable::kMinTimerMs;
    EXPECT_EQ(m_sessions.expire(m_now), std::vector<std::string>{"udp:a"});

    open();
    EXPECT_TRUE(send(request(MessageId::SessionClose, {})).closeSession);
    EXPECT_EQ(m_sessions.size(), 0u);
}

TEST_F(ServedDevices, EachDeviceAnswersItsPollAddressAndItsLongAddressOnly)
{
    open();
    const Pdu second = answer(frame(Address::poll(1), 0));
    const DeviceIdentity identity = decodeIdentity(second.data).value();
    EXPECT_EQ(identity.deviceId, 0x0A1B2Du);

    EXPECT_FALSE(send(frame(Address::poll(2), 0)).bytes);   // nobody at poll address 2
    EXPECT_FALSE(send(frame(Address::poll(1), 13)).bytes);  // only command 0 goes to a poll address
    EXPECT_FALSE(send(frame(device(0, 0x0A1B2E).identity.longAddress(), 13)).bytes);

    const Pdu tag = answer(frame(identity.longAddress(), 13));
    EXPECT_EQ(tag.responseCode, response::Success);
    EXPECT_EQ(decodeTagDescriptorDate(tag.data)->tag, "FV-101");
    EXPECT_EQ(answer(frame(identity.longAddress(), 48)).responseCode, response::NotImplemented);
}

TEST_F(ServedDevices, WritesAreCheckedStoredAndMarkTheConfigurationChanged)
{
    open();
    const Address address = device(0, 0x0A1B2C).identity.longAddress();
    const Bytes written = encodeTagDescriptorDate({"PV-7", "NEW", {29, 2, 2028}}).value();
    EXPECT_EQ(answer(frame(address, 18, Bytes(written.begin(), written.end() - 1))).responseCode,
              response::TooFewDataBytes);
    Bytes badDate = written;
    badDate[19] = 13;  // month 13
    EXPECT_EQ(answer(frame(address, 18, badDate)).responseCode, 9);
    EXPECT_EQ(decodeTagDescriptorDate(answer(frame(address, 13)).data)->tag, "FV-101");

    const Pdu stored = answer(frame(address, 18, written));
    EXPECT_EQ(stored.responseCode, response::Success);
    EXPECT_EQ(stored.data, written);
    EXPECT_TRUE(stored.deviceStatus & device_status::ConfigurationChanged);
    EXPECT_EQ(decodeTagDescriptorDate(answer(frame(address, 13)).data)->tag, "PV-7");

    const Pdu reset = answer(frame(address, 38));
    EXPECT_EQ(reset.data, (Bytes{0, 1}));
    EXPECT_FALSE(reset.deviceStatus & device_status::ConfigurationChanged);
}

}  // namespace
}  // namespace orvx::hart
