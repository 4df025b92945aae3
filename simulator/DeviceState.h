#pragma once

#include "DiagnosticRecords.h"
#include "FaultSet.h"
#include "ParameterTable.h"
#include "PstSchedule.h"
#include "SimulatedFaults.h"
#include "StrokeSignature.h"
#include "ValveModel.h"

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace orvx::simulator {

// What the simulated device is at one moment: its parameters, its valve and the troubles it
// has, its diagnostic records and PST schedule, where manual mode holds the valve, and the
// stroke the device is driving itself, if any. The parts that run commands and answer the
// controls share it; it keeps the valve and the live values up to the scheduler's time.
class DeviceState {
public:
    explicit DeviceState(std::int64_t nowMs);

    ParameterTable parameters;
    ValveModel valve;
    SimulatedFaults faults;
    DiagnosticRecords records{parameters};
    PstSchedule schedule;
    std::optional<double> manualTarget;  // where manual mode holds the valve; none: where it stands
    std::optional<double> fixedOutput;   // mA the retransmitter holds; none: it follows the position
    std::map<const device::Parameter*, com::Variant> storedTuning;  // the tuning as the last tuning write sent it

    // Brings the valve up to 'nowMs' along its setpoint; while the device drives a stroke, the
    // stroke alone moves it.
    void AdvanceValve(std::int64_t nowMs);
    // The device drives the valve along 'samples' (time from 'nowMs', not empty) from now on.
    void BeginStroke(std::vector<StrokeSample> samples, std::int64_t nowMs);
    // Ends the stroke with the valve at rest where the stroke has it at 'nowMs', or at
    // 'position' when given; manual mode then holds it there.
    void EndStroke(std::int64_t nowMs, std::optional<double> position = std::nullopt);
    bool Stroking() const { return m_stroke.has_value(); }

    // The live values, the device's time counter and the schedule's countdown into the table.
    void WriteMeasurements(std::int64_t nowMs);
    // Seconds since the device left the factory, as DeviceCounter counts them.
    std::uint32_t Counter(std::int64_t nowMs) const;

    // The tuning parameters as a tuning write sends them to the controller.
    void StoreTuning();

    // Adds faults to the current faults and to the history.
    void RaiseFaults(const FaultSet& faults);
    // Takes a fault off the current faults; the history keeps it.
    void ClearFault(int bit);
    // Raises the supply alarms the measured supply is beyond.
    void LatchSupplyFaults();

    // The HART unit of the settings and results (PressureUnit).
    int PressureUnit() const;

    // What a write did beyond storing the value.
    enum class Written { Stored, IdentityChanged };
    // Stores a value written from outside by the device's rules: the invalid-entry count adds it
    // up; a pressure unit sets both units and converts the stored pressures; the configured tag,
    // descriptor and final assembly number become the header's too (IdentityChanged); the sample
    // interval is how often the next PST samples. A unit that is no pressure unit raises
    // com::ComError (InvalidArgument) and changes nothing.
    Written Write(const device::Parameter& parameter, const com::Variant& value, std::int64_t nowMs);
    // The value as the device reads it at 'nowMs': the countdown to the next scheduled PST up to
    // that moment.
    const com::Variant& Read(const device::Parameter& parameter, std::int64_t nowMs);

private:
    struct Stroke {
        std::vector<StrokeSample> samples;
        std::int64_t startMs;
    };
    double setpoint() const;
    void changePressureUnit(int unit, std::int64_t nowMs);
    StrokeSample where(std::int64_t nowMs) const;

    std::optional<Stroke> m_stroke;
    std::int64_t m_lastUpdate;  // scheduler time the valve was last advanced to
    double m_counterAtStart;    // the device's time counter (s) at scheduler time 0
};

}  // namespace orvx::simulator
