#pragma once

namespace orvx::chart {

// The distance between an axis's ticks for a shown span: 1, 2 or 5 times a power of ten, the
// smallest such step that cuts the span into at most `most` parts, so that the ticks fall on
// round numbers (a span of 24.5 gets a tick every 5). A span that is not a positive finite
// number gets 1.
double tickStep(double span, int most = 8);

// An axis range that starts and ends on ticks, and the distance between them.
struct TickRange {
    double low = 0;
    double high = 1;
    double step = 1;

    bool operator==(const TickRange&) const = default;
};

// The narrowest range on ticks of tickStep() that covers low..high in at most `most` parts, so
// that the first and the last tick are round numbers as well (21.49..33.87 is shown as 20..34,
// a tick every 2). A range of no width is one step wide from the tick at or below it; ends that
// are not finite or the wrong way round give 0..1. `most` is taken as 2 at the least: a range
// across a tick needs two parts.
TickRange tickRange(double low, double high, int most = 8);

}  // namespace orvx::chart
