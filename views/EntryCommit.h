#pragma once

#include <QString>

#include <optional>

namespace orvx::controls {
class CDtmTextControl;
}

namespace orvx::views {

// Sends a valid entry the user changed but did not yet commit (a button pressed from the
// keyboard), before a command that relies on the device holding it. Answers why the device did
// not take it, or none when it did or nothing was pending: a command sent after a refused entry
// would act on the value the device still holds, not on the one the user sees.
std::optional<QString> commitBeforeCommand(controls::CDtmTextControl& entry);

}  // namespace orvx::views
