#include "hart/link/DeviceScan.h"

#include "hart/link/HartMaster.h"
#include "hart/link/Transports.h"
#include "hart/protocol/DeviceTexts.h"
#include "hart/protocol/ResponseCode.h"
#include "hart/protocol/UniversalCommands.h"

namespace orvx::hart {

namespace {

// The data of a command the device carried out, or nothing.
std::optional<Bytes> answered(HartMaster& master, std::uint8_t command)
{
    const Decoded<Pdu> reply = master.command(command);
    if (!reply)
        return std::nullopt;
    const ResponseClass kind = responseClass(reply->responseCode);
    if (kind != ResponseClass::Success && kind != ResponseClass::Warning)
        return std::nullopt;
    return reply->data;
}

void readTags(HartMaster& master, FoundDevice& device)
{
    if (const auto data = answered(master, universal_command::ReadTagDescriptorDate))
        if (const Decoded<TagDescriptorDate> texts = decodeTagDescriptorDate(*data))
            device.tag = texts->tag;
    if (const auto data = answered(master, universal_command::ReadLongTag))
        if (const Decoded<std::string> longTag = decodeLongTag(*data))
            device.longTag = longTag.value();
}

std::string rangeProblem(const ScanRange& range)
{
    if (range.last > ScanRange::kHighestPollAddress)
        return "poll addresses go up to " + std::to_string(ScanRange::kHighestPollAddress);
    if (range.first > range.last)
        return "the first poll address comes after the last";
    return {};
}

}  // namespace

ScanEnd scanDevices(IFrameTransport& transport, const ScanRange& range, const ScanEvents& events, std::stop_token stop)
{
    ScanEnd end;
    end.error = rangeProblem(range);
    if (!end.error.empty())
        return end;
    if (!transport.open(end.error))
        return end;
    HartMaster master(transport, 1, range.answerTimeoutMs);
    for (int poll = range.first; poll <= range.last; ++poll) {
        if (stop.stop_requested()) {
            end.cancelled = true;
            break;
        }
        const auto address = static_cast<std::uint8_t>(poll);
        if (events.asking)
            events.asking(address);
        ++end.asked;
        const Decoded<DeviceIdentity> identity = master.identify(address);
        if (!transport.isOpen()) {
            end.error = "the link closed at poll address " + std::to_string(poll) + ": " + identity.refusal().reason;
            return end;
        }
        if (!identity)
            continue;
        FoundDevice device{address, identity.value(), {}, {}};
        readTags(master, device);
        if (events.found)
            events.found(device);
    }
    transport.close();
    return end;
}

DeviceScan::DeviceScan(const Endpoint& endpoint, std::optional<PresharedKey> key, ScanRange range, ScanEvents events)
    : DeviceScan(makeTransport(endpoint, std::move(key)), range, std::move(events))
{
}

DeviceScan::DeviceScan(std::unique_ptr<IFrameTransport> transport, ScanRange range, ScanEvents events)
    : m_thread([transport = std::move(transport), range, events = std::move(events)](std::stop_token stop) {
          const ScanEnd end = scanDevices(*transport, range, events, stop);
          if (events.finished)
              events.finished(end);
      })
{
}

}  // namespace orvx::hart
