#pragma once

#include "plant/DeviceHealth.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace orvx::plant {

// One ESD valve of the plant as the plant view shows it: what the frame last learnt of the
// device, and what the plant store's PSTs of it say.
struct ValveRow {
    QString key;  // the frame's key for the device (unique), not shown
    QString tag;
    std::int32_t deviceId = -1;
    bool reachable = false;
    int mode = -1;  // 0 setup, 1 manual, 3 normal, -1 unknown
    DeviceHealth health = DeviceHealth::Unknown;
    int pstIntervalDays = 0;           // 0: unknown
    std::optional<QDateTime> lastPst;  // UTC, when the last kept PST was taken
    std::optional<bool> lastPassed;    // whether that PST passed
    QString projection;                // e.g. "friction reaches the high limit around 2027-05", or empty
    QStringList wear;                  // e.g. "Friction 12.3 psi, +38 % since 2026-01-10", for the report

    bool operator==(const ValveRow&) const = default;
};

}  // namespace orvx::plant
