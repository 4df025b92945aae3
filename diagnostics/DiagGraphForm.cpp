#include "DiagGraphForm.h"

#include "BaselinePanel.h"
#include "platform/chart/DiagChart.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/Resources.h"

#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvx::diagnostics {

namespace {

constexpr QSize kSampleSize(16, 16);

QLabel* sample(QWidget* parent, int item, int icon)
{
    auto* label = item ? ui::makeItem<QLabel>(parent, item) : new QLabel(parent);
    label->setPixmap(ui::iconPixmap(icon, kSampleSize));
    label->setFixedSize(kSampleSize);
    return label;
}

QPushButton* button(QWidget* parent, int item, const QString& text)
{
    auto* pushButton = item ? ui::makeItem<QPushButton>(parent, item) : new QPushButton(parent);
    pushButton->setText(text);
    // Enter in a range edit applies the range; it must not press a button as well.
    pushButton->setAutoDefault(false);
    return pushButton;
}

// The four range edits with their labels, two by two.
QGridLayout* rangeEdits(CDiagGraphForm& f, const QDialog& dialog)
{
    using namespace graph_item;
    auto* range = new QGridLayout;
    const char* names[] = {"X Low", "X High", "Y Low", "Y High"};
    const int width = dialog.fontMetrics().horizontalAdvance(QStringLiteral("-0000.00")) + 12;
    for (int edit = XLowEdit; edit <= YHighEdit; ++edit) {
        auto* line = ui::makeItem<QLineEdit>(f.group, XLow + edit);
        line->setFixedWidth(width);
        auto* label = new QLabel(QString::fromLatin1(names[edit]), f.group);
        label->setBuddy(line);
        range->addWidget(label, edit / 2, (edit % 2) * 2);
        range->addWidget(line, edit / 2, (edit % 2) * 2 + 1);
        f.range[static_cast<std::size_t>(edit)] = line;
    }
    return range;
}

// The plot mode and the data points, one under the other.
QVBoxLayout* plotChoices(CDiagGraphForm& f)
{
    using namespace graph_item;
    auto* mode = new QVBoxLayout;
    f.positionVsPressure = ui::makeItem<QRadioButton>(f.group, PositionVsPressure);
    f.positionVsPressure->setText(QStringLiteral("Pos. vs Pres."));
    f.againstTime = ui::makeItem<QRadioButton>(f.group, AgainstTime);
    f.againstTime->setText(QStringLiteral("Pos. && Pres. vs Time"));
    f.dataPoints = ui::makeItem<QCheckBox>(f.group, DataPoints);
    f.dataPoints->setText(QStringLiteral("Show data points"));
    f.dataPoints->setTristate(true);
    for (QWidget* w : {static_cast<QWidget*>(f.positionVsPressure), static_cast<QWidget*>(f.againstTime),
                       static_cast<QWidget*>(f.dataPoints)})
        mode->addWidget(w);
    return mode;
}

// The blue and the dark red sample share one place; the window shows one of them.
QGridLayout* legend(CDiagGraphForm& f, const QDialog& dialog)
{
    using namespace graph_item;
    auto* legend = new QGridLayout;
    f.redSample = sample(f.group, 0, 273);
    f.blueSample = sample(f.group, BlueSample, 271);
    f.darkRedSample = sample(f.group, DarkRedSample, 276);
    f.firstLegend = ui::makeItem<QLabel>(f.group, FirstLegend);
    f.secondLegend = ui::makeItem<QLabel>(f.group, SecondLegend);
    legend->addWidget(f.redSample, 0, 0);
    legend->addWidget(f.firstLegend, 0, 1);
    legend->addWidget(f.blueSample, 1, 0);
    legend->addWidget(f.darkRedSample, 1, 0);
    legend->addWidget(f.secondLegend, 1, 1);
    legend->setColumnMinimumWidth(1, dialog.fontMetrics().horizontalAdvance(QStringLiteral("Pressure")) + 8);
    return legend;
}

// The window's buttons, the exports beside the numbered ones.
void makeButtons(CDiagGraphForm& f, QDialog& dialog)
{
    using namespace graph_item;
    f.capture = button(&dialog, Capture, QStringLiteral("Ca&pture to Clipboard"));
    f.save = button(&dialog, Save, {});
    f.exportCsv = button(&dialog, 0, QStringLiteral("Export CS&V\u2026"));
    f.exportPng = button(&dialog, 0, QStringLiteral("Export PN&G\u2026"));
    f.pstReport = button(&dialog, 0, QStringLiteral("PST &Report (PDF)\u2026"));
    f.history = button(&dialog, 0, QStringLiteral("&History\u2026"));
    f.history->setObjectName(QStringLiteral("history"));
    f.close = button(&dialog, Close, QStringLiteral("&Close"));
    f.exportToExcel = button(&dialog, ExportToExcel, QStringLiteral("Export to Excel"));
    f.exportToExcel->setVisible(false);
    f.exportCsv->setObjectName(QStringLiteral("exportCsv"));
    f.exportPng->setObjectName(QStringLiteral("exportPng"));
    f.pstReport->setObjectName(QStringLiteral("pstReport"));
    f.compareWith = button(&dialog, 0, QStringLiteral("Compare &with\u2026"));
    f.compareWith->setObjectName(QStringLiteral("compareWith"));
    f.useAsBaseline = button(&dialog, 0, QStringLiteral("Use as &baseline"));
    f.useAsBaseline->setObjectName(QStringLiteral("useAsBaseline"));
}

QHBoxLayout* buttonRow(const CDiagGraphForm& f)
{
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b :
         {f.capture, f.save, f.exportCsv, f.exportPng, f.pstReport, f.compareWith, f.useAsBaseline, f.history})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(f.exportToExcel);
    buttons->addWidget(f.close);
    return buttons;
}

void setTabOrder(const CDiagGraphForm& f)
{
    QWidget* const order[] = {f.range[0],    f.range[1],   f.range[2],    f.range[3],      f.positionVsPressure,
                              f.againstTime, f.dataPoints, f.capture,     f.save,          f.exportCsv,
                              f.exportPng,   f.pstReport,  f.compareWith, f.useAsBaseline, f.history,
                              f.close};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

}  // namespace

CDiagGraphForm CDiagGraphForm::Build(QDialog& dialog)
{
    CDiagGraphForm f;
    f.group = ui::makeItem<QGroupBox>(&dialog, graph_item::Group);
    f.chart = ui::makeItem<chart::CDiagChart>(f.group, graph_item::Chart);
    f.chart->setMinimumSize(640, 400);
    f.chart->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    auto* controls = new QHBoxLayout;
    controls->addLayout(rangeEdits(f, dialog));
    controls->addSpacing(24);
    controls->addLayout(plotChoices(f));
    controls->addSpacing(24);
    controls->addLayout(legend(f, dialog));
    controls->addStretch(1);

    auto* groupLayout = new QVBoxLayout(f.group);
    groupLayout->addWidget(f.chart, 1);
    groupLayout->addLayout(controls);

    makeButtons(f, dialog);
    f.baseline = new CBaselinePanel(&dialog);

    auto* top = new QVBoxLayout(&dialog);
    top->addWidget(f.group, 1);
    top->addWidget(f.baseline);
    top->addLayout(buttonRow(f));
    setTabOrder(f);
    return f;
}

}  // namespace orvx::diagnostics
