#pragma once

#include <QColor>

namespace orvx::ui {

// The colour of a state that needs the user's attention at once (a tripped ESD): a red that
// reads on the light and the dark palette alike.
inline const QColor kWarningColour{214, 40, 40};
// The colour of a text that names a problem (a refusal, a store that failed): a darker red, set
// in bold.
inline const QColor kProblemColour{0xb0, 0x00, 0x00};

}  // namespace orvx::ui
