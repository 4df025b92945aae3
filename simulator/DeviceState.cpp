#include "DeviceState.h"

#include "PressureUnits.h"
#include "platform/com/ComError.h"

#include <algorithm>
#include <cmath>

namespace orvx::simulator {

namespace parameter = device::parameter;

namespace {

constexpr const device::Parameter* kTuning[] = {
    &parameter::TuningP,
    &parameter::TuningI,
    &parameter::TuningD,
    &parameter::TuningPAdjust,
    &parameter::TuningDeadZone,
    &parameter::TuningBeta,
    &parameter::TuningPositionCompensation,
    &parameter::TuningBoost,
    &parameter::TuningAggressiveness,
};

// The configured identity, and the header's parameter that shows it.
constexpr std::pair<const device::Parameter*, const device::Parameter*> kConfiguredIdentity[] = {
    {&parameter::ConfiguredTag, &parameter::DeviceTag},
    {&parameter::ConfiguredDescriptor, &parameter::Descriptor},
    {&parameter::ConfiguredFinalAssemblyNumber, &parameter::FinalAssemblyNumber},
};

}  // namespace

DeviceState::DeviceState(std::int64_t nowMs) : m_lastUpdate(nowMs)
{
    m_counterAtStart = parameters.Number(parameter::DeviceCounter) - static_cast<double>(nowMs / 1000);
    StoreTuning();
    schedule.Start(static_cast<std::int64_t>(parameters.Number(parameter::PstDaysToNext)),
                   static_cast<std::int64_t>(parameters.Number(parameter::PstMinutesToNext)), nowMs);
}

void DeviceState::AdvanceValve(std::int64_t nowMs)
{
    if (!m_stroke) {
        valve.SetAirToOpen(parameters.Number(parameter::AirAction, 1) != 0);
        valve.Advance(static_cast<double>(nowMs - m_lastUpdate), setpoint());
    }
    m_lastUpdate = nowMs;
}

void DeviceState::BeginStroke(std::vector<StrokeSample> samples, std::int64_t nowMs)
{
    AdvanceValve(nowMs);
    m_stroke = Stroke{std::move(samples), nowMs};
}

void DeviceState::EndStroke(std::int64_t nowMs, std::optional<double> position)
{
    if (!m_stroke)
        return;
    valve.SetPosition(position.value_or(where(nowMs).position));
    manualTarget = valve.Position();
    m_stroke.reset();
    m_lastUpdate = nowMs;
}

StrokeSample DeviceState::where(std::int64_t nowMs) const
{
    return sampleAt(m_stroke->samples, nowMs - m_stroke->startMs);
}

double DeviceState::setpoint() const
{
    switch (static_cast<int>(parameters.Number(parameter::Mode))) {
    case 3: return valve.SignalSetpoint();                   // normal: the loop drives
    case 1: return manualTarget.value_or(valve.Position());  // manual: held until driven
    default: return valve.Position();                        // setup: the valve holds
    }
}

int DeviceState::PressureUnit() const
{
    return static_cast<int>(parameters.Number(parameter::PressureUnit, kPsi));
}

std::uint32_t DeviceState::Counter(std::int64_t nowMs) const
{
    return static_cast<std::uint32_t>(std::floor(m_counterAtStart + static_cast<double>(nowMs / 1000)));
}

void DeviceState::WriteMeasurements(std::int64_t nowMs)
{
    const int unit = static_cast<int>(parameters.Number(parameter::MeasuredPressureUnit, kPsi));
    double position = valve.Position();
    double actuator = valve.ActuatorPressure();
    if (m_stroke) {
        const StrokeSample now = where(nowMs);
        position = now.position;
        actuator = now.pressurePsi;
    }
    const double supply = valve.SupplyPressure();
    const double second = parameters.Number(parameter::ActuatorType, 1) == 0 ? std::max(supply - actuator, 0.0) : 0.0;
    const double pilot = 3.0 + 12.0 * actuator / std::max(supply, 1.0);  // I/P output, 3 to 15 psi
    const auto pressure = [&](const device::Parameter& p, double psi) {
        parameters.SetNumber(p, fromPsi(psi, unit), pressureDecimals(unit));
    };
    parameters.SetNumber(parameter::InputSignal, valve.InputSignal(), 2);
    parameters.SetNumber(parameter::Position, position, 2);
    pressure(parameter::Pressure, actuator);
    pressure(parameter::SupplyPressure, supply);
    pressure(parameter::ActuatorPressure1, actuator);
    pressure(parameter::ActuatorPressure2, second);
    pressure(parameter::PilotPressure, pilot);
    parameters.SetNumber(parameter::IpOutput, (pilot - 3.0) / 12.0 * 100.0, 1);
    parameters.SetNumber(parameter::IpCurrent, 0.2 + (pilot - 3.0) / 12.0 * 1.6, 2);
    // Converter counts
    const double lowStop = parameters.Number(parameter::LowerStop);
    const double highStop = parameters.Number(parameter::UpperStop);
    parameters.SetNumber(parameter::RawSignal, valve.InputSignal() * 1000.0);
    parameters.SetNumber(parameter::RawPosition, lowStop + (highStop - lowStop) * position / 100.0);
    parameters.SetNumber(parameter::RawPressure1, actuator * 100.0);
    parameters.SetNumber(parameter::RawPressure2, second * 100.0);
    parameters.SetNumber(parameter::RawSupplyPressure, supply * 100.0);
    parameters.SetNumber(parameter::RawPilotPressure, pilot * 100.0);
    parameters.SetNumber(parameter::DeviceCounter, Counter(nowMs));
    schedule.Show(parameters, nowMs);
}

void DeviceState::StoreTuning()
{
    for (const device::Parameter* tuning : kTuning)
        storedTuning[tuning] = parameters.Value(*tuning);
}

void DeviceState::RaiseFaults(const FaultSet& raised)
{
    for (const device::Parameter* faults : {&parameter::CurrentFaults, &parameter::HistoricalFaults}) {
        FaultSet set = FaultSet::FromHex(parameters.Text(*faults));
        set |= raised;
        parameters.SetText(*faults, set.Hex());
    }
}

void DeviceState::ClearFault(int bit)
{
    FaultSet current = FaultSet::FromHex(parameters.Text(parameter::CurrentFaults));
    current.Clear(bit);
    parameters.SetText(parameter::CurrentFaults, current.Hex());
}

void DeviceState::LatchSupplyFaults()
{
    const double supply = valve.SupplyPressure();
    FaultSet raised;
    if (supply < toPsi(parameters.Number(parameter::SupplyLimitLow, 0.0), PressureUnit()))
        raised.Raise(FaultSet::kLowSupply);
    if (supply > toPsi(parameters.Number(parameter::SupplyLimitHigh, INFINITY), PressureUnit()))
        raised.Raise(FaultSet::kHighSupply);
    RaiseFaults(raised);
}

DeviceState::Written DeviceState::Write(const device::Parameter& written, const com::Variant& value, std::int64_t nowMs)
{
    if (written == parameter::InvalidEntries) {  // the user interface counts its entries up and down
        parameters.SetNumber(written, parameters.Number(written) + value.toInt32());
        return Written::Stored;
    }
    if (written == parameter::PressureUnit || written == parameter::MeasuredPressureUnit) {
        const int unit = value.toInt32();
        if (!isPressureUnit(unit))
            throw com::ComError(com::Status::InvalidArgument, "not a pressure unit");
        changePressureUnit(unit, nowMs);  // one unit for settings and measurements
        return Written::Stored;
    }
    parameters.Set(written, value);
    if (written == parameter::SampleInterval)
        records.SetSampleInterval(static_cast<std::int64_t>(parameters.Number(written, 100)));
    for (const auto& [configured, shown] : kConfiguredIdentity) {
        if (written == *configured) {  // the configured identity is what every page header shows
            parameters.Set(*shown, value);
            return Written::IdentityChanged;
        }
    }
    return Written::Stored;
}

const com::Variant& DeviceState::Read(const device::Parameter& read, std::int64_t nowMs)
{
    if (read == parameter::PstDaysToNext || read == parameter::PstMinutesToNext)
        schedule.Show(parameters, nowMs);
    return parameters.Value(read);
}

void DeviceState::changePressureUnit(int unit, std::int64_t nowMs)
{
    parameters.ConvertPressures(PressureUnit(), unit);
    parameters.SetNumber(parameter::PressureUnit, unit);
    parameters.SetNumber(parameter::MeasuredPressureUnit, unit);
    records.Reload(parameters);
    WriteMeasurements(nowMs);
}

}  // namespace orvx::simulator
