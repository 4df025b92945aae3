#include "FloatValidators.h"

#include "Conversions.h"
#include "PressureUnit.h"
#include "ValidatorMessage.h"
#include "device/StringBridge.h"
#include "frameworkapi/ITextResource.h"
#include "frameworkapi/TextIds.h"

#include <optional>

namespace orvx::controls {

namespace {

std::optional<double> numberOf(const com::Variant& entry)
{
    try {
        return CConversions::to_double(device::variantText(entry));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace

CValidatorNumericRange_double::CValidatorNumericRange_double(framework::ITextResource* texts, double min, double max)
    : m_min(min), m_max(max), m_texts(texts)
{
}

void CValidatorNumericRange_double::setRange(double min, double max)
{
    m_min = min;
    m_max = max;
}

bool CValidatorNumericRange_double::Validate(const com::Variant& entry)
{
    m_message.clear();
    const auto number = numberOf(entry);
    if (!number) {
        if (m_texts) {
            m_message = m_texts->GetTextById(framework::TextNotFloatingNumber);
            m_errorCode = framework::TextNotFloatingNumber;
        }
        return false;
    }
    // Written so that not-a-number is outside every range.
    if (m_min <= *number && *number <= m_max)
        return true;
    if (m_texts) {
        m_message = rangeMessage(*m_texts, CConversions::from_double(m_min, limitDecimals()),
                                 CConversions::from_double(m_max, limitDecimals()));
        m_errorCode = framework::TextValueOutOfRange;
    }
    return false;
}

bool CValidatorSpecialRange::Validate(const com::Variant& entry)
{
    if (CValidatorNumericRange_double::Validate(entry))
        return true;
    const auto number = numberOf(entry);
    if (!number)
        return false;
    if (*number == 0.0)
        return true;  // the out-of-range message stays stored; the control clears its copy
    appendToMessage(QStringLiteral(" or 0 for normal mode"));
    return false;
}

CValidatorPressureRange::CValidatorPressureRange(framework::ITextResource* texts, Range psi, Range bar, Range kpa)
    : CValidatorNumericRange_double(texts, psi.min, psi.max), m_psi(psi), m_bar(bar), m_kpa(kpa), m_unit(PressurePsi)
{
}

void CValidatorPressureRange::SetUnit(std::uint32_t unitCode)
{
    m_unit = unitCode;
    if (unitCode == PressurePsi)
        setRange(m_psi.min, m_psi.max);
    else if (unitCode == PressureBar)
        setRange(m_bar.min, m_bar.max);
    else if (unitCode == PressureKpa)
        setRange(m_kpa.min, m_kpa.max);
    // Any other code keeps the range; its messages use 0 decimals.
}

int CValidatorPressureRange::limitDecimals() const
{
    return pressureDecimals(m_unit);
}

}  // namespace orvx::controls
