#include "WholeFile.h"

#include <QSaveFile>

namespace orvx::diagnostics {

QString writeWholeFile(const QString& path, const std::function<QString(QIODevice&)>& write)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const QString failure = write(file);
    if (!failure.isNull()) {
        file.cancelWriting();
        return failure;
    }
    // A failed write leaves an error that commit() reports; commit() then drops the temporary.
    if (!file.commit())
        return file.errorString();
    return {};
}

}  // namespace orvx::diagnostics
