#pragma once

#include "IUIEditModel.h"
#include "platform/com/ComError.h"
#include "platform/com/ComPtr.h"

namespace orvx::device {
class IDtmUiCurrent;
class IDtmUiEarlier;
}  // namespace orvx::device

namespace orvx::framework {

// What the three edit models share: the business-object references, parameter access, and
// the handling of the event kinds they have in common. No value is cached: every read goes to
// the business object.
class CEditModelBase : public IUIEditModel {
public:
    CEditModelBase();
    ~CEditModelBase() override;

    void OnUpdate(std::int32_t code, const QString& text) override;
    void Attach(IUIController* controller, CTextProvider* texts, com::IUnknown* businessObject,
                const QString& callerTag) override;
    void Detach() override;
    bool HandleEvent(controls::CUIEventBase& event) override;
    void Reserved(std::int32_t, const QString&) override {}
    void SetFunctionCall(const QString& text) override { m_functionCall = text; }
    void SetUserLevel(const QString& text) override { m_userLevel = text; }
    com::Variant GetValue(const QString& tag) override;
    void SetValue(const QString& tag, const com::Variant& value) override;

    const QString& GetFunctionCall() const { return m_functionCall; }
    const QString& GetUserLevel() const { return m_userLevel; }
    const QString& GetCallerTag() const { return m_callerTag; }
    bool HasEarlierInterface() const { return static_cast<bool>(m_earlier); }

protected:
    // The event kinds every model handles the same way; false for any other kind.
    bool handleCommonEvent(controls::CUIEventBase& event);
    // Kinds 8, 12, 15 and 17, which only the online model handles.
    bool handleOnlineEvent(controls::CUIEventBase& event);
    // Shows the version box of this module when private dialogs are enabled.
    void showAbout();
    // The About button: icon 275 as action 'actionId', when the icon loads.
    void addAboutAction(int actionId);

    IUIController* controller() const { return m_controller; }
    CTextProvider* texts() const { return m_texts; }
    // A read for a kind whose failure escapes to the control, which reports it; a parameter the
    // device does not have shows "not supported." in the event instead.
    template <class Read>
    void readOrMarkUnsupported(controls::CUIEventBase& event, Read read)
    {
        try {
            read();
        } catch (const com::ComError& error) {
            markUnsupportedOrRethrow(event, error);
        }
    }

private:
    static void markUnsupportedOrRethrow(controls::CUIEventBase& event, const com::ComError& error);
    // A read for a kind whose failure shows "invalid value." in the event instead of escaping.
    template <class Read>
    void readOrMarkInvalid(controls::CUIEventBase& event, Read read);

    IUIController* m_controller = nullptr;
    com::ComPtr<device::IDtmUiCurrent> m_current;
    com::ComPtr<device::IDtmUiEarlier> m_earlier;
    QString m_callerTag;
    CTextProvider* m_texts = nullptr;
    QString m_functionCall;
    QString m_userLevel;
};

}  // namespace orvx::framework
