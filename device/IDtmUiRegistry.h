#pragma once

#include "InterfaceGuids.h"
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"

namespace orvx::device {

class IDtmActiveXControl;

// Registration of a control with the business object; asked for first by the main, offline
// and trend controls.
class IDtmUiRegistry : public com::IDispatch {
public:
    static constexpr Guid iid = IID_IDtmUiRegistry;

    // slot 7: 'accepted' true means the control may write; false, or a failed call, leaves it
    // read-only. The business object notifies the control's IUpdateUI until it is unregistered.
    virtual com::Status RegisterControl(const com::BStr& progId, const com::BStr& callerTag,
                                        IDtmActiveXControl* control, bool writeRequested, bool* accepted) = 0;
    // slot 8: ends the notifications to the control; callerTag may be null. Neither the answer nor
    // the status is looked at.
    virtual com::Status UnregisterControl(const com::BStr& callerTag, bool wasRegistered, bool* result) = 0;

protected:
    ~IDtmUiRegistry() = default;
};

}  // namespace orvx::device
