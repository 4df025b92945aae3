#pragma once

class QWidget;

namespace orvx::framework {

// Moves the keyboard between the tree and the page of one control: slot 0 the tree, slot 1
// the page; slots 0 to 4.
class IKeyboardNavigation {
public:
    virtual ~IKeyboardNavigation() = default;
    virtual void RegisterWindow(int slot, QWidget* window) = 0;
    virtual void UnregisterWindow(int slot) = 0;
};

}  // namespace orvx::framework
