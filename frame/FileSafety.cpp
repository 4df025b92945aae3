#include "FileSafety.h"

#include <QFileInfo>

#include <sys/stat.h>

namespace orvx::frame {

namespace {

constexpr mode_t kOthersWrite = S_IWGRP | S_IWOTH;

QString octal(mode_t mode)
{
    return QStringLiteral("%1").arg(mode & 07777, 4, 8, QLatin1Char('0'));
}

}  // namespace

QString unsafeFileReason(const QString& file)
{
    struct stat status {};
    if (::stat(QFile::encodeName(file).constData(), &status) != 0)
        return {};
    if (status.st_mode & kOthersWrite)
        return QStringLiteral("%1 can be changed by other users (mode %2): refused; 'chmod go-w %1' makes it safe")
            .arg(file, octal(status.st_mode));
    const QString folder = QFileInfo(file).absolutePath();
    struct stat folderStatus {};
    if (::stat(QFile::encodeName(folder).constData(), &folderStatus) == 0 && (folderStatus.st_mode & kOthersWrite) &&
        !(folderStatus.st_mode & S_ISVTX))
        return QStringLiteral("%1 is in %2, which other users can change (mode %3): refused")
            .arg(file, folder, octal(folderStatus.st_mode));
    return {};
}

}  // namespace orvx::frame
