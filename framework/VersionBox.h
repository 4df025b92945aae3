#pragma once

#include <QString>

class QWidget;

namespace orvx::framework {

// The About box: the module file, its version and the date it was built.
void showVersionBox(QWidget* owner, const QString& moduleFile);

// The text the box shows.
QString versionText(const QString& moduleFile);

}  // namespace orvx::framework
