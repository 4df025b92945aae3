#pragma once

#include <QSize>
#include <QString>

#include <cstdint>

class QWidget;

namespace orvx::controls {
class IFdtControl;
}

namespace orvx::framework {

class IUIController;

// A page of the main window's right pane, as the controller, the edit model and the
// data-bound controls see it.
class IApplicationView {
public:
    virtual ~IApplicationView() = default;

    // -- Window and activation --
    // The page's window, which the controller puts into the page pane to show the page.
    virtual QWidget* GetWindow() const = 0;
    // Whether the page is the one shown: set by Activate, cleared by Deactivate.
    virtual bool IsActivated() const = 0;
    // Nothing when active already; otherwise recomputes the page's gating (UpdateAccess(true)) and
    // starts its tool tips. The controller calls it each time it shows the page.
    virtual void Activate() = 0;
    // Nothing when not active; otherwise stops the page's tool tips and empties the status line.
    virtual void Deactivate() = 0;
    // The control is about to close while the device link still stands: the page's last chance
    // to put the device back as the user would want it. Nothing by default.
    virtual void PrepareToClose() {}

    // -- Set-up --
    // Configures each control named by a ControlData element; text that does not parse, and an
    // id that is no number or names no control, change nothing.
    virtual void ApplyViewSetting(const QString& viewSetting) = 0;
    // The controller the page and its controls ask (not owned); set before the page is built.
    virtual void SetController(IUIController* controller) = 0;

    // -- Called by the page's controls --
    // Makes the text the window's tool tip, replacing one it had; a null window is ignored.
    virtual void SetToolTip(QWidget* window, const QString& text) = 0;
    // Removes a tip set through SetToolTip; a window without one is left alone.
    virtual void RemoveToolTip(QWidget* window) = 0;
    // The combo box reports a change of its indicator state; the pages take no action.
    virtual void OnControlStateChanged(std::int32_t controlId) = 0;
    // Counts a control's entry invalid, or valid again, after writing the change (1 or -1) to
    // parameter::InvalidEntries; a failed write is raised and counts nothing. Another page's
    // control changes nothing.
    virtual void OnControlValidated(controls::IFdtControl* control, bool valid) = 0;

    // -- Invalid entries --
    // When private dialogs are enabled, shows the message of each invalid control with an id
    // from first to last, one box each in id order; otherwise nothing.
    virtual void ShowValidationErrors(std::int32_t firstControlId, std::int32_t lastControlId) = 0;
    // True when the control (-1: every control) holds no invalid input; shows the messages
    // when private dialogs are enabled.
    virtual bool CheckValid(std::int32_t controlId) = 0;
    // Forgets every invalid entry without writing the count; called when the data were reloaded.
    virtual void ClearInvalid() = 0;
    // The page's state level (0 to 4) for the navigation tree; every page keeps 0.
    virtual int GetStateLevel() const = 0;

    // -- Notifications and refreshing --
    // A notification for this page: the base refreshes its controls (500 to 502, 524 to 526) and
    // gives the buttons back when an operation ends (500, -1 or below), never to a user who may
    // not write. Pages extend it.
    virtual void OnUpdate(std::int32_t code, const QString& text) = 0;
    // Refreshes each control whose id lies from first to last, in id order.
    virtual void RefreshControlRange(std::int32_t firstControlId, std::int32_t lastControlId) = 0;
    // Refreshes the first control, in id order, whose tag equals the tag; none has it: nothing.
    virtual void RefreshByTag(const QString& tag) = 0;
    // Refreshes the control with that id (absent: nothing), or with -1 every control whose entry
    // is valid, so that an invalid entry stays in view.
    virtual void RefreshControls(std::int32_t controlId) = 0;

    // -- Building, scrolling and access --
    // Takes the user's write rights from the controller (read-only without one) and lets every
    // control apply its enabled state.
    virtual void RefreshWriteAccess() = 0;
    // Builds the page's data-bound controls and applies its ViewSetting resource; the base makes
    // the header controls, and pages call it first.
    virtual void LoadViewSetting() = 0;
    // Scrolls back to the origin and makes the scrolled surface at least this size.
    virtual void SetScrollSize(QSize size) = 0;
    // Recomputes the page's restriction and applies what changed; nothing when 'force' is false.
    virtual void UpdateAccess(bool force) = 0;
};

}  // namespace orvx::framework
