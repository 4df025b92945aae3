#pragma once

#include "PstGrading.h"

#include <QDialog>
#include <QList>

#include <cstdint>
#include <optional>

class QLabel;
class QLineEdit;

namespace orvx::framework {
class IUIController;
}

namespace orvx::diagnostics {

// The result of the last partial stroke test, each graded row beside its limits, read from the
// device when the window opens, and how friction, breakaway and droop changed since the valve's
// baseline test (both read off their signatures). View Graph shows the test's signature; Finish and Escape close.
class CPSTSummary : public QDialog {
public:
    CPSTSummary(framework::IUIController& controller, QWidget* owner = nullptr);

    // Reads the results and the limits again and grades them.
    void Refresh();
    // Runs the window modally over the owner.
    int Show();

private:
    void ShowValue(QLineEdit* edit, std::optional<double> value);
    void ShowGrade(int row, std::optional<bool> passed, const QString& limits);
    // How friction, breakaway and droop read off this test's signature changed since the
    // valve's baseline, in the results' unit; or why that cannot be said.
    void ShowBaselineChange(const std::optional<PstLimits>& limits);
    void ViewGraph();

    framework::IUIController& m_controller;
    QList<QLabel*> m_units;   // beside the pressures
    QList<QLabel*> m_limits;  // beside the graded rows
    QLabel* m_baselineChange = nullptr;
};

// Opens the summary of the last PST over 'owner'.
void showPstSummary(framework::IUIController& controller, QWidget* owner);

}  // namespace orvx::diagnostics
