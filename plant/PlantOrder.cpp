#include "plant/PlantOrder.h"

#include <algorithm>
#include <vector>

namespace orvx::plant {

namespace {

bool failed(const ValveRow& row)
{
    return row.lastPassed == false;
}

}  // namespace

bool attentionLess(const ValveRow& a, const PstDue& aDue, const ValveRow& b, const PstDue& bDue)
{
    if (aDue.overdue != bDue.overdue)
        return aDue.overdue;
    if (failed(a) != failed(b))
        return failed(a);
    if (a.health != b.health)
        return a.health < b.health;  // the categories run worst first
    if (const int byTag = a.tag.compare(b.tag, Qt::CaseInsensitive); byTag != 0)
        return byTag < 0;
    return a.key < b.key;
}

QList<ValveRow> inAttentionOrder(QList<ValveRow> rows, const QDateTime& now)
{
    std::vector<std::pair<PstDue, ValveRow>> dated;
    dated.reserve(static_cast<std::size_t>(rows.size()));
    for (ValveRow& row : rows)
        dated.emplace_back(pstDue(row, now), std::move(row));
    std::ranges::sort(dated,
                      [](const auto& x, const auto& y) { return attentionLess(x.second, x.first, y.second, y.first); });
    QList<ValveRow> ordered;
    ordered.reserve(rows.size());
    for (auto& [due, row] : dated)
        ordered.append(std::move(row));
    return ordered;
}

}  // namespace orvx::plant
