#include "TrendProjection.h"

#include <algorithm>
#include <cmath>

namespace orvx::diagnostics {

namespace {

QString month(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy-MM"));
}

const TrendLimit* limitAhead(std::span<const TrendLimit> limits, double slope)
{
    const auto side = slope > 0 ? TrendLimit::Side::Upper : TrendLimit::Side::Lower;
    if (slope == 0)
        return nullptr;
    const auto it = std::ranges::find_if(limits, [side](const TrendLimit& l) { return l.side == side; });
    return it == limits.end() ? nullptr : &*it;
}

}  // namespace

std::optional<TrendLine> fitLine(std::span<const TrendPoint> points)
{
    if (points.size() < 2)
        return std::nullopt;
    // Centred on the means: day numbers are in the millions and their squares would swamp the sums.
    const double n = static_cast<double>(points.size());
    double meanDay = 0;
    double meanValue = 0;
    for (const TrendPoint& p : points) {
        meanDay += p.day / n;
        meanValue += p.value / n;
    }
    double sdd = 0;
    double sdv = 0;
    double svv = 0;
    for (const TrendPoint& p : points) {
        const double d = p.day - meanDay;
        const double v = p.value - meanValue;
        sdd += d * d;
        sdv += d * v;
        svv += v * v;
    }
    if (sdd == 0)
        return std::nullopt;
    TrendLine line;
    line.slope = sdv / sdd;
    line.intercept = meanValue - line.slope * meanDay;
    line.rSquared = svv == 0 ? 0 : std::clamp(sdv * sdv / (sdd * svv), 0.0, 1.0);
    return line;
}

TrendProjection projectTrend(std::span<const TrendPoint> points, std::span<const TrendLimit> limits)
{
    TrendProjection result;
    result.line = fitLine(points);
    if (limits.empty()) {
        result.reason = QStringLiteral("no limits known");
        return result;
    }
    const int count = static_cast<int>(points.size());
    if (count < kMinTests) {
        result.reason = QStringLiteral("too few tests (%1 of %2)").arg(count).arg(kMinTests);
        return result;
    }
    const auto [first, last] = std::ranges::minmax_element(
        points, [](const TrendPoint& a, const TrendPoint& b) { return a.day < b.day; });
    const double span = last->day - first->day;
    if (span < kMinSpanDays) {
        result.reason = QStringLiteral("the tests span only %1 days (%2 needed)")
                            .arg(static_cast<int>(std::floor(span)))
                            .arg(kMinSpanDays);
        return result;
    }
    const TrendLine& line = *result.line;  // two or more days apart, so there is one
    const TrendLimit* limit = limitAhead(limits, line.slope);
    if (!limit) {
        result.reason = line.slope == 0
                            ? QStringLiteral("no change over the tests")
                            : QStringLiteral("%1, away from the %2")
                                  .arg(line.slope > 0 ? QStringLiteral("rising") : QStringLiteral("falling"),
                                       limits.front().name);
        return result;
    }
    result.limit = *limit;
    if (line.rSquared < kMinRSquared) {
        result.reason = QStringLiteral("the tests scatter too much for a trend (R\u00b2 %1, %2 needed)")
                            .arg(line.rSquared, 0, 'f', 2)
                            .arg(kMinRSquared, 0, 'f', 1);
        return result;
    }
    const double crossing = (limit->value - line.intercept) / line.slope;
    if (crossing <= last->day) {
        result.reason = QStringLiteral("the line crossed the %1 before the last test").arg(limit->name);
        return result;
    }
    const double seconds = (last->day - std::floor(last->day)) * 86400.0;
    const double horizon = trendDay(trendDate(last->day).addYears(kMaxYearsAhead),
                                    static_cast<int>(std::lround(seconds)));
    if (crossing > horizon) {
        result.reason = QStringLiteral("the %1 lies more than %2 years ahead (around %3)")
                            .arg(limit->name)
                            .arg(kMaxYearsAhead)
                            .arg(month(trendDate(crossing)));
        return result;
    }
    result.crossing = trendDate(crossing);
    return result;
}

double trendDay(const QDate& date, int secondsOfDay)
{
    return static_cast<double>(date.toJulianDay()) + secondsOfDay / 86400.0;
}

QDate trendDate(double day)
{
    return QDate::fromJulianDay(static_cast<qint64>(std::floor(day)));
}

QString projectionSentence(const QString& value, const TrendProjection& projection)
{
    if (projection.Shown())
        return QStringLiteral("At this rate %1 reaches the %2 around %3.")
            .arg(value, projection.limit->name, month(*projection.crossing));
    return QStringLiteral("No projection for %1: %2.").arg(value, projection.reason);
}

}  // namespace orvx::diagnostics
