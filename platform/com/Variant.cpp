#include "Variant.h"

#include "ComError.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <type_traits>

namespace orvx::com {

namespace {

bool isSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\v';
}

std::u16string_view trimmed(std::u16string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// A trimmed, ASCII-only copy of a text, or "" when it holds anything else (no number can). A
// short text, as numbers and truth values are, is copied onto the stack.
class AsciiCopy {
public:
    explicit AsciiCopy(std::u16string_view text)
    {
        text = trimmed(text);
        char* out = m_short;
        if (text.size() > sizeof m_short) {
            m_long.resize(text.size());
            out = m_long.data();
        }
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] > 0x7F)
                return;
            out[i] = static_cast<char>(text[i]);
        }
        m_text = std::string_view(out, text.size());
    }
    AsciiCopy(const AsciiCopy&) = delete;
    AsciiCopy& operator=(const AsciiCopy&) = delete;

    std::string_view text() const { return m_text; }

private:
    char m_short[32];
    std::string m_long;
    std::string_view m_text;
};

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = (a[i] >= 'A' && a[i] <= 'Z') ? a[i] - 'A' + 'a' : a[i];
        if (x != b[i])
            return false;
    }
    return true;
}

// The number's characters without a leading '+', which the parsers do not take. "+-1" keeps
// its '+' and so does not parse.
std::string_view withoutPlus(std::string_view text)
{
    if (text.size() > 1 && text[0] == '+' && text[1] != '-')
        text.remove_prefix(1);
    return text;
}

std::int64_t wholeNumberOf(std::u16string_view text, std::int64_t min, std::int64_t max)
{
    const AsciiCopy ascii(text);
    const std::string_view digits = withoutPlus(ascii.text());
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || end != digits.data() + digits.size())
        throw ComError(Status::TypeMismatch, "text is not a whole number");
    if (error == std::errc::result_out_of_range || value < min || value > max)
        throw ComError(Status::Overflow, "number does not fit");
    return value;
}

std::optional<double> floatingOf(std::u16string_view text)
{
    const AsciiCopy ascii(text);
    const std::string_view digits = withoutPlus(ascii.text());
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

BStr asciiText(std::string_view text)
{
    return BStr(std::u16string(text.begin(), text.end()));
}

template <class T>
BStr plainText(T value)
{
    char buffer[400];
    std::to_chars_result result;
    if constexpr (std::is_floating_point_v<T>)
        // Shortest text that reads back as the same value, never in exponent form.
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    else
        result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return asciiText(std::string_view(buffer, result.ptr - buffer));
}

}  // namespace

Variant Variant::boolean(bool value)
{
    Variant v;
    v.m_type = VariantType::Bool;
    v.m_signed = value ? 1 : 0;
    return v;
}

Variant Variant::signedOf(VariantType type, std::int64_t value)
{
    Variant v;
    v.m_type = type;
    v.m_signed = value;
    return v;
}

Variant Variant::unsignedOf(VariantType type, std::uint64_t value)
{
    Variant v;
    v.m_type = type;
    v.m_unsigned = value;
    return v;
}

Variant Variant::float32(float value)
{
    Variant v;
    v.m_type = VariantType::Float;
    v.m_double = value;
    return v;
}

Variant Variant::float64(double value)
{
    Variant v;
    v.m_type = VariantType::Double;
    v.m_double = value;
    return v;
}

Variant Variant::text(BStr value)
{
    Variant v;
    v.m_type = VariantType::Text;
    v.m_text = std::move(value);
    return v;
}

BStr Variant::toText() const
{
    switch (m_type) {
    case VariantType::Empty: return BStr(u"");
    case VariantType::Bool: return asciiText(m_signed ? "1" : "0");
    case VariantType::Int8:
    case VariantType::Int16:
    case VariantType::Int32:
    case VariantType::Int64:
    case VariantType::Int: return plainText(m_signed);
    case VariantType::UInt8:
    case VariantType::UInt16:
    case VariantType::UInt32:
    case VariantType::UInt64:
    case VariantType::UInt: return plainText(m_unsigned);
    case VariantType::Float:
        if (!std::isfinite(m_double))
            throw ComError(Status::TypeMismatch, "not a finite number");
        return plainText(static_cast<float>(m_double));
    case VariantType::Double:
        if (!std::isfinite(m_double))
            throw ComError(Status::TypeMismatch, "not a finite number");
        return plainText(m_double);
    case VariantType::Text: return m_text.isNull() ? BStr(u"") : m_text;
    }
    throw ComError(Status::TypeMismatch);
}

bool Variant::toBool() const
{
    switch (m_type) {
    case VariantType::Empty: return false;
    case VariantType::Bool: return m_signed != 0;
    case VariantType::Float:
    case VariantType::Double: return m_double != 0.0;
    case VariantType::Text: {
        const AsciiCopy copy(m_text.view());
        const std::string_view ascii = copy.text();
        if (equalsIgnoringCase(ascii, "true"))
            return true;
        if (equalsIgnoringCase(ascii, "false"))
            return false;
        if (const auto number = floatingOf(m_text.view()))
            return *number != 0.0;
        throw ComError(Status::TypeMismatch, "text is not a truth value");
    }
    default: return m_signed != 0 || m_unsigned != 0;
    }
}

std::int64_t Variant::toInt64(std::int64_t min, std::int64_t max) const
{
    auto fit = [&](auto value) -> std::int64_t {
        if (value < min || value > max)
            throw ComError(Status::Overflow, "number does not fit");
        return static_cast<std::int64_t>(value);
    };
    switch (m_type) {
    case VariantType::Empty: return 0;
    case VariantType::Bool: return m_signed;
    case VariantType::Int8:
    case VariantType::Int16:
    case VariantType::Int32:
    case VariantType::Int64:
    case VariantType::Int: return fit(m_signed);
    case VariantType::UInt8:
    case VariantType::UInt16:
    case VariantType::UInt32:
    case VariantType::UInt64:
    case VariantType::UInt:
        if (m_unsigned > static_cast<std::uint64_t>(max))
            throw ComError(Status::Overflow, "number does not fit");
        return static_cast<std::int64_t>(m_unsigned);
    case VariantType::Float:
    case VariantType::Double: {
        const double rounded = std::nearbyint(m_double);  // default rounding: half to even
        if (!(rounded >= static_cast<double>(min) && rounded <= static_cast<double>(max)))
            throw ComError(Status::Overflow, "number does not fit");
        return static_cast<std::int64_t>(rounded);
    }
    case VariantType::Text: return wholeNumberOf(m_text.view(), min, max);
    }
    throw ComError(Status::TypeMismatch);
}

std::int32_t Variant::toInt32() const
{
    return static_cast<std::int32_t>(
        toInt64(std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::uint32_t Variant::toUInt32() const
{
    return static_cast<std::uint32_t>(toInt64(0, std::numeric_limits<std::uint32_t>::max()));
}

}  // namespace orvx::com
