#include "SwitchesDlg.h"

#include "controls/Conversions.h"
#include "controls/DtmComboBoxControl.h"
#include "controls/DtmTextControl.h"
#include "framework/IUIController.h"
#include "host/StringBridge.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/PostCall.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace orvx::views {

namespace {

constexpr int kActionItem = 215;
constexpr int kNormallyItem = 216;
constexpr int kValueItem = 274;
constexpr int kValueIconItem = 290;

constexpr std::int32_t kPositionLowLimit = 5;
constexpr std::int32_t kPositionUpperLimit = 6;

bool isPositionLimit(std::int32_t action)
{
    return action == kPositionLowLimit || action == kPositionUpperLimit;
}

}  // namespace

void CSwitchesDlg::InitDialog()
{
    auto* group = new QGroupBox(QStringLiteral("DO Switch 2"), Surface());
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("Action"), group), 0, 1);
    grid->addWidget(ui::makeItem<QComboBox>(group, kActionItem), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Normally"), group), 1, 1);
    grid->addWidget(ui::makeItem<QComboBox>(group, kNormallyItem), 1, 2);
    grid->addWidget(ui::makeItem<QLabel>(group, kValueIconItem), 2, 0);
    grid->addWidget(new QLabel(QStringLiteral("Value"), group), 2, 1);
    grid->addWidget(ui::makeItem<QLineEdit>(group, kValueItem), 2, 2);
    grid->setColumnMinimumWidth(0, 16);
    grid->setColumnStretch(2, 1);
    BodyLayout()->addWidget(group);
}

void CSwitchesDlg::CreateControls()
{
    auto* actionBox = ui::dialogItem<QComboBox>(Surface(), kActionItem);
    auto action = std::make_unique<controls::CDtmComboBoxControl>(10, this, Controller());
    action->Attach(nullptr, nullptr, actionBox, nullptr);
    RegisterControl(std::move(action));
    // Connected after the control's own handler: the pick is written first.
    if (actionBox)
        connect(actionBox, &QComboBox::activated, this,
                [this] { ui::runGuarded("switch action picked", [this] { followAction(shownAction()); }); });

    auto normally = std::make_unique<controls::CDtmComboBoxControl>(11, this, Controller());
    normally->Attach(nullptr, nullptr, ui::dialogItem<QComboBox>(Surface(), kNormallyItem), nullptr);
    RegisterControl(std::move(normally));

    auto value = std::make_unique<controls::CDtmTextControl>(12, this, Controller());
    value->Attach(ui::dialogItem<QLabel>(Surface(), kValueIconItem), ui::dialogItem<QLineEdit>(Surface(), kValueItem),
                  nullptr);
    RegisterControl(std::move(value));
}

void CSwitchesDlg::Activate()
{
    CResourcePage::Activate();
    followDeviceAction();
}

void CSwitchesDlg::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    if (code == 501)
        followDeviceAction();
}

void CSwitchesDlg::GateForMode(bool allowed)
{
    CResourcePage::GateForMode(allowed);
    if (allowed && !isPositionLimit(shownAction()))
        if (auto* edit = ui::dialogItem<QLineEdit>(Surface(), kValueItem))
            edit->setReadOnly(true);
}

std::int32_t CSwitchesDlg::shownAction() const
{
    const auto* action = dynamic_cast<const controls::CDtmComboBoxControl*>(Control(10));
    if (!action || action->CurrentIndex() < 0)
        return -1;
    bool ok = false;
    const int tag = action->Choices().choices.value(action->CurrentIndex()).tag.toInt(&ok);
    return ok ? tag : -1;
}

void CSwitchesDlg::followDeviceAction()
{
    if (!Controller())
        return;
    try {
        const QString action = host::variantText(Controller()->GetParameterValue(QStringLiteral("6000")));
        followAction(controls::CConversions::to_long(action));
    } catch (const std::exception&) {
        // An action that cannot be read leaves the field as it is.
    }
}

void CSwitchesDlg::followAction(std::int32_t action)
{
    if (!Controller() || !Controller()->IsWritable())
        return;
    if (auto* edit = ui::dialogItem<QLineEdit>(Surface(), kValueItem))
        edit->setReadOnly(!isPositionLimit(action));
}

}  // namespace orvx::views
