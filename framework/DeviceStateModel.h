#pragma once

#include "frameworkapi/DeviceState.h"

#include <optional>

namespace orvx::framework {

class IUIController;

// Derives the device's part of a control's DeviceState (connection, mode, fail-high) and
// whether message boxes may be shown, for the controller that owns it.
//
// A notification holds one derivation: everything that reacts to it sees the same state and
// the device is read for it once. Outside a notification (a user's click, a page shown) the
// state is derived afresh each time it is asked for, so that no decision rests on an answer
// older than the action. Whether message boxes may be shown is read only when first asked
// for, at most once per notification: most notifications show none.
//
// Reads go through the controller's parameter access: a failed read is shown on its status
// line. A connection or dialog flag that cannot be read counts as true; a state or mode that
// cannot be read gives ModeUndetermined. Without a device (no edit model) the device counts
// as disconnected and no box may be shown.
class CDeviceStateModel {
public:
    explicit CDeviceStateModel(IUIController& device);
    CDeviceStateModel(const CDeviceStateModel&) = delete;
    CDeviceStateModel& operator=(const CDeviceStateModel&) = delete;

    // One notification's derivation, held until the object ends; holds nest.
    class Hold {
    public:
        explicit Hold(CDeviceStateModel& model);
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        // Whether the device's part differs from the one the notification before saw; the
        // first notification's always does.
        bool Changed() const { return m_changed; }

    private:
        CDeviceStateModel& m_model;
        DeviceState m_outer;
        std::optional<bool> m_outerDialogs;
        bool m_changed = false;
    };

    // The device's part: held while a notification is, else read now. 'writable' stays false;
    // the user's rights are the controller's.
    DeviceState Current();
    // Whether message boxes and modal dialogs may be shown (parameter::PrivateDialogs).
    bool PrivateDialogs();
    // Whether a notification is being handled.
    bool Holding() const { return m_holds > 0; }
    // Whether the notification handled arrived while another was.
    bool Nested() const { return m_holds > 1; }
    // Whether there is a device to read (the controller has an edit model).
    void SetLinked(bool linked) { m_linked = linked; }

private:
    DeviceState derive();
    std::uint32_t deriveMode();

    IUIController& m_device;
    bool m_linked = false;
    int m_holds = 0;
    DeviceState m_held;
    std::optional<bool> m_heldDialogs;
    std::optional<DeviceState> m_lastNotified;
};

}  // namespace orvx::framework
