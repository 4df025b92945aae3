#pragma once

#include "platform/com/Variant.h"

#include <QString>

#include <cstdint>

namespace orvx::controls {

// Checks an entry before it is sent to the device and keeps a message when it is not valid.
class IValidator {
public:
    virtual ~IValidator() = default;
    // Whether the entry passes; a failure keeps its message and code. Never throws: an entry that
    // does not read as a number is simply invalid.
    virtual bool Validate(const com::Variant& entry) = 0;
    // The pressure unit (HART code 6 psi, 7 bar, 12 kPa) whose range applies; another code keeps
    // the range. Only a pressure range uses it.
    virtual void SetUnit(std::uint32_t unitCode) = 0;
    // The message of the last failed validation, empty when the validator has no texts; read it
    // only after Validate answered false.
    virtual QString GetMessage() const = 0;
    // The text id of that message: 20, 22, 23 or 24; 0 before the first failure or without texts.
    virtual std::uint32_t GetErrorCode() const = 0;
};

}  // namespace orvx::controls
