#pragma once

#include "StrokeSignature.h"
#include "ValveModel.h"
#include "device/Vocabulary.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orvx::simulator {

// A run in which the device drives the valve itself (find stops, a manual stop drive,
// autotune): the path the valve takes, worked out when the run starts, and how the run ends.
// A failed run ends where the device gave up.
class ValveRun {
public:
    // The valve 'ms' after the start, on the line between two samples.
    StrokeSample At(std::int64_t ms) const;
    const std::vector<StrokeSample>& Samples() const { return m_samples; }
    std::int64_t DurationMs() const { return m_samples.empty() ? 0 : m_samples.back().timeMs; }
    double EndPosition() const { return m_samples.empty() ? 0.0 : m_samples.back().position; }

    bool Failed() const { return m_failed; }
    // The fault bit the run raises when it fails, for whatever reason.
    int FailureBit() const { return m_failureBit; }
    // Parameters the device stores when the run succeeds, as texts, in the order stored.
    using Result = std::pair<const device::Parameter*, std::string>;
    const std::vector<Result>& Results() const { return m_results; }

    // Building a run, from the valve where it stands.
    ValveRun(const ValveModel& valve, int failureBit);
    double Compression() const { return m_valve.CompressionOf(m_samples.back().position); }
    double Pressure() const { return m_samples.back().pressurePsi; }
    // The valve stroked at a steady speed (percent of travel per second) to 'compression',
    // filling or exhausting the actuator against friction on the way.
    void Stroke(double compression, double percentPerSecond);
    // The valve following a step of its setpoint to 'compression', settling for 'ms'.
    void Step(double compression, std::int64_t ms);
    // The valve at rest while the actuator pressure settles toward 'pressurePsi'.
    void Hold(std::int64_t ms, double pressurePsi);
    void Fail() { m_failed = true; }
    void Store(const device::Parameter& parameter, std::string value)
    {
        m_results.emplace_back(&parameter, std::move(value));
    }

private:
    void add(std::int64_t ms, double compression, double pressurePsi);

    ValveModel m_valve;
    std::vector<StrokeSample> m_samples;
    std::vector<Result> m_results;
    int m_failureBit;
    bool m_failed = false;
};

}  // namespace orvx::simulator
