#include "ArmedRunPage.h"

#include "device/DeviceNames.h"
#include "framework/FailureText.h"
#include "frameworkapi/IUIController.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/PostCall.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvx::views {

namespace {

// The Continue button is no device control; the command goes out under this id.
constexpr std::int32_t kRunControl = 20;

}  // namespace

CArmedRunPage::CArmedRunPage(int viewSettingResource, int method, const QString& name, Texts texts)
    : CResourcePage(viewSettingResource), m_status(name), m_method(method), m_texts(std::move(texts))
{
    SetRequiredMode(framework::ModeSetup);
}

QVBoxLayout* CArmedRunPage::MakeGroup(int groupItem, const QString& title, const QString& about)
{
    auto* group = ui::makeItem<QGroupBox>(Surface(), groupItem);
    group->setTitle(title);
    auto* layout = new QVBoxLayout(group);
    auto* text = new QLabel(about, group);
    text->setWordWrap(true);
    layout->addWidget(text);
    BodyLayout()->addWidget(group);
    return layout;
}

void CArmedRunPage::AddRunControls(QWidget* group, QVBoxLayout* layout, int firstButtonItem, int statusItem)
{
    m_start = ui::makeButton(group, firstButtonItem, QStringLiteral("&Start"));
    m_continue = ui::makeButton(group, firstButtonItem + 1, QStringLiteral("C&ontinue"));
    m_cancel = ui::makeButton(group, firstButtonItem + 2, QStringLiteral("&Cancel"));
    auto* row = new QHBoxLayout;
    for (QPushButton* made : {m_start, m_continue, m_cancel}) {
        row->addWidget(made);
        AddMethodWindow(made);
    }
    row->addStretch(1);
    layout->addLayout(row);

    auto* status = ui::makeItem<QLabel>(group, statusItem);
    status->setWordWrap(true);
    status->setMinimumHeight(3 * status->fontMetrics().height());
    status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(status);
    m_status.Attach(status);

    connect(m_start, &QPushButton::clicked, this, [this] { ui::runGuarded("Start", [this] { Arm(); }); });
    connect(m_continue, &QPushButton::clicked, this, [this] { ui::runGuarded("Continue", [this] { Run(); }); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { ui::runGuarded("Cancel", [this] { Cancel(); }); });
}

void CArmedRunPage::Arm()
{
    m_status.Show(m_texts.armed);
    RecordButtons();
    ApplyButtons((EnableMask() & ~StartBit) | ContinueBit | CancelBit, true);
}

void CArmedRunPage::Run()
{
    // Only Cancel while it runs; the mask keeps the armed set, which a failure brings back.
    if (!ReadyToRun() || !StartOperation(kRunControl, m_method, {}, CancelBit))
        return;
    m_status.Show(m_texts.running);
    m_status.RunStarted();
}

void CArmedRunPage::Cancel()
{
    const bool running = Controller() && Controller()->IsOperationRunning();
    // With nothing running this comes back as 523 at once and sends nothing.
    CancelOperation(m_texts.cancelling);
    if (running)
        m_status.Show(m_texts.cancelling);
}

void CArmedRunPage::BackToIdle()
{
    ApplyButtons((EnableMask() & ~(ContinueBit | CancelBit)) | StartBit, true);
}

bool CArmedRunPage::IsOwnMethod(const QString& text) const
{
    return text.trimmed() == device::method::tagOf(m_method);
}

void CArmedRunPage::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    if (code == device::code::resultOf(m_method)) {
        m_status.RunEnded();
        m_status.Show(m_texts.completed);
        BackToIdle();
    } else if (code == device::code::Cancelled) {
        m_status.RunEnded();
        m_status.Clear();
        BackToIdle();
    } else if (code == device::code::StatusChanged) {
        m_status.Clear();
    } else if (device::code::isFailure(code)) {
        OnFailure(code, text);
    } else {
        OnOtherCode(code);
    }
    m_status.Notified();
}

void CArmedRunPage::OnFailure(std::int32_t code, const QString& text)
{
    if (!IsOwnMethod(text))
        return;
    // The common reaction has brought the armed buttons back.
    m_status.RunEnded();
    if (code == device::code::FailedInDevice)
        m_status.Show(m_texts.cancelledByDevice);
    else
        m_status.Show(framework::failureText(code));  // busy, or nothing
}

}  // namespace orvx::views
