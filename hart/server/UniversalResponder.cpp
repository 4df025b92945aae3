#include "hart/server/UniversalResponder.h"

#include "hart/protocol/ResponseCode.h"

namespace orvx::hart {

namespace {

namespace command {
constexpr std::uint8_t ReadUniqueIdentifier = 0;
constexpr std::uint8_t ReadMessage = 12;
constexpr std::uint8_t ReadTagDescriptorDate = 13;
constexpr std::uint8_t WriteMessage = 17;
constexpr std::uint8_t WriteTagDescriptorDate = 18;
constexpr std::uint8_t ReadLongTag = 20;
constexpr std::uint8_t WriteLongTag = 22;
constexpr std::uint8_t ResetConfigurationChanged = 38;
}  // namespace command

constexpr std::size_t kTagDescriptorDateBytes = 21;
constexpr std::size_t kMessageBytes = 24;
constexpr std::size_t kLongTagBytes = 32;
constexpr std::uint8_t kInvalidDate = 9;  // command 18's own code for a date that is no day

void setData(Pdu& response, Decoded<Bytes> data)
{
    if (data)
        response.data = std::move(data).value();
    else
        response.responseCode = response::DeviceSpecificError;
}

}  // namespace

std::optional<Pdu> UniversalResponder::respond(const Pdu& request)
{
    if (request.type != FrameType::Request)
        return std::nullopt;
    DeviceRecord* device = addressed(request);
    if (!device)
        return std::nullopt;
    Pdu response;
    response.type = FrameType::Response;
    response.address = request.address;
    response.address.burstMode = false;
    response.command = request.command;
    answer(*device, request, response);
    response.deviceStatus = device->deviceStatus;
    return response;
}

DeviceRecord* UniversalResponder::addressed(const Pdu& request)
{
    for (DeviceRecord& device : m_devices) {
        if (request.address.isLong
                ? request.address.sameDevice(device.identity.longAddress())
                : request.command == command::ReadUniqueIdentifier && request.address.pollAddress == device.pollAddress)
            return &device;
    }
    return nullptr;
}

void UniversalResponder::answer(DeviceRecord& device, const Pdu& request, Pdu& response)
{
    switch (request.command) {
    case command::ReadUniqueIdentifier: setData(response, encodeIdentity(device.identity)); return;
    case command::ReadMessage: setData(response, encodeMessageText(device.message)); return;
    case command::ReadTagDescriptorDate: setData(response, encodeTagDescriptorDate(device.tagDescriptorDate)); return;
    case command::ReadLongTag: setData(response, encodeLongTag(device.longTag)); return;
    case command::ResetConfigurationChanged:
        device.deviceStatus &= ~device_status::ConfigurationChanged;
        ByteWriter(response.data).u16(device.identity.configurationChangeCounter);
        return;
    case command::WriteMessage:
    case command::WriteTagDescriptorDate:
    case command::WriteLongTag: write(device, request, response); return;
    default: response.responseCode = response::NotImplemented; return;
    }
}

// A write answers with what it stored, as read back, and marks the configuration changed.
void UniversalResponder::write(DeviceRecord& device, const Pdu& request, Pdu& response)
{
    const ByteView data = request.data;
    std::size_t used = 0;
    switch (request.command) {
    case command::WriteMessage:
        if (data.size() >= kMessageBytes) {
            device.message = decodeMessageText(data).value();
            used = kMessageBytes;
        }
        break;
    case command::WriteTagDescriptorDate:
        if (data.size() >= kTagDescriptorDateBytes) {
            const TagDescriptorDate value = decodeTagDescriptorDate(data).value();
            if (!value.date.valid()) {
                response.responseCode = kInvalidDate;
                return;
            }
            device.tagDescriptorDate = value;
            used = kTagDescriptorDateBytes;
        }
        break;
    default:
        if (data.size() >= kLongTagBytes) {
            device.longTag = decodeLongTag(data).value();
            used = kLongTagBytes;
        }
        break;
    }
    if (used == 0) {
        response.responseCode = response::TooFewDataBytes;
        return;
    }
    ++device.identity.configurationChangeCounter;
    device.deviceStatus |= device_status::ConfigurationChanged;
    response.data.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(used));
}

}  // namespace orvx::hart
