#pragma once

#include <QObject>

namespace orvx::ui {

// An application-wide message hook: sees every event of the user-interface thread before its
// target does, while at least one user holds it. Derived hooks decide in filter() whether an
// event is swallowed.
class CMessageHook : public QObject {
public:
    ~CMessageHook() override;

    // Counts one more user; the first installs the hook.
    void acquire();
    // Counts one user less; the last removes it.
    void release();
    int users() const { return m_users; }
    bool isInstalled() const { return m_installed; }

protected:
    // True swallows the event.
    virtual bool filter(QObject* target, QEvent* event) = 0;
    // Called when the last user has released the hook.
    virtual void onRemoved() {}

private:
    bool eventFilter(QObject* target, QEvent* event) override;

    int m_users = 0;
    bool m_installed = false;
};

}  // namespace orvx::ui
