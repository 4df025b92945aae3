#include "SimulatedPositioner.h"

#include "Commissioning.h"
#include "FaultSet.h"
#include "device/StateDocument.h"
#include "platform/com/ComError.h"

#include <charconv>

namespace orvx::simulator {

using com::BStr;
using com::Status;
using com::Variant;
namespace code = device::code;
namespace parameter = device::parameter;

namespace {

constexpr std::int64_t kReplyDelayMs = 50;
constexpr std::int64_t kEsdIntervalMs = 100;

// The method number of a method's tag: decimal digits only.
std::optional<int> methodOf(const std::string& tag)
{
    int method = 0;
    const auto [end, error] = std::from_chars(tag.data(), tag.data() + tag.size(), method);
    if (tag.empty() || tag.front() == '-' || error != std::errc() || end != tag.data() + tag.size())
        return std::nullopt;
    return method;
}

}  // namespace

SimulatedPositioner::SimulatedPositioner(IScheduler& scheduler)
    : m_device(scheduler.Now()), m_tasks(scheduler, *identity())
{
    m_device.WriteMeasurements(scheduler.Now());
}

SimulatedPositioner::~SimulatedPositioner() = default;

void SimulatedPositioner::Connect()
{
    if (m_connected)
        return;
    m_connected = true;
    m_device.parameters.Set(parameter::Connected, Variant::boolean(true));
    publishState();
    updateTicking();
}

void SimulatedPositioner::Disconnect()
{
    if (!m_connected)
        return;
    m_connected = false;
    m_device.parameters.Set(parameter::Connected, Variant::boolean(false));
    updateTicking();
    publishState();
    m_commands.FailRunning();
}

void SimulatedPositioner::SetUserLevel(std::u16string_view level)
{
    if (m_userLevel == level)
        return;
    m_userLevel = level;
    publishState();
}

void SimulatedPositioner::SetPrivateDialogs(bool enabled)
{
    m_device.parameters.Set(parameter::PrivateDialogs, Variant::boolean(enabled));
    publishState();
}

void SimulatedPositioner::SetSupplyPressure(double psi)
{
    m_supply = psi;
    applySupply();
}

void SimulatedPositioner::SetFault(SimulatedFault fault, bool active)
{
    if (!m_device.faults.Set(fault, active))
        return;
    m_device.valve.SetMechanics(m_device.faults.Mechanics());
    if (fault == SimulatedFault::LowSupply)
        applySupply();
    if (fault == SimulatedFault::EsdTrip)
        trip(active);
    m_device.WriteMeasurements(m_tasks.Now());
    m_controls.NotifyAll(code::NewValues, {});
}

void SimulatedPositioner::applySupply()
{
    m_device.AdvanceValve(m_tasks.Now());
    m_device.valve.SetSupplyPressure(m_device.faults.Supply(m_supply));
}

void SimulatedPositioner::trip(bool tripped)
{
    m_device.AdvanceValve(m_tasks.Now());
    if (tripped) {
        if (m_commands.DrivesValve())
            m_commands.FailRunning();  // the valve left the device's hands
        StrokeSignature event = StrokeSignature::Trip(m_device.valve, kEsdIntervalMs);
        m_device.valve.Trip(event.Samples().back().position);
        m_device.records.StoreEsdEvent(std::move(event));
        FaultSet raised;
        raised.Raise(FaultSet::kEsdTripped);
        raised.Raise(FaultSet::kNewEsdData);
        m_device.RaiseFaults(raised);
    } else {
        m_device.valve.Release();
    }
    m_device.parameters.SetNumber(parameter::EsdTripped, tripped ? 1 : 0);
}

std::optional<SimulatedPositioner::Operation> SimulatedPositioner::RunningOperation() const
{
    const auto running = m_commands.Current();
    if (!running)
        return std::nullopt;
    return Operation{running->method, m_tasks.Now() - running->startMs};
}

double SimulatedPositioner::RetransmittedOutput() const
{
    if (m_device.fixedOutput)
        return *m_device.fixedOutput;
    const ParameterTable& table = m_device.parameters;
    return retransmittedCurrent(table.Number(parameter::Position), table.Number(parameter::RetransmitRangeLow),
                                table.Number(parameter::RetransmitRangeHigh));
}

Status SimulatedPositioner::CloseControl(const BStr&)
{
    return Status::Ok;  // the simulator keeps no windows of its own
}

Status SimulatedPositioner::GetParameter(const BStr& tag, Variant* value)
{
    if (!value)
        return Status::InvalidPointer;
    const device::Parameter* read = device::findParameter(tag.toUtf8());
    if (!read)
        return Status::InvalidArgument;
    *value = m_device.Read(*read, m_tasks.Now());
    return Status::Ok;
}

Status SimulatedPositioner::SetParameter(const BStr& tag, const Variant& value, std::uint32_t* word)
{
    if (word)
        *word = 0;
    const std::string key = tag.toUtf8();
    if (value.isEmpty()) {
        const auto method = methodOf(key);
        if (!method)
            return Status::InvalidArgument;
        startMethod(*method);
        return Status::Ok;
    }
    const device::Parameter* written = device::findParameter(key);
    if (!written)
        return Status::InvalidArgument;
    if (HasFault(SimulatedFault::RefusesWrites))
        return Status::Failure;
    try {
        if (m_device.Write(*written, value, m_tasks.Now()) == DeviceState::Written::IdentityChanged)
            notifyLater(code::IdentityChanged);
    } catch (const com::ComError& error) {
        return error.status();
    }
    return Status::Ok;
}

// A device the link cannot reach answers every method busy.
void SimulatedPositioner::startMethod(int method)
{
    if (!m_connected) {
        notifyLater(code::Busy, Variant::text(BStr::fromUtf8(std::to_string(method))));
        return;
    }
    m_commands.Start(method);
}

void SimulatedPositioner::notifyLater(std::int32_t code, Variant value)
{
    m_tasks.Post(kReplyDelayMs, [this, code, value = std::move(value)] { m_controls.NotifyAll(code, value); });
}

void SimulatedPositioner::publishState()
{
    m_controls.NotifyAll(code::StateDocument, Variant::text(BStr(stateDocument())));
}

std::u16string SimulatedPositioner::stateDocument() const
{
    bool dialogs = true;  // like the user interface, a flag that cannot be read counts as set
    try {
        dialogs = m_device.parameters.Value(parameter::PrivateDialogs).toBool();
    } catch (const com::ComError&) {
    }
    return device::stateDocument({m_connected, m_userLevel, dialogs});
}

Status SimulatedPositioner::getText(device::Via, const BStr& key, BStr* text)
{
    if (!text)
        return Status::InvalidPointer;
    *text = m_texts.Text(key);
    return Status::Ok;
}

Status SimulatedPositioner::getStateDocument(device::Via, BStr* document)
{
    if (!document)
        return Status::InvalidPointer;
    *document = BStr(stateDocument());
    return Status::Ok;
}

Status SimulatedPositioner::registerControl(device::Via, const BStr&, const BStr& callerTag,
                                            device::IDtmActiveXControl* control, bool, bool* accepted)
{
    if (!control)
        return Status::InvalidArgument;
    m_controls.Register(callerTag, control);
    if (accepted)
        *accepted = !m_refuseRegistration;
    updateTicking();
    return Status::Ok;
}

Status SimulatedPositioner::unregisterControl(device::Via, const BStr& callerTag, bool, bool* result)
{
    // Let go of last: it may hold the last reference to this object.
    const com::ComPtr<device::IDtmActiveXControl> dropped = m_controls.Unregister(callerTag);
    if (result)
        *result = static_cast<bool>(dropped);
    updateTicking();
    return Status::Ok;
}

void SimulatedPositioner::updateTicking()
{
    const bool wanted = m_connected && m_controls.Count() > 0;
    if (wanted && !m_tickTask) {
        m_tickTask = m_tasks.Post(kTickMs, [this] {
            m_tickTask.reset();
            tick();
        });
    } else if (!wanted && m_tickTask) {
        m_tasks.Cancel(*m_tickTask);
        m_tickTask.reset();
    }
}

void SimulatedPositioner::tick()
{
    const std::int64_t now = m_tasks.Now();
    m_device.AdvanceValve(now);
    m_device.WriteMeasurements(now);
    m_device.LatchSupplyFaults();
    m_controls.NotifyAll(code::NewValues, {});
    updateTicking();
}

}  // namespace orvx::simulator
