#pragma once

#include "DiagRecord.h"
#include "GraphData.h"
#include "PstGrading.h"

#include <QDialog>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace orvx::diagnostics {

class CGraphExports;
struct CDiagGraphForm;

// The modal window that shows a PST signature or an ESD event: the exhaust and the fill stroke
// as position against pressure, or position and pressure against time. Callers set the curves,
// the sampling and the record, then Show() it; it can save what it shows into a data file,
// copy a picture of itself, and export the curves, the chart and a PST report.
class CDiagGraph : public QDialog {
public:
    using SaveHandler = std::function<void(const DiagRecord&, QWidget*)>;

    explicit CDiagGraph(QWidget* owner = nullptr);
    ~CDiagGraph() override;

    // Reads a device curve text into curve 1 (exhaust) or 2 (fill). False, with the curve as
    // it was, for an empty, missing or unreadable text (see parseCurveText()).
    bool SetCurveText(const QString& text, int which);
    // The sample interval in milliseconds and the HART pressure unit code.
    void SetSampling(int intervalMs, int unitCode);
    void SetRecord(DiagKind kind, const QString& tag, std::int32_t deviceId,
                   const std::array<std::int32_t, kRecordValueCount>& values);
    // Kind, record and curves of a record read from a data file; the sampling comes from the
    // record's Interval and PresUnits values. A file keeps no limits, so they become unknown.
    void SetFromFile(const DiagRecord& record);
    // What Save writes: kind, record and both curves.
    DiagRecord Record() const;
    // The limits the PST is graded against in its report; known only when loaded from the device.
    void SetLimits(std::optional<PstLimits> limits);
    // Called by the save button with the record; without a handler the button is disabled.
    void SetSaveHandler(SaveHandler handler);
    // Called by History... with the record and the limits; without a handler the button is hidden.
    using HistoryHandler = std::function<void(const DiagRecord&, const std::optional<PstLimits>&, QWidget*)>;
    void SetHistoryHandler(HistoryHandler handler);

    // Prepares the window, centres it over the owner and runs it through the dialog service.
    int Show(QWidget* owner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int mode() const;
    void setUpChart();
    void applyKind();
    void relabel();
    void plot();
    void showRange(const ShownRange& range);
    void rangeEdited(int edit);
    void dataPointsChanged();
    void capture();
    CGraphExports exports();

    CGraphData m_data;
    std::optional<PstLimits> m_limits;
    SaveHandler m_save;
    HistoryHandler m_history;
    int m_dataPoints = 0;
    bool m_checkingRange = false;
    std::unique_ptr<CDiagGraphForm> m_form;
};

}  // namespace orvx::diagnostics
