#include "SwitchesDlg.h"

#include "controls/Conversions.h"
#include "controls/DtmComboBoxControl.h"
#include "device/DeviceNames.h"
#include "device/StringBridge.h"
#include "frameworkapi/IUIController.h"
#include "frameworkapi/ParameterRead.h"
#include "platform/ui/PostCall.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>

namespace orvx::views {

namespace {

constexpr std::int32_t kActionControl = 10;
constexpr std::int32_t kValueControl = 12;
using framework::PageField;
using enum framework::FieldKind;
constexpr PageField kFields[] = {
    {.controlId = kActionControl, .kind = Choice, .item = 215, .caption = "Action"},
    {.controlId = 11, .kind = Choice, .item = 216, .caption = "Normally"},
    {.controlId = kValueControl, .kind = Text, .item = 274, .caption = "Value", .icon = 290},
};

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
    Fields().AddRows(new QGridLayout(group), group, kFields);
    BodyLayout()->addWidget(group);
    m_actionBox = Fields().Widgets(kActionControl)->as<QComboBox>();
    m_value = Fields().Widgets(kValueControl)->as<QLineEdit>();
}

void CSwitchesDlg::CreateControls()
{
    m_action = Fields().Get<controls::CDtmComboBoxControl>(kActionControl);
    // Connected after the control's own handler: the pick is written first.
    connect(m_actionBox, &QComboBox::activated, this,
            [this] { ui::runGuarded("switch action picked", [this] { followAction(shownAction()); }); });
}

void CSwitchesDlg::Activate()
{
    CResourcePage::Activate();
    followDeviceAction();
}

void CSwitchesDlg::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    if (code == device::code::DataReloaded)
        followDeviceAction();
}

void CSwitchesDlg::ModeGated(bool allowed)
{
    // Both ways: the write right may have come back while the page was gated.
    if (allowed)
        followDeviceAction();
}

std::int32_t CSwitchesDlg::shownAction() const
{
    if (!m_action || m_action->CurrentIndex() < 0)
        return -1;
    bool ok = false;
    const int tag = m_action->Choices().choices.value(m_action->CurrentIndex()).tag.toInt(&ok);
    return ok ? tag : -1;
}

void CSwitchesDlg::followDeviceAction()
{
    // An action that cannot be read leaves the field as it is; the status line says so.
    const auto action = framework::readParameter(
        Controller(), device::tag::Switch2Action,
        [](const com::Variant& value) { return controls::CConversions::to_long(device::variantText(value)); });
    if (action)
        followAction(*action);
}

void CSwitchesDlg::followAction(std::int32_t action)
{
    if (!Controller()->IsWritable())
        return;
    m_value->setReadOnly(!isPositionLimit(action));
}

}  // namespace orvx::views
