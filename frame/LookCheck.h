#pragma once

#include <QStringList>

class QWidget;

namespace orvx::frame {

// What a plant engineer would misread on a window as it is shown now, one line each:
// - a label, check box, radio or push button narrower than its text (clipped);
// - a line or text edit the user cannot type into that looks like one they can (its
//   background is an editable field's);
// - the ESD state image without its state in words beside it.
// Hidden widgets and windows are not looked at.
QStringList lookProblems(const QWidget* window);

}  // namespace orvx::frame
