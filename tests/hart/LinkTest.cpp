#include "DeviceProcess.h"
#include "LinkSupport.h"
#include "SerialPair.h"
#include "device/IDtmUiRegistry.h"
#include "device/IUpdateUI.h"
#include "hart/link/Endpoint.h"
#include "hart/link/HartBusinessObject.h"
#include "hart/link/HartIpTransport.h"
#include "hart/link/HartMaster.h"
#include "hart/link/Transports.h"
#include "hart/protocol/ResponseCode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

namespace orvx::hart {
namespace {

namespace p = device::parameter;
using com::BStr;
using com::Status;
using com::Variant;
using test::DeviceProcess;

TEST(Endpoint, RefusesEveryOtherForm)
{
    for (const char* bad : {"", "hart-ip:/host", "http://host", "hart-ip://", "hart-ip://:5094", "hart-ip://host:0",
                            "hart-ip://host:65536", "hart-ip://host:x", "hart-ip://host/64", "hart-ip://host/1/2",
                            "hart-ip://host/", "hart-ip+tls://", "hart-ip+tls://host:0", "hart-ip+dtls://host",
                            "serial://", "serial://ttyUSB0", "serial:///", "serial:///dev/null/64"})
        EXPECT_FALSE(parseEndpoint(bad)) << bad;
}

// A serial line's last part is a poll address only when what comes before it is no folder.
TEST(Endpoint, ReadsASerialLineAndItsPollAddress)
{
    std::string folder = ::testing::TempDir();
    if (folder.ends_with('/'))
        folder.pop_back();
    struct Case {
        std::string text;
        std::string path;
        int poll;
    } const cases[] = {
        {"serial:///dev/ttyUSB0", "/dev/ttyUSB0", 0},
        {"serial:///dev/ttyUSB0/7", "/dev/ttyUSB0", 7},
        {"serial://" + folder + "/3", folder + "/3", 0},
        {"serial://" + folder + "/line/63", folder + "/line", 63},
    };
    for (const Case& c : cases) {
        const Decoded<Endpoint> endpoint = parseEndpoint(c.text);
        ASSERT_TRUE(endpoint) << c.text << ": " << endpoint.refusal().reason;
        EXPECT_EQ(endpoint->transport, Endpoint::Transport::Serial);
        EXPECT_EQ(endpoint->host, c.path) << c.text;
        EXPECT_EQ(endpoint->pollAddress, c.poll) << c.text;
    }
    EXPECT_EQ(parseEndpoint("serial:///dev/ttyS1/2")->text(), "serial:///dev/ttyS1/2");
}

TEST(Endpoint, ReadsHostPortPollAndTransport)
{
    const Endpoint plain = parseEndpoint("hart-ip://gateway.plant").value();
    EXPECT_EQ(plain.host, "gateway.plant");
    EXPECT_EQ(plain.port, 5094);
    EXPECT_EQ(plain.pollAddress, 0);
    EXPECT_EQ(plain.transport, Endpoint::Transport::Tcp);
    const Endpoint full = parseEndpoint("hart-ip+udp://10.1.2.3:20004/63").value();
    EXPECT_EQ(full.host, "10.1.2.3");
    EXPECT_EQ(full.port, 20004);
    EXPECT_EQ(full.pollAddress, 63);
    EXPECT_EQ(full.transport, Endpoint::Transport::Udp);
    EXPECT_EQ(full.text(), "hart-ip+udp://10.1.2.3:20004/63");
    const Endpoint tls = parseEndpoint("hart-ip+tls://gateway.plant/3").value();
    EXPECT_EQ(tls.transport, Endpoint::Transport::Tls);
    EXPECT_EQ(tls.port, 5094);
    EXPECT_EQ(tls.pollAddress, 3);
    EXPECT_EQ(tls.text(), "hart-ip+tls://gateway.plant:5094/3");
}

// A transport that answers from a script: each entry is a frame to answer with, or nothing for
// a request that goes unanswered.
class ScriptedTransport : public IFrameTransport {
public:
    std::deque<std::optional<Bytes>> answers;
    int asked = 0;

    bool open(std::string&) override { return true; }
    Decoded<Bytes> exchange(const Bytes&, int) override
    {
        ++asked;
        if (answers.empty())
            return refuse(0, "no answer");
        std::optional<Bytes> next = answers.front();
        answers.pop_front();
        if (!next)
            return refuse(0, "no answer");
        return *next;
    }
    bool isOpen() const override { return true; }
    void close() override {}
};

Bytes response(std::uint8_t command, std::uint8_t code, const Bytes& data = {}, std::uint8_t poll = 0)
{
    Pdu pdu;
    pdu.type = FrameType::Response;
    pdu.address = Address::poll(poll);
    pdu.command = command;
    pdu.responseCode = code;
    pdu.data = data;
    return encodePdu(pdu).value();
}

TEST(HartMaster, AsksAgainAsMastersDoThenReports)
{
    struct Case {
        const char* name;
        std::vector<std::optional<Bytes>> answers;
        bool answered;
        int asked;
    };
    Bytes garbled = response(0, 0);
    garbled.back() ^= 1;
    const std::vector<Case> cases = {
        {"silence thrice", {std::nullopt, std::nullopt, std::nullopt}, false, 3},
        {"busy thrice",
         {response(0, response::Busy), response(0, response::Busy), response(0, response::Busy)},
         false,
         3},
        {"garbled, then good", {garbled, response(0, 0)}, true, 2},
        {"communication error, then good", {response(0, 0x88), response(0, 0)}, true, 2},
        {"another device, then good", {response(0, 0, {}, 5), response(0, 0)}, true, 2},
        {"another command, then good", {response(13, 0), response(0, 0)}, true, 2},
        {"an error is an answer", {response(0, response::NotImplemented)}, true, 1},
    };
    for (const Case& c : cases) {
        ScriptedTransport transport;
        transport.answers.assign(c.answers.begin(), c.answers.end());
        HartMaster master(transport);  // no device identified yet: it asks poll address 0
        const Decoded<Pdu> reply = master.command(0);
        EXPECT_EQ(transport.asked, c.asked) << c.name;
        EXPECT_EQ(static_cast<bool>(reply), c.answered) << c.name << ": " << reply.refusal().reason;
    }
}

// Nothing listens where the link is sent: it says why, refuses writes, and answers methods busy.
TEST(LinkWithoutDevice, SaysWhyAndRefusesWhatNeedsTheDevice)
{
    QueuedPoster poster;
    Endpoint nowhere;
    nowhere.host = "127.0.0.1";
    nowhere.port = 1;
    auto object = com::makeComObject<HartBusinessObject>(std::make_unique<HartIpTransport>(nowhere), 0, poster);
    auto control = com::makeComObject<RecordingControl>();
    bool accepted = false;
    com::queryInterface<device::IDtmUiRegistry>(object)->RegisterControl(u"Orvx.Main.1", u"main", control.get(), true,
                                                                         &accepted);
    object->Start();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(8);
    while (object->LinkProblem().find("cannot reach") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline) {
        poster.runPending();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_NE(object->LinkProblem().find("cannot reach hart-ip://127.0.0.1:1/0"), std::string::npos)
        << object->LinkProblem();
    EXPECT_FALSE(object->IsConnected());
    Variant value;
    EXPECT_EQ(object->GetParameter(BStr(u"16000"), &value), Status::Failure);
    EXPECT_EQ(object->GetParameter(BStr(u"15000"), &value), Status::Ok);
    EXPECT_EQ(value.toText().toUtf8(), "0");
    std::uint32_t word = 0;
    EXPECT_EQ(object->SetParameter(BStr(u"16000"), Variant::text(BStr(u"12")), &word), Status::Failure);
    EXPECT_EQ(object->SetParameter(BStr(u"4"), Variant(), &word), Status::Ok);
    while (!control->got(device::code::Busy) && std::chrono::steady_clock::now() < deadline) {
        poster.runPending();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(control->got(device::code::Busy));
    object->Stop();
}

// The business object over HART-IP (TLS with a key file in a folder of the test's own), or a
// serial line, to orvx-hart-device in its own process.
class LinkToDevice : public ::testing::TestWithParam<Endpoint::Transport> {
protected:
    void SetUp() override
    {
        m_endpoint.transport = GetParam();
        const bool serial = m_endpoint.transport == Endpoint::Transport::Serial;
        if (serial)
            m_line = std::make_unique<test::SerialPair>();
        if (serial && !m_line->ready())
            GTEST_SKIP() << "socat is not installed";
        std::optional<PresharedKey> key;
        if (GetParam() == Endpoint::Transport::Tls) {
            key = PresharedKey{"line1", Bytes(16, 0x5a)};
            std::string folder = (std::filesystem::temp_directory_path() / "orvx-link-XXXXXX").string();
            ASSERT_TRUE(::mkdtemp(folder.data()));
            m_keyFolder = folder;
            std::ofstream(folder + "/key") << "line1:5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a5a\n";
            m_deviceOptions = {"--psk", folder + "/key"};
        }
        if (serial)
            m_deviceOptions = {"--serial", m_line->deviceEnd()};
        m_device = std::make_unique<DeviceProcess>(arguments(0));
        ASSERT_NE(m_device->port(), 0);
        m_endpoint.host = serial ? m_line->masterEnd() : "127.0.0.1";
        m_endpoint.port = m_device->port();
        m_object = com::makeComObject<HartBusinessObject>(makeTransport(m_endpoint, key), 0, m_poster);
        bool accepted = false;
        com::queryInterface<device::IDtmUiRegistry>(m_object)->RegisterControl(u"Orvx.Main.1", u"main", m_control.get(),
                                                                               true, &accepted);
        m_object->Start();
        ASSERT_TRUE(waitFor([&] { return m_object->IsConnected(); })) << m_object->LinkProblem();
    }
    void TearDown() override
    {
        if (m_object)
            m_object->Stop();
        if (!m_keyFolder.empty())
            std::filesystem::remove_all(m_keyFolder);
    }
    std::vector<std::string> arguments(std::uint16_t port) const
    {
        std::vector<std::string> all{"--port", std::to_string(port)};
        all.insert(all.end(), m_deviceOptions.begin(), m_deviceOptions.end());
        return all;
    }
    // Runs the posted work until `done` holds, for at most `ms`.
    template <class F>
    bool waitFor(F done, int ms = 8000)
    {
        return m_poster.runUntil(done, ms);
    }
    std::string get(const device::Parameter& parameter)
    {
        Variant value;
        EXPECT_EQ(m_object->GetParameter(BStr::fromUtf8(std::string(parameter.tag)), &value), Status::Ok)
            << parameter.name;
        return value.toText().toUtf8();
    }
    Status set(const device::Parameter& parameter, const char* text)
    {
        std::uint32_t word = 0;
        return m_object->SetParameter(BStr::fromUtf8(std::string(parameter.tag)), Variant::text(BStr::fromUtf8(text)),
                                      &word);
    }
    Status start(int method)
    {
        std::uint32_t word = 0;
        return m_object->SetParameter(BStr::fromUtf8(std::to_string(method)), Variant(), &word);
    }

    std::unique_ptr<test::SerialPair> m_line;
    std::string m_keyFolder;
    std::vector<std::string> m_deviceOptions;
    std::unique_ptr<DeviceProcess> m_device;
    Endpoint m_endpoint;
    QueuedPoster m_poster;
    com::ComPtr<RecordingControl> m_control = com::makeComObject<RecordingControl>();
    com::ComPtr<HartBusinessObject> m_object;
};

TEST_P(LinkToDevice, ReadsAndWritesTheDeviceAndRefusesWhatItRefuses)
{
    EXPECT_EQ(get(p::DeviceTag), "PV-101");
    EXPECT_EQ(get(p::PstTravel), "10");
    EXPECT_EQ(get(p::Connected), "1");
    EXPECT_EQ(set(p::PstTravel, "12.5"), Status::Ok);
    EXPECT_EQ(get(p::PstTravel), "12.5");
    EXPECT_EQ(set(p::PstTravel, "31"), Status::InvalidArgument);
    EXPECT_EQ(set(p::PstTravel, "ten"), Status::InvalidArgument);
    EXPECT_EQ(get(p::PstTravel), "12.5");
    EXPECT_EQ(set(p::Connected, "0"), Status::AccessDenied);
}

TEST_P(LinkToDevice, MethodsAnswerThroughNotificationsAsTheDeviceSendsThem)
{
    ASSERT_EQ(set(p::ModeToSet, "0"), Status::Ok);
    ASSERT_EQ(start(device::method::ModeChange), Status::Ok);
    ASSERT_TRUE(waitFor([&] { return m_control->got(device::code::ModeChanged); }));
    EXPECT_EQ(get(p::Mode), "0");  // read before the notification was handed on
    ASSERT_EQ(start(77), Status::InvalidArgument);
}

// The device dies in the middle of a PST: the page learns it is offline within the master's
// tries, the PST fails, and the device answers again once it is back.
TEST_P(LinkToDevice, ALostDeviceFailsTheRunningMethodAndIsReachedAgain)
{
    ASSERT_EQ(start(device::method::PartialStrokeTest), Status::Ok);
    waitFor([] { return false; }, 600);  // the stroke is under way: it takes seconds
    ASSERT_FALSE(m_control->got(device::code::FailedInDevice));
    const auto killed = std::chrono::steady_clock::now();
    m_device->stop(SIGKILL);
    ASSERT_TRUE(waitFor([&] { return !m_object->IsConnected(); }));
    const auto noticed = std::chrono::steady_clock::now() - killed;
    EXPECT_LT(noticed, std::chrono::milliseconds(HartMaster::kTries * HartMaster::kAnswerTimeoutMs +
                                                 DeviceSession::kPollMs + 1000));
    EXPECT_TRUE(std::ranges::count(m_control->received,
                                   std::pair<std::int32_t, std::string>{device::code::FailedInDevice, "4"}) == 1);
    EXPECT_FALSE(m_object->LinkProblem().empty());
    m_control->received.clear();
    ASSERT_EQ(start(device::method::PartialStrokeTest), Status::Ok);
    ASSERT_TRUE(waitFor([&] { return m_control->got(device::code::Busy); }));

    m_device = std::make_unique<DeviceProcess>(arguments(m_endpoint.port));
    ASSERT_EQ(m_device->port(), m_endpoint.port);
    ASSERT_TRUE(waitFor([&] { return m_object->IsConnected(); })) << m_object->LinkProblem();
    EXPECT_TRUE(m_control->got(device::code::DataReloaded));
    EXPECT_EQ(get(p::DeviceTag), "PV-101");
}

std::string transportName(Endpoint::Transport transport)
{
    switch (transport) {
    case Endpoint::Transport::Tcp: return "Tcp";
    case Endpoint::Transport::Udp: return "Udp";
    case Endpoint::Transport::Serial: return "Serial";
    case Endpoint::Transport::Tls: return "Tls";
    }
    return "";
}

INSTANTIATE_TEST_SUITE_P(Transports, LinkToDevice,
                         ::testing::Values(Endpoint::Transport::Tcp, Endpoint::Transport::Udp,
                                           Endpoint::Transport::Serial, Endpoint::Transport::Tls),
                         [](const auto& info) { return transportName(info.param); });

}  // namespace
}  // namespace orvx::hart
