#pragma once

#include <QSize>

class QFont;

namespace orvx::ui {

// Dialog units to pixels, from the font's average character width and height as the original
// dialog layouts measured them: x * cx / 4, y * cy / 8.
QSize dialogUnits(const QFont& font, QSize units);

}  // namespace orvx::ui
