#include "DataFileFixture.h"
#include "diagnostics/CurveCsv.h"
#include "diagnostics/CurveText.h"
#include "diagnostics/GraphData.h"
#include "diagnostics/WholeFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <optional>
#include <tuple>
#include <vector>

using namespace orvx::diagnostics;

namespace {

Curve curve(std::vector<float> pressure, std::vector<float> position)
{
    return Curve{std::move(position), std::move(pressure)};
}

TEST(CurveText, ReadsPairsOfPressureAndPositionOrRefusesTheWholeText)
{
    using Error = CurveTextResult::Error;
    const struct {
        QString text;
        Error error;
        int field;
        std::vector<float> pressure;
        std::vector<float> position;
    } rows[] = {
        {QStringLiteral("1.5@20@2.5@30.25"), Error::None, -1, {1.5f, 2.5f}, {20, 30.25f}},
        {QStringLiteral("-1e1@+3E-1"), Error::None, -1, {-10}, {0.3f}},
        // A last field without a partner is dropped unread; any other field that cannot be read
        // refuses the text, and says which it was.
        {QStringLiteral("1@2@junk"), Error::None, -1, {1}, {2}},
        {QStringLiteral("1@@3@4"), Error::BadField, 1, {}, {}},
        {QStringLiteral("1@2@x@4"), Error::BadField, 2, {}, {}},
        {QStringLiteral("1,5@2"), Error::BadField, 0, {}, {}},
        {QStringLiteral("nan@1"), Error::BadField, 0, {}, {}},
        {QStringLiteral("1@inf"), Error::BadField, 1, {}, {}},
        {QStringLiteral("1e39@1"), Error::BadField, 0, {}, {}},
        {QStringLiteral("5"), Error::NoPoint, -1, {}, {}},
        {QString(), Error::NoText, -1, {}, {}},
        // Past the most points a curve may hold the text is refused before it is split.
        {QStringLiteral("1@2@").repeated(kMaxCurvePoints + 1), Error::TooLong, -1, {}, {}},
        {QStringLiteral("@").repeated(2 * kMaxCurvePoints + 1), Error::TooLong, -1, {}, {}},
    };
    for (const auto& row : rows) {
        const CurveTextResult result = parseCurveText(row.text);
        EXPECT_EQ(std::tuple(result.error, result.field), std::tuple(row.error, row.field)) << row.text.toStdString();
        EXPECT_EQ(result.curve, curve(row.pressure, row.position)) << row.text.toStdString();
    }
}

TEST(CurveText, ReadsAsManyPointsAsACurveMayHold)
{
    for (const QString& text : {QStringLiteral("1@2@").repeated(kMaxCurvePoints),
                                QStringLiteral("1@2@").repeated(kMaxCurvePoints).chopped(1)}) {
        const CurveTextResult result = parseCurveText(text);
        EXPECT_TRUE(result.Ok());
        EXPECT_EQ(result.curve.Count(), kMaxCurvePoints);
    }
}

// Without a fill stroke the range starts at 0 on both; a damaged curve counts only the points
// both its sequences hold.
TEST(GraphData, RangeStartsFromTheFillStrokeAndWidensOverBoth)
{
    const struct {
        Curve exhaust;
        Curve fill;
        DataRange expected;
    } rows[] = {
        {{}, curve({12, 10, 14}, {80, 75, 90}), {10, 14, 75, 90}},
        {curve({3, 30}, {60, 101}), curve({12, 10}, {80, 75}), {3, 30, 60, 101}},
        {curve({5, 9}, {70, 100}), {}, {0, 9, 0, 100}},
        {curve({-2}, {-1}), {}, {-2, 0, -1, 0}},
        {{}, Curve{{80, 75, 200}, {12, 10}}, {10, 12, 75, 80}},
    };
    for (const auto& row : rows) {
        CGraphData data;
        data.CurveOf(1) = row.exhaust;
        data.CurveOf(2) = row.fill;
        EXPECT_EQ(data.Range(), row.expected) << &row - rows;
    }
}

// Without a known interval the samples are numbered, not given times that were made up.
TEST(GraphData, SamplesAreTimedAtTheIntervalOrNumberedWithoutOne)
{
    const struct {
        int intervalMs;
        std::vector<float> time;
        float span;
        const char* caption;
    } rows[] = {
        {250, {0, 0.25f, 0.5f, 0.75f, 1}, 1.25f, kTimeCaption},
        {0, {0, 1, 2, 3, 4}, 5, kSampleCaption},
        {-1, {0, 1, 2, 3, 4}, 5, kSampleCaption},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.intervalMs);
        CGraphData data;
        data.CurveOf(1) = curve({30, 20, 10}, {100, 90, 80});
        data.CurveOf(2) = curve({10, 30}, {80, 100});
        data.SetSampling(row.intervalMs, 6);
        const TimeSeries series = data.Series();
        EXPECT_EQ(series.time, row.time);
        EXPECT_EQ(series.pressure, (std::vector<float>{30, 20, 10, 10, 30}));
        EXPECT_EQ(data.TimeSpan(), row.span);
        EXPECT_EQ(data.TimeCaption(), QLatin1String(row.caption));
    }
}

TEST(GraphData, PressureCaptionFallsBackToPsiForAnUnknownUnit)
{
    EXPECT_EQ(pressureCaption(7), QStringLiteral("Pressure - bar"));
    EXPECT_EQ(pressureCaption(0), QStringLiteral("Pressure - psi"));
    EXPECT_EQ(pressureCaption(-1), QStringLiteral("Pressure - psi"));
}

TEST(CurveCsv, OneRowPerSampleWithEmptyCellsWhereAStrokeHasEnded)
{
    const Curve exhaust = curve({30, 12.34f, 0.5f}, {100, 85.5f, 70});
    const Curve fill = curve({0, 1, 2, 3, 4}, {70, 75, 80, 90, 100});
    EXPECT_EQ(curveCsv(exhaust, fill, QStringLiteral("bar")),
              QByteArray("sample,exhaust position (%),exhaust pressure (bar),fill position (%),fill pressure (bar)\r\n"
                         "1,100,30,70,0\r\n"
                         "2,85.5,12.34,75,1\r\n"
                         "3,70,0.5,80,2\r\n"
                         "4,,,90,3\r\n"
                         "5,,,100,4\r\n"));
    EXPECT_EQ(curveCsv(fill, {}, QStringLiteral("psi")).split('\n').at(1), QByteArray("1,70,0,,\r"));
    EXPECT_EQ(curveCsv({}, {}, QStringLiteral("psi")).count('\n'), 1);
}

TEST(WholeFile, AWriteThatFailsHalfWayLeavesTheFileAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("curves.csv"));
    const auto write = [](const char* text, const char* failure) {
        return [=](QIODevice& file) {
            file.write(text);
            return failure ? QString::fromLatin1(failure) : QString();
        };
    };
    EXPECT_TRUE(writeWholeFile(path, write("old", nullptr)).isNull());
    EXPECT_EQ(writeWholeFile(path, write("half", "disk full")), QStringLiteral("disk full"));
    EXPECT_EQ(orvx::test::contents(path), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("curves.csv")});
}

}  // namespace
