#pragma once

#include <QString>
#include <QSysInfo>

namespace orvx::store {

// Who keeps a record or chooses a baseline, as the store names them: the user's login name and
// the machine ("alice on ws-12").
inline QString keeperName()
{
    return QStringLiteral("%1 on %2")
        .arg(qEnvironmentVariable("USER", QStringLiteral("unknown")), QSysInfo::machineHostName());
}

}  // namespace orvx::store
