#include "FindStopsDlg.h"

#include "ESDGenDlg.h"
#include "ManualStopsEvent.h"
#include "device/DeviceNames.h"
#include "frameworkapi/IUIController.h"
#include "platform/com/ComError.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/PostCall.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvx::views {

namespace {

namespace method = device::method;
using device::code::resultOf;

// Start Manual Find Stops, the operation button after Cancel.
constexpr std::uint8_t kManualBit = 16;

enum Item {
    StartItem = 213,
    StatusItem = 275,
    ManualItem = 310,
    GroupItem = 330,
};

const QString kNoPrivateDialog = QStringLiteral("Private dialog is disabled.");

bool isManualMethod(int number)
{
    return number == method::ManualStopsDriveLow || number == method::ManualStopsDriveHigh ||
           number == method::ManualStopsAcceptLow || number == method::ManualStopsAcceptHigh;
}

}  // namespace

CFindStopsDlg::CFindStopsDlg()
    : CArmedRunPage(230, method::FindStops, QStringLiteral("Find stops"),
                    {.armed = QStringLiteral("Press Continue to run Find Stops operation,\nelse press Cancel."),
                     .running = QStringLiteral("Perform FindStops, please wait..."),
                     .cancelling = QStringLiteral("FindStops Canceling..."),
                     .completed = QStringLiteral("FindStops completed."),
                     .cancelledByDevice = QStringLiteral("FindStops canceled by device!")})
{
}

void CFindStopsDlg::InitDialog()
{
    QVBoxLayout* layout = MakeGroup(GroupItem, QStringLiteral("Find Stops"),
                                    QStringLiteral("The positioner exhausts the actuator, then fills it, and records "
                                                   "both ends of the valve's travel. The valve moves over its full "
                                                   "stroke."));
    QWidget* group = layout->parentWidget();
    AddRunControls(group, layout, StartItem, StatusItem);

    m_manual = ui::makeButton(group, ManualItem, QStringLiteral("Start &Manual Find Stops"));
    auto* manual = new QHBoxLayout;
    manual->addWidget(m_manual);
    manual->addStretch(1);
    layout->addLayout(manual);
    SetToolTip(m_manual, QStringLiteral("Drive the valve to each stop yourself and confirm it"));
    connect(m_manual, &QPushButton::clicked, this,
            [this] { ui::runGuarded("Manual find stops", [this] { OpenManualDialog(); }); });
    AddMethodWindow(m_manual);
    ApplyButtons(ApplyModeBit | StartBit | kManualBit, true);
}

void CFindStopsDlg::OnOtherCode(std::int32_t code)
{
    const int method = code - resultOf(0);
    if (isManualMethod(method))
        PostToDialog(method, 0);
}

void CFindStopsDlg::OnFailure(std::int32_t code, const QString& text)
{
    bool isNumber = false;
    const int failed = text.trimmed().toInt(&isNumber, 10);
    if (isNumber && isManualMethod(failed))
        PostToDialog(failed, code);
    else
        CArmedRunPage::OnFailure(code, text);
}

void CFindStopsDlg::PostToDialog(int method, int status)
{
    // Dropped when no dialog is open; Qt drops it too when the dialog goes before it arrives.
    if (m_dialogWindow)
        QCoreApplication::postEvent(m_dialogWindow, new CManualStopsEvent(method, status));
}

void CFindStopsDlg::RunMethod(int method)
{
    if (!MayOperate())
        throw com::ComError(com::Status::AccessDenied, "the current user may not change the device");
    Controller()->SetParameterValue(method::tagOf(method), com::Variant());
}

void CFindStopsDlg::OpenManualDialog()
{
    framework::IUIController* controller = Controller();
    if (!controller)
        return;
    if (!controller->IsPrivateDialogEnabled()) {
        m_status.Show(kNoPrivateDialog);
        return;
    }
    QWidget* owner = QApplication::activeWindow() ? QApplication::activeWindow() : window();
    CESDGenDlg dialog(*this, controller->GetMainWindow(), owner);
    ui::dialogService().RunModal(dialog);
    SetDialogWindow(nullptr);
}

}  // namespace orvx::views
