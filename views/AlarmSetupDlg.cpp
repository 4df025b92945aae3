#include "AlarmSetupDlg.h"

#include "controls/DtmTextControl.h"
#include "controls/PressureUnitFollower.h"
#include "device/DeviceNames.h"
#include "frameworkapi/IUIController.h"
#include "platform/ui/PostCall.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>

namespace orvx::views {

namespace {

constexpr std::int32_t kSupplyLow = 15;
constexpr std::int32_t kSupplyHigh = 16;
constexpr std::int32_t kErrorTime = 12;
constexpr int kErrorEnableItem = 210;

using framework::PageField;
using enum framework::FieldKind;
constexpr PageField kPositionFields[] = {
    {.controlId = 11, .kind = Check, .item = kErrorEnableItem, .caption = "Enable position error"},
    {.controlId = 10, .kind = Text, .item = 206, .caption = "Position error band", .icon = 268},
    {.controlId = kErrorTime, .kind = Text, .item = 208, .caption = "Position error time", .icon = 269},
    {.controlId = 13, .kind = Text, .item = 209, .caption = "Valve stuck limit", .icon = 270},
    {.controlId = 14, .kind = Text, .item = 213, .caption = "Near closed", .icon = 271},
    {.controlId = 17, .kind = Text, .item = 211, .caption = "Linkage limit", .icon = 274},
};
constexpr PageField kSupplyFields[] = {
    {.controlId = kSupplyLow, .kind = Text, .item = 214, .caption = "Supply limit low", .icon = 272, .unit = 293},
    {.controlId = kSupplyHigh, .kind = Text, .item = 215, .caption = "Supply limit high", .icon = 273, .unit = 294},
};

}  // namespace

CAlarmSetupDlg::CAlarmSetupDlg()
    : CResourcePage(226),
      m_supplyLimits(
          *this, kSupplyLow, kSupplyHigh, [](double low, double high) { return low < high; },
          QStringLiteral("Supply Limit Low must be less than Supply Limit High."))
{
}

void CAlarmSetupDlg::InitDialog()
{
    auto* position = new QGroupBox(QStringLiteral("Position alarms"), Surface());
    Fields().AddRows(new QGridLayout(position), position, kPositionFields);
    BodyLayout()->addWidget(position);
    m_errorEnable = Fields().Widgets(11)->as<QCheckBox>();
    m_errorTime = Fields().Widgets(kErrorTime)->as<QLineEdit>();

    auto* supply = new QGroupBox(QStringLiteral("Supply pressure limits"), Surface());
    Fields().AddRows(new QGridLayout(supply), supply, kSupplyFields);
    BodyLayout()->addWidget(supply);

    SetToolTip(m_errorEnable, QStringLiteral("Enable Position Error- enable reporting of position errors."));
}

void CAlarmSetupDlg::CreateControls()
{
    for (std::int32_t id : {kSupplyLow, kSupplyHigh})
        m_pressureUnit.AddEntry(Fields().Get<controls::CDtmTextControl>(id));
    m_supplyLimits.Watch(Fields().Get<controls::CDtmTextControl>(kSupplyLow),
                         Fields().Get<controls::CDtmTextControl>(kSupplyHigh));
    connect(m_errorEnable, &QCheckBox::clicked, this,
            [this] { ui::runGuarded("position error enable", [this] { followPositionErrorEnable(); }); });
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
    if (code == device::code::DataReloaded || code == device::code::DataRefreshed)
        followPressureUnit();
}

void CAlarmSetupDlg::ModeGated(bool allowed)
{
    if (allowed)
        followPositionErrorEnable();
}

void CAlarmSetupDlg::RefreshWriteAccess()
{
    CResourcePage::RefreshWriteAccess();
    followPositionErrorEnable();
}

void CAlarmSetupDlg::followPositionErrorEnable()
{
    if (!m_errorEnable->isChecked())
        m_errorTime->setReadOnly(true);
    else if (Controller()->IsWritable())
        m_errorTime->setReadOnly(false);
}

void CAlarmSetupDlg::followPressureUnit()
{
    // A unit that cannot be read leaves the limits in the unit they show.
    if (const auto unit = controls::CPressureUnitFollower::ReadUnit(Controller(), device::tag::PressureUnit))
        m_pressureUnit.Follow(*unit);
}

bool CAlarmSetupDlg::CheckValid(std::int32_t controlId)
{
    const bool pair = m_supplyLimits.Verify();
    return CResourcePage::CheckValid(controlId) && pair;
}

void CAlarmSetupDlg::ClearInvalid()
{
    CResourcePage::ClearInvalid();
    m_supplyLimits.Reset();
}

}  // namespace orvx::views
