#include "StrokeSignature.h"

#include "ParameterTable.h"
#include "PressureUnits.h"

#include <algorithm>
#include <cmath>

namespace orvx::simulator {

namespace {

constexpr double kStepMs = 10.0;
constexpr double kRampPsiPerS = 10.0;  // the positioner's output ramp while the valve sticks
constexpr double kVentPerS = 2.0;      // share of the actuator pressure the positioner vents per second
constexpr double kTripVentPerS = 5.0;  // the ESD solenoid vents faster
constexpr double kFillPerS = 1.0;      // share of the gap to the supply the positioner fills per second
constexpr double kArrivedPercent = 0.05;
constexpr std::int64_t kTripRecordMs = 2000;

// The valve and its actuator during one stroke, in compression terms (ValveModel).
class Stroke {
public:
    explicit Stroke(const ValveModel& valve)
        : m_valve(valve), m_mechanics(valve.GetMechanics()), m_compression(valve.CompressionOf(valve.Position()))
    {
    }

    double Time() const { return m_timeMs; }
    double Position() const { return m_valve.PositionOf(m_compression); }
    double Pressure() const { return m_pressure; }

protected:
    // Moves the clock on; answers the step in seconds.
    double tick(double ms)
    {
        m_timeMs += ms;
        return ms / 1000.0;
    }
    double spring(double compression) const { return m_valve.SpringPressure(compression); }
    // Where the valve comes to rest under 'pressure' when friction acts by 'friction' against it.
    double balance(double pressure, double friction) const { return m_valve.RestCompression(pressure, friction); }

    const ValveModel& m_valve;
    const ValveModel::Mechanics m_mechanics;
    double m_compression;
    double m_pressure = 0.0;
    double m_timeMs = 0.0;
};

// A PST as the positioner runs it (StrokeSignature::PartialStroke). Its guards are looked at
// once per recorded sample, so that where the test stopped is the last sample of curve 1.
class PstRun : public Stroke {
public:
    enum class Phase { Breakaway, Exhaust, Dwell, FillBreakaway, Fill, Done };

    PstRun(const ValveModel& valve, const PstSettings& settings)
        : Stroke(valve),
          m_settings(settings),
          m_start(m_compression),
          m_end(std::max(m_compression - settings.travel, 0.0)),
          m_restPressure(spring(m_compression))  // at rest mid-way in its friction band
    {
        m_pressure = m_restPressure;
        // The positioner vents no lower than the minimum, nor, before the valve moves, further
        // than the breakout limit below where it started.
        m_floor = std::max(settings.minimumPsi, m_pressure - settings.breakoutLimitPsi);
    }

    Phase Now() const { return m_phase; }
    bool Filling() const { return m_filling; }
    double Target() const { return m_valve.PositionOf(m_end); }

    void Step(double ms)
    {
        const double dt = tick(ms);
        if (m_phase >= Phase::FillBreakaway && m_timeMs > (m_settings.maxTimeS + kReturnGraceS) * 1000.0) {
            m_phase = Phase::Done;  // a valve that cannot be brought back is left to its setpoint
            return;
        }
        const double friction = m_mechanics.frictionPsi;
        const double breakaway = m_mechanics.breakawayPsi;
        const double supply = m_valve.SupplyPressure();
        const double leak = m_mechanics.leakPerS * m_pressure * dt;  // lost wherever the relay is
        switch (m_phase) {
        case Phase::Breakaway:
            m_pressure = std::max(m_pressure - std::min(kRampPsiPerS, kVentPerS * m_pressure) * dt - leak, m_floor);
            if (m_pressure <= spring(m_compression) - breakaway)
                begin(Phase::Exhaust);
            break;
        case Phase::Exhaust: {
            // The ramp goes on from wherever a slip at breakaway took the valve.
            m_setpoint = std::max(m_end, std::min(m_setpoint, m_compression) - m_settings.speed * dt);
            const double wanted = std::max(spring(m_setpoint) - friction, m_settings.minimumPsi);
            if (wanted < m_pressure)
                m_pressure = std::max(wanted, m_pressure - kVentPerS * m_pressure * dt - leak);
            m_compression = std::min(m_compression, balance(m_pressure, -friction));
            if (m_compression <= m_end + 1e-6)
                begin(Phase::Dwell);
            break;
        }
        case Phase::Dwell:
            hold(dt, leak, supply);
            if (m_timeMs - m_dwellFromMs >= m_settings.dwellS * 1000.0)
                begin(Phase::FillBreakaway);
            break;
        case Phase::FillBreakaway:
            m_pressure += std::min(kRampPsiPerS, kFillPerS * (supply - m_pressure)) * dt - leak;
            if (m_compression >= m_start - 1e-6 && m_pressure >= m_restPressure)
                begin(Phase::Done);  // stopped before it moved: the pressure back is all
            else if (m_pressure >= spring(m_compression) + breakaway)
                begin(Phase::Fill);
            break;
        case Phase::Fill: {
            m_setpoint = std::min(m_start, std::max(m_setpoint, m_compression) + m_settings.speed * dt);
            const double wanted = spring(m_setpoint) + friction;
            if (wanted > m_pressure)
                m_pressure = std::min(wanted, m_pressure + kFillPerS * (supply - m_pressure) * dt - leak);
            m_compression = std::max(m_compression, balance(m_pressure, friction));
            // Short of supply the valve only creeps up to its last bit of travel.
            if (m_compression >= m_start - (m_setpoint < m_start ? 1e-6 : kArrivedPercent))
                begin(Phase::Done);
            break;
        }
        case Phase::Done: break;
        }
    }

    // Stops the test, filling back, once the actuator is down to the minimum pressure, the valve
    // has not broken away within the breakout limit, or the test has run past its time.
    void Guard()
    {
        if (m_phase > Phase::Dwell)
            return;
        const bool atFloor = (m_phase == Phase::Breakaway && m_pressure <= m_floor + 1e-6) ||
                             m_pressure <= m_settings.minimumPsi + 1e-6;
        if (atFloor || m_timeMs >= m_settings.maxTimeS * 1000.0) {
            m_stopped = true;
            begin(Phase::FillBreakaway);
        }
    }
    bool Stopped() const { return m_stopped; }

private:
    static constexpr double kHoldBandPercent = 0.5;  // the positioner's dead zone
    static constexpr double kReturnGraceS = 60.0;

    // The dwell: the relay closed, so that what the actuator loses shows. A valve that slips more
    // than the dead zone off the target is filled back to it, and the relay closes again.
    void hold(double dt, double leak, double supply)
    {
        const double friction = m_mechanics.frictionPsi;
        const double breakaway = m_mechanics.breakawayPsi;
        if (m_refilling)
            m_pressure += kFillPerS * (supply - m_pressure) * dt;
        m_pressure = std::max(m_pressure - leak, 0.0);
        if (m_pressure < spring(m_compression) - breakaway)  // static friction gives way: it slips
            m_compression = balance(m_pressure, -friction);
        if (m_refilling && m_pressure > spring(m_compression) + breakaway)
            m_compression = std::min(m_end, balance(m_pressure, friction));
        if (m_compression < m_end - kHoldBandPercent)
            m_refilling = true;
        else if (m_refilling && m_compression >= m_end - 1e-6)
            m_refilling = false;
    }

    void begin(Phase phase)
    {
        m_phase = phase;
        m_setpoint = m_compression;
        m_filling = m_filling || phase == Phase::FillBreakaway;
        if (phase == Phase::Dwell)
            m_dwellFromMs = m_timeMs;
    }

    const PstSettings m_settings;
    const double m_start;
    const double m_end;
    const double m_restPressure;
    double m_floor;
    Phase m_phase = Phase::Breakaway;
    bool m_filling = false;
    bool m_refilling = false;
    bool m_stopped = false;
    double m_setpoint = 0.0;
    double m_dwellFromMs = 0.0;
};

class TripRun : public Stroke {
public:
    explicit TripRun(const ValveModel& valve) : Stroke(valve) { m_pressure = valve.ActuatorPressure(); }

    void Step(double ms)
    {
        const double dt = tick(ms);
        m_pressure -= kTripVentPerS * m_pressure * dt;
        m_moving = m_moving || m_pressure <= spring(m_compression) - m_mechanics.breakawayPsi;
        if (m_moving)
            m_compression = std::min(m_compression, balance(m_pressure, -m_mechanics.frictionPsi));
    }

private:
    bool m_moving = false;
};

// Runs 'run' up to 'ms'.
template <class Run>
void runTo(Run& run, std::int64_t ms)
{
    while (run.Time() < static_cast<double>(ms) - 1e-9)
        run.Step(std::min(kStepMs, static_cast<double>(ms) - run.Time()));
}

}  // namespace

StrokeSignature StrokeSignature::PartialStroke(const ValveModel& valve, const PstSettings& settings)
{
    StrokeSignature signature;
    signature.m_intervalMs = std::max<std::int64_t>(settings.intervalMs, 1);
    PstRun run(valve, settings);
    signature.m_target = run.Target();
    for (std::int64_t at = 0;; at += signature.m_intervalMs) {
        runTo(run, at);
        if (!run.Filling())
            signature.m_fillFrom = signature.m_samples.size() + 1;
        signature.m_samples.push_back({at, run.Position(), run.Pressure()});
        if (run.Now() == PstRun::Phase::Done)
            break;
        run.Guard();
    }
    signature.m_stopped = run.Stopped();
    return signature;
}

StrokeSignature StrokeSignature::Trip(const ValveModel& valve, std::int64_t intervalMs)
{
    StrokeSignature signature;
    signature.m_intervalMs = std::max<std::int64_t>(intervalMs, 1);
    signature.m_target = valve.FailPosition();
    TripRun run(valve);
    for (std::int64_t at = 0; at <= kTripRecordMs; at += signature.m_intervalMs) {
        runTo(run, at);
        signature.m_samples.push_back({at, run.Position(), run.Pressure()});
    }
    signature.m_fillFrom = signature.m_samples.size();
    return signature;
}

StrokeSample sampleAt(const std::vector<StrokeSample>& samples, std::int64_t ms)
{
    const auto later = std::ranges::upper_bound(samples, ms, {}, &StrokeSample::timeMs);
    if (later == samples.begin())
        return samples.front();
    if (later == samples.end())
        return samples.back();
    const StrokeSample& before = *std::prev(later);
    const double share = static_cast<double>(ms - before.timeMs) / static_cast<double>(later->timeMs - before.timeMs);
    return {ms, before.position + (later->position - before.position) * share,
            before.pressurePsi + (later->pressurePsi - before.pressurePsi) * share};
}

StrokeSample StrokeSignature::At(std::int64_t ms) const
{
    if (m_samples.empty())
        return {ms, 0.0, 0.0};
    return sampleAt(m_samples, ms);
}

std::string StrokeSignature::CurveText(int curve, int unit) const
{
    std::string text;
    for (const StrokeSample& sample : curve == 1 ? Exhaust() : Fill()) {
        if (!text.empty())
            text += '@';
        text += fixed(fromPsi(sample.pressurePsi, unit), 4) + '@' + fixed(sample.position, 4);
    }
    return text;
}

}  // namespace orvx::simulator
