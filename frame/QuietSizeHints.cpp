#include "QuietSizeHints.h"

#include <QString>

#include <cstdio>

namespace orvx::frame {

namespace {

QtMessageHandler g_next = nullptr;

void dropSizeHintWarning(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message == QLatin1String("This plugin does not support propagateSizeHints()"))
        return;
    if (g_next)
        g_next(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

QuietSizeHints::QuietSizeHints() : m_previous(qInstallMessageHandler(dropSizeHintWarning))
{
    g_next = m_previous;
}

QuietSizeHints::~QuietSizeHints()
{
    qInstallMessageHandler(m_previous);
    g_next = nullptr;
}

}  // namespace orvx::frame
