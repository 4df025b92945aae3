#include "Vocabulary.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <unordered_map>

namespace orvx::device {

namespace {

#define ORVX_PARAMETER_ENTRY(name, ...) &parameter::name,
constexpr const Parameter* kParameters[] = {ORVX_DEVICE_PARAMETERS(ORVX_PARAMETER_ENTRY)};
#undef ORVX_PARAMETER_ENTRY

#define ORVX_METHOD_ENTRY(name, number, cancellable, title, meaning)                                                   \
    {#name, number, #number, cancellable, title, meaning},
constexpr Method kMethodEntries[] = {ORVX_DEVICE_METHODS(ORVX_METHOD_ENTRY)};
#undef ORVX_METHOD_ENTRY

#define ORVX_NOTIFICATION_ENTRY(name, value, meaning) {#name, value, meaning},
constexpr Notification kNotificationEntries[] = {ORVX_DEVICE_NOTIFICATIONS(ORVX_NOTIFICATION_ENTRY)};
#undef ORVX_NOTIFICATION_ENTRY

template <typename Entry, std::size_t N>
constexpr std::array<const Entry*, N> pointersTo(const Entry (&entries)[N])
{
    std::array<const Entry*, N> pointers{};
    for (std::size_t i = 0; i < N; ++i)
        pointers[i] = &entries[i];
    return pointers;
}
constexpr auto kMethods = pointersTo(kMethodEntries);
constexpr auto kNotifications = pointersTo(kNotificationEntries);

// A pressure's range is kept in psi. In bar or kpa a limit is shown, and entered, with the
// unit's decimals (3 and 0), which may carry it up to one last digit across the limit in psi.
double slackIn(int pressureUnit)
{
    return pressureUnit == pressure::Bar ? 0.001 : pressureUnit == pressure::Kpa ? 1.0 : 0.0;
}

template <typename Number>
bool parseWhole(std::string_view text, Number& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

bool parseDecimal(std::string_view text, double& value)
{
    // from_chars would take "inf" and "nan"; a device value is digits, a sign and a point.
    if (text.empty() || text.find_first_not_of("+-.0123456789eE") != std::string_view::npos)
        return false;
    if (text.front() == '+')
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

// Up to three decimals, without trailing zeros: a limit as a user reads it.
std::string number(double value)
{
    char text[48];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 3);
    std::string out(text, result.ptr);
    out.erase(out.find_last_not_of('0') + 1);
    if (out.ends_with('.'))
        out.pop_back();
    return out == "-0" ? "0" : out;
}

std::string rangeProblem(const Parameter& parameter, double value, int pressureUnit)
{
    const Limits& limits = parameter.limits;
    if (!limits.ranged || (limits.zeroAllowed && value == 0.0))
        return {};
    const bool inPressureUnit = parameter.unit == Unit::SettingsPressure || parameter.unit == Unit::MeasuredPressure;
    const double scale = inPressureUnit ? unitsPerPsi(pressureUnit) : 1.0;
    const double slack = inPressureUnit ? slackIn(pressureUnit) : 0.0;
    if (value >= limits.low * scale - slack && value <= limits.high * scale + slack)
        return {};
    return "outside " + number(limits.low * scale) + " to " + number(limits.high * scale);
}

std::string wholeProblem(const Parameter& parameter, std::string_view text, int pressureUnit)
{
    long long value = 0;
    if (!parseWhole(text, value))
        return "not a whole number";
    if (parameter.type == ValueType::Choice && !parameter.limits.codes.empty()) {
        const auto& codes = parameter.limits.codes;
        return std::find(codes.begin(), codes.end(), value) != codes.end() ? std::string() : "not one of its codes";
    }
    return rangeProblem(parameter, static_cast<double>(value), pressureUnit);
}

// Three whole numbers joined by '-': years since 1900, month, day.
bool isDate(std::string_view text)
{
    int fields[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::size_t dash = i < 2 ? text.find('-') : text.size();
        if (dash == std::string_view::npos || !parseWhole(text.substr(0, dash), fields[i]))
            return false;
        text.remove_prefix(std::min(dash + 1, text.size()));
    }
    return fields[0] >= 0 && fields[1] >= 1 && fields[1] <= 12 && fields[2] >= 1 && fields[2] <= 31;
}

bool isCurve(std::string_view text)
{
    if (text.empty())
        return true;
    std::size_t count = 0;
    for (;;) {
        const std::size_t at = text.find('@');
        double value = 0.0;
        if (!parseDecimal(text.substr(0, at), value))
            return false;
        ++count;
        if (at == std::string_view::npos)
            return count % 2 == 0;
        text.remove_prefix(at + 1);
    }
}

// Characters, not bytes: a UTF-8 continuation byte starts none.
std::size_t characters(std::string_view text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

std::span<const Parameter* const> parameters()
{
    return kParameters;
}

std::span<const Method* const> methods()
{
    return kMethods;
}

std::span<const Notification* const> notifications()
{
    return kNotifications;
}

const Parameter* findParameter(std::string_view tag)
{
    // Every read of a device goes through here: an index made once, not a walk of the table.
    static const auto byTag = [] {
        std::unordered_map<std::string_view, const Parameter*> index;
        for (const Parameter* parameter : kParameters)
            index.emplace(parameter->tag, parameter);
        return index;
    }();
    const auto it = byTag.find(tag);
    return it == byTag.end() ? nullptr : it->second;
}

const Method* findMethod(int number)
{
    const auto it = std::ranges::find(kMethods, number, &Method::number);
    return it == kMethods.end() ? nullptr : *it;
}

const Method* findMethodByTag(std::string_view tag)
{
    const auto it = std::ranges::find(kMethods, tag, &Method::tag);
    return it == kMethods.end() ? nullptr : *it;
}

const Notification* findNotification(std::int32_t code)
{
    const auto it = std::ranges::find(kNotifications, code, &Notification::code);
    return it == kNotifications.end() ? nullptr : *it;
}

double unitsPerPsi(int unit)
{
    return unit == pressure::Bar ? 0.0689475729 : unit == pressure::Kpa ? 6.89475729 : 1.0;
}

std::string problemWith(const Parameter& parameter, std::string_view text, int pressureUnit)
{
    switch (parameter.type) {
    case ValueType::Text:
        if (parameter.limits.maxLength > 0 && characters(text) > static_cast<std::size_t>(parameter.limits.maxLength))
            return "longer than " + std::to_string(parameter.limits.maxLength) + " characters";
        return {};
    case ValueType::Integer:
    case ValueType::Choice: return wholeProblem(parameter, text, pressureUnit);
    case ValueType::Decimal: {
        double value = 0.0;
        if (!parseDecimal(text, value))
            return "not a number";
        return rangeProblem(parameter, value, pressureUnit);
    }
    case ValueType::Flag:
    case ValueType::Boolean: return text == "0" || text == "1" ? std::string() : "neither 0 nor 1";
    case ValueType::Date: return isDate(text) ? std::string() : "not a date as years since 1900-month-day";
    case ValueType::FaultBits:
        return text.size() == 18 && text.find_first_not_of("0123456789ABCDEFabcdef") == std::string_view::npos
                   ? std::string()
                   : "not 18 hexadecimal digits";
    case ValueType::Curve: return isCurve(text) ? std::string() : "not pairs of numbers joined by '@'";
    }
    return "of no known type";
}

}  // namespace orvx::device
