#include "ValveModel.h"

#include <algorithm>
#include <cmath>

namespace orvx::simulator {

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
    const double rate = (m_mechanics.springHighPsi - m_mechanics.springLowPsi) / 100.0;
    const double reach = rate > 0.0 ? (m_supply - m_mechanics.frictionPsi - m_mechanics.springLowPsi) / rate : 100.0;
    const double target = PositionOf(
        std::clamp(CompressionOf(std::clamp(setpoint, 0.0, 100.0)), 0.0, std::clamp(reach, 0.0, 100.0)));
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
