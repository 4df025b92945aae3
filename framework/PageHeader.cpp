#include "PageHeader.h"

#include "IHeaderPage.h"
#include "PageFields.h"
#include "controls/DtmButtonControl.h"
#include "device/DeviceNames.h"
#include "frameworkapi/IUIController.h"
#include "platform/ui/DialogService.h"
#include "platform/xml/XmlDocument.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace orvx::framework {

namespace {

// Makes a value label selectable by the mouse when the mouse first comes over it. A selectable
// label lays its text out as a document each time it changes, which every page's header would
// pay for at creation; the user sees no difference, since only a mouse selects.
class SelectableOnHover : public QObject {
public:
    explicit SelectableOnHover(QLabel* label) : QObject(label) { label->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Enter || event->type() == QEvent::MouseButtonPress) {
            auto* label = static_cast<QLabel*>(watched);
            label->removeEventFilter(this);
            label->setTextInteractionFlags(Qt::TextSelectableByMouse);
            deleteLater();
        }
        return false;
    }
};

constexpr std::int32_t kModeToSetControl = 8;
constexpr std::int32_t kApplyModeControl = 9;

using enum FieldKind;
constexpr PageField kFields[] = {
    {.controlId = 3, .kind = Label, .item = 203, .caption = "Tag"},
    {.controlId = 4, .kind = Label, .item = 204, .caption = "Device ID"},
    {.controlId = 6, .kind = Label, .item = 295, .caption = "Descriptor"},
    {.controlId = 7, .kind = Label, .item = 207, .caption = "Final assembly number"},
    {.controlId = 5, .kind = Label, .item = 205, .caption = "Active Mode"},
    {.controlId = kModeToSetControl, .kind = Choice, .item = CPageHeader::kModeToSetItem, .caption = "Mode to set"},
    {.controlId = kApplyModeControl, .kind = Button, .item = CPageHeader::kModeButtonItem, .caption = "Apply Mode"},
};
// Where each field of kFields sits in the header's grid: row, column, and columns the field spans.
constexpr int kCells[][3] = {{0, 0, 1}, {0, 2, 2}, {1, 0, 1}, {1, 2, 2}, {2, 0, 1}, {2, 2, 1}, {2, 4, 1}};
static_assert(std::size(kCells) == std::size(kFields));

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

const xml::XmlDocument& CPageHeader::ViewSetting()
{
    // Parsed once, and never destroyed: every page made applies it.
    static const xml::XmlDocument* const setting = new xml::XmlDocument(
        std::move(*xml::XmlDocument::parse(QStringLiteral(
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
            "</ViewSetting>"))));
    return *setting;
}

QPushButton* CPageHeader::BuildWidgets(CPageFields& fields, QWidget* surface, QVBoxLayout* layout)
{
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    for (std::size_t i = 0; i < std::size(kFields); ++i) {
        const FieldWidgets& w = fields.Make(surface, kFields[i]);
        const auto [row, column, span] = kCells[i];
        if (auto* value = w.as<QLabel>()) {
            value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            value->setMinimumWidth(120);
            new SelectableOnHover(value);
        }
        if (w.caption)
            grid->addWidget(w.caption, row, column);
        grid->addWidget(w.field, row, w.caption ? column + 1 : column, 1, span);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return fields.Widgets(kApplyModeControl)->as<QPushButton>();
}

void CPageHeader::CreateControls(IHeaderPage& page)
{
    CPageFields& fields = page.HeaderFields();
    fields.Bind();
    if (auto* applyMode = fields.Get<controls::CDtmButtonControl>(kApplyModeControl))
        applyMode->SetClickFilter([&page] { return ApplyModePressed(page); });
    page.ApplyViewSettingDocument(ViewSetting());
}

bool CPageHeader::ApplyModePressed(IHeaderPage& page)
{
    IUIController* controller = page.Controller();
    if (!controller)
        return false;
    const std::uint32_t current = controller->GetDeviceState().mode;
    // With the device gone or its mode unreadable, neither whether a change is needed nor
    // whether it leaves Normal is known: nothing is sent (the status line says why).
    if (current == ModeUndetermined || current == ModeDisconnected)
        return false;
    // The position the user selected in the widget, whatever the control last read or sent.
    const FieldWidgets* modeToSetWidgets = page.HeaderFields().Widgets(kModeToSetControl);
    const auto* modeToSet = modeToSetWidgets ? modeToSetWidgets->as<QComboBox>() : nullptr;
    const std::uint32_t requested = modeToSet ? requestedMode(modeToSet->currentIndex()) : 0;
    if (requested == 0 || requested == current)
        return false;

    if (controller->IsPrivateDialogEnabled()) {
        const QString* question = current == ModeNormal     ? &kLeaveNormal
                                  : requested == ModeNormal ? &kEnterNormal
                                                            : nullptr;
        if (question && ui::showMessage(page.GetWindow(), QStringLiteral("Orvx ESD HART"), *question,
                                        ui::MessageButtons::OkCancel) != ui::DialogAnswer::Ok)
            return false;
    }

    // Sent by the page, which records the running change only once the device took it.
    page.StartOperation(kApplyModeControl, device::method::ModeChange, QString(), 0);
    return false;
}

}  // namespace orvx::framework
