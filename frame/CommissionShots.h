#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace orvx::frame {

// Puts the device into Manual mode and drives the valve shut from the Manual Setpoint page, as a
// user would: pictures the page while the valve travels, then waits for the device's answer.
// Answers how many pictures were written; problems go to 'errors'.
int writeCommissionShots(QWidget* control, const QString& folder, QStringList* errors);

}  // namespace orvx::frame
