#include "AutotuneDlg.h"

#include "controls/DtmTextControl.h"
#include "device/DeviceNames.h"
#include "frameworkapi/IUIController.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/PostCall.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvx::views {

namespace {

namespace method = device::method;
using device::code::resultOf;
using framework::PageField;
using enum framework::FieldKind;

// The operation buttons' bits, in the order the page adds them after Apply Mode.
enum Button : std::uint8_t {
    ApplyModeBit = 1,
    StartBit = 2,
    ContinueBit = 4,
    CancelBit = 8,
};
constexpr std::uint8_t kIdle = ApplyModeBit | StartBit;

constexpr std::int32_t kAggressiveness = 10;
// The Continue button is no device control; the command goes out under this id.
constexpr std::int32_t kRunControl = 20;

enum Item {
    StartItem = 213,
    ContinueItem = 214,
    CancelItem = 215,
    StatusItem = 276,
    GroupItem = 322,
};

constexpr PageField kFields[] = {
    {.controlId = kAggressiveness, .kind = Text, .item = 287, .caption = "Aggressiveness (-9 to +9, 0:Natural)"},
};

const QString kCaption = QStringLiteral("Orvx ESD HART");
const QString kOutOfRange = QStringLiteral("Aggressiveness value must be within -9 and 9.");
const QString kArmed = QStringLiteral("Press Continue to run Autotune operation,\nelse press Cancel.");
const QString kRunning = QStringLiteral("Perform Autotune, please wait...");
const QString kCancelling = QStringLiteral("Autotune Canceling...");
const QString kCompleted = QStringLiteral("Autotune completed.");
const QString kCancelledByDevice = QStringLiteral("Autotune canceled by device!");
const QString kBusy = QStringLiteral("Device is busy, please wait a moment!");

QPushButton* makeButton(QWidget* parent, int item, const char* text)
{
    auto* button = ui::makeItem<QPushButton>(parent, item);
    button->setText(QString::fromLatin1(text));
    return button;
}

}  // namespace

CAutotuneDlg::CAutotuneDlg() : CResourcePage(231) {}

void CAutotuneDlg::InitDialog()
{
    auto* group = ui::makeItem<QGroupBox>(Surface(), GroupItem);
    group->setTitle(QStringLiteral("Autotune"));
    auto* layout = new QVBoxLayout(group);
    auto* about = new QLabel(QStringLiteral("The positioner strokes the valve, measures the assembly and sets its "
                                            "positioning parameters. The valve moves while it tunes."),
                             group);
    about->setWordWrap(true);
    layout->addWidget(about);

    auto* grid = new QGridLayout;
    Fields().AddRows(grid, group, kFields);
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);

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
    BodyLayout()->addWidget(group);

    SetToolTip(m_start, QStringLiteral("Prepare the autotune"));
    SetToolTip(m_continue, QStringLiteral("Run the autotune with the chosen aggressiveness: the valve moves"));
    SetToolTip(m_cancel, QStringLiteral("Stop the autotune"));
    connect(m_start, &QPushButton::clicked, this, [this] { ui::runGuarded("Start autotune", [this] { Arm(); }); });
    connect(m_continue, &QPushButton::clicked, this,
            [this] { ui::runGuarded("Continue autotune", [this] { Run(); }); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { ui::runGuarded("Cancel autotune", [this] { Cancel(); }); });

    for (QPushButton* button : {m_start, m_continue, m_cancel})
        AddMethodWindow(button);
    ApplyButtons(kIdle, true);
    SetRequiredMode(framework::ModeSetup);
}

void CAutotuneDlg::Arm()
{
    m_status.Show(kArmed);
    RecordButtons();
    ApplyButtons((EnableMask() & ~StartBit) | ContinueBit | CancelBit, true);
}

void CAutotuneDlg::Run()
{
    auto* aggressiveness = Fields().Get<controls::CDtmTextControl>(kAggressiveness);
    if (!aggressiveness)
        return;
    if (!aggressiveness->Validate()) {
        if (Controller() && Controller()->IsPrivateDialogEnabled())
            ui::showMessage(this, kCaption, kOutOfRange, ui::MessageButtons::Ok, ui::MessageIcon::Error);
        else
            m_status.Show(kOutOfRange);
        return;
    }
    // An entry not yet committed (Continue pressed from the keyboard) goes to the device first,
    // so that the run tunes with what the user sees.
    if (MayOperate())
        aggressiveness->Commit();
    if (!StartOperation(kRunControl, method::Autotune))
        return;
    // Only Cancel while it runs; the mask keeps the armed set, which a failure brings back.
    const std::uint8_t armed = EnableMask();
    ApplyButtons(CancelBit, true);
    SetEnableMask(armed);
    m_status.Show(kRunning);
    m_status.RunStarted();
}

void CAutotuneDlg::Cancel()
{
    const bool running = Controller() && Controller()->IsOperationRunning();
    // With nothing running this comes back as 523 at once and sends nothing.
    CancelOperation(kCancelling);
    if (running)
        m_status.Show(kCancelling);
}

void CAutotuneDlg::BackToIdle()
{
    ApplyButtons(kIdle, true);
}

void CAutotuneDlg::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    const bool ownMethod = text.trimmed() == method::tagOf(method::Autotune);
    switch (code) {
    case resultOf(method::Autotune):
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
    case device::code::FailedInDevice:
        // Another method's failure leaves the line as it is.
        if (ownMethod) {
            m_status.RunEnded();
            m_status.Show(kCancelledByDevice);
        }
        break;
    default:
        if (!device::code::isFailure(code))
            break;
        // The common reaction has brought the armed buttons back.
        if (ownMethod)
            m_status.RunEnded();
        if (code == device::code::Busy)
            m_status.Show(kBusy);
        else
            m_status.Clear();
        break;
    }
    m_status.Notified();
}

}  // namespace orvx::views
