#pragma once

#include <QDate>
#include <QString>

#include <optional>
#include <span>

namespace orvx::diagnostics {

// One test's value at its moment, the moment in days (a Julian day number with the time of day
// as its fraction, so that differences are days).
struct TrendPoint {
    double day = 0;
    double value = 0;
};

// The least-squares line value = intercept + slope * day, and how much of the points' spread
// it explains (R², 0 to 1; 0 when the points do not vary at all).
struct TrendLine {
    double intercept = 0;
    double slope = 0;
    double rSquared = 0;

    double At(double day) const { return intercept + slope * day; }
};

// None for fewer than two points or points all on one day.
std::optional<TrendLine> fitLine(std::span<const TrendPoint> points);

// A limit a value must stay on one side of: below an upper limit, above a lower one.
struct TrendLimit {
    enum class Side { Upper, Lower };
    QString name;  // "high limit", "breakout limit"
    double value = 0;
    Side side = Side::Upper;
};

// When a series would cross a limit at its present rate. A projection is given only when it
// means something:
// - at least kMinTests tests spanning at least kMinSpanDays days (a line through a few points
//   or a few weeks says nothing about years);
// - the line heads toward a limit: rising toward an upper one, falling toward a lower one;
// - the line explains the points, R² at least kMinRSquared;
// - the crossing lies after the last test and no more than kMaxYearsAhead years after it (one
//   further out is not worth acting on).
// Otherwise 'reason' says which of these failed.
inline constexpr int kMinTests = 6;
inline constexpr double kMinSpanDays = 90;
inline constexpr double kMinRSquared = 0.5;
inline constexpr int kMaxYearsAhead = 5;

struct TrendProjection {
    std::optional<TrendLine> line;    // whenever one could be fitted
    std::optional<TrendLimit> limit;  // the limit the line heads toward, if any
    std::optional<QDate> crossing;    // set only when the projection is shown
    QString reason;                   // why there is none, e.g. "too few tests (4 of 6)"

    bool Shown() const { return crossing.has_value(); }
};

// Projects the points (in time order or not) against the limits; with both an upper and a lower
// limit the one the line heads toward counts.
TrendProjection projectTrend(std::span<const TrendPoint> points, std::span<const TrendLimit> limits);

// The day number of a date at a time of day, and the date of a day number.
double trendDay(const QDate& date, int secondsOfDay = 0);
QDate trendDate(double day);

// "At this rate friction reaches the high limit around 2027-03." or "No projection for
// friction: too few tests (4 of 6)."; 'value' names the series.
QString projectionSentence(const QString& value, const TrendProjection& projection);

}  // namespace orvx::diagnostics
