#include "MessageHook.h"

#include "PostCall.h"

#include <QCoreApplication>

namespace orvx::ui {

CMessageHook::~CMessageHook()
{
    if (m_installed && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void CMessageHook::acquire()
{
    ++m_users;
    if (!m_installed && QCoreApplication::instance()) {
        QCoreApplication::instance()->installEventFilter(this);
        m_installed = true;
    }
}

void CMessageHook::release()
{
    if (m_users == 0)
        return;
    if (--m_users > 0)
        return;
    if (m_installed && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    m_installed = false;
    onRemoved();
}

bool CMessageHook::eventFilter(QObject* target, QEvent* event)
{
    bool swallow = false;
    runGuarded("message hook", [&] { swallow = filter(target, event); });
    return swallow;
}

}  // namespace orvx::ui
