// Rows as the writer puts them are read many at a time; every other row is read by the full
// check, which takes what from_chars takes and names what is wrong.
#include "DataFileFixture.h"
#include "diagnostics/LineReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace orvx;
using namespace orvx::test;

namespace {

bool sameNumber(float a, float b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

// B's third row, line 18, holds curve 1's third point; the cases put another first pair there.
TEST_F(BrokenRecord, ARowOutsideThePlainFormReadsAsTheFullCheckReadsIt)
{
    constexpr float kInf = std::numeric_limits<float>::infinity();
    constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
    // With ", 2, 50.0000, 4.0000\r\n" after them, the line is as long as the reader takes whole.
    const QByteArray spaces(qsizetype(CLineReader::kMaxLineBytes) - 23, ' ');
    const struct {
        QByteArray pair;
        const char* problem;  // null: the row reads as x and y
        float x;
        float y;
    } cases[] = {
        // clang-format off
        {"1.2.3, 2", "line 18: fX1 (\"1.2.3\") is not a number", 0, 0},
        {"1-2, 2", "line 18: fX1 (\"1-2\") is not a number", 0, 0},
        {"1, --2", "line 18: fY1 (\"--2\") is not a number", 0, 0},
        {"1, 2.", nullptr, 1, 2},
        {"0x1A, 2", "line 18: fX1 (\"0x1A\") is not a number", 0, 0},
        {"1, 2, 3", "line 18: row has 5 fields, 4 expected", 0, 0},
        {"1e5, 2E-1", nullptr, 1e5f, 0.2f},
        {"nan, inf", nullptr, kNan, kInf},
        {"-inf, 1", nullptr, -kInf, 1},
        {".5, 1", nullptr, 0.5f, 1},
        {"1234567890.5, 0.1234567891", nullptr, 1234567890.5f, 0.1234567891f},
        {"123456789.123456789, -0", nullptr, 123456789.123456789f, 0},
        {"  7  ,8", nullptr, 7, 8},
        {"1.5\t, \r2", nullptr, 1.5f, 2},
        {"1" + spaces + ", 2", nullptr, 1, 2},
        {"1" + spaces + " , 2", "line 18: longer than 1048576 bytes, where the row or end line was expected", 0, 0},
        // clang-format on
    };
    const QByteArray intact = contents(Path());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pair.left(40).constData());
        setContents(Path(), intact);
        Splice(18, 1, {c.pair + ", 50.0000, 4.0000"});
        QStringList problems;
        const auto keys = listed(Path(), &problems);
        if (c.problem) {
            EXPECT_EQ(keys, (QList{m_keys[0], m_keys[2]}));
            EXPECT_EQ(problems, QStringList(QString::fromUtf8(c.problem)));
            EXPECT_EQ(readBack(Path(), m_keys[2]), m_records[2]);
            continue;
        }
        ASSERT_EQ(keys, m_keys);
        EXPECT_EQ(problems, QStringList());
        const auto record = readBack(Path(), m_keys[1]);
        ASSERT_TRUE(record);
        ASSERT_EQ(record->curve1.Count(), 3);
        EXPECT_TRUE(sameNumber(record->curve1.position[2], c.x)) << record->curve1.position[2];
        EXPECT_TRUE(sameNumber(record->curve1.pressure[2], c.y)) << record->curve1.pressure[2];
        EXPECT_EQ(record->curve2, m_records[1].curve2);
    }
}

// Wherever a record stands in the file, its rows read alike and a broken row is found: the
// bytes are looked at in blocks, and a row may start anywhere in one.
TEST_F(DataFile, RowsReadAtEveryPlaceInTheFile)
{
    for (int shift = 0; shift < 64; ++shift) {
        SCOPED_TRACE(shift);
        QFile::remove(Path());
        const DiagRecord before = pstRecord(QString(shift + 1, QLatin1Char('T')));
        append(Path(), before);
        append(Path(), pstRecord());
        append(Path(), before);
        const QByteArray intact = contents(Path());
        const auto keys = listed(Path());
        ASSERT_EQ(keys.size(), 3);
        EXPECT_EQ(readBack(Path(), keys[1]), pstRecord());

        QByteArray broken = intact;
        const qsizetype row = broken.indexOf("50.5000", broken.indexOf("PST, PV-01"));
        broken[row + 3] = '.';
        setContents(Path(), broken);
        QStringList problems;
        EXPECT_EQ(listed(Path(), &problems), (QList{keys[0], keys[2]}));
        EXPECT_EQ(problems, QStringList(QStringLiteral("line 17: fX1 (\"50..000\") is not a number")));
    }
}

// Rows that end in a bare line feed, as another tool may write them, read as the writer's own;
// a file that ends inside a row names the line after it.
TEST_F(BrokenRecord, LineEndsAndAFileEndingInsideARow)
{
    const QByteArray intact = contents(Path());
    setContents(Path(), QByteArray(intact).replace("\r\n", "\n"));
    const auto keys = listed(Path());
    ASSERT_EQ(keys.size(), 3);
    EXPECT_EQ(readBack(Path(), keys[1]), m_records[1]);

    const qsizetype row18 = intact.indexOf("100.0000", intact.indexOf("PST, B"));
    const qsizetype row19 = intact.indexOf('\n', row18) + 1;
    for (const qsizetype cut : {row19 - 1, row19 - 2, row19 - 3}) {
        SCOPED_TRACE(cut);
        setContents(Path(), intact.left(cut));
        QStringList problems;
        EXPECT_EQ(listed(Path(), &problems), QList{m_keys[0]});
        EXPECT_EQ(problems, QStringList("line 19: the file ends where the row or end line was expected"));
    }
}

}  // namespace
