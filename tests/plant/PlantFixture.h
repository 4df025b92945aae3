#pragma once

// Valves of a small plant for the table and report tests.
#include "plant/ValveRow.h"

#include <QList>

namespace orvx::test {

// The moment the tests judge the plant at.
inline const QDateTime kNow(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);

inline plant::ValveRow valve(const QString& tag, std::int32_t id, int daysSincePst = 10, int interval = 30,
                             std::optional<bool> passed = true, plant::DeviceHealth health = plant::DeviceHealth::Good)
{
    plant::ValveRow row;
    row.key = QStringLiteral("key-%1").arg(tag);
    row.tag = tag;
    row.deviceId = id;
    row.reachable = true;
    row.mode = 3;
    row.health = health;
    row.pstIntervalDays = interval;
    row.lastPst = kNow.addDays(-daysSincePst);
    row.lastPassed = passed;
    return row;
}

// One of each kind the team looks for, none in the order they should be read in.
inline QList<plant::ValveRow> smallPlant()
{
    using plant::DeviceHealth;
    plant::ValveRow never = valve(QStringLiteral("XV-900"), 900);
    never.lastPst.reset();
    never.lastPassed.reset();
    return {
        valve(QStringLiteral("XV-101"), 101),
        valve(QStringLiteral("xv-100"), 100),
        valve(QStringLiteral("XV-200"), 200, 10, 30, false),
        valve(QStringLiteral("XV-300"), 300, 40),
        valve(QStringLiteral("XV-400"), 400, 10, 30, true, DeviceHealth::Failure),
        never,
        valve(QStringLiteral("XV-500"), 500, 10, 30, true, DeviceHealth::MaintenanceRequired),
    };
}

// The order the team reads them in: overdue (by tag), failed, then worst health, then tag.
inline const QStringList kAttentionOrder{QStringLiteral("XV-300"), QStringLiteral("XV-900"), QStringLiteral("XV-200"),
                                         QStringLiteral("XV-400"), QStringLiteral("XV-500"), QStringLiteral("xv-100"),
                                         QStringLiteral("XV-101")};

}  // namespace orvx::test
