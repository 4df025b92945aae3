#pragma once

#include "ValveModel.h"

#include <set>
#include <vector>

namespace orvx::simulator {

// Troubles the simulated positioner can be told to have, so that failing tests and refused
// commands can be tried out without a broken valve.
enum class SimulatedFault {
    StickingValve,  // packing friction far above normal
    AirLeak,        // the actuator loses pressure while the positioner holds it
    WeakSpring,     // the spring has lost much of its force
    LowSupply,      // the air supply has dropped below its alarm limit
    EsdTrip,        // the ESD input has tripped: actuator vented, valve at its fail position
    DeviceBusy,     // every command is answered busy
    RefusesWrites,  // parameter writes and the commands that store settings fail
};

inline constexpr SimulatedFault kSimulatedFaults[] = {
    SimulatedFault::StickingValve, SimulatedFault::AirLeak,    SimulatedFault::WeakSpring,    SimulatedFault::LowSupply,
    SimulatedFault::EsdTrip,       SimulatedFault::DeviceBusy, SimulatedFault::RefusesWrites,
};

// Lower-case words, as a status line shows them.
const char* nameOf(SimulatedFault fault);

// The simulated troubles in force, and what they make of the valve.
class SimulatedFaults {
public:
    // Answers whether that changed anything.
    bool Set(SimulatedFault fault, bool active);
    bool Has(SimulatedFault fault) const { return m_active.contains(fault); }
    // In the order of kSimulatedFaults.
    std::vector<SimulatedFault> Active() const;

    // A healthy valve's mechanics, or a sticking, leaking or weak-springed one's.
    ValveModel::Mechanics Mechanics() const;
    // What reaches the positioner from a supply line at 'linePsi'.
    double Supply(double linePsi) const;

private:
    std::set<SimulatedFault> m_active;
};

}  // namespace orvx::simulator
