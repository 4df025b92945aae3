#include "DtmBitEnumControl.h"

#include "BlockEvents.h"
#include "Conversions.h"
#include "IValidator.h"
#include "UIEventsImpl.h"
#include "ValidatorFactory.h"
#include "frameworkapi/IUIController.h"
#include "platform/ui/PostCall.h"

#include <QCheckBox>

namespace orvx::controls {

namespace {

// Shifting by 32 or more is undefined, so bits outside the set get no mask at all.
std::uint32_t maskOf(int bitNumber)
{
    return bitNumber >= 0 && bitNumber < 32 ? std::uint32_t{1} << bitNumber : 0;
}

}  // namespace

CDtmBitEnumControl::CDtmBitEnumControl(std::int32_t controlId, framework::IApplicationView* page,
                                       framework::IUIController* controller)
    : CDtmControlBase(controlId, page, controller)
{
}

CDtmBitEnumControl::~CDtmBitEnumControl() = default;

void CDtmBitEnumControl::Attach(const QList<Entry>& entries)
{
    for (const Entry& entry : entries) {
        if (!entry.box)
            continue;
        if (!entry.caption.isEmpty())
            entry.box->setText(entry.caption);
        m_slots.append({entry.tag, maskOf(entry.bitNumber), entry.box});
        const qsizetype index = m_slots.size() - 1;
        connect(entry.box, &QCheckBox::clicked, this, [this, index](bool checked) {
            ui::runGuarded("bit check box click", [&] { onClicked(m_slots.at(index), checked); });
        });
    }
}

void CDtmBitEnumControl::Configure(const xml::XmlNode& controlData)
{
    CBlockEvents block(m_blocked);
    try {
        m_validator = CValidatorFactory::CreateValidator(controlData,
                                                         controller() ? controller()->GetTextResource() : nullptr);
        readAvailable(controlData);
        if (const auto value = attribute(controlData, "value")) {
            m_value = CConversions::to_ulong(*value, 10);
            showValue();
        }
        readSemanticError(controlData, "inconsistentFlag");
        readEnabled(controlData);
        readModified(controlData);
    } catch (const std::exception&) {
        // A malformed attribute ends the configuration there.
    }
}

void CDtmBitEnumControl::Refresh()
{
    CBlockEvents block(m_blocked);
    for (const Slot& slot : m_slots) {
        CBitEnumGetEventImpl event(GetViewId(), GetControlId(), slot.tag);
        event.SetEnabled(m_slots.first().box && m_slots.first().box->isEnabled());
        if (!dispatch(event)) {
            for (const Slot& other : m_slots)
                if (other.box)
                    other.box->setChecked(false);
            continue;
        }
        takeEventError(event);
        if (event.IsError())
            continue;
        const bool set = event.GetValue() != 0;
        m_value = set ? (m_value | slot.mask) : (m_value & ~slot.mask);
        if (slot.box)
            slot.box->setChecked(set);
        setBoxesEnabled(event.IsEnabled() && mayEdit());
    }
}

void CDtmBitEnumControl::ApplyEnabled()
{
    setBoxesEnabled(mayEdit());
}

QList<QWidget*> CDtmBitEnumControl::modeWindows() const
{
    QList<QWidget*> windows;
    for (const Slot& slot : m_slots)
        windows.append(slot.box.data());
    return windows;
}

void CDtmBitEnumControl::onClicked(const Slot& slot, bool checked)
{
    const std::uint32_t previous = m_value;
    m_value = checked ? (m_value | slot.mask) : (m_value & ~slot.mask);
    if (m_value == previous || m_blocked || !controller())
        return;
    bool valid = true;
    if (m_validator) {
        // The validators read signed 32-bit numbers: the bit set goes to them as one, bit for bit.
        valid = m_validator->Validate(com::Variant::int32(static_cast<std::int32_t>(m_value)));
        m_validationMessage = valid ? QString() : m_validator->GetMessage();
    }
    // Each entry is a parameter of its own: the write carries the entry's new state, 1 or 0,
    // never the whole set, which would read back as "set" for an entry the user cleared.
    CBitEnumSetEventImpl event(GetViewId(), GetControlId(), slot.tag, checked ? 1u : 0u, valid);
    if (dispatch(event))
        takeEventError(event);
}

void CDtmBitEnumControl::showValue()
{
    for (const Slot& slot : m_slots)
        if (slot.box)
            slot.box->setChecked((m_value & slot.mask) != 0);
}

void CDtmBitEnumControl::setBoxesEnabled(bool enabled)
{
    for (const Slot& slot : m_slots)
        if (slot.box)
            slot.box->setEnabled(enabled);
}

}  // namespace orvx::controls
