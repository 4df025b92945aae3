#include "diagnostics/PlainRows.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <vector>

using namespace orvx::diagnostics;

namespace {

const char* const kLines[] = {
    "93.3333, 30.9854, 6.6667, 25.9272\r\n",
    ", , 75.0000, 4.5000\r\n",
    "1, 2, , \n",
    "-0.5,-1.25 ,  3 ,4\r\n",
    "1.2.3, 2, , \r\n",
    "1e5, 2, , \r\n",
    "1, , 2, 3\r\n",
    "123456789.123456789, 1, , \r\n",
    "1234567890, 1, , \r\n",
    "9999.999\r\n",
    "1, 2, 3, 4, 5\r\n",
    "1 2, 3, , \r\n",
    "-, 1, , \r\n",
    "1, 2, 3, 4\r\r\n",
};

// The lines above three times over, and where each starts.
struct Text {
    Text()
    {
        for (int round = 0; round < 3; ++round) {
            for (const char* line : kLines) {
                starts.push_back(bytes.size());
                bytes += line;
            }
        }
    }
    std::string_view From(int line) const
    {
        return std::string_view(bytes.constData() + starts[line], std::size_t(bytes.size() - starts[line]));
    }
    QByteArray bytes;
    std::vector<qsizetype> starts;
};

TEST(PlainRows, StopBeforeTheFirstLineThatIsNotOne)
{
    const Text text;
    const struct {
        int line;
        int most;
        int count;
    } cases[] = {{4, 100, 0},  {5, 100, 0}, {6, 100, 0}, {9, 100, 0}, {11, 100, 0}, {12, 100, 0},
                 {13, 100, 0}, {7, 100, 1}, {0, 100, 4}, {0, 3, 3},   {1, 100, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(kLines[c.line]);
        const PlainRows rows = readPlainRows(text.From(c.line), c.most, nullptr);
        EXPECT_EQ(rows.count, c.count);
        EXPECT_EQ(qsizetype(rows.bytes), text.starts[c.line + c.count] - text.starts[c.line]);
    }
    // The last 64 bytes are left to the full check.
    EXPECT_EQ(readPlainRows(text.From(0).substr(0, 63), 100, nullptr).count, 0);
}

// With the widest registers, where the processor has them, and without, the same rows give the
// same points wherever they start.
TEST(PlainRows, EveryProcessorReadsTheSameRows)
{
    const Text text;
    for (std::size_t line = 0; line < text.starts.size(); ++line) {
        SCOPED_TRACE(line);
        DiagRecord widest;
        DiagRecord portable;
        const PlainRows a = readPlainRows(text.From(int(line)), 100, &widest);
        const PlainRows b = readPlainRowsPortable(text.From(int(line)), 100, &portable);
        EXPECT_EQ(a.bytes, b.bytes);
        EXPECT_EQ(a.count, b.count);
        EXPECT_EQ(widest, portable);
    }
    DiagRecord record;
    readPlainRows(text.From(0), 100, &record);
    const Curve one{{93.3333f, 1, -0.5f}, {30.9854f, 2, -1.25f}};
    const Curve two{{6.6667f, 75, 3}, {25.9272f, 4.5f, 4}};
    EXPECT_EQ(record.curve1, one);
    EXPECT_EQ(record.curve2, two);
}

}  // namespace
