#include "RetransmitDlg.h"

#include "EntryCommit.h"
#include "controls/Conversions.h"
#include "controls/DtmButtonControl.h"
#include "controls/DtmTextControl.h"
#include "controls/UIEventsImpl.h"
#include "device/DeviceNames.h"
#include "frameworkapi/IStatusArea.h"
#include "frameworkapi/IUIController.h"
#include "platform/ui/DialogService.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace orvx::views {

namespace {

constexpr std::int32_t kSetControl = 11;
constexpr std::int32_t kFinishedControl = 12;
constexpr std::int32_t kRangeHigh = 13;
constexpr std::int32_t kRangeLow = 14;
constexpr std::int32_t kOutput = 15;
constexpr int kReminderItem = 314;

// The buttons' enable bits after Apply Mode.
constexpr std::uint8_t kApplyModeBit = 1;
constexpr std::uint8_t kSetBit = 2;
constexpr std::uint8_t kFinishedBit = 4;

using framework::PageField;
using enum framework::FieldKind;
constexpr PageField kFields[] = {
    {.controlId = kRangeHigh, .kind = Text, .item = 208, .caption = "Retransmitter range high (%)", .icon = 280},
    {.controlId = kRangeLow, .kind = Text, .item = 209, .caption = "Retransmitter range low (%)", .icon = 281},
    {.controlId = kOutput, .kind = Text, .item = 206, .caption = "Analog output (mA)", .icon = 282},
};
constexpr PageField kButtons[] = {
    {.controlId = kSetControl, .kind = Button, .item = 213, .caption = "&Set"},
    {.controlId = kFinishedControl, .kind = Button, .item = 214, .caption = "&Finished"},
};

const QString kCaption = QStringLiteral("Orvx ESD HART");
const QString kOutOfRange = QStringLiteral("Analog Output value must be within 3.2 and 22 or 0 for normal mode.");
const QString kRangeTooNarrow = QStringLiteral(
    "Retransmitter Range High must be more than Retransmitter Range Low by at least 5%.");
const QString kStillFixed = QStringLiteral("The analog output is still fixed. Set it back to normal now?");
const QString kNotReleased = QStringLiteral("The analog output could not be set back to normal: %1");

// The range is wide enough when high is more than 5 % above low. Compared in millionths of a
// percent, far below what a retransmitter resolves: a difference of floating-point numbers
// would take 8.3 and 3.3, exactly 5 apart, for wider than 5.
bool rangeWideEnough(double low, double high)
{
    constexpr double kScale = 1e6;
    // Beyond any range entry that passes its own check the scaled value would not fit.
    if (!(std::fabs(low) <= 1e9 && std::fabs(high) <= 1e9))
        return high - low > 5;
    return std::llround(high * kScale) - std::llround(low * kScale) > std::llround(5 * kScale);
}

}  // namespace

CRetransmitDlg::CRetransmitDlg()
    : CResourcePage(235), m_range(*this, kRangeLow, kRangeHigh, rangeWideEnough, kRangeTooNarrow)
{
}

void CRetransmitDlg::InitDialog()
{
    auto* group = new QGroupBox(QStringLiteral("Position Retransmit"), Surface());
    auto* grid = new QGridLayout(group);
    Fields().AddRows(grid, group, kFields);
    m_output = Fields().Widgets(kOutput)->as<QLineEdit>();

    auto* buttons = new QHBoxLayout;
    for (const PageField& field : kButtons) {
        QWidget* button = Fields().Make(group, field).field;
        buttons->addWidget(button);
        AddMethodWindow(button);
    }
    m_finished = Fields().Widgets(kFinishedControl)->field;
    buttons->addStretch(1);
    const int row = grid->rowCount();
    grid->addLayout(buttons, row, 1, 1, 3);
    auto* reminder = new QLabel(QStringLiteral("Don't forget to select Finished before you leave this page."), group);
    reminder->setObjectName(QStringLiteral("item_%1").arg(kReminderItem));
    grid->addWidget(reminder, row + 1, 1, 1, 3);
    grid->setColumnStretch(3, 1);
    BodyLayout()->addWidget(group);
    // Finished stays usable until pressed: an output fixed before the page was opened can
    // always be given back.
    SetEnableMask(kApplyModeBit | kSetBit | kFinishedBit);
}

void CRetransmitDlg::CreateControls()
{
    m_range.Watch(Fields().Get<controls::CDtmTextControl>(kRangeLow),
                  Fields().Get<controls::CDtmTextControl>(kRangeHigh));
    Fields().Get<controls::CDtmButtonControl>(kSetControl)->SetClickFilter([this] { return set(); });
    Fields().Get<controls::CDtmButtonControl>(kFinishedControl)->SetClickFilter([this] { return finish(); });
}

bool CRetransmitDlg::set()
{
    auto* output = Fields().Get<controls::CDtmTextControl>(kOutput);
    if (!output || !MayOperate())
        return false;
    if (!output->Validate()) {
        output->UpdateIndicator();
        Refuse(kOutOfRange);
        return false;
    }
    // The device fixes what the entry shows: an entry not yet sent goes first, and one it did
    // not take fixes nothing.
    if (const auto refused = commitBeforeCommand(*output)) {
        Refuse(QStringLiteral("The analog output could not be written: %1. Set was not sent.").arg(*refused));
        return false;
    }
    ApplyButtons(EnableMask() | kFinishedBit, true);
    // 0 asks for normal mode: nothing is fixed then.
    m_fixedValue = m_output->text().trimmed();
    m_outputFixed = controls::CConversions::to_double(m_fixedValue) != 0;
    return true;
}

bool CRetransmitDlg::finish()
{
    if (!MayOperate())
        return false;
    try {
        Controller()->SetParameterValue(device::tag::AnalogOutput, com::Variant::text(com::BStr::fromUtf8("0")));
    } catch (const std::exception& error) {
        // The output stays fixed, the entry shows it, and Finished stays offered.
        ShowFailure(kNotReleased.arg(QString::fromLocal8Bit(error.what())));
        return false;
    }
    // The entry shows the "0" the device now holds; nothing is left pending in it.
    m_output->setText(QStringLiteral("0"));
    RefreshControls(kOutput);
    ApplyButtons(EnableMask() & ~kFinishedBit, true);
    m_outputFixed = false;
    showWarning(false);
    return true;
}

void CRetransmitDlg::sendFinished()
{
    if (!finish())
        return;
    const controls::IFdtControl* button = Control(kFinishedControl);
    controls::CCommandEventImpl command(ViewId(), kFinishedControl,
                                        button ? button->GetTag()
                                               : device::method::tagOf(device::method::ReleaseAnalogOutput));
    if (!Controller()->HandleEvent(command) || command.IsError())
        ShowFailure(kNotReleased.arg(command.IsError() ? command.GetErrorText() : QStringLiteral("no device link")));
}

void CRetransmitDlg::Deactivate()
{
    const bool wasActive = IsActivated();
    CResourcePage::Deactivate();
    if (wasActive && !m_closing)
        remind(true);
}

void CRetransmitDlg::PrepareToClose()
{
    if (!m_closing)
        remind(true);
    m_closing = true;
}

void CRetransmitDlg::OnlineGated(bool online)
{
    m_output->setEnabled(online);
    // Without the device nothing can be set back: the warning says what is left to do.
    if (!online)
        remind(false);
}

void CRetransmitDlg::remind(bool mayAsk)
{
    if (!m_outputFixed)
        return;
    framework::IUIController* controller = Controller();
    if (mayAsk && controller && controller->IsDeviceConnected() && controller->IsPrivateDialogEnabled() &&
        ui::showMessage(this, kCaption, kStillFixed, ui::MessageButtons::YesNo, ui::MessageIcon::Warning) ==
            ui::DialogAnswer::Yes) {
        sendFinished();
        if (!m_outputFixed)
            return;
    }
    showWarning(true);
}

void CRetransmitDlg::showWarning(bool shown)
{
    framework::IStatusArea* status = Controller() ? Controller()->GetStatusArea() : nullptr;
    if (!status)
        return;
    status->SetStandingWarning(
        shown
            ? QStringLiteral("Analog output fixed at %1 mA: select Finished on Position Retransmit.").arg(m_fixedValue)
            : QString());
}

bool CRetransmitDlg::CheckValid(std::int32_t controlId)
{
    const bool range = m_range.Verify();
    return CResourcePage::CheckValid(controlId) && range;
}

void CRetransmitDlg::ClearInvalid()
{
    CResourcePage::ClearInvalid();
    m_range.Reset();
}

}  // namespace orvx::views
