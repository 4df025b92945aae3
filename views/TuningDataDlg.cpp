#include "TuningDataDlg.h"

#include "controls/DtmButtonControl.h"
#include "controls/DtmTextControl.h"
#include "framework/IStatusArea.h"
#include "framework/IUIController.h"
#include "platform/ui/DialogItems.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <tuple>
#include <vector>

namespace orvx::views {

namespace {

constexpr int kWriteMethod = 13;
constexpr int kReadMethod = 28;
constexpr std::int32_t kFirstParameter = 10;
constexpr std::int32_t kLastParameter = 17;
constexpr std::int32_t kWriteControl = 18;
constexpr std::int32_t kReadControl = 19;
constexpr int kWriteItem = 213;
constexpr int kReadItem = 214;

struct Field {
    std::int32_t controlId;
    const char* caption;
    int edit;
    int icon;
};
constexpr Field kFields[] = {
    {10, "P", 206, 277},       {11, "I", 209, 278},    {12, "D", 211, 279},    {13, "Padj", 208, 280},
    {14, "Dead zone", 210, 281}, {15, "Beta", 217, 282}, {16, "Position compensation", 215, 283},
    {17, "Boost", 216, 284},
};

}  // namespace

CTuningDataDlg::CTuningDataDlg() : CResourcePage(232) {}

void CTuningDataDlg::InitDialog()
{
    auto* group = new QGroupBox(QStringLiteral("PID parameters"), Surface());
    auto* grid = new QGridLayout(group);
    int row = 0;
    for (const Field& f : kFields) {
        auto* edit = new QLineEdit(group);
        edit->setObjectName(ui::itemName(f.edit));
        auto* icon = new QLabel(group);
        icon->setObjectName(ui::itemName(f.icon));
        icon->setFixedSize(16, 16);
        auto* caption = new QLabel(QString::fromLatin1(f.caption), group);
        caption->setBuddy(edit);
        grid->addWidget(caption, row, 0);
        grid->addWidget(icon, row, 1);
        grid->addWidget(edit, row, 2);
        ++row;
    }
    grid->setColumnStretch(2, 1);
    BodyLayout()->addWidget(group);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (const auto& [item, caption] : {std::pair{kWriteItem, "Write"}, std::pair{kReadItem, "Read"}}) {
        auto* button = new QPushButton(QString::fromLatin1(caption), Surface());
        button->setObjectName(ui::itemName(item));
        buttons->addWidget(button);
        AddMethodWindow(button);
    }
    BodyLayout()->addLayout(buttons);
    // Apply Mode, Write and Read.
    SetEnableMask(0b111);
}

void CTuningDataDlg::CreateControls()
{
    for (const Field& f : kFields) {
        auto control = std::make_unique<controls::CDtmTextControl>(f.controlId, this, Controller());
        control->Attach(ui::dialogItem<QLabel>(Surface(), f.icon), ui::dialogItem<QLineEdit>(Surface(), f.edit),
                        nullptr);
        RegisterControl(std::move(control));
    }
    for (const auto& [controlId, item, method] :
         {std::tuple{kWriteControl, kWriteItem, kWriteMethod}, std::tuple{kReadControl, kReadItem, kReadMethod}}) {
        auto button = std::make_unique<controls::CDtmButtonControl>(controlId, this, Controller());
        button->Attach(ui::dialogItem<QPushButton>(Surface(), item));
        button->SetClickFilter([this, id = controlId, m = method] { return startOperation(id, m); });
        RegisterControl(std::move(button));
    }
}

bool CTuningDataDlg::entriesValid()
{
    framework::IUIController* controller = Controller();
    if (CheckValid(-1))
        return true;
    // Without message boxes the first complaint goes to the status line instead.
    if (controller && !controller->IsPrivateDialogEnabled()) {
        for (std::int32_t id = kFirstParameter; id <= kLastParameter; ++id) {
            if (!IsInvalid(id))
                continue;
            if (framework::IStatusArea* status = controller->GetStatusArea())
                status->SetMessage(Control(id)->GetLabelledMessage());
            break;
        }
    }
    return false;
}

bool CTuningDataDlg::startOperation(std::int32_t controlId, int method)
{
    if (Controller() && (method != kWriteMethod || entriesValid()))
        StartOperation(controlId, method);
    return false;  // the page sent the command itself
}

void CTuningDataDlg::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    if (code != 500 + kWriteMethod && code != 500 + kReadMethod)
        return;
    // The device's set replaces the entries after a read, the rejected ones too: they are no
    // longer invalid, and their red text goes with a fresh check of the value read.
    std::vector<controls::CDtmTextControl*> rejected;
    if (code == 500 + kReadMethod) {
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
