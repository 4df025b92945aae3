#pragma once

#include <QString>
#include <QStringList>

namespace orvx::frame {

class PlantWindow;

// Pictures the plant: the plant view over its valves, then two valves opened side by side, whose
// tabs it closes again. The window is looked at as a user would (LookCheck.h). Answers how many
// pictures were written; problems go to 'errors'.
int writePlantShots(PlantWindow& plant, const QString& folder, QStringList* errors);

}  // namespace orvx::frame
