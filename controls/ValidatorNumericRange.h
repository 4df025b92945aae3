#pragma once

#include "IValidator.h"

#include <limits>

namespace orvx::framework {
class ITextResource;
}

namespace orvx::controls {

// A whole number within [min, max], and a multiple of 'step' when step is above 0. The step
// applies to the number itself, not to its distance from min.
class CValidatorNumericRange : public IValidator {
public:
    CValidatorNumericRange(framework::ITextResource* texts, std::int32_t min, std::int32_t max, std::int32_t step);

    bool Validate(const com::Variant& entry) override;
    void SetUnit(std::uint32_t) override {}
    QString GetMessage() const override { return m_message; }
    std::uint32_t GetErrorCode() const override { return m_errorCode; }

private:
    bool fail(std::uint32_t textId, const QString& message);

    framework::ITextResource* m_texts;
    QString m_message;
    std::int32_t m_min;
    std::int32_t m_max;
    std::int32_t m_step;
    std::uint32_t m_errorCode = 0;
};

}  // namespace orvx::controls
