#pragma once

#include "InterfaceGuids.h"
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"
#include "platform/com/Variant.h"

namespace orvx::device {

class IDtmActiveXControl;

// The older interface of the business object and the only one with parameters. Slots 9 to 11
// are operations this system does not use.
class IDtmUiEarlier : public com::IDispatch {
public:
    static constexpr Guid iid = IID_IDtmUiEarlier;

    // slot 7: asks the business object to close the control of the caller tag (the address
    // control's Close); the status is not looked at.
    virtual com::Status CloseControl(const com::BStr& callerTag) = 0;
    // slot 8: as IDtmUiCurrent::GetText.
    virtual com::Status GetText(const com::BStr& key, com::BStr* text) = 0;
    virtual com::Status Reserved9() { return com::Status::NotImplemented; }
    virtual com::Status Reserved10() { return com::Status::NotImplemented; }
    virtual com::Status Reserved11() { return com::Status::NotImplemented; }
    // slot 12: as IDtmUiCurrent::GetStateDocument.
    virtual com::Status GetStateDocument(com::BStr* document) = 0;
    // slot 13: the parameter's value; a negative status (an unknown tag, say) is raised by the
    // edit model as com::ComError.
    virtual com::Status GetParameter(const com::BStr& tag, com::Variant* value) = 0;
    // slot 14: a negative status is raised by the edit model (com::ComError). A tag written with
    // an empty value starts a device command. 'word' is not used.
    virtual com::Status SetParameter(const com::BStr& tag, const com::Variant& value, std::uint32_t* word) = 0;
    // slot 15: as IDtmUiRegistry::RegisterControl; the address control registers here first.
    virtual com::Status RegisterControl(const com::BStr& progId, const com::BStr& callerTag,
                                        IDtmActiveXControl* control, bool writeRequested, bool* accepted) = 0;
    // slot 16: as IDtmUiRegistry::UnregisterControl.
    virtual com::Status UnregisterControl(const com::BStr& callerTag, bool wasRegistered, bool* result) = 0;

protected:
    ~IDtmUiEarlier() = default;
};

}  // namespace orvx::device
