#include "ModuleFile.h"

#include <QFileInfo>

#include <dlfcn.h>

namespace orvx::ui {

QString moduleFilePath()
{
    Dl_info info{};
    // Any address inside this binary names it; this function's own will do.
    if (dladdr(reinterpret_cast<void*>(&moduleFilePath), &info) == 0 || !info.dli_fname)
        return {};
    const QString name = QString::fromLocal8Bit(info.dli_fname);
    // The main program is named as it was started, possibly relative to a folder since left.
    if (QFileInfo(name).isRelative())
        return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return QFileInfo(name).absoluteFilePath();
}

QString moduleFolder()
{
    const QString file = moduleFilePath();
    return file.isEmpty() ? QString() : QFileInfo(file).absolutePath();
}

}  // namespace orvx::ui
