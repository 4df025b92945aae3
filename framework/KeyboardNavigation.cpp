#include "KeyboardNavigation.h"

#include "platform/ui/MessageHook.h"

#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace orvx::framework {

namespace {

// Sees the key presses of the user-interface thread for every owner with a window registered;
// never destroyed, so that it cannot outlive the application.
class CKeyboardHook : public ui::CMessageHook {
public:
    static CKeyboardHook& instance()
    {
        static auto* hook = new CKeyboardHook;
        return *hook;
    }

    void add(const CKeyboardNavigation* owner)
    {
        m_owners.push_back(owner);
        acquire();
    }

    void remove(const CKeyboardNavigation* owner)
    {
        m_owners.erase(std::remove(m_owners.begin(), m_owners.end(), owner), m_owners.end());
        release();
    }

protected:
    bool filter(QObject* target, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !target->isWidgetType())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers();
        if (modifiers & Qt::ControlModifier)
            return false;
        bool backward = false;
        if (key->key() == Qt::Key_Backtab || (key->key() == Qt::Key_Tab && (modifiers & Qt::ShiftModifier)))
            backward = true;
        else if (key->key() != Qt::Key_Tab)
            return false;

        // Decide before moving the focus: focus handlers may register or unregister windows.
        QWidget* next = nullptr;
        for (const CKeyboardNavigation* owner : m_owners) {
            if ((next = owner->TabTarget(static_cast<QWidget*>(target), backward)))
                break;
        }
        if (!next)
            return false;
        next->setFocus(backward ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        return true;
    }

private:
    std::vector<const CKeyboardNavigation*> m_owners;
};

bool takesTabFocus(const QWidget* widget)
{
    // A widget with a focus proxy hands the focus on; the proxy is the tab stop.
    return (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy() && widget->isEnabled() &&
           widget->isVisible();
}

}  // namespace

CKeyboardNavigation::CKeyboardNavigation() = default;

CKeyboardNavigation::~CKeyboardNavigation()
{
    if (m_listed)
        CKeyboardHook::instance().remove(this);
}

void CKeyboardNavigation::RegisterWindow(int slot, QWidget* window)
{
    if (slot < 0 || slot >= kSlots)
        return;
    if (!window) {
        UnregisterWindow(slot);
        return;
    }
    m_windows[slot] = window;
    if (!m_listed) {
        CKeyboardHook::instance().add(this);
        m_listed = true;
    }
}

void CKeyboardNavigation::UnregisterWindow(int slot)
{
    if (slot < 0 || slot >= kSlots)
        return;
    m_windows[slot] = nullptr;
    if (m_listed && !holdsWindows()) {
        CKeyboardHook::instance().remove(this);
        m_listed = false;
    }
}

QWidget* CKeyboardNavigation::Window(int slot) const
{
    return slot >= 0 && slot < kSlots ? m_windows[slot].data() : nullptr;
}

bool CKeyboardNavigation::holdsWindows() const
{
    return std::any_of(m_windows.begin(), m_windows.end(), [](const QPointer<QWidget>& w) { return !w.isNull(); });
}

QWidget* CKeyboardNavigation::TabTarget(QWidget* target, bool backward) const
{
    if (!target)
        return nullptr;
    for (int slot = 0; slot < kSlots; ++slot) {
        QWidget* window = m_windows[slot];
        if (!window || (window != target && !window->isAncestorOf(target)))
            continue;
        // The first matching slot decides.
        const QList<QWidget*> stops = TabStops(window);
        if (stops.isEmpty() || target != (backward ? stops.front() : stops.back()))
            return nullptr;
        // The last step comes back to this window's own other end.
        for (int step = 1; step <= kSlots; ++step) {
            const int other = (slot + (backward ? kSlots - step : step)) % kSlots;
            const QList<QWidget*> otherStops = TabStops(m_windows[other]);
            if (!otherStops.isEmpty())
                return backward ? otherStops.back() : otherStops.front();
        }
        return nullptr;
    }
    return nullptr;
}

QList<QWidget*> CKeyboardNavigation::TabStops(QWidget* window)
{
    QList<QWidget*> stops;
    if (!window)
        return stops;
    if (takesTabFocus(window))
        stops.append(window);
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
        if (window->isAncestorOf(w) && takesTabFocus(w))
            stops.append(w);
    }
    return stops;
}

int CKeyboardNavigation::HookUsers()
{
    return CKeyboardHook::instance().users();
}

}  // namespace orvx::framework
