#include "DeviceState.h"

#include "PressureUnits.h"

#include <algorithm>
#include <cmath>

namespace orvx::simulator {

DeviceState::DeviceState(std::int64_t nowMs) : m_lastUpdate(nowMs)
{
    m_counterAtStart = parameters.Number("16032") - static_cast<double>(nowMs / 1000);
    for (const char* tag : {"8000", "8001", "8002", "8003", "8004", "8005", "8006", "8007", "8008"})
        storedTuning[tag] = *parameters.Find(tag);
    schedule.Start(static_cast<std::int64_t>(parameters.Number("16013")),
                   static_cast<std::int64_t>(parameters.Number("16014")), nowMs);
}

void DeviceState::AdvanceValve(std::int64_t nowMs)
{
    if (!m_stroke) {
        valve.SetAirToOpen(parameters.Number("3000", 1) != 0);
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
    switch (static_cast<int>(parameters.Number("1000"))) {
    case 3: return valve.SignalSetpoint();                   // normal: the loop drives
    case 1: return manualTarget.value_or(valve.Position());  // manual: held until driven
    default: return valve.Position();                        // setup: the valve holds
    }
}

int DeviceState::PressureUnit() const
{
    return static_cast<int>(parameters.Number("4003", kPsi));
}

std::uint32_t DeviceState::Counter(std::int64_t nowMs) const
{
    return static_cast<std::uint32_t>(std::floor(m_counterAtStart + static_cast<double>(nowMs / 1000)));
}

void DeviceState::WriteMeasurements(std::int64_t nowMs)
{
    const int unit = static_cast<int>(parameters.Number("4007", kPsi));
    double position = valve.Position();
    double actuator = valve.ActuatorPressure();
    if (m_stroke) {
        const StrokeSample now = where(nowMs);
        position = now.position;
        actuator = now.pressurePsi;
    }
    const double supply = valve.SupplyPressure();
    const double second = parameters.Number("4004", 1) == 0 ? std::max(supply - actuator, 0.0) : 0.0;
    const double pilot = 3.0 + 12.0 * actuator / std::max(supply, 1.0);  // I/P output, 3 to 15 psi
    const auto pressure = [&](const char* tag, double psi) {
        parameters.SetNumber(tag, fromPsi(psi, unit), pressureDecimals(unit));
    };
    parameters.SetNumber("2000", valve.InputSignal(), 2);
    parameters.SetNumber("2003", position, 2);
    pressure("2006", actuator);
    pressure("2009", supply);
    pressure("13000", actuator);
    pressure("13001", second);
    pressure("13002", pilot);
    parameters.SetNumber("13012", (pilot - 3.0) / 12.0 * 100.0, 1);      // I/P output, percent
    parameters.SetNumber("13013", 0.2 + (pilot - 3.0) / 12.0 * 1.6, 2);  // I/P drive, mA
    // Converter counts
    const double lowStop = parameters.Number("13010");
    const double highStop = parameters.Number("13011");
    parameters.SetNumber("13006", valve.InputSignal() * 1000.0);
    parameters.SetNumber("13007", lowStop + (highStop - lowStop) * position / 100.0);
    parameters.SetNumber("13008", actuator * 100.0);
    parameters.SetNumber("13014", second * 100.0);
    parameters.SetNumber("13015", supply * 100.0);
    parameters.SetNumber("13016", pilot * 100.0);
    parameters.SetNumber("16032", Counter(nowMs));
    schedule.Show(parameters, nowMs);
}

void DeviceState::RaiseFaults(const FaultSet& raised)
{
    for (const char* tag : {"12000", "12001"}) {
        FaultSet set = FaultSet::FromHex(parameters.Text(tag));
        set |= raised;
        parameters.SetText(tag, set.Hex());
    }
}

void DeviceState::ClearFault(int bit)
{
    FaultSet current = FaultSet::FromHex(parameters.Text("12000"));
    current.Clear(bit);
    parameters.SetText("12000", current.Hex());
}

void DeviceState::LatchSupplyFaults()
{
    const double supply = valve.SupplyPressure();
    FaultSet raised;
    if (supply < toPsi(parameters.Number("5005", 0.0), PressureUnit()))
        raised.Raise(FaultSet::kLowSupply);
    if (supply > toPsi(parameters.Number("5006", INFINITY), PressureUnit()))
        raised.Raise(FaultSet::kHighSupply);
    RaiseFaults(raised);
}

}  // namespace orvx::simulator
