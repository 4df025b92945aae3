#include "EditModel.h"

#include "IActionArea.h"
#include "IIdentificationArea.h"
#include "INavigationArea.h"
#include "IToolbarArea.h"
#include "PageTable.h"
#include "TextProvider.h"
#include "controls/Conversions.h"
#include "controls/UIEvents.h"
#include "device/DeviceNames.h"
#include "device/StringBridge.h"
#include "frameworkapi/IApplicationView.h"
#include "frameworkapi/IUIController.h"
#include "platform/ui/IconLibrary.h"
#include "platform/ui/Resources.h"

namespace orvx::framework {

using namespace controls;

namespace {

constexpr int kLayoutDescription = 219;
constexpr int kLeftPicture = 269;
constexpr int kRightPicture = 277;
constexpr std::int32_t kEsdPstView = 1;
constexpr std::int32_t kEsdSetupView = 6;

}  // namespace

bool CEditModel::HandleEvent(CUIEventBase& event)
{
    switch (event.GetType()) {
    case EventTextDataGet: {
        auto& get = static_cast<CTextDataGetEvent&>(event);
        readOrMarkUnsupported(event, [&] { get.SetValue(device::variantText(GetValue(get.GetTag()))); });
        return true;
    }
    case EventAction:
        if (event.GetViewId() == 0) {
            if (controller())
                controller()->SetNavigationHidden(event.GetControlId() == 0);
        } else if (event.GetViewId() == 1) {
            showAbout();
        }
        return true;
    case EventViewRequest:
        if (controller() && texts())
            CreatePage(event.GetViewId(), controller(), texts());
        return true;
    default: return handleCommonEvent(event) || handleOnlineEvent(event);
    }
}

void CEditModel::deliverTo(std::int32_t viewId, std::int32_t code, const QString& text)
{
    if (IApplicationView* page = controller()->GetView(viewId))
        page->OnUpdate(code, text);
}

void CEditModel::OnUpdate(std::int32_t code, const QString& text)
{
    if (!controller())
        return;
    const std::int32_t current = controller()->GetActiveViewId();
    std::int32_t owner = -1;
    if (controller()->IsOperationRunning() && (device::code::isFailure(code) || code == device::code::Cancelled ||
                                               code == controller()->GetOperationCode())) {
        owner = controller()->GetOperationOwner();
        controller()->SetOperation(false, -1, device::code::None);
        // The controller has the shown page recompute its gating once the notification is handled.
        if (current != owner)
            deliverTo(owner, code, text);
    }

    switch (code) {
    case device::code::DataReloaded:
        controller()->NotifyDataReloaded();
        for (std::int32_t view : {kEsdPstView, kEsdSetupView})
            if (view != current)
                deliverTo(view, code, text);
        break;
    case device::code::resultOf(device::method::WritePstSchedule):
        for (std::int32_t view : {kEsdPstView, kEsdSetupView})
            if (view != current && view != owner)
                deliverTo(view, code, text);
        break;
    case device::code::Revalidate: {
        try {
            if (CConversions::to_long(text) == device::code::RevalidateAllPages)
                controller()->ValidatePages(-1);
        } catch (const std::exception&) {
            // not a number: nothing to validate
        }
        break;
    }
    default: break;
    }
}

void CEditModel::InitAreas()
{
    if (!controller())
        return;
    controller()->LoadLayoutDescription(ui::xmlResource(kLayoutDescription));
    if (INavigationArea* navigation = controller()->GetNavigationArea()) {
        navigation->ShowImages(true);
        navigation->ExpandAll();
    }
    if (IIdentificationArea* identification = controller()->GetIdentificationArea()) {
        identification->SetMakerText(QStringLiteral("Halbrook Norvane"));
        identification->SetLeftPicture(kLeftPicture);
        identification->SetRightPicture(kRightPicture);
    }
    if (IToolbarArea* toolbar = controller()->GetToolbarArea()) {
        toolbar->Clear();
        toolbar->AddIconAction(0, ui::GetIcon(27), ToolbarToggle, QStringLiteral("Toggle navigation tree"));
    }
    addAboutAction(1);
    controller()->HideActionArea(true);
    controller()->SetSplitterFraction(4);
}

}  // namespace orvx::framework
