#pragma once

#include "DiagRecord.h"
#include "GraphData.h"
#include "PstGrading.h"
#include "SignatureAnalysis.h"

#include <QDate>
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
// copy a picture of itself, and export the curves, the chart and a PST report. A PST can be
// compared with another one, its baseline, drawn dashed under it with their results side by
// side, and can itself become the valve's baseline for later tests.
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
    // record's Interval and PresUnits values (an Interval of 0 or less: none, samples are
    // numbered). A file keeps no limits, so they become unknown.
    void SetFromFile(const DiagRecord& record);
    // What Save writes: kind, record and both curves.
    DiagRecord Record() const;
    // The figures read off the signature shown, at its sampling and in its unit.
    SignatureFigures Figures() const;
    // The limits the PST is graded against in its report; known only when loaded from the device.
    void SetLimits(std::optional<PstLimits> limits);
    // Called by the save button with the record; without a handler the button is disabled.
    void SetSaveHandler(SaveHandler handler);
    // The day of the test shown: its time stamp in a file, or the day it was read from the device.
    void SetRecordDate(const QDate& date);
    // The data file and record the test shown was read from, for Use as baseline to remember.
    void SetSource(const QString& file, const RecordKey& key);
    // Draws a PST of the same valve or another under the one shown and compares their results.
    void SetBaseline(const DiagRecord& baseline, const QDate& date);
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
    void compareWith();
    void useAsBaseline();
    void showComparison();

    CGraphData m_data;
    std::optional<PstLimits> m_limits;
    SaveHandler m_save;
    HistoryHandler m_history;
    int m_dataPoints = 0;
    bool m_checkingRange = false;
    std::unique_ptr<CDiagGraphForm> m_form;
    QDate m_recordDate;
    QString m_sourceFile;
    RecordKey m_sourceKey;
    std::optional<DiagRecord> m_baseline;
    QDate m_baselineDate;
};

}  // namespace orvx::diagnostics
