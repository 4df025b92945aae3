#include "SetupWizardDlg.h"

#include "device/DeviceNames.h"
#include "framework/FailureText.h"
#include "frameworkapi/IUIController.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/PostCall.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <iterator>
#include <tuple>

namespace orvx::views {

namespace method = device::method;
using device::code::resultOf;

// One step of the run: what the status line says while it runs, when it is skipped, when it is
// done and when the device cancelled it (null: the step has no text of its own for that).
struct CSetupWizardDlg::Step {
    int number;
    const char* name;
    int method;
    const char* progress;
    const char* skipPrompt;
    const char* completed;
    const char* cancelledByDevice;
};

namespace {

using Step = CSetupWizardDlg::Step;

constexpr Step kSteps[] = {
    {1, "write parameters", method::WriteParameters, "Writing parameters...", "Press Continue to run FindStops.",
     "Write Parameters completed.\nPress Continue to run FindStops.", nullptr},
    {2, "find stops", method::FindStops, "FindStops is running...", "Press Continue to run Autotune.",
     "FindStops completed.\nPress Continue to run Autotune.",
     "FindStops canceled by device!\nPress Continue to run Autotune."},
    {3, "autotune", method::Autotune, "Autotune is running...", "Press Continue to Reset.",
     "Autotune completed.\nPress Continue to run Reset.", "Autotune canceled by device!\nPress Continue to Reset."},
    {4, "reset", method::Reset, "Resetting...", "", "Reset completed.", nullptr},
};
constexpr int kStepCount = static_cast<int>(std::size(kSteps));

constexpr const char* kStartPrompt =
    "Press Continue to write Air Action, Tag, Descriptor, Message to device,\nelse press Skip.";
constexpr const char* kCancelling = "Operation Canceling...";

// The steps are no device controls; their commands go out under this control id.
constexpr std::int32_t kStepControl = 14;

constexpr int kStatusItem = 247;
constexpr int kGroupItem = 231;

using framework::PageField;
using enum framework::FieldKind;
constexpr PageField kIdentity[] = {
    {.controlId = 10, .kind = Choice, .item = 213, .caption = "Air Action"},
    {.controlId = 11, .kind = Text, .item = 208, .caption = "Tag"},
    {.controlId = 12, .kind = Text, .item = 209, .caption = "Descriptor"},
    {.controlId = 13, .kind = Text, .item = 210, .caption = "Message"},
};

const Step* stepWithResult(std::int32_t code)
{
    for (const Step& step : kSteps)
        if (resultOf(step.method) == code)
            return &step;
    return nullptr;
}

const Step* stepWithMethod(const QString& text)
{
    for (const Step& step : kSteps)
        if (text.trimmed() == method::tagOf(step.method))
            return &step;
    return nullptr;
}

QString elapsedText(std::int64_t milliseconds)
{
    const std::int64_t seconds = milliseconds < 0 ? 0 : milliseconds / 1000;
    if (seconds < 60)
        return QStringLiteral("%1 s").arg(seconds);
    return QStringLiteral("%1 min %2 s").arg(seconds / 60).arg(seconds % 60);
}

QPushButton* wizardButton(QWidget* parent, int item, const char* text, bool enabled)
{
    auto* button = ui::makeButton(parent, item, QString::fromLatin1(text));
    button->setEnabled(enabled);
    return button;
}

}  // namespace

CSetupWizardDlg::CSetupWizardDlg() : CResourcePage(222)
{
    SetRequiredMode(framework::ModeSetup);
    fill();
}

void CSetupWizardDlg::InitDialog()
{
    auto* group = ui::makeItem<QGroupBox>(Surface(), kGroupItem);
    group->setTitle(QStringLiteral("Setup Wizard"));
    auto* column = new QVBoxLayout(group);

    auto* identity = new QGridLayout;
    Fields().AddRows(identity, group, kIdentity);
    identity->setColumnStretch(3, 1);
    column->addLayout(identity);

    m_status = ui::makeItem<QLabel>(group, kStatusItem);
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_status->setMinimumHeight(m_status->fontMetrics().lineSpacing() * 3);
    m_status->setFrameShape(QFrame::StyledPanel);
    column->addWidget(m_status);

    // Continue, Skip and Cancel wait for Start.
    m_start = wizardButton(group, 214, "Start", true);
    m_continue = wizardButton(group, 215, "Continue", false);
    m_skip = wizardButton(group, 216, "Skip", false);
    m_cancel = wizardButton(group, 217, "Cancel", false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (const auto& [button, handler, where] : {std::tuple{m_start, &CSetupWizardDlg::start, "wizard Start"},
                                                 std::tuple{m_continue, &CSetupWizardDlg::runStep, "wizard Continue"},
                                                 std::tuple{m_skip, &CSetupWizardDlg::skipStep, "wizard Skip"},
                                                 std::tuple{m_cancel, &CSetupWizardDlg::cancel, "wizard Cancel"}}) {
        buttons->addWidget(button);
        AddMethodWindow(button);
        connect(button, &QPushButton::clicked, this,
                [this, h = handler, w = where] { ui::runGuarded(w, [this, h] { (this->*h)(); }); });
    }
    column->addLayout(buttons);

    BodyLayout()->addWidget(group);
    BodyLayout()->addStretch(1);
    SetEnableMask(kIdle);
}

void CSetupWizardDlg::start()
{
    showLine(QString::fromLatin1(kStartPrompt));
    RecordButtons();
    ApplyButtons((EnableMask() & ~StartButton) | ContinueButton | SkipButton | CancelButton, true);
}

void CSetupWizardDlg::runStep()
{
    if (m_steps.empty())
        return;
    const Step& step = *m_steps.back();
    // Sent first; a step the device did not take leaves the page as it was. While it runs only
    // Cancel, and only if it was there before and the step can be cancelled; the recorded set
    // stays for the result.
    const device::Method* started = device::findMethod(step.method);
    if (!StartOperation(kStepControl, step.method, {}, started && started->cancellable ? CancelButton : 0))
        return;
    m_stepsBeforeRun = m_steps;
    m_running = &step;
    m_runningSince = ui::steadyClock().milliseconds();
    m_progress = QString::fromLatin1(step.progress);
    showProgress();
    popStep();
}

void CSetupWizardDlg::skipStep()
{
    if (m_steps.empty())
        return;
    showLine(QString::fromLatin1(m_steps.back()->skipPrompt));
    m_steps.pop_back();
    if (m_steps.empty())
        returnToIdle();
}

void CSetupWizardDlg::cancel()
{
    framework::IUIController* controller = Controller();
    const bool running = controller && controller->IsOperationRunning();
    // With nothing running this is a cancel acknowledged at once, and nothing is sent.
    if (running && !MayOperate())
        return;
    CancelOperation(QString::fromLatin1(kCancelling));
    if (running) {
        m_progress = QString::fromLatin1(kCancelling);
        showProgress();
    }
}

void CSetupWizardDlg::fill()
{
    m_steps.clear();
    for (auto step = std::rbegin(kSteps); step != std::rend(kSteps); ++step)
        m_steps.push_back(&*step);
}

void CSetupWizardDlg::popStep()
{
    m_steps.pop_back();
    if (m_steps.empty())
        fill();
}

void CSetupWizardDlg::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    if (const Step* step = stepWithResult(code)) {
        finishStep(*step);
        return;
    }
    if (code == device::code::Cancelled) {
        endRunning();
        showLine({});
        returnToIdle();
        return;
    }
    if (device::code::isFailure(code)) {
        const Step* named = stepWithMethod(text);
        const bool ranNamed = m_running && m_running == named;
        // The device did not take the step: Continue offers it again.
        if (ranNamed && code == device::code::Busy)
            m_steps = m_stepsBeforeRun;
        endRunning();
        if (code == device::code::Busy)
            showLine(framework::failureText(code));
        else if (code != device::code::FailedInDevice)
            showLine({});
        else if (named && named->cancelledByDevice)
            showLine(QString::fromLatin1(named->cancelledByDevice));
        else if (ranNamed)
            showLine({});  // the progress of a step that ended must not stay
        return;
    }
    // The status changed: the line is cleared; a running step keeps its step and time.
    if (code == device::code::StatusChanged)
        m_progress.clear();
    // Whatever the device says while a step runs moves its clock on.
    if (m_running || code == device::code::StatusChanged)
        showProgress();
}

void CSetupWizardDlg::finishStep(const Step& step)
{
    endRunning();
    showLine(QString::fromLatin1(step.completed));
    if (step.method == method::WriteParameters || step.method == method::Reset)
        RefreshControls(-1);  // the device holds what was written, or its defaults
    if (step.number == kStepCount)
        ApplyButtons(kIdle, true);
    else
        ApplyButtons(EnableMask(), true);
}

void CSetupWizardDlg::returnToIdle()
{
    ApplyButtons(kIdle, true);
    fill();
}

void CSetupWizardDlg::endRunning()
{
    m_running = nullptr;
    m_stepsBeforeRun.clear();
}

void CSetupWizardDlg::showLine(const QString& text)
{
    m_progress.clear();
    m_status->setText(text);
}

void CSetupWizardDlg::showProgress()
{
    QString text = m_progress;
    if (m_running)
        text += QLatin1String(text.isEmpty() ? "" : "\n") +
                QStringLiteral("Step %1 of %2, %3: %4")
                    .arg(m_running->number)
                    .arg(kStepCount)
                    .arg(QLatin1String(m_running->name))
                    .arg(elapsedText(ui::steadyClock().milliseconds() - m_runningSince));
    m_status->setText(text);
}

}  // namespace orvx::views
