#include "Conversions.h"

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <stdexcept>
#include <type_traits>

namespace orvx::controls {

namespace {

constexpr const char* kEmpty = "Input is empty";
constexpr const char* kFormat = "Input format is not valid";
constexpr const char* kRange = "Value is out of range";
constexpr const char* kOddLength = "Invalid argument at CConversions::to_byte_array";

// The C locale, whatever the process locale is: the decimal separator is always '.'.
locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

std::string checkedUtf8(QAnyStringView text)
{
    if (text.isEmpty())
        throw std::invalid_argument(kEmpty);
    return text.visit([](auto view) -> std::string {
        if constexpr (std::is_same_v<decltype(view), QStringView>) {
            // A number is short and ASCII: copied as it is, it needs no buffer of its own.
            std::string utf8;
            utf8.reserve(static_cast<std::size_t>(view.size()));
            for (const QChar c : view) {
                if (c.unicode() >= 0x80)
                    return view.toString().toStdString();
                utf8.push_back(static_cast<char>(c.unicode()));
            }
            return utf8;
        } else {
            // Latin-1 or UTF-8 bytes as they are: a byte outside ASCII is no part of a number,
            // whichever encoding it belongs to.
            return std::string(view.data(), static_cast<std::size_t>(view.size()));
        }
    });
}

// The C conversions stop at a NUL; a text with one inside ("12", NUL, "ab") is no number.
void requireConsumed(const std::string& text, const char* end)
{
    if (end == text.c_str() || end != text.c_str() + text.size())
        throw std::runtime_error(kFormat);
}

long long parseSigned(QAnyStringView text, int base)
{
    const std::string utf8 = checkedUtf8(text);
    char* end = nullptr;
    errno = 0;
    const long long value = strtoll_l(utf8.c_str(), &end, base, cLocale());
    requireConsumed(utf8, end);
    if (errno == ERANGE || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        throw std::runtime_error(kRange);
    return value;
}

unsigned long long parseUnsigned(QAnyStringView text, int base)
{
    const std::string utf8 = checkedUtf8(text);
    // The C conversion reads "-1" as the largest number; a sign has no place in an unsigned
    // value, also after leading white space.
    const auto first = utf8.find_first_not_of(" \t\n\v\f\r");
    if (first != std::string::npos && utf8[first] == '-')
        throw std::runtime_error(kFormat);
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = strtoull_l(utf8.c_str(), &end, base, cLocale());
    requireConsumed(utf8, end);
    if (errno == ERANGE || value > std::numeric_limits<std::uint32_t>::max())
        throw std::runtime_error(kRange);
    return value;
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

}  // namespace

bool CConversions::to_bool(QAnyStringView text)
{
    const auto is = [&text](const char* word) { return QAnyStringView::equal(text, QLatin1StringView(word)); };
    if (is("0") || is("false") || text.isEmpty())
        return false;
    if (is("1") || is("true"))
        return true;
    throw std::runtime_error(kFormat);
}

std::int32_t CConversions::to_long(QAnyStringView text, int base)
{
    return static_cast<std::int32_t>(parseSigned(text, base));
}

std::int32_t CConversions::to_int(QAnyStringView text, int base)
{
    return to_long(text, base);
}

std::uint32_t CConversions::to_ulong(QAnyStringView text, int base)
{
    return static_cast<std::uint32_t>(parseUnsigned(text, base));
}

std::uint32_t CConversions::to_uint(QAnyStringView text, int base)
{
    return to_ulong(text, base);
}

double CConversions::to_double(QAnyStringView text)
{
    const std::string utf8 = checkedUtf8(text);
    char* end = nullptr;
    errno = 0;
    const double value = strtod_l(utf8.c_str(), &end, cLocale());
    requireConsumed(utf8, end);
    if (errno == ERANGE)
        throw std::runtime_error(kRange);
    return value;
}

std::vector<std::uint8_t> CConversions::to_byte_array(const QString& text, bool stripSpaces)
{
    const QString digits = stripSpaces ? strip_spaces(text) : text;
    if (digits.isEmpty())
        return {};
    if (digits.size() % 2 != 0)
        throw std::invalid_argument(kOddLength);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(digits.size() / 2));
    for (qsizetype i = 0; i < digits.size(); i += 2) {
        // Only two hexadecimal digits make a byte: no sign, space or "0x" inside a pair.
        const int high = hexDigit(digits[i]);
        const int low = hexDigit(digits[i + 1]);
        if (high < 0 || low < 0)
            throw std::runtime_error(kFormat);
        bytes[static_cast<std::size_t>(i / 2)] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return bytes;
}

QString CConversions::strip_spaces(const QString& text)
{
    QString out = text;
    out.remove(QLatin1Char(' '));
    return out;
}

QString CConversions::from_long(std::int32_t value)
{
    return QString::number(value);
}

QString CConversions::from_int(std::int32_t value)
{
    return QString::number(value);
}

QString CConversions::from_uint(std::uint32_t value)
{
    return QString::number(value);
}

QString CConversions::from_double(double value, int decimals)
{
    char buffer[512];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                      decimals < 0 ? 0 : decimals);
    if (result.ec != std::errc())
        return QString::number(value, 'f', decimals < 0 ? 0 : decimals);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

}  // namespace orvx::controls
