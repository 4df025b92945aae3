#pragma once

#include "SignatureComparison.h"

#include <QWidget>

#include <vector>

class QLabel;
class QTableWidget;

namespace orvx::diagnostics {

// Under the diagnostic graph: the test beside its baseline, result by result, with the
// difference and its percentage; a result outside its configured limit shows as failing, in
// the test's column and the difference's. Hidden until there is a baseline.
class CBaselinePanel : public QWidget {
public:
    enum Column { NameColumn, CurrentColumn, BaselineColumn, DifferenceColumn, ChangeColumn, ColumnCount };

    explicit CBaselinePanel(QWidget* parent = nullptr);

    void Show(const std::vector<ComparisonRow>& rows, const QString& unit, const QString& title);

    QTableWidget* Table() const { return m_table; }
    QString Title() const;

    // The text colours of a graded cell.
    static QColor PassedColour();
    static QColor FailedColour();

private:
    QLabel* m_title;
    QTableWidget* m_table;
};

}  // namespace orvx::diagnostics
