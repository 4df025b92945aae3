#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The words the device and whoever talks to it share: every parameter with its value type, unit,
// access, range and meaning, every method with its result code, every notification code. The
// entries themselves stand in VocabularyTable.h; this header gives each of them a name in code
// (parameter::Mode, method::FindStops, code::NewValues) and finds them by tag or number.
//
// Free of Qt, so that a business object (the simulator, a HART link) can use it; the user
// interface reads the tags through the Qt view of DeviceNames.h. Every entry carries a stable
// name, the identifier it has in code, by which other tables (a HART command map) may refer to it.
namespace orvx::device {

// How a value is written as text across the business-object boundary.
enum class ValueType {
    Text,       // free text; a length limit, when one exists, counts characters
    Integer,    // a whole number in decimal digits, '-' for a negative one
    Decimal,    // a number in decimal notation, '.' as its separator
    Choice,     // a whole number out of a few codes, each with a meaning of its own
    Flag,       // "1" on, "0" off
    Boolean,    // a boolean variant ("1" or "0" as text), the frame's own flags
    Date,       // "years since 1900-month-day"
    FaultBits,  // 72 fault bits as 9 bytes of hexadecimal text, bit n in byte (n - 1) / 8
    Curve,      // "pressure@position@..." in pairs, or empty for no curve
};

// What a number counts. A pressure follows one of the two unit parameters, so its range below
// is given in psi and holds in any unit once converted.
enum class Unit {
    None,
    Percent,           // of the valve's travel, 0 closed and 100 open
    PercentPerSecond,  // of the travel
    MilliAmpere,
    Second,
    Millisecond,
    Day,
    Minute,
    DegreeCelsius,
    Count,             // raw converter counts, samples
    SettingsPressure,  // in the unit parameter::PressureUnit names (6 psi, 7 bar, 12 kpa)
    MeasuredPressure,  // in the unit parameter::MeasuredPressureUnit names
};

// What the user interface does with a parameter: reads it, writes it, or both.
enum class Access { Read, Write, ReadWrite };

// The values a parameter takes beyond its type: a range (for a pressure, in psi) with or without
// 0 as a value of its own, a list of codes, or a longest text.
struct Limits {
    bool ranged = false;
    double low = 0.0;
    double high = 0.0;
    bool zeroAllowed = false;  // 0 besides the range: "none"
    std::span<const int> codes = {};
    int maxLength = 0;  // characters; 0: no limit
};

inline constexpr Limits unlimited{};
constexpr Limits within(double low, double high)
{
    return {.ranged = true, .low = low, .high = high};
}
constexpr Limits withinOrZero(double low, double high)
{
    return {.ranged = true, .low = low, .high = high, .zeroAllowed = true};
}
constexpr Limits oneOf(std::span<const int> codes)
{
    return {.codes = codes};
}
constexpr Limits upTo(int characters)
{
    return {.maxLength = characters};
}

// The code lists of the choices.
namespace codes {
inline constexpr int Modes[] = {0, 1, 3};                     // setup, manual, normal
inline constexpr int DeviceStates[] = {0, 1, 2, 4, 64, 128};  // ok, low power, fail-safe, fatal, fail high, marginal
inline constexpr int PressureUnits[] = {6, 7, 12};            // psi, bar, kpa
inline constexpr int FaultActions[] = {3, 4};                 // fail low, fail high
inline constexpr int BurstCommands[] = {1, 3};                // read PV, read all variables
inline constexpr int TwoWays[] = {0, 1};                      // a choice of two, neither of them "off"
}  // namespace codes

// The HART unit codes of pressures.
namespace pressure {
inline constexpr int Psi = 6;
inline constexpr int Bar = 7;
inline constexpr int Kpa = 12;
}  // namespace pressure

struct Parameter {
    std::string_view name;  // stable: the identifier in parameter:: and tag::
    std::string_view tag;   // decimal text, as GetParameter and SetParameter take it
    ValueType type;
    Limits limits;
    Unit unit;
    Access access;
    std::string_view meaning;

    constexpr bool Readable() const { return access != Access::Write; }
    constexpr bool Writable() const { return access != Access::Read; }
    // The same parameter: the tag says which.
    constexpr bool operator==(const Parameter& other) const { return tag == other.tag; }
};

// A device method, started by writing its number as a tag with an empty value.
struct Method {
    std::string_view name;  // stable: the identifier in method::
    int number;
    std::string_view tag;  // the number as decimal text
    bool cancellable;      // method 23 stops it; otherwise it runs to its own end
    std::string_view title;
    std::string_view meaning;

    // The notification that says it succeeded; a failure is a negative code carrying the
    // method's number as its value.
    constexpr std::int32_t ResultCode() const { return 500 + number; }
};

// A notification code the business object sends on its own, or a failure code.
struct Notification {
    std::string_view name;  // stable: the identifier in code::
    std::int32_t code;
    std::string_view meaning;
};

// Every parameter, method and notification, in table order.
std::span<const Parameter* const> parameters();
std::span<const Method* const> methods();
std::span<const Notification* const> notifications();

// The entry under a tag, method number or code; null for one the vocabulary does not hold.
const Parameter* findParameter(std::string_view tag);
const Method* findMethod(int number);
// The method whose tag is exactly 'tag' (decimal digits, no sign, no blanks); null otherwise.
const Method* findMethodByTag(std::string_view tag);
const Notification* findNotification(std::int32_t code);

// Why 'text' is no value of 'parameter' ("not a whole number", "outside 5 to 30", ...), or an
// empty text when it is one. A pressure is compared with its range in 'pressureUnit'; an unknown
// unit counts as psi.
std::string problemWith(const Parameter& parameter, std::string_view text, int pressureUnit = pressure::Psi);

// How many of 'unit' make one psi; 1 for psi and for any code that is no pressure unit.
double unitsPerPsi(int unit);

}  // namespace orvx::device

#include "VocabularyTable.h"

namespace orvx::device {

#define ORVX_DEVICE_PARAMETER(name, tag, type, limits, unit, access, meaning)                                          \
    inline constexpr Parameter name{#name, tag, ValueType::type, limits, Unit::unit, Access::access, meaning};
#define ORVX_DEVICE_METHOD(name, number, cancellable, title, meaning) inline constexpr int name = number;
#define ORVX_DEVICE_NOTIFICATION(name, value, meaning) inline constexpr std::int32_t name = value;

// The parameters by name: parameter::PstTravel.tag is "16000".
namespace parameter {
ORVX_DEVICE_PARAMETERS(ORVX_DEVICE_PARAMETER)
}  // namespace parameter

// The method numbers by name; the methods themselves through findMethod.
namespace method {
ORVX_DEVICE_METHODS(ORVX_DEVICE_METHOD)
}  // namespace method

// Notification codes, the first argument of Notify.
namespace code {
ORVX_DEVICE_NOTIFICATIONS(ORVX_DEVICE_NOTIFICATION)

// The code of a method that succeeded.
constexpr std::int32_t resultOf(int method)
{
    return 500 + method;
}
inline constexpr std::int32_t ModeChanged = resultOf(method::ModeChange);
inline constexpr std::int32_t Cancelled = resultOf(method::Cancel);

// Failures are negative; the value of a failed method names it as decimal text.
constexpr bool isFailure(std::int32_t code)
{
    return code < 0;
}
// The value of Revalidate that asks every page, not only the one shown.
inline constexpr int RevalidateAllPages = 2;
}  // namespace code

#undef ORVX_DEVICE_PARAMETER
#undef ORVX_DEVICE_METHOD
#undef ORVX_DEVICE_NOTIFICATION

}  // namespace orvx::device
