#include "TuningDataDlg.h"

#include "controls/DtmButtonControl.h"
#include "controls/DtmTextControl.h"
#include "device/DeviceNames.h"
#include "frameworkapi/IUIController.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>

#include <vector>

namespace orvx::views {

namespace {

constexpr std::int32_t kFirstParameter = 10;
constexpr std::int32_t kLastParameter = 17;
constexpr std::int32_t kWriteControl = 18;
constexpr std::int32_t kReadControl = 19;

using framework::PageField;
using enum framework::FieldKind;
constexpr PageField kFields[] = {
    {.controlId = 10, .kind = Text, .item = 206, .caption = "P", .icon = 277},
    {.controlId = 11, .kind = Text, .item = 209, .caption = "I", .icon = 278},
    {.controlId = 12, .kind = Text, .item = 211, .caption = "D", .icon = 279},
    {.controlId = 13, .kind = Text, .item = 208, .caption = "Padj", .icon = 280},
    {.controlId = 14, .kind = Text, .item = 210, .caption = "Dead zone", .icon = 281},
    {.controlId = 15, .kind = Text, .item = 217, .caption = "Beta", .icon = 282},
    {.controlId = 16, .kind = Text, .item = 215, .caption = "Position compensation", .icon = 283},
    {.controlId = 17, .kind = Text, .item = 216, .caption = "Boost", .icon = 284},
};
constexpr PageField kButtons[] = {
    {.controlId = kWriteControl, .kind = Button, .item = 213, .caption = "Write"},
    {.controlId = kReadControl, .kind = Button, .item = 214, .caption = "Read"},
};

}  // namespace

CTuningDataDlg::CTuningDataDlg() : CResourcePage(232) {}

void CTuningDataDlg::InitDialog()
{
    auto* group = new QGroupBox(QStringLiteral("PID parameters"), Surface());
    Fields().AddRows(new QGridLayout(group), group, kFields);
    BodyLayout()->addWidget(group);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (const PageField& button : kButtons) {
        QWidget* made = Fields().Make(Surface(), button).field;
        buttons->addWidget(made);
        AddMethodWindow(made);
    }
    BodyLayout()->addLayout(buttons);
    // Apply Mode, Write and Read.
    SetEnableMask(0b111);
}

void CTuningDataDlg::CreateControls()
{
    for (const auto& [controlId, method] :
         {std::pair{kWriteControl, device::method::TuningWrite}, std::pair{kReadControl, device::method::TuningRead}})
        Fields().Get<controls::CDtmButtonControl>(controlId)->SetClickFilter(
            [this, id = controlId, m = method] { return startOperation(id, m); });
}

bool CTuningDataDlg::startOperation(std::int32_t controlId, int method)
{
    if (method != device::method::TuningWrite || EntriesValid(kFirstParameter, kLastParameter))
        StartOperation(controlId, method);
    return false;  // the page sent the command itself
}

void CTuningDataDlg::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    if (code != device::code::resultOf(device::method::TuningWrite) &&
        code != device::code::resultOf(device::method::TuningRead))
        return;
    // The device's set replaces the entries after a read, the rejected ones too: they are no
    // longer invalid, and their red text goes with a fresh check of the value read.
    std::vector<controls::CDtmTextControl*> rejected;
    if (code == device::code::resultOf(device::method::TuningRead)) {
        for (std::int32_t id = kFirstParameter; id <= kLastParameter; ++id)
            if (IsInvalid(id))
                rejected.push_back(dynamic_cast<controls::CDtmTextControl*>(Control(id)));
        ClearInvalid();
    }
    ReevaluateMode();
    RefreshControls(-1);
    for (controls::CDtmTextControl* control : rejected) {
        if (control) {
            control->Validate();
            control->UpdateIndicator();
        }
    }
}

}  // namespace orvx::views
