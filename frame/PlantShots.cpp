#include "PlantShots.h"

#include "LookCheck.h"
#include "PlantWindow.h"
#include "QuietSizeHints.h"
#include "ShotWriter.h"
#include "plant/PlantTableModel.h"
#include "plant/PlantView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>

namespace orvx::frame {

namespace {

// How long the plant runs, in wall-clock time, before it is pictured.
constexpr int kSettleMs = 1500;

// The key of the valve with `tag`, or empty.
QString keyOf(const PlantWindow& plant, const QString& tag)
{
    for (const plant::ValveRow& row : plant.View()->model()->rows())
        if (row.tag == tag)
            return row.key;
    return {};
}

}  // namespace

int writePlantShots(PlantWindow& plant, const QString& folder, QStringList* errors)
{
    QDir().mkpath(folder);
    const QuietSizeHints quiet;
    ShotWriter shots(folder, errors);
    plant.show();
    // The valves report their live values and the faults they raise within a second or two.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kSettleMs)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    for (const QString& problem : lookProblems(&plant))
        errors->append(QStringLiteral("plant: %1").arg(problem));
    shots.Take(&plant, "plant.png");

    const QString first = keyOf(plant, QStringLiteral("PV-101"));
    const QString second = keyOf(plant, QStringLiteral("XV-202"));
    if (first.isEmpty() || second.isEmpty()) {
        errors->append(QStringLiteral("plant: the simulated valves PV-101 and XV-202 are not in the plant view"));
        return shots.Written();
    }
    for (const QString& key : {first, second})
        if (const QString error = plant.OpenValve(key); !error.isEmpty())
            errors->append(error);
    plant.MoveToOtherSide(second);
    QApplication::processEvents();
    shots.Take(&plant, "plant-side-by-side.png");
    plant.CloseValve(second);
    plant.CloseValve(first);
    return shots.Written();
}

}  // namespace orvx::frame
