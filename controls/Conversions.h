#pragma once

#include <QAnyStringView>
#include <QString>

#include <cstdint>
#include <vector>

namespace orvx::controls {

// The one place where parameter texts become numbers, truth values and byte strings and back.
// Parsing is strict: the whole text must be a value. A failure throws one of four fixed texts:
//   std::invalid_argument "Input is empty"             (missing or no characters)
//   std::runtime_error    "Input format is not valid"  (anything left over, a wrong sign)
//   std::runtime_error    "Value is out of range"      (does not fit the result)
//   std::invalid_argument "Invalid argument at CConversions::to_byte_array" (odd length)
// Numbers are read and written in the C locale whatever the user's locale is. A text to read may
// be any string view: an attribute's bytes are read where they are.
class CConversions {
public:
    static bool to_bool(QAnyStringView text);
    static std::int32_t to_long(QAnyStringView text, int base = 10);
    static std::int32_t to_int(QAnyStringView text, int base = 10);
    static std::uint32_t to_ulong(QAnyStringView text, int base = 10);
    static std::uint32_t to_uint(QAnyStringView text, int base = 10);
    static double to_double(QAnyStringView text);
    // Pairs of hexadecimal digits, first pair first byte; an empty text gives no bytes.
    static std::vector<std::uint8_t> to_byte_array(const QString& text, bool stripSpaces);
    static QString strip_spaces(const QString& text);

    static QString from_long(std::int32_t value);
    static QString from_int(std::int32_t value);
    static QString from_uint(std::uint32_t value);
    // Fixed notation with exactly 'decimals' decimals: (3.2, 2) gives "3.20", (206.85, 0) "207".
    static QString from_double(double value, int decimals);
};

}  // namespace orvx::controls
