#include "ParameterRead.h"

#include "IStatusArea.h"

namespace orvx::framework {

void showReadFailure(IUIController& controller, const QString& tag, const QString& why)
{
    if (IStatusArea* status = controller.GetStatusArea())
        status->SetMessage(QStringLiteral("Parameter %1 could not be read: %2").arg(tag, why));
}

}  // namespace orvx::framework
