#pragma once

#include <QString>

namespace orvx::framework {

// The strip of push buttons at the bottom, filled at run time. Alignment 0 is the right group,
// any other the left group. A click sends an action event (the action id, state 2) to the
// controller.
class IActionArea {
public:
    virtual ~IActionArea() = default;
    // Enables or disables the action's button; an unknown id is ignored.
    virtual void EnableAction(int actionId, bool enable) = 0;
    // Enables or disables every button.
    virtual void EnableAllActions(bool enable) = 0;
    // False, adding nothing, when the id is present already; otherwise appends a visible push
    // button with the caption and lays the strip out again.
    virtual bool AddAction(int actionId, const QString& caption, int alignment) = 0;
    // False when there is no such action; otherwise removes its button and lays out the rest.
    virtual bool RemoveAction(int actionId) = 0;
};

}  // namespace orvx::framework
