#pragma once

namespace orvx::chart {

// The distance between an axis's ticks for a shown span: 1, 2 or 5 times a power of ten, the
// smallest such step that cuts the span into at most `most` parts, so that the ticks fall on
// round numbers (a span of 24.5 gets a tick every 5). A span that is not a positive finite
// number gets 1.
double tickStep(double span, int most = 8);

}  // namespace orvx::chart
