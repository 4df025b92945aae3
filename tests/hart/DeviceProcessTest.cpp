// orvx-hart-device in its own process, reached over loopback TCP and UDP as the link will reach it.
#include "DeviceProcess.h"
#include "hart/commands/DeviceCommandSet.h"
#include "hart/protocol/DeviceIdentity.h"
#include "hart/protocol/HartIpMessage.h"
#include "hart/protocol/MessageStream.h"
#include "hart/protocol/Pdu.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <csignal>
#include <memory>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvx::hart {
namespace {

constexpr int kWaitMs = 3000;

// One client socket; every wait is bounded.
class Client {
public:
    Client(int type, std::uint16_t port) : m_type(type), m_fd(::socket(AF_INET, type, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_connected = ::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~Client() { ::close(m_fd); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;
    bool connected() const { return m_connected; }

    void send(const Bytes& bytes) { ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL); }

    // The next message, or a refusal when none came in time or the server closed the connection.
    Decoded<HartIpMessage> receive()
    {
        for (;;) {
            if (auto next = m_stream.next())
                return *next;
            pollfd polled{m_fd, POLLIN, 0};
            if (::poll(&polled, 1, kWaitMs) != 1)
                return refuse(0, "no reply in time");
            std::uint8_t buffer[1024];
            const ssize_t received = ::recv(m_fd, buffer, sizeof buffer, 0);
            if (received <= 0)
                return refuse(0, "closed");
            if (m_type == SOCK_DGRAM)
                return decodeMessage(ByteView(buffer, static_cast<std::size_t>(received)));
            m_stream.append(ByteView(buffer, static_cast<std::size_t>(received)));
        }
    }

    Decoded<HartIpMessage> ask(MessageId id, const Bytes& body)
    {
        HartIpHeader header;
        header.id = id;
        header.sequence = ++m_sequence;
        send(encodeMessage(header, body).value());
        return receive();
    }

    // A command's response frame, or a refusal.
    Decoded<Pdu> command(const Address& address, std::uint8_t number, const Bytes& data = {})
    {
        Pdu pdu;
        pdu.address = address;
        pdu.command = number;
        pdu.data = data;
        const Decoded<HartIpMessage> reply = ask(MessageId::TokenPassingPdu, encodePdu(pdu).value());
        if (!reply)
            return reply.refusal();
        return decodePdu(reply->body);
    }

    // Command 0 to a poll address: the identity, or a refusal.
    Decoded<DeviceIdentity> identify(std::uint8_t poll)
    {
        const Decoded<Pdu> reply = command(Address::poll(poll), 0);
        if (!reply)
            return reply.refusal();
        return decodeIdentity(reply->data);
    }

private:
    int m_type;
    int m_fd;
    bool m_connected = false;
    std::uint16_t m_sequence = 0;
    MessageStream m_stream;
};

using test::DeviceProcess;

class DeviceOverHartIp : public ::testing::TestWithParam<int> {};

TEST_P(DeviceOverHartIp, OpensASessionAndIdentifiesEachDeviceBehindIt)
{
    DeviceProcess device({"--port", "0", "--devices", "3"});
    ASSERT_NE(device.port(), 0);
    auto client = std::make_unique<Client>(GetParam(), device.port());
    ASSERT_TRUE(client->connected());

    const Decoded<HartIpMessage> before = client->ask(MessageId::KeepAlive, {});
    ASSERT_TRUE(before) << before.refusal().reason;
    EXPECT_EQ(before->header.type, MessageType::Nak);
    if (GetParam() == SOCK_STREAM)
        client = std::make_unique<Client>(SOCK_STREAM, device.port());  // the server closed that connection

    const Decoded<HartIpMessage> opened = client->ask(MessageId::SessionInitiate, encodeSessionInitiate({true, 5000}));
    ASSERT_TRUE(opened) << opened.refusal().reason;
    EXPECT_EQ(opened->header.type, MessageType::Response);
    EXPECT_EQ(opened->header.status, 0);
    std::vector<DeviceIdentity> identities;
    for (std::uint8_t poll = 0; poll < 3; ++poll) {
        const Decoded<DeviceIdentity> identity = client->identify(poll);
        ASSERT_TRUE(identity) << identity.refusal().reason;
        EXPECT_EQ(identity->deviceId, 0x0A1B00u + poll);
        identities.push_back(identity.value());
    }
    // The third positioner's own commands: a write, then a read of what it holds.
    const device::Parameter& travel = device::parameter::PstTravel;
    const Decoded<Pdu> written = client->command(identities[2].longAddress(), device_command::WriteParameter,
                                                 writeParameterRequest(travel, "12.5").value());
    ASSERT_TRUE(written) << written.refusal().reason;
    EXPECT_EQ(written->responseCode, 0);
    const Decoded<Pdu> read = client->command(identities[2].longAddress(), device_command::ReadParameter,
                                              readParameterRequest(travel));
    ASSERT_TRUE(read) << read.refusal().reason;
    EXPECT_EQ(decodeParameterReply(travel, read->data).value(), "12.5");
    EXPECT_EQ(client->ask(MessageId::SessionClose, {})->header.type, MessageType::Response);
    EXPECT_EQ(device.stop(), 0);
}

INSTANTIATE_TEST_SUITE_P(Transports, DeviceOverHartIp, ::testing::Values(SOCK_STREAM, SOCK_DGRAM),
                         [](const auto& info) { return info.param == SOCK_STREAM ? "Tcp" : "Udp"; });

TEST(DeviceOverTcp, ClosesAStreamThatLostItsFramingAndBoundsItsSessions)
{
    DeviceProcess device({"--port", "0", "--max-sessions", "1"});
    ASSERT_NE(device.port(), 0);
    Client garbled(SOCK_STREAM, device.port());
    garbled.send(Bytes{1, 0, 3, 0, 0, 1, 0xFF, 0xFF});
    EXPECT_EQ(garbled.receive().refusal().reason, "closed");

    Client first(SOCK_STREAM, device.port());
    ASSERT_TRUE(first.ask(MessageId::SessionInitiate, encodeSessionInitiate({true, 5000})));
    Client second(SOCK_STREAM, device.port());
    const Decoded<HartIpMessage> refused = second.ask(MessageId::SessionInitiate, encodeSessionInitiate({true, 5000}));
    ASSERT_TRUE(refused) << refused.refusal().reason;
    EXPECT_EQ(refused->header.type, MessageType::Nak);
    EXPECT_TRUE(first.identify(0));
}

TEST(DeviceProgram, RefusesBadArgumentsAndAnAddressItCannotBind)
{
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--devices", "0"},
                                                      {"--port", "70000"},
                                                      {"--listen"},
                                                      {"--listen", "no-address", "--port", "0"}}) {
        DeviceProcess device(arguments);
        EXPECT_EQ(device.port(), 0);
        const int status = device.stop();
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0);
    }
}

}  // namespace
}  // namespace orvx::hart
