#include "hart/server/PositionerDevice.h"

#include "device/IDtmUiRegistry.h"
#include "hart/commands/ValueCodec.h"
#include "hart/protocol/ResponseCode.h"
#include "simulator/SimulatedPositioner.h"

#include <algorithm>
#include <charconv>

namespace orvx::hart {

namespace p = device::parameter;

PositionerDevice::PositionerDevice(std::uint8_t pollAddress, std::uint32_t deviceId)
    : m_pollAddress(pollAddress),
      m_loopCurrentEnabled(pollAddress == 0),
      m_positioner(com::makeComObject<simulator::SimulatedPositioner>(m_scheduler)),
      m_log(com::makeComObject<NotificationLog>())
{
    std::uint32_t word = 0;
    m_positioner->SetParameter(com::BStr::fromUtf8(p::DeviceId.tag),
                               com::Variant::text(com::BStr::fromUtf8(std::to_string(deviceId))), &word);
    m_positioner->SetParameter(com::BStr::fromUtf8(p::PollingAddress.tag),
                               com::Variant::text(com::BStr::fromUtf8(std::to_string(pollAddress))), &word);
    bool accepted = false;
    com::queryInterface<device::IDtmUiRegistry>(m_positioner)
        ->RegisterControl(u"Orvx.HartIp.1", u"hart-ip", m_log.get(), true, &accepted);
}

PositionerDevice::~PositionerDevice()
{
    bool result = false;
    com::queryInterface<device::IDtmUiRegistry>(m_positioner)->UnregisterControl(u"hart-ip", true, &result);
}

void PositionerDevice::advance(std::uint64_t nowMs)
{
    if (m_lastMs && nowMs > *m_lastMs)
        m_scheduler.Advance(static_cast<std::int64_t>(nowMs - *m_lastMs));
    m_lastMs = nowMs;
}

std::string PositionerDevice::get(std::string_view tag)
{
    com::Variant value;
    if (com::failed(m_positioner->GetParameter(com::BStr::fromUtf8(std::string(tag)), &value)))
        return {};
    return value.toText().toUtf8();
}

double PositionerDevice::decimal(std::string_view tag)
{
    const std::string text = get(tag);
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

long PositionerDevice::number(std::string_view tag)
{
    const std::string text = get(tag);
    long value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

DeviceIdentity PositionerDevice::identity()
{
    DeviceIdentity identity;
    identity.expandedDeviceType = kExpandedDeviceType;
    identity.manufacturerId = kManufacturerId;
    identity.privateLabelDistributor = kManufacturerId;
    identity.universalRevision = static_cast<std::uint8_t>(number(p::UniversalRevision.tag));
    identity.deviceRevision = static_cast<std::uint8_t>(number(p::FieldDeviceRevision.tag));
    identity.softwareRevision = static_cast<std::uint8_t>(number(p::SoftwareRevision.tag));
    identity.hardwareRevision = static_cast<std::uint8_t>(number(p::HardwareRevision.tag) & 0x1F);
    identity.physicalSignaling = static_cast<std::uint8_t>(number(p::PhysicalSignalling.tag) & 0x07);
    identity.flags = static_cast<std::uint8_t>(number(p::DeviceFlags.tag));
    identity.deviceId = static_cast<std::uint32_t>(number(p::DeviceId.tag)) & 0xFFFFFF;
    identity.configurationChangeCounter = m_configurationCounter;
    return identity;
}

bool PositionerDevice::answer(const Pdu& request, Pdu& response)
{
    ByteReader in(request.data);
    switch (request.command) {
    case device_command::ReadParameter: readParameter(in, response); break;
    case device_command::WriteParameter: writeParameter(in, response); break;
    case device_command::StartMethod: startMethod(request, response); break;
    case device_command::ReadNotifications: {
        const Decoded<std::uint16_t> from = decodeNotificationsRequest(request.data);
        if (!from)
            response.responseCode = response::TooFewDataBytes;
        else
            response.data = notificationsReply(m_log->since(from.value()), m_log->nextSequence());
        break;
    }
    case device_command::ReadCurveSegment: readCurveSegment(in, response); break;
    default:
        if (!answerUniversal(request, response))
            return false;
        break;
    }
    response.deviceStatus |= statusByte();
    return true;
}

void PositionerDevice::readParameter(ByteReader& in, Pdu& response)
{
    const Decoded<const device::Parameter*> parameter = readTag(in);
    if (!parameter || parameter.value()->type == device::ValueType::Curve) {
        response.responseCode = in.ok() ? response::InvalidSelection : response::TooFewDataBytes;
        return;
    }
    reply(response, parameterReply(*parameter.value(), get(parameter.value()->tag)));
}

// A value is checked against the parameter's range in the device's pressure unit before it is
// stored; the reply holds the value as stored.
void PositionerDevice::writeParameter(ByteReader& in, Pdu& response)
{
    const Decoded<const device::Parameter*> parameter = readTag(in);
    if (!parameter) {
        response.responseCode = in.ok() ? response::InvalidSelection : response::TooFewDataBytes;
        return;
    }
    const device::Parameter& written = *parameter.value();
    if (written.type == device::ValueType::Curve) {
        response.responseCode = response::InvalidSelection;
        return;
    }
    const Decoded<std::string> text = decodeValue(written, in);
    if (!text) {
        response.responseCode = in.ok() ? response::InvalidSelection : response::TooFewDataBytes;
        return;
    }
    if (!device::problemWith(written, text.value(), static_cast<int>(number(p::PressureUnit.tag))).empty()) {
        double value = 0.0;
        std::from_chars(text->data(), text->data() + text->size(), value);
        response.responseCode = written.limits.ranged && value > written.limits.high ? response::TooLarge
                                : written.limits.ranged                              ? response::TooSmall
                                                                                     : response::InvalidSelection;
        return;
    }
    std::uint32_t word = 0;
    const com::Status status = m_positioner->SetParameter(com::BStr::fromUtf8(std::string(written.tag)),
                                                          com::Variant::text(com::BStr::fromUtf8(text.value())), &word);
    if (com::failed(status)) {
        response.responseCode = response::DeviceSpecificError;
        return;
    }
    configurationChanged();
    reply(response, parameterReply(written, get(written.tag)));
}

// A method is started and answered at once; its progress and outcome arrive as notifications.
void PositionerDevice::startMethod(const Pdu& request, Pdu& response)
{
    const Decoded<const device::Method*> method = decodeMethod(request.data);
    if (!method) {
        response.responseCode = request.data.empty() ? response::TooFewDataBytes : response::InvalidSelection;
        return;
    }
    std::uint32_t word = 0;
    if (com::failed(m_positioner->SetParameter(com::BStr::fromUtf8(std::string(method.value()->tag)), {}, &word))) {
        response.responseCode = response::DeviceSpecificError;
        return;
    }
    if (method.value()->number == device::method::WritePollingAddress)
        m_pollAddress = static_cast<std::uint8_t>(number(p::PollingAddress.tag));
    response.data = startMethodRequest(method.value()->number);
}

void PositionerDevice::readCurveSegment(ByteReader& in, Pdu& response)
{
    const Decoded<const device::Parameter*> parameter = readTag(in);
    const std::uint16_t first = in.u16();
    if (!in.ok() || !parameter || parameter.value()->type != device::ValueType::Curve) {
        response.responseCode = in.ok() ? response::InvalidSelection : response::TooFewDataBytes;
        return;
    }
    const Decoded<std::vector<CurvePoint>> points = curvePoints(get(parameter.value()->tag));
    if (!points || points->size() > 0xFFFF) {
        response.responseCode = response::DeviceSpecificError;
        return;
    }
    CurveSegment segment;
    segment.total = static_cast<std::uint16_t>(points->size());
    segment.first = first;
    if (first > segment.total) {
        response.responseCode = response::TooLarge;
        return;
    }
    const std::size_t count = std::min(kCurvePointsPerReply, points->size() - first);
    segment.points.assign(points->begin() + first, points->begin() + static_cast<std::ptrdiff_t>(first + count));
    response.data = curveSegmentReply(*parameter.value(), segment);
}

}  // namespace orvx::hart
