#include "ControlComposition.h"

#include "FdtActiveXImpl.h"
#include "framework/ActionArea.h"
#include "framework/ControlWindowLayout.h"
#include "framework/IdentificationArea.h"
#include "framework/KeyboardNavigation.h"
#include "framework/NavigationArea.h"
#include "framework/SplitterWindow.h"
#include "framework/StatusArea.h"
#include "framework/ToolbarArea.h"
#include "platform/ui/IconLibrary.h"

#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

namespace orvx::host {

using namespace framework;

CControlComposition::CControlComposition(CFdtActiveXImpl& control, QWidget* window)
    : m_control(control),
      m_window(window),
      m_keyboard(std::make_unique<CKeyboardNavigation>()),
      m_navigation(std::make_unique<CNavigationArea>()),
      m_status(std::make_unique<CStatusArea>()),
      m_toolbar(std::make_unique<CToolbarArea>())
{
    ui::AcquireIcons();
    CUIController& controller = control.Controller();
    m_navigation->SetController(&controller);
    m_toolbar->SetController(&controller);

    m_splitter = new CSplitterWindow(window);
    QTreeWidget* tree = m_navigation->CreateWindow(m_splitter);
    QStatusBar* statusBar = m_status->CreateWindow(window);
    m_status->SetTextProvider(&control.TextProvider());
    QToolBar* toolbar = m_toolbar->CreateWindow(window);
    m_identification = new CIdentificationArea(window);
    m_identification->CreateWindow(window);
    m_action = new CActionArea(window);
    m_action->CreateWindow(window);
    m_action->SetController(&controller);

    ControlAreas areas;
    areas.splitter = m_splitter;
    areas.keyboard = m_keyboard.get();
    areas.navigation = m_navigation.get();
    areas.status = m_status.get();
    areas.statusUpdates = m_status.get();
    areas.identification = m_identification;
    areas.identificationUpdates = m_identification;
    areas.action = m_action;
    areas.actionUpdates = m_action;
    areas.actionVisibility = m_action;
    areas.toolbar = m_toolbar.get();
    areas.toolbarUpdates = m_toolbar.get();
    areas.toolbarVisibility = m_toolbar.get();
    control.AttachAreas(areas);

    m_keyboard->RegisterWindow(0, tree);
    m_splitter->SetPaneWindow(0, tree);
    m_splitter->Relayout();

    CMainLayout::Areas layout;
    layout.identification = {m_identification, m_identification->Height(), nullptr};
    layout.toolbar = {toolbar, m_toolbar->Height(), m_toolbar.get()};
    layout.splitter = m_splitter;
    layout.action = {m_action, m_action->Height(), m_action};
    layout.status = {statusBar, statusBar->sizeHint().height(), nullptr};
    m_layout = new CControlWindowLayout(window, CMainLayout(layout));
    m_layout->SetCreated(true);
}

CControlComposition::~CControlComposition()
{
    m_keyboard->UnregisterWindow(0);
    m_control.Controller().DestroyViews();
    m_control.DetachAreas();
    ui::ReleaseIcons();
}

}  // namespace orvx::host
