#include "EntryPairCheck.h"

#include "controls/Conversions.h"
#include "controls/DtmTextControl.h"
#include "device/DeviceNames.h"
#include "framework/ApplicationViewBase.h"
#include "frameworkapi/IUIController.h"

#include <QLineEdit>

namespace orvx::views {

CEntryPairCheck::CEntryPairCheck(framework::CApplicationViewBase& page, std::int32_t lowControl,
                                 std::int32_t highControl, Rule consistent, QString refusal, Keeper keeper)
    : m_page(page),
      m_lowControl(lowControl),
      m_highControl(highControl),
      m_rule(consistent),
      m_refusal(std::move(refusal)),
      m_keeper(std::move(keeper))
{
}

void CEntryPairCheck::Watch(controls::CDtmTextControl* low, controls::CDtmTextControl* high)
{
    m_low = low;
    m_high = high;
    for (controls::CDtmTextControl* entry : {low, high})
        if (entry)
            entry->AddLeaveCheck([this] { Check(); });
}

bool CEntryPairCheck::Consistent() const
{
    return m_keeper.consistent ? m_keeper.consistent() : m_consistent;
}

void CEntryPairCheck::record(bool consistent)
{
    if (m_keeper.setConsistent)
        m_keeper.setConsistent(consistent);
    else
        m_consistent = consistent;
}

void CEntryPairCheck::Check()
{
    // A user who may not write corrects nothing: nothing is counted for them. Each entry's own
    // range error comes first.
    framework::IUIController* controller = m_page.Controller();
    if (!controller || !controller->IsWritable() || !m_low || !m_high || m_page.IsInvalid(m_lowControl) ||
        m_page.IsInvalid(m_highControl))
        return;
    const QLineEdit* low = qobject_cast<const QLineEdit*>(m_low->GetEditWindow());
    const QLineEdit* high = qobject_cast<const QLineEdit*>(m_high->GetEditWindow());
    if (!low || !high)
        return;
    bool consistent = true;
    try {
        consistent = m_rule(controls::CConversions::to_double(low->text()),
                            controls::CConversions::to_double(high->text()));
    } catch (const std::exception&) {
        return;
    }
    if (consistent == Consistent())
        return;
    // The device's count first: when it cannot be told, the pair stays as the device counts it.
    controller->SetParameterValue(device::tag::InvalidEntries, com::Variant::integer(consistent ? -1 : 1));
    record(consistent);
}

bool CEntryPairCheck::Verify()
{
    const bool consistent = Consistent();
    if (!consistent && !m_page.IsInvalid(m_lowControl) && !m_page.IsInvalid(m_highControl))
        m_page.Refuse(m_refusal);
    return consistent;
}

}  // namespace orvx::views
