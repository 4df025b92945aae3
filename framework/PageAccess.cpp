#include "PageAccess.h"

#include "IGatedPage.h"
#include "OperationButtons.h"

#include <QLabel>
#include <QStringList>

namespace orvx::framework {

CPageAccess::CPageAccess(IGatedPage& page, COperationButtons& buttons, QLabel* information)
    : m_page(page), m_buttons(buttons), m_information(information)
{
}

void CPageAccess::UpdateAccess(const DeviceState& state, bool otherOperationRunning)
{
    std::uint32_t next = 0;
    if (!state.writable)
        next = RestrictedReadOnly;
    else if (!state.connected)
        next = RestrictedOffline;
    else if (m_requiredMode != ModeAny && (state.mode & m_requiredMode) == 0)
        next = RestrictedByMode;
    if (otherOperationRunning)
        next |= RestrictedByOperation;
    if (next == m_restriction)
        return;
    Lift(m_restriction, next);
    Impose(next);
    m_restriction = next;
}

void CPageAccess::Lift(std::uint32_t previous, std::uint32_t next)
{
    const auto lifted = [&](std::uint32_t bit) { return (previous & bit) && !(next & bit); };
    if (lifted(RestrictedByMode))
        GateForMode(true);
    if (lifted(RestrictedOffline))
        GateForOnline(true);
    if (lifted(RestrictedByOperation))
        m_buttons.Reapply();
    if ((previous & RestrictedReadOnly) && next < RestrictedReadOnly) {
        m_page.RefreshWriteAccess();
        m_buttons.Reapply();
    }
}

void CPageAccess::Impose(std::uint32_t next)
{
    if (next & RestrictedByMode)
        GateForMode(false);
    if (next & RestrictedOffline)
        GateForOnline(false);
    if ((next & RestrictedByOperation) && m_buttons.Mask() != 0)
        m_buttons.SetAllEnabled(false);
    if (next >= RestrictedReadOnly) {
        m_page.RefreshWriteAccess();
        // A user who may not write may not start device operations either; lifting the
        // restriction re-applies the mask.
        if (m_buttons.Mask() != 0)
            m_buttons.SetAllEnabled(false);
    }
}

void CPageAccess::SetReadOnly(bool readOnly)
{
    if (readOnly)
        m_restriction |= RestrictedReadOnly;
    else
        m_restriction &= ~std::uint32_t(RestrictedReadOnly);
}

QString CPageAccess::ModeName() const
{
    QStringList names;
    if (m_requiredMode & ModeSetup)
        names.append(QStringLiteral("Setup"));
    if (m_requiredMode & ModeManual)
        names.append(QStringLiteral("Manual"));
    if (m_requiredMode & ModeNormal)
        names.append(QStringLiteral("Normal"));
    return names.isEmpty() ? QStringLiteral("Setup") : names.join(QStringLiteral(" or "));
}

void CPageAccess::GateForMode(bool allowed)
{
    if (allowed) {
        m_buttons.Reapply();
        m_page.EnableControlsForMode(true);
        if (m_information) {
            m_information->clear();
            m_information->hide();
        }
    } else {
        if (m_buttons.Mask() != 1)
            m_buttons.KeepModeButtonOnly();
        m_page.EnableControlsForMode(false);
        if (m_information) {
            const QString message =
                QStringLiteral("Please change to %1 mode to activate the method and parameters.").arg(ModeName());
            m_information->setText(message.left(127));
            m_information->show();
        }
    }
    m_page.ModeGated(allowed);
}

void CPageAccess::GateForOnline(bool online)
{
    if (online) {
        m_buttons.Reapply();
        if (m_information)
            m_information->hide();
    } else {
        if (m_buttons.Mask() != 0)
            m_buttons.SetAllEnabled(false);
        if (m_information) {
            m_information->setText(QStringLiteral("Please change to online mode to activate the page."));
            m_information->show();
        }
    }
    m_page.OnlineGated(online);
}

void CPageAccess::ReevaluateMode(std::uint32_t mode)
{
    if (m_requiredMode == ModeAny || mode == ModeDisconnected) {
        m_buttons.Reapply();
        return;
    }
    const bool gated = m_restriction & RestrictedByMode;
    if ((mode & m_requiredMode) == 0) {
        if (!gated)
            GateForMode(false);
        m_restriction |= RestrictedByMode;
        return;
    }
    if (gated)
        GateForMode(true);
    else
        m_buttons.Reapply();
    m_restriction &= ~std::uint32_t(RestrictedByMode);
}

}  // namespace orvx::framework
