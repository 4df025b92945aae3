#pragma once

#include "simulator/SimulatedHistory.h"

#include <QFile>
#include <QString>

#include <stdexcept>

namespace orvx::test {

// Runs the simulated history (a PST a month from 2024-01-15 while friction creeps up, one
// failing on droop) and writes it into a data file as records of 'tag' and 'deviceId', each
// stamped with its simulated date, as the frame's Simulate > PST history does. Answers the tests.
inline std::vector<simulator::HistoricPst> writeSimulatedHistory(const QString& path, const QString& tag,
                                                                 std::int32_t deviceId,
                                                                 const simulator::HistoryPlan& plan = {})
{
    auto tests = simulator::simulatePstHistory(plan);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write the history file");
    file.write(QByteArray::fromStdString(simulator::pstHistoryFile(tests, tag.toStdString(), deviceId)));
    return tests;
}

}  // namespace orvx::test
