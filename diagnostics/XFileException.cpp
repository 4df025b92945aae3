#include "XFileException.h"

#include <cstring>

namespace orvx::diagnostics {

namespace {

QString systemMessage(int error)
{
    char buffer[256];
    // The GNU strerror_r answers a pointer that need not be the buffer.
    return QString::fromLocal8Bit(strerror_r(error, buffer, sizeof buffer));
}

}  // namespace

CXFileException::CXFileException(int error, const QString& path)
    : std::runtime_error((path + QStringLiteral(": ") + systemMessage(error)).toStdString()),
      m_error(error),
      m_message(systemMessage(error)),
      m_path(path)
{
}

}  // namespace orvx::diagnostics
