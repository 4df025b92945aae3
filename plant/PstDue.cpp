#include "plant/PstDue.h"

namespace orvx::plant {

PstDue pstDue(const ValveRow& row, const QDateTime& now)
{
    if (!row.lastPst || !row.lastPst->isValid())
        return {std::nullopt, true};
    if (row.pstIntervalDays <= 0)
        return {};
    // In UTC a day is always 24 hours, so the due instant does not move with daylight saving.
    const QDateTime due = row.lastPst->toUTC().addDays(row.pstIntervalDays);
    return {due, due < now.toUTC()};
}

}  // namespace orvx::plant
