#include "ParameterTable.h"

#include "PressureUnits.h"

#include <charconv>
#include <cmath>
#include <string>

namespace orvx::simulator {

namespace parameter = device::parameter;

namespace {

using Kind = ParameterTable::Kind;
constexpr Kind S = Kind::Setting;
constexpr Kind D = Kind::Device;

struct Default {
    const device::Parameter* parameter;
    const char* text;
    Kind kind;
};

// Pressures are in psi, the default unit.
constexpr Default kDefaults[] = {
    // Header and identity
    {&parameter::Mode, "3", D},
    {&parameter::DeviceTag, "PV-101", D},
    {&parameter::Descriptor, "ESD VALVE UNIT 1", D},
    {&parameter::DeviceId, "305419", D},
    {&parameter::FinalAssemblyNumber, "4711", D},
    {&parameter::ModeToSet, "3", D},
    {&parameter::ConfiguredTag, "PV-101", D},
    {&parameter::ConfiguredDescriptor, "ESD VALVE UNIT 1", D},
    {&parameter::ConfiguredFinalAssemblyNumber, "4711", D},
    {&parameter::DeviceState, "0", D},
    {&parameter::PollingAddress, "0", D},
    // Live values, refreshed while the device is read
    {&parameter::InputSignal, "12.00", D},
    {&parameter::Position, "0.00", D},
    {&parameter::Pressure, "8.0", D},
    {&parameter::SupplyPressure, "60.0", D},
    {&parameter::EsdTripped, "0", D},
    // General configuration
    {&parameter::AirAction, "1", S},
    {&parameter::Message, "VALVE IN SERVICE", S},
    {&parameter::DeviceDate, "124-5-20", D},
    {&parameter::DisplayLanguage, "0", S},
    {&parameter::PressureUnit, "6", S},
    {&parameter::ActuatorType, "1", S},
    {&parameter::LatchTrips, "1", S},
    {&parameter::ButtonLock, "0", S},
    {&parameter::MeasuredPressureUnit, "6", S},
    // Alarms
    {&parameter::PositionErrorBand, "5.0", S},
    {&parameter::PositionErrorEnabled, "1", S},
    {&parameter::PositionErrorTime, "10.0", S},
    {&parameter::ValveStuckLimit, "5.0", S},
    {&parameter::NearClosed, "1.0", S},
    {&parameter::SupplyLimitLow, "40.0", S},
    {&parameter::SupplyLimitHigh, "100.0", S},
    {&parameter::LinkageLimit, "5.0", S},
    // Switch 2
    {&parameter::Switch2Action, "0", S},
    {&parameter::Switch2Normally, "1", S},
    {&parameter::Switch2Value, "0.0", S},
    // HART
    {&parameter::Preambles, "5", D},
    {&parameter::PhysicalSignalling, "0", D},
    {&parameter::DeviceFlags, "0", D},
    {&parameter::BurstMode, "0", S},
    {&parameter::BurstCommand, "1", S},
    // Tuning
    {&parameter::TuningP, "1200", S},
    {&parameter::TuningI, "100", S},
    {&parameter::TuningD, "20", S},
    {&parameter::TuningPAdjust, "0", S},
    {&parameter::TuningDeadZone, "0.5", S},
    {&parameter::TuningBeta, "0", S},
    {&parameter::TuningPositionCompensation, "10", S},
    {&parameter::TuningBoost, "5", S},
    {&parameter::TuningAggressiveness, "0", S},
    // Commissioning
    {&parameter::ManualSetpoint, "50.0", S},
    {&parameter::RetransmitRangeHigh, "100.00", S},
    {&parameter::RetransmitRangeLow, "0.00", S},
    {&parameter::AnalogOutput, "0", D},
    // Faults
    {&parameter::CurrentFaults, "000000000000000000", D},
    {&parameter::HistoricalFaults, "000000000000000000", D},
    {&parameter::PneumaticsFaultAction, "4", S},
    {&parameter::ElectronicsFaultAction, "4", S},
    // Sensors
    {&parameter::ActuatorPressure1, "8.0", D},
    {&parameter::ActuatorPressure2, "0.0", D},
    {&parameter::PilotPressure, "3.0", D},
    {&parameter::BoardTemperature, "24.5", D},
    {&parameter::LowestTemperature, "-12.0", D},
    {&parameter::HighestTemperature, "41.5", D},
    {&parameter::RawSignal, "12000", D},
    {&parameter::RawPosition, "500", D},
    {&parameter::RawPressure1, "800", D},
    {&parameter::OpenOrClose, "0", S},
    {&parameter::LowerStop, "512", D},
    {&parameter::UpperStop, "3580", D},
    {&parameter::IpOutput, "20.0", D},
    {&parameter::IpCurrent, "0.80", D},
    {&parameter::RawPressure2, "0", D},
    {&parameter::RawSupplyPressure, "6000", D},
    {&parameter::RawPilotPressure, "300", D},
    // Device information
    {&parameter::Manufacturer, "Norvane-Halbrook", D},
    {&parameter::DeviceType, "Orvx ESD", D},
    {&parameter::ModuleType, "VUD", D},
    {&parameter::UniversalRevision, "5", D},
    {&parameter::HardwareRevision, "3", D},
    {&parameter::FieldDeviceRevision, "1", D},
    {&parameter::SoftwareRevision, "1", D},
    // The pages' count (the frame's two flags are booleans, added below)
    {&parameter::InvalidEntries, "0", D},
    // PST settings and schedule
    {&parameter::PstTravel, "10.0", S},
    {&parameter::PstMinimumPressure, "6.0", S},  // below what a healthy PST needs anywhere in the travel
    {&parameter::PstMaximumTime, "60", S},
    {&parameter::PstSpeed, "5.0", S},
    {&parameter::PstDwellTime, "2", S},
    {&parameter::PstFrictionLow, "2.0", S},
    {&parameter::PstFrictionHigh, "15.0", S},
    {&parameter::PstBreakout, "10.0", S},
    {&parameter::PstDroop, "4.0", S},
    {&parameter::PstFreezeDigitalOutputs, "0", S},
    {&parameter::PstFreezeAnalogOutput, "0", S},
    {&parameter::PstScheduleEnabled, "0", S},
    {&parameter::PstInterval, "2", S},
    {&parameter::PstDaysToNext, "1", D},
    {&parameter::PstMinutesToNext, "240", D},
    {&parameter::PstStartDay, "0", S},
    {&parameter::PstStartMinute, "0", S},
    {&parameter::PstTriggerByInput, "1", S},
    {&parameter::PstTriggerByButtons, "1", S},
    {&parameter::PstTriggerByHart, "1", S},
    // The last PST's results
    {&parameter::PstPassed, "0", D},
    {&parameter::PstFriction, "3.0", D},
    {&parameter::PstLowerSpring, "15.0", D},
    {&parameter::PstUpperSpring, "35.0", D},
    {&parameter::PstBreakaway, "3.4", D},
    {&parameter::PstDroopResult, "0.2", D},
    {&parameter::PstExhaustTime, "2.1", D},
    {&parameter::PstFillTime, "2.3", D},
    {&parameter::PstElapsedDays, "0", S},
    {&parameter::PstElapsedMinutes, "0", S},
    {&parameter::NewSchedulePending, "0", D},
    // The stored PST record (its curves and the time counters are made below)
    {&parameter::SampleInterval, "100", D},
    {&parameter::RecordPassed, "0", D},
    {&parameter::RecordFriction, "3", D},
    {&parameter::RecordLowerSpring, "15", D},
    {&parameter::RecordUpperSpring, "35", D},
    {&parameter::RecordBreakaway, "3", D},
    {&parameter::RecordDroop, "0", D},
    {&parameter::RecordExhaustTime, "2", D},
    {&parameter::RecordFillTime, "2", D},
    {&parameter::RecordSamplesDown, "20", D},
    {&parameter::RecordSamples, "40", D},
    {&parameter::RecordInterval, "100", D},
    {&parameter::RecordStart, "100", D},
    {&parameter::RecordTravel, "10", D},
    {&parameter::RecordSpeed, "5", D},
};

constexpr int kCurvePoints = 20;  // per stroke, as RecordSamplesDown and RecordSamples say

// A stroke of the last PST as "pressure@position@..." pairs: the exhaust stroke from open down
// by the PST travel, the fill stroke back up.
std::string pstCurve(bool fill)
{
    std::string curve;
    for (int i = 0; i < kCurvePoints; ++i) {
        const double t = static_cast<double>(i) / (kCurvePoints - 1);
        const double position = fill ? 90.0 + 10.0 * t : 100.0 - 10.0 * t;
        const double pressure = 15.0 + 0.2 * position + (fill ? 3.0 : -3.0);  // the spring line, +- friction
        if (!curve.empty())
            curve += '@';
        curve += fixed(pressure, 2) + '@' + fixed(position, 2);
    }
    return curve;
}

// Device time counter (seconds since it left the factory) when the simulation starts, and
// when the last PST ran.
constexpr std::uint32_t kCounterAtStart = 30u * 86400u;
constexpr std::uint32_t kCounterAtLastPst = kCounterAtStart - 86400u;

com::Variant textOf(const std::string& text)
{
    return com::Variant::text(com::BStr::fromUtf8(text));
}

bool followsPressureUnit(const device::Parameter& parameter)
{
    return parameter.type == device::ValueType::Decimal &&
           (parameter.unit == device::Unit::SettingsPressure || parameter.unit == device::Unit::MeasuredPressure);
}

}  // namespace

// Locale-free both ways: the program's locale may use another decimal separator.
std::string fixed(double value, int decimals)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    std::string out(text, result.ptr);
    if (out.starts_with('-') && out.find_first_not_of("-0.") == std::string::npos)  // no "-0.00"
        out.erase(0, 1);
    return out;
}

ParameterTable::ParameterTable()
{
    // Every parameter of the vocabulary has an entry. One that neither list gives a value holds
    // an empty text, which no number, code or date takes: the simulator's tests name it.
    for (const device::Parameter* p : device::parameters())
        add(*p, textOf(""), Kind::Device);
    for (const Default& d : kDefaults)
        add(*d.parameter, textOf(d.text), d.kind);
    add(parameter::Connected, com::Variant::boolean(true), Kind::Device);
    add(parameter::PrivateDialogs, com::Variant::boolean(true), Kind::Device);
    add(parameter::FillCurve, textOf(pstCurve(true)), Kind::Device);
    add(parameter::ExhaustCurve, textOf(pstCurve(false)), Kind::Device);
    add(parameter::DeviceCounter, textOf(std::to_string(kCounterAtStart)), Kind::Device);
    add(parameter::PstCounterHigh, textOf(std::to_string(kCounterAtLastPst >> 16)), Kind::Device);
    add(parameter::PstCounterLow, textOf(std::to_string(kCounterAtLastPst & 0xFFFFu)), Kind::Device);
}

void ParameterTable::add(const device::Parameter& parameter, com::Variant value, Kind kind)
{
    m_entries.insert_or_assign(parameter.tag, Entry{value, value, kind});
}

ParameterTable::Entry& ParameterTable::entry(const device::Parameter& parameter)
{
    return m_entries.at(parameter.tag);
}

const ParameterTable::Entry& ParameterTable::entry(const device::Parameter& parameter) const
{
    return m_entries.at(parameter.tag);
}

const com::Variant* ParameterTable::Find(std::string_view tag) const
{
    const auto it = m_entries.find(tag);
    return it == m_entries.end() ? nullptr : &it->second.value;
}

const com::Variant& ParameterTable::Value(const device::Parameter& parameter) const
{
    return entry(parameter).value;
}

void ParameterTable::Set(const device::Parameter& parameter, com::Variant value)
{
    entry(parameter).value = std::move(value);
}

void ParameterTable::SetText(const device::Parameter& parameter, const std::string& text)
{
    Set(parameter, textOf(text));
}

void ParameterTable::SetNumber(const device::Parameter& parameter, double value, int decimals)
{
    SetText(parameter, fixed(value, decimals));
}

std::string ParameterTable::Text(const device::Parameter& parameter) const
{
    return Value(parameter).toText().toUtf8();
}

double ParameterTable::Number(const device::Parameter& parameter, double fallback) const
{
    const std::string text = Text(parameter);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return text.empty() || error != std::errc() || end != text.data() + text.size() ? fallback : value;
}

void ParameterTable::ConvertPressures(int from, int to)
{
    if (from == to)
        return;
    for (const device::Parameter* parameter : device::parameters()) {
        if (!followsPressureUnit(*parameter))
            continue;
        const double value = Number(*parameter, NAN);
        if (!std::isnan(value))
            SetNumber(*parameter, fromPsi(toPsi(value, from), to), pressureDecimals(to));
    }
}

void ParameterTable::RestoreSettings()
{
    for (auto& [tag, held] : m_entries)
        if (held.kind == Kind::Setting)
            held.value = held.initial;
}

}  // namespace orvx::simulator
