#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace orvx::frame {

// A device of a saved plant list: its address, as --device takes it, and the key file of a
// hart-ip+tls:// one.
struct ListedDevice {
    QString address;
    QString keyFile;
    int line = 0;  // where a list read it

    bool operator==(const ListedDevice&) const = default;
};

// A saved list of the plant's devices is a text file, a device a line: its address and, for a
// hart-ip+tls:// one, its key file after a space (the rest of the line). Blank lines and text
// from '#' on are skipped. The devices in file order; none, with the reason, when the file cannot
// be read or is larger than any plant's list. Whether each address names a device is the
// caller's to check, as for --device, naming the line.
std::optional<QList<ListedDevice>> readPlantList(const QString& path, QString* error);

// Writes the list, replacing the file whole or not at all. Answers an error text, or empty.
QString writePlantList(const QString& path, const QList<ListedDevice>& devices);

}  // namespace orvx::frame
