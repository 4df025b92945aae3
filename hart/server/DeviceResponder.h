#pragma once

#include "hart/server/ServedDevice.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace orvx::hart {

// Hands each request to the device it is addressed to: command 0 by poll address, every other
// command by long address, and command 11 at the broadcast address (all zeros) to every device
// until one has the tag. A frame for no device here gets no answer, as on a HART line. A
// device's poll address is asked anew for each frame: command 6 moves it.
class DeviceResponder {
public:
    explicit DeviceResponder(std::vector<std::unique_ptr<IServedDevice>> devices);

    std::optional<Pdu> respond(const Pdu& request);
    // Moves the devices' clocks on to the server's time, `speed` times as fast: a demonstration
    // or a test need not wait out a stroke.
    void advance(std::uint64_t nowMs);
    void setSpeed(unsigned speed) { m_speed = speed; }
    // Hears every request addressed to a device here that may change it, before it is answered.
    void setJournal(std::function<void(const Pdu&)> journal) { m_journal = std::move(journal); }
    IServedDevice& device(std::size_t index) { return *m_devices.at(index); }

private:
    static bool addresses(IServedDevice& device, const Pdu& request);

    std::vector<std::unique_ptr<IServedDevice>> m_devices;
    unsigned m_speed = 1;
    std::optional<std::uint64_t> m_startMs;
    std::function<void(const Pdu&)> m_journal;
};

}  // namespace orvx::hart
