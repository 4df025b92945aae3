#include "SinglePageEditModel.h"

#include "IIdentificationArea.h"
#include "TextProvider.h"
#include "controls/UIEvents.h"
#include "device/StringBridge.h"
#include "frameworkapi/IUIController.h"

namespace orvx::framework {

using namespace controls;

bool CSinglePageEditModel::HandleEvent(CUIEventBase& event)
{
    switch (event.GetType()) {
    case EventTextDataGet: {
        if (m_page == SinglePage::Trend)
            return false;
        auto& get = static_cast<CTextDataGetEvent&>(event);
        readOrMarkUnsupported(event, [&] { get.SetValue(device::variantText(GetValue(get.GetTag()))); });
        return true;
    }
    case EventAction:
        if (event.GetViewId() == 0)
            showAbout();
        return true;
    default: return handleCommonEvent(event);
    }
}

void CSinglePageEditModel::InitAreas()
{
    if (!controller())
        return;
    controller()->HideActionArea(true);
    controller()->SetNavigationHidden(true);
    addAboutAction(0);
    if (IIdentificationArea* identification = controller()->GetIdentificationArea()) {
        identification->SetMakerText(QStringLiteral("Norvane-Halbrook"));
        identification->SetLeftPicture(269);
        identification->SetRightPicture(277);
    }
    if (CreateSinglePage(m_page, controller(), texts()))
        controller()->ActivateView(0);
}

}  // namespace orvx::framework
