#pragma once

#include "DiagRecord.h"
#include "PstGrading.h"

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

// The rows of a PST report, in the order the PST summary shows them: passed flag, friction,
// breakaway pressure, droop, lower and upper spring range, exhaust and fill response time.
// Pressures are in the record's pressure unit. Without limits only the passed flag is graded.
std::vector<PstReportRow> pstReportRows(const DiagRecord& record, const std::optional<PstLimits>& limits);

}  // namespace orvx::diagnostics
