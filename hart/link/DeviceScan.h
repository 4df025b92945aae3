#pragma once

#include "hart/link/Endpoint.h"
#include "hart/link/FrameTransport.h"
#include "hart/protocol/DeviceIdentity.h"
#include "hart/tls/PresharedKey.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

namespace orvx::hart {

// A device that answered command 0 during a search, with the tags it gave.
struct FoundDevice {
    std::uint8_t pollAddress = 0;
    DeviceIdentity identity;
    std::string tag;      // command 13; empty when the device did not give it
    std::string longTag;  // command 20; empty when the device does not answer it

    // Revision 7 sends the manufacturer in a field of its own; before it, the manufacturer was
    // the device type's first byte.
    std::uint16_t manufacturerId() const
    {
        return identity.universalRevision >= 7 ? identity.manufacturerId
                                               : static_cast<std::uint16_t>(identity.expandedDeviceType >> 8);
    }
};

// Which poll addresses a search asks, and how long it waits at each. An address is asked once:
// on a loop most addresses stay silent, and three tries of a second each would make a search of
// sixteen addresses take most of a minute.
struct ScanRange {
    static constexpr std::uint8_t kHighestPollAddress = 63;

    std::uint8_t first = 0;
    std::uint8_t last = 15;
    int answerTimeoutMs = 500;  // a gateway relays to a loop at 1200 baud; a device on loopback takes less
};

// How a search ended: after the whole range, cancelled, or on an error (the transport could not
// be opened, or closed under the search), with the reason.
struct ScanEnd {
    bool cancelled = false;
    std::string error;
    int asked = 0;  // poll addresses that were asked
};

// What a search tells as it goes, on the thread it runs on.
struct ScanEvents {
    std::function<void(std::uint8_t pollAddress)> asking;  // before the address is asked
    std::function<void(const FoundDevice&)> found;
    std::function<void(const ScanEnd&)> finished;  // DeviceScan only, once, last
};

// Opens the transport, asks command 0 at each poll address of the range and, of each device that
// answers, its tag (13) and long tag (20), then closes the transport. Stops before the next
// address once `stop` is requested. Refused ranges (last beyond 63, first after last) ask nothing.
ScanEnd scanDevices(IFrameTransport& transport, const ScanRange& range, const ScanEvents& events,
                    std::stop_token stop = {});

// A search on a thread of its own, so that the caller never waits for a device. The events come
// on that thread; a window hands them on to its own. Destroying the search cancels it and waits
// for the address being asked (at most the range's answer time, three times over for a device
// that answers, or the transport's time to connect).
class DeviceScan {
public:
    // The endpoint's poll address is not used: the range says which addresses are asked.
    DeviceScan(const Endpoint& endpoint, std::optional<PresharedKey> key, ScanRange range, ScanEvents events);
    DeviceScan(std::unique_ptr<IFrameTransport> transport, ScanRange range, ScanEvents events);
    ~DeviceScan() = default;  // the thread is asked to stop and joined
    DeviceScan(const DeviceScan&) = delete;
    DeviceScan& operator=(const DeviceScan&) = delete;

    // Returns at once; `finished` follows with `cancelled` set, unless the search had ended.
    void cancel() { m_thread.request_stop(); }

private:
    std::jthread m_thread;
};

}  // namespace orvx::hart
