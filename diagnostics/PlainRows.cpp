#include "PlainRows.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace orvx::diagnostics {

namespace {

// A row is checked within the 64 bytes from its start, one bit for each byte: a longer row, and
// the rows of the file's last 64 bytes, are left to the full check.
constexpr std::ptrdiff_t kWindow = 64;

// Where the bytes of a window are which characters: bit i stands for byte i.
struct Classes {
    std::uint64_t digit = 0;
    std::uint64_t point = 0;
    std::uint64_t comma = 0;
    std::uint64_t space = 0;
    std::uint64_t minus = 0;
    std::uint64_t lineFeed = 0;
};

Classes classify(const char* window)
{
    Classes in;
#if defined(__SSE2__)
    for (int part = 0; part < kWindow / 16; ++part) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(window + 16 * part));
        const auto where = [part](__m128i found) {
            return std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(found))} << (16 * part);
        };
        const auto equal = [&](char c) { return where(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(c))); };
        // A digit less '0' is at most 9, counted without sign.
        const __m128i value = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
        in.digit |= where(_mm_cmpeq_epi8(_mm_min_epu8(value, _mm_set1_epi8(9)), value));
        in.point |= equal('.');
        in.comma |= equal(',');
        in.space |= equal(' ');
        in.minus |= equal('-');
        in.lineFeed |= equal('\n');
    }
#else
    for (int i = 0; i < kWindow; ++i) {
        const char c = window[i];
        const std::uint64_t bit = std::uint64_t{1} << i;
        in.digit |= c >= '0' && c <= '9' ? bit : 0;
        in.point |= c == '.' ? bit : 0;
        in.comma |= c == ',' ? bit : 0;
        in.space |= c == ' ' ? bit : 0;
        in.minus |= c == '-' ? bit : 0;
        in.lineFeed |= c == '\n' ? bit : 0;
    }
#endif
    return in;
}

// The classes of the bytes of a file, 64 at a time, looked at once as rows are read forward
// from the first of them.
class ClassifiedBytes {
public:
    ClassifiedBytes(const char* begin, const char* end) : m_block(begin), m_end(end)
    {
        if (m_end - m_block >= 2 * kWindow) {
            m_first = classify(m_block);
            m_second = classify(m_block + kWindow);
        }
    }

    // The classes of the 64 bytes from p on, p no nearer the start than the last time; false
    // when the file ends too soon for them.
    bool At(const char* p, Classes& window)
    {
        if (m_end - p < kWindow)
            return false;
        while (p - m_block >= kWindow && m_end - m_block >= 3 * kWindow) {
            m_block += kWindow;
            m_first = m_second;
            m_second = classify(m_block + kWindow);
        }
        // Near the end, where the next block is not whole, the window is classified on its own.
        if (p - m_block >= kWindow || m_end - m_block < 2 * kWindow) {
            window = classify(p);
            return true;
        }
        const auto shift = static_cast<int>(p - m_block);
        const auto join = [shift](std::uint64_t first, std::uint64_t second) {
            return first >> shift | (second << 1) << (kWindow - 1 - shift);
        };
        window.digit = join(m_first.digit, m_second.digit);
        window.point = join(m_first.point, m_second.point);
        window.comma = join(m_first.comma, m_second.comma);
        window.space = join(m_first.space, m_second.space);
        window.minus = join(m_first.minus, m_second.minus);
        window.lineFeed = join(m_first.lineFeed, m_second.lineFeed);
        return true;
    }

private:
    const char* m_block;  // where the first of the two blocks at hand starts
    const char* m_end;
    Classes m_first;
    Classes m_second;
};

// The bits from `from` up to, not including, `to` (both at most 63).
std::uint64_t bits(int from, int to)
{
    return ((std::uint64_t{1} << to) - 1) & ~((std::uint64_t{1} << from) - 1);
}

// A plain row found at the start of a window: its length with the line end, and where its
// fields end (the three commas, then the carriage return or line feed).
struct Row {
    int length = 0;
    std::array<int, 4> ends{};
};

// The plain row at the start of the window, or a row of length 0 when there is none. The rules
// of the row are checked on all its bytes at once, without a branch for each character, so that
// the rows of a large file are checked about as fast as their line feeds are found.
Row plainRow(const char* window, const Classes& in)
{
    if (in.lineFeed == 0)
        return {};
    const int feed = std::countr_zero(in.lineFeed);
    const int text = feed > 0 && window[feed - 1] == '\r' ? feed - 1 : feed;
    const std::uint64_t row = bits(0, text);
    const std::uint64_t digit = in.digit;
    const std::uint64_t number = digit | in.point | in.minus;
    // Runs of two, four, eight and then ten digits: nine at most may stand on either side of
    // the point.
    const std::uint64_t two = digit & (digit >> 1);
    const std::uint64_t four = two & (two >> 2);
    const std::uint64_t ten = four & (four >> 4) & (two >> 8);
    // Just past each number, and just past the digits after each point.
    const std::uint64_t afterNumber = (number << 1) & ~number;
    const std::uint64_t afterFraction = (digit + (in.point << 1)) & ~digit;
    const std::uint64_t wrong = (~(number | in.comma | in.space)) |  // a character no plain row holds
                                ten | (in.point & ~(digit << 1)) |   // a point without a digit before it
                                (in.point & ~(digit >> 1)) |         // or after it
                                (afterFraction & in.point) |         // a second point in one number
                                (in.minus & ~(digit >> 1)) |         // a sign not right before a digit
                                (in.minus & (number << 1)) |         // or inside a number
                                // a second number after the blanks that follow one
                                ((in.space + (afterNumber & in.space)) & ~in.space & number);
    if ((wrong & row) != 0)
        return {};
    // Three commas, no more.
    std::uint64_t commas = in.comma & row;
    Row found;
    for (int i = 0; i < 3; ++i) {
        if (commas == 0)
            return {};
        found.ends[i] = std::countr_zero(commas);
        commas &= commas - 1;
    }
    if (commas != 0)
        return {};
    found.ends[3] = text;
    // Both fields of a curve are given, or neither.
    bool given[4];
    for (int i = 0; i < 4; ++i)
        given[i] = (number & bits(i == 0 ? 0 : found.ends[i - 1] + 1, found.ends[i])) != 0;
    if (given[0] != given[1] || given[2] != given[3])
        return {};
    found.length = feed + 1;
    return found;
}

// The number between from and to, blanks around it, or false when the field is blank.
bool fieldValue(const char* window, int from, int to, float& value)
{
    while (from < to && window[from] == ' ')
        ++from;
    return from < to && std::from_chars(window + from, window + to, value).ec == std::errc();
}

void addPoints(DiagRecord& record, const char* window, const Row& row)
{
    for (int curve = 0; curve < 2; ++curve) {
        const int x = 2 * curve;
        float position = 0;
        float pressure = 0;
        if (!fieldValue(window, x == 0 ? 0 : row.ends[x - 1] + 1, row.ends[x], position))
            continue;  // no point of this curve in this row
        fieldValue(window, row.ends[x] + 1, row.ends[x + 1], pressure);
        Curve& target = curve == 0 ? record.curve1 : record.curve2;
        target.position.push_back(position);
        target.pressure.push_back(pressure);
    }
}

// Reads the rows; classesAt(p, window) answers the classes of the 64 bytes from p on, or false
// when the file ends too soon for them.
template <typename ClassesAt>
PlainRows readRows(std::string_view bytes, int most, DiagRecord* record, ClassesAt classesAt)
{
    const char* const begin = bytes.data();
    const char* p = begin;
    PlainRows done;
    Classes window;
    while (done.count < most && classesAt(p, window)) {
        const Row row = plainRow(p, window);
        if (row.length == 0)
            break;
        if (record)
            addPoints(*record, p, row);
        p += row.length;
        ++done.count;
    }
    done.bytes = static_cast<std::size_t>(p - begin);
    return done;
}

#if defined(__x86_64__)
__attribute__((target("avx512bw"))) std::uint64_t widestEqual(__m512i bytes, char c)
{
    return _mm512_cmpeq_epi8_mask(bytes, _mm512_set1_epi8(c));
}

// With 64-byte registers each row's window is classified on its own in a few instructions.
struct WidestWindows {
    const char* end;

    __attribute__((target("avx512bw"))) bool operator()(const char* p, Classes& in) const
    {
        if (end - p < kWindow)
            return false;
        const __m512i bytes = _mm512_loadu_si512(p);
        in.digit = _mm512_cmple_epu8_mask(_mm512_sub_epi8(bytes, _mm512_set1_epi8('0')), _mm512_set1_epi8(9));
        in.point = widestEqual(bytes, '.');
        in.comma = widestEqual(bytes, ',');
        in.space = widestEqual(bytes, ' ');
        in.minus = widestEqual(bytes, '-');
        in.lineFeed = widestEqual(bytes, '\n');
        return true;
    }
};

// The whole loop is compiled for those registers, so that nothing in it is a call.
__attribute__((target("avx512bw"), flatten)) PlainRows readRowsWidest(std::string_view bytes, int most,
                                                                      DiagRecord* record)
{
    return readRows(bytes, most, record, WidestWindows{bytes.data() + bytes.size()});
}
#endif

}  // namespace

PlainRows readPlainRows(std::string_view bytes, int most, DiagRecord* record)
{
#if defined(__x86_64__)
    static const bool widest = __builtin_cpu_supports("avx512bw");
    if (widest)
        return readRowsWidest(bytes, most, record);
#endif
    return readPlainRowsPortable(bytes, most, record);
}

PlainRows readPlainRowsPortable(std::string_view bytes, int most, DiagRecord* record)
{
    ClassifiedBytes classes(bytes.data(), bytes.data() + bytes.size());
    return readRows(bytes, most, record, [&classes](const char* p, Classes& window) { return classes.At(p, window); });
}

}  // namespace orvx::diagnostics
