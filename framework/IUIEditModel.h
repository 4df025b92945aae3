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
// and writes of parameters on the business object and sees every notification first.
class IUIEditModel : public IInternalUpdateUI {
public:
    virtual void Attach(IUIController* controller, CTextProvider* texts, com::IUnknown* businessObject,
                        const QString& callerTag) = 0;
    virtual void InitAreas() = 0;
    virtual void Detach() = 0;
    // True when the event's kind was handled and its reply fields are valid. A failed read or
    // write of most kinds is raised (com::ComError) to the sender.
    virtual bool HandleEvent(controls::CUIEventBase& event) = 0;
    virtual void Reserved(std::int32_t first, const QString& second) = 0;
    virtual void SetFunctionCall(const QString& text) = 0;
    virtual void SetUserLevel(const QString& text) = 0;
    // An empty tag reads nothing and answers an empty value. Failures are raised.
    virtual com::Variant GetValue(const QString& tag) = 0;
    virtual void SetValue(const QString& tag, const com::Variant& value) = 0;
};

}  // namespace orvx::framework
