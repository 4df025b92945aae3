#include "UIController.h"

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
#include "frameworkapi/Refusal.h"
#include "platform/com/ComError.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/PostCall.h"
#include "platform/xml/XmlDocument.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QWidget>

#include <utility>

namespace orvx::framework {

namespace {

constexpr int kTreeSlot = 0;
constexpr int kPageSlot = 1;

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
    return it == m_pages.end() || !it->second.window ? nullptr : it->second.view;
}

template <class Visit>
void CUIController::forEachPage(Visit visit)
{
    std::erase_if(m_pages, [](const auto& entry) { return !entry.second.window; });
    // A copy: what a page does may add pages to the table or take its window away.
    const auto pages = m_pages;
    for (const auto& [id, page] : pages)
        if (page.window)
            visit(*page.view);
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
    forEachPage([controlId](IApplicationView& page) { page.RefreshControls(controlId); });
}

void CUIController::ValidatePages(std::int32_t controlId)
{
    forEachPage([controlId](IApplicationView& page) { page.CheckValid(controlId); });
    if (m_frictionLimitsValid)
        return;
    if (IApplicationView* active = GetView(m_activeViewId))
        refuse(*this, active->GetWindow(), QStringLiteral("Friction Low Limit must be less than Friction High Limit."));
}

void CUIController::NotifyDataReloaded()
{
    m_frictionLimitsValid = true;
    forEachPage([](IApplicationView& page) { page.ClearInvalid(); });
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
    // The page takes its access and values before it shows, so it is laid out once, as it stands.
    page->Activate();
    m_activeViewId = viewId;
    controls::CViewActivatedEventImpl activated(viewId);
    HandleEvent(activated);
    m_splitter->Relayout();
    window->show();
    if (m_keyboard)
        m_keyboard->RegisterWindow(kPageSlot, window);
}

void CUIController::hideShownPage()
{
    QWidget* shown = m_splitter ? m_splitter->GetPageWindow() : nullptr;
    if (!shown)
        return;
    for (auto& [id, other] : m_pages) {
        if (other.window == shown) {
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
    forEachPage([](IApplicationView& page) { ui::runGuarded("closing a page", [&page] { page.PrepareToClose(); }); });
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
    QWidget* window = view ? view->GetWindow() : nullptr;
    if (!window || GetView(viewId))
        return false;
    m_pages[viewId] = Page{view, window};
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
    const auto pages = std::exchange(m_pages, {});
    m_activeViewId = -1;
    for (const auto& [id, page] : pages) {
        if (!page.window)
            continue;  // gone with a parent window already
        if (page.view->IsActivated())
            page.view->Deactivate();
        // The page goes with its window, which leaves its parent as it goes.
        delete page.window.data();
    }
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

bool CUIController::IsPrivateDialogEnabled()
{
    return m_state.PrivateDialogs();
}

DeviceState CUIController::GetDeviceState()
{
    DeviceState state = m_state.Current();
    state.writable = IsWritable();
    return state;
}

bool CUIController::IsDeviceConnected()
{
    return m_state.Current().connected;
}

std::uint32_t CUIController::GetDeviceMode()
{
    return m_state.Current().mode;
}

QString CUIController::GetModeText()
{
    return modeText(m_state.Current());
}

void CUIController::SetEditModel(IUIEditModel* model)
{
    m_editModel = model;
    m_state.SetLinked(model != nullptr);
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
    return userMayWrite(m_userLevel, m_registered);
}

void CUIController::ApplyWritability()
{
    forEachPage([](IApplicationView& page) { page.RefreshWriteAccess(); });
    recheckShownPage();
}

void CUIController::recheckShownPage()
{
    if (m_state.Holding()) {
        m_recheckShownPage = true;
        return;
    }
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
    const CDeviceStateModel::Hold held(m_state);
    if (held.Changed())
        m_recheckShownPage = true;
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
    distribute(code, text);
    // Only the outermost notification gives the page its one recheck.
    if (m_state.Nested() || !std::exchange(m_recheckShownPage, false))
        return;
    if (IApplicationView* active = GetView(m_activeViewId))
        active->UpdateAccess(true);
}

void CUIController::distribute(std::int32_t code, const QString& text)
{
    // Taken before anyone runs: the edit model may end the operation on the way.
    const std::int32_t owner = GetOperationOwner();
    const bool running = IsOperationRunning();
    for (IInternalUpdateUI* receiver : {m_actionUpdates, static_cast<IInternalUpdateUI*>(m_editModel),
                                        m_identificationUpdates, m_statusUpdates, m_toolbarUpdates}) {
        if (receiver)
            receiver->OnUpdate(code, text);
    }
    const std::int32_t active = GetActiveViewId();
    // Another page's operation ended: the shown page may take its buttons back.
    if (running && !IsOperationRunning() && owner != active)
        m_recheckShownPage = true;
    if (owner == -1 || owner == active) {
        if (IApplicationView* page = GetView(active))
            page->OnUpdate(code, text);
    }
}

}  // namespace orvx::framework
