#pragma once

namespace orvx::simulator {

// The valve, its single-acting spring-return actuator and the positioner's relay: the position
// follows a setpoint with a first-order lag, and the actuator pressure follows the position
// along the spring range, pushed up or down by friction while the valve moves. Pressures in psi,
// positions in percent. The physics every stroke of the simulator is worked out with lives here
// (docs/simulator.md).
//
// "Compression" is the spring's travel: 0 at the fail position (actuator vented), 100 at the
// other end. It equals the position for air to open and runs against it for air to close.
class ValveModel {
public:
    static constexpr double kTimeConstantMs = 1500.0;

    // What the valve is made of, as actuator pressures.
    struct Mechanics {
        double springLowPsi = 15.0;   // bench set: the spring balanced at the fail position
        double springHighPsi = 35.0;  // and at the other end
        double frictionPsi = 3.0;     // sliding friction
        double breakawayPsi = 3.3;    // static friction, overcome before the valve first moves
        double leakPerS = 0.0;        // share of its pressure the actuator loses per second: tight
    };

    // How far the valve goes, as compressions, with the actuator vented and with it loaded from
    // the supply: to its stops, or to where friction, or a supply too low for the spring, holds
    // it short of them.
    struct Reach {
        double vented;
        double loaded;
    };

    void SetMechanics(const Mechanics& mechanics) { m_mechanics = mechanics; }
    const Mechanics& GetMechanics() const { return m_mechanics; }

    // Clamped to what a loop can carry, 3.5 to 22 mA.
    void SetInputSignal(double mA);
    double InputSignal() const { return m_signal; }
    void SetSupplyPressure(double psi);
    double SupplyPressure() const { return m_supply; }
    // Air to open: pressure opens the valve; air to close: pressure closes it.
    void SetAirToOpen(bool airToOpen) { m_airToOpen = airToOpen; }
    bool AirToOpen() const { return m_airToOpen; }

    // The position the signal asks for: 4 mA closed, 20 mA open, limited to 0..100.
    double SignalSetpoint() const;
    // Moves the valve 'ms' milliseconds on toward 'setpoint', as far as the supply can push
    // the spring. A tripped valve stays where it is.
    void Advance(double ms, double setpoint);
    // Puts the valve at rest at 'position'.
    void SetPosition(double position);

    // The actuator vented by the ESD circuit: the valve stays at 'position' (where its spring
    // took it) until released, then follows its setpoint again.
    void Trip(double position);
    void Release() { m_tripped = false; }
    bool IsTripped() const { return m_tripped; }

    double Position() const { return m_position; }
    double ActuatorPressure() const;

    double CompressionOf(double position) const { return m_airToOpen ? position : 100.0 - position; }
    double PositionOf(double compression) const { return m_airToOpen ? compression : 100.0 - compression; }
    double FailPosition() const { return PositionOf(0.0); }

    // The pressure that balances the spring at a compression, friction aside.
    double SpringPressure(double compression) const;
    // Where the valve comes to rest under 'pressurePsi' while friction holds back 'frictionPsi'
    // of it: positive while the pressure pushes the spring, negative while the spring pushes
    // back. Within 0 to 100; a spring without rate (its two ends at one pressure) holds the valve
    // at one of its ends.
    double RestCompression(double pressurePsi, double frictionPsi) const;
    Reach Reachable() const;

    // Stroke speeds of the relay, percent of travel per second: venting is as fast as the spring
    // pushes, filling slows as the supply comes closer to what the spring needs at its far end.
    double VentSpeed() const;
    double FillSpeed() const;

private:
    Mechanics m_mechanics;
    double m_signal = 12.0;
    double m_supply = 60.0;
    double m_position = 50.0;  // at rest where 12 mA puts it
    double m_velocity = 0.0;   // percent per second, of the last step
    bool m_airToOpen = true;
    bool m_tripped = false;
};

}  // namespace orvx::simulator
