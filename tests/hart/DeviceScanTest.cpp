// The search of a gateway or loop for devices: orvx-hart-device in its own process, and a silent
// transport that counts what it was asked.
#include "DeviceProcess.h"
#include "hart/link/DeviceScan.h"
#include "hart/link/Transports.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace orvx::hart {
namespace {

using namespace std::chrono_literals;

// A loop on which nobody answers; it notes the time-out of each frame it is handed.
class SilentTransport : public IFrameTransport {
public:
    bool open(std::string&) override
    {
        ++opened;
        m_open = true;
        return true;
    }
    Decoded<Bytes> exchange(const Bytes&, int timeoutMs) override
    {
        timeouts.push_back(timeoutMs);
        return refuse(0, "no answer");
    }
    bool isOpen() const override { return m_open; }
    void close() override { m_open = false; }

    int opened = 0;
    std::vector<int> timeouts;

private:
    bool m_open = false;
};

// What a search on its own thread reported, collected for the test's thread.
struct Collected {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::uint8_t> asked;
    std::vector<FoundDevice> found;
    std::optional<ScanEnd> end;

    ScanEvents events()
    {
        return {[this](std::uint8_t poll) { note([&] { asked.push_back(poll); }); },
                [this](const FoundDevice& device) { note([&] { found.push_back(device); }); },
                [this](const ScanEnd& e) { note([&] { end = e; }); }};
    }
    template <class F>
    void note(F change)
    {
        const std::lock_guard lock(mutex);
        change();
        changed.notify_all();
    }
    template <class F>
    bool waitUntil(F done, std::chrono::milliseconds most = 10s)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, most, done);
    }
};

Endpoint loopback(std::uint16_t port)
{
    Endpoint endpoint;
    endpoint.host = "127.0.0.1";
    endpoint.port = port;
    return endpoint;
}

TEST(DeviceScan, TheManufacturerComesFromItsOwnFieldFromRevision7AndFromTheDeviceTypeBefore)
{
    FoundDevice device;
    device.identity.expandedDeviceType = 0xE4A1;
    device.identity.manufacturerId = 0x6021;
    const struct {
        std::uint8_t revision;
        std::uint16_t manufacturer;
    } cases[] = {{5, 0xE4}, {6, 0xE4}, {7, 0x6021}};
    for (const auto& c : cases) {
        device.identity.universalRevision = c.revision;
        EXPECT_EQ(device.manufacturerId(), c.manufacturer) << "revision " << int(c.revision);
    }
}

TEST(DeviceScan, ARangeBeyondTheLoopOrBackwardsIsRefusedBeforeTheTransportOpens)
{
    const struct {
        std::uint8_t first, last;
        const char* reason;
    } refused[] = {
        {0, 64, "poll addresses go up to 63"},
        {5, 4, "the first poll address comes after the last"},
    };
    for (const auto& range : refused) {
        SilentTransport transport;
        const ScanEnd end = scanDevices(transport, {range.first, range.last, 100}, {});
        EXPECT_EQ(end.error, range.reason);
        EXPECT_EQ(end.asked, 0);
        EXPECT_EQ(transport.opened, 0);
    }
}

TEST(DeviceScan, ASilentAddressCostsOneTryOfTheRangesAnswerTime)
{
    SilentTransport transport;
    std::vector<std::uint8_t> asked;
    const ScanEnd end = scanDevices(transport, {60, 63, 250},
                                    {[&](std::uint8_t poll) { asked.push_back(poll); }, {}, {}});
    EXPECT_EQ(end.error, "");
    EXPECT_FALSE(end.cancelled);
    EXPECT_EQ(end.asked, 4);
    EXPECT_EQ(asked, (std::vector<std::uint8_t>{60, 61, 62, 63})) << "63 is the last address there is";
    EXPECT_EQ(transport.timeouts, (std::vector<int>{250, 250, 250, 250}));
    EXPECT_FALSE(transport.isOpen()) << "the search closes what it opened";
}

TEST(DeviceScan, AnEndpointThatCannotBeReachedEndsTheSearchWithTheReason)
{
    std::uint16_t closedPort = 0;
    {
        test::DeviceProcess gone({"--port", "0"});
        closedPort = gone.port();
    }
    ASSERT_NE(closedPort, 0);
    Collected collected;
    const DeviceScan scan(loopback(closedPort), std::nullopt, {0, 15, 200}, collected.events());
    ASSERT_TRUE(collected.waitUntil([&] { return collected.end.has_value(); }));
    EXPECT_EQ(collected.end->error,
              "cannot reach hart-ip://127.0.0.1:" + std::to_string(closedPort) + "/0: Connection refused");
    EXPECT_EQ(collected.end->asked, 0);
    EXPECT_TRUE(collected.asked.empty());
    EXPECT_TRUE(collected.found.empty());
}

TEST(DeviceScan, FindsExactlyTheDevicesBehindTheServerWithTheirIdentities)
{
    test::DeviceProcess server({"--port", "0", "--devices", "3"});
    ASSERT_NE(server.port(), 0);
    Collected collected;
    const DeviceScan scan(loopback(server.port()), std::nullopt, {0, 15, 200}, collected.events());
    ASSERT_TRUE(collected.waitUntil([&] { return collected.end.has_value(); }));
    EXPECT_EQ(collected.end->error, "");
    EXPECT_FALSE(collected.end->cancelled);
    EXPECT_EQ(collected.end->asked, 16);
    ASSERT_EQ(collected.found.size(), 3u);
    for (std::uint8_t poll = 0; poll < 3; ++poll) {
        const FoundDevice& device = collected.found[poll];
        EXPECT_EQ(device.pollAddress, poll);
        EXPECT_EQ(device.identity.deviceId, 0x0A1B00u + poll) << "device at " << int(poll);
        EXPECT_EQ(device.tag, "PV-101");
        EXPECT_EQ(device.longTag, "") << "the server's positioners do not answer command 20";
    }
    // The server's positioners answer as revision 5 does: the manufacturer is the type's first byte.
    EXPECT_EQ(collected.found[0].identity.universalRevision, 5);
    EXPECT_EQ(collected.found[0].identity.expandedDeviceType, 0xE4A1);
    EXPECT_EQ(collected.found[0].manufacturerId(), 0xE4);
}

TEST(DeviceScan, CancelStopsTheSearchAtTheNextAddress)
{
    test::DeviceProcess server({"--port", "0", "--devices", "1"});
    ASSERT_NE(server.port(), 0);
    Collected collected;
    DeviceScan scan(loopback(server.port()), std::nullopt, {0, 63, 200}, collected.events());
    ASSERT_TRUE(collected.waitUntil([&] { return collected.asked.size() >= 3; }));
    const auto cancelled = std::chrono::steady_clock::now();
    scan.cancel();
    ASSERT_TRUE(collected.waitUntil([&] { return collected.end.has_value(); }, 2s));
    EXPECT_LT(std::chrono::steady_clock::now() - cancelled, 1s);
    EXPECT_TRUE(collected.end->cancelled);
    EXPECT_EQ(collected.end->error, "");
    EXPECT_LE(collected.end->asked, 4);
    EXPECT_EQ(collected.found.size(), 1u);
}

TEST(DeviceScan, DestroyingARunningSearchStopsItWithoutWaitingForTheRange)
{
    test::DeviceProcess server({"--port", "0"});
    ASSERT_NE(server.port(), 0);
    Collected collected;
    const auto started = std::chrono::steady_clock::now();
    {
        const DeviceScan scan(loopback(server.port()), std::nullopt, {0, 63, 200}, collected.events());
        ASSERT_TRUE(collected.waitUntil([&] { return collected.asked.size() >= 2; }));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, 3s) << "64 addresses would take 13 s";
    ASSERT_TRUE(collected.end.has_value());
    EXPECT_TRUE(collected.end->cancelled);
}

}  // namespace
}  // namespace orvx::hart
