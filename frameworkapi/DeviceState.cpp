#include "DeviceState.h"

namespace orvx::framework {

QString modeText(const DeviceState& state)
{
    QString text;
    switch (state.mode) {
    case ModeManual: text = QStringLiteral("Manual"); break;
    case ModeNormal: text = QStringLiteral("Normal"); break;
    case ModeLowPower: text = QStringLiteral("Low Power"); break;
    case ModeFailSafe: text = QStringLiteral("FailSafe"); break;
    case ModeFatal: text = QStringLiteral("Fatal"); break;
    case ModeFailHigh: text = QStringLiteral("FailHigh"); break;
    case ModeMarginalPower: text = QStringLiteral("MarginalPower"); break;
    case ModeDisconnected: return QStringLiteral("Disconnected");
    case ModeUndetermined: return QStringLiteral("Unknown");
    default: text = QStringLiteral("Setup"); break;
    }
    if (state.failHigh)
        text += QStringLiteral(" / FailHigh");
    return text;
}

bool userMayWrite(const QString& userLevel, bool registered)
{
    return registered && userLevel != QLatin1String("observer");
}

}  // namespace orvx::framework
