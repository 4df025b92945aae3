#include "device/Vocabulary.h"
#include "hart/commands/DeviceCommandSet.h"
#include "hart/protocol/DeviceTexts.h"
#include "hart/protocol/ResponseCode.h"
#include "hart/server/MessageHandler.h"
#include "hart/server/PositionerDevice.h"

#include <gtest/gtest.h>

#include <memory>

namespace orvx::hart {
namespace {

namespace p = device::parameter;

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

std::vector<std::unique_ptr<IServedDevice>> twoPositioners()
{
    std::vector<std::unique_ptr<IServedDevice>> devices;
    devices.push_back(std::make_unique<PositionerDevice>(0, 0x0A1B2C));
    devices.push_back(std::make_unique<PositionerDevice>(1, 0x0A1B2D));
    return devices;
}

class ServedPositioners : public ::testing::Test {
protected:
    void SetUp() override { m_responder.advance(m_now); }  // the devices' time starts here
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
    Pdu ask(std::uint8_t command, const Bytes& data = {}) { return answer(frame(m_first, command, data)); }
    void runFor(std::uint64_t ms)
    {
        m_now += ms;
        m_responder.advance(m_now);
    }

    SessionTable m_sessions{2};
    DeviceResponder m_responder{twoPositioners()};
    MessageHandler m_handler{m_sessions, m_responder};
    std::uint64_t m_now = 1000;
    Address m_first = m_responder.device(0).identity().longAddress();
};

TEST_F(ServedPositioners, RefusesFramesBeforeASessionAndSessionsBeyondTheBound)
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

TEST_F(ServedPositioners, SessionEndsWhenItsTimerRunsOutOrItCloses)
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

TEST_F(ServedPositioners, EachAnswersItsPollAddressAndItsLongAddressOnly)
{
    open();
    const DeviceIdentity second = decodeIdentity(answer(frame(Address::poll(1), 0)).data).value();
    EXPECT_EQ(second.deviceId, 0x0A1B2Du);
    EXPECT_EQ(second.expandedDeviceType, PositionerDevice::kExpandedDeviceType);

    EXPECT_FALSE(send(frame(Address::poll(2), 0)).bytes);   // nobody at poll address 2
    EXPECT_FALSE(send(frame(Address::poll(1), 13)).bytes);  // only command 0 goes to a poll address
    DeviceIdentity stranger = second;
    stranger.deviceId = 0x0A1B2E;
    EXPECT_FALSE(send(frame(stranger.longAddress(), 13)).bytes);

    const Pdu tag = answer(frame(second.longAddress(), 13));
    EXPECT_EQ(tag.responseCode, response::Success);
    const TagDescriptorDate read = decodeTagDescriptorDate(tag.data).value();
    EXPECT_EQ(read.tag, "PV-101");
    EXPECT_EQ(read.descriptor, "ESD VALVE UNIT 1");
    EXPECT_EQ(read.date.year, 2024);
    EXPECT_EQ(decodeMessageText(ask(12).data).value(), "VALVE IN SERVICE");
}

// A write is checked by the device against the range in its own pressure unit; the reply holds
// what it stored.
TEST_F(ServedPositioners, WritesAreRefusedOutsideTheRangeAndAnsweredWithWhatWasStored)
{
    open();
    struct Case {
        const device::Parameter& parameter;
        const char* text;
        std::uint8_t code;
    };
    const std::vector<Case> cases = {
        {p::PstTravel, "30.5", response::TooLarge}, {p::PstTravel, "4.5", response::TooSmall},
        {p::Mode, "2", response::InvalidSelection},  // not one of its codes
        {p::PstTravel, "15", response::Success},    {p::ConfiguredTag, "FV-7", response::Success},
    };
    for (const Case& c : cases) {
        const Pdu written = ask(device_command::WriteParameter, writeParameterRequest(c.parameter, c.text).value());
        EXPECT_EQ(written.responseCode, c.code) << c.parameter.name << " " << c.text;
        if (c.code == response::Success) {
            EXPECT_EQ(decodeParameterReply(c.parameter, written.data).value(), c.text);
        }
    }
    EXPECT_EQ(
        decodeParameterReply(p::PstTravel, ask(device_command::ReadParameter, readParameterRequest(p::PstTravel)).data)
            .value(),
        "15");
    EXPECT_EQ(ask(device_command::WriteParameter, {0x3E, 0x80}).responseCode, response::TooFewDataBytes);
    EXPECT_EQ(ask(device_command::ReadParameter, {0x00, 0x01}).responseCode, response::InvalidSelection);
    EXPECT_EQ(ask(device_command::ReadParameter, readParameterRequest(p::FillCurve)).responseCode,
              response::InvalidSelection);
}

TEST_F(ServedPositioners, MethodsRunInDeviceTimeAndTheirOutcomeIsReadAsNotifications)
{
    open();
    const std::uint16_t from = decodeNotificationsReply(
                                   ask(device_command::ReadNotifications, readNotificationsRequest(0)).data)
                                   ->nextSequence;
    ASSERT_EQ(ask(device_command::WriteParameter, writeParameterRequest(p::ModeToSet, "0").value()).responseCode,
              response::Success);
    EXPECT_EQ(ask(device_command::StartMethod, {77}).responseCode, response::InvalidSelection);
    const Pdu started = ask(device_command::StartMethod, startMethodRequest(device::method::ModeChange));
    EXPECT_EQ(started.responseCode, response::Success);
    EXPECT_EQ(decodeMethod(started.data).value()->number, device::method::ModeChange);

    runFor(1000);
    const NotificationBatch batch =
        decodeNotificationsReply(ask(device_command::ReadNotifications, readNotificationsRequest(from)).data).value();
    std::vector<std::int32_t> codes;
    for (const DeviceNotification& n : batch.notifications) {
        if (n.code != device::code::NewValues)
            codes.push_back(n.code);
    }
    EXPECT_EQ(codes, (std::vector<std::int32_t>{device::code::ModeChanged}));
    ASSERT_FALSE(batch.notifications.empty());
    EXPECT_EQ(batch.nextSequence, batch.notifications.back().sequence + 1);
    EXPECT_EQ(
        decodeParameterReply(p::Mode, ask(device_command::ReadParameter, readParameterRequest(p::Mode)).data).value(),
        "0");
}

TEST_F(ServedPositioners, CurvesTravelInSegments)
{
    open();
    std::vector<CurvePoint> points;
    for (std::uint16_t first = 0;;) {
        const Pdu reply = ask(device_command::ReadCurveSegment, curveSegmentRequest(p::FillCurve, first));
        const CurveSegment segment = decodeCurveSegmentReply(p::FillCurve, reply.data).value();
        points.insert(points.end(), segment.points.begin(), segment.points.end());
        first = static_cast<std::uint16_t>(segment.first + segment.points.size());
        if (segment.points.empty() || first >= segment.total)
            break;
    }
    ASSERT_EQ(points.size(), 20u);
    EXPECT_FLOAT_EQ(points.back().position, 100.0f);
    EXPECT_EQ(ask(device_command::ReadCurveSegment, curveSegmentRequest(p::FillCurve, 21)).responseCode,
              response::TooLarge);
    EXPECT_EQ(ask(device_command::ReadCurveSegment, curveSegmentRequest(p::PstTravel, 0)).responseCode,
              response::InvalidSelection);
}

}  // namespace
}  // namespace orvx::hart
