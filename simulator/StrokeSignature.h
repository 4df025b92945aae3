#pragma once

#include "ValveModel.h"

#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

namespace orvx::simulator {

// How a PST is to be run.
struct PstSettings {
    double travel = 10.0;  // percent, toward the fail position
    double speed = 5.0;    // percent per second
    double dwellS = 2.0;   // held at the end of the exhaust stroke
    std::int64_t intervalMs = 100;
    double maxTimeS = 60.0;  // the test gives up after this
    // The positioner never vents the actuator below this, and gives up the breakaway once the
    // pressure has fallen by the breakout limit without the valve moving; either stops the test.
    double minimumPsi = -std::numeric_limits<double>::infinity();
    double breakoutLimitPsi = std::numeric_limits<double>::infinity();
};

// The valve position and actuator pressure the device recorded at one moment of a stroke.
struct StrokeSample {
    std::int64_t timeMs;
    double position;
    double pressurePsi;
};

// The valve at 'ms' along samples in time order, interpolated between the two around it; the
// first or last sample outside them. 'samples' must not be empty.
StrokeSample sampleAt(const std::vector<StrokeSample>& samples, std::int64_t ms);

// A stroke of the valve as the device records it: samples at a fixed interval, split into
// curve 1 (the exhaust stroke, with the dwell after it) and curve 2 (the fill stroke).
class StrokeSignature {
public:
    // A PST on 'valve' from where it stands: the positioner lowers the pressure until the valve
    // breaks away, strokes it by the travel at the set speed, holds it for the dwell with its
    // relay closed, then fills until it breaks away again and strokes it back. Exhausting runs
    // below the spring line by the friction, filling above it, so the two curves make a
    // hysteresis loop. A test stopped by the settings' guards fills back from where it stopped:
    // curve 1 ends there, without a dwell.
    static StrokeSignature PartialStroke(const ValveModel& valve, const PstSettings& settings);
    // An ESD trip: the actuator vented at once, the spring driving the valve toward its fail
    // position. Curve 1 only.
    static StrokeSignature Trip(const ValveModel& valve, std::int64_t intervalMs);

    const std::vector<StrokeSample>& Samples() const { return m_samples; }
    std::span<const StrokeSample> Exhaust() const { return std::span(m_samples).first(m_fillFrom); }
    std::span<const StrokeSample> Fill() const { return std::span(m_samples).subspan(m_fillFrom); }
    std::int64_t IntervalMs() const { return m_intervalMs; }
    std::int64_t DurationMs() const { return m_samples.empty() ? 0 : m_samples.back().timeMs; }
    // Where the exhaust stroke was headed.
    double TargetPosition() const { return m_target; }
    // Whether the device stopped the test before it was done (PstSettings' guards).
    bool Stopped() const { return m_stopped; }
    // The valve 'ms' after the start, between two samples on the line joining them.
    StrokeSample At(std::int64_t ms) const;

    // Curve 1 or 2 as "pressure@position@...", pressures in the HART unit 'unit', four decimals
    // (as a data file keeps them).
    std::string CurveText(int curve, int unit) const;

private:
    std::vector<StrokeSample> m_samples;
    std::size_t m_fillFrom = 0;  // first sample of curve 2
    std::int64_t m_intervalMs = 100;
    double m_target = 0.0;
    bool m_stopped = false;
};

}  // namespace orvx::simulator
