#pragma once

class QWidget;

namespace orvx::views {

// What the manual find stops dialog asks of the page that opened it.
class IManualStops {
public:
    virtual ~IManualStops() = default;
    // Remembers the open dialog's window, to which the page posts the results of the manual
    // procedure; none forgets it, and results arriving then are dropped.
    virtual void SetDialogWindow(QWidget* window) = 0;
    // Sends the method's number as a device command. The manual procedure records no running
    // operation. Raises when the command cannot be sent (a user who may not write included).
    virtual void RunMethod(int method) = 0;
};

}  // namespace orvx::views
