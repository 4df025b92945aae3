#pragma once

#include <QColor>

namespace orvx::ui {

// The colour of a state that needs the user's attention at once (a tripped ESD): a red that
// reads on the light and the dark palette alike.
inline const QColor kWarningColour{214, 40, 40};

}  // namespace orvx::ui
