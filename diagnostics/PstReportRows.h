#pragma once

#include "DiagRecord.h"
#include "PstGrading.h"
#include "SignatureAnalysis.h"

#include <QString>

#include <optional>
#include <vector>

namespace orvx::diagnostics {

// One line of a PST report: what was measured, its value with unit, the limit it is graded
// against, and the grade; rows that are not graded have no limit and no grade.
struct PstReportRow {
    QString name;
    QString value;
    QString limit;
    std::optional<Grade> grade;

    bool operator==(const PstReportRow&) const = default;
};

// What a record loaded from a file says instead of a limit: the file keeps no limits.
inline constexpr const char* kLimitNotStored = "limit not stored in the file";
// What a row says for a figure its signature does not give.
inline constexpr const char* kNotGiven = "not given by the signature";

// The rows of a PST report, in the order the PST summary shows them: the device's passed flag,
// then friction, breakaway pressure, droop, lower and upper spring range, exhaust and fill
// response time as read off the signature, pressures in the figures' unit (the limits must be
// in it too). Without limits only the passed flag is graded; a figure the signature does not
// give is not graded either.
std::vector<PstReportRow> pstReportRows(int passedFlag, const SignatureFigures& figures,
                                        const std::optional<PstLimits>& limits);

}  // namespace orvx::diagnostics
