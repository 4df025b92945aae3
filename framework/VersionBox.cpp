#include "VersionBox.h"

#include "platform/ui/DialogService.h"

#include <QFileInfo>

namespace orvx::framework {

QString versionText(const QString& moduleFile)
{
    return QStringLiteral("Orvx ESD DTM user interface\n\nModule: %1\nVersion: %2\nBuilt: %3")
        .arg(moduleFile.isEmpty() ? QStringLiteral("(unknown)") : QFileInfo(moduleFile).fileName(),
             QStringLiteral(ORVX_VERSION), QStringLiteral(__DATE__));
}

void showVersionBox(QWidget* owner, const QString& moduleFile)
{
    ui::showMessage(owner, QStringLiteral("About"), versionText(moduleFile), ui::MessageButtons::Ok,
                    ui::MessageIcon::Information);
}

}  // namespace orvx::framework
