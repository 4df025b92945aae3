#include "plant/PlantSortProxy.h"

#include "plant/PlantOrder.h"
#include "plant/PlantTableModel.h"

#include <compare>

namespace orvx::plant {

namespace {

// A missing moment sorts before every known one: a valve that never had a PST comes first.
std::weak_ordering byMoment(const std::optional<QDateTime>& a, const std::optional<QDateTime>& b)
{
    if (!a || !b)
        return a.has_value() <=> b.has_value();
    return a->toMSecsSinceEpoch() <=> b->toMSecsSinceEpoch();
}

// Failed, then passed, then no result.
int resultRank(const std::optional<bool>& passed)
{
    return passed ? (*passed ? 1 : 0) : 2;
}

std::weak_ordering byColumn(int column, const ValveRow& a, const PstDue& aDue, const ValveRow& b, const PstDue& bDue)
{
    using C = PlantTableModel;
    switch (column) {
    case C::Tag: return a.tag.compare(b.tag, Qt::CaseInsensitive) <=> 0;
    case C::DeviceId: return a.deviceId <=> b.deviceId;
    case C::Reachable: return b.reachable <=> a.reachable;
    case C::Mode: return a.mode <=> b.mode;
    case C::Status: return a.health <=> b.health;
    case C::LastPst: return byMoment(a.lastPst, b.lastPst);
    case C::Result: return resultRank(a.lastPassed) <=> resultRank(b.lastPassed);
    case C::NextDue: return byMoment(aDue.due, bDue.due);
    case C::Projection: return a.projection.compare(b.projection, Qt::CaseInsensitive) <=> 0;
    default: return std::weak_ordering::equivalent;  // Overdue: the attention order alone
    }
}

}  // namespace

PlantSortProxy::PlantSortProxy(PlantTableModel& model, QObject* parent) : QSortFilterProxyModel(parent), m_model(model)
{
    setSourceModel(&model);
}

void PlantSortProxy::setFilterText(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed == m_filter)
        return;
    m_filter = trimmed;
    invalidateFilter();
}

bool PlantSortProxy::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    if (m_filter.isEmpty())
        return true;
    const ValveRow& row = m_model.rowAt(sourceRow);
    return row.tag.contains(m_filter, Qt::CaseInsensitive) ||
           (row.deviceId >= 0 && QString::number(row.deviceId).contains(m_filter)) ||
           healthText(row.health).contains(m_filter, Qt::CaseInsensitive);
}

bool PlantSortProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const int l = left.row();
    const int r = right.row();
    const ValveRow& a = m_model.rowAt(l);
    const ValveRow& b = m_model.rowAt(r);
    const std::weak_ordering order = byColumn(left.column(), a, m_model.dueAt(l), b, m_model.dueAt(r));
    if (order != 0)
        return order < 0;
    return attentionLess(a, m_model.dueAt(l), b, m_model.dueAt(r));
}

}  // namespace orvx::plant
