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

// The operation buttons' bits, in the order the page adds them after Apply Mode.
enum Button : std::uint8_t {
    ApplyModeBit = 1,
    StartBit = 2,
    ContinueBit = 4,
    CancelBit = 8,
    ManualBit = 16,
};
constexpr std::uint8_t kIdle = ApplyModeBit | StartBit | ManualBit;

// The Continue button is no device control; the command goes out under this id.
constexpr std::int32_t kRunControl = 20;

enum Item {
    StartItem = 213,
    ContinueItem = 214,
    CancelItem = 215,
    StatusItem = 275,
    ManualItem = 310,
    GroupItem = 330,
};

const QString kArmed = QStringLiteral("Press Continue to run Find Stops operation,\nelse press Cancel.");
const QString kRunning = QStringLiteral("Perform FindStops, please wait...");
const QString kCancelling = QStringLiteral("FindStops Canceling...");
const QString kCompleted = QStringLiteral("FindStops completed.");
const QString kCancelledByDevice = QStringLiteral("FindStops canceled by device!");
const QString kBusy = QStringLiteral("Device is busy, please wait a moment!");
const QString kNoPrivateDialog = QStringLiteral("Private dialog is disabled.");

bool isManualMethod(int number)
{
    return number == method::ManualStopsDriveLow || number == method::ManualStopsDriveHigh ||
           number == method::ManualStopsAcceptLow || number == method::ManualStopsAcceptHigh;
}

QPushButton* makeButton(QWidget* parent, int item, const char* text)
{
    auto* button = ui::makeItem<QPushButton>(parent, item);
    button->setText(QString::fromLatin1(text));
    return button;
}

}  // namespace

CFindStopsDlg::CFindStopsDlg() : CResourcePage(230) {}

void CFindStopsDlg::InitDialog()
{
    auto* group = ui::makeItem<QGroupBox>(Surface(), GroupItem);
    group->setTitle(QStringLiteral("Find Stops"));
    auto* layout = new QVBoxLayout(group);
    auto* about = new QLabel(QStringLiteral("The positioner exhausts the actuator, then fills it, and records both "
                                            "ends of the valve's travel. The valve moves over its full stroke."),
                             group);
    about->setWordWrap(true);
    layout->addWidget(about);

    m_start = makeButton(group, StartItem, "&Start");
    m_continue = makeButton(group, ContinueItem, "C&ontinue");
    m_cancel = makeButton(group, CancelItem, "&Cancel");
    auto* run = new QHBoxLayout;
    for (QPushButton* button : {m_start, m_continue, m_cancel})
        run->addWidget(button);
    run->addStretch(1);
    layout->addLayout(run);

    auto* status = ui::makeItem<QLabel>(group, StatusItem);
    status->setWordWrap(true);
    status->setMinimumHeight(3 * status->fontMetrics().height());
    status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(status);
    m_status.Attach(status);

    m_manual = makeButton(group, ManualItem, "Start &Manual Find Stops");
    auto* manual = new QHBoxLayout;
    manual->addWidget(m_manual);
    manual->addStretch(1);
    layout->addLayout(manual);
    BodyLayout()->addWidget(group);

    SetToolTip(m_start, QStringLiteral("Prepare the automatic find stops"));
    SetToolTip(m_continue, QStringLiteral("Run the automatic find stops: the valve moves to both ends"));
    SetToolTip(m_cancel, QStringLiteral("Stop the find stops"));
    SetToolTip(m_manual, QStringLiteral("Drive the valve to each stop yourself and confirm it"));

    connect(m_start, &QPushButton::clicked, this, [this] { ui::runGuarded("Start find stops", [this] { Arm(); }); });
    connect(m_continue, &QPushButton::clicked, this,
            [this] { ui::runGuarded("Continue find stops", [this] { Run(); }); });
    connect(m_cancel, &QPushButton::clicked, this,
            [this] { ui::runGuarded("Cancel find stops", [this] { Cancel(); }); });
    connect(m_manual, &QPushButton::clicked, this,
            [this] { ui::runGuarded("Manual find stops", [this] { OpenManualDialog(); }); });

    for (QPushButton* button : {m_start, m_continue, m_cancel, m_manual})
        AddMethodWindow(button);
    ApplyButtons(kIdle, true);
    SetRequiredMode(framework::ModeSetup);
}

void CFindStopsDlg::Arm()
{
    m_status.Show(kArmed);
    RecordButtons();
    ApplyButtons((EnableMask() & ~StartBit) | ContinueBit | CancelBit, true);
}

void CFindStopsDlg::Run()
{
    if (!StartOperation(kRunControl, method::FindStops))
        return;
    // Only Cancel while it runs; the mask keeps the armed set, which a failure brings back.
    const std::uint8_t armed = EnableMask();
    ApplyButtons(CancelBit, true);
    SetEnableMask(armed);
    m_status.Show(kRunning);
    m_status.RunStarted();
}

void CFindStopsDlg::Cancel()
{
    const bool running = Controller() && Controller()->IsOperationRunning();
    // With nothing running this comes back as 523 at once and sends nothing.
    CancelOperation(kCancelling);
    if (running)
        m_status.Show(kCancelling);
}

void CFindStopsDlg::BackToIdle()
{
    ApplyButtons((EnableMask() & ~(ContinueBit | CancelBit)) | StartBit, true);
}

void CFindStopsDlg::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    switch (code) {
    case resultOf(method::FindStops):
        m_status.RunEnded();
        m_status.Show(kCompleted);
        BackToIdle();
        break;
    case device::code::Cancelled:
        m_status.RunEnded();
        m_status.Clear();
        BackToIdle();
        break;
    case device::code::StatusChanged: m_status.Clear(); break;
    case resultOf(method::ManualStopsDriveLow):
    case resultOf(method::ManualStopsDriveHigh):
    case resultOf(method::ManualStopsAcceptLow):
    case resultOf(method::ManualStopsAcceptHigh): PostToDialog(code - resultOf(0), 0); break;
    default: {
        if (!device::code::isFailure(code))
            break;
        bool isNumber = false;
        const int failed = text.trimmed().toInt(&isNumber, 10);
        if (!isNumber)
            break;
        if (isManualMethod(failed)) {
            PostToDialog(failed, code);
        } else if (failed == method::FindStops) {
            // The common reaction has brought the armed buttons back.
            m_status.RunEnded();
            if (code == device::code::FailedInDevice)
                m_status.Show(kCancelledByDevice);
            else if (code == device::code::Busy)
                m_status.Show(kBusy);
            else
                m_status.Clear();
        }
        break;
    }
    }
    m_status.Notified();
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
