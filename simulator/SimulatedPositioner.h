#pragma once

#include "CommandRunner.h"
#include "ControlLinks.h"
#include "DeviceState.h"
#include "DeviceTasks.h"
#include "Scheduler.h"
#include "SimulatedFaults.h"
#include "device/BusinessObjectFacets.h"
#include "device/IDtmActiveXControl.h"
#include "platform/com/ComObject.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvx::simulator {

// The business object of one simulated positioner: parameters by tag, device commands that
// answer through notifications, the state document, texts, and a valve that moves in
// scheduler time. It starts connected, online, with private dialogs enabled and the user
// level "maintenance".
//
// Notifications go to every registered control through its IUpdateUI, always from scheduler
// tasks or from the simulator's own setters below, never from inside a call of a control.
// While connected and with a control registered, the measured values are refreshed every
// 500 ms and announced with 524; a running PST moves them more often.
//
// A PST (method 4), in normal mode only, strokes the valve model by the set travel and speed,
// dwells and strokes it back, in scheduler time; it stops early and fills back at the Minimum
// Pressure, the Breakout Limit or the Maximum Time. Its signature, the results read off it and
// their grade against the limits are stored when it ends (docs/simulator.md). Cancelling
// (method 23) ends the running command with -6 and its method number, then answers 523. The
// countdown to the next scheduled PST ("16013"/"16014") runs from the schedule method 19 wrote
// (PstSchedule). A terminal board test fails while the ESD is tripped, and loading the ESD event
// (33) fails until the valve has tripped once.
//
// In setup mode the device calibrates: find stops (8), the manual stops (9, 11, 10, 31) and
// autotune (12) drive the valve along their own paths, refreshed with 524 like the live values,
// and store the stops or the tuning when they succeed; a failure answers -6 and latches its
// fault bit. Writing parameters (5) sends the configured identity and air action to the device.
//
// In manual mode the valve holds where it is until driven by hand: full open (14), full close
// (15) or to the manual setpoint "9000" (16) stroke it at the relay's speed and answer when it
// gets there. The position retransmitter's output follows the position over the range
// "10001" to "10000", or holds the analog output "10002" that method 17 fixes until method 18
// (or 17 with "0") gives it back to the position.
class SimulatedPositioner : public com::ComObject<host::RegistryFacet, host::CurrentFacet, host::EarlierFacet> {
public:
    static constexpr std::int64_t kTickMs = 500;

    // 'scheduler' must outlive the positioner.
    explicit SimulatedPositioner(IScheduler& scheduler);
    ~SimulatedPositioner() override;

    // Each sends the new state document (notification 1) when it changes something. Going
    // offline fails a running command with -6 and makes every command answer -2.
    void Connect();
    void Disconnect();
    bool IsConnected() const { return m_connected; }
    void SetUserLevel(std::u16string_view level);
    void SetPrivateDialogs(bool enabled);

    // Later registrations answer false (read-only controls); they are still notified.
    void SetRefuseRegistration(bool refuse) { m_refuseRegistration = refuse; }
    std::size_t RegisteredControlCount() const { return m_controls.Count(); }
    // Translations by text key; keys without one answer "##" followed by the key.
    void LoadTexts(std::map<std::u16string, std::u16string> texts) { m_texts = std::move(texts); }

    // The process around the valve.
    void SetInputSignal(double mA) { m_device.valve.SetInputSignal(mA); }
    void SetSupplyPressure(double psi);

    // Simulated troubles, in effect at once and announced with 524: the valve's mechanics for
    // the next stroke, the supply, the ESD trip (recorded as the ESD event that method 33
    // loads), or how commands and parameter writes are answered.
    void SetFault(SimulatedFault fault, bool active);
    bool HasFault(SimulatedFault fault) const { return m_device.faults.Has(fault); }
    // In the order of kSimulatedFaults.
    std::vector<SimulatedFault> ActiveFaults() const { return m_device.faults.Active(); }

    // The command running now and how long it has run, in the device's time.
    struct Operation {
        int method;
        std::int64_t elapsedMs;
    };
    std::optional<Operation> RunningOperation() const;
    // The position retransmitter's loop current, mA, and whether a fixed output holds it.
    double RetransmittedOutput() const;
    bool OutputFixed() const { return m_device.fixedOutput.has_value(); }

    com::Status CloseControl(const com::BStr& callerTag) override;
    // An unknown tag fails with InvalidArgument.
    com::Status GetParameter(const com::BStr& tag, com::Variant* value) override;
    // A value is stored under a known tag, an unknown one fails with InvalidArgument. An empty
    // value starts the command whose method number is the tag; its outcome arrives later as a
    // notification. "15001" adds the value to the invalid-entry count; a pressure unit
    // ("4003" or "4007") sets both and converts the stored pressures; the configured tag,
    // descriptor and final assembly number ("1006" to "1008") also change the header's
    // ("1001", "1002", "1004") and are announced with 525. While the device refuses writes,
    // every value fails with Failure.
    com::Status SetParameter(const com::BStr& tag, const com::Variant& value, std::uint32_t* word) override;

private:
    com::Status getText(host::Via, const com::BStr& key, com::BStr* text) override;
    com::Status getStateDocument(host::Via, com::BStr* document) override;
    com::Status registerControl(host::Via, const com::BStr& progId, const com::BStr& callerTag,
                                host::IDtmActiveXControl* control, bool write, bool* accepted) override;
    com::Status unregisterControl(host::Via, const com::BStr& callerTag, bool was, bool* result) override;

    void store(const std::string& tag, const com::Variant& value);
    void changePressureUnit(int unit);
    void startCommand(int method);
    void applySupply();
    void trip(bool tripped);

    void notifyLater(std::int32_t code, com::Variant value = {});
    void publishState();
    std::u16string stateDocument() const;
    void updateTicking();
    void tick();

    // Each part works on those declared before it; the pending tasks are cancelled first.
    DeviceState m_device;
    ControlLinks m_controls;
    DeviceTasks m_tasks;
    CommandRunner m_commands{m_device, m_controls, m_tasks};
    std::map<std::u16string, std::u16string> m_texts;
    std::u16string m_userLevel = u"maintenance";
    bool m_connected = true;
    bool m_refuseRegistration = false;
    double m_supply = 60.0;  // psi on the supply line
    std::optional<DeviceTasks::Key> m_tickTask;
};

}  // namespace orvx::simulator
