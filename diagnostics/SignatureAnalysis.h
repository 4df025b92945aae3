#pragma once

#include "DiagRecord.h"

#include <cstdint>
#include <optional>

namespace orvx::diagnostics {

// A position change of more than this many percent is movement of the valve, and a sample
// within it of a place is at that place.
inline constexpr double kMovedPercent = 0.1;

// What a PST signature says about the valve, read off its two curves (docs/signature-analysis.md).
// Pressures are in `unitCode`, times in seconds. A figure the signature cannot give is none;
// none is never 0.
struct SignatureFigures {
    std::uint32_t unitCode = 6;
    std::optional<double> friction;
    std::optional<double> breakaway;
    std::optional<double> droop;
    std::optional<double> lowerSpring;
    std::optional<double> upperSpring;
    std::optional<double> exhaustTime;
    std::optional<double> fillTime;

    bool operator==(const SignatureFigures&) const = default;
};

// Reads the figures off a signature: `exhaust` is curve 1 (the exhaust stroke with the dwell
// after it), `fill` curve 2 (the fill stroke), sampled every `intervalMs` milliseconds from the
// first sample of each curve on; pressures in `unitCode`.
// - Curve 1 empty, or the valve never moving on it: every figure none.
// - Curve 2 empty, or never passing the middle of the travel: friction and the spring range
//   none; never getting back to the start: the fill time none.
// - An interval of 0 or less: both times none; the pressures do not depend on it.
// - A curve holding a value that is not a finite number counts as empty.
SignatureFigures analyseSignature(const Curve& exhaust, const Curve& fill, int intervalMs, std::uint32_t unitCode);

// The figures of a record's signature, sampled at its Interval value, in its PresUnits.
SignatureFigures analyseRecord(const DiagRecord& record);

// The figures with their pressures in another unit; times stay.
SignatureFigures convertFigures(SignatureFigures figures, std::uint32_t toUnit);

}  // namespace orvx::diagnostics
