#include "PlantList.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace orvx::frame {

namespace {

// A list longer than any plant's is no list.
constexpr qint64 kMaxListBytes = 1 << 20;

}  // namespace

std::optional<QList<ListedDevice>> readPlantList(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return std::nullopt;
    }
    if (file.size() > kMaxListBytes) {
        *error = QStringLiteral("%1: a plant list holds at most %2 bytes")
                     .arg(QDir::toNativeSeparators(path))
                     .arg(kMaxListBytes);
        return std::nullopt;
    }
    QList<ListedDevice> devices;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString text = lines[i].section(QLatin1Char('#'), 0, 0).trimmed();
        if (text.isEmpty())
            continue;
        // The address holds no space; the key file's path is the rest of the line, spaces and all.
        const qsizetype space = text.indexOf(QRegularExpression(QStringLiteral("\\s")));
        const int line = static_cast<int>(i + 1);
        devices.append(space < 0 ? ListedDevice{text, {}, line}
                                 : ListedDevice{text.left(space), text.mid(space + 1).trimmed(), line});
    }
    return devices;
}

QString writePlantList(const QString& path, const QList<ListedDevice>& devices)
{
    QByteArray text(
        "# The plant's devices, as orvx-frame --plant reads them: an address a line, a key file after it\n");
    for (const ListedDevice& device : devices)
        text +=
            (device.keyFile.isEmpty() ? device.address : device.address + QLatin1Char(' ') + device.keyFile).toUtf8() +
            '\n';
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
    return {};
}

}  // namespace orvx::frame
