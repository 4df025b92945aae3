#pragma once

#include "plant/ValveRow.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace orvx::plant {

// The plant PST report, what an auditor of the safety function asks for: every valve with its
// PST interval, its last PST and result, whether it is overdue at `now`, when the next is due,
// and its wear against the baseline. The valves go in the order given. Each file is written
// whole or not at all (a temporary file beside it replaces it only once complete); an existing
// file at `path` is left as it was when writing fails. Each answers an empty text, or why the
// report could not be written.

// CSV as RFC 4180 has it: a header row, one row per valve, fields holding a comma, a quote or a
// line break quoted (quotes doubled), CRLF line ends; moments in ISO 8601 UTC, the wear lines
// joined by "; ".
QString writePlantCsv(const QList<ValveRow>& rows, const QDateTime& now, const QString& path);

// A4 landscape PDF: a title with the moment it was made, a count of overdue and failed valves,
// and a table over as many pages as it takes, its headings repeated on each.
QString writePlantPdf(const QList<ValveRow>& rows, const QDateTime& now, const QString& path);

// One CSV field, quoted when RFC 4180 asks for it; a field a spreadsheet would run as a formula
// (=, +, -, @, a tab or a carriage return first) is kept as text behind an apostrophe.
QString csvField(const QString& text);

}  // namespace orvx::plant
