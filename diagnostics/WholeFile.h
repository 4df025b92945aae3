#pragma once

#include <QString>

#include <functional>

class QIODevice;

namespace orvx::diagnostics {

// Writes a file whole or not at all: `write` fills a temporary file beside the target, which
// replaces the target only when `write` succeeded, so an existing file is never left half
// written. `write` answers a null text on success, else why it failed. Returns a null text on
// success, else the reason, worded for the user.
QString writeWholeFile(const QString& path, const std::function<QString(QIODevice&)>& write);

}  // namespace orvx::diagnostics
