#pragma once

#include <QString>

#include <stdexcept>

namespace orvx::diagnostics {

// A failed file operation: the system's error code (errno), its message text and the file.
class CXFileException : public std::runtime_error {
public:
    CXFileException(int error, const QString& path);

    int Error() const { return m_error; }
    // The system's own text for the error, e.g. "No such file or directory".
    const QString& SystemMessage() const { return m_message; }
    const QString& Path() const { return m_path; }

private:
    int m_error;
    QString m_message;
    QString m_path;
};

}  // namespace orvx::diagnostics
