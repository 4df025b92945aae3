#pragma once

class QWidget;

namespace orvx::framework {

// Whether an area takes part in the main window's layout.
class IWindowVisibility {
public:
    virtual ~IWindowVisibility() = default;
    // Records whether the area takes part in the layout; the window itself is not shown or hidden.
    virtual void SetVisible(bool visible) = 0;
    // Whether the area takes part in the layout, true until told otherwise; a hidden area gets no
    // height.
    virtual bool GetVisible() const = 0;
    // The area's window, shown or hidden by the controller; none before it is created.
    virtual QWidget* GetAreaWindow() const = 0;
};

}  // namespace orvx::framework
