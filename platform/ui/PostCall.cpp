#include "PostCall.h"

#include <QDebug>
#include <QMetaObject>
#include <QWidget>

#include <algorithm>
#include <exception>
#include <vector>

namespace orvx::ui {

namespace {

ErrorReporter& reporter()
{
    static ErrorReporter current;
    return current;
}

// Newest last.
std::vector<const CErrorReportScope*>& scopes()
{
    static std::vector<const CErrorReportScope*> open;
    return open;
}

}  // namespace

ErrorReporter setErrorReporter(ErrorReporter next)
{
    return std::exchange(reporter(), std::move(next));
}

void reportError(const QString& message)
{
    qWarning().noquote() << message;
    const auto& open = scopes();
    if (!open.empty()) {
        const auto shown = std::find_if(open.rbegin(), open.rend(), [](const auto* scope) { return scope->IsShown(); });
        (shown != open.rend() ? *shown : open.back())->Report(message);
    } else if (reporter()) {
        reporter()(message);
    }
}

CErrorReportScope::CErrorReportScope(QWidget* window, ErrorReporter reporter)
    : m_window(window), m_reporter(std::move(reporter))
{
    scopes().push_back(this);
}

CErrorReportScope::~CErrorReportScope()
{
    std::erase(scopes(), this);
}

bool CErrorReportScope::IsShown() const
{
    return m_window && m_window->isVisible();
}

void CErrorReportScope::Report(const QString& message) const
{
    if (!m_reporter)
        return;
    // A reporter that fails itself must not take the report's caller down with it.
    try {
        m_reporter(message);
    } catch (...) {
        qWarning().noquote() << "the failure could not be shown:" << message;
    }
}

void reportCaught(const char* where)
{
    try {
        throw;
    } catch (const std::exception& error) {
        reportError(QStringLiteral("%1 failed: %2").arg(QLatin1String(where), QString::fromLocal8Bit(error.what())));
    } catch (...) {
        reportError(QStringLiteral("%1 failed").arg(QLatin1String(where)));
    }
}

void postCall(QObject* target, std::function<void()> call)
{
    if (!target)
        return;
    QMetaObject::invokeMethod(
        target, [call = std::move(call)] { runGuarded("posted call", call); }, Qt::QueuedConnection);
}

}  // namespace orvx::ui
