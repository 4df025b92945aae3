#pragma once

#include "Guids.h"
#include "platform/com/BStr.h"
#include "platform/com/Unknown.h"

namespace orvx::host {

class IDtmActiveXControl;

// Registration of a control with the business object; asked for first by the main, offline
// and trend controls.
class IDtmUiRegistry : public com::IDispatch {
public:
    static constexpr Guid iid = IID_IDtmUiRegistry;

    // slot 7: 'accepted' true means the control may write.
    virtual com::Status RegisterControl(const com::BStr& progId, const com::BStr& callerTag,
                                        IDtmActiveXControl* control, bool writeRequested,
                                        bool* accepted) = 0;
    // slot 8: callerTag may be null.
    virtual com::Status UnregisterControl(const com::BStr& callerTag, bool wasRegistered,
                                          bool* result) = 0;

protected:
    ~IDtmUiRegistry() = default;
};

}  // namespace orvx::host
