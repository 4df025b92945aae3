#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace orvx::plant {

// The words the plant table and its reports use for a valve's values, so that both say the same.

// "Setup", "Manual", "Normal" or "Unknown" (any other code).
QString modeText(int mode);
// "Passed", "Failed", or empty when no PST result is known.
QString resultText(const std::optional<bool>& passed);
// The UTC date of a moment, "2026-03-01"; empty for none or an invalid moment.
QString dayText(const std::optional<QDateTime>& when);
// The moment in ISO 8601 UTC, "2026-03-01T09:05:04Z"; empty for none or an invalid moment.
QString isoText(const std::optional<QDateTime>& when);

}  // namespace orvx::plant
