#include "hart/server/DeviceResponder.h"

#include "hart/commands/DeviceCommandSet.h"
#include "hart/protocol/UniversalCommands.h"

namespace orvx::hart {

DeviceResponder::DeviceResponder(std::vector<std::unique_ptr<IServedDevice>> devices) : m_devices(std::move(devices)) {}

std::optional<Pdu> DeviceResponder::respond(const Pdu& request)
{
    if (request.type != FrameType::Request)
        return std::nullopt;
    IServedDevice* device = addressed(request);
    if (!device)
        return std::nullopt;
    if (m_journal && !onlyReads(request.command))
        m_journal(request);
    Pdu response;
    response.type = FrameType::Response;
    response.address = request.address;
    response.address.burstMode = false;
    response.command = request.command;
    device->answer(request, response);
    return response;
}

void DeviceResponder::advance(std::uint64_t nowMs)
{
    if (!m_startMs)
        m_startMs = nowMs;
    const std::uint64_t deviceMs = *m_startMs + (nowMs - *m_startMs) * m_speed;
    for (const auto& device : m_devices)
        device->advance(deviceMs);
}

IServedDevice* DeviceResponder::addressed(const Pdu& request)
{
    for (const auto& device : m_devices) {
        const bool ours = request.address.isLong ? request.address.sameDevice(device->identity().longAddress())
                                                 : request.command == universal_command::ReadUniqueIdentifier &&
                                                       request.address.pollAddress == device->pollAddress();
        if (ours)
            return device.get();
    }
    return nullptr;
}

}  // namespace orvx::hart
