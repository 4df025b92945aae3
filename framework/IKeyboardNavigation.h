#pragma once

class QWidget;

namespace orvx::framework {

// Moves the keyboard between the tree and the page of one control: slot 0 the tree, slot 1
// the page; slots 0 to 4.
class IKeyboardNavigation {
public:
    virtual ~IKeyboardNavigation() = default;
    // Puts the window into the slot, replacing the one there; a null window empties the slot, a
    // slot outside 0 to 4 is ignored.
    virtual void RegisterWindow(int slot, QWidget* window) = 0;
    // Empties the slot; a slot outside 0 to 4 is ignored.
    virtual void UnregisterWindow(int slot) = 0;
};

}  // namespace orvx::framework
