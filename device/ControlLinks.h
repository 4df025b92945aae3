#pragma once

#include "IDtmActiveXControl.h"
#include "NotificationSink.h"
#include "platform/com/BStr.h"
#include "platform/com/ComPtr.h"
#include "platform/com/Variant.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvx::device {

// The controls registered with the device, each under its caller tag, and how they are told of
// the device's news.
class ControlLinks : public INotificationSink {
public:
    // Registers 'control' (not null) under 'callerTag', replacing an earlier registration of the
    // same control.
    void Register(const com::BStr& callerTag, IDtmActiveXControl* control);
    // Takes the latest registration under 'callerTag' off the list and hands its control back,
    // null when there was none: the caller lets go of it last, as it may hold the last reference
    // to the device.
    com::ComPtr<IDtmActiveXControl> Unregister(const com::BStr& callerTag);
    std::size_t Count() const { return m_controls.size(); }

    // Tells every registered control through its IUpdateUI. A control that unregisters while
    // another is told is not told afterwards; one that answers no IUpdateUI is skipped.
    void NotifyAll(std::int32_t code, const com::Variant& value) const;
    // NotifyAll with 'value' as a text, or with no value when it is empty.
    void Notify(std::int32_t code, const std::string& value) override;

private:
    struct Registration {
        com::BStr callerTag;
        com::ComPtr<IDtmActiveXControl> control;
    };
    std::vector<Registration> m_controls;
};

}  // namespace orvx::device
