#include "TickStep.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace orvx::chart {

namespace {

// A hair of tolerance against the rounding of divisions: 10 / 5 is two parts, not a little
// over, and 0.001 / 0.0005 is two steps, not a little under.
constexpr double kHair = 1e-9;

}  // namespace

double tickStep(double span, int most)
{
    if (!std::isfinite(span) || span <= 0 || most < 1)
        return 1;
    // The power of ten at or below the span shared out as asked, then the first of 1, 2, 5 and
    // 10 times it that is wide enough.
    const double power = std::pow(10.0, std::floor(std::log10(span / most)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (span / (factor * power) <= most * (1 + kHair))
            return factor * power;
    }
    return 10 * power;
}

TickRange tickRange(double low, double high, int most)
{
    if (!std::isfinite(low) || !std::isfinite(high) || high < low)
        return {};
    // A range across a tick takes two parts however wide the step.
    most = std::max(most, 2);
    double step = tickStep(high - low, most);
    // Widening to whole steps can make the span too wide for its step; the next step then
    // widens again, and the steps only grow, so this ends after a few rounds.
    for (;;) {
        const double first = std::floor(low / step + kHair) * step;
        double last = std::ceil(high / step - kHair) * step;
        if (last <= first)
            last = first + step;
        const double wider = tickStep(last - first, most);
        if (wider <= step * (1 + kHair))
            return {first, last, step};
        step = wider;
    }
}

}  // namespace orvx::chart
