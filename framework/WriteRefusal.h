#pragma once

#include <QString>

namespace orvx::framework {

// What a user without write rights is told when a write or a device command is refused.
inline const QString& writeRefusedText()
{
    static const QString text = QStringLiteral("Not sent: the current user may not change the device.");
    return text;
}

}  // namespace orvx::framework
