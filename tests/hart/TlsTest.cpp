// HART-IP over TLS with a pre-shared key: the key file, and the link against orvx-hart-device
// --psk in its own process.
#include "DeviceProcess.h"
#include "hart/link/HartIpTransport.h"
#include "hart/protocol/DeviceIdentity.h"
#include "hart/protocol/HartIpMessage.h"
#include "hart/protocol/Pdu.h"
#include "hart/tls/PresharedKey.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace orvx::hart {
namespace {

using test::DeviceProcess;
using Clock = std::chrono::steady_clock;

const std::string kKey32 = std::string(64, 'a');  // 32 bytes

TEST(PresharedKey, RefusesEveryMalformedLineWithItsReason)
{
    const struct {
        std::string line;
        const char* reason;
    } cases[] = {
        {"client" + kKey32, "no ':'"},
        {":" + kKey32, "identity is 1 to 128"},
        {std::string(129, 'i') + ":" + kKey32, "identity is 1 to 128"},
        {"cli\tent:" + kKey32, "printable"},
        {"client:" + kKey32 + "a", "odd number"},
        {"client:" + std::string(62, 'a') + "zz", "hex digits only"},
        {"client:" + std::string(30, '0'), "16 to 64 bytes"},
        {"client:" + std::string(130, '0'), "16 to 64 bytes"},
        {"client:" + kKey32 + "\nsecond:" + kKey32, "hex digits only"},
    };
    for (const auto& c : cases) {
        const Decoded<PresharedKey> key = parsePresharedKey(c.line);
        ASSERT_FALSE(key) << c.line;
        EXPECT_NE(key.refusal().reason.find(c.reason), std::string::npos) << c.line << ": " << key.refusal().reason;
    }
}

TEST(PresharedKey, ReadsIdentityAndKeyAtTheBounds)
{
    const Decoded<PresharedKey> shortest = parsePresharedKey("a b:000102030405060708090A0b0C0d0E0f\r\n");
    ASSERT_TRUE(shortest) << shortest.refusal().reason;
    EXPECT_EQ(shortest->identity, "a b");
    EXPECT_EQ(shortest->key, (Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    const Decoded<PresharedKey> longest = parsePresharedKey(std::string(128, 'i') + ":" + std::string(128, 'F'));
    ASSERT_TRUE(longest) << longest.refusal().reason;
    EXPECT_EQ(longest->identity.size(), 128u);
    EXPECT_EQ(longest->key, Bytes(64, 0xff));
}

// A folder of its own for each test's key files, gone when the test ends.
class KeyFolder {
public:
    KeyFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvx-tls-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~KeyFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string write(const std::string& name, const std::string& text) const
    {
        const std::string path = m_path + "/" + name;
        std::ofstream(path) << text;
        return path;
    }
    std::string path() const { return m_path; }

private:
    std::string m_path;
};

TEST(PresharedKey, ReadsTheFileAndNamesItInEveryRefusal)
{
    const KeyFolder folder;
    ASSERT_FALSE(folder.path().empty());
    const Decoded<PresharedKey> missing = readPresharedKey(folder.path() + "/none");
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.refusal().reason.find("cannot read the key file"), std::string::npos);
    const Decoded<PresharedKey> bad = readPresharedKey(folder.write("bad", "client:abc\n"));
    ASSERT_FALSE(bad);
    EXPECT_NE(bad.refusal().reason.find(folder.path() + "/bad"), std::string::npos) << bad.refusal().reason;
    const Decoded<PresharedKey> good = readPresharedKey(folder.write("good", "client:" + kKey32 + "\n"));
    ASSERT_TRUE(good) << good.refusal().reason;
    EXPECT_EQ(good->key, Bytes(32, 0xaa));
}

Bytes command0()
{
    Pdu pdu;
    pdu.address = Address::poll(0);
    pdu.command = 0;
    return encodePdu(pdu).value();
}

PresharedKey key(const std::string& identity, std::uint8_t fill)
{
    return PresharedKey{identity, Bytes(32, fill)};
}

// orvx-hart-device --psk with the key "line1", 32 bytes of 0xaa.
class TlsDevice : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_folder.path().empty());
        m_keyFile = m_folder.write("key", "line1:" + kKey32 + "\n");
        m_device = std::make_unique<DeviceProcess>(std::vector<std::string>{"--port", "0", "--psk", m_keyFile});
        ASSERT_NE(m_device->port(), 0);
    }
    Endpoint endpoint(Endpoint::Transport transport, std::uint16_t port = 0) const
    {
        Endpoint endpoint;
        endpoint.transport = transport;
        endpoint.host = "127.0.0.1";
        endpoint.port = port != 0 ? port : m_device->port();
        return endpoint;
    }
    // The reason open() gave; fails the test when it opened or took longer than `withinMs`.
    std::string refusal(HartIpTransport& transport, int withinMs = 2000)
    {
        const auto started = Clock::now();
        std::string error;
        EXPECT_FALSE(transport.open(error));
        EXPECT_LT(Clock::now() - started, std::chrono::milliseconds(withinMs)) << error;
        EXPECT_FALSE(transport.isOpen());
        return error;
    }

    KeyFolder m_folder;
    std::string m_keyFile;
    std::unique_ptr<DeviceProcess> m_device;
};

TEST_F(TlsDevice, AnotherKeyOrIdentityIsRefusedWithThatReason)
{
    for (const PresharedKey& other : {key("line1", 0xab), key("line2", 0xaa)}) {
        HartIpTransport transport(endpoint(Endpoint::Transport::Tls), other);
        const std::string error = refusal(transport);
        EXPECT_NE(error.find("the server refused the pre-shared key"), std::string::npos) << other.identity << error;
    }
}

TEST_F(TlsDevice, TheKeyOpensASessionAndCommand0Answers)
{
    HartIpTransport transport(endpoint(Endpoint::Transport::Tls), key("line1", 0xaa));
    std::string error;
    ASSERT_TRUE(transport.open(error)) << error;
    for (int i = 0; i < 3; ++i) {
        const Decoded<Bytes> reply = transport.exchange(command0(), 2000);
        ASSERT_TRUE(reply) << reply.refusal().reason;
        const Decoded<Pdu> pdu = decodePdu(reply.value());
        ASSERT_TRUE(pdu) << pdu.refusal().reason;
        EXPECT_EQ(pdu->command, 0);
        EXPECT_EQ(pdu->responseCode, 0);
        const Decoded<DeviceIdentity> identity = decodeIdentity(pdu->data);
        ASSERT_TRUE(identity) << identity.refusal().reason;
        EXPECT_EQ(identity->deviceId, 0x0A1B00u);
    }
}

TEST_F(TlsDevice, APlainClientIsClosedAtOnceAndUdpIsNotServed)
{
    HartIpTransport plain(endpoint(Endpoint::Transport::Tcp));
    const std::string error = refusal(plain);  // well within the 5 s a silent connection is given
    EXPECT_NE(error.find("opened no session"), std::string::npos) << error;
    EXPECT_EQ(error.find("no answer"), std::string::npos) << error;
    HartIpTransport udp(endpoint(Endpoint::Transport::Udp));
    EXPECT_NE(refusal(udp, HartIpTransport::kConnectTimeoutMs + 1000).find("opened no session"), std::string::npos);
}

// A socket to the device's port on loopback, with every wait bounded.
int connectTo(std::uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const timeval wait{3, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The server closes the connection itself, whatever it sent before.
TEST_F(TlsDevice, ClosesAPlainClientsConnectionAtOnce)
{
    const int fd = connectTo(m_device->port());
    ASSERT_GE(fd, 0);
    HartIpHeader header;
    header.id = MessageId::SessionInitiate;
    const Bytes hello = encodeMessage(header, encodeSessionInitiate({true, 30000})).value();
    ::send(fd, hello.data(), hello.size(), MSG_NOSIGNAL);
    const auto started = Clock::now();
    std::uint8_t buffer[256];
    ssize_t received = 0;
    while ((received = ::recv(fd, buffer, sizeof buffer, 0)) > 0) {
    }
    EXPECT_TRUE(received == 0 || errno == ECONNRESET) << std::strerror(errno);
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(2));
    ::close(fd);
}

// A listener that takes the connection and never answers: the handshake gives up at the connect
// timeout, and waits for the socket rather than spinning on it.
TEST(TlsClient, GivesUpOnASilentServerWithoutSpinning)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), size), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    Endpoint endpoint = parseEndpoint("hart-ip+tls://127.0.0.1:" + std::to_string(ntohs(address.sin_port))).value();
    HartIpTransport transport(endpoint, key("line1", 0xaa));
    timespec cpuBefore{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuBefore);
    const auto started = Clock::now();
    std::string error;
    EXPECT_FALSE(transport.open(error));
    EXPECT_LT(Clock::now() - started, std::chrono::milliseconds(HartIpTransport::kConnectTimeoutMs + 1000));
    EXPECT_NE(error.find("no TLS handshake within"), std::string::npos) << error;
    timespec cpuAfter{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuAfter);
    EXPECT_LT(cpuAfter.tv_sec - cpuBefore.tv_sec, 1);
    ::close(listener);
}

// A client that connects and says nothing holds up no one else's handshake.
TEST_F(TlsDevice, AStalledClientHoldsUpNoOtherHandshake)
{
    const int silent = connectTo(m_device->port());
    ASSERT_GE(silent, 0);
    const std::uint8_t halfAHello[] = {0x16, 0x03, 0x01, 0x01, 0x00, 0x01};
    ::send(silent, halfAHello, sizeof halfAHello, MSG_NOSIGNAL);
    HartIpTransport transport(endpoint(Endpoint::Transport::Tls), key("line1", 0xaa));
    std::string error;
    EXPECT_TRUE(transport.open(error)) << error;
    ::close(silent);
}

TEST(TlsClient, IsRefusedByAPlainServerAndWithoutAKey)
{
    DeviceProcess device({"--port", "0"});
    ASSERT_NE(device.port(), 0);
    Endpoint endpoint = parseEndpoint("hart-ip+tls://127.0.0.1:" + std::to_string(device.port())).value();
    HartIpTransport noKey(endpoint);
    std::string error;
    EXPECT_FALSE(noKey.open(error));
    EXPECT_NE(error.find("needs a pre-shared key"), std::string::npos) << error;
    HartIpTransport tls(endpoint, key("line1", 0xaa));
    const auto started = Clock::now();
    EXPECT_FALSE(tls.open(error));
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(2));
    EXPECT_NE(error.find("does it serve HART-IP without TLS"), std::string::npos) << error;
}

TEST(TlsServer, RefusesToStartOnAKeyFileItCannotRead)
{
    const KeyFolder folder;
    DeviceProcess device({"--port", "0", "--psk", folder.write("key", "line1:abc\n")});
    EXPECT_EQ(device.port(), 0);
    EXPECT_EQ(device.stop(), 2 << 8);
}

}  // namespace
}  // namespace orvx::hart
