#include "PageAccess.h"

#include "ApplicationViewBase.h"
#include "OperationButtons.h"
#include "controls/IFdtControl.h"
#include "frameworkapi/IUIController.h"

#include <QLabel>
#include <QStringList>

namespace orvx::framework {

namespace {

using Page = CApplicationViewBase;

}  // namespace

CPageAccess::CPageAccess(CApplicationViewBase& page, COperationButtons& buttons) : m_page(page), m_buttons(buttons) {}

void CPageAccess::UpdateAccess(bool force)
{
    IUIController* controller = m_page.Controller();
    if (!force || !controller)
        return;
    std::uint32_t next = 0;
    if (!controller->IsWritable())
        next = Page::RestrictedReadOnly;
    else if (!controller->IsDeviceConnected())
        next = Page::RestrictedOffline;
    else if (m_requiredMode != ModeAny && (controller->GetDeviceMode() & m_requiredMode) == 0)
        next = Page::RestrictedByMode;
    if (controller->IsOperationRunning() && controller->GetOperationOwner() != m_page.ViewId())
        next |= Page::RestrictedByOperation;
    if (next == m_restriction)
        return;

    const std::uint32_t previous = m_restriction;
    const auto lifted = [&](std::uint32_t bit) { return (previous & bit) && !(next & bit); };
    if (lifted(Page::RestrictedByMode))
        m_page.GateForMode(true);
    if (lifted(Page::RestrictedOffline))
        m_page.GateForOnline(true);
    if (lifted(Page::RestrictedByOperation))
        m_buttons.Reapply();
    if ((previous & Page::RestrictedReadOnly) && next < Page::RestrictedReadOnly) {
        m_page.RefreshWriteAccess();
        m_buttons.Reapply();
    }

    if (next & Page::RestrictedByMode)
        m_page.GateForMode(false);
    if (next & Page::RestrictedOffline)
        m_page.GateForOnline(false);
    if ((next & Page::RestrictedByOperation) && m_buttons.Mask() != 0)
        m_buttons.SetAllEnabled(false);
    if (next >= Page::RestrictedReadOnly) {
        m_page.RefreshWriteAccess();
        // A user who may not write may not start device operations either; lifting the
        // restriction re-applies the mask.
        if (m_buttons.Mask() != 0)
            m_buttons.SetAllEnabled(false);
    }
    m_restriction = next;
}

void CPageAccess::SetReadOnly(bool readOnly)
{
    if (readOnly)
        m_restriction |= Page::RestrictedReadOnly;
    else
        m_restriction &= ~std::uint32_t(Page::RestrictedReadOnly);
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
    QLabel* information = m_page.InformationLabel();
    if (allowed) {
        m_buttons.Reapply();
        m_page.ForEachControl([](controls::IFdtControl& control) { control.EnableForMode(true); });
        if (information) {
            information->clear();
            information->hide();
        }
        return;
    }
    if (m_buttons.Mask() != 1)
        m_buttons.KeepModeButtonOnly();
    m_page.ForEachControl([](controls::IFdtControl& control) { control.EnableForMode(false); });
    if (information) {
        const QString message =
            QStringLiteral("Please change to %1 mode to activate the method and parameters.").arg(ModeName());
        information->setText(message.left(127));
        information->show();
    }
}

void CPageAccess::GateForOnline(bool online)
{
    QLabel* information = m_page.InformationLabel();
    if (online) {
        m_buttons.Reapply();
        if (information)
            information->hide();
        return;
    }
    if (m_buttons.Mask() != 0)
        m_buttons.SetAllEnabled(false);
    if (information) {
        information->setText(QStringLiteral("Please change to online mode to activate the page."));
        information->show();
    }
}

void CPageAccess::ReevaluateMode()
{
    IUIController* controller = m_page.Controller();
    if (!controller)
        return;
    const std::uint32_t mode = controller->GetDeviceMode();
    if (m_requiredMode == ModeAny || mode == ModeDisconnected) {
        m_buttons.Reapply();
        return;
    }
    const bool gated = m_restriction & Page::RestrictedByMode;
    if ((mode & m_requiredMode) == 0) {
        if (!gated)
            m_page.GateForMode(false);
        m_restriction |= Page::RestrictedByMode;
        return;
    }
    if (gated)
        m_page.GateForMode(true);
    else
        m_buttons.Reapply();
    m_restriction &= ~std::uint32_t(Page::RestrictedByMode);
}

}  // namespace orvx::framework
