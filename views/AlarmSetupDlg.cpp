#include "AlarmSetupDlg.h"

#include "controls/Conversions.h"
#include "controls/DtmCheckBox.h"
#include "controls/DtmTextControl.h"
#include "controls/PressureUnit.h"
#include "framework/IUIController.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/PostCall.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace orvx::views {

namespace {

constexpr std::int32_t kSupplyLow = 15;
constexpr std::int32_t kSupplyHigh = 16;
constexpr int kErrorEnableItem = 210;
constexpr int kErrorTimeItem = 208;
constexpr int kSupplyLowItem = 214;
constexpr int kSupplyHighItem = 215;

struct Field {
    std::int32_t controlId;
    const char* caption;
    int item, icon, unit;  // unit 0: none
};
constexpr Field kPositionFields[] = {{10, "Position error band", 206, 268, 0},
                                     {12, "Position error time", 208, 269, 0},
                                     {13, "Valve stuck limit", 209, 270, 0},
                                     {14, "Near closed", 213, 271, 0},
                                     {17, "Linkage limit", 211, 274, 0}};
constexpr Field kSupplyFields[] = {{kSupplyLow, "Supply limit low", kSupplyLowItem, 272, 293},
                                   {kSupplyHigh, "Supply limit high", kSupplyHighItem, 273, 294}};

void addRow(QGridLayout* grid, QWidget* parent, const Field& f)
{
    const int row = grid->rowCount();
    grid->addWidget(ui::makeItem<QLabel>(parent, f.icon), row, 0);
    grid->addWidget(new QLabel(QString::fromLatin1(f.caption), parent), row, 1);
    grid->addWidget(ui::makeItem<QLineEdit>(parent, f.item), row, 2);
    if (f.unit)
        grid->addWidget(ui::makeItem<QLabel>(parent, f.unit), row, 3);
    grid->setColumnMinimumWidth(0, 16);
    grid->setColumnStretch(2, 1);
}

}  // namespace

void CAlarmSetupDlg::InitDialog()
{
    auto* position = new QGroupBox(QStringLiteral("Position alarms"), Surface());
    auto* grid = new QGridLayout(position);
    auto* enable = ui::makeItem<QCheckBox>(position, kErrorEnableItem);
    enable->setText(QStringLiteral("Enable position error"));
    grid->addWidget(enable, 0, 1, 1, 2);
    for (const Field& f : kPositionFields)
        addRow(grid, position, f);
    BodyLayout()->addWidget(position);

    auto* supply = new QGroupBox(QStringLiteral("Supply pressure limits"), Surface());
    auto* supplyGrid = new QGridLayout(supply);
    for (const Field& f : kSupplyFields) {
        addRow(supplyGrid, supply, f);
        // Installed before the controls' own filters, so it runs after them: the entry has
        // been validated and committed when the pair is checked.
        ui::dialogItem<QLineEdit>(supply, f.item)->installEventFilter(this);
    }
    supplyGrid->setColumnMinimumWidth(3, 30);
    BodyLayout()->addWidget(supply);

    SetToolTip(enable, QStringLiteral("Enable Position Error- enable reporting of position errors."));
}

void CAlarmSetupDlg::CreateControls()
{
    auto addText = [this](const Field& f) {
        auto text = std::make_unique<controls::CDtmTextControl>(f.controlId, this, Controller());
        text->Attach(ui::dialogItem<QLabel>(Surface(), f.icon), ui::dialogItem<QLineEdit>(Surface(), f.item),
                     f.unit ? ui::dialogItem<QLabel>(Surface(), f.unit) : nullptr);
        RegisterControl(std::move(text));
    };
    for (const Field& f : kPositionFields)
        addText(f);
    for (const Field& f : kSupplyFields)
        addText(f);

    auto* box = ui::dialogItem<QCheckBox>(Surface(), kErrorEnableItem);
    auto enable = std::make_unique<controls::CDtmCheckBox>(11, this, Controller());
    enable->Attach(box);
    RegisterControl(std::move(enable));
    if (box)
        connect(box, &QCheckBox::clicked, this, [this] {
            ui::runGuarded("position error enable", [this] { followPositionErrorEnable(); });
        });
}

void CAlarmSetupDlg::Activate()
{
    CResourcePage::Activate();
    followPressureUnit();
}

void CAlarmSetupDlg::RefreshControls(std::int32_t controlId)
{
    CResourcePage::RefreshControls(controlId);
    if (controlId == -1 || controlId == 11)
        followPositionErrorEnable();
}

void CAlarmSetupDlg::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    if (code == 501 || code == 502)
        followPressureUnit();
}

void CAlarmSetupDlg::GateForMode(bool allowed)
{
    CResourcePage::GateForMode(allowed);
    if (allowed)
        followPositionErrorEnable();
}

void CAlarmSetupDlg::followPositionErrorEnable()
{
    auto* box = ui::dialogItem<QCheckBox>(Surface(), kErrorEnableItem);
    auto* time = ui::dialogItem<QLineEdit>(Surface(), kErrorTimeItem);
    if (!box || !time)
        return;
    if (!box->isChecked())
        time->setReadOnly(true);
    else if (Controller() && Controller()->IsWritable())
        time->setReadOnly(false);
}

void CAlarmSetupDlg::followPressureUnit()
{
    if (!Controller())
        return;
    std::uint32_t unit = 0;
    try {
        unit = Controller()->GetParameterValue(QStringLiteral("4003")).toUInt32();
    } catch (const std::exception&) {
        return;  // the limits keep the unit they show
    }
    if (unit == m_pressureUnit)
        return;
    for (std::int32_t id : {kSupplyLow, kSupplyHigh}) {
        auto* limit = dynamic_cast<controls::CDtmTextControl*>(Control(id));
        if (!limit)
            continue;
        // An entry still waiting for correction is carried over into the new unit.
        auto* edit = qobject_cast<QLineEdit*>(limit->GetEditWindow());
        if (IsInvalid(id) && edit && m_pressureUnit) {
            try {
                const double value = controls::CConversions::to_double(edit->text());
                const double converted = controls::convertPressure(value, *m_pressureUnit, unit);
                edit->setText(QString::number(converted, 'f', controls::pressureDecimals(unit)));
                edit->setModified(true);  // still to be committed
            } catch (const std::exception&) {
                // Not a number: the entry stays as typed.
            }
        }
        limit->SetUnitText(controls::pressureUnitName(unit));
        limit->SetValidatorUnit(unit);
    }
    m_pressureUnit = unit;
}

bool CAlarmSetupDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event && event->type() == QEvent::FocusOut)
        ui::runGuarded("supply limit check", [this] { checkSupplyLimits(); });
    return CResourcePage::eventFilter(watched, event);
}

void CAlarmSetupDlg::checkSupplyLimits()
{
    // Each limit's own range error comes first.
    if (IsInvalid(kSupplyLow) || IsInvalid(kSupplyHigh) || !Controller())
        return;
    double low = 30;
    double high = 120;
    try {
        if (auto* control = dynamic_cast<controls::CDtmTextControl*>(Control(kSupplyLow)))
            if (auto* edit = qobject_cast<QLineEdit*>(control->GetEditWindow()))
                low = controls::CConversions::to_double(edit->text());
        if (auto* control = dynamic_cast<controls::CDtmTextControl*>(Control(kSupplyHigh)))
            if (auto* edit = qobject_cast<QLineEdit*>(control->GetEditWindow()))
                high = controls::CConversions::to_double(edit->text());
    } catch (const std::exception&) {
        return;
    }
    // The pair counts as one invalid entry of the page while it is the wrong way round.
    if (high <= low) {
        if (m_supplyLimitsConsistent) {
            Controller()->SetParameterValue(QStringLiteral("15001"), com::Variant::int32(1));
            m_supplyLimitsConsistent = false;
        }
    } else if (!m_supplyLimitsConsistent) {
        Controller()->SetParameterValue(QStringLiteral("15001"), com::Variant::int32(-1));
        m_supplyLimitsConsistent = true;
    }
}

bool CAlarmSetupDlg::CheckValid(std::int32_t controlId)
{
    const bool pairWrong = !m_supplyLimitsConsistent && !IsInvalid(kSupplyLow) && !IsInvalid(kSupplyHigh);
    if (pairWrong && Controller() && Controller()->IsPrivateDialogEnabled())
        ui::showMessage(this, QStringLiteral("Orvx ESD HART"),
                        QStringLiteral("Supply Limit Low must be less than Supply Limit High."),
                        ui::MessageButtons::Ok, ui::MessageIcon::Error);
    const bool valid = CResourcePage::CheckValid(controlId);
    return valid && m_supplyLimitsConsistent;
}

void CAlarmSetupDlg::ClearInvalid()
{
    CResourcePage::ClearInvalid();
    m_supplyLimitsConsistent = true;
}

}  // namespace orvx::views
