#pragma once

#include "IInternalUpdateUI.h"
#include "platform/com/Variant.h"

namespace orvx::com {
class IUnknown;
}
namespace orvx::controls {
class CUIEventBase;
}

namespace orvx::framework {

class IUIController;
class CTextProvider;

// The one place where the user interface touches device data: it turns UI events into reads
// and writes of parameters on the business object and sees every notification before the pages.
class IUIEditModel : public IInternalUpdateUI {
public:
    // Holds the business object's IDtmUiCurrent and IDtmUiEarlier (a missing one stays none), the
    // controller, the texts and the caller tag; the control's Init calls it.
    virtual void Attach(IUIController* controller, CTextProvider* texts, com::IUnknown* businessObject,
                        const QString& callerTag) = 0;
    // Fills the areas as the control starts; the offline and trend models also make and show their
    // one page. Nothing without a controller.
    virtual void InitAreas() = 0;
    // Lets go of the business object's interfaces; reading or writing a tag then raises ComError.
    virtual void Detach() = 0;
    // True when the event's kind was handled and its reply fields are valid. A failed read or
    // write of most kinds is raised (com::ComError) to the sender.
    virtual bool HandleEvent(controls::CUIEventBase& event) = 0;
    // Does nothing in every model; the controller's Reserved lands here.
    virtual void Reserved(std::int32_t first, const QString& second) = 0;
    // Stores the function-call text (XML) that Init received; nothing reads it yet.
    virtual void SetFunctionCall(const QString& text) = 0;
    // Stores the state document's user level; whether the user may write is the controller's call.
    virtual void SetUserLevel(const QString& text) = 0;
    // An empty tag reads nothing and answers an empty value; a failed read, or any without the
    // business object's IDtmUiEarlier, raises com::ComError.
    virtual com::Variant GetValue(const QString& tag) = 0;
    // An empty tag writes nothing; a failed write, or any without IDtmUiEarlier, raises
    // com::ComError. An empty value starts the device command numbered by the tag.
    virtual void SetValue(const QString& tag, const com::Variant& value) = 0;
};

}  // namespace orvx::framework
