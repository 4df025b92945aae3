#pragma once

#include "PstGrading.h"
#include "SignatureAnalysis.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace orvx::diagnostics {

// One figure of a PST beside the same figure of the test it is compared with (the valve's
// baseline), both read off their signatures and in one pressure unit (times in seconds). A
// figure a signature does not give is none on its side.
struct ComparisonRow {
    const char* name = "";
    bool pressure = true;  // a pressure, else a time
    std::optional<double> current;
    std::optional<double> baseline;
    // Graded by the configured limits; none for a figure without a limit, without limits, or
    // that is none itself.
    std::optional<Grade> currentGrade;
    std::optional<Grade> baselineGrade;

    // None unless both sides have the figure.
    std::optional<double> Difference() const;
    // The change in percent of the baseline; none also for a baseline of 0.
    std::optional<double> Percent() const;
};

// Friction, breakaway, droop, the lower and upper spring range and both response times, in
// this order, in the current test's unit (the baseline's pressures are converted to it, as are
// the limits expected to be). Friction is graded between its limits, breakaway and droop below
// theirs.
std::vector<ComparisonRow> compareFigures(const SignatureFigures& current, const SignatureFigures& baseline,
                                          const std::optional<PstLimits>& limits);

// "+38 %", "-5.2 %", "0 %": at most three significant digits, the sign always shown.
QString percentText(double percent);

// "Friction 12.3 psi, +38 % since 2026-01-10"; without a percentage (a baseline of 0) the
// difference instead: "Droop 0.4 psi, +0.4 psi since 2026-01-10". A side without the figure
// says so: "Friction: this test's signature gives none", "Friction 12.3 psi: the baseline of
// 2026-01-10 gives none".
QString changeSince(const ComparisonRow& row, const QString& unit, const QDate& baselineDate);

// The date of a record's time stamp as a data file keeps it ("MM/DD/YYYY hh:mm:ss", blanks
// around it allowed); invalid for a text that is no such date.
QDate recordDate(const QString& dateTime);

}  // namespace orvx::diagnostics
