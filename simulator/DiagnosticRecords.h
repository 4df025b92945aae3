#pragma once

#include "ParameterTable.h"
#include "PstResults.h"
#include "StrokeSignature.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>

namespace orvx::simulator {

// What the device keeps of its diagnostics, the last PST with its results and grade and the
// last ESD event, and how it loads either into the curve parameters. Pressures go out in the
// table's unit (PressureUnit).
class DiagnosticRecords {
public:
    // The curves 'table' holds stand for a PST run before the simulation started.
    explicit DiagnosticRecords(const ParameterTable& table);

    // The table's PST settings, within what the device can run, with the minimum pressure and
    // the breakout limit the test keeps to.
    PstSettings SettingsOf(const ParameterTable& table) const;
    // SampleInterval describes the loaded record; what a user writes there is how often the
    // next PST samples.
    void SetSampleInterval(std::int64_t ms) { m_sampleIntervalMs = std::clamp<std::int64_t>(ms, 10, 10'000); }

    // Measures a finished PST, grades it against the table's limits (friction, breakout and
    // droop), keeps it and writes its record into the table.
    PstResults::Grade StorePst(const StrokeSignature& signature, const PstSettings& settings, ParameterTable& table);
    // Keeps the record of the last ESD trip.
    void StoreEsdEvent(StrokeSignature event) { m_esdEvent = std::move(event); }

    // The last PST's results, curves and record values into the table; before any PST, the
    // curves the table started with.
    void LoadPst(ParameterTable& table);
    // The ESD event as curve 1 (ExhaustCurve), curve 2 empty; false, changing nothing, on a
    // device that has not tripped since it started.
    bool LoadEsdEvent(ParameterTable& table);
    // Writes the loaded record again, after a change of pressure unit.
    void Reload(ParameterTable& table);

private:
    struct Pst {
        StrokeSignature signature;
        PstSettings settings;
        PstResults results;
        bool passed;
    };

    std::optional<Pst> m_lastPst;
    std::map<const device::Parameter*, com::Variant> m_curvesAtStart;
    std::optional<StrokeSignature> m_esdEvent;
    bool m_esdLoaded = false;
    std::int64_t m_sampleIntervalMs;
};

}  // namespace orvx::simulator
