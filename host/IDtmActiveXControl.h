#pragma once

#include "Guids.h"
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"

namespace orvx::host {

using com::BStr;
using com::Status;

// What the frame calls on a control: hand it the business object, and take it back.
// Both always answer success; the outcome is in 'result'.
class IDtmActiveXControl : public com::IDispatch {
public:
    static constexpr Guid iid = IID_IDtmActiveXControl;

    // slot 7
    virtual Status Init(const BStr& callerTag, const BStr& functionCall,
                        com::IUnknown* businessObject, bool* result) = 0;
    // slot 8
    virtual Status PrepareToRelease(bool* result) = 0;

protected:
    ~IDtmActiveXControl() = default;
};

}  // namespace orvx::host
