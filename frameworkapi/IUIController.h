#pragma once

#include "DeviceState.h"
#include "platform/com/Variant.h"

#include <QBrush>
#include <QString>

#include <cstdint>

class QWidget;

namespace orvx::controls {
class CUIEventBase;
}

namespace orvx::framework {

class IActionArea;
class IApplicationView;
class IIdentificationArea;
class INavigationArea;
class IStatusArea;
class ITextResource;
class IToolbarArea;

// The hub of one user-interface control: pages, events, parameters, user rights, the running
// device operation and the business object's notifications all go through it.
class IUIController {
public:
    virtual ~IUIController() = default;

    // -- Events --
    // False without an edit model. A write or command from a user who may not write is refused:
    // the event gets an error and the status line says why. Else as the edit model's HandleEvent.
    virtual bool HandleEvent(controls::CUIEventBase& event) = 0;

    // -- Pages --
    // The page's first control, in id order, bound to the tag refreshes; an unknown page: nothing.
    virtual void RefreshControl(std::int32_t viewId, const QString& tag) = 0;
    // The page refreshes the control (-1: every control with a valid entry); view -1 means every
    // page. An unknown page or control: nothing.
    virtual void RefreshPage(std::int32_t viewId, std::int32_t controlId) = 0;
    // Every page checks the control (-1: all of them); with private dialogs enabled the messages
    // show. Friction limits out of order are refused on the shown page (refuse).
    virtual void ValidatePages(std::int32_t controlId) = 0;
    // Every page forgets its invalid entries and the friction limits count as valid again; the
    // edit model calls it when the data were reloaded.
    virtual void NotifyDataReloaded() = 0;
    // Shows the page, made by the edit model when missing; nothing without a main window or page.
    // The page shown before is deactivated and hidden; the new one activated and refreshed.
    virtual void ActivateView(std::int32_t viewId) = 0;
    // The page configures its controls from the ViewSetting text; an unknown page: nothing.
    virtual void ApplyPageSettings(std::int32_t viewId, const QString& viewSetting) = 0;
    // Builds the navigation tree from the layout text, selecting the view shown before or else the
    // first entry; nothing for an empty or unparsable text, or without a navigation area.
    virtual void LoadLayoutDescription(const QString& layout) = 0;
    // Keeps the page under the id. A page lives as long as its window, which Qt owns (a child of
    // the main window); the controller forgets a page whose window is gone. A null page, one
    // without a window, or an id already present answers false, and the caller keeps the page.
    virtual bool RegisterView(std::int32_t viewId, IApplicationView* page) = 0;
    // The splitter's window, parent of the pages; none while the control has no windows.
    virtual QWidget* GetMainWindow() const = 0;
    // Deactivates the shown page and destroys every page's window, and the page with it; no view
    // is active afterwards. Runs when the control's windows go.
    virtual void DestroyViews() = 0;
    // The id of the page shown last; -1 before the first and after DestroyViews.
    virtual std::int32_t GetActiveViewId() const = 0;

    // -- Areas and panes: none while the control has no windows --
    // The identification area, or none.
    virtual IIdentificationArea* GetIdentificationArea() const = 0;
    // The action area, or none.
    virtual IActionArea* GetActionArea() const = 0;
    // The status area, or none.
    virtual IStatusArea* GetStatusArea() const = 0;
    // The toolbar area, or none.
    virtual IToolbarArea* GetToolbarArea() const = 0;
    // The navigation area, or none.
    virtual INavigationArea* GetNavigationArea() const = 0;
    // The page registered under the id, or none; never makes one.
    virtual IApplicationView* GetView(std::int32_t viewId) const = 0;
    // Hides or shows the action area's window and takes it out of, or back into, the layout,
    // which is redone shortly after (posted).
    virtual void HideActionArea(bool hide) = 0;
    // Takes the toolbar out of, or back into, the layout, which is redone shortly after (posted).
    virtual void HideToolbarArea(bool hide) = 0;
    // Shows the page pane alone, or both panes again; nothing without an edit model or splitter.
    virtual void SetNavigationHidden(bool hide) = 0;
    // Whether the page pane is shown alone; false without a splitter.
    virtual bool IsNavigationHidden() const = 0;

    // -- Registration, private dialogs, splitter --
    // Whether the business object accepted the control's registration; false before Init.
    virtual bool IsRegistered() const = 0;
    // Whether message boxes may be shown: parameter::PrivateDialogs as a truth value, read at
    // most once per notification. A failed read answers true; without an edit model, false.
    virtual bool IsPrivateDialogEnabled() = 0;
    // Records the state document's flag; IsPrivateDialogEnabled does not read it, it asks
    // parameter::PrivateDialogs.
    virtual void SetPrivateDialogEnabled(bool enabled) = 0;
    // Puts the splitter bar at the main window's width divided by 'divisor', at once; nothing
    // without a main window or for a divisor below 1.
    virtual void SetSplitterFraction(int divisor) = 0;
    // Handed to the edit model's Reserved, which does nothing; nothing without an edit model.
    virtual void Reserved(std::int32_t first, const QString& second) = 0;
    // The texts of the control's business object, for the messages of its validators; none
    // before Init.
    virtual ITextResource* GetTextResource() const = 0;

    // -- User rights --
    // Stores the user level (absent and empty differ); when that changes whether the user may
    // write, every page re-applies its write access (ApplyWritability).
    virtual void SetUserLevel(const QString& level) = 0;
    // The user level as last set; absent (null) until the state document gives one.
    virtual QString GetUserLevel() const = 0;
    // True when the control is registered and the user level is not "observer" (case-sensitive).
    virtual bool IsWritable() const = 0;
    // Every page re-applies its controls' write access; the shown page also recomputes its gating
    // (while a notification is handled, once it has been).
    virtual void ApplyWritability() = 0;

    // -- Parameters --
    // An empty value without an edit model; the edit model's errors are raised.
    virtual com::Variant GetParameterValue(const QString& tag) = 0;
    // Nothing without an edit model; raises (access denied) while the user may not write, and the
    // status line says why. Else the edit model's SetValue, which raises failures; an empty value
    // starts a command.
    virtual void SetParameterValue(const QString& tag, const com::Variant& value) = 0;

    // -- Entries that several pages show --
    // Whether the friction limits entered on the ESD pages agree (low below high): one flag for
    // all pages of the control, true at start and again once the data were reloaded
    // (NotifyDataReloaded). The pages keep it; ValidatePages refuses while it is false.
    virtual bool FrictionLimitsValid() const = 0;
    virtual void SetFrictionLimitsValid(bool valid) = 0;

    // -- The running device operation --
    // Replaces the record: whether an operation runs, the view that started it (-1: none) and the
    // notification code that ends it (-1: none). Pages set it; the edit model clears it at the end.
    virtual void SetOperation(bool running, std::int32_t ownerViewId, std::int32_t expectedCode) = 0;
    // Whether a device operation is recorded as running.
    virtual bool IsOperationRunning() const = 0;
    // The view id that started the recorded operation, -1 for none.
    virtual std::int32_t GetOperationOwner() const = 0;
    // The notification code expected to end the recorded operation, -1 for none.
    virtual std::int32_t GetOperationCode() const = 0;

    // -- Device state --
    // The state of the device and the user: derived once per notification and held while it is
    // handled; outside a notification, derived when asked. Connected is parameter::Connected as
    // a truth value (a failed read counts as connected; without an edit model, disconnected).
    // The mode comes from parameter::DeviceState and parameter::Mode: ModeDisconnected when not
    // connected, ModeUndetermined when either read fails (the status line says which),
    // ModeSetup when the values read are none of the known ones, never ModeFailHigh; fail-high
    // is parameter::DeviceState reading 64.
    // Writable is IsWritable.
    virtual DeviceState GetDeviceState() = 0;
    // The state's connection.
    virtual bool IsDeviceConnected() = 0;
    // The state's mode.
    virtual std::uint32_t GetDeviceMode() = 0;
    // The state's mode as text (modeText).
    virtual QString GetModeText() = 0;
    // The brush invalid entries are painted on: solid white.
    virtual QBrush GetBackgroundBrush() const = 0;
};

}  // namespace orvx::framework
