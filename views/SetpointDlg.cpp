#include "SetpointDlg.h"

#include "EntryCommit.h"
#include "controls/DtmButtonControl.h"
#include "controls/DtmTextControl.h"
#include "device/DeviceNames.h"
#include "frameworkapi/IUIController.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

namespace orvx::views {

namespace {

using device::method::FullClose;
using device::method::FullOpen;
using device::method::ToManualSetpoint;

constexpr std::int32_t kPositionBar = 10;
constexpr std::int32_t kSetpoint = 13;

using framework::PageField;
using enum framework::FieldKind;
constexpr PageField kSetpointField = {.controlId = kSetpoint,
                                      .kind = Text,
                                      .item = 210,
                                      .caption = "Manual setpoint (%)",
                                      .icon = 280};
constexpr PageField kPositionField = {.controlId = kPositionBar,
                                      .kind = Bar,
                                      .item = 243,
                                      .caption = "Valve position",
                                      .value = 218};
// The drives, in the order of their buttons and enable bits after Apply Mode.
constexpr std::pair<PageField, int> kDrives[] = {
    {{.controlId = 11, .kind = Button, .item = 213, .caption = "Full &Open"}, FullOpen},
    {{.controlId = 12, .kind = Button, .item = 214, .caption = "Full &Close"}, FullClose},
    {{.controlId = 14, .kind = Button, .item = 215, .caption = "&As Position in %"}, ToManualSetpoint},
};
constexpr std::uint8_t kAllButtons = 0b1111;

const QString kOutOfRange = QStringLiteral("Manual SetPoint value must be within 0 and 100.");

}  // namespace

CSetpointDlg::CSetpointDlg() : CResourcePage(234)
{
    SetRequiredMode(framework::ModeManual);
}

void CSetpointDlg::InitDialog()
{
    auto* group = new QGroupBox(QStringLiteral("Manual Position SetPoint"), Surface());
    auto* grid = new QGridLayout(group);
    Fields().AddRows(grid, group, std::span(&kSetpointField, 1));
    const framework::FieldWidgets& bar = Fields().Make(group, kPositionField);
    const int row = grid->rowCount();
    grid->addWidget(bar.caption, row, 1);
    grid->addWidget(bar.field, row, 2);
    grid->addWidget(bar.value, row, 3);
    grid->setColumnStretch(2, 1);

    auto* buttons = new QHBoxLayout;
    for (const auto& [field, method] : kDrives) {
        QWidget* button = Fields().Make(group, field).field;
        buttons->addWidget(button);
        AddMethodWindow(button);
    }
    buttons->addStretch(1);
    grid->addLayout(buttons, row + 1, 1, 1, 3);
    BodyLayout()->addWidget(group);
    SetEnableMask(kAllButtons);
}

void CSetpointDlg::CreateControls()
{
    for (const auto& [field, method] : kDrives)
        Fields()
            .Get<controls::CDtmButtonControl>(field.controlId)
            ->SetClickFilter([this, id = field.controlId, m = method] { return drive(id, m); });
}

bool CSetpointDlg::drive(std::int32_t buttonControl, int method)
{
    if (method == ToManualSetpoint && !setpointReady())
        return false;
    if (StartOperation(buttonControl, method))
        ForEachControl([](controls::IFdtControl& control) { control.EnableForMode(false); });
    return false;
}

bool CSetpointDlg::setpointReady()
{
    auto* setpoint = Fields().Get<controls::CDtmTextControl>(kSetpoint);
    if (!setpoint)
        return false;
    if (!setpoint->Validate()) {
        setpoint->UpdateIndicator();
        Refuse(kOutOfRange);
        return false;
    }
    // An entry not yet sent (the button pressed from the keyboard) goes to the device first, so
    // that the valve goes where the user sees; when the device does not take it, the valve
    // stays where it is.
    if (!MayOperate())
        return true;  // the start refuses and says why
    if (const auto refused = commitBeforeCommand(*setpoint)) {
        Refuse(QStringLiteral("The manual setpoint could not be written: %1. The valve was not moved.").arg(*refused));
        return false;
    }
    return true;
}

void CSetpointDlg::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    using namespace device::code;
    if (code == resultOf(FullOpen) || code == resultOf(FullClose) || code == resultOf(ToManualSetpoint) ||
        code == Cancelled || code == ModeChanged || isFailure(code))
        applyModeRules();
    if (code == NewValues)
        RefreshControls(kPositionBar);
}

void CSetpointDlg::applyModeRules()
{
    ReevaluateMode();
    const bool allowed = (CurrentRestriction() & RestrictedByMode) == 0;
    ForEachControl([allowed](controls::IFdtControl& control) { control.EnableForMode(allowed); });
}

}  // namespace orvx::views
