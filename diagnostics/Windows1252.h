#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace orvx::diagnostics {

// Text in the data file's code page, Windows-1252, converted with a table of our own so the
// result does not depend on the system's converters. A character the code page cannot hold
// becomes '?' (one for a surrogate pair). The five bytes the code page leaves undefined (81, 8D,
// 8F, 90, 9D) stand for the control characters of the same number, both ways.
QByteArray toWindows1252(QStringView text);
QString fromWindows1252(QByteArrayView bytes);

}  // namespace orvx::diagnostics
