// The least-squares line through a value's tests and the rule for when its crossing of a limit
// is projected.
#include "diagnostics/TrendProjection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace orvx::test {
namespace {

using namespace orvx::diagnostics;

const QDate kFirst(2024, 1, 1);
const std::vector<TrendLimit> kHigh{{QStringLiteral("high limit"), 20.0, TrendLimit::Side::Upper}};

// 'count' tests at noon, evenly spread over 'spanDays', on a line from 10 that meets 20 (the
// high limit) 'crossingAfterLast' days after the last test; residuals orthogonal to the line
// bring R² down to 'rSquared' without moving the line.
std::vector<TrendPoint> series(int count, double spanDays, double crossingAfterLast, double rSquared = 1.0,
                               double start = 10.0)
{
    const double day0 = trendDay(kFirst, 12 * 3600);
    const double slope = (20.0 - start) / (spanDays + crossingAfterLast);
    std::vector<TrendPoint> points;
    for (int i = 0; i < count; ++i) {
        const double d = spanDays * i / (count - 1);
        points.push_back({day0 + d, start + slope * d});
    }
    if (rSquared < 1.0) {
        // Orthogonal to the constant and to the days for six evenly spread tests.
        const double pattern[] = {1, -1, 0, 0, -1, 1};
        double ssDays = 0;
        const double meanDay = spanDays / 2;
        for (int i = 0; i < count; ++i)
            ssDays += std::pow(spanDays * i / (count - 1) - meanDay, 2);
        const double explained = slope * slope * ssDays;
        const double scale = std::sqrt(explained * (1 - rSquared) / rSquared / 4.0);
        for (int i = 0; i < count; ++i)
            points[static_cast<std::size_t>(i)].value += scale * pattern[i];
    }
    return points;
}

QDate lastDate(const std::vector<TrendPoint>& points)
{
    return trendDate(points.back().day);
}

TEST(TrendProjectionTest, FitsTheLeastSquaresLine)
{
    // value = 2 + 0.5 * (day - 100), with the points off the line by +1, -2, +1.
    const std::vector<TrendPoint> points{{100, 3}, {102, 1}, {104, 5}};
    const auto line = fitLine(points);
    ASSERT_TRUE(line);
    EXPECT_NEAR(line->slope, 0.5, 1e-9);
    EXPECT_NEAR(line->At(100), 2.0, 1e-9);
    EXPECT_NEAR(line->rSquared, 1.0 - 6.0 / 8.0, 1e-9);  // residuals 1 + 4 + 1 of a spread of 8
    EXPECT_FALSE(fitLine(std::vector<TrendPoint>{{5, 1}}));
    EXPECT_FALSE(fitLine(std::vector<TrendPoint>{{5, 1}, {5, 2}}));
}

TEST(TrendProjectionTest, ProjectsTheMonthTheLineMeetsTheLimit)
{
    const auto points = series(6, 150, 200);
    const TrendProjection projection = projectTrend(points, kHigh);
    ASSERT_TRUE(projection.Shown()) << projection.reason.toStdString();
    EXPECT_EQ(*projection.crossing, lastDate(points).addDays(200));
    EXPECT_EQ(projectionSentence(QStringLiteral("friction"), projection),
              QStringLiteral("At this rate friction reaches the high limit around %1.")
                  .arg(lastDate(points).addDays(200).toString(QStringLiteral("yyyy-MM"))));
}

// Each part of the rule on both sides of its boundary.
struct RuleCase {
    const char* what;
    int count;
    double span;
    double crossingAfterLast;  // days; negative: already past the limit
    double rSquared;
    bool shown;
    const char* reason;
};

TEST(TrendProjectionTest, ProjectsOnlyWhenEveryPartOfTheRuleHolds)
{
    const QDate last = kFirst.addDays(150);
    const double fiveYearsLessAMonth = last.daysTo(last.addYears(5).addMonths(-1));
    const double fiveYearsAndAMonth = last.daysTo(last.addYears(5).addMonths(1));
    const RuleCase cases[] = {
        {"6 tests", 6, 150, 200, 1.0, true, ""},
        {"5 tests", 5, 150, 200, 1.0, false, "too few tests (5 of 6)"},
        {"90 days", 6, 90, 200, 1.0, true, ""},
        {"89 days", 6, 89, 200, 1.0, false, "the tests span only 89 days (90 needed)"},
        {"R\u00b2 0.51", 6, 150, 200, 0.51, true, ""},
        {"R\u00b2 0.49", 6, 150, 200, 0.49, false, "scatter too much for a trend (R\u00b2 0.49"},
        {"5 years less a month", 6, 150, fiveYearsLessAMonth, 1.0, true, ""},
        {"5 years and a month", 6, 150, fiveYearsAndAMonth, 1.0, false, "more than 5 years ahead"},
        {"past the limit", 6, 150, -30, 1.0, false, "crossed the high limit before the last test"},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto points = series(c.count, c.span, c.crossingAfterLast, c.rSquared);
        const TrendProjection projection = projectTrend(points, kHigh);
        EXPECT_EQ(projection.Shown(), c.shown) << projection.reason.toStdString();
        if (c.shown)
            EXPECT_EQ(projection.crossing, lastDate(points).addDays(static_cast<qint64>(c.crossingAfterLast)));
        else
            EXPECT_TRUE(projection.reason.contains(QString::fromUtf8(c.reason))) << projection.reason.toStdString();
    }
}

TEST(TrendProjectionTest, HeadsOnlyTowardALimitOnItsSide)
{
    // Falling from 30 to meet 20 after 200 days: away from a high limit at 40, toward a low one.
    const auto falling = series(6, 150, 200, 1.0, 30.0);
    const std::vector<TrendLimit> high{{QStringLiteral("high limit"), 40.0, TrendLimit::Side::Upper}};
    const TrendProjection away = projectTrend(falling, high);
    EXPECT_FALSE(away.Shown());
    EXPECT_EQ(away.reason, QStringLiteral("falling, away from the high limit"));

    const std::vector<TrendLimit> both{{QStringLiteral("low limit"), 20.0, TrendLimit::Side::Lower},
                                       {QStringLiteral("high limit"), 40.0, TrendLimit::Side::Upper}};
    const TrendProjection toward = projectTrend(falling, both);
    ASSERT_TRUE(toward.Shown()) << toward.reason.toStdString();
    EXPECT_EQ(toward.limit->name, QStringLiteral("low limit"));
    EXPECT_EQ(*toward.crossing, lastDate(falling).addDays(200));

    std::vector<TrendPoint> flat = series(6, 150, 200);
    for (TrendPoint& p : flat)
        p.value = 12;
    EXPECT_EQ(projectTrend(flat, kHigh).reason, QStringLiteral("no change over the tests"));
}

TEST(TrendProjectionTest, SaysWhyThereIsNoProjection)
{
    const auto points = series(4, 150, 200);
    EXPECT_EQ(projectionSentence(QStringLiteral("droop"), projectTrend(points, kHigh)),
              QStringLiteral("No projection for droop: too few tests (4 of 6)."));
    EXPECT_EQ(projectionSentence(QStringLiteral("droop"), projectTrend(series(12, 300, 100), {})),
              QStringLiteral("No projection for droop: no limits known."));
}

}  // namespace
}  // namespace orvx::test
