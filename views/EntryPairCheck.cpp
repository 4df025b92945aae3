#include "EntryPairCheck.h"

#include "controls/Conversions.h"
#include "device/DeviceNames.h"
#include "framework/ApplicationViewBase.h"
#include "frameworkapi/IUIController.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/PostCall.h"

#include <QEvent>
#include <QLineEdit>

namespace orvx::views {

CEntryPairCheck::CEntryPairCheck(framework::CApplicationViewBase& page, std::int32_t lowControl,
                                 std::int32_t highControl, Rule consistent)
    : QObject(&page), m_page(page), m_lowControl(lowControl), m_highControl(highControl), m_rule(consistent)
{
}

void CEntryPairCheck::Watch(QLineEdit* low, QLineEdit* high)
{
    m_low = low;
    m_high = high;
    for (QLineEdit* edit : {low, high})
        if (edit)
            edit->installEventFilter(this);
}

bool CEntryPairCheck::eventFilter(QObject* watched, QEvent* event)
{
    if (event && event->type() == QEvent::FocusOut)
        ui::runGuarded("entry pair check", [this] { Check(); });
    return QObject::eventFilter(watched, event);
}

void CEntryPairCheck::Check()
{
    // Each entry's own range error comes first.
    if (!m_low || !m_high || m_page.IsInvalid(m_lowControl) || m_page.IsInvalid(m_highControl))
        return;
    double low = 0;
    double high = 0;
    try {
        low = controls::CConversions::to_double(m_low->text());
        high = controls::CConversions::to_double(m_high->text());
    } catch (const std::exception&) {
        return;
    }
    const bool consistent = m_rule(low, high);
    if (consistent == m_consistent)
        return;
    m_page.Controller()->SetParameterValue(device::tag::InvalidEntries, com::Variant::int32(consistent ? -1 : 1));
    m_consistent = consistent;
}

bool CEntryPairCheck::Verify(const QString& message) const
{
    const bool aloneWrong = !m_consistent && !m_page.IsInvalid(m_lowControl) && !m_page.IsInvalid(m_highControl);
    if (aloneWrong && m_page.Controller() && m_page.Controller()->IsPrivateDialogEnabled())
        ui::showMessage(&m_page, QStringLiteral("Orvx ESD HART"), message, ui::MessageButtons::Ok,
                        ui::MessageIcon::Error);
    return m_consistent;
}

}  // namespace orvx::views
