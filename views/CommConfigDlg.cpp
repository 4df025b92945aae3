#include "CommConfigDlg.h"

#include "controls/DtmComboBoxControl.h"
#include "controls/DtmTextControl.h"
#include "platform/ui/DialogItems.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>

namespace orvx::views {

namespace {

constexpr int kTagItem = 311;
constexpr int kAirActionItem = 312;

}  // namespace

void CCommConfigDlg::InitDialog()
{
    auto* group = new QGroupBox(QStringLiteral("Configuration"), Surface());
    auto* form = new QFormLayout(group);
    auto* tag = new QLineEdit(group);
    tag->setObjectName(ui::itemName(kTagItem));
    auto* airAction = new QComboBox(group);
    airAction->setObjectName(ui::itemName(kAirActionItem));
    form->addRow(QStringLiteral("Tag"), tag);
    form->addRow(QStringLiteral("Air action"), airAction);
    BodyLayout()->addWidget(group);
}

void CCommConfigDlg::CreateControls()
{
    auto tag = std::make_unique<controls::CDtmTextControl>(10, this, Controller());
    tag->Attach(nullptr, ui::dialogItem<QLineEdit>(Surface(), kTagItem), nullptr);
    RegisterControl(std::move(tag));
    auto airAction = std::make_unique<controls::CDtmComboBoxControl>(11, this, Controller());
    airAction->Attach(nullptr, nullptr, ui::dialogItem<QComboBox>(Surface(), kAirActionItem), nullptr);
    RegisterControl(std::move(airAction));
}

void CCommConfigDlg::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    if (code == 505)
        RefreshControls(-1);
}

}  // namespace orvx::views
