#pragma once

#include <QString>

namespace orvx::ui {

// The full path of the binary this code was linked into: the module when it is loaded by a
// frame, the program itself when linked statically. Empty when the system cannot tell.
QString moduleFilePath();

// The folder of that binary, without a trailing separator.
QString moduleFolder();

}  // namespace orvx::ui
