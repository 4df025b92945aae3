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
    if (ms <= 0.0)
        return;
    const double before = m_position;
    m_position += (std::clamp(setpoint, 0.0, 100.0) - m_position) * (1.0 - std::exp(-ms / kTimeConstantMs));
    m_velocity = (m_position - before) * 1000.0 / ms;
}

double ValveModel::ActuatorPressure() const
{
    const double stroke = m_airToOpen ? m_position / 100.0 : 1.0 - m_position / 100.0;
    double pressure = kSpringLowPsi + (kSpringHighPsi - kSpringLowPsi) * stroke;
    // Filling pushes against friction, exhausting lets it hold the pressure back.
    const double filling = m_airToOpen ? m_velocity : -m_velocity;
    if (std::abs(filling) > 0.5)
        pressure += filling > 0 ? kFrictionPsi : -kFrictionPsi;
    return std::clamp(pressure, 0.0, m_supply);
}

}  // namespace orvx::simulator
