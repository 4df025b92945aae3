#pragma once

namespace orvx::simulator {

// The valve and its single-acting spring-return actuator: the position follows a setpoint with
// a first-order lag, and the actuator pressure follows the position along the spring range,
// pushed up or down by friction while the valve moves. Pressures in psi, positions in percent.
class ValveModel {
public:
    static constexpr double kTimeConstantMs = 1500.0;
    static constexpr double kSpringLowPsi = 8.0;
    static constexpr double kSpringHighPsi = 24.0;
    static constexpr double kFrictionPsi = 3.0;

    // Clamped to what a loop can carry, 3.5 to 22 mA.
    void SetInputSignal(double mA);
    double InputSignal() const { return m_signal; }
    void SetSupplyPressure(double psi);
    double SupplyPressure() const { return m_supply; }
    // Air to open: pressure opens the valve; air to close: pressure closes it.
    void SetAirToOpen(bool airToOpen) { m_airToOpen = airToOpen; }

    // The position the signal asks for: 4 mA closed, 20 mA open, limited to 0..100.
    double SignalSetpoint() const;
    // Moves the valve 'ms' milliseconds on toward 'setpoint'.
    void Advance(double ms, double setpoint);

    double Position() const { return m_position; }
    double ActuatorPressure() const;

private:
    double m_signal = 12.0;
    double m_supply = 60.0;
    double m_position = 0.0;
    double m_velocity = 0.0;  // percent per second, of the last step
    bool m_airToOpen = true;
};

}  // namespace orvx::simulator
