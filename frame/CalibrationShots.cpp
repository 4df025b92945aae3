#include "CalibrationShots.h"

#include "ModalScript.h"
#include "ShotWriter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace orvx::frame {

namespace {

constexpr int kManualFindStops = 310;
constexpr int kWaitMs = 10000;

}  // namespace

int writeCalibrationShots(QWidget* control, const QString& folder, QStringList* errors)
{
    if (!selectPage(control, QStringLiteral("Find Stops")) || !changeMode(control, QStringLiteral("Setup"), errors))
        return 0;
    ShotWriter shots(folder, errors);
    QWidget* window = control->window();
    for (const auto& [page, file] :
         {std::pair{"Find Stops", "setup-find-stops.png"}, std::pair{"Autotune", "setup-autotune.png"},
          std::pair{"Setup Wizard", "setup-wizard.png"}}) {
        if (selectPage(control, QString::fromLatin1(page)))
            shots.Take(window, file);
    }
    selectPage(control, QStringLiteral("Find Stops"));
    if (QAbstractButton* manual = visibleButton(control, kManualFindStops)) {
        ModalScript dialog({{QStringLiteral("Manual Find Stops"), [&](QWidget* open) {
                                 shots.Take(open, "setup-manual-find-stops.png");
                                 QTimer::singleShot(0, open, [open] { static_cast<QDialog*>(open)->reject(); });
                             }}});
        dialog.Run([manual] { manual->click(); }, kWaitMs, errors);
    } else {
        errors->append(QStringLiteral("no Manual Find Stops button"));
    }
    return shots.Written();
}

}  // namespace orvx::frame
