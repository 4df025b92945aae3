#include "hart/link/HartBusinessObject.h"

#include "device/StateDocument.h"
#include "hart/protocol/ResponseCode.h"

#include <charconv>

namespace orvx::hart {

namespace p = device::parameter;
namespace code = device::code;
using com::BStr;
using com::Status;
using com::Variant;

namespace {

// The notification that tells the controls a method did not start, by the device's reason.
std::int32_t refusalCode(std::uint8_t responseCode)
{
    if (responseCode == response::InvalidSelection || responseCode == response::NotImplemented)
        return code::NotSupported;
    if (responseCode == response::Busy)
        return code::Busy;
    return code::FailedInDevice;
}

std::optional<int> methodNumber(const std::string& text)
{
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return number;
}

}  // namespace

HartBusinessObject::HartBusinessObject(std::unique_ptr<IFrameTransport> transport, std::uint8_t pollAddress,
                                       IPoster& poster)
    : m_poster(poster), m_session(std::move(transport), pollAddress, m_cache, *this)
{
}

HartBusinessObject::~HartBusinessObject()
{
    m_session.stop();
}

void HartBusinessObject::later(std::function<void()> work)
{
    m_poster.post([alive = std::weak_ptr<int>(m_alive), work = std::move(work)] {
        if (alive.lock())
            work();
    });
}

void HartBusinessObject::SetUserLevel(std::u16string_view level)
{
    if (m_userLevel == level)
        return;
    m_userLevel = level;
    publishState();
}

void HartBusinessObject::SetPrivateDialogs(bool enabled)
{
    if (m_privateDialogs == enabled)
        return;
    m_privateDialogs = enabled;
    publishState();
}

void HartBusinessObject::publishState()
{
    m_controls.NotifyAll(code::StateDocument, Variant::text(BStr(stateDocument())));
}

Status HartBusinessObject::CloseControl(const BStr&)
{
    return Status::Ok;
}

Status HartBusinessObject::GetParameter(const BStr& tag, Variant* value)
{
    if (!value)
        return Status::InvalidPointer;
    const device::Parameter* parameter = device::findParameter(tag.toUtf8());
    if (!parameter)
        return Status::InvalidArgument;
    if (*parameter == p::Connected) {
        *value = Variant::boolean(m_connected);
    } else if (*parameter == p::PrivateDialogs) {
        *value = Variant::boolean(m_privateDialogs);
    } else if (*parameter == p::InvalidEntries) {
        *value = Variant::text(BStr::fromUtf8(std::to_string(m_invalidEntries)));
    } else if (!m_cache.supported(*parameter)) {
        return Status::NotImplemented;  // a device of another make has no such parameter
    } else {
        const std::optional<std::string> text = m_cache.read(*parameter);
        if (!text)
            return Status::Failure;  // never read from the device
        *value = Variant::text(BStr::fromUtf8(*text));
    }
    return Status::Ok;
}

Status HartBusinessObject::SetParameter(const BStr& tag, const Variant& value, std::uint32_t* word)
{
    if (word)
        *word = 0;
    const std::string key = tag.toUtf8();
    if (value.isEmpty()) {
        const device::Method* method = device::findMethodByTag(key);
        if (!method)
            return Status::InvalidArgument;
        if (method->number != device::method::Cancel)
            m_runningMethod = method->number;
        m_session.startMethod(method->number);
        return Status::Ok;
    }
    const device::Parameter* parameter = device::findParameter(key);
    if (!parameter)
        return Status::InvalidArgument;
    if (*parameter == p::InvalidEntries) {  // the pages count their entries up and down
        m_invalidEntries += value.toInt32();
        return Status::Ok;
    }
    if (*parameter == p::PrivateDialogs || *parameter == p::Connected)
        return Status::AccessDenied;
    if (!m_cache.supported(*parameter))
        return Status::NotImplemented;
    const DeviceSession::Written written = m_session.write(*parameter, value.toText().toUtf8(), kWriteWaitMs);
    if (written.stored)
        return Status::Ok;
    if (written.responseCode == response::NotImplemented)
        return Status::NotImplemented;
    const bool valueRefused = written.responseCode == response::InvalidSelection ||
                              written.responseCode == response::TooLarge || written.responseCode == response::TooSmall;
    return valueRefused ? Status::InvalidArgument : Status::Failure;
}

Status HartBusinessObject::getText(device::Via, const BStr& key, BStr* text)
{
    if (!text)
        return Status::InvalidPointer;
    *text = m_texts.Text(key);
    return Status::Ok;
}

std::u16string HartBusinessObject::stateDocument() const
{
    return device::stateDocument({m_connected, m_userLevel, m_privateDialogs});
}

Status HartBusinessObject::getStateDocument(device::Via, BStr* document)
{
    if (!document)
        return Status::InvalidPointer;
    *document = BStr(stateDocument());
    return Status::Ok;
}

Status HartBusinessObject::registerControl(device::Via, const BStr&, const BStr& callerTag,
                                           device::IDtmActiveXControl* control, bool, bool* accepted)
{
    if (!control)
        return Status::InvalidArgument;
    m_controls.Register(callerTag, control);
    if (accepted)
        *accepted = true;
    return Status::Ok;
}

Status HartBusinessObject::unregisterControl(device::Via, const BStr& callerTag, bool, bool* result)
{
    const com::ComPtr<device::IDtmActiveXControl> released = m_controls.Unregister(callerTag);
    if (result)
        *result = released != nullptr;
    return Status::Ok;
}

void HartBusinessObject::notify(std::int32_t code, const std::string& value)
{
    if (m_runningMethod) {
        const bool result = code == code::resultOf(*m_runningMethod);
        const bool failure = code::isFailure(code) && methodNumber(value) == m_runningMethod;
        if (result || failure)
            m_runningMethod.reset();
    }
    m_controls.Notify(code, value);
}

void HartBusinessObject::setConnected(bool connected, const std::string& problem)
{
    m_problem = problem;
    if (connected == m_connected)
        return;
    m_connected = connected;
    publishState();
    if (!connected && m_runningMethod)
        notify(code::FailedInDevice, std::to_string(*m_runningMethod));
    if (connected)
        notify(code::DataReloaded, {});
}

void HartBusinessObject::sessionConnected(const DeviceIdentity&)
{
    later([this] { setConnected(true, {}); });
}

void HartBusinessObject::sessionLost(const std::string& reason)
{
    later([this, reason] { setConnected(false, reason); });
}

void HartBusinessObject::deviceNotified(std::vector<DeviceNotification> notifications)
{
    later([this, notifications = std::move(notifications)] {
        for (const DeviceNotification& n : notifications)
            notify(n.code, n.value);
    });
}

void HartBusinessObject::methodRefused(int method, std::uint8_t responseCode)
{
    later([this, method, responseCode] { notify(refusalCode(responseCode), std::to_string(method)); });
}

}  // namespace orvx::hart
