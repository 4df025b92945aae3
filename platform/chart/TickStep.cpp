#include "TickStep.h"

#include <cmath>
#include <initializer_list>

namespace orvx::chart {

double tickStep(double span, int most)
{
    if (!std::isfinite(span) || span <= 0 || most < 1)
        return 1;
    // The power of ten at or below the span shared out as asked, then the first of 1, 2, 5 and
    // 10 times it that is wide enough.
    const double power = std::pow(10.0, std::floor(std::log10(span / most)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        // A hair of tolerance: 10 / 5 is two parts, not a little over.
        if (span / (factor * power) <= most * (1 + 1e-9))
            return factor * power;
    }
    return 10 * power;
}

}  // namespace orvx::chart
