#pragma once

#include <QString>

#include <cstdint>

namespace orvx::framework {

// Receives the business object's notifications as the controller hands them on.
class IInternalUpdateUI {
public:
    virtual ~IInternalUpdateUI() = default;
    // A notification (code, value as text) handed on by the controller; code 1 carries a new
    // state document, code 100 never arrives. A code the receiver does not know is ignored.
    virtual void OnUpdate(std::int32_t code, const QString& text) = 0;
};

}  // namespace orvx::framework
