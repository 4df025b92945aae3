#include "SimulatedPlant.h"

#include "device/DataFileLines.h"
#include "simulator/PressureUnits.h"
#include "simulator/SimulatedHistory.h"
#include "simulator/SimulatedPositioner.h"
#include "store/PlantStore.h"

#include <chrono>
#include <optional>
#include <string>

namespace orvx::frame {

namespace {

namespace p = device::parameter;

// One simulated valve: who it is, its PSTs so far, and what troubles it now.
struct PlantValve {
    const char* tag;
    std::int32_t deviceId;
    int intervalDays;
    int tests;               // monthly PSTs kept of it; 0 for none
    int daysSinceLast;       // the last of them this long before now
    double frictionPerTest;  // psi a month
    int failedTest;          // the test, counted from 0, that an air leak fails; -1 for none
    std::optional<simulator::SimulatedFault> fault;
};

const PlantValve kValves[] = {
    {"PV-101", 305419, 90, 6, 20, 0.2, -1, std::nullopt},
    {"XV-201", 305420, 90, 8, 140, 0.2, -1, std::nullopt},
    {"XV-202", 305421, 30, 7, 12, 0.3, 6, std::nullopt},
    {"XV-305", 305422, 60, 12, 25, 0.9, -1, std::nullopt},
    {"SDV-410", 305423, 90, 0, 0, 0, -1, simulator::SimulatedFault::EsdTrip},
    {"SDV-411", 305424, 180, 4, 60, 0.1, -1, simulator::SimulatedFault::LowSupply},
};

void set(simulator::SimulatedPositioner& valve, const device::Parameter& parameter, const std::string& text)
{
    std::uint32_t word = 0;
    valve.SetParameter(com::BStr::fromUtf8(parameter.tag), com::Variant::text(com::BStr::fromUtf8(text)), &word);
}

diagnostics::Curve curveOf(std::span<const simulator::StrokeSample> samples, int unit)
{
    diagnostics::Curve curve;
    for (const simulator::StrokeSample& sample : samples) {
        curve.position.push_back(static_cast<float>(sample.position));
        curve.pressure.push_back(static_cast<float>(simulator::fromPsi(sample.pressurePsi, unit)));
    }
    return curve;
}

}  // namespace

SimulatedPlant::SimulatedPlant(simulator::IScheduler& scheduler)
{
    for (const PlantValve& plan : kValves) {
        auto valve = com::makeComObject<simulator::SimulatedPositioner>(scheduler);
        set(*valve, p::DeviceId, std::to_string(plan.deviceId));
        set(*valve, p::ConfiguredTag, plan.tag);
        set(*valve, p::PstInterval, std::to_string(plan.intervalDays));
        if (plan.fault)
            valve->SetFault(*plan.fault, true);
        m_valves.push_back(std::move(valve));
    }
}

SimulatedPlant::~SimulatedPlant()
{
    for (const auto& valve : m_valves)
        valve->Disconnect();
}

QString SimulatedPlant::Seed(store::PlantStore& store, const QDateTime& now) const
{
    using namespace std::chrono;
    for (const PlantValve& plan : kValves) {
        if (plan.tests == 0)
            continue;
        // The history runs a calendar month between tests; its last test lands daysSinceLast
        // before now, give or take the months' lengths.
        const QDate last = now.date().addDays(-plan.daysSinceLast);
        const QDate first = last.addMonths(-(plan.tests - 1));
        simulator::HistoryPlan history;
        history.tests = plan.tests;
        history.first = year_month_day(year(first.year()), month(unsigned(first.month())), day(unsigned(first.day())));
        history.frictionPerTestPsi = plan.frictionPerTest;
        history.leakAtTest = plan.failedTest;
        for (const simulator::HistoricPst& test : simulator::simulatePstHistory(history)) {
            diagnostics::DiagRecord record;
            record.tag = QString::fromLatin1(plan.tag);
            record.deviceId = plan.deviceId;
            record.values = test.values;
            const int unit = test.values[device::datafile::kPresUnits];
            record.curve1 = curveOf(test.signature.Exhaust(), unit);
            record.curve2 = curveOf(test.signature.Fill(), unit);
            const QDateTime taken = QDateTime::fromSecsSinceEpoch(test.when.time_since_epoch().count(), Qt::UTC);
            const store::KeepOutcome outcome = store.keep(
                {record, taken, QStringLiteral("simulated plant history"), now, std::nullopt});
            if (outcome.kind == store::KeepOutcome::Kind::Failed)
                return QStringLiteral("%1: %2").arg(record.tag, outcome.why);
        }
    }
    return {};
}

}  // namespace orvx::frame
