#pragma once

#include "plant/PstDue.h"
#include "plant/ValveRow.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QHash>
#include <QList>

#include <vector>

namespace orvx::plant {

// The plant table: one row per valve, in the order the rows were given. It never reads a clock
// and never polls: rows change only through setRows, updateRow and removeRow, the due dates
// only through setNow.
class PlantTableModel : public QAbstractTableModel {
public:
    enum Column { Tag, DeviceId, Reachable, Mode, Status, LastPst, Result, NextDue, Overdue, Projection, ColumnCount };
    // The row's key, for a view that has to name the valve it shows at an index.
    static constexpr int KeyRole = Qt::UserRole + 1;

    explicit PlantTableModel(QObject* parent = nullptr);

    // The moment overdue is judged at. An invalid moment is refused: the text says why and
    // nothing changes; else empty.
    QString setNow(const QDateTime& now);
    const QDateTime& now() const { return m_now; }

    // Replaces every row. Rows without a key or two rows with the same key are refused: the text
    // says which and the table stays as it was; else empty.
    QString setRows(QList<ValveRow> rows);
    // Replaces the row with the same key (only that row changes) or appends it. A row without a
    // key is refused with the reason; else empty.
    QString updateRow(const ValveRow& row);
    // Takes the row with this key out; false when there is none.
    bool removeRow(const QString& key);

    // The row with this key, or null.
    const ValveRow* row(const QString& key) const;
    QList<ValveRow> rows() const { return m_rows; }
    // The row at a model row number (0 to rowCount() - 1) and its PST due at now().
    const ValveRow& rowAt(int index) const { return m_rows[index]; }
    const PstDue& dueAt(int index) const { return m_due[static_cast<std::size_t>(index)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString text(int row, int column) const;
    bool needsAttention(int row) const;
    void reindex();

    QList<ValveRow> m_rows;
    std::vector<PstDue> m_due;  // by row, at m_now
    QHash<QString, int> m_byKey;
    QDateTime m_now;
};

}  // namespace orvx::plant
