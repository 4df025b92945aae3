#pragma once

#include "platform/com/ComPtr.h"

#include <QDateTime>
#include <QString>

#include <vector>

namespace orvx::simulator {
class IScheduler;
class SimulatedPositioner;
}  // namespace orvx::simulator
namespace orvx::store {
class PlantStore;
}

namespace orvx::frame {

// A few simulated valves of a plant, each its own positioner with a tag, an age of PSTs behind it
// and troubles of its own, so that the plant view has something to say: one valve on time, one
// overdue, one whose last PST failed, one wearing toward its friction limit, one never tested
// and tripped, one on a low supply. The first is the positioner the program always simulated.
class SimulatedPlant {
public:
    // `scheduler` must outlive the plant.
    explicit SimulatedPlant(simulator::IScheduler& scheduler);
    ~SimulatedPlant();

    std::size_t Size() const { return m_valves.size(); }
    simulator::SimulatedPositioner& Valve(std::size_t index) { return *m_valves[index]; }

    // Keeps each valve's past PSTs in `store`, the last of them the valve's age before `now`.
    // Keeping them again keeps nothing twice. Answers an error text, or empty.
    QString Seed(store::PlantStore& store, const QDateTime& now) const;

private:
    std::vector<com::ComPtr<simulator::SimulatedPositioner>> m_valves;
};

}  // namespace orvx::frame
