#pragma once

#include <QSortFilterProxyModel>

namespace orvx::plant {

class PlantTableModel;

// Sorts and filters the plant table. Each column sorts by its value (dates as moments, the
// status worst first, the device id as a number); rows equal there keep the attention order,
// which is also the order of the Overdue column: overdue first, then failed, then worst health,
// then tag. The filter keeps the rows whose tag, device id or status text holds it, case ignored.
class PlantSortProxy : public QSortFilterProxyModel {
public:
    explicit PlantSortProxy(PlantTableModel& model, QObject* parent = nullptr);

    void setFilterText(const QString& text);
    const QString& filterText() const { return m_filter; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    PlantTableModel& m_model;
    QString m_filter;
};

}  // namespace orvx::plant
