#include "DialogUnits.h"

#include <QFontMetrics>
#include <QHash>

namespace orvx::ui {

namespace {

// A font's base units: the average width of the 52 letters, rounded, as dialog templates are
// measured, and the line height. Measured once per font, since every page sizes its fields with
// them; kept by the font's key, for the user-interface thread only.
QSize baseUnits(const QFont& font)
{
    constexpr qsizetype kMostFonts = 64;
    static auto* const known = new QHash<QString, QSize>;  // never destroyed: no text outlives the end
    const QString key = font.key();
    if (const auto it = known->constFind(key); it != known->cend())
        return *it;
    if (known->size() >= kMostFonts)
        known->clear();
    const QFontMetrics metrics(font);
    const int cx =
        (metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 26 + 1) /
        2;
    return *known->insert(key, QSize(cx, metrics.height()));
}

}  // namespace

QSize dialogUnits(const QFont& font, QSize units)
{
    const QSize base = baseUnits(font);
    return {units.width() * base.width() / 4, units.height() * base.height() / 8};
}

}  // namespace orvx::ui
