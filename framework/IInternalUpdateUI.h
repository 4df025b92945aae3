#pragma once

#include <QString>

#include <cstdint>

namespace orvx::framework {

// Receives the business object's notifications as the controller hands them on.
class IInternalUpdateUI {
public:
    virtual ~IInternalUpdateUI() = default;
    virtual void OnUpdate(std::int32_t code, const QString& text) = 0;
};

}  // namespace orvx::framework
