#include "ValveModel.h"

#include <algorithm>
#include <cmath>

namespace orvx::simulator {

namespace {

constexpr double kVentSpeed = 20.0;        // percent per second
constexpr double kNominalHeadroom = 22.0;  // psi the supply leaves over spring and friction, at 60 psi

}  // namespace

void ValveModel::SetInputSignal(double mA)
{
    m_signal = std::clamp(mA, 3.5, 22.0);
}

void ValveModel::SetSupplyPressure(double psi)
{
    m_supply = std::max(psi, 0.0);
}

double ValveModel::SignalSetpoint() const
{
    return std::clamp((m_signal - 4.0) * 100.0 / 16.0, 0.0, 100.0);
}

void ValveModel::Advance(double ms, double setpoint)
{
    if (ms <= 0.0 || m_tripped)
        return;
    // The supply holds the spring no further than where it balances spring and friction.
    const double target = PositionOf(
        std::clamp(CompressionOf(std::clamp(setpoint, 0.0, 100.0)), 0.0, Reachable().loaded));
    const double before = m_position;
    m_position += (target - m_position) * (1.0 - std::exp(-ms / kTimeConstantMs));
    m_velocity = (m_position - before) * 1000.0 / ms;
}

void ValveModel::SetPosition(double position)
{
    m_position = std::clamp(position, 0.0, 100.0);
    m_velocity = 0.0;
}

void ValveModel::Trip(double position)
{
    SetPosition(position);
    m_tripped = true;
}

double ValveModel::SpringPressure(double compression) const
{
    return m_mechanics.springLowPsi + (m_mechanics.springHighPsi - m_mechanics.springLowPsi) * compression / 100.0;
}

double ValveModel::RestCompression(double pressurePsi, double frictionPsi) const
{
    const double excess = pressurePsi - frictionPsi - m_mechanics.springLowPsi;
    const double span = m_mechanics.springHighPsi - m_mechanics.springLowPsi;
    if (span <= 0.0)
        return excess > 0.0 ? 100.0 : 0.0;
    return std::clamp(excess * 100.0 / span, 0.0, 100.0);
}

ValveModel::Reach ValveModel::Reachable() const
{
    return {RestCompression(0.0, -m_mechanics.frictionPsi), RestCompression(m_supply, m_mechanics.frictionPsi)};
}

double ValveModel::VentSpeed() const
{
    return kVentSpeed;
}

double ValveModel::FillSpeed() const
{
    const double headroom = m_supply - m_mechanics.springHighPsi - m_mechanics.frictionPsi;
    return kVentSpeed * std::clamp(headroom / kNominalHeadroom, 0.25, 1.0);
}

double ValveModel::ActuatorPressure() const
{
    if (m_tripped)
        return 0.0;
    double pressure = SpringPressure(CompressionOf(m_position));
    // Filling pushes against friction, exhausting lets it hold the pressure back.
    const double filling = m_airToOpen ? m_velocity : -m_velocity;
    if (std::abs(filling) > 0.5)
        pressure += filling > 0 ? m_mechanics.frictionPsi : -m_mechanics.frictionPsi;
    return std::clamp(pressure, 0.0, m_supply);
}

}  // namespace orvx::simulator
