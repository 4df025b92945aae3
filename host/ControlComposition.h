#pragma once

#include <QPointer>

#include <memory>

class QWidget;

namespace orvx::framework {
class CActionArea;
class CControlWindowLayout;
class CIdentificationArea;
class CKeyboardNavigation;
class CNavigationArea;
class CSplitterWindow;
class CStatusArea;
class CToolbarArea;
}  // namespace orvx::framework

namespace orvx::host {

class CFdtActiveXImpl;

// The windows of a main, offline or trend control: identification band, toolbar, the splitter
// with the navigation tree and the page, action area and status bar, wired to the control's
// controller. Made when the control's window is created, taken down before it goes.
class CControlComposition {
public:
    CControlComposition(CFdtActiveXImpl& control, QWidget* window);
    ~CControlComposition();
    CControlComposition(const CControlComposition&) = delete;
    CControlComposition& operator=(const CControlComposition&) = delete;

private:
    CFdtActiveXImpl& m_control;
    QPointer<QWidget> m_window;
    std::unique_ptr<framework::CKeyboardNavigation> m_keyboard;
    std::unique_ptr<framework::CNavigationArea> m_navigation;
    std::unique_ptr<framework::CStatusArea> m_status;
    std::unique_ptr<framework::CToolbarArea> m_toolbar;
    QPointer<framework::CIdentificationArea> m_identification;
    QPointer<framework::CActionArea> m_action;
    QPointer<framework::CSplitterWindow> m_splitter;
    framework::CControlWindowLayout* m_layout = nullptr;  // owned by the window
};

}  // namespace orvx::host
