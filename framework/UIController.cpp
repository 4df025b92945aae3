#include "UIController.h"

#include "FrictionLimits.h"
#include "IInternalUpdateUI.h"
#include "IKeyboardNavigation.h"
#include "IMainSplitter.h"
#include "IUIEditModel.h"
#include "IWindowVisibility.h"
#include "LayoutDescriptionParser.h"
#include "PageTable.h"
#include "WriteRefusal.h"
#include "controls/UIEventsImpl.h"
#include "device/DeviceNames.h"
#include "frameworkapi/IApplicationView.h"
#include "frameworkapi/IStatusArea.h"
#include "frameworkapi/ParameterRead.h"
#include "platform/com/ComError.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/PostCall.h"
#include "platform/xml/XmlDocument.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QWidget>

namespace orvx::framework {

namespace {

constexpr int kTreeSlot = 0;
constexpr int kPageSlot = 1;

const QString kObserver = QStringLiteral("observer");

}  // namespace

CUIController::CUIController() = default;

CUIController::~CUIController()
{
    // The areas and the splitter may be gone by now; the pages must not reach them.
    m_keyboard = nullptr;
    m_splitter = nullptr;
    SetActionArea(nullptr, nullptr, nullptr);
    SetIdentificationArea(nullptr, nullptr);
    SetStatusArea(nullptr, nullptr);
    SetToolbarArea(nullptr, nullptr, nullptr);
    m_navigationArea = nullptr;
    m_editModel = nullptr;
    DestroyViews();
}

void CUIController::ShowRefusal() const
{
    if (m_statusArea)
        m_statusArea->SetMessage(writeRefusedText());
}

bool CUIController::HandleEvent(controls::CUIEventBase& event)
{
    if (!m_editModel)
        return false;
    // The last line behind every disabled widget: nothing a read-only user does reaches the device.
    if (controls::ChangesDevice(event.GetType()) && !IsWritable()) {
        event.SetError(writeRefusedText());
        ShowRefusal();
        return true;
    }
    return m_editModel->HandleEvent(event);
}

IApplicationView* CUIController::GetView(std::int32_t viewId) const
{
    const auto it = m_pages.find(viewId);
    return it == m_pages.end() ? nullptr : it->second.view.get();
}

void CUIController::RefreshControl(std::int32_t viewId, const QString& tag)
{
    if (IApplicationView* page = GetView(viewId))
        page->RefreshByTag(tag);
}

void CUIController::RefreshPage(std::int32_t viewId, std::int32_t controlId)
{
    if (viewId != -1) {
        if (IApplicationView* page = GetView(viewId))
            page->RefreshControls(controlId);
        return;
    }
    for (auto& [id, page] : m_pages)
        page.view->RefreshControls(controlId);
}

void CUIController::ValidatePages(std::int32_t controlId)
{
    for (auto& [id, page] : m_pages)
        page.view->CheckValid(controlId);
    if (frictionLimitsValid() || !IsPrivateDialogEnabled())
        return;
    if (IApplicationView* active = GetView(m_activeViewId)) {
        ui::showMessage(active->GetWindow(), QStringLiteral("Orvx ESD HART"),
                        QStringLiteral("Friction Low Limit must be less than Friction High Limit."),
                        ui::MessageButtons::Ok, ui::MessageIcon::Error);
    }
}

void CUIController::NotifyDataReloaded()
{
    for (auto& [id, page] : m_pages)
        page.view->ClearInvalid();
}

void CUIController::ActivateView(std::int32_t viewId)
{
    if (!GetMainWindow())
        return;
    IApplicationView* page = GetView(viewId);
    if (!page) {
        controls::CViewRequestEventImpl request(viewId);
        HandleEvent(request);
        page = GetView(viewId);
        if (!page) {
            // A view of the tree whose page cannot be made; an id of no view changes nothing.
            if (FindPageInfo(viewId))
                showUnavailable(viewId);
            return;
        }
    }

    QWidget* window = page->GetWindow();
    if (!window)
        return;
    hideShownPage();
    m_splitter->SetPageWindow(window);
    m_splitter->Relayout();
    window->show();
    if (m_keyboard)
        m_keyboard->RegisterWindow(kPageSlot, window);
    page->Activate();
    m_activeViewId = viewId;
    controls::CViewActivatedEventImpl activated(viewId);
    HandleEvent(activated);
}

void CUIController::hideShownPage()
{
    QWidget* shown = m_splitter ? m_splitter->GetPageWindow() : nullptr;
    if (!shown)
        return;
    for (auto& [id, other] : m_pages) {
        if (other.view->GetWindow() == shown) {
            other.view->Deactivate();
            break;
        }
    }
    shown->hide();
}

void CUIController::showUnavailable(std::int32_t viewId)
{
    hideShownPage();
    if (!m_unavailable) {
        auto* body = new QLabel(QStringLiteral("This page is not available."), GetMainWindow());
        body->setObjectName(QStringLiteral("pageNotAvailable"));
        body->setAlignment(Qt::AlignCenter);
        m_unavailable = body;
    }
    m_splitter->SetPageWindow(m_unavailable);
    m_splitter->Relayout();
    m_unavailable->show();
    if (m_keyboard)
        m_keyboard->UnregisterWindow(kPageSlot);
    m_activeViewId = viewId;
}

void CUIController::PrepareToClose()
{
    // One page's failure neither stops the others nor the closing.
    for (auto& [id, page] : m_pages)
        ui::runGuarded("closing a page", [&view = *page.view] { view.PrepareToClose(); });
}

void CUIController::ApplyPageSettings(std::int32_t viewId, const QString& viewSetting)
{
    if (IApplicationView* page = GetView(viewId))
        page->ApplyViewSetting(viewSetting);
}

void CUIController::LoadLayoutDescription(const QString& layout)
{
    if (layout.isEmpty() || !m_navigationArea)
        return;
    CLayoutDescriptionParser parser(GetMainWindow(), this, m_navigationArea, m_texts);
    parser.Load(layout);
}

bool CUIController::RegisterView(std::int32_t viewId, IApplicationView* view)
{
    if (!view || m_pages.count(viewId))
        return false;
    Page page;
    page.view.reset(view);
    page.window = view->GetWindow();
    page.windowIsView = dynamic_cast<QWidget*>(view) == view->GetWindow();
    m_pages.emplace(viewId, std::move(page));
    return true;
}

QWidget* CUIController::GetMainWindow() const
{
    return m_splitter ? m_splitter->GetWindow() : nullptr;
}

void CUIController::DestroyViews()
{
    if (m_keyboard)
        m_keyboard->UnregisterWindow(kPageSlot);
    if (m_splitter)
        m_splitter->SetPageWindow(nullptr);
    for (auto& [id, page] : m_pages) {
        if (page.window && page.view->IsActivated())
            page.view->Deactivate();
        if (page.windowIsView) {
            // The page is its own window: when a parent window already destroyed it, only
            // forget it.
            if (!page.window)
                (void)page.view.release();
            continue;
        }
        delete page.window.data();
    }
    m_pages.clear();
    m_activeViewId = -1;
}

void CUIController::postRelayout() const
{
    QWidget* main = GetMainWindow();
    QWidget* parent = main ? main->parentWidget() : nullptr;
    if (parent)
        QCoreApplication::postEvent(parent, new QEvent(QEvent::LayoutRequest));
}

void CUIController::HideActionArea(bool hide)
{
    if (m_actionVisibility) {
        if (QWidget* window = m_actionVisibility->GetAreaWindow())
            window->setVisible(!hide);
        m_actionVisibility->SetVisible(!hide);
    }
    postRelayout();
}

void CUIController::HideToolbarArea(bool hide)
{
    if (m_toolbarVisibility)
        m_toolbarVisibility->SetVisible(!hide);
    postRelayout();
}

void CUIController::SetNavigationHidden(bool hide)
{
    if (!m_editModel || !m_splitter)
        return;
    m_splitter->SetNavigationHidden(hide);
    m_splitter->Relayout();
}

bool CUIController::IsNavigationHidden() const
{
    return m_splitter && m_splitter->IsNavigationHidden();
}

bool CUIController::readFlag(QLatin1StringView tag)
{
    // The framework's own flags never fail outwards: a flag that cannot be read counts as true.
    return readParameter(this, tag, &com::Variant::toBool).value_or(true);
}

bool CUIController::IsPrivateDialogEnabled()
{
    return readFlag(device::tag::PrivateDialogs);
}

bool CUIController::IsDeviceConnected()
{
    return readFlag(device::tag::Connected);
}

void CUIController::SetSplitterFraction(int divisor)
{
    QWidget* main = GetMainWindow();
    // A divisor of 0 has no position; it changes nothing rather than dividing by zero.
    if (!main || divisor <= 0)
        return;
    m_splitterPosition = main->width() / divisor;
    if (m_splitter)
        m_splitter->SetPosition(m_splitterPosition);
}

void CUIController::Reserved(std::int32_t first, const QString& second)
{
    if (m_editModel)
        m_editModel->Reserved(first, second);
}

void CUIController::SetUserLevel(const QString& level)
{
    // An absent level and an empty one are different levels.
    if (level == m_userLevel && level.isNull() == m_userLevel.isNull())
        return;
    const bool before = IsWritable();
    m_userLevel = level;
    if (IsWritable() != before)
        ApplyWritability();
}

bool CUIController::IsWritable() const
{
    return m_userLevel != kObserver && m_registered;
}

void CUIController::ApplyWritability()
{
    for (auto& [id, page] : m_pages)
        page.view->RefreshWriteAccess();
    if (IApplicationView* active = GetView(m_activeViewId))
        active->UpdateAccess(true);
}

com::Variant CUIController::GetParameterValue(const QString& tag)
{
    return m_editModel ? m_editModel->GetValue(tag) : com::Variant();
}

void CUIController::SetParameterValue(const QString& tag, const com::Variant& value)
{
    if (!m_editModel)
        return;
    if (!IsWritable()) {
        ShowRefusal();
        throw com::ComError(com::Status::AccessDenied, writeRefusedText().toStdString());
    }
    m_editModel->SetValue(tag, value);
}

void CUIController::SetOperation(bool running, std::int32_t ownerViewId, std::int32_t expectedCode)
{
    m_operationRunning = running;
    m_operationOwner = ownerViewId;
    m_operationCode = expectedCode;
}

std::uint32_t CUIController::GetDeviceMode()
{
    if (!IsDeviceConnected())
        return ModeDisconnected;
    // A mode that cannot be read is no mode at all: taken for Setup it would open the pages that
    // stroke the valve.
    const auto state = readParameter(this, device::tag::DeviceState, &com::Variant::toUInt32);
    if (!state)
        return ModeUndetermined;
    if (*state == 0 || *state == 64) {
        const auto mode = readParameter(this, device::tag::Mode, &com::Variant::toUInt32);
        if (!mode)
            return ModeUndetermined;
        switch (*mode) {
        case 1: return ModeManual;
        case 3: return ModeNormal;
        default: return ModeSetup;
        }
    }
    switch (*state) {
    case 1: return ModeLowPower;
    case 2: return ModeFailSafe;
    case 4: return ModeFatal;
    case 128: return ModeMarginalPower;
    default: return ModeSetup;
    }
}

QString CUIController::GetModeText()
{
    const std::uint32_t mode = GetDeviceMode();
    QString text;
    switch (mode) {
    case ModeManual: text = QStringLiteral("Manual"); break;
    case ModeNormal: text = QStringLiteral("Normal"); break;
    case ModeLowPower: text = QStringLiteral("Low Power"); break;
    case ModeFailSafe: text = QStringLiteral("FailSafe"); break;
    case ModeFatal: text = QStringLiteral("Fatal"); break;
    case ModeFailHigh: text = QStringLiteral("FailHigh"); break;
    case ModeMarginalPower: text = QStringLiteral("MarginalPower"); break;
    case ModeDisconnected: return QStringLiteral("Disconnected");
    case ModeUndetermined: return QStringLiteral("Unknown");
    default: text = QStringLiteral("Setup"); break;
    }
    if (readParameter(this, device::tag::DeviceState, &com::Variant::toUInt32) == 64u)
        text += QStringLiteral(" / FailHigh");
    return text;
}

void CUIController::SetActionArea(IActionArea* area, IInternalUpdateUI* updates, IWindowVisibility* visibility)
{
    m_actionArea = area;
    m_actionUpdates = updates;
    m_actionVisibility = visibility;
}

void CUIController::SetIdentificationArea(IIdentificationArea* area, IInternalUpdateUI* updates)
{
    m_identificationArea = area;
    m_identificationUpdates = updates;
}

void CUIController::SetStatusArea(IStatusArea* area, IInternalUpdateUI* updates)
{
    m_statusArea = area;
    m_statusUpdates = updates;
}

void CUIController::SetToolbarArea(IToolbarArea* area, IInternalUpdateUI* updates, IWindowVisibility* visibility)
{
    m_toolbarArea = area;
    m_toolbarUpdates = updates;
    m_toolbarVisibility = visibility;
}

void CUIController::OnDtmUpdate(std::int32_t code, const QString& text)
{
    if (code == device::code::PstScheduleNotDownloaded) {
        ui::showMessage(nullptr, QStringLiteral("Orvx ESD"), QStringLiteral("PST Schedule will not be download."));
        return;
    }
    if (code == device::code::StateDocument) {
        if (const auto document = xml::XmlDocument::parse(text)) {
            const QString privateDialogs =
                document->textAt(QStringLiteral("//@isPrivateDialogEnabled")).value_or(QString());
            if (!privateDialogs.isEmpty())
                m_privateDialogFlag = privateDialogs == QLatin1String("1");
            const QString level = document->textAt(QStringLiteral("//@userLevel")).value_or(QString());
            if (!level.isEmpty())
                SetUserLevel(level);
        }
    }

    // Taken before anyone runs: the edit model may end the operation on the way.
    const std::int32_t owner = GetOperationOwner();
    for (IInternalUpdateUI* receiver : {m_actionUpdates, static_cast<IInternalUpdateUI*>(m_editModel),
                                        m_identificationUpdates, m_statusUpdates, m_toolbarUpdates}) {
        if (receiver)
            receiver->OnUpdate(code, text);
    }
    const std::int32_t active = GetActiveViewId();
    if (owner == -1 || owner == active) {
        if (IApplicationView* page = GetView(active))
            page->OnUpdate(code, text);
    }
}

}  // namespace orvx::framework
