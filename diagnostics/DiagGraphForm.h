#pragma once

#include <array>

class QCheckBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvx::chart {
class CDiagChart;
}

namespace orvx::diagnostics {

class CBaselinePanel;

// The diagnostic graph's numbered items.
namespace graph_item {
inline constexpr int ExportToExcel = 357;
inline constexpr int Capture = 358;
inline constexpr int Close = 359;
inline constexpr int XLow = 360;
inline constexpr int XHigh = 361;
inline constexpr int YLow = 362;
inline constexpr int YHigh = 363;
inline constexpr int PositionVsPressure = 364;
inline constexpr int AgainstTime = 365;
inline constexpr int DataPoints = 366;
inline constexpr int Chart = 367;
inline constexpr int FirstLegend = 368;   // beside the red sample
inline constexpr int SecondLegend = 369;  // beside the blue or the dark red sample
inline constexpr int BlueSample = 370;
inline constexpr int DarkRedSample = 371;
inline constexpr int Save = 372;
inline constexpr int Group = 405;
}  // namespace graph_item

// The four range edits, in the order of their item numbers.
enum RangeEdit { XLowEdit, XHighEdit, YLowEdit, YHighEdit };

// The widgets of the diagnostic graph window, built once and handed out typed. The buttons
// without a number are the exports added to the window.
struct CDiagGraphForm {
    QGroupBox* group = nullptr;
    chart::CDiagChart* chart = nullptr;
    std::array<QLineEdit*, 4> range{};
    QRadioButton* positionVsPressure = nullptr;
    QRadioButton* againstTime = nullptr;
    QCheckBox* dataPoints = nullptr;
    QLabel* firstLegend = nullptr;
    QLabel* secondLegend = nullptr;
    QLabel* redSample = nullptr;
    QLabel* blueSample = nullptr;
    QLabel* darkRedSample = nullptr;
    QPushButton* capture = nullptr;
    QPushButton* save = nullptr;
    QPushButton* exportCsv = nullptr;
    QPushButton* exportPng = nullptr;
    QPushButton* pstReport = nullptr;
    QPushButton* compareWith = nullptr;
    QPushButton* useAsBaseline = nullptr;
    CBaselinePanel* baseline = nullptr;
    QPushButton* history = nullptr;
    QPushButton* close = nullptr;
    QPushButton* exportToExcel = nullptr;

    // Lays the widgets out on the dialog, in the order Tab walks them: range edits, plot mode,
    // data points, then the buttons.
    static CDiagGraphForm Build(QDialog& dialog);
};

}  // namespace orvx::diagnostics
