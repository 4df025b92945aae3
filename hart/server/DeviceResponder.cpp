#include "hart/server/DeviceResponder.h"

#include "hart/commands/DeviceCommandSet.h"
#include "hart/protocol/UniversalCommands.h"

namespace orvx::hart {

DeviceResponder::DeviceResponder(std::vector<std::unique_ptr<IServedDevice>> devices) : m_devices(std::move(devices)) {}

std::optional<Pdu> DeviceResponder::respond(const Pdu& request)
{
    if (request.type != FrameType::Request)
        return std::nullopt;
    for (const auto& device : m_devices) {
        if (!addresses(*device, request))
            continue;
        if (m_journal && !onlyReads(request.command))
            m_journal(request);
        Pdu response;
        response.type = FrameType::Response;
        response.address = request.address;
        response.address.burstMode = false;
        response.command = request.command;
        if (device->answer(request, response))
            return response;
    }
    return std::nullopt;
}

void DeviceResponder::advance(std::uint64_t nowMs)
{
    if (!m_startMs)
        m_startMs = nowMs;
    const std::uint64_t deviceMs = *m_startMs + (nowMs - *m_startMs) * m_speed;
    for (const auto& device : m_devices)
        device->advance(deviceMs);
}

bool DeviceResponder::addresses(IServedDevice& device, const Pdu& request)
{
    if (!request.address.isLong)
        return request.command == universal_command::ReadUniqueIdentifier &&
               request.address.pollAddress == device.pollAddress();
    const bool broadcast = request.address.sameDevice(Address::unique5({}));
    if (broadcast)
        return request.command == universal_command::ReadUniqueIdentifierByTag;
    return request.address.sameDevice(device.identity().longAddress());
}

}  // namespace orvx::hart
