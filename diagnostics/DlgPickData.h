#pragma once

#include "DiagRecord.h"

#include <QDialog>
#include <QList>

#include <optional>

class QLabel;
class QTreeWidget;

namespace orvx::diagnostics {

// Lists the records of a data file, one row each (kind, tag, time stamp, device id), so that
// the user can pick one to load; another file can be opened from the dialog.
class CDlgPickData : public QDialog {
public:
    explicit CDlgPickData(QWidget* owner = nullptr);

    // Asks for a file first; cancelling that closes the dialog as cancelled. Accepted only with a
    // row selected: File() and Key() then name the record.
    int Run();
    QString File() const { return m_file; }
    RecordKey Key() const { return m_key; }

    // Opens the file dialog and lists the chosen file's records; false when the user cancelled.
    // An empty or incompatible file is refused with a message and the list stays as it was.
    bool OpenAnotherFile();
    // Lists a file that is already chosen; false (after a message) when it cannot be listed.
    bool List(const QString& file);

protected:
    // Shares the list's width out among the columns whenever it changes.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void FitColumns();
    // Takes the selected row's key; false when no row is selected.
    bool TakeSelection();

    QTreeWidget* m_list = nullptr;
    QLabel* m_problems = nullptr;
    QString m_file;
    QList<RecordKey> m_keys;
    RecordKey m_key;
};

// A record the user picked from a data file, with where it is kept.
struct PickedRecord {
    DiagRecord record;
    QString file;
    RecordKey key;
};

// Lets the user pick a record of a data file and reads it; none when the user cancels, or after
// saying why it cannot be read.
std::optional<PickedRecord> pickRecord(QWidget* owner);

}  // namespace orvx::diagnostics
