#include "ValidatorNumericRange.h"

#include "Conversions.h"
#include "ValidatorMessage.h"
#include "device/StringBridge.h"
#include "frameworkapi/ITextResource.h"
#include "frameworkapi/TextIds.h"

namespace orvx::controls {

CValidatorNumericRange::CValidatorNumericRange(framework::ITextResource* texts, std::int32_t min, std::int32_t max,
                                               std::int32_t step)
    : m_texts(texts), m_min(min), m_max(max), m_step(step)
{
}

bool CValidatorNumericRange::fail(std::uint32_t textId, const QString& message)
{
    // Without texts the entry is still invalid, but neither message nor code is known.
    if (m_texts) {
        m_message = message;
        m_errorCode = textId;
    }
    return false;
}

bool CValidatorNumericRange::Validate(const com::Variant& entry)
{
    m_message.clear();
    std::int32_t number = 0;
    try {
        number = CConversions::to_long(device::variantText(entry), 10);
    } catch (const std::exception&) {
        return fail(framework::TextNotWholeNumber,
                    m_texts ? m_texts->GetTextById(framework::TextNotWholeNumber) : QString());
    }
    if (number < m_min || number > m_max) {
        return fail(framework::TextValueOutOfRange,
                    m_texts ? rangeMessage(*m_texts, CConversions::from_long(m_min), CConversions::from_long(m_max))
                            : QString());
    }
    if (m_step > 0 && number % m_step != 0) {
        return fail(framework::TextNotDivisible,
                    m_texts ? fillPlaceholder(m_texts->GetTextById(framework::TextNotDivisible),
                                              QStringLiteral("{step}"), CConversions::from_long(m_step))
                            : QString());
    }
    return true;
}

}  // namespace orvx::controls
