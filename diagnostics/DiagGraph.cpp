#include "DiagGraph.h"

#include "BaselinePanel.h"
#include "Baselines.h"
#include "CurveText.h"
#include "DataFileDialogs.h"
#include "DiagGraphForm.h"
#include "DlgPickData.h"
#include "GraphExports.h"
#include "PstHistory.h"
#include "controls/PressureUnit.h"
#include "platform/chart/DiagChart.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/PostCall.h"
#include "platform/ui/Resources.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>

#include <algorithm>

namespace orvx::diagnostics {

namespace {

enum PlotMode { PositionVsPressure = 0, AgainstTime = 1 };

// Plots 0 and 1 are on the main axes; the position against time goes on the second axis.
constexpr int kFillPlot = 0;
constexpr int kExhaustPlot = 1;
constexpr int kPositionPlot = 2;
// The baseline's strokes, under the others.
constexpr int kBaselineFillPlot = chart::CDiagChart::kFirstReferencePlot;
constexpr int kBaselineExhaustPlot = kBaselineFillPlot + 1;

constexpr chart::ColourRef kWhite = 0xFFFFFF;
constexpr chart::ColourRef kSilver = 0xC0C0C0;
constexpr chart::ColourRef kDarkRed = 0x000080;
constexpr chart::ColourRef kRed = 0x0000FF;
constexpr std::int16_t kSecondAxisPlace = 170;

void load(chart::CDiagChart& chart, int plot, const std::vector<float>& x, const std::vector<float>& y)
{
    chart.LoadPlot(plot, static_cast<int>(std::min(x.size(), y.size())), x, y);
}

// A curve's pressures in another unit.
std::vector<float> pressuresIn(const Curve& curve, std::uint32_t from, std::uint32_t to)
{
    std::vector<float> out;
    out.reserve(curve.pressure.size());
    for (float p : curve.pressure)
        out.push_back(static_cast<float>(controls::convertPressure(p, from, to)));
    return out;
}

}  // namespace

CDiagGraph::CDiagGraph(QWidget* owner)
    : QDialog(owner), m_form(std::make_unique<CDiagGraphForm>(CDiagGraphForm::Build(*this)))
{
    setWindowTitle(QStringLiteral("Orvx ESD  - Diagnostic Graph"));
    setWindowIcon(ui::iconResource(202));
    CDiagGraphForm& f = *m_form;
    // Nothing a handler throws may return into the event loop.
    const auto on = [this](auto* sender, auto signal, const char* where, std::function<void()> call) {
        connect(sender, signal, this, [where, call = std::move(call)] { ui::runGuarded(where, call); });
    };
    for (int edit = XLowEdit; edit <= YHighEdit; ++edit) {
        QLineEdit* line = f.range[static_cast<std::size_t>(edit)];
        line->installEventFilter(this);
        on(line, &QLineEdit::returnPressed, "range edit", [this, edit] { rangeEdited(edit); });
    }
    // Either radio going on turns the other off: one signal is enough.
    on(f.againstTime, &QRadioButton::toggled, "plot mode", [this] { relabel(), plot(); });
    on(f.dataPoints, &QCheckBox::stateChanged, "data points", [this] { dataPointsChanged(); });
    on(f.capture, &QPushButton::clicked, "capture", [this] { capture(); });
    connect(f.close, &QPushButton::clicked, this, &QDialog::reject);
    on(f.save, &QPushButton::clicked, "save", [this] {
        if (m_save)
            m_save(Record(), this);
    });
    on(f.history, &QPushButton::clicked, "history", [this] {
        if (m_history)
            m_history(Record(), m_limits, this);
    });
    on(f.exportCsv, &QPushButton::clicked, "CSV export", [this] { exports().Csv(); });
    on(f.exportPng, &QPushButton::clicked, "PNG export", [this] { exports().Png(); });
    on(f.compareWith, &QPushButton::clicked, "compare", [this] { compareWith(); });
    on(f.useAsBaseline, &QPushButton::clicked, "use as baseline", [this] { useAsBaseline(); });
    on(f.pstReport, &QPushButton::clicked, "PST report", [this] {
        exports().PstReport(Figures(), m_limits,
                            mode() == AgainstTime ? QStringLiteral("Red: pressure. Blue: position.")
                                                  : QStringLiteral("Red: exhaust stroke. Dark red: fill stroke."));
    });
    f.save->setEnabled(false);
    f.positionVsPressure->setChecked(true);
    applyKind();
}

CDiagGraph::~CDiagGraph()
{
    // The edits outlive this part of the window; their focus events must not reach it.
    for (QLineEdit* line : m_form->range)
        line->removeEventFilter(this);
}

bool CDiagGraph::SetCurveText(const QString& text, int which)
{
    CurveTextResult read = parseCurveText(text);
    if (!read.Ok())
        return false;
    m_data.CurveOf(which) = std::move(read.curve);
    return true;
}

void CDiagGraph::SetSampling(int intervalMs, int unitCode)
{
    m_data.SetSampling(intervalMs, unitCode);
}

void CDiagGraph::SetRecord(DiagKind kind, const QString& tag, std::int32_t deviceId,
                           const std::array<std::int32_t, kRecordValueCount>& values)
{
    DiagRecord& record = m_data.Record();
    record.kind = kind;
    record.tag = tag;
    record.deviceId = deviceId;
    record.values = values;
    applyKind();
}

void CDiagGraph::SetFromFile(const DiagRecord& record)
{
    m_data.Record() = record;
    m_data.SetSampling(std::max(record.Value(RecordValue::Interval), 0), record.Value(RecordValue::PresUnits));
    m_limits.reset();
    applyKind();
}

DiagRecord CDiagGraph::Record() const
{
    return m_data.Record();
}

void CDiagGraph::SetLimits(std::optional<PstLimits> limits)
{
    m_limits = limits;
}

void CDiagGraph::SetRecordDate(const QDate& date)
{
    m_recordDate = date;
}

void CDiagGraph::SetSource(const QString& file, const RecordKey& key)
{
    m_sourceFile = file;
    m_sourceKey = key;
    m_recordDate = recordDate(key.dateTime);
}

void CDiagGraph::SetBaseline(const DiagRecord& baseline, const QDate& date)
{
    m_baseline = baseline;
    m_baselineDate = date;
    showComparison();
    plot();
}

void CDiagGraph::compareWith()
{
    const auto picked = pickRecord(this);
    if (!picked)
        return;
    if (picked->record.kind != DiagKind::Pst) {
        showDataFileError(this, QStringLiteral("Only a PST can be compared with this test: the record picked is "
                                               "an ESD event."));
        return;
    }
    SetBaseline(picked->record, recordDate(picked->key.dateTime));
}

SignatureFigures CDiagGraph::Figures() const
{
    const DiagRecord& record = m_data.Record();
    return analyseSignature(record.curve1, record.curve2, m_data.IntervalMs(),
                            static_cast<std::uint32_t>(m_data.UnitCode()));
}

void CDiagGraph::useAsBaseline()
{
    const DiagRecord& record = m_data.Record();
    const Baseline baseline{m_recordDate.isValid() ? m_recordDate : ui::currentDate(),
                            record.Value(RecordValue::PstPassed),
                            Figures(),
                            true,
                            m_sourceFile,
                            m_sourceKey};
    CBaselines baselines;
    // A test read off the device has no time of its own: it was taken about now.
    const QDateTime taken = m_sourceKey.dateTime.isEmpty() ? ui::currentDateTime() : recordTime(m_sourceKey.dateTime);
    QString why;
    if (!baselines.Remember(record.tag, record.deviceId, baseline, {taken, record}, &why)) {
        showDataFileError(this, QStringLiteral("The baseline was not set: %1.").arg(why));
        return;
    }
    ui::showMessage(this, QStringLiteral("Orvx ESD HART"),
                    QStringLiteral("This PST of %1 (%2) is now the valve's baseline: later tests are compared with it.")
                        .arg(record.tag.trimmed())
                        .arg(record.deviceId),
                    ui::MessageButtons::Ok, ui::MessageIcon::Information);
}

void CDiagGraph::showComparison()
{
    if (!m_baseline)
        return;
    const SignatureFigures current = Figures();
    const auto rows = compareFigures(current, analyseRecord(*m_baseline), m_limits);
    m_form->baseline->Show(rows, controls::pressureUnitWord(current.unitCode),
                           QStringLiteral("Dashed grey: the baseline, the PST of %1 on %2.")
                               .arg(m_baseline->tag.trimmed(), m_baselineDate.isValid()
                                                                   ? m_baselineDate.toString(Qt::ISODate)
                                                                   : QStringLiteral("an unknown day")));
    // The window grows by the table rather than squeezing the chart.
    if (isVisible())
        resize(width(), std::max(height(), sizeHint().height()));
}

void CDiagGraph::SetSaveHandler(SaveHandler handler)
{
    m_save = std::move(handler);
    m_form->save->setEnabled(static_cast<bool>(m_save));
}

void CDiagGraph::SetHistoryHandler(HistoryHandler handler)
{
    m_history = std::move(handler);
    applyKind();
}

int CDiagGraph::Show(QWidget* owner)
{
    setUpChart();
    showRange({});
    m_dataPoints = std::clamp(m_dataPoints, 0, 2);
    {
        const QSignalBlocker blocker(m_form->dataPoints);
        m_form->dataPoints->setCheckState(static_cast<Qt::CheckState>(m_dataPoints));
    }
    relabel();
    plot();
    applyKind();
    adjustSize();
    if (owner)
        move(owner->window()->frameGeometry().center() - rect().center());
    return ui::dialogService().RunModal(*this);
}

bool CDiagGraph::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        // Leaving the window or opening an edit's menu is no edit.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        const auto& range = m_form->range;
        const auto edit = std::find(range.begin(), range.end(), watched);
        if (edit != range.end() && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            const int which = static_cast<int>(edit - range.begin());
            ui::runGuarded("range edit", [this, which] { rangeEdited(which); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

int CDiagGraph::mode() const
{
    return m_form->againstTime->isChecked() ? AgainstTime : PositionVsPressure;
}

void CDiagGraph::setUpChart()
{
    chart::CDiagChart& chart = *m_form->chart;
    chart.SetBackgroundColour(kWhite);
    chart.SetGridColour(kSilver);
    chart.SetAxisCaptions(pressureCaption(m_data.UnitCode()), QString::fromLatin1(kPositionCaption));
    chart.SetFullRange(0, 100, 0, 100);
    chart.SetPlotColour(kFillPlot, kDarkRed);
    chart.SetPlotColour(kExhaustPlot, kRed);
    chart.SetGridShown(true);
    chart.SetAxisLabelsShown(true);
    chart.SetSmoothLines(true);
}

void CDiagGraph::applyKind()
{
    const bool pst = m_data.Record().kind == DiagKind::Pst;
    m_form->save->setText(pst ? QStringLiteral("&Save PST Signature to a File")
                              : QStringLiteral("&Save ESD Event to a File"));
    m_form->group->setTitle(pst ? QStringLiteral("OrvxESD - PST GRAPH") : QStringLiteral("OrvxESD - ESD GRAPH"));
    m_form->pstReport->setVisible(pst);
    m_form->compareWith->setVisible(pst);
    m_form->useAsBaseline->setVisible(pst);
    m_form->history->setVisible(pst && m_history);
}

void CDiagGraph::relabel()
{
    CDiagGraphForm& f = *m_form;
    const bool time = mode() == AgainstTime;
    f.firstLegend->setText(time ? QStringLiteral("Pressure") : QStringLiteral("Exhaust"));
    f.secondLegend->setText(time ? QStringLiteral("Position") : QStringLiteral("Fill"));
    f.blueSample->setVisible(time);
    f.darkRedSample->setVisible(!time);
}

void CDiagGraph::plot()
{
    // The points go first, then the captions, the second axis and the ranges are set once and
    // the chart laid out once, and the points come back last: while a plot holds points, each
    // of those changes lays them all out again.
    chart::CDiagChart& chart = *m_form->chart;
    for (int plot : {kFillPlot, kExhaustPlot, kPositionPlot, kBaselineFillPlot, kBaselineExhaustPlot})
        chart.LoadPlot(plot, 0, {}, {});
    const QString pressure = pressureCaption(m_data.UnitCode());
    const QString position = QString::fromLatin1(kPositionCaption);
    const DataRange range = m_data.Range();
    if (mode() == PositionVsPressure) {
        chart.SetAxisCaptions(pressure, position);
        chart.SetSecondAxisCaption({});
        chart.SetSecondAxisPlace(0);
        const ShownRange shown{range.pressureMin, range.pressureMax, range.positionMin, range.positionMax};
        chart.SetFullRange(shown.xLow, shown.xHigh, shown.yLow, shown.yHigh);
        showRange(shown);
        chart.LayOut();
        if (m_baseline) {
            const auto from = static_cast<std::uint32_t>(m_baseline->Value(RecordValue::PresUnits));
            const auto to = static_cast<std::uint32_t>(m_data.UnitCode());
            load(chart, kBaselineFillPlot, pressuresIn(m_baseline->curve2, from, to), m_baseline->curve2.position);
            load(chart, kBaselineExhaustPlot, pressuresIn(m_baseline->curve1, from, to), m_baseline->curve1.position);
        }
        const DiagRecord& record = m_data.Record();
        load(chart, kFillPlot, record.curve2.pressure, record.curve2.position);
        load(chart, kExhaustPlot, record.curve1.pressure, record.curve1.position);
        return;
    }
    const float total = m_data.TimeSpan();
    chart.SetAxisCaptions(m_data.TimeCaption(), pressure);
    chart.SetSecondAxisCaption(position);
    chart.SetSecondAxisRange(0, 120);
    chart.SetSecondAxisPlace(kSecondAxisPlace);
    chart.SetSecondAxis(1, 1);
    chart.SetFullRange(0, total, 0, range.pressureMax);
    showRange({0, total, 0, range.positionMax});
    chart.LayOut();
    const TimeSeries series = m_data.Series();
    load(chart, kExhaustPlot, series.time, series.pressure);
    load(chart, kPositionPlot, series.time, series.position);
}

void CDiagGraph::showRange(const ShownRange& range)
{
    const float values[] = {range.xLow, range.xHigh, range.yLow, range.yHigh};
    for (int edit = XLowEdit; edit <= YHighEdit; ++edit)
        m_form->range[static_cast<std::size_t>(edit)]->setText(formatGraphValue(values[edit]));
}

void CDiagGraph::rangeEdited(int edit)
{
    // Giving an edit the focus back takes it from another edit; that is no edit of the user's.
    if (m_checkingRange)
        return;
    const QScopedValueRollback checking(m_checkingRange, true);
    std::array<float, 4> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto value = graphNumber(m_form->range[i]->text());
        if (!value) {
            QApplication::beep();
            m_form->range[i]->setFocus(Qt::OtherFocusReason);
            return;
        }
        values[i] = *value;
    }
    const ShownRange typed{values[0], values[1], values[2], values[3]};
    const RangeAxis axis = edit == XLowEdit || edit == XHighEdit ? RangeAxis::X : RangeAxis::Y;
    const ShownRange range = applyMinimumSpan(typed, axis);
    if (range.xLow != typed.xLow)
        m_form->range[XLowEdit]->setText(formatGraphValue(range.xLow));
    if (range.yLow != typed.yLow)
        m_form->range[YLowEdit]->setText(formatGraphValue(range.yLow));
    m_form->chart->SetShownRange(range.xLow, range.xHigh, range.yLow, range.yHigh);
}

void CDiagGraph::dataPointsChanged()
{
    m_dataPoints = m_form->dataPoints->checkState();
    for (int plot = 0; plot < chart::CDiagChart::kPlotCount; ++plot)
        m_form->chart->SetDataPoints(plot, m_dataPoints);
    m_form->chart->Redraw();
}

CGraphExports CDiagGraph::exports()
{
    return CGraphExports(*this, m_data, *m_form->chart);
}

void CDiagGraph::capture()
{
    QGuiApplication::clipboard()->setImage(grab().toImage());
}

}  // namespace orvx::diagnostics
