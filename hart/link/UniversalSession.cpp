// DeviceSession with a device of another make: what the universal commands give, and nothing
// of the positioner's own command set.
#include "hart/commands/ValueCodec.h"
#include "hart/link/DeviceSession.h"
#include "hart/protocol/DeviceTexts.h"
#include "hart/protocol/ResponseCode.h"
#include "hart/protocol/UniversalCommands.h"
#include "hart/protocol/UniversalData.h"

#include <cctype>
#include <charconv>

namespace orvx::hart {

namespace p = device::parameter;
namespace uc = universal_command;

namespace {

using Store = std::function<void(const device::Parameter&, std::string)>;

// A reply with data to take: success, or a warning that comes with the data.
bool answered(const Pdu& reply)
{
    const ResponseClass kind = responseClass(reply.responseCode);
    return kind == ResponseClass::Success || kind == ResponseClass::Warning;
}

void takeTagDescriptorDate(ByteView data, const Store& store)
{
    const Decoded<TagDescriptorDate> read = decodeTagDescriptorDate(data);
    if (!read)
        return;
    store(p::DeviceTag, read->tag);
    store(p::Descriptor, read->descriptor);
    store(p::DeviceDate, std::to_string(read->date.year - 1900) + "-" + std::to_string(read->date.month) + "-" +
                             std::to_string(read->date.day));
}

// The long tag, where the device has one, is the tag the pages show.
void takeLongTag(ByteView data, const Store& store)
{
    if (const Decoded<std::string> tag = decodeLongTag(data); tag && !tag->empty())
        store(p::DeviceTag, tag.value());
}

void takeMessage(ByteView data, const Store& store)
{
    if (const Decoded<std::string> message = decodeMessageText(data))
        store(p::Message, message.value());
}

void takeFinalAssemblyNumber(ByteView data, const Store& store)
{
    if (const Decoded<std::uint32_t> number = decodeFinalAssemblyNumber(data))
        store(p::FinalAssemblyNumber, std::to_string(number.value()));
}

void takeLoopConfiguration(ByteView data, const Store& store)
{
    if (const Decoded<LoopConfiguration> loop = decodeLoopConfiguration(data, 1))
        store(p::PollingAddress, std::to_string(loop->pollAddress));
}

void storeIdentity(const DeviceIdentity& identity, const Store& store)
{
    store(p::DeviceId, std::to_string(identity.deviceId));
    store(p::UniversalRevision, std::to_string(identity.universalRevision));
    store(p::FieldDeviceRevision, std::to_string(identity.deviceRevision));
    store(p::SoftwareRevision, std::to_string(identity.softwareRevision));
    store(p::HardwareRevision, std::to_string(identity.hardwareRevision));
    store(p::Preambles, std::to_string(identity.requestPreambles));
    store(p::PhysicalSignalling, std::to_string(identity.physicalSignaling));
    store(p::DeviceFlags, std::to_string(identity.flags));
}

}  // namespace

bool DeviceSession::connectUniversal(const DeviceIdentity& identity)
{
    m_universalOnly = true;
    std::set<const device::Parameter*> read;
    if (!readUniversal(identity, read)) {
        m_transport->close();
        return false;
    }
    std::vector<const device::Parameter*> unsupported;
    for (const device::Parameter* parameter : heldByDevice()) {
        if (!read.contains(parameter))
            unsupported.push_back(parameter);
    }
    m_cache.setUnsupported(unsupported);
    m_cache.setLoaded(true);
    m_connected = true;
    m_events.sessionConnected(identity);
    return true;
}

// Each command the device does not implement leaves its parameters unread; one that goes
// unanswered fails the connection.
bool DeviceSession::readUniversal(const DeviceIdentity& identity, std::set<const device::Parameter*>& read)
{
    const Store store = [&](const device::Parameter& parameter, std::string text) {
        m_cache.store(parameter, std::move(text));
        read.insert(device::findParameter(parameter.tag));
    };
    storeIdentity(identity, store);
    store(p::PollingAddress, std::to_string(m_pollAddress));  // unless command 7 says otherwise
    const std::pair<std::uint8_t, void (*)(ByteView, const Store&)> reads[] = {
        {uc::ReadTagDescriptorDate, takeTagDescriptorDate},
        {uc::ReadLongTag, takeLongTag},
        {uc::ReadMessage, takeMessage},
        {uc::ReadFinalAssemblyNumber, takeFinalAssemblyNumber},
        {uc::ReadLoopConfiguration, takeLoopConfiguration},
    };
    for (const auto& [command, take] : reads) {
        const Decoded<Pdu> reply = m_master.command(command);
        if (!reply) {
            m_failure = reply.refusal().reason;
            return false;
        }
        if (answered(reply.value()))
            take(reply->data, store);
    }
    return refreshLive(false, &read);
}

// The PV is the valve's position when it is in percent; the loop current comes with command 3.
bool DeviceSession::refreshLive(bool announce, std::set<const device::Parameter*>* read)
{
    std::optional<float> position;
    std::optional<float> current;
    const Decoded<Pdu> all = m_master.command(uc::ReadDynamicVariables);
    if (!all) {
        m_failure = all.refusal().reason;
        return false;
    }
    if (const Decoded<DynamicVariables> values = answered(all.value()) ? decodeDynamicVariables(all->data)
                                                                       : all.refusal()) {
        current = values->loopCurrent;
        if (values->variables.front().unit == unit_code::Percent)
            position = values->variables.front().value;
    } else {
        const Decoded<Pdu> pv = m_master.command(uc::ReadPrimaryVariable);
        if (!pv) {
            m_failure = pv.refusal().reason;
            return false;
        }
        const Decoded<UnitValue> value = answered(pv.value()) ? decodePrimaryVariable(pv->data) : pv.refusal();
        if (value && value->unit == unit_code::Percent)
            position = value->value;
    }
    bool changed = false;
    for (const auto& [parameter, value] : {std::pair{&p::Position, position}, std::pair{&p::InputSignal, current}}) {
        if (!value)
            continue;
        const std::string text = singleText(*value);
        changed = changed || m_cache.peek(*parameter) != text;
        m_cache.store(*parameter, text);
        if (read)
            read->insert(device::findParameter(parameter->tag));
    }
    if (announce && changed)
        m_events.deviceNotified({DeviceNotification{0, device::code::NewValues, {}}});
    return true;
}

DeviceSession::Written DeviceSession::writeUniversal(const device::Parameter& parameter, const std::string& text)
{
    if (parameter == p::PollingAddress) {
        int address = -1;
        std::from_chars(text.data(), text.data() + text.size(), address);
        if (address < 0 || address > kMaxPollAddress)
            return {false, response::InvalidSelection, "a poll address is 0 to 63"};
        const auto poll = static_cast<std::uint8_t>(address);
        const Decoded<Pdu> reply = m_master.command(uc::WritePollingAddress,
                                                    encodeLoopConfiguration({poll, poll == 0}));
        const Written written = outcome(reply);
        if (written.stored) {
            m_pollAddress = poll;  // where the device is found again
            m_cache.store(parameter, std::to_string(poll));
        }
        return written;
    }
    if (parameter == p::Message) {
        std::string upper = text;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const Decoded<Bytes> packed = encodeMessageText(upper);
        if (!packed)
            return {false, response::InvalidSelection, packed.refusal().reason};
        const Written written = outcome(m_master.command(uc::WriteMessage, packed.value()));
        if (written.stored)
            m_cache.store(parameter, upper);
        return written;
    }
    return {false, response::NotImplemented, std::string(parameter.name) + " is not supported by this device"};
}

}  // namespace orvx::hart
