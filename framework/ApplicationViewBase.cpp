#include "ApplicationViewBase.h"

#include "FailureText.h"
#include "PageFields.h"
#include "PageHeader.h"
#include "TooltipRelay.h"
#include "WriteRefusal.h"
#include "controls/Conversions.h"
#include "controls/IFdtControl.h"
#include "controls/UIEventsImpl.h"
#include "device/DeviceNames.h"
#include "frameworkapi/IStatusArea.h"
#include "frameworkapi/IUIController.h"
#include "frameworkapi/Refusal.h"
#include "platform/com/Variant.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/DialogService.h"
#include "platform/xml/XmlDocument.h"

#include <QDebug>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStringList>
#include <QVBoxLayout>

#include <limits>

namespace orvx::framework {

namespace {

const QString kOperationRunning = QStringLiteral("Another device operation is running; wait for it to end.");

}  // namespace

CApplicationViewBase::CApplicationViewBase(QWidget* parent) : QWidget(parent)
{
    auto* pageLayout = new QVBoxLayout(this);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setWidgetResizable(true);
    pageLayout->addWidget(m_scrollArea);

    m_surface = new QWidget;
    m_scrollArea->setWidget(m_surface);
    BuildHeader();

    m_toolTips = new CToolTipHolder(this);
    m_buttons = std::make_unique<COperationButtons>(this, m_modeButton, [this] {
        COperationButtons::Permission now;
        now.mayOperate = MayOperate();
        now.operationRunning = m_controller && m_controller->IsOperationRunning();
        now.ownOperation = now.operationRunning && m_controller->GetOperationOwner() == m_viewId;
        return now;
    });
    m_access = std::make_unique<CPageAccess>(*this, *m_buttons, m_informationLabel);
}

CApplicationViewBase::~CApplicationViewBase()
{
    CTooltipRelay::instance().Unregister(m_toolTips);
}

void CApplicationViewBase::BuildHeader()
{
    auto* surfaceLayout = new QVBoxLayout(m_surface);
    m_headerFields = std::make_unique<CPageFields>(*this);
    m_modeButton = CPageHeader::BuildWidgets(*m_headerFields, m_surface, surfaceLayout);

    auto* information = new QLabel(m_surface);
    information->setObjectName(ui::itemName(kInformationItem));
    information->setWordWrap(true);
    information->hide();
    surfaceLayout->addWidget(information);
    m_informationLabel = information;

    auto* rule = new QFrame(m_surface);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    surfaceLayout->addWidget(rule);

    m_bodyLayout = new QVBoxLayout;
    surfaceLayout->addLayout(m_bodyLayout);
    surfaceLayout->addStretch(1);
}

IApplicationView* CApplicationViewBase::Create(const Maker& make, std::int32_t viewId, IUIController* controller,
                                               ITextResource* texts)
{
    if (!make || !controller || !texts)
        return nullptr;
    try {
        std::unique_ptr<CApplicationViewBase> page = make();
        if (!page)
            return nullptr;
        page->SetController(controller);
        page->SetTextResource(texts);
        page->SetViewId(viewId);
        page->setParent(controller->GetMainWindow());
        page->InitDialog();
        page->LoadViewSetting();
        if (!controller->RegisterView(viewId, page.get()))
            return nullptr;  // the id has a page already; this one goes
        return page.release();
    } catch (...) {
        // A page that cannot be made does not exist; the controller shows nothing new.
        return nullptr;
    }
}

QWidget* CApplicationViewBase::GetWindow() const
{
    return const_cast<CApplicationViewBase*>(this);
}

void CApplicationViewBase::Activate()
{
    if (m_active)
        return;
    UpdateAccess(true);
    m_active = true;
    CTooltipRelay::instance().Register(m_toolTips, m_surface);
}

void CApplicationViewBase::Deactivate()
{
    if (!m_active)
        return;
    CTooltipRelay::instance().Unregister(m_toolTips);
    ShowStatus(QLatin1String(""));
    m_active = false;
}

void CApplicationViewBase::ApplyViewSetting(const QString& viewSetting)
{
    if (const auto document = xml::XmlDocument::parse(viewSetting))
        ApplyViewSettingDocument(*document);
}

void CApplicationViewBase::ApplyViewSettingDocument(const xml::XmlDocument& viewSetting)
{
    for (const xml::XmlNode& node : viewSetting.selectNodes(QStringLiteral("//ControlData"))) {
        std::int32_t id = 0;
        try {
            const char* controlId = node.attributeUtf8("controlId");
            id = controls::CConversions::to_long(QUtf8StringView(controlId ? controlId : "0"));
        } catch (const std::exception&) {
            continue;  // an id that is no number names no control
        }
        if (controls::IFdtControl* control = Control(id))
            control->Configure(node);
    }
}

void CApplicationViewBase::SetToolTip(QWidget* window, const QString& text)
{
    m_toolTips->SetTip(window, text);
}

void CApplicationViewBase::RemoveToolTip(QWidget* window)
{
    m_toolTips->RemoveTip(window);
}

void CApplicationViewBase::OnControlValidated(controls::IFdtControl* control, bool valid)
{
    if (!control)
        return;
    const std::int32_t id = control->GetControlId();
    if (Control(id) != control)
        return;  // not one of this page's controls
    const bool counted = m_invalid.contains(id);
    if (valid == !counted)
        return;
    // The counter is told first: when it cannot be told, the set stays as the device counts it.
    if (m_controller)
        m_controller->SetParameterValue(device::tag::InvalidEntries, com::Variant::int32(valid ? -1 : 1));
    if (valid)
        m_invalid.erase(id);
    else
        m_invalid.emplace(id, control);
}

QStringList CApplicationViewBase::InvalidTexts(std::int32_t first, std::int32_t last) const
{
    QStringList texts;
    for (auto it = m_invalid.lower_bound(first); it != m_invalid.end() && it->first <= last; ++it) {
        const QString text = it->second->GetLabelledMessage();
        if (!text.isEmpty())
            texts.append(text);
    }
    return texts;
}

void CApplicationViewBase::ShowErrors(const QStringList& texts)
{
    // The texts are taken before the first box: while a box is open, focus changes may
    // validate controls and change the invalid set.
    for (const QString& text : texts)
        ui::showMessage(this, refusalCaption(), text, ui::MessageButtons::Ok, ui::MessageIcon::Error);
}

void CApplicationViewBase::ShowValidationErrors(std::int32_t firstControlId, std::int32_t lastControlId)
{
    if (m_invalid.empty() || !m_controller || !m_controller->IsPrivateDialogEnabled())
        return;
    ShowErrors(InvalidTexts(firstControlId, lastControlId));
}

bool CApplicationViewBase::CheckValid(std::int32_t controlId)
{
    if (m_invalid.empty())
        return true;
    if (controlId != -1 && !m_invalid.contains(controlId))
        return true;
    if (m_controller && m_controller->IsPrivateDialogEnabled()) {
        if (controlId == -1)
            ShowErrors(
                InvalidTexts(std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
        else
            ShowErrors(InvalidTexts(controlId, controlId));
    }
    return false;
}

void CApplicationViewBase::OnUpdate(std::int32_t code, const QString& text)
{
    using namespace device::code;
    switch (code) {
    case ModeChanged:
        RefreshControls(5);
        EnableModeButton();
        ReevaluateMode();
        return;
    case DataReloaded:
    case DataRefreshed: RefreshControls(-1); return;
    case NewValues: RefreshControls(5); return;
    case IdentityChanged:
        RefreshControlRange(3, 7);
        UpdateAccess(true);
        return;
    case StatusChanged:
        RefreshControls(5);
        UpdateAccess(true);
        return;
    default: break;
    }
    if (!isFailure(code))
        return;
    if (const QString shown = failureText(code); !shown.isNull())
        ShowStatus(shown);
    // A failure carries the method number; an empty value counts as method 0, the mode change.
    // A value that is no number is taken as some other method.
    bool isNumber = true;
    const QString value = text.trimmed();
    const int method = value.isEmpty() ? device::method::ModeChange : value.toInt(&isNumber, 10);
    if (isNumber && method == device::method::ModeChange) {
        EnableModeButton();
        ReevaluateMode();
    } else if (m_controller && m_controller->IsDeviceConnected()) {
        m_buttons->Reapply();
    }
}

void CApplicationViewBase::RefreshControlRange(std::int32_t firstControlId, std::int32_t lastControlId)
{
    for (auto it = m_controls.lower_bound(firstControlId); it != m_controls.end() && it->first <= lastControlId; ++it)
        it->second->Refresh();
}

void CApplicationViewBase::RefreshByTag(const QString& tag)
{
    for (const auto& [id, control] : m_controls) {
        if (control->GetTag() == tag) {
            control->Refresh();
            return;
        }
    }
}

void CApplicationViewBase::RefreshControls(std::int32_t controlId)
{
    if (controlId != -1) {
        if (controls::IFdtControl* control = Control(controlId))
            control->Refresh();
        return;
    }
    // An invalid entry stays on screen until the user corrects it.
    for (const auto& [id, control] : m_controls) {
        if (!m_invalid.contains(id))
            control->Refresh();
    }
}

void CApplicationViewBase::RefreshWriteAccess()
{
    // The restriction is lifted by UpdateAccess, which brings the operation buttons back as
    // the page's gating allows.
    if (!MayOperate())
        m_access->SetReadOnly(true);
    // A button control knows the user's rights only; whether an operation button is usable
    // (gated, locked by a running operation) is the operation buttons' rule.
    const QList<bool> shown = m_buttons->Shown();
    for (const auto& [id, control] : m_controls)
        control->ApplyEnabled();
    m_buttons->Restore(shown);
}

void CApplicationViewBase::CreateHeaderControls()
{
    CPageHeader::CreateControls(*this);
}

void CApplicationViewBase::LoadViewSetting()
{
    CreateHeaderControls();
}

void CApplicationViewBase::SetScrollSize(QSize size)
{
    m_scrollArea->horizontalScrollBar()->setValue(0);
    m_scrollArea->verticalScrollBar()->setValue(0);
    m_surface->setMinimumSize(size);
}

void CApplicationViewBase::UpdateAccess(bool force)
{
    if (!force || !m_controller)
        return;
    const bool otherOperation = m_controller->IsOperationRunning() && m_controller->GetOperationOwner() != m_viewId;
    m_access->UpdateAccess(m_controller->GetDeviceState(), otherOperation);
}

void CApplicationViewBase::ReevaluateMode()
{
    if (m_controller)
        m_access->ReevaluateMode(m_controller->GetDeviceMode());
}

void CApplicationViewBase::EnableControlsForMode(bool enable)
{
    for (const auto& [id, control] : m_controls)
        control->EnableForMode(enable);
}

bool CApplicationViewBase::RegisterControl(std::unique_ptr<controls::IFdtControl> control)
{
    if (!control)
        return false;
    const std::int32_t id = control->GetControlId();
    if (m_controls.contains(id))
        return false;
    control->SetViewId(m_viewId);
    m_controls.emplace(id, std::move(control));
    return true;
}

controls::IFdtControl* CApplicationViewBase::Control(std::int32_t controlId) const
{
    const auto it = m_controls.find(controlId);
    return it == m_controls.end() ? nullptr : it->second.get();
}

void CApplicationViewBase::ForEachControl(const std::function<void(controls::IFdtControl&)>& visit) const
{
    for (const auto& [id, control] : m_controls)
        visit(*control);
}

bool CApplicationViewBase::MayOperate() const
{
    return m_controller && m_controller->IsWritable();
}

bool CApplicationViewBase::MayStartOperation()
{
    if (!m_controller)
        return false;
    if (!MayOperate()) {
        ShowFailure(writeRefusedText());
        return false;
    }
    if (m_controller->IsOperationRunning()) {
        ShowFailure(kOperationRunning);
        return false;
    }
    return true;
}

bool CApplicationViewBase::StartOperation(std::int32_t buttonControlId, int method, const QString& progressText,
                                          std::uint8_t usableWhileRunning)
{
    if (!MayStartOperation())
        return false;
    const controls::IFdtControl* button = Control(buttonControlId);
    const QString tag = button && !button->GetTag().isEmpty() ? button->GetTag() : device::method::tagOf(method);
    // Sent first: only a command the device took is recorded as running.
    controls::CCommandEventImpl command(m_viewId, buttonControlId, tag);
    QString failure;
    try {
        if (!m_controller->HandleEvent(command))
            failure = QStringLiteral("no device link");
        else if (command.IsError())
            failure = command.GetErrorText();
    } catch (const std::exception& error) {
        failure = QString::fromLocal8Bit(error.what());
    }
    if (!failure.isNull()) {
        ShowFailure(QStringLiteral("The device operation could not be started: %1").arg(failure));
        return false;
    }
    m_controller->SetOperation(true, m_viewId, device::code::resultOf(method));
    RecordButtons();
    LockButtons(usableWhileRunning);
    if (!progressText.isEmpty())
        ShowStatus(progressText);
    return true;
}

void CApplicationViewBase::ShowStatus(const QString& text)
{
    if (IStatusArea* status = m_controller ? m_controller->GetStatusArea() : nullptr)
        status->SetMessage(text);
}

void CApplicationViewBase::ShowFailure(const QString& text)
{
    ShowStatus(text);
    qWarning().noquote() << text;
}

void CApplicationViewBase::Refuse(const QString& text)
{
    if (m_controller)
        refuse(*m_controller, this, text);
    else
        ShowFailure(text);
}

bool CApplicationViewBase::EntriesValid(std::int32_t firstControlId, std::int32_t lastControlId)
{
    const auto invalid = m_invalid.lower_bound(firstControlId);
    if (invalid == m_invalid.end() || invalid->first > lastControlId)
        return true;
    const QStringList texts = InvalidTexts(firstControlId, lastControlId);
    ShowFailure(texts.isEmpty() ? QStringLiteral("An entry is not valid.") : texts.first());
    if (m_controller && m_controller->IsPrivateDialogEnabled())
        ShowErrors(texts);
    return false;
}

void CApplicationViewBase::CancelOperation(const QString& cancellingText)
{
    if (!m_controller || !m_controller->IsOperationRunning()) {
        OnUpdate(device::code::Cancelled, QString());  // as an acknowledged cancel; nothing reaches the device
        return;
    }
    m_controller->SetParameterValue(device::method::tagOf(device::method::Cancel), com::Variant());
    ShowStatus(cancellingText);
}

}  // namespace orvx::framework
