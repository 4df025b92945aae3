#pragma once

#include "DiagRecord.h"
#include "PstGrading.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace orvx::diagnostics {

// One result of a PST beside the same result of the valve's baseline test, both in one pressure
// unit (times in seconds).
struct ComparisonRow {
    const char* name = "";
    bool pressure = true;  // a pressure, else a time
    double current = 0;
    double baseline = 0;
    // Graded by the configured limits; none for a result without a limit or without limits.
    std::optional<Grade> currentGrade;
    std::optional<Grade> baselineGrade;

    double Difference() const { return current - baseline; }
    // The change in percent of the baseline; none for a baseline of 0.
    std::optional<double> Percent() const;
};

// Friction, breakaway, droop, the lower and upper spring range and both response times, in
// this order. Friction is graded between its limits, breakaway and droop below theirs.
std::vector<ComparisonRow> compareResults(const PstResults& current, const PstResults& baseline,
                                          const std::optional<PstLimits>& limits);

// The results a record keeps, in 'unitCode': its pressures are converted from its own unit.
PstResults resultsOf(const DiagRecord& record, std::uint32_t unitCode);
// Results with their pressures converted from one unit to another.
PstResults convertResults(PstResults results, std::uint32_t fromUnit, std::uint32_t toUnit);

// "+38 %", "-5.2 %", "0 %": at most three significant digits, the sign always shown.
QString percentText(double percent);

// "Friction 12.3 psi, +38 % since 2026-01-10"; without a percentage (a baseline of 0) the
// difference instead: "Droop 0.4 psi, +0.4 psi since 2026-01-10".
QString changeSince(const ComparisonRow& row, const QString& unit, const QDate& baselineDate);

// The date of a record's time stamp as a data file keeps it ("MM/DD/YYYY hh:mm:ss", blanks
// around it allowed); invalid for a text that is no such date.
QDate recordDate(const QString& dateTime);

}  // namespace orvx::diagnostics
