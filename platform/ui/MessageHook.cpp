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
    // Every event of the application passes here: the call is held in one reference, small
    // enough for the function wrapper to keep without taking memory for it.
    struct Call {
        CMessageHook& hook;
        QObject* target;
        QEvent* event;
        bool swallow = false;
    } call{*this, target, event};
    runGuarded("message hook", [&call] { call.swallow = call.hook.filter(call.target, call.event); });
    return call.swallow;
}

}  // namespace orvx::ui
