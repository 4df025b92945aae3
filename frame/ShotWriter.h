#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QAbstractButton;
class QWidget;

namespace orvx::frame {

// Saves pictures of windows into one folder and counts them; a picture that cannot be written
// is reported in 'errors'.
class ShotWriter {
public:
    ShotWriter(const QString& folder, QStringList* errors) : m_folder(folder), m_errors(errors) {}

    void Take(QWidget* window, const QString& name);
    void Take(QWidget* window, const char* name) { Take(window, QString::fromLatin1(name)); }
    int Written() const { return m_written; }

private:
    QString m_folder;
    QStringList* m_errors;
    int m_written = 0;
};

// Selects the page with that label in the control's navigation tree; false when there is none.
bool selectPage(QWidget* control, const QString& label);

// The shown page's button with that item number (pages made earlier keep theirs, hidden).
QAbstractButton* visibleButton(QWidget* control, int item);

// Changes the device to the mode named ("Setup", "Manual", "Normal") with the shown page's mode
// button, as a user would, confirming the question about Normal mode; false, with the reason in
// 'errors', when the mode did not change within ten seconds.
bool changeMode(QWidget* control, const QString& mode, QStringList* errors);

// Runs the event loop until 'done' answers true or 'timeoutMs' has passed; answers 'done'.
bool waitFor(const std::function<bool()>& done, int timeoutMs);

}  // namespace orvx::frame
