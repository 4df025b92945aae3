#pragma once

#include <cstdint>
#include <string>

namespace orvx::device {

// Where the device's news go: to the controls registered with an in-process business object,
// or to whatever serves the device to callers elsewhere. What runs the device's work reports
// through this only, so it cannot tell who listens.
class INotificationSink {
public:
    // 'code' is a notification code of the device vocabulary; 'value' names the method a
    // failure is about, or is empty.
    virtual void Notify(std::int32_t code, const std::string& value) = 0;

protected:
    ~INotificationSink() = default;
};

}  // namespace orvx::device
