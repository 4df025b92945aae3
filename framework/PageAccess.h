#pragma once

#include "frameworkapi/DeviceState.h"

#include <QString>

#include <cstdint>

class QLabel;

namespace orvx::framework {

class COperationButtons;
class IGatedPage;

// Gating of one page by connection, device mode, user rights and other pages' operations: the
// restriction it is under, what lifting and imposing each part of it does to the page's
// controls and operation buttons, and the information label's message. The common part of
// each gate is done here; the page adds its own through IGatedPage.
class CPageAccess {
public:
    // Restriction bits: why the page is currently restricted.
    enum RestrictionBit : std::uint32_t {
        RestrictedOffline = 1,
        RestrictedByMode = 2,
        RestrictedByOperation = 4,
        RestrictedReadOnly = 8,
    };

    // 'information' may be none: the messages are then shown nowhere.
    CPageAccess(IGatedPage& page, COperationButtons& buttons, QLabel* information);

    // Recomputes the restriction from the device's state (its writable flag the user's rights)
    // and whether another page's device operation runs, and applies what changed.
    void UpdateAccess(const DeviceState& state, bool otherOperationRunning);
    // Gates or ungates the page for the device's mode, which may have changed.
    void ReevaluateMode(std::uint32_t mode);
    // Mode gating: with 'allowed' false, the mode button alone stays enabled, the controls are
    // disabled for the mode and the label names the modes required; true undoes it. The page's
    // own part follows.
    void GateForMode(bool allowed);
    // Connection gating: offline disables every button and says so on the label; the page's
    // own part follows.
    void GateForOnline(bool online);
    // Sets or clears the read-only part of the restriction.
    void SetReadOnly(bool readOnly);

    // Device modes (1 Setup, 2 Manual, 4 Normal) of which the device must be in one for the
    // page's methods and parameters; 512 accepts any mode.
    void SetRequiredMode(std::uint32_t modes) { m_requiredMode = modes; }
    std::uint32_t RequiredMode() const { return m_requiredMode; }
    std::uint32_t Restriction() const { return m_restriction; }

private:
    // The required modes by name ("Setup or Manual"); "Setup" when none is named.
    QString ModeName() const;
    void Lift(std::uint32_t previous, std::uint32_t next);
    void Impose(std::uint32_t next);

    IGatedPage& m_page;
    COperationButtons& m_buttons;
    QLabel* m_information;
    std::uint32_t m_requiredMode = ModeAny;
    std::uint32_t m_restriction = 0;
};

}  // namespace orvx::framework
