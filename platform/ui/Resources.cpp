#include "Resources.h"

#include <QFile>

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
    const QString path = findImage("icons", id);
    return path.isEmpty() ? QIcon() : QIcon(path);
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
