#include "PlainRows.h"

#include "LineReader.h"

#include <array>
#include <charconv>

namespace orvx::diagnostics {

namespace {

constexpr std::ptrdiff_t kMaxDigits = 9;

bool isDigit(char c)
{
    return static_cast<unsigned char>(c - '0') < 10;
}

const char* skipSpaces(const char* p, const char* end)
{
    while (p != end && *p == ' ')
        ++p;
    return p;
}

const char* skipDigits(const char* p, const char* end)
{
    while (p != end && isDigit(*p))
        ++p;
    return p;
}

// The plain decimal or blank field at p, spaces before it included, into field; answers where
// it ends, or null when it is neither.
const char* plainField(const char* p, const char* end, std::string_view& field)
{
    p = skipSpaces(p, end);
    const char* const start = p;
    if (p != end && *p == '-')
        ++p;
    const char* const digits = p;
    p = skipDigits(p, end);
    const std::ptrdiff_t whole = p - digits;
    if (whole > kMaxDigits || (whole == 0 && p != start))
        return nullptr;
    if (p != end && *p == '.') {
        const char* const fraction = ++p;
        p = skipDigits(p, end);
        if (whole == 0 || p == fraction || p - fraction > kMaxDigits)
            return nullptr;
    }
    field = std::string_view(start, static_cast<std::size_t>(p - start));
    return skipSpaces(p, end);
}

// The plain row at p into fields; answers where the next line starts, or null when the row is
// not plain or has no line feed before end.
const char* plainRow(const char* p, const char* end, std::array<std::string_view, 4>& fields)
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        p = plainField(p, end, fields[i]);
        if (!p || p == end)
            return nullptr;
        if (i + 1 < fields.size()) {
            if (*p != ',')
                return nullptr;
            ++p;
        }
    }
    if (*p == '\r' && ++p == end)
        return nullptr;
    if (*p != '\n' || fields[0].empty() != fields[1].empty() || fields[2].empty() != fields[3].empty())
        return nullptr;
    return p + 1;
}

float toFloat(std::string_view field)
{
    float value = 0;
    std::from_chars(field.data(), field.data() + field.size(), value);
    return value;
}

void addPoints(DiagRecord& record, const std::array<std::string_view, 4>& fields)
{
    for (int curve = 0; curve < 2; ++curve) {
        if (fields[2 * curve].empty())
            continue;
        Curve& target = curve == 0 ? record.curve1 : record.curve2;
        target.position.push_back(toFloat(fields[2 * curve]));
        target.pressure.push_back(toFloat(fields[2 * curve + 1]));
    }
}

}  // namespace

PlainRows readPlainRows(std::string_view bytes, int most, DiagRecord* record)
{
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    const char* p = begin;
    PlainRows done;
    std::array<std::string_view, 4> fields;
    while (done.count < most) {
        const char* const next = plainRow(p, end, fields);
        if (!next || static_cast<std::size_t>(next - p) > CLineReader::kMaxLineBytes)
            break;
        if (record)
            addPoints(*record, fields);
        p = next;
        ++done.count;
    }
    done.bytes = static_cast<std::size_t>(p - begin);
    return done;
}

}  // namespace orvx::diagnostics
