#pragma once

#include "device/IDtmActiveXControl.h"
#include "device/IUpdateUI.h"
#include "hart/commands/DeviceCommandSet.h"
#include "platform/com/ComObject.h"

#include <deque>

namespace orvx::hart {

// What the device announced, kept for masters to read with command 131: registered with the
// positioner as a control, it numbers each notification and keeps the last kKept of them.
class NotificationLog : public com::ComObject<device::IDtmActiveXControl, device::IUpdateUI> {
public:
    static constexpr std::size_t kKept = 256;

    com::Status Init(const com::BStr&, const com::BStr&, com::IUnknown*, bool*) override { return com::Status::Ok; }
    com::Status PrepareToRelease(bool*) override { return com::Status::Ok; }
    com::Status Notify(std::int32_t code, const com::Variant& value) override;

    // The kept notifications from `from` on (all kept ones when `from` is older than the oldest).
    std::vector<DeviceNotification> since(std::uint16_t from) const;
    std::uint16_t nextSequence() const { return m_next; }

private:
    std::deque<DeviceNotification> m_kept;
    std::uint16_t m_next = 0;
};

}  // namespace orvx::hart
