#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace orvx::frame {

// Puts the device into Setup mode through the online control's mode button, as a user would,
// and pictures the pages that work only there (Find Stops, Autotune, Setup Wizard) and the
// Manual Find Stops dialog. Answers how many pictures were written; problems go to 'errors'.
int writeCalibrationShots(QWidget* control, const QString& folder, QStringList* errors);

}  // namespace orvx::frame
