#pragma once

#include "InterfaceGuids.h"
#include "platform/com/Unknown.h"
#include "platform/com/Variant.h"

namespace orvx::device {

// The business object's callback into a control: progress, results and new state documents.
class IUpdateUI : public com::IDispatch {
public:
    static constexpr Guid iid = IID_IUpdateUI;

    // slot 7: code 1 carries a new state document, 100 an undownloaded PST schedule, others the
    // progress and results of device operations. A failure while handling it answers its status.
    virtual com::Status Notify(std::int32_t code, const com::Variant& value) = 0;

protected:
    ~IUpdateUI() = default;
};

}  // namespace orvx::device
