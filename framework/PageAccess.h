#pragma once

#include <QString>

#include <cstdint>

namespace orvx::framework {

class CApplicationViewBase;
class COperationButtons;

// Gating of one page by connection, device mode, user rights and other pages' operations: the
// restriction it is under, what lifting and imposing each part of it does to the page's
// controls and operation buttons, and the information label's message.
//
// Mode gating goes through the page's GateForMode, which pages extend; the page's base
// implementation ends in GateForMode here.
class CPageAccess {
public:
    CPageAccess(CApplicationViewBase& page, COperationButtons& buttons);

    // Recomputes the restriction and applies what changed; nothing when 'force' is false or
    // without a controller.
    void UpdateAccess(bool force);
    // Gates or ungates the page after the device mode may have changed.
    void ReevaluateMode();
    // Mode gating: with 'allowed' false, the mode button alone stays enabled, the controls are
    // disabled for the mode and the label names the modes required; true undoes it.
    void GateForMode(bool allowed);
    // Connection gating: offline disables every button and says so on the label. Pages extend
    // it through the page's GateForOnline, which ends here.
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

    CApplicationViewBase& m_page;
    COperationButtons& m_buttons;
    std::uint32_t m_requiredMode = 512;
    std::uint32_t m_restriction = 0;
};

}  // namespace orvx::framework
