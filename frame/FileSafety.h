#pragma once

#include <QString>

namespace orvx::frame {

// Why a file the frame trusts with code, or with where code is found, is not safe to use: other
// users can change it (group or world write), or can replace it in its folder (a folder they may
// write, unless its sticky bit keeps them to their own files). Empty for a safe file and for one
// that does not exist.
QString unsafeFileReason(const QString& file);

}  // namespace orvx::frame
