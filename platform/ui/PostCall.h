#pragma once

#include <QObject>

#include <functional>

namespace orvx::ui {

// Queues a call to run on the target's thread after the current handler has returned. The
// call is dropped when the target is destroyed first. An exception the call throws is caught
// and reported, never returned into the event loop.
void postCall(QObject* target, std::function<void()> call);

// Runs a call from an entry of the event loop (a signal, an event handler, a posted call):
// any exception it throws is caught and reported with 'where'. Answers whether it completed.
bool runGuarded(const char* where, const std::function<void()>& call);

// Where caught failures go: by default a warning on the log; a control points it at its
// status line. Returns the previous reporter.
using ErrorReporter = std::function<void(const QString& message)>;
ErrorReporter setErrorReporter(ErrorReporter reporter);
void reportError(const QString& message);

}  // namespace orvx::ui
