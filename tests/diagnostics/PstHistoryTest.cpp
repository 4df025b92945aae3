// A device's PST history gathered from data files, and its projection.
#include "DataFileFixture.h"
#include "DrawnSignature.h"
#include "diagnostics/PstHistory.h"
#include "support/PstHistoryFile.h"

namespace orvx::test {
namespace {

const QDateTime kStart(QDate(2024, 1, 10), QTime(12, 0));
const PstLimits kLimits{2, 20, 30, 10};  // psi

// A PST of PV-01, id 42, in psi unless said, whose signature shows this friction, a breakaway
// of 4 and a spring range from 15 + friction % 3 to 35.
DiagRecord test(double friction, int passed = 0, int unit = 6)
{
    return drawnRecord({.springAtClosed = 15.0 + static_cast<int>(friction) % 3, .friction = friction, .breakaway = 4},
                       unit, 100, passed);
}

class PstHistoryTest : public DataFile {
protected:
    // Appends 'count' tests 30 days apart, friction rising by one from 'friction'.
    void Monthly(int count, int friction = 4, const QString& name = QStringLiteral("a.dgn"))
    {
        for (int i = 0; i < count; ++i)
            append(m_dir.filePath(name), test(friction + i), kStart.addDays(30 * i));
    }
    HistoryReadOutcome Read(CPstHistory& history, const QString& name = QStringLiteral("a.dgn"))
    {
        CNvEsdDataFileSvr file;
        file.OpenFile(m_dir.filePath(name), OpenPurpose::Load);
        return history.AddFile(file);
    }
};

TEST_F(PstHistoryTest, TwelveMonthlyTestsWithFrictionRisingProjectTheMonthItReachesTheHighLimit)
{
    Monthly(12);  // 4 to 15 psi, one a month: 20 psi five months after the last
    CPstHistory history(QStringLiteral("PV-01"), 42);
    EXPECT_EQ(Read(history).added, 12);
    const TrendProjection projection = history.Project(HistoryValue::Friction, kLimits);
    ASSERT_TRUE(projection.Shown()) << projection.reason.toStdString();
    EXPECT_EQ(projection.limit->name, QStringLiteral("high limit"));
    EXPECT_EQ(*projection.crossing, kStart.date().addDays(30 * 11 + 5 * 30));
    EXPECT_EQ(projectionSentence(QStringLiteral("friction"), projection),
              QStringLiteral("At this rate friction reaches the high limit around 2025-05."));
}

TEST_F(PstHistoryTest, FiveTestsAreTooFewForAProjection)
{
    Monthly(5);
    CPstHistory history(QStringLiteral("PV-01"), 42);
    Read(history);
    const TrendProjection projection = history.Project(HistoryValue::Friction, kLimits);
    EXPECT_FALSE(projection.Shown());
    EXPECT_EQ(projectionSentence(QStringLiteral("friction"), projection),
              QStringLiteral("No projection for friction: too few tests (5 of 6)."));
}

TEST_F(PstHistoryTest, TakesOnlyThePstsOfTheDeviceInTimeOrder)
{
    const QString path = Path();
    append(path, test(7), kStart.addDays(60));
    append(path, test(5), kStart);
    DiagRecord other = test(99);
    other.tag = QStringLiteral("PV-02");
    append(path, other, kStart.addDays(1));
    DiagRecord otherId = test(99);
    otherId.deviceId = 43;
    append(path, otherId, kStart.addDays(2));
    DiagRecord esd = test(99);
    esd.kind = DiagKind::Esd;
    append(path, esd, kStart.addDays(3));
    DiagRecord longerTag = test(99);
    longerTag.tag = QStringLiteral("PV-01-B");
    append(path, longerTag, kStart.addDays(4));

    CPstHistory history(QStringLiteral("PV-01"), 42);
    EXPECT_EQ(Read(history).added, 2);
    const auto series = history.Series(HistoryValue::Friction);
    ASSERT_EQ(series.size(), 2u);
    EXPECT_EQ(series[0].when, kStart);
    EXPECT_NEAR(series[0].value, 5, 1e-4);
    EXPECT_NEAR(series[1].value, 7, 1e-4);
}

TEST_F(PstHistoryTest, GivesEachValueInOneUnitWithTheFailedTestsMarked)
{
    const QString path = Path();
    append(path, test(6, 0, 6), kStart);
    append(path, test(6, 1, 12), kStart.addDays(30));  // 6 kPa
    DiagRecord stuck = test(6);                        // the fill stroke never got half-way back: no friction
    stuck.curve2.position.resize(2);
    stuck.curve2.pressure.resize(2);
    append(path, stuck, kStart.addDays(60));
    CPstHistory history(QStringLiteral("PV-01"), 42);
    Read(history);
    history.SetUnit(6);
    EXPECT_EQ(history.Series(HistoryValue::Breakaway).size(), 3u);
    const auto friction = history.Series(HistoryValue::Friction);
    ASSERT_EQ(friction.size(), 2u) << "a test without the value is left out, not drawn at 0";
    EXPECT_NEAR(friction[0].value, 6, 1e-4);
    EXPECT_NEAR(friction[1].value, 6 / 6.89475729, 1e-4);
    EXPECT_FALSE(friction[0].failed);
    EXPECT_TRUE(friction[1].failed);

    const auto spring = history.Series(HistoryValue::SpringRange);  // upper 35 less lower 15 + 6 % 3
    EXPECT_NEAR(spring[0].value, 20, 1e-4);
    const auto breakaway = history.Series(HistoryValue::Breakaway);
    EXPECT_NEAR(breakaway[0].value, 4, 1e-4);
    EXPECT_TRUE(historyLimits(HistoryValue::SpringRange, kLimits).empty());
    EXPECT_EQ(historyLimits(HistoryValue::Breakaway, kLimits).front().value, 30);
}

TEST_F(PstHistoryTest, ARecordWithoutADateRefusesTheFileAndAddsNothing)
{
    Monthly(3);
    Monthly(2, 10, QStringLiteral("b.dgn"));
    CPstHistory history(QStringLiteral("PV-01"), 42);
    Read(history);
    // The second test's time stamp made unreadable: the 13th month.
    const QString b = m_dir.filePath(QStringLiteral("b.dgn"));
    QByteArray bytes = contents(b);
    const QByteArray stamp = kStart.addDays(30).toString(QStringLiteral("MM/dd/yyyy")).toLatin1();
    ASSERT_TRUE(bytes.contains(stamp));
    bytes.replace(stamp, "13/45/2024");
    setContents(b, bytes);

    const HistoryReadOutcome outcome = Read(history, QStringLiteral("b.dgn"));
    EXPECT_FALSE(outcome.Ok());
    EXPECT_TRUE(outcome.error.contains(QStringLiteral("13/45/2024 12:00:00"))) << outcome.error.toStdString();
    EXPECT_EQ(outcome.added, 0);
    EXPECT_EQ(history.Tests().size(), 3u);
}

TEST_F(PstHistoryTest, ATestReadTwiceCountsOnce)
{
    Monthly(4);
    CPstHistory history(QStringLiteral("PV-01"), 42);
    Read(history);
    const HistoryReadOutcome again = Read(history);
    EXPECT_EQ(again.added, 0);
    EXPECT_EQ(again.alreadyKnown, 4);
    EXPECT_EQ(history.Tests().size(), 4u);
}

TEST_F(PstHistoryTest, TheSimulatedHistoryReadsBackAsTwelveMonthlyTestsWithFrictionCreepingUp)
{
    const auto simulated = writeSimulatedHistory(Path(), QStringLiteral("PV-101"), 305419);
    QStringList problems;
    EXPECT_EQ(listed(Path(), &problems).size(), 12);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('\n')).toStdString();

    CPstHistory history(QStringLiteral("PV-101"), 305419);
    Read(history);
    const auto& tests = history.Tests();
    ASSERT_EQ(tests.size(), 12u);
    for (std::size_t i = 0; i < tests.size(); ++i) {
        EXPECT_EQ(tests[i].when, QDateTime(QDate(2024, 1, 15).addMonths(static_cast<int>(i)), QTime(9, 30)));
        // Only the month of the air leak fails.
        EXPECT_EQ(tests[i].failed, i == 6) << i;
    }
    const auto friction = history.Series(HistoryValue::Friction);
    EXPECT_GT(friction.back().value, friction.front().value + 5);
    // The device's defaults: friction between 2 and 15 psi, breakout 20, droop 10.
    const PstLimits defaults{2, 15, 20, 10};
    const TrendProjection projection = history.Project(HistoryValue::Friction, defaults);
    ASSERT_TRUE(projection.Shown()) << projection.reason.toStdString();
    EXPECT_GT(*projection.crossing, tests.back().when.date());
    EXPECT_LT(*projection.crossing, tests.back().when.date().addYears(1));
    // The one leaking month is no trend.
    EXPECT_FALSE(history.Project(HistoryValue::Droop, defaults).Shown());
}

// The values line of a record in bar holds 0 or 1 for every result; the signature does not.
TEST_F(PstHistoryTest, AHistoryKeptInBarOrKpaReadsAsTheSameHistoryInPsi)
{
    const PstLimits defaults{2, 15, 20, 10};
    std::vector<HistoryPoint> inPsi[std::size(kHistoryValues)];
    std::optional<QDate> crossingInPsi;
    for (const int unit : {6, 7, 12}) {
        SCOPED_TRACE(unit);
        simulator::HistoryPlan plan;
        plan.unit = unit;
        const QString name = QStringLiteral("unit%1.dgn").arg(unit);
        writeSimulatedHistory(m_dir.filePath(name), QStringLiteral("PV-101"), 305419, plan);
        CPstHistory history(QStringLiteral("PV-101"), 305419);
        ASSERT_EQ(Read(history, name).added, 12);
        history.SetUnit(6);
        for (const HistoryValue value : kHistoryValues) {
            const auto series = history.Series(value);
            auto& psi = inPsi[static_cast<std::size_t>(value)];
            if (unit == 6)
                psi = series;
            ASSERT_EQ(series.size(), psi.size());
            // The signature keeps four decimals of its own unit; the spring line is drawn out
            // from the middle of the stroke to both ends, which spreads their rounding.
            const double tolerance = value == HistoryValue::SpringRange ? 0.05 : 0.01;
            for (std::size_t i = 0; i < series.size(); ++i)
                EXPECT_NEAR(series[i].value, psi[i].value, tolerance) << historyValueName(value).toStdString() << i;
        }
        const TrendProjection projection = history.Project(HistoryValue::Friction, defaults);
        ASSERT_TRUE(projection.Shown()) << projection.reason.toStdString();
        if (unit == 6)
            crossingInPsi = projection.crossing;
        EXPECT_EQ(projection.crossing, crossingInPsi);
    }
}

}  // namespace
}  // namespace orvx::test
