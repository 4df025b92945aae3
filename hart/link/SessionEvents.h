#pragma once

#include "hart/commands/DeviceCommandSet.h"
#include "hart/protocol/DeviceIdentity.h"

#include <string>
#include <vector>

namespace orvx::hart {

// What the link's thread tells the business object; called on the link's thread.
class ISessionEvents {
public:
    virtual void sessionConnected(const DeviceIdentity& identity) = 0;
    // The device was lost, or a try to reach it failed: the reason says why.
    virtual void sessionLost(const std::string& reason) = 0;
    // The device's notifications, once the parameters they announce are in the cache.
    virtual void deviceNotified(std::vector<DeviceNotification> notifications) = 0;
    // The device did not start the method: the response code says why.
    virtual void methodRefused(int method, std::uint8_t responseCode) = 0;

protected:
    ~ISessionEvents() = default;
};

}  // namespace orvx::hart
