#pragma once

#include "framework/IKeyboardNavigation.h"

#include <QList>
#include <QPointer>

#include <array>

class QWidget;

namespace orvx::framework {

// The windows of one control between which Tab and Shift+Tab move the keyboard: Tab on a
// window's last tab stop goes to the first tab stop of the next slot's window, Shift+Tab on the
// first tab stop to the last tab stop of the previous one, cyclically. Every other key, and Tab
// inside a window, is left to Qt. A process-wide hook sees the key presses while any owner has
// a window registered; an owner unregisters itself when destroyed.
class CKeyboardNavigation : public IKeyboardNavigation {
public:
    static constexpr int kSlots = 5;

    CKeyboardNavigation();
    ~CKeyboardNavigation() override;
    CKeyboardNavigation(const CKeyboardNavigation&) = delete;
    CKeyboardNavigation& operator=(const CKeyboardNavigation&) = delete;

    // A slot outside 0..4 is ignored; none unregisters.
    void RegisterWindow(int slot, QWidget* window) override;
    void UnregisterWindow(int slot) override;
    QWidget* Window(int slot) const;

    // Where Tab (Shift+Tab when 'backward') pressed on 'target' moves the focus: a tab stop of
    // another registered window, or none when Qt's own handling applies. Slots whose window is
    // gone or has no tab stop (hidden, disabled) are skipped.
    QWidget* TabTarget(QWidget* target, bool backward) const;

    // The focusable, enabled, visible widgets that take Tab focus, the window itself
    // included, in Qt's focus chain order.
    static QList<QWidget*> TabStops(QWidget* window);

    // The users of the process-wide hook: the owners with a window registered.
    static int HookUsers();

private:
    bool holdsWindows() const;

    std::array<QPointer<QWidget>, kSlots> m_windows;
    bool m_listed = false;  // counted among the hook's owners
};

}  // namespace orvx::framework
