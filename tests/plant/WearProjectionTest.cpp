// A valve's wear projection and its change since the baseline, from the records the plant store
// keeps.
#include "diagnostics/DrawnSignature.h"
#include "plant/WearProjection.h"

#include <gtest/gtest.h>

#include <QTimeZone>

namespace orvx::plant {
namespace {

const QDateTime kStart(QDate(2024, 1, 10), QTime(12, 0), Qt::UTC);
const WearLimits kLimitsPsi{{2, 20, 30, 10}, 6};
constexpr double kPsiPerBar = 14.503774;

store::StoredRecord kept(double friction, const QDateTime& when, int unit = 6)
{
    const double scale = unit == 7 ? 1 / kPsiPerBar : 1;
    test::DrawnValve valve{.springAtClosed = 15 * scale,
                           .springAtOpen = 35 * scale,
                           .friction = friction * scale,
                           .breakaway = 4 * scale,
                           .droop = 0.3 * scale};
    return {test::drawnRecord(valve, unit), when, QStringLiteral("test"), when, std::nullopt};
}

// `count` PSTs 30 days apart, friction rising by one psi a test from 4.
QList<store::StoredRecord> monthly(int count, int unit = 6)
{
    QList<store::StoredRecord> tests;
    for (int i = 0; i < count; ++i)
        tests.append(kept(4 + i, kStart.addDays(30 * i), unit));
    return tests;
}

TEST(WearProjection, NoneFromTooFewTests)
{
    EXPECT_EQ(wearProjection(monthly(5), kLimitsPsi), QString());
}

TEST(WearProjection, FrictionRisingLinearlyReachesTheHighLimitInTheMonthTheLineSays)
{
    // 4 to 15 psi, a psi a month: 20 psi five months after the last test, early in 2025-05.
    EXPECT_EQ(wearProjection(monthly(12), kLimitsPsi),
              QStringLiteral("friction reaches the high limit around 2025-05"));
}

TEST(WearProjection, TestsInBarAreHeldToLimitsInPsi)
{
    EXPECT_EQ(wearProjection(monthly(12, 7), kLimitsPsi),
              QStringLiteral("friction reaches the high limit around 2025-05"));
}

TEST(WearProjection, EsdEventsAreNoTests)
{
    QList<store::StoredRecord> tests = monthly(5);
    store::StoredRecord esd = kept(9, kStart.addDays(200));
    esd.record.kind = diagnostics::DiagKind::Esd;
    tests.append(esd);
    EXPECT_EQ(wearProjection(tests, kLimitsPsi), QString());
}

TEST(WearAgainstBaseline, TheSummaryLinesDatedByTheBaselinesUtcDay)
{
    // 23:30 at UTC-5 on the 10th is the 11th in UTC.
    const QDateTime late(QDate(2024, 1, 10), QTime(23, 30), QTimeZone(-5 * 3600));
    const QStringList lines = wearAgainstBaseline(kept(4.5, kStart.addDays(90)), kept(3, late));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("Friction 4.5 psi, +50 % since 2024-01-11"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Breakaway "))) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Droop "))) << lines[2].toStdString();
}

TEST(WearAgainstBaseline, NoneAgainstAnEsdEvent)
{
    store::StoredRecord esd = kept(3, kStart);
    esd.record.kind = diagnostics::DiagKind::Esd;
    EXPECT_TRUE(wearAgainstBaseline(kept(4.5, kStart.addDays(90)), esd).isEmpty());
}

}  // namespace
}  // namespace orvx::plant
