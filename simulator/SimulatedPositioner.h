#pragma once

#include "CommandRunner.h"
#include "DeviceState.h"
#include "DeviceTasks.h"
#include "Scheduler.h"
#include "SimulatedFaults.h"
#include "device/BusinessObjectFacets.h"
#include "device/ControlLinks.h"
#include "device/IDtmActiveXControl.h"
#include "device/TextTable.h"
#include "platform/com/ComObject.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvx::simulator {

// The business object of one simulated positioner, and its link to the controls: it answers
// parameters by tag, starts the device's methods, whose outcome arrives later as notifications,
// and gives the state document and texts. It starts connected, online, with private dialogs
// enabled and the user level "maintenance". The device behind it is the DeviceState with its
// ValveModel, and the CommandRunner runs its methods; docs/simulator.md says how they behave.
//
// Notifications go to every registered control through its IUpdateUI, always from scheduler
// tasks or from the simulator's own setters below, never from inside a call of a control.
// While connected and with a control registered, the measured values are refreshed every
// 500 ms and announced with NewValues; a running PST or calibration moves them more often.
//
// The methods, named as the device vocabulary names them: a PartialStrokeTest, in normal mode
// only, strokes the valve model by the set travel and speed, dwells and strokes it back, stopping
// early at the Minimum Pressure, the Breakout Limit or the Maximum Time; its signature, results
// and grade are stored when it ends. In setup mode FindStops, the manual stops and Autotune drive
// the valve along their own paths and store the stops or the tuning when they succeed; a failure
// answers FailedInDevice and latches its fault bit. In manual mode the valve holds until
// FullOpen, FullClose or ToManualSetpoint drive it. FixAnalogOutput holds the retransmitter at
// AnalogOutput until ReleaseAnalogOutput (or a fix at 0) gives it back to the position.
// WritePstSchedule starts the countdown (PstDaysToNext, PstMinutesToNext) over.
class SimulatedPositioner : public com::ComObject<device::RegistryFacet, device::CurrentFacet, device::EarlierFacet> {
public:
    static constexpr std::int64_t kTickMs = 500;

    // 'scheduler' must outlive the positioner.
    explicit SimulatedPositioner(IScheduler& scheduler);
    ~SimulatedPositioner() override;

    // Each sends the new state document when it changes something. Going offline fails a
    // running method with FailedInDevice and makes every method answer Busy.
    void Connect();
    void Disconnect();
    bool IsConnected() const { return m_connected; }
    void SetUserLevel(std::u16string_view level);
    void SetPrivateDialogs(bool enabled);

    // Later registrations answer false (read-only controls); they are still notified.
    void SetRefuseRegistration(bool refuse) { m_refuseRegistration = refuse; }
    std::size_t RegisteredControlCount() const { return m_controls.Count(); }
    // Translations by text key; keys without one answer "##" followed by the key.
    void LoadTexts(std::map<std::u16string, std::u16string> texts) { m_texts.Load(std::move(texts)); }

    // The process around the valve.
    void SetInputSignal(double mA) { m_device.valve.SetInputSignal(mA); }
    void SetSupplyPressure(double psi);

    // Simulated troubles, in effect at once and announced with NewValues: the valve's mechanics
    // for the next stroke, the supply, the ESD trip (recorded as the ESD event that LoadEsdEvents
    // loads), or how methods and parameter writes are answered.
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
    // A tag the device vocabulary does not hold fails with InvalidArgument.
    com::Status GetParameter(const com::BStr& tag, com::Variant* value) override;
    // A value is stored under a known tag by the device's rules (DeviceState::Write), an unknown
    // tag fails with InvalidArgument; a change of the identity the header shows is announced
    // with IdentityChanged. An empty value starts the method whose number is the tag; its outcome
    // arrives later as a notification. While the device refuses writes, every value fails with
    // Failure.
    com::Status SetParameter(const com::BStr& tag, const com::Variant& value, std::uint32_t* word) override;

private:
    com::Status getText(device::Via, const com::BStr& key, com::BStr* text) override;
    com::Status getStateDocument(device::Via, com::BStr* document) override;
    com::Status registerControl(device::Via, const com::BStr& progId, const com::BStr& callerTag,
                                device::IDtmActiveXControl* control, bool write, bool* accepted) override;
    com::Status unregisterControl(device::Via, const com::BStr& callerTag, bool was, bool* result) override;

    void startMethod(int method);
    void applySupply();
    void trip(bool tripped);

    void notifyLater(std::int32_t code, com::Variant value = {});
    void publishState();
    std::u16string stateDocument() const;
    void updateTicking();
    void tick();

    // Each part works on those declared before it; the pending tasks are cancelled first.
    DeviceState m_device;
    device::ControlLinks m_controls;
    DeviceTasks m_tasks;
    CommandRunner m_commands{m_device, m_tasks, m_controls};
    device::TextTable m_texts;
    std::u16string m_userLevel = u"maintenance";
    bool m_connected = true;
    bool m_refuseRegistration = false;
    double m_supply = 60.0;  // psi on the supply line
    std::optional<DeviceTasks::Key> m_tickTask;
};

}  // namespace orvx::simulator
