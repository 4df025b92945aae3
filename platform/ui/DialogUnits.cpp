#include "DialogUnits.h"

#include <QFontMetrics>

namespace orvx::ui {

QSize dialogUnits(const QFont& font, QSize units)
{
    const QFontMetrics metrics(font);
    // The average width of the 52 letters, rounded, as dialog templates are measured.
    const int cx =
        (metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 26 + 1) /
        2;
    const int cy = metrics.height();
    return {units.width() * cx / 4, units.height() * cy / 8};
}

}  // namespace orvx::ui
