#pragma once

#include "PstHistory.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;

namespace orvx::chart {
class CHistoryChart;
}
namespace orvx::framework {
class IUIController;
}

namespace orvx::diagnostics {

// The history window's numbered items.
namespace history_item {
inline constexpr int Close = 2;
inline constexpr int AddFile = 460;
inline constexpr int Value = 461;
inline constexpr int Chart = 462;
inline constexpr int Projection = 463;
inline constexpr int Summary = 464;
}  // namespace history_item

// The PSTs of one device over the years: one value at a time (friction, breakaway, droop,
// spring range) against the test dates, its limits dashed, failed tests marked, and under the
// chart when that value would reach a limit at its present rate (see projectTrend() for when a
// projection is given). Add File reads the device's tests from another data file; Close and
// Escape close it.
class CPstHistoryWindow : public QDialog {
public:
    // Limits in the history's unit; none when they are not known (a record from a file).
    CPstHistoryWindow(CPstHistory history, std::optional<PstLimits> limits, QWidget* owner = nullptr);
    ~CPstHistoryWindow() override;

    // Reads the device's tests from a data file; false, with a message and the history as it
    // was, when the file cannot be read or holds a record of the device without a date.
    bool AddFile(const QString& path);
    void ShowValue(HistoryValue value);
    HistoryValue ShownValue() const;
    const CPstHistory& History() const { return m_history; }

    // Centres the window over the owner and runs it through the dialog service.
    int Show(QWidget* owner);

private:
    void refresh();
    void chooseAndAdd();

    CPstHistory m_history;
    std::optional<PstLimits> m_limits;
    QComboBox* m_value = nullptr;
    chart::CHistoryChart* m_chart = nullptr;
    QLabel* m_summary = nullptr;
    QLabel* m_projection = nullptr;
};

// Where a history is opened from: the device it is for, the limits and their unit when known,
// and the file to read first (none: the user chooses one).
struct HistorySource {
    QString tag;
    std::int32_t deviceId = 0;
    std::optional<PstLimits> limits;
    std::optional<int> unit;  // of the limits; the series are shown in it
    QString file;
};

// Reads the source's file (asking for one when it has none; cancelling does nothing) and shows
// the device's history over 'owner'. A file that cannot be read, or holds no PST of the device,
// is said in a message box and no window opens.
void showPstHistory(const HistorySource& source, QWidget* owner);

// The history of the device the controller is connected to, graded against its limits.
void showDevicePstHistory(framework::IUIController& controller, QWidget* owner);

}  // namespace orvx::diagnostics
