#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <utility>

class QWidget;

namespace orvx::ui {

// Queues a call to run on the target's thread after the current handler has returned. The
// call is dropped when the target is destroyed first. An exception the call throws is caught
// and reported, never returned into the event loop.
void postCall(QObject* target, std::function<void()> call);

// Reports the exception being handled as a failure of 'where'; only for a catch block.
void reportCaught(const char* where);

// Runs a call from an entry of the event loop (a signal, an event handler, a posted call):
// any exception it throws is caught and reported with 'where'. Answers whether it completed.
// The call is taken as it is, not wrapped in a function object: every event the application's
// filters see passes here, and a wrapper took memory for most of them.
template <class Call>
bool runGuarded(const char* where, Call&& call)
{
    try {
        std::forward<Call>(call)();
        return true;
    } catch (...) {
        reportCaught(where);
        return false;
    }
}

using ErrorReporter = std::function<void(const QString& message)>;

// Where caught failures go when no control shows them: by default nowhere but the log.
// Returns the previous reporter.
ErrorReporter setErrorReporter(ErrorReporter reporter);

// Shows a failure where the user looks, and logs it: the newest report scope whose window is
// visible takes it (else the newest scope); with no scope, the reporter set above.
void reportError(const QString& message);

// While it lives, failures caught anywhere on the user-interface thread reach this control's
// screen (its status line) through the reporter. Scopes may end in any order.
class CErrorReportScope {
public:
    CErrorReportScope(QWidget* window, ErrorReporter reporter);
    ~CErrorReportScope();
    CErrorReportScope(const CErrorReportScope&) = delete;
    CErrorReportScope& operator=(const CErrorReportScope&) = delete;

    bool IsShown() const;
    void Report(const QString& message) const;

private:
    QPointer<QWidget> m_window;
    ErrorReporter m_reporter;
};

}  // namespace orvx::ui
