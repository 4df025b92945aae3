#include "plant/ValveTexts.h"

namespace orvx::plant {

QString modeText(int mode)
{
    switch (mode) {
    case 0: return QStringLiteral("Setup");
    case 1: return QStringLiteral("Manual");
    case 3: return QStringLiteral("Normal");
    default: return QStringLiteral("Unknown");
    }
}

QString resultText(const std::optional<bool>& passed)
{
    if (!passed)
        return {};
    return *passed ? QStringLiteral("Passed") : QStringLiteral("Failed");
}

QString dayText(const std::optional<QDateTime>& when)
{
    if (!when || !when->isValid())
        return {};
    return when->toUTC().date().toString(Qt::ISODate);
}

QString isoText(const std::optional<QDateTime>& when)
{
    if (!when || !when->isValid())
        return {};
    return when->toUTC().toString(Qt::ISODate);
}

}  // namespace orvx::plant
