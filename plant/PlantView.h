#pragma once

#include <QDateTime>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace orvx::plant {

class PlantSortProxy;
class PlantTableModel;

// The plant view: a filter field, the plant table (sorted by its Overdue column at first:
// overdue and failed valves on top; the user sorts by any column), the report exports and a
// status line. Double-click or Enter on a row hands its key to onOpen. A failure (a file chooser
// that cannot open, a report that cannot be written, an onOpen that throws) is said in the status
// line and logged.
class PlantView : public QWidget {
public:
    explicit PlantView(QWidget* parent = nullptr);
    ~PlantView() override;

    std::function<void(const QString& key)> onOpen;

    PlantTableModel* model() const { return m_model; }
    QTableView* table() const { return m_table; }
    PlantSortProxy* proxy() const { return m_proxy; }
    QLineEdit* filter() const { return m_filter; }
    QLabel* statusLine() const { return m_status; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Format { Csv, Pdf };
    void exportReport(Format format);
    void open(const QModelIndex& proxyIndex);
    void setColumnWidths();
    // Says a failure in the status line and logs it.
    void showFailure(const QString& text);

    PlantTableModel* m_model;
    PlantSortProxy* m_proxy;
    QLineEdit* m_filter;
    QTableView* m_table;
    QLabel* m_status;
};

}  // namespace orvx::plant
