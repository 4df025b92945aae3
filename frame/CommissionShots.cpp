#include "CommissionShots.h"

#include "ShotWriter.h"

#include <QAbstractButton>
#include <QWidget>

namespace orvx::frame {

namespace {

constexpr int kFullClose = 214;
constexpr int kTravelMs = 1000;  // wall time into the stroke for the picture
constexpr int kArrivalMs = 20000;

}  // namespace

int writeCommissionShots(QWidget* control, const QString& folder, QStringList* errors)
{
    if (!selectPage(control, QStringLiteral("Manual Setpoint")) ||
        !changeMode(control, QStringLiteral("Manual"), errors))
        return 0;
    QAbstractButton* fullClose = visibleButton(control, kFullClose);
    if (!fullClose || !fullClose->isEnabled()) {
        errors->append(QStringLiteral("Full Close cannot be pressed in Manual mode"));
        return 0;
    }
    ShotWriter shots(folder, errors);
    fullClose->click();
    waitFor([] { return false; }, kTravelMs);
    shots.Take(control->window(), "commission-full-close.png");
    if (!waitFor([fullClose] { return fullClose->isEnabled(); }, kArrivalMs))
        errors->append(QStringLiteral("the valve did not arrive at Full Close"));
    return shots.Written();
}

}  // namespace orvx::frame
