#pragma once

#include "plant/PstDue.h"
#include "plant/ValveRow.h"

namespace orvx::plant {

// The order the maintenance team reads the plant in, the table's default and the reports':
// overdue valves first, then those whose last PST failed, then the worst health first, then by
// tag (case ignored), the key last so that the order is total. `aDue` and `bDue` are the rows'
// PST dues at the same moment.
bool attentionLess(const ValveRow& a, const PstDue& aDue, const ValveRow& b, const PstDue& bDue);

// The rows in that order at `now`.
QList<ValveRow> inAttentionOrder(QList<ValveRow> rows, const QDateTime& now);

}  // namespace orvx::plant
