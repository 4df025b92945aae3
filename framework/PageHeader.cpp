#include "PageHeader.h"

#include "ApplicationViewBase.h"
#include "IUIController.h"
#include "controls/DtmButtonControl.h"
#include "controls/DtmComboBoxControl.h"
#include "controls/DtmStaticTextControl.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/DialogService.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace orvx::framework {

namespace {

constexpr std::int32_t kModeToSetControl = 8;
constexpr std::int32_t kApplyModeControl = 9;
constexpr int kModeChangeMethod = 0;

// Header controls shown as static texts: control id and dialog item.
constexpr std::pair<std::int32_t, int> kStaticTexts[] = {{3, 203}, {4, 204}, {5, 205}, {6, 295}, {7, 207}};

const QString kLeaveNormal = QStringLiteral(
    "Leaving Normal Mode will result in loss of\nprocess control!\n\nAre you sure you want to leave Normal Mode?");
const QString kEnterNormal = QStringLiteral(
    "Entering Normal Mode will cause the valve to move\nto its normal operating position!\n\n"
    "Are you sure you want to enter Normal Mode?");

// The mode a position of "Mode to set" asks for: the order of the choices, not their values.
std::uint32_t requestedMode(int position)
{
    switch (position) {
    case 0: return ModeSetup;
    case 1: return ModeManual;
    case 2: return ModeNormal;
    default: return 0;
    }
}

}  // namespace

const QString& CPageHeader::ViewSetting()
{
    static const QString setting = QStringLiteral(
        "<ViewSetting>"
        "<ControlData controlId='3' tag='1001'/>"
        "<ControlData controlId='4' tag='1003'/>"
        "<ControlData controlId='5' tag='1000'/>"
        "<ControlData controlId='6' tag='1002'/>"
        "<ControlData controlId='7' tag='1004'/>"
        "<ControlData controlId='8' tag='1005' value='0' tooltip='Mode - Orvx ESD modes can be: setup (setup, "
        "low power,fail safe, fatal), normal, or manual.'>"
        "<ChoiceCollection><Choice caption='Setup' tag='0'/><Choice caption='Manual' tag='1'/>"
        "<Choice caption='Normal' tag='3'/></ChoiceCollection>"
        "</ControlData>"
        "<ControlData controlId='9' tag='0'/>"
        "</ViewSetting>");
    return setting;
}

void CPageHeader::CreateControls(CApplicationViewBase& page)
{
    IUIController* controller = page.Controller();
    QWidget* surface = page.Surface();
    for (const auto& [controlId, item] : kStaticTexts) {
        auto text = std::make_unique<controls::CDtmStaticTextControl>(controlId, &page, controller);
        text->Attach(ui::dialogItem<QLabel>(surface, item));
        page.RegisterControl(std::move(text));
    }

    auto modeToSet = std::make_unique<controls::CDtmComboBoxControl>(kModeToSetControl, &page, controller);
    modeToSet->Attach(nullptr, nullptr, ui::dialogItem<QComboBox>(surface, CApplicationViewBase::kModeToSetItem),
                      nullptr);
    page.RegisterControl(std::move(modeToSet));

    auto applyMode = std::make_unique<controls::CDtmButtonControl>(kApplyModeControl, &page, controller);
    applyMode->Attach(page.ModeButton());
    applyMode->SetClickFilter([&page] { return ApplyModePressed(page); });
    page.RegisterControl(std::move(applyMode));

    page.ApplyViewSetting(ViewSetting());
}

bool CPageHeader::ApplyModePressed(CApplicationViewBase& page)
{
    IUIController* controller = page.Controller();
    if (!controller)
        return false;
    const std::uint32_t current = controller->GetDeviceMode();
    // The position the user selected in the widget, whatever the control last read or sent.
    const auto* modeToSet = ui::dialogItem<QComboBox>(page.Surface(), CApplicationViewBase::kModeToSetItem);
    const std::uint32_t requested = modeToSet ? requestedMode(modeToSet->currentIndex()) : 0;
    if (requested == 0 || requested == current)
        return false;

    if (controller->IsPrivateDialogEnabled()) {
        const QString* question = current == ModeNormal      ? &kLeaveNormal
                                  : requested == ModeNormal ? &kEnterNormal
                                                            : nullptr;
        if (question && ui::showMessage(page.GetWindow(), QStringLiteral("Orvx ESD HART"), *question,
                                        ui::MessageButtons::OkCancel) != ui::DialogAnswer::Ok)
            return false;
    }

    // Sent by the page, which records the running change only once the device took it.
    page.StartOperation(kApplyModeControl, kModeChangeMethod);
    return false;
}

}  // namespace orvx::framework
