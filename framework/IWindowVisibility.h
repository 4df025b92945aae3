#pragma once

class QWidget;

namespace orvx::framework {

// Whether an area takes part in the main window's layout.
class IWindowVisibility {
public:
    virtual ~IWindowVisibility() = default;
    virtual void SetVisible(bool visible) = 0;
    virtual bool GetVisible() const = 0;
    // The area's window, shown or hidden by the controller; none before it is created.
    virtual QWidget* GetAreaWindow() const = 0;
};

}  // namespace orvx::framework
