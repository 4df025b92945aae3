// The universal commands of PositionerDevice, answered from the simulated positioner's
// parameters.
#include "hart/commands/ValueCodec.h"
#include "hart/protocol/DeviceTexts.h"
#include "hart/protocol/ResponseCode.h"
#include "hart/protocol/UniversalCommands.h"
#include "hart/protocol/UniversalData.h"
#include "hart/server/PositionerDevice.h"
#include "simulator/SimulatedPositioner.h"

#include <algorithm>
#include <cctype>

namespace orvx::hart {

namespace p = device::parameter;
namespace uc = universal_command;

namespace {

constexpr int kNormalMode = 3;

// The device keeps free texts; packed ASCII carries capitals and a few signs only.
std::string packable(std::string text)
{
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (c < 0x20 || c > 0x5F)
            c = '?';
    }
    return text;
}

// The device's date parameter ("124-5-20") as the codec puts it on the wire: day, month and
// years since 1900. A text that is no date gives no day, which command 13 then refuses.
HartDate dateOf(const std::string& text)
{
    const Decoded<Bytes> bytes = encodeValue(p::DeviceDate, text);
    if (!bytes)
        return HartDate{0, 0, 1900};
    return HartDate{bytes.value()[0], bytes.value()[1], 1900 + bytes.value()[2]};
}

float percentOfRange(double milliamperes)
{
    return static_cast<float>((milliamperes - 4.0) / 16.0 * 100.0);
}

}  // namespace

void PositionerDevice::reply(Pdu& response, Decoded<Bytes> data)
{
    if (data)
        response.data = std::move(data).value();
    else
        response.responseCode = response::DeviceSpecificError;
}

// "More status available" while the device is not well or a fault bit is raised: command 48
// tells which.
std::uint8_t PositionerDevice::statusByte()
{
    std::uint8_t status = m_configurationChanged ? device_status::ConfigurationChanged : 0;
    if (number(p::DeviceState.tag) != 0 || get(p::CurrentFaults.tag).find_first_not_of('0') != std::string::npos)
        status |= device_status::MoreStatusAvailable;
    return status;
}

void PositionerDevice::configurationChanged()
{
    m_configurationChanged = true;
    ++m_configurationCounter;
}

bool PositionerDevice::store(std::initializer_list<std::pair<const device::Parameter*, std::string>> values)
{
    for (const auto& [parameter, text] : values) {
        std::uint32_t word = 0;
        if (com::failed(m_positioner->SetParameter(com::BStr::fromUtf8(std::string(parameter->tag)),
                                                   com::Variant::text(com::BStr::fromUtf8(text)), &word)))
            return false;
    }
    configurationChanged();
    return true;
}

bool PositionerDevice::answerUniversal(const Pdu& request, Pdu& response)
{
    switch (request.command) {
    case uc::ReadUniqueIdentifier: reply(response, encodeIdentity(identity())); break;
    case uc::ReadPrimaryVariable:
    case uc::ReadLoopCurrentAndPercent:
    case uc::ReadDynamicVariables: readVariables(request.command, response); break;
    case uc::WritePollingAddress: writePollingAddress(request.data, response); break;
    case uc::ReadLoopConfiguration:
        response.data = encodeLoopConfiguration({m_pollAddress, m_loopCurrentEnabled});
        break;
    case uc::ReadUniqueIdentifierByTag: {
        const Decoded<std::string> tag = decodeTagRequest(request.data);
        if (!tag || tag.value() != packable(get(p::DeviceTag.tag)))
            return false;  // only the device with the tag answers
        reply(response, encodeIdentity(identity()));
        break;
    }
    case uc::ReadMessage: reply(response, encodeMessageText(packable(get(p::Message.tag)))); break;
    case uc::ReadTagDescriptorDate:
        reply(response, encodeTagDescriptorDate({packable(get(p::DeviceTag.tag)), packable(get(p::Descriptor.tag)),
                                                 dateOf(get(p::DeviceDate.tag))}));
        break;
    case uc::ReadFinalAssemblyNumber:
        reply(response, encodeFinalAssemblyNumber(static_cast<std::uint32_t>(number(p::FinalAssemblyNumber.tag))));
        break;
    case uc::WriteMessage: writeMessage(request.data, response); break;
    case uc::WriteTagDescriptorDate: writeTagDescriptorDate(request.data, response); break;
    case uc::WriteFinalAssemblyNumber: writeFinalAssemblyNumber(request.data, response); break;
    case uc::ResetConfigurationChanged: resetConfigurationChanged(request.data, response); break;
    case uc::ReadAdditionalStatus: readAdditionalStatus(response); break;
    default: response.responseCode = response::NotImplemented; break;
    }
    return true;
}

// PV the valve's position, SV its setpoint (the loop's in normal mode; elsewhere the valve holds
// where it is), TV the actuator pressure and QV the supply, in the measured pressure unit. The
// loop current is the signal the positioner receives.
void PositionerDevice::readVariables(std::uint8_t command, Pdu& response)
{
    const double signal = decimal(p::InputSignal.tag);
    const auto position = static_cast<float>(decimal(p::Position.tag));
    if (command == uc::ReadPrimaryVariable) {
        response.data = encodePrimaryVariable({unit_code::Percent, position});
        return;
    }
    if (command == uc::ReadLoopCurrentAndPercent) {
        response.data = encodeLoopCurrent({static_cast<float>(signal), percentOfRange(signal)});
        return;
    }
    const float setpoint = number(p::Mode.tag) == kNormalMode ? std::clamp(percentOfRange(signal), 0.0f, 100.0f)
                                                              : position;
    const auto pressureUnit = static_cast<std::uint8_t>(number(p::MeasuredPressureUnit.tag));
    reply(response, encodeDynamicVariables({static_cast<float>(signal),
                                            {{unit_code::Percent, position},
                                             {unit_code::Percent, setpoint},
                                             {pressureUnit, static_cast<float>(decimal(p::Pressure.tag))},
                                             {pressureUnit, static_cast<float>(decimal(p::SupplyPressure.tag))}}}));
}

// The poll address within the device's range (0 to 15) and a loop current mode of 0 or 1; the
// device answers command 0 at the new address from the next frame on.
void PositionerDevice::writePollingAddress(ByteView data, Pdu& response)
{
    if (data.empty()) {
        response.responseCode = response::TooFewDataBytes;
        return;
    }
    if (data.size() > 1 && data[1] > 1) {
        response.responseCode = response::InvalidModeSelection;
        return;
    }
    const Decoded<LoopConfiguration> asked = decodeLoopConfiguration(data, 1);
    const int pressureUnit = static_cast<int>(number(p::PressureUnit.tag));
    if (!asked || !device::problemWith(p::PollingAddress, std::to_string(data[0]), pressureUnit).empty()) {
        response.responseCode = response::TooLarge;
        return;
    }
    if (!store({{&p::PollingAddress, std::to_string(asked->pollAddress)}})) {
        response.responseCode = response::DeviceSpecificError;
        return;
    }
    m_pollAddress = asked->pollAddress;
    m_loopCurrentEnabled = asked->loopCurrentEnabled;
    response.data = encodeLoopConfiguration(asked.value());
}

void PositionerDevice::writeMessage(ByteView data, Pdu& response)
{
    const Decoded<std::string> message = decodeMessageText(data);
    if (!message) {
        response.responseCode = response::TooFewDataBytes;
        return;
    }
    if (!store({{&p::Message, message.value()}})) {
        response.responseCode = response::DeviceSpecificError;
        return;
    }
    response.data.assign(data.begin(), data.begin() + 24);
}

// The tag and descriptor are the configured ones, which the device shows at once; a date that
// is no day of the calendar is refused.
void PositionerDevice::writeTagDescriptorDate(ByteView data, Pdu& response)
{
    const Decoded<TagDescriptorDate> written = decodeTagDescriptorDate(data);
    if (!written) {
        response.responseCode = response::TooFewDataBytes;
        return;
    }
    if (!written->date.valid()) {
        response.responseCode = response::InvalidSelection;
        return;
    }
    const HartDate& date = written->date;
    const std::string dateText = std::to_string(date.year - 1900) + "-" + std::to_string(date.month) + "-" +
                                 std::to_string(date.day);
    if (!store({{&p::ConfiguredTag, written->tag},
                {&p::ConfiguredDescriptor, written->descriptor},
                {&p::DeviceDate, dateText}})) {
        response.responseCode = response::DeviceSpecificError;
        return;
    }
    response.data.assign(data.begin(), data.begin() + 21);
}

void PositionerDevice::writeFinalAssemblyNumber(ByteView data, Pdu& response)
{
    const Decoded<std::uint32_t> number = decodeFinalAssemblyNumber(data);
    if (!number) {
        response.responseCode = response::TooFewDataBytes;
        return;
    }
    if (!store({{&p::ConfiguredFinalAssemblyNumber, std::to_string(number.value())}})) {
        response.responseCode = response::DeviceSpecificError;
        return;
    }
    response.data = encodeFinalAssemblyNumber(number.value()).value();
}

// A master that sends the counter resets the flag only when it has seen the last change.
void PositionerDevice::resetConfigurationChanged(ByteView data, Pdu& response)
{
    const Decoded<std::optional<std::uint16_t>> counter = decodeConfigurationCounter(data);
    if (!counter) {
        response.responseCode = response::TooFewDataBytes;
        return;
    }
    if (counter.value() && *counter.value() != m_configurationCounter) {
        response.responseCode = response::CounterMismatch;
        return;
    }
    m_configurationChanged = false;
    response.data = encodeConfigurationCounter(counter.value());
}

// The device's 72 fault bits: bytes 0 to 5 the first 48, bytes 14 to 16 the rest, byte 17 the
// device state; "maintenance required" while any fault is raised, "critical power failure" in
// low or marginal power.
void PositionerDevice::readAdditionalStatus(Pdu& response)
{
    const Decoded<Bytes> faults = encodeValue(p::CurrentFaults, get(p::CurrentFaults.tag));
    if (!faults) {
        response.responseCode = response::DeviceSpecificError;
        return;
    }
    AdditionalStatus status;
    std::copy(faults->begin(), faults->begin() + 6, status.deviceSpecific.begin());
    std::copy(faults->begin() + 6, faults->end(), status.moreDeviceSpecific.begin());
    const auto state = static_cast<std::uint8_t>(number(p::DeviceState.tag));
    status.moreDeviceSpecific[3] = state;
    if (std::ranges::any_of(faults.value(), [](std::uint8_t byte) { return byte != 0; }))
        status.extendedDeviceStatus |= extended_status::MaintenanceRequired;
    if (state == 1 || state == 128)
        status.extendedDeviceStatus |= extended_status::CriticalPowerFailure;
    reply(response, encodeAdditionalStatus(status));
}

}  // namespace orvx::hart
