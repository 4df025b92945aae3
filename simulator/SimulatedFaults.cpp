#include "SimulatedFaults.h"

#include <algorithm>
#include <iterator>

namespace orvx::simulator {

const char* nameOf(SimulatedFault fault)
{
    switch (fault) {
    case SimulatedFault::StickingValve: return "sticking valve";
    case SimulatedFault::AirLeak: return "air leak";
    case SimulatedFault::WeakSpring: return "weak spring";
    case SimulatedFault::LowSupply: return "low supply pressure";
    case SimulatedFault::EsdTrip: return "ESD trip";
    case SimulatedFault::DeviceBusy: return "device busy";
    case SimulatedFault::RefusesWrites: return "device refuses writes";
    }
    return "";
}

bool SimulatedFaults::Set(SimulatedFault fault, bool active)
{
    if (Has(fault) == active)
        return false;
    if (active)
        m_active.insert(fault);
    else
        m_active.erase(fault);
    return true;
}

std::vector<SimulatedFault> SimulatedFaults::Active() const
{
    std::vector<SimulatedFault> active;
    std::ranges::copy_if(kSimulatedFaults, std::back_inserter(active), [this](SimulatedFault f) { return Has(f); });
    return active;
}

ValveModel::Mechanics SimulatedFaults::Mechanics() const
{
    ValveModel::Mechanics mechanics;
    if (Has(SimulatedFault::StickingValve)) {  // far above the default friction high and breakout limits
        mechanics.frictionPsi = 17.0;
        mechanics.breakawayPsi = 17.5;
    }
    if (Has(SimulatedFault::AirLeak))  // a dwell drops it through the friction band and more
        mechanics.leakPerS = 0.35;
    if (Has(SimulatedFault::WeakSpring)) {  // preload and rate lost: it barely seats the valve
        mechanics.springLowPsi = 3.0;
        mechanics.springHighPsi = 17.0;
    }
    return mechanics;
}

double SimulatedFaults::Supply(double linePsi) const
{
    constexpr double kLowSupplyPsi = 26.0;  // below the low supply alarm, enough to stroke slowly
    return Has(SimulatedFault::LowSupply) ? std::min(linePsi, kLowSupplyPsi) : linePsi;
}

}  // namespace orvx::simulator
