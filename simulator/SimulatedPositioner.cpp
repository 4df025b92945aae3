#include "SimulatedPositioner.h"

#include "Autotune.h"
#include "Commissioning.h"
#include "DeviceCommands.h"
#include "FaultSet.h"
#include "PressureUnits.h"
#include "device/IUpdateUI.h"
#include "platform/com/ComError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace orvx::simulator {

using com::BStr;
using com::Status;
using com::Variant;

namespace {

// A refusal comes back after a turn, like an answer from the device: never inside the call
// that asked, before the caller has recorded its operation.
constexpr std::int64_t kReplyDelayMs = 50;
// How often a running PST moves the live values.
constexpr std::int64_t kProgressMs = 250;
constexpr std::int64_t kEsdIntervalMs = 100;

const char* const kTuningTags[] = {"8000", "8001", "8002", "8003", "8004", "8005", "8006", "8007", "8008"};

const std::string kNoFaults = FaultSet().Hex();

// The method number of a command tag: decimal digits only.
std::optional<int> methodOf(const std::string& tag)
{
    int method = 0;
    const auto [end, error] = std::from_chars(tag.data(), tag.data() + tag.size(), method);
    if (tag.empty() || tag.front() == '-' || error != std::errc() || end != tag.data() + tag.size())
        return std::nullopt;
    return method;
}

Variant textOf(const std::string& text)
{
    return Variant::text(BStr::fromUtf8(text));
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

SimulatedPositioner::SimulatedPositioner(IScheduler& scheduler) : m_scheduler(scheduler), m_lastUpdate(scheduler.Now())
{
    m_counterAtStart = m_parameters.Number("16032") - static_cast<double>(m_lastUpdate / 1000);
    for (const char* tag : kTuningTags)
        m_deviceTuning[tag] = *m_parameters.Find(tag);
    m_records.StoreEsdEvent(StrokeSignature::Trip(m_valve, kEsdIntervalMs));
    m_schedule.Start(static_cast<std::int64_t>(m_parameters.Number("16013")),
                     static_cast<std::int64_t>(m_parameters.Number("16014")), m_lastUpdate);
    writeMeasurements();
}

SimulatedPositioner::~SimulatedPositioner()
{
    for (const auto& [key, id] : m_tasks)
        m_scheduler.Cancel(id);
}

void SimulatedPositioner::Connect()
{
    if (m_connected)
        return;
    m_connected = true;
    m_parameters.Set("15000", Variant::boolean(true));
    publishState();
    updateTicking();
}

void SimulatedPositioner::Disconnect()
{
    if (!m_connected)
        return;
    m_connected = false;
    m_parameters.Set("15000", Variant::boolean(false));
    updateTicking();
    publishState();
    failRunningCommand();
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
    m_parameters.Set("20000", Variant::boolean(enabled));
    publishState();
}

void SimulatedPositioner::SetSupplyPressure(double psi)
{
    m_supply = psi;
    applySupply();
}

void SimulatedPositioner::SetFault(SimulatedFault fault, bool active)
{
    if (!m_faults.Set(fault, active))
        return;
    m_valve.SetMechanics(m_faults.Mechanics());
    if (fault == SimulatedFault::LowSupply)
        applySupply();
    if (fault == SimulatedFault::EsdTrip)
        trip(active);
    writeMeasurements();
    notifyAll(kNewValues, {});
}

void SimulatedPositioner::applySupply()
{
    advanceValve();
    m_valve.SetSupplyPressure(m_faults.Supply(m_supply));
}

void SimulatedPositioner::trip(bool tripped)
{
    advanceValve();
    if (tripped) {
        if (m_pst || m_motion)
            failRunningCommand();  // the valve left the device's hands
        m_records.StoreEsdEvent(StrokeSignature::Trip(m_valve, kEsdIntervalMs));
        m_valve.Trip(m_records.EsdEvent().Samples().back().position);
        FaultSet raised;
        raised.Raise(FaultSet::kEsdTripped);
        raised.Raise(FaultSet::kNewEsdData);
        raiseFaults(raised);
    } else {
        m_valve.Release();
    }
    m_parameters.SetNumber("2012", tripped ? 1 : 0);
}

void SimulatedPositioner::raiseFaults(const FaultSet& faults)
{
    // Current faults stay until cleared; each also goes into the history.
    for (const char* tag : {"12000", "12001"}) {
        FaultSet set = FaultSet::FromHex(m_parameters.Text(tag));
        set |= faults;
        m_parameters.SetText(tag, set.Hex());
    }
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
        m_schedule.Show(m_parameters, m_scheduler.Now());
    const Variant* found = m_parameters.Find(key);
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
    if (!m_parameters.Contains(key))
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
    if (tag == "15001") {  // the user interface counts its invalid entries up and down
        m_parameters.SetNumber(tag, m_parameters.Number(tag) + value.toInt32());
        return;
    }
    if (tag == "4003" || tag == "4007") {  // one unit for settings and measurements
        const int unit = value.toInt32();
        if (!isPressureUnit(unit))
            throw com::ComError(Status::InvalidArgument, "not a pressure unit");
        changePressureUnit(unit);
        return;
    }
    m_parameters.Set(tag, value);
    if (tag == "16039")
        m_records.SetSampleInterval(static_cast<std::int64_t>(m_parameters.Number(tag, 100)));
    // The configured identity is what every page header shows.
    static const std::map<std::string, std::string> kHeaderTagOf = {
        {"1006", "1001"}, {"1007", "1002"}, {"1008", "1004"}};
    if (const auto it = kHeaderTagOf.find(tag); it != kHeaderTagOf.end()) {
        m_parameters.Set(it->second, value);
        notifyLater(kIdentityChanged);
    }
}

void SimulatedPositioner::changePressureUnit(int unit)
{
    m_parameters.ConvertPressures(pressureUnit(), unit);
    m_parameters.SetNumber("4003", unit);
    m_parameters.SetNumber("4007", unit);
    m_records.Reload(m_parameters);
    writeMeasurements();
}

void SimulatedPositioner::startCommand(int method)
{
    if (!m_connected || HasFault(SimulatedFault::DeviceBusy)) {
        notifyLater(kBusy, textOf(std::to_string(method)));
        return;
    }
    if (method == Cancel) {
        if (m_running)
            notifyLater(kFailedInDevice, textOf(std::to_string(stopRunning())));
        notifyLater(kSucceeded + Cancel);
        return;
    }
    if (m_running) {
        notifyLater(kBusy, textOf(std::to_string(method)));
        return;
    }
    if (method == PartialStrokeTest) {
        startPst();
        return;
    }
    // The valve is stroked and the positioner calibrated in setup mode only.
    if (isCalibration(method) && m_parameters.Number("1000", -1) != 0) {
        notifyLater(kFailedInDevice, textOf(std::to_string(method)));
        return;
    }
    if (method == FindStops || method == Autotune || method == DriveToLowStop || method == DriveToHighStop) {
        startCalibration(method);
        return;
    }
    if (isManualDrive(method)) {
        startManualDrive(method);
        return;
    }
    const auto duration = durationOf(method);
    if (!duration) {
        notifyLater(kNotSupported, textOf(std::to_string(method)));
        return;
    }
    m_running = RunningCommand{method,
                               post(*duration,
                                    [this, method] {
                                        m_running.reset();
                                        finishCommand(method);
                                    }),
                               m_scheduler.Now()};
}

std::optional<SimulatedPositioner::Operation> SimulatedPositioner::RunningOperation() const
{
    if (!m_running)
        return std::nullopt;
    return Operation{m_running->method, m_scheduler.Now() - m_running->startMs};
}

void SimulatedPositioner::startCalibration(int method)
{
    advanceValve();
    std::optional<ValveRun> run;
    if (!m_valve.IsTripped()) {
        switch (method) {
        case FindStops: run = findStops(m_valve, m_mounting); break;
        case Autotune: run = autotune(m_valve, static_cast<int>(m_parameters.Number("8008"))); break;
        case DriveToLowStop: run = m_manualStops.Drive(ManualStops::End::Low, m_valve, m_mounting); break;
        case DriveToHighStop: run = m_manualStops.Drive(ManualStops::End::High, m_valve, m_mounting); break;
        }
    }
    if (!run) {  // a tripped valve, or the high stop before the low one was accepted
        notifyLater(kFailedInDevice, textOf(std::to_string(method)));
        return;
    }
    // A manual find stops keeps the trips unlatched until it completes.
    if (method == DriveToLowStop && !m_latchTripsBefore) {
        m_latchTripsBefore = m_parameters.Text("4005");
        m_parameters.SetText("4005", "0");
    }
    startMotion(method, std::move(*run));
}

void SimulatedPositioner::startManualDrive(int method)
{
    advanceValve();
    if (m_parameters.Number("1000", -1) != 1 || m_valve.IsTripped()) {
        notifyLater(kFailedInDevice, textOf(std::to_string(method)));
        return;
    }
    const double target = method == FullOpen    ? 100.0
                          : method == FullClose ? 0.0
                                                : m_parameters.Number("9000", m_valve.Position());
    startMotion(method, manualDrive(m_valve, target));
}

void SimulatedPositioner::startMotion(int method, ValveRun run)
{
    const std::int64_t now = m_scheduler.Now();
    const std::int64_t duration = run.DurationMs();
    m_motion = RunningMotion{std::move(run), now};
    m_running = RunningCommand{method, post(duration, [this, method] { finishMotion(method); }), now};
}

double SimulatedPositioner::RetransmittedOutput() const
{
    if (m_fixedOutput)
        return *m_fixedOutput;
    return retransmittedCurrent(m_parameters.Number("2003"), m_parameters.Number("10001"),
                                m_parameters.Number("10000"));
}

// Fixes the output at "10002", or gives it back to the position for "0"; false for a current
// no loop carries.
bool SimulatedPositioner::fixOutput()
{
    const double output = m_parameters.Number("10002", -1);
    if (output == 0) {
        m_fixedOutput.reset();
        return true;
    }
    if (output < 3.2 || output > 22)
        return false;
    m_fixedOutput = output;
    return true;
}

void SimulatedPositioner::finishMotion(int method)
{
    const ValveRun run = std::move(m_motion->run);
    m_motion.reset();
    m_running.reset();
    m_valve.SetPosition(run.EndPosition());
    m_manualTarget = run.EndPosition();
    m_lastUpdate = m_scheduler.Now();
    writeMeasurements();
    const bool stores = !run.Results().empty();
    if (run.Failed() || (stores && HasFault(SimulatedFault::RefusesWrites))) {
        FaultSet raised;
        raised.Raise(run.FailureBit());
        if (!run.Failed())
            raised.Raise(FaultSet::kNvmWriteFault);
        raiseFaults(raised);
        notifyAll(kFailedInDevice, textOf(std::to_string(method)));
        return;
    }
    for (const auto& [tag, value] : run.Results()) {
        m_parameters.SetText(tag, value);
        if (m_deviceTuning.contains(tag))
            m_deviceTuning[tag] = *m_parameters.Find(tag);
    }
    if (stores)
        clearFault(run.FailureBit());
    if (method == DriveToLowStop || method == DriveToHighStop)
        m_manualStops.Arrived();
    writeMeasurements();
    notifyAll(kSucceeded + method, {});
}

// Accepts the high stop and stores both stops.
void SimulatedPositioner::finishManualStops()
{
    const std::string method = std::to_string(AcceptHighStop);
    if (!m_manualStops.ReadyToFinish()) {
        m_manualStops.Clear();
        notifyAll(kFailedInDevice, textOf(method));
        return;
    }
    const auto stops = m_manualStops.Finish();
    const bool refused = HasFault(SimulatedFault::RefusesWrites);
    if (!stops || refused) {
        FaultSet raised;
        raised.Raise(FaultSet::kFindStopsFailed);
        if (refused)
            raised.Raise(FaultSet::kNvmWriteFault);
        raiseFaults(raised);
        notifyAll(kFailedInDevice, textOf(method));
        return;
    }
    m_parameters.SetNumber("13010", stops->first);
    m_parameters.SetNumber("13011", stops->second);
    if (m_latchTripsBefore)
        m_parameters.SetText("4005", *std::exchange(m_latchTripsBefore, std::nullopt));
    clearFault(FaultSet::kFindStopsFailed);
    writeMeasurements();
    notifyAll(kSucceeded + AcceptHighStop, {});
}

// Sends the configured tag, descriptor and message, as HART packs them, and the air action.
bool SimulatedPositioner::writeParameters()
{
    const std::pair<const char*, std::size_t> kLengths[] = {{"1006", 8}, {"1007", 16}, {"3001", 32}};
    for (const auto& [tag, length] : kLengths)
        if (m_parameters.Text(tag).size() > length)
            return false;
    const double airAction = m_parameters.Number("3000", -1);
    if (airAction != 0 && airAction != 1)
        return false;
    advanceValve();  // the valve moved so far under the old air action
    m_parameters.Set("1001", *m_parameters.Find("1006"));
    m_parameters.Set("1002", *m_parameters.Find("1007"));
    return true;
}

// A calibration that succeeds takes its failure off the current faults; the history keeps it.
void SimulatedPositioner::clearFault(int bit)
{
    FaultSet current = FaultSet::FromHex(m_parameters.Text("12000"));
    current.Clear(bit);
    m_parameters.SetText("12000", current.Hex());
}

// Commands that store settings in the device fail while it refuses writes.
bool SimulatedPositioner::refusedAsWrite(int method)
{
    if (!HasFault(SimulatedFault::RefusesWrites) ||
        (method != TuningWrite && method != WriteSchedule && method != ApplyPstSettings && method != WriteParameters))
        return false;
    if (method == WriteSchedule)
        notifyAll(kScheduleNotDownloaded, {});
    notifyAll(kFailedInDevice, textOf(std::to_string(method)));
    return true;
}

void SimulatedPositioner::finishCommand(int method)
{
    if (refusedAsWrite(method))
        return;
    switch (method) {
    case ModeChange: {
        const double mode = m_parameters.Number("1005", -1);
        if (mode != 0 && mode != 1 && mode != 3) {
            notifyAll(kFailedInDevice, textOf(std::to_string(method)));
            return;
        }
        advanceValve();  // the valve moved so far in the old mode
        m_parameters.SetNumber("1000", mode);
        m_manualTarget = m_valve.Position();  // manual mode starts where the valve stands
        break;
    }
    case WriteParameters:
        if (!writeParameters()) {
            notifyAll(kFailedInDevice, textOf(std::to_string(method)));
            return;
        }
        notifyAll(kIdentityChanged, {});
        break;
    case AcceptLowStop:
        if (!m_manualStops.AcceptLow()) {
            notifyAll(kFailedInDevice, textOf(std::to_string(method)));
            return;
        }
        break;
    case AcceptHighStop: finishManualStops(); return;
    case Reset:
        m_manualStops.Clear();
        m_latchTripsBefore.reset();
        m_parameters.RestoreSettings();
        for (auto& [tag, value] : m_deviceTuning)
            value = *m_parameters.Find(tag);
        writeMeasurements();
        break;
    case TuningWrite:
        for (auto& [tag, value] : m_deviceTuning)
            value = *m_parameters.Find(tag);
        break;
    case TuningRead:
        for (const auto& [tag, value] : m_deviceTuning)
            m_parameters.Set(tag, value);
        break;
    case FixAnalogOutput:
        if (!fixOutput()) {
            notifyAll(kFailedInDevice, textOf(std::to_string(method)));
            return;
        }
        break;
    case ReleaseAnalogOutput:
        m_fixedOutput.reset();
        m_parameters.SetText("10002", "0");
        break;
    case ClearAllFaults: m_parameters.SetText("12001", kNoFaults); [[fallthrough]];
    case ClearCurrentFaults: m_parameters.SetText("12000", kNoFaults); break;
    case WriteSchedule:
        if (!m_schedule.StartFrom(m_parameters, m_scheduler.Now())) {
            notifyAll(kScheduleNotDownloaded, {});
            notifyAll(kFailedInDevice, textOf(std::to_string(method)));
            return;
        }
        m_schedule.Show(m_parameters, m_scheduler.Now());
        break;
    case LoadPstData: m_records.LoadPst(m_parameters); break;
    case LoadEsdEvents: m_records.LoadEsdEvent(m_parameters); break;
    }
    notifyAll(kSucceeded + method, {});
}

// Ends the running command where it stands; answers its method number.
int SimulatedPositioner::stopRunning()
{
    const int method = m_running->method;
    cancel(m_running->task);
    m_running.reset();
    if (m_motion) {
        // The valve stays where the run left it.
        m_valve.SetPosition(m_motion->run.At(m_scheduler.Now() - m_motion->startMs).position);
        m_manualTarget = m_valve.Position();
        m_lastUpdate = m_scheduler.Now();
        m_motion.reset();
    }
    if (method == DriveToLowStop || method == DriveToHighStop || method == AcceptLowStop || method == AcceptHighStop)
        m_manualStops.Clear();
    if (m_pst) {
        // The positioner gives the valve back to its setpoint from where the test left it.
        m_valve.SetPosition(m_pst->signature.At(m_scheduler.Now() - m_pst->startMs).position);
        m_lastUpdate = m_scheduler.Now();
        m_pst.reset();
        FaultSet cancelled;
        cancelled.Raise(FaultSet::kPstCancelled);
        raiseFaults(cancelled);
    }
    return method;
}

void SimulatedPositioner::failRunningCommand()
{
    if (m_running)
        notifyAll(kFailedInDevice, textOf(std::to_string(stopRunning())));
}

void SimulatedPositioner::startPst()
{
    advanceValve();
    const PstSettings settings = m_records.SettingsOf(m_parameters);
    // A tripped valve, or one without room for the travel before its fail position, is not tested.
    if (m_valve.IsTripped() || m_valve.CompressionOf(m_valve.Position()) < settings.travel - 0.05) {
        notifyLater(kFailedInDevice, textOf(std::to_string(PartialStrokeTest)));
        return;
    }
    m_pst = RunningPst{StrokeSignature::PartialStroke(m_valve, settings), settings, m_scheduler.Now(), counterNow()};
    m_running = RunningCommand{PartialStrokeTest, post(kProgressMs, [this] { stepPst(); }), m_scheduler.Now()};
}

void SimulatedPositioner::stepPst()
{
    const std::int64_t elapsed = m_scheduler.Now() - m_pst->startMs;
    const std::int64_t duration = m_pst->signature.DurationMs();
    if (elapsed >= duration) {
        finishPst();
        return;
    }
    writeMeasurements();
    notifyAll(kNewValues, {});
    if (m_running && m_pst)  // a control may have cancelled it when told
        m_running->task = post(std::min(kProgressMs, duration - elapsed), [this] { stepPst(); });
}

void SimulatedPositioner::finishPst()
{
    const RunningPst pst = std::move(*m_pst);
    m_pst.reset();
    m_running.reset();
    raiseFaults(m_records.StorePst(pst.signature, pst.settings, m_parameters).Faults());
    m_parameters.SetNumber("16033", pst.counter >> 16);
    m_parameters.SetNumber("16034", pst.counter & 0xFFFFu);
    m_valve.SetPosition(pst.signature.Samples().back().position);
    m_lastUpdate = m_scheduler.Now();
    writeMeasurements();
    notifyAll(kSucceeded + PartialStrokeTest, {});
}

std::uint64_t SimulatedPositioner::post(std::int64_t delayMs, std::function<void()> work)
{
    const std::uint64_t key = ++m_lastTaskKey;
    m_tasks[key] = m_scheduler.Post(delayMs, [this, key, work = std::move(work)] {
        m_tasks.erase(key);
        // A control told from here may drop the last reference to the positioner.
        const com::ComPtr<SimulatedPositioner> keepAlive(this);
        work();
    });
    return key;
}

void SimulatedPositioner::cancel(std::uint64_t task)
{
    if (const auto it = m_tasks.find(task); it != m_tasks.end()) {
        m_scheduler.Cancel(it->second);
        m_tasks.erase(it);
    }
}

void SimulatedPositioner::notifyAll(std::int32_t code, const Variant& value)
{
    const std::vector<Registration> controls = m_controls;  // a control may unregister when told
    for (const Registration& registration : controls) {
        const bool stillRegistered = std::any_of(m_controls.begin(), m_controls.end(), [&](const Registration& r) {
            return r.control == registration.control;
        });
        if (!stillRegistered)
            continue;
        try {
            if (const auto update = com::queryInterface<host::IUpdateUI>(registration.control))
                update->Notify(code, value);
        } catch (const com::ComError&) {
            // A control that cannot be asked for its callback is not told.
        }
    }
}

void SimulatedPositioner::notifyLater(std::int32_t code, Variant value)
{
    post(kReplyDelayMs, [this, code, value = std::move(value)] { notifyAll(code, value); });
}

void SimulatedPositioner::publishState()
{
    notifyAll(kStateDocument, Variant::text(BStr(stateDocument())));
}

std::u16string SimulatedPositioner::stateDocument() const
{
    bool dialogs = true;  // like the user interface, a flag that cannot be read counts as set
    try {
        dialogs = m_parameters.Find("20000")->toBool();
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
    const com::ComPtr<host::IDtmActiveXControl> reference(control);
    std::erase_if(m_controls, [&](const Registration& r) { return r.control == reference; });
    m_controls.push_back(Registration{callerTag, reference});
    if (accepted)
        *accepted = !m_refuseRegistration;
    updateTicking();
    return Status::Ok;
}

Status SimulatedPositioner::unregisterControl(host::Via, const BStr& callerTag, bool, bool* result)
{
    // The latest registration under the tag; it is let go of last, as it may hold the last
    // reference to this object.
    Registration dropped;
    const auto it = std::find_if(m_controls.rbegin(), m_controls.rend(),
                                 [&](const Registration& r) { return r.callerTag == callerTag; });
    if (it != m_controls.rend()) {
        dropped = std::move(*it);
        m_controls.erase(std::next(it).base());
    }
    if (result)
        *result = static_cast<bool>(dropped.control);
    updateTicking();
    return Status::Ok;
}

void SimulatedPositioner::updateTicking()
{
    const bool wanted = m_connected && !m_controls.empty();
    if (wanted && !m_tickTask) {
        m_tickTask = post(kTickMs, [this] {
            m_tickTask.reset();
            tick();
        });
    } else if (!wanted && m_tickTask) {
        cancel(*m_tickTask);
        m_tickTask.reset();
    }
}

void SimulatedPositioner::tick()
{
    advanceValve();
    writeMeasurements();
    latchFaults();
    notifyAll(kNewValues, {});
    updateTicking();
}

// Brings the valve model up to now; a running PST or calibration moves the valve itself.
void SimulatedPositioner::advanceValve()
{
    const std::int64_t now = m_scheduler.Now();
    if (!m_pst && !m_motion) {
        m_valve.SetAirToOpen(m_parameters.Number("3000", 1) != 0);
        m_valve.Advance(static_cast<double>(now - m_lastUpdate), setpoint());
    }
    m_lastUpdate = now;
}

double SimulatedPositioner::setpoint() const
{
    switch (static_cast<int>(m_parameters.Number("1000"))) {
    case 3: return m_valve.SignalSetpoint();                     // normal: the loop drives
    case 1: return m_manualTarget.value_or(m_valve.Position());  // manual: held until driven
    default: return m_valve.Position();                          // setup: the valve holds
    }
}

int SimulatedPositioner::pressureUnit() const
{
    return static_cast<int>(m_parameters.Number("4003", kPsi));
}

std::uint32_t SimulatedPositioner::counterNow() const
{
    return static_cast<std::uint32_t>(std::floor(m_counterAtStart + static_cast<double>(m_scheduler.Now() / 1000)));
}

void SimulatedPositioner::writeMeasurements()
{
    const int unit = static_cast<int>(m_parameters.Number("4007", kPsi));
    double position = m_valve.Position();
    double actuator = m_valve.ActuatorPressure();
    if (m_pst) {
        const StrokeSample now = m_pst->signature.At(m_scheduler.Now() - m_pst->startMs);
        position = now.position;
        actuator = now.pressurePsi;
    } else if (m_motion) {
        const StrokeSample now = m_motion->run.At(m_scheduler.Now() - m_motion->startMs);
        position = now.position;
        actuator = now.pressurePsi;
    }
    const double supply = m_valve.SupplyPressure();
    const double second = m_parameters.Number("4004", 1) == 0 ? std::max(supply - actuator, 0.0) : 0.0;
    const double pilot = 3.0 + 12.0 * actuator / std::max(supply, 1.0);  // I/P output, 3 to 15 psi
    const auto pressure = [&](const char* tag, double psi) {
        m_parameters.SetNumber(tag, fromPsi(psi, unit), pressureDecimals(unit));
    };
    m_parameters.SetNumber("2000", m_valve.InputSignal(), 2);
    m_parameters.SetNumber("2003", position, 2);
    pressure("2006", actuator);
    pressure("2009", supply);
    pressure("13000", actuator);
    pressure("13001", second);
    pressure("13002", pilot);
    m_parameters.SetNumber("13012", (pilot - 3.0) / 12.0 * 100.0, 1);      // I/P output, percent
    m_parameters.SetNumber("13013", 0.2 + (pilot - 3.0) / 12.0 * 1.6, 2);  // I/P drive, mA
    // Converter counts
    const double lowStop = m_parameters.Number("13010");
    const double highStop = m_parameters.Number("13011");
    m_parameters.SetNumber("13006", m_valve.InputSignal() * 1000.0);
    m_parameters.SetNumber("13007", lowStop + (highStop - lowStop) * position / 100.0);
    m_parameters.SetNumber("13008", actuator * 100.0);
    m_parameters.SetNumber("13014", second * 100.0);
    m_parameters.SetNumber("13015", supply * 100.0);
    m_parameters.SetNumber("13016", pilot * 100.0);
    m_parameters.SetNumber("16032", counterNow());
    m_schedule.Show(m_parameters, m_scheduler.Now());
}

void SimulatedPositioner::latchFaults()
{
    const double supply = m_valve.SupplyPressure();
    FaultSet raised;
    if (supply < toPsi(m_parameters.Number("5005", 0.0), pressureUnit()))
        raised.Raise(FaultSet::kLowSupply);
    if (supply > toPsi(m_parameters.Number("5006", INFINITY), pressureUnit()))
        raised.Raise(FaultSet::kHighSupply);
    raiseFaults(raised);
}

}  // namespace orvx::simulator
