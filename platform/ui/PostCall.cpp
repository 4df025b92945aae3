#include "PostCall.h"

#include <QDebug>
#include <QMetaObject>

#include <exception>

namespace orvx::ui {

namespace {

ErrorReporter& reporter()
{
    static ErrorReporter current;
    return current;
}

}  // namespace

ErrorReporter setErrorReporter(ErrorReporter next)
{
    return std::exchange(reporter(), std::move(next));
}

void reportError(const QString& message)
{
    if (reporter())
        reporter()(message);
    else
        qWarning().noquote() << message;
}

bool runGuarded(const char* where, const std::function<void()>& call)
{
    try {
        call();
        return true;
    } catch (const std::exception& error) {
        reportError(QStringLiteral("%1 failed: %2").arg(QLatin1String(where), QString::fromLocal8Bit(error.what())));
    } catch (...) {
        reportError(QStringLiteral("%1 failed").arg(QLatin1String(where)));
    }
    return false;
}

void postCall(QObject* target, std::function<void()> call)
{
    if (!target)
        return;
    QMetaObject::invokeMethod(
        target, [call = std::move(call)] { runGuarded("posted call", call); }, Qt::QueuedConnection);
}

}  // namespace orvx::ui
