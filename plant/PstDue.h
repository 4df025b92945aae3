#pragma once

#include "plant/ValveRow.h"

#include <QDateTime>

#include <optional>

namespace orvx::plant {

// When a valve's next PST is due and whether it is overdue.
struct PstDue {
    std::optional<QDateTime> due;  // UTC; none without a kept PST or a known interval
    bool overdue = false;
};

// The next PST is due the interval's days after the last one; it is overdue once `now` is past
// that instant (at the instant itself it is still on time). A valve without a kept PST is
// overdue whatever its interval: an auditor asks about it first. A valve with a PST but an
// unknown interval is not overdue, and has no due date.
PstDue pstDue(const ValveRow& row, const QDateTime& now);

}  // namespace orvx::plant
