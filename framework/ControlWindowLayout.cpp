#include "ControlWindowLayout.h"

#include "platform/ui/PostCall.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace orvx::framework {

CControlWindowLayout::CControlWindowLayout(QWidget* window, const CMainLayout& layout)
    : QObject(window), m_window(window), m_layout(layout)
{
    window->installEventFilter(this);
}

CControlWindowLayout::~CControlWindowLayout() = default;

void CControlWindowLayout::SetCreated(bool created)
{
    m_created = created;
    if (created)
        QCoreApplication::postEvent(m_window, new QEvent(QEvent::LayoutRequest));
}

void CControlWindowLayout::Apply()
{
    if (m_created)
        m_layout.Apply(m_window->size());
}

bool CControlWindowLayout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest))
        ui::runGuarded("control window layout", [this] { Apply(); });
    return false;
}

}  // namespace orvx::framework
