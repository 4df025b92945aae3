#include "SimulatedPositioner.h"

#include "Commissioning.h"
#include "DeviceCommands.h"
#include "FaultSet.h"
#include "PressureUnits.h"
#include "platform/com/ComError.h"

#include <charconv>

namespace orvx::simulator {

using com::BStr;
using com::Status;
using com::Variant;

namespace {

constexpr std::int64_t kReplyDelayMs = 50;
constexpr std::int64_t kEsdIntervalMs = 100;

// The method number of a command tag: decimal digits only.
std::optional<int> methodOf(const std::string& tag)
{
    int method = 0;
    const auto [end, error] = std::from_chars(tag.data(), tag.data() + tag.size(), method);
    if (tag.empty() || tag.front() == '-' || error != std::errc() || end != tag.data() + tag.size())
        return std::nullopt;
    return method;
}

std::u16string escaped(std::u16string_view text)
{
    std::u16string out;
    for (char16_t c : text) {
        switch (c) {
        case u'&': out += u"&amp;"; break;
        case u'<': out += u"&lt;"; break;
        case u'>': out += u"&gt;"; break;
        case u'"': out += u"&quot;"; break;
        default: out += c;
        }
    }
    return out;
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
    m_device.parameters.Set("15000", Variant::boolean(true));
    publishState();
    updateTicking();
}

void SimulatedPositioner::Disconnect()
{
    if (!m_connected)
        return;
    m_connected = false;
    m_device.parameters.Set("15000", Variant::boolean(false));
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
    m_device.parameters.Set("20000", Variant::boolean(enabled));
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
    m_controls.NotifyAll(kNewValues, {});
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
    m_device.parameters.SetNumber("2012", tripped ? 1 : 0);
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
    return retransmittedCurrent(table.Number("2003"), table.Number("10001"), table.Number("10000"));
}

Status SimulatedPositioner::CloseControl(const BStr&)
{
    return Status::Ok;  // the simulator keeps no windows of its own
}

Status SimulatedPositioner::GetParameter(const BStr& tag, Variant* value)
{
    if (!value)
        return Status::InvalidPointer;
    const std::string key = tag.toUtf8();
    if (key == "16013" || key == "16014")
        m_device.schedule.Show(m_device.parameters, m_tasks.Now());
    const Variant* found = m_device.parameters.Find(key);
    if (!found)
        return Status::InvalidArgument;
    *value = *found;
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
        startCommand(*method);
        return Status::Ok;
    }
    if (!m_device.parameters.Contains(key))
        return Status::InvalidArgument;
    if (HasFault(SimulatedFault::RefusesWrites))
        return Status::Failure;
    try {
        store(key, value);
    } catch (const com::ComError& error) {
        return error.status();
    }
    return Status::Ok;
}

void SimulatedPositioner::store(const std::string& tag, const Variant& value)
{
    ParameterTable& table = m_device.parameters;
    if (tag == "15001") {  // the user interface counts its invalid entries up and down
        table.SetNumber(tag, table.Number(tag) + value.toInt32());
        return;
    }
    if (tag == "4003" || tag == "4007") {  // one unit for settings and measurements
        const int unit = value.toInt32();
        if (!isPressureUnit(unit))
            throw com::ComError(Status::InvalidArgument, "not a pressure unit");
        changePressureUnit(unit);
        return;
    }
    table.Set(tag, value);
    if (tag == "16039")
        m_device.records.SetSampleInterval(static_cast<std::int64_t>(table.Number(tag, 100)));
    // The configured identity is what every page header shows.
    static const std::map<std::string, std::string> kHeaderTagOf = {
        {"1006", "1001"}, {"1007", "1002"}, {"1008", "1004"}};
    if (const auto it = kHeaderTagOf.find(tag); it != kHeaderTagOf.end()) {
        table.Set(it->second, value);
        notifyLater(kIdentityChanged);
    }
}

void SimulatedPositioner::changePressureUnit(int unit)
{
    ParameterTable& table = m_device.parameters;
    table.ConvertPressures(m_device.PressureUnit(), unit);
    table.SetNumber("4003", unit);
    table.SetNumber("4007", unit);
    m_device.records.Reload(table);
    m_device.WriteMeasurements(m_tasks.Now());
}

void SimulatedPositioner::startCommand(int method)
{
    if (!m_connected || HasFault(SimulatedFault::DeviceBusy)) {
        notifyLater(kBusy, Variant::text(BStr::fromUtf8(std::to_string(method))));
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
    m_controls.NotifyAll(kStateDocument, Variant::text(BStr(stateDocument())));
}

std::u16string SimulatedPositioner::stateDocument() const
{
    bool dialogs = true;  // like the user interface, a flag that cannot be read counts as set
    try {
        dialogs = m_device.parameters.Find("20000")->toBool();
    } catch (const com::ComError&) {
    }
    return u"<DtmState name=\"Orvx ESD\" state=\"" + std::u16string(m_connected ? u"Online" : u"Offline") +
           u"\" dataSetState=\"allDataLoaded\" userLevel=\"" + escaped(m_userLevel) + u"\" isPrivateDialogEnabled=\"" +
           (dialogs ? u"1" : u"0") + u"\" isCommunicating=\"0\"/>";
}

Status SimulatedPositioner::getText(host::Via, const BStr& key, BStr* text)
{
    if (!text)
        return Status::InvalidPointer;
    const std::u16string k(key.view());
    const auto it = m_texts.find(k);
    *text = BStr(it != m_texts.end() ? it->second : u"##" + k);
    return Status::Ok;
}

Status SimulatedPositioner::getStateDocument(host::Via, BStr* document)
{
    if (!document)
        return Status::InvalidPointer;
    *document = BStr(stateDocument());
    return Status::Ok;
}

Status SimulatedPositioner::registerControl(host::Via, const BStr&, const BStr& callerTag,
                                            host::IDtmActiveXControl* control, bool, bool* accepted)
{
    if (!control)
        return Status::InvalidArgument;
    m_controls.Register(callerTag, control);
    if (accepted)
        *accepted = !m_refuseRegistration;
    updateTicking();
    return Status::Ok;
}

Status SimulatedPositioner::unregisterControl(host::Via, const BStr& callerTag, bool, bool* result)
{
    // Let go of last: it may hold the last reference to this object.
    const com::ComPtr<host::IDtmActiveXControl> dropped = m_controls.Unregister(callerTag);
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
    m_controls.NotifyAll(kNewValues, {});
    updateTicking();
}

}  // namespace orvx::simulator
