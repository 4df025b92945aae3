#include "hart/commands/ValueCodec.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace orvx::hart {

namespace {

using device::Parameter;
using device::ValueType;

constexpr std::size_t kFaultBytes = 9;

// Why a text is no value of the parameter's type; its range is the device's to judge.
std::string typeProblem(const Parameter& parameter, std::string_view text)
{
    Parameter shape = parameter;
    shape.limits = device::unlimited;
    return device::problemWith(shape, text);
}

template <class T>
bool whole(std::string_view text, T& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// Years since 1900, month, day, as the text gives them.
bool dateFields(std::string_view text, int (&fields)[3])
{
    for (int i = 0; i < 3; ++i) {
        const std::size_t dash = i < 2 ? text.find('-') : text.size();
        if (dash == std::string_view::npos || !whole(text.substr(0, dash), fields[i]))
            return false;
        text.remove_prefix(std::min(dash + 1, text.size()));
    }
    return true;
}

Decoded<Bytes> encodeNumber(const Parameter& parameter, std::string_view text)
{
    Bytes bytes;
    ByteWriter out(bytes);
    if (parameter.type == ValueType::Decimal) {
        double value = 0.0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        if (std::abs(value) > std::numeric_limits<float>::max())
            return refuse(0, "too large for a single float");
        out.f32(static_cast<float>(value));
        return bytes;
    }
    std::int64_t value = 0;
    if (!whole(text, value))
        return refuse(0, "not a whole number");
    if (parameter.type == ValueType::Choice) {
        if (value < 0 || value > 255)
            return refuse(0, "a code outside 0 to 255");
        out.u8(static_cast<std::uint8_t>(value));
        return bytes;
    }
    const bool fits = unsignedInteger(parameter) ? value >= 0 && value <= std::numeric_limits<std::uint32_t>::max()
                                                 : value >= std::numeric_limits<std::int32_t>::min() &&
                                                       value <= std::numeric_limits<std::int32_t>::max();
    if (!fits)
        return refuse(0, "outside the four bytes an integer takes");
    out.u32(static_cast<std::uint32_t>(value));
    return bytes;
}

Decoded<Bytes> encodeOther(const Parameter& parameter, std::string_view text)
{
    Bytes bytes;
    ByteWriter out(bytes);
    switch (parameter.type) {
    case ValueType::Flag:
    case ValueType::Boolean: out.u8(text == "1" ? 1 : 0); return bytes;
    case ValueType::Date: {
        int fields[3] = {};
        dateFields(text, fields);
        if (fields[0] > 255)
            return refuse(0, "a year past 2155");
        out.u8(static_cast<std::uint8_t>(fields[2]));
        out.u8(static_cast<std::uint8_t>(fields[1]));
        out.u8(static_cast<std::uint8_t>(fields[0]));
        return bytes;
    }
    case ValueType::FaultBits:
        for (std::size_t i = 0; i < kFaultBytes; ++i) {
            unsigned value = 0;
            std::from_chars(text.data() + 2 * i, text.data() + 2 * i + 2, value, 16);
            out.u8(static_cast<std::uint8_t>(value));
        }
        return bytes;
    case ValueType::Text:
        if (text.size() > kMaxTextBytes)
            return refuse(kMaxTextBytes, "a text over " + std::to_string(kMaxTextBytes) + " bytes");
        out.u8(static_cast<std::uint8_t>(text.size()));
        out.bytes(ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        return bytes;
    default: return refuse(0, "a curve travels by its own command");
    }
}

std::string hexText(ByteView bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const std::uint8_t b : bytes) {
        text.push_back(kDigits[b >> 4]);
        text.push_back(kDigits[b & 0xF]);
    }
    return text;
}

}  // namespace

bool unsignedInteger(const Parameter& parameter)
{
    return parameter.limits.ranged && parameter.limits.low >= 0 &&
           parameter.limits.high > std::numeric_limits<std::int32_t>::max();
}

std::size_t fixedValueSize(ValueType type)
{
    switch (type) {
    case ValueType::Decimal:
    case ValueType::Integer: return 4;
    case ValueType::Choice:
    case ValueType::Flag:
    case ValueType::Boolean: return 1;
    case ValueType::Date: return 3;
    case ValueType::FaultBits: return kFaultBytes;
    default: return 0;
    }
}

std::string singleText(float value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

Decoded<Bytes> encodeValue(const Parameter& parameter, std::string_view text)
{
    if (parameter.type == ValueType::Curve)
        return refuse(0, "a curve travels by its own command");
    if (const std::string problem = typeProblem(parameter, text); !problem.empty())
        return refuse(0, problem);
    if (parameter.type == ValueType::Decimal || parameter.type == ValueType::Integer ||
        parameter.type == ValueType::Choice)
        return encodeNumber(parameter, text);
    return encodeOther(parameter, text);
}

Decoded<std::string> decodeValue(const Parameter& parameter, ByteReader& in)
{
    const std::size_t at = in.offset();
    std::string text;
    switch (parameter.type) {
    case ValueType::Decimal: text = singleText(in.f32()); break;
    case ValueType::Integer: {
        const std::uint32_t raw = in.u32();
        text = unsignedInteger(parameter) ? std::to_string(raw) : std::to_string(static_cast<std::int32_t>(raw));
        break;
    }
    case ValueType::Choice: text = std::to_string(in.u8()); break;
    case ValueType::Flag:
    case ValueType::Boolean: {
        const std::uint8_t flag = in.u8();
        if (in.ok() && flag > 1)
            return refuse(at, "a flag of " + std::to_string(flag));
        text = flag ? "1" : "0";
        break;
    }
    case ValueType::Date: {
        const int day = in.u8();
        const int month = in.u8();
        const int years = in.u8();
        text = std::to_string(years) + "-" + std::to_string(month) + "-" + std::to_string(day);
        break;
    }
    case ValueType::FaultBits: text = hexText(in.bytes(kFaultBytes)); break;
    case ValueType::Text: {
        const std::uint8_t size = in.u8();
        const ByteView bytes = in.bytes(size);
        text.assign(bytes.begin(), bytes.end());
        break;
    }
    default: return refuse(at, "a curve travels by its own command");
    }
    if (!in.ok())
        return refuse(at, "the value of " + std::string(parameter.name) + " is cut short");
    if (const std::string problem = typeProblem(parameter, text); !problem.empty())
        return refuse(at, std::string(parameter.name) + ": " + problem);
    return text;
}

}  // namespace orvx::hart
