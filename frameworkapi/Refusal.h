#pragma once

#include <QString>

class QWidget;

namespace orvx::framework {

class IUIController;

// The caption of a refusal's message box on the device's pages.
inline const QString& refusalCaption()
{
    static const QString caption = QStringLiteral("Orvx ESD HART");
    return caption;
}

// Tells the user that what they asked for was refused, and why, so that a refusal is never
// silent: on the controller's status line (else where failures are reported) and in the log
// always, and in a message box owned by 'owner' when private dialogs are enabled.
void refuse(IUIController& controller, QWidget* owner, const QString& text, const QString& caption = refusalCaption());

}  // namespace orvx::framework
