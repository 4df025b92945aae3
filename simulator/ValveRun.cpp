#include "ValveRun.h"

#include <algorithm>
#include <cmath>

namespace orvx::simulator {

namespace {

constexpr std::int64_t kSampleMs = 100;
constexpr double kPressureTimeConstantMs = 500.0;  // the actuator venting or filling at rest

}  // namespace

ValveRun::ValveRun(const ValveModel& valve, int failureBit) : m_valve(valve), m_failureBit(failureBit)
{
    m_samples.push_back({0, valve.Position(), valve.ActuatorPressure()});
}

StrokeSample ValveRun::At(std::int64_t ms) const
{
    return sampleAt(m_samples, ms);  // a run starts with the valve as it stood
}

void ValveRun::add(std::int64_t ms, double compression, double pressurePsi)
{
    m_samples.push_back({m_samples.back().timeMs + ms, m_valve.PositionOf(std::clamp(compression, 0.0, 100.0)),
                         std::clamp(pressurePsi, 0.0, m_valve.SupplyPressure())});
}

void ValveRun::Stroke(double compression, double percentPerSecond)
{
    const double from = Compression();
    const double friction = m_valve.GetMechanics().frictionPsi;
    const double sign = compression > from ? 1.0 : -1.0;
    const auto steps = static_cast<std::int64_t>(
        std::ceil(std::abs(compression - from) / std::max(percentPerSecond, 0.1) * 1000.0 / kSampleMs));
    for (std::int64_t i = 1; i <= steps; ++i) {
        const double c = from + (compression - from) * static_cast<double>(i) / static_cast<double>(steps);
        add(kSampleMs, c, m_valve.SpringPressure(c) + sign * friction);
    }
}

void ValveRun::Step(double compression, std::int64_t ms)
{
    const double from = Compression();
    const double friction = m_valve.GetMechanics().frictionPsi;
    double last = from;
    for (std::int64_t t = kSampleMs; t <= ms; t += kSampleMs) {
        const double c = compression +
                         (from - compression) * std::exp(-static_cast<double>(t) / ValveModel::kTimeConstantMs);
        const double speed = (c - last) * 1000.0 / kSampleMs;  // percent per second
        const double push = std::abs(speed) > 0.5 ? (speed > 0 ? friction : -friction) : 0.0;
        add(kSampleMs, c, m_valve.SpringPressure(c) + push);
        last = c;
    }
}

void ValveRun::Hold(std::int64_t ms, double pressurePsi)
{
    const double c = Compression();
    const double from = Pressure();
    for (std::int64_t t = kSampleMs; t <= ms; t += kSampleMs)
        add(kSampleMs, c,
            pressurePsi + (from - pressurePsi) * std::exp(-static_cast<double>(t) / kPressureTimeConstantMs));
}

}  // namespace orvx::simulator
