#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace orvx::ui {

// The program's own resources by number, compiled into the program:
//   XML texts   :/orvx/xml/<id>.xml       (layout description, ViewSettings)
//   icons       :/orvx/icons/<id>.svg|png
//   bitmaps     :/orvx/bitmaps/<id>.svg|png
//   strings     a small table (100: the component's name)

// The XML text, or a null text when there is no such resource.
QString xmlResource(int id);
// The icon, or a null icon.
QIcon iconResource(int id);
// The icon drawn at a size, or a null pixmap.
QPixmap iconPixmap(int id, QSize size);
// The bitmap at its natural size, or a null pixmap.
QPixmap bitmapResource(int id);
// The string, or a null text.
QString stringResource(int id);

}  // namespace orvx::ui
