#pragma once

#include "InterfaceGuids.h"
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"

namespace orvx::device {

using com::BStr;
using com::Status;

// What the frame calls on a control: hand it the business object, and take it back.
// Both answer success with the outcome in 'result'; only a failure raised on the way is answered
// with its status, and reported.
class IDtmActiveXControl : public com::IDispatch {
public:
    static constexpr Guid iid = IID_IDtmActiveXControl;

    // slot 7: 'result' false, keeping nothing, for a null object or a call without the DTM schema;
    // else it registers and starts; true means it could register, whether or not it was accepted.
    virtual Status Init(const BStr& callerTag, const BStr& functionCall, com::IUnknown* businessObject,
                        bool* result) = 0;
    // slot 8: 'result' is always true; without a business object nothing else happens. Otherwise
    // detaches any edit model, unregisters the control and lets go of the business object.
    virtual Status PrepareToRelease(bool* result) = 0;

protected:
    ~IDtmActiveXControl() = default;
};

}  // namespace orvx::device
