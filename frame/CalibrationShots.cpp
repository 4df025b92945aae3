#include "CalibrationShots.h"

#include "ModalScript.h"
#include "ShotWriter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

namespace orvx::frame {

namespace {

constexpr int kModeToSet = 201;
constexpr int kApplyMode = 202;
constexpr int kActiveMode = 205;
constexpr int kManualFindStops = 310;
constexpr int kWaitMs = 10000;

QWidget* visibleItem(QWidget* control, int item)
{
    for (auto* widget : control->findChildren<QWidget*>(QStringLiteral("item_%1").arg(item)))
        if (widget->isVisible())
            return widget;
    return nullptr;
}

bool toSetupMode(QWidget* control, QStringList* errors)
{
    auto* modeToSet = qobject_cast<QComboBox*>(visibleItem(control, kModeToSet));
    QAbstractButton* apply = visibleButton(control, kApplyMode);
    const int setup = modeToSet ? modeToSet->findText(QStringLiteral("Setup")) : -1;
    if (setup < 0 || !apply) {
        errors->append(QStringLiteral("no mode button to change to Setup mode"));
        return false;
    }
    modeToSet->setCurrentIndex(setup);
    emit modeToSet->activated(setup);
    // Leaving Normal mode is confirmed first.
    ModalScript confirm({{QStringLiteral("Orvx ESD HART"), [](QWidget* box) { ModalScript::OkLater(box); }}});
    confirm.Run([apply] { apply->click(); }, kWaitMs, errors);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kWaitMs) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        // The mode shows before the change has finished; the mode button comes back after it.
        if (auto* active = qobject_cast<QLabel*>(visibleItem(control, kActiveMode));
            active && active->text() == QLatin1String("Setup") && apply->isEnabled())
            return true;
    }
    errors->append(QStringLiteral("the device did not change to Setup mode"));
    return false;
}

}  // namespace

int writeCalibrationShots(QWidget* control, const QString& folder, QStringList* errors)
{
    if (!selectPage(control, QStringLiteral("Find Stops")) || !toSetupMode(control, errors))
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
