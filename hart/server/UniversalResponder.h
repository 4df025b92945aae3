#pragma once

#include "hart/protocol/Pdu.h"
#include "hart/server/DeviceRecord.h"

#include <optional>
#include <vector>

namespace orvx::hart {

// Answers the universal commands for the devices behind one server, as each device would on its
// own line: command 0 to its poll address, everything else to its long address. A frame for no
// device here gets no answer; a command the device does not know gets "command not implemented".
class UniversalResponder {
public:
    explicit UniversalResponder(std::vector<DeviceRecord> devices) : m_devices(std::move(devices)) {}

    std::optional<Pdu> respond(const Pdu& request);

    const std::vector<DeviceRecord>& devices() const { return m_devices; }

private:
    DeviceRecord* addressed(const Pdu& request);
    void answer(DeviceRecord& device, const Pdu& request, Pdu& response);
    void write(DeviceRecord& device, const Pdu& request, Pdu& response);

    std::vector<DeviceRecord> m_devices;
};

}  // namespace orvx::hart
