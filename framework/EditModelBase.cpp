#include "EditModelBase.h"

#include "IToolbarArea.h"
#include "VersionBox.h"
#include "controls/Conversions.h"
#include "controls/UIEvents.h"
#include "device/DeviceNames.h"
#include "device/IDtmUiCurrent.h"
#include "device/IDtmUiEarlier.h"
#include "device/StringBridge.h"
#include "frameworkapi/IUIController.h"
#include "platform/com/ComError.h"
#include "platform/ui/ModuleFile.h"
#include "platform/ui/Resources.h"

#include <algorithm>

namespace orvx::framework {

using namespace controls;

namespace {

const QString kInvalidValue = QStringLiteral("invalid value.");
// A device of another make has no such parameter: the page says so rather than show nothing.
const QString kNotSupported = QStringLiteral("not supported.");

}  // namespace

CEditModelBase::CEditModelBase() = default;
CEditModelBase::~CEditModelBase() = default;

void CEditModelBase::OnUpdate(std::int32_t, const QString&) {}

void CEditModelBase::Attach(IUIController* controller, CTextProvider* texts, com::IUnknown* businessObject,
                            const QString& callerTag)
{
    m_current = com::queryInterface<device::IDtmUiCurrent>(businessObject);
    m_earlier = com::queryInterface<device::IDtmUiEarlier>(businessObject);
    m_callerTag = callerTag;
    m_controller = controller;
    m_texts = texts;
}

void CEditModelBase::Detach()
{
    m_current.reset();
    m_earlier.reset();
}

bool CEditModelBase::HandleEvent(CUIEventBase&)
{
    return false;
}

com::Variant CEditModelBase::GetValue(const QString& tag)
{
    if (tag.isEmpty())
        return {};
    if (!m_earlier)
        throw com::ComError(com::Status::InvalidPointer, "no parameter interface");
    com::Variant value;
    constexpr const char* kWhat = "reading a parameter";
    com::check(com::callOut([&] { return m_earlier->GetParameter(device::toBStr(tag), &value); }, kWhat), kWhat);
    return value;
}

void CEditModelBase::SetValue(const QString& tag, const com::Variant& value)
{
    if (tag.isEmpty())
        return;
    if (!m_earlier)
        throw com::ComError(com::Status::InvalidPointer, "no parameter interface");
    std::uint32_t word = 0;
    constexpr const char* kWhat = "writing a parameter";
    com::check(com::callOut([&] { return m_earlier->SetParameter(device::toBStr(tag), value, &word); }, kWhat), kWhat);
}

template <class Read>
void CEditModelBase::readOrMarkInvalid(CUIEventBase& event, Read read)
{
    try {
        read();
    } catch (const com::ComError& error) {
        event.SetError(error.status() == com::Status::NotImplemented ? kNotSupported : kInvalidValue);
    } catch (const std::exception&) {
        event.SetError(kInvalidValue);
    }
}

// Called from the handler that caught 'error': 'throw;' passes it on as it was.
void CEditModelBase::markUnsupportedOrRethrow(CUIEventBase& event, const com::ComError& error)
{
    if (error.status() != com::Status::NotImplemented)
        throw;
    event.SetError(kNotSupported);
}

bool CEditModelBase::handleCommonEvent(CUIEventBase& event)
{
    switch (event.GetType()) {
    case EventTextDataSet: {
        auto& set = static_cast<CTextDataSetEvent&>(event);
        if (set.IsValid())
            SetValue(set.GetTag(), device::textVariant(set.GetValue()));
        return true;
    }
    case EventCommand: {
        auto& command = static_cast<CCommandEvent&>(event);
        SetValue(command.GetTag(), com::Variant());
        return true;
    }
    case EventComboBoxGet: {
        auto& get = static_cast<CComboBoxGetEvent&>(event);
        CChoiceList choices = get.GetChoices();
        // A value that is none of the choices, or none read, selects none: the previous
        // selection would pass for the device's value.
        choices.current = -1;
        readOrMarkUnsupported(event, [&] {
            const QString value = device::variantText(GetValue(get.GetTag()));
            const auto match = std::find_if(choices.choices.cbegin(), choices.choices.cend(),
                                            [&](const CChoice& choice) { return choice.tag == value; });
            if (match != choices.choices.cend())
                choices.current = static_cast<std::int32_t>(match - choices.choices.cbegin());
            else if (!choices.choices.isEmpty())
                get.SetError(kInvalidValue);
        });
        get.SetChoices(choices);
        return true;
    }
    case EventComboBoxSet: {
        auto& set = static_cast<CComboBoxSetEvent&>(event);
        const CChoice choice = set.GetChoice();
        if (choice.number == 0)
            SetValue(set.GetTag(), device::textVariant(choice.tag));
        return true;
    }
    case EventViewActivated:
        if (m_controller)
            m_controller->RefreshPage(event.GetViewId(), -1);
        return true;
    case EventStaticText: {
        auto& text = static_cast<CStaticTextEvent&>(event);
        readOrMarkInvalid(event, [&] {
            if (text.GetTag() == device::tag::Mode && m_controller)
                text.SetStaticText(m_controller->GetModeText());
            else
                text.SetStaticText(device::variantText(GetValue(text.GetTag())));
        });
        return true;
    }
    default: return false;
    }
}

bool CEditModelBase::handleOnlineEvent(CUIEventBase& event)
{
    switch (event.GetType()) {
    case EventBitEnumGet: {
        auto& get = static_cast<CBitEnumGetEvent&>(event);
        readOrMarkInvalid(event, [&] { get.SetValue(GetValue(get.GetTag()).toUInt32()); });
        return true;
    }
    case EventBitEnumSet: {
        auto& set = static_cast<CBitEnumSetEvent&>(event);
        if (set.IsValid())
            SetValue(set.GetTag(), device::textVariant(CConversions::from_uint(set.GetChecked())));
        return true;
    }
    case EventCheckBoxSet: {
        auto& click = static_cast<CCheckBoxEvent&>(event);
        SetValue(click.GetTag(), device::textVariant(CConversions::from_int(click.GetChecked())));
        return true;
    }
    case EventCheckBoxGet: {
        auto& read = static_cast<CCheckBoxEvent&>(event);
        readOrMarkInvalid(event,
                          [&] { read.SetChecked(static_cast<std::int32_t>(GetValue(read.GetTag()).toUInt32())); });
        return true;
    }
    case EventRadioSet: {
        auto& set = static_cast<CRadioSetEvent&>(event);
        SetValue(set.GetTag(),
                 device::textVariant(CConversions::from_uint(static_cast<std::uint32_t>(set.GetValue()))));
        return true;
    }
    case EventRadioGet: {
        auto& get = static_cast<CRadioGetEvent&>(event);
        readOrMarkInvalid(event, [&] { get.SetValue(GetValue(get.GetTag()).toUInt32()); });
        return true;
    }
    case EventGenericGet: {
        auto& get = static_cast<CGenericGetEvent&>(event);
        readOrMarkUnsupported(event, [&] { get.SetValue(GetValue(get.GetTag())); });
        return true;
    }
    default: return false;
    }
}

void CEditModelBase::showAbout()
{
    if (m_controller && m_controller->IsPrivateDialogEnabled())
        showVersionBox(m_controller->GetMainWindow(), ui::moduleFilePath());
}

void CEditModelBase::addAboutAction(int actionId)
{
    IToolbarArea* toolbar = m_controller ? m_controller->GetToolbarArea() : nullptr;
    const QPixmap about = ui::iconPixmap(275, QSize(16, 16));
    if (toolbar && !about.isNull())
        toolbar->AddIconAction(actionId, QIcon(about), ToolbarPush, QStringLiteral("About"));
}

}  // namespace orvx::framework
