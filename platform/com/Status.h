#pragma once

#include <cstdint>

namespace orvx::com {

// Outcome of a component call, with the platform's numeric values so that statuses logged or
// compared by peers read the same. Negative means failure.
enum class Status : std::int32_t {
    Ok = 0,
    False = 1,
    NotImplemented = static_cast<std::int32_t>(0x80004001u),
    NoInterface = static_cast<std::int32_t>(0x80004002u),
    InvalidPointer = static_cast<std::int32_t>(0x80004003u),
    Failure = static_cast<std::int32_t>(0x80004005u),
    AccessDenied = static_cast<std::int32_t>(0x80070005u),
    ClassNotAvailable = static_cast<std::int32_t>(0x80040111u),
    InvalidArgument = static_cast<std::int32_t>(0x80070057u),
    TypeMismatch = static_cast<std::int32_t>(0x80020005u),
    Overflow = static_cast<std::int32_t>(0x8002000Au),
};

constexpr bool failed(Status s)
{
    return static_cast<std::int32_t>(s) < 0;
}
constexpr bool succeeded(Status s)
{
    return !failed(s);
}

// Short English name of a status, for messages ("failure (0x80004005)").
const char* statusName(Status s);

}  // namespace orvx::com
