#pragma once

#include <string>
#include <string_view>

namespace orvx::device {

// What a business object says of itself in its state document.
struct DtmState {
    bool online = true;
    std::u16string_view userLevel = u"maintenance";
    bool privateDialogs = true;
};

// The state document every business object hands the controls: one DtmState element with the
// name, the state (Online or Offline), the data set state, the user level (escaped), whether
// private dialogs are allowed and whether it is communicating.
std::u16string stateDocument(const DtmState& state);

}  // namespace orvx::device
