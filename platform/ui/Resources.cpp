#include "Resources.h"

#include <QFile>
#include <QHash>

namespace orvx::ui {

namespace {

// The resource file of that number in a folder, trying the image formats in order.
QString findImage(const char* folder, int id)
{
    for (const char* suffix : {"svg", "png"}) {
        const QString path =
            QStringLiteral(":/orvx/%1/%2.%3").arg(QLatin1String(folder)).arg(id).arg(QLatin1String(suffix));
        if (QFile::exists(path))
            return path;
    }
    return {};
}

}  // namespace

QString xmlResource(int id)
{
    QFile file(QStringLiteral(":/orvx/xml/%1.xml").arg(id));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QIcon iconResource(int id)
{
    // One icon per number: its engine keeps the pixmaps it drew. A new icon for every window
    // drew the same picture again and filled the pixmap cache with copies of it. Never
    // destroyed, so that no icon outlives the application's end in a static.
    static auto* const icons = new QHash<int, QIcon>;
    if (const auto it = icons->constFind(id); it != icons->cend())
        return *it;
    const QString path = findImage("icons", id);
    const QIcon icon = path.isEmpty() ? QIcon() : QIcon(path);
    icons->insert(id, icon);
    return icon;
}

QPixmap iconPixmap(int id, QSize size)
{
    const QIcon icon = iconResource(id);
    return icon.isNull() ? QPixmap() : icon.pixmap(size);
}

QPixmap bitmapResource(int id)
{
    const QString path = findImage("bitmaps", id);
    return path.isEmpty() ? QPixmap() : QPixmap(path);
}

QString stringResource(int id)
{
    switch (id) {
    case 100: return QStringLiteral("OrvxTarnelGUI");
    default: return {};
    }
}

}  // namespace orvx::ui
