#include "Refusal.h"

#include "IStatusArea.h"
#include "IUIController.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/PostCall.h"

#include <QDebug>

namespace orvx::framework {

void refuse(IUIController& controller, QWidget* owner, const QString& text, const QString& caption)
{
    if (IStatusArea* status = controller.GetStatusArea()) {
        status->SetMessage(text);
        qWarning().noquote() << text;
    } else {
        ui::reportError(text);
    }
    if (controller.IsPrivateDialogEnabled())
        ui::showMessage(owner, caption, text, ui::MessageButtons::Ok, ui::MessageIcon::Error);
}

}  // namespace orvx::framework
