#include "plant/PlantTableModel.h"

#include "plant/ValveTexts.h"
#include "platform/ui/Colours.h"

#include <QFont>
#include <QSet>

namespace orvx::plant {

namespace {

const char* const kHeadings[] = {"Tag",      "Device id", "Reachable",    "Mode",    "Status",
                                 "Last PST", "Result",    "Next PST due", "Overdue", "Projection"};
static_assert(std::size(kHeadings) == PlantTableModel::ColumnCount);

}  // namespace

PlantTableModel::PlantTableModel(QObject* parent) : QAbstractTableModel(parent) {}

QString PlantTableModel::setNow(const QDateTime& now)
{
    if (!now.isValid())
        return QStringLiteral("The moment to judge the PSTs at is not a valid date and time; the table is unchanged.");
    m_now = now.toUTC();
    for (int i = 0; i < m_rows.size(); ++i)
        m_due[static_cast<std::size_t>(i)] = pstDue(m_rows[i], m_now);
    // Overdue changes a row's look as a whole, not only its due columns.
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    return {};
}

QString PlantTableModel::setRows(QList<ValveRow> rows)
{
    QSet<QString> keys;
    for (const ValveRow& row : rows) {
        if (row.key.isEmpty())
            return QStringLiteral("The valve %1 has no key; the table is unchanged.").arg(row.tag);
        if (keys.contains(row.key))
            return QStringLiteral("Two valves have the key %1; the table is unchanged.").arg(row.key);
        keys.insert(row.key);
    }
    beginResetModel();
    m_rows = std::move(rows);
    reindex();
    endResetModel();
    return {};
}

QString PlantTableModel::updateRow(const ValveRow& row)
{
    if (row.key.isEmpty())
        return QStringLiteral("The valve %1 has no key; the table is unchanged.").arg(row.tag);
    const auto found = m_byKey.constFind(row.key);
    if (found != m_byKey.cend()) {
        const int at = *found;
        m_rows[at] = row;
        m_due[static_cast<std::size_t>(at)] = pstDue(row, m_now);
        emit dataChanged(index(at, 0), index(at, ColumnCount - 1));
        return {};
    }
    const int at = static_cast<int>(m_rows.size());
    beginInsertRows({}, at, at);
    m_rows.append(row);
    m_due.push_back(pstDue(row, m_now));
    m_byKey.insert(row.key, at);
    endInsertRows();
    return {};
}

bool PlantTableModel::removeRow(const QString& key)
{
    const auto found = m_byKey.constFind(key);
    if (found == m_byKey.cend())
        return false;
    const int at = *found;
    beginRemoveRows({}, at, at);
    m_rows.removeAt(at);
    reindex();
    endRemoveRows();
    return true;
}

const ValveRow* PlantTableModel::row(const QString& key) const
{
    const auto found = m_byKey.constFind(key);
    return found == m_byKey.cend() ? nullptr : &m_rows[*found];
}

void PlantTableModel::reindex()
{
    m_byKey.clear();
    m_due.clear();
    m_due.reserve(static_cast<std::size_t>(m_rows.size()));
    for (int i = 0; i < m_rows.size(); ++i) {
        m_byKey.insert(m_rows[i].key, i);
        m_due.push_back(pstDue(m_rows[i], m_now));
    }
}

int PlantTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int PlantTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

bool PlantTableModel::needsAttention(int row) const
{
    return dueAt(row).overdue || m_rows[row].lastPassed == false;
}

QString PlantTableModel::text(int row, int column) const
{
    const ValveRow& valve = m_rows[row];
    const PstDue& due = dueAt(row);
    switch (column) {
    case Tag: return valve.tag;
    case DeviceId: return valve.deviceId < 0 ? QString() : QString::number(valve.deviceId);
    case Reachable: return valve.reachable ? QStringLiteral("Yes") : QStringLiteral("No");
    case Mode: return modeText(valve.mode);
    case Status: return healthText(valve.health);
    case LastPst: return valve.lastPst ? dayText(valve.lastPst) : QStringLiteral("none kept");
    case Result: return resultText(valve.lastPassed);
    case NextDue:
        if (due.due)
            return dayText(due.due);
        return valve.lastPst ? QStringLiteral("interval unknown") : QStringLiteral("now");
    case Overdue: return due.overdue ? QStringLiteral("Overdue") : QString();
    case Projection: return valve.projection;
    }
    return {};
}

QVariant PlantTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    const int row = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole: return text(row, column);
    case Qt::ToolTipRole:
        if (column == Projection && !m_rows[row].projection.isEmpty())
            return m_rows[row].projection;
        return {};
    case KeyRole: return m_rows[row].key;
    case Qt::TextAlignmentRole: return column == DeviceId ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    case Qt::FontRole: {
        if (!needsAttention(row))
            return {};
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    case Qt::ForegroundRole: {
        // The cells that say why the row stands out take the warning colour, which reads on a
        // light and a dark palette alike.
        const bool overdueCell = dueAt(row).overdue && (column == NextDue || column == Overdue);
        const bool failedCell = m_rows[row].lastPassed == false && column == Result;
        const bool failureCell = m_rows[row].health == DeviceHealth::Failure && column == Status;
        return overdueCell || failedCell || failureCell ? QVariant(ui::kWarningColour) : QVariant();
    }
    default: return {};
    }
}

QVariant PlantTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromLatin1(kHeadings[section]);
}

}  // namespace orvx::plant
