#include "PressureUnitFollower.h"

#include "Conversions.h"
#include "DtmTextControl.h"
#include "PressureUnit.h"
#include "frameworkapi/IUIController.h"
#include "frameworkapi/ParameterRead.h"
#include "platform/com/Variant.h"

#include <QLineEdit>

namespace orvx::controls {

void CPressureUnitFollower::AddEntry(CDtmTextControl* entry)
{
    if (entry)
        m_entries.push_back(entry);
}

void CPressureUnitFollower::AddLabel(CDtmTextControl* field)
{
    if (field)
        m_labels.push_back(field);
}

void CPressureUnitFollower::AddView(std::function<void(std::uint32_t)> apply)
{
    if (apply)
        m_views.push_back(std::move(apply));
}

bool CPressureUnitFollower::Follow(std::uint32_t unitCode)
{
    const QString name = pressureUnitName(unitCode);
    if (unitCode == m_shown || name.isEmpty())
        return false;
    for (CDtmTextControl* entry : m_entries) {
        if (m_shown)
            convertPendingEntry(*entry, *m_shown, unitCode);
        entry->SetUnitText(name);
        entry->SetValidatorUnit(unitCode);
    }
    for (CDtmTextControl* field : m_labels)
        field->SetUnitText(name);
    for (const auto& apply : m_views)
        apply(unitCode);
    m_shown = unitCode;
    return true;
}

void CPressureUnitFollower::convertPendingEntry(CDtmTextControl& entry, std::uint32_t from, std::uint32_t to) const
{
    // The edit's own modified flag: set by typing, cleared by a send the device took and by
    // every refresh from the device.
    auto* edit = qobject_cast<QLineEdit*>(entry.GetEditWindow());
    if (!edit || !edit->isModified())
        return;
    try {
        const double value = CConversions::to_double(edit->text());
        edit->setText(CConversions::from_double(convertPressure(value, from, to), pressureDecimals(to)));
        edit->setModified(true);  // still to be sent
    } catch (const std::exception&) {
        // An entry that is no number stays as typed; its validator reports it.
    }
}

std::optional<std::uint32_t> CPressureUnitFollower::ReadUnit(framework::IUIController* controller, const QString& tag)
{
    return framework::readParameter(controller, tag, &com::Variant::toUInt32);
}

}  // namespace orvx::controls
