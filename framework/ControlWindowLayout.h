#pragma once

#include "framework/MainLayout.h"

#include <QObject>

class QWidget;

namespace orvx::framework {

// Keeps a control's window laid out: once the composition is marked created, every resize and
// every layout request of the window applies the main layout to its client area. Before that
// they do nothing. Lives as long as the window, which is its parent.
class CControlWindowLayout : public QObject {
public:
    CControlWindowLayout(QWidget* window, const CMainLayout& layout);
    ~CControlWindowLayout() override;

    CMainLayout& Layout() { return m_layout; }
    // Marking created posts a layout request, so that the first layout runs after creation.
    void SetCreated(bool created);
    bool IsCreated() const { return m_created; }
    // Applies the layout now when created.
    void Apply();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    CMainLayout m_layout;
    bool m_created = false;
};

}  // namespace orvx::framework
