#include "PSTSummary.h"

#include "Baselines.h"
#include "DeviceValues.h"
#include "GraphLoading.h"
#include "SignatureComparison.h"
#include "controls/PressureUnit.h"
#include "device/DeviceNames.h"
#include "device/StringBridge.h"
#include "frameworkapi/ParameterRead.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/PostCall.h"
#include "platform/ui/ReadOnlyLook.h"
#include "platform/ui/Resources.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvx::diagnostics {

namespace {

enum Item {
    PassedValue = 372,  // then friction, breakout, droop, lower and upper spring, exhaust and fill
    GradeIcon = 380,    // one per graded row
    GradeText = 384,
    ViewGraphButton = 213,
    FinishButton = 1,
};
enum GradedRow { PassedRow, FrictionRow, BreakoutRow, DroopRow, GradedRows };

constexpr int kWindowIcon = 202;
constexpr int kPassIcon = 277;
constexpr int kFailIcon = 211;
constexpr QSize kGradeIconSize(32, 32);

// The value fields in item order: caption and whether it is a pressure.
struct ValueField {
    const char* caption;
    bool pressure;
};
constexpr ValueField kValues[] = {
    {"PST Passed Flag", false},
    {"Friction", true},
    {"Breakout Pressure", true},
    {"Droop", true},
    {"Spring Range, Lower", true},
    {"Spring Range, Upper", true},
    {"Response Time, Exhaust (s)", false},
    {"Response Time, Fill (s)", false},
};
constexpr QLatin1StringView kValueTags[] = {
    device::tag::PstFriction,    device::tag::PstBreakaway,   device::tag::PstDroopResult, device::tag::PstLowerSpring,
    device::tag::PstUpperSpring, device::tag::PstExhaustTime, device::tag::PstFillTime,
};

QString number(double value)
{
    return QString::number(value, 'g', 6);
}

}  // namespace

CPSTSummary::CPSTSummary(framework::IUIController& controller, QWidget* owner)
    : QDialog(owner), m_controller(controller)
{
    setWindowTitle(QStringLiteral("Orvx ESD  - PST Summary"));
    setWindowIcon(QIcon(ui::iconPixmap(kWindowIcon, QSize(16, 16))));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    for (int i = 0; i < static_cast<int>(std::size(kValues)); ++i) {
        auto* caption = new QLabel(QString::fromLatin1(kValues[i].caption), this);
        auto* edit = ui::makeItem<QLineEdit>(this, PassedValue + i);
        edit->setReadOnly(true);
        ui::followReadOnlyLook(edit);
        edit->setMinimumWidth(110);
        caption->setBuddy(edit);
        grid->addWidget(caption, i, 0);
        grid->addWidget(edit, i, 1);
        if (kValues[i].pressure)
            grid->addWidget(m_units.emplace_back(new QLabel(this)), i, 2);
        if (i < GradedRows) {
            auto* icon = ui::makeItem<QLabel>(this, GradeIcon + i);
            icon->setFixedSize(kGradeIconSize);
            grid->addWidget(icon, i, 3);
            grid->addWidget(ui::makeItem<QLabel>(this, GradeText + i), i, 4);
            grid->addWidget(m_limits.emplace_back(new QLabel(this)), i, 5);
        }
    }
    grid->setColumnStretch(5, 1);

    auto* buttons = new QDialogButtonBox(this);
    auto* viewGraph = ui::makeButton(this, ViewGraphButton, QStringLiteral("&View Graph"));
    viewGraph->setAutoDefault(false);
    auto* finish = ui::makeButton(this, FinishButton, QStringLiteral("&Finish"));
    finish->setDefault(true);
    buttons->addButton(viewGraph, QDialogButtonBox::ActionRole);
    buttons->addButton(finish, QDialogButtonBox::AcceptRole);
    connect(viewGraph, &QPushButton::clicked, this, [this] { ui::runGuarded("View Graph", [this] { ViewGraph(); }); });
    connect(finish, &QPushButton::clicked, this, &QDialog::accept);

    m_baselineChange = new QLabel(this);
    m_baselineChange->setObjectName(QStringLiteral("baselineChange"));
    m_baselineChange->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_baselineChange);
    layout->addWidget(buttons);

    Refresh();
}

void CPSTSummary::Refresh()
{
    const CDeviceValues device(m_controller);
    const std::optional<int> passed = device.TryInteger(device::tag::PstPassed);
    auto* passedEdit = ui::dialogItem<QLineEdit>(this, PassedValue);
    passedEdit->setText(passed ? QString::fromLatin1(gradeText(gradePassedFlag(*passed))) : QString());
    ShowGrade(PassedRow, passed ? std::optional(gradePassedFlag(*passed) == Grade::Passed) : std::nullopt, {});

    std::optional<float> values[std::size(kValueTags)];
    for (std::size_t i = 0; i < std::size(kValueTags); ++i) {
        values[i] = device.TryNumber(kValueTags[i]);
        ShowValue(ui::dialogItem<QLineEdit>(this, PassedValue + 1 + static_cast<int>(i)), values[i]);
    }

    const auto unit = device.TryInteger(device::tag::MeasuredPressureUnit);
    const QString unitName = unit ? controls::pressureUnitName(*unit) : QString();
    for (QLabel* label : std::as_const(m_units))
        label->setText(unitName);

    const auto limits = device.Limits();
    const auto graded = [&](GradedRow row, auto grade, const QString& limitText) {
        const auto& value = values[row - 1];
        ShowGrade(row, value && limits ? std::optional(grade(*value) == Grade::Passed) : std::nullopt,
                  limits ? limitText : QStringLiteral("limit not read"));
    };
    const PstLimits l = limits.value_or(PstLimits{});
    graded(
        FrictionRow, [&](double v) { return gradeFriction(v, l.frictionLow, l.frictionHigh); },
        QStringLiteral("between %1 and %2").arg(number(l.frictionLow), number(l.frictionHigh)));
    graded(
        BreakoutRow, [&](double v) { return gradeBelowLimit(v, l.breakout); },
        QStringLiteral("below %1").arg(number(l.breakout)));
    graded(
        DroopRow, [&](double v) { return gradeBelowLimit(v, l.droop); },
        QStringLiteral("below %1").arg(number(l.droop)));

    ShowBaselineChange(limits);
}

void CPSTSummary::ShowBaselineChange(const std::optional<PstLimits>& limits)
{
    // A device that cannot name itself cannot be matched to a baseline; the status line says why.
    m_baselineChange->clear();
    const CDeviceValues device(m_controller);
    const auto tag = framework::readParameter(&m_controller, device::tag::DeviceTag, &device::variantText);
    const auto id = tag ? device.TryInteger(device::tag::DeviceId) : std::nullopt;
    if (!tag || !id)
        return;
    const std::optional<Baseline> baseline = CBaselines().Find(*tag, *id);
    if (!baseline) {
        m_baselineChange->setText(
            QStringLiteral("No baseline is set for this valve: View Graph, then Use as baseline, sets one."));
        return;
    }
    const BaselineFigures base = baselineFigures(*baseline);
    if (!base.figures) {
        m_baselineChange->setText(base.problem);
        return;
    }
    // The graded rows above are the device's results; a change is only sound between figures
    // read off both signatures the same way.
    const std::optional<SignatureFigures> current = device.Figures();
    if (!current) {
        m_baselineChange->setText(QStringLiteral("The change since the baseline of %1 cannot be shown: this test's "
                                                 "signature could not be read from the device.")
                                      .arg(baseline->date.toString(Qt::ISODate)));
        return;
    }
    const auto rows = compareFigures(*current, *base.figures, limits);
    QStringList lines;
    for (std::size_t row = 0; row < 3; ++row)  // friction, breakaway and droop
        lines.append(changeSince(rows[row], controls::pressureUnitWord(current->unitCode), baseline->date));
    m_baselineChange->setText(lines.join(u'\n'));
}

void CPSTSummary::ShowValue(QLineEdit* edit, std::optional<double> value)
{
    edit->setText(value ? number(*value) : QString());
}

void CPSTSummary::ShowGrade(int row, std::optional<bool> passed, const QString& limits)
{
    auto* icon = ui::dialogItem<QLabel>(this, GradeIcon + row);
    auto* text = ui::dialogItem<QLabel>(this, GradeText + row);
    if (!passed) {
        icon->clear();
        text->setText(QStringLiteral("Not read"));
    } else {
        icon->setPixmap(ui::iconPixmap(*passed ? kPassIcon : kFailIcon, kGradeIconSize));
        text->setText(QString::fromLatin1(gradeText(*passed ? Grade::Passed : Grade::Failed)));
    }
    m_limits[row]->setText(limits);
}

void CPSTSummary::ViewGraph()
{
    showDeviceCurves(m_controller, DiagKind::Pst, this);
}

int CPSTSummary::Show()
{
    return ui::dialogService().RunModal(*this);
}

void showPstSummary(framework::IUIController& controller, QWidget* owner)
{
    CPSTSummary summary(controller, owner);
    summary.Show();
}

}  // namespace orvx::diagnostics
