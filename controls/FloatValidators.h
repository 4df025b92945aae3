#pragma once

#include "IValidator.h"

namespace orvx::framework {
class ITextResource;
}

namespace orvx::controls {

// A floating-point number within [min, max], both ends included.
class CValidatorNumericRange_double : public IValidator {
public:
    CValidatorNumericRange_double(framework::ITextResource* texts, double min, double max);

    bool Validate(const com::Variant& entry) override;
    void SetUnit(std::uint32_t) override {}
    QString GetMessage() const override { return m_message; }
    std::uint32_t GetErrorCode() const override { return m_errorCode; }

    double min() const { return m_min; }
    double max() const { return m_max; }

protected:
    // How many decimals the limits are written with in the out-of-range message.
    virtual int limitDecimals() const { return 2; }
    void setRange(double min, double max);
    // Adds to the message of a failed validation; without texts there is no message to extend.
    void appendToMessage(const QString& text)
    {
        if (m_texts)
            m_message += text;
    }

private:
    double m_min;
    double m_max;
    QString m_message;
    framework::ITextResource* m_texts;
    std::uint32_t m_errorCode = 0;
};

// As the floating-point range, and 0 is also accepted (an analog output of 0 selects normal mode).
class CValidatorSpecialRange : public CValidatorNumericRange_double {
public:
    using CValidatorNumericRange_double::CValidatorNumericRange_double;
    bool Validate(const com::Variant& entry) override;
};

// One range per pressure unit; the range of the active unit applies. Starts in psi.
class CValidatorPressureRange : public CValidatorNumericRange_double {
public:
    struct Range {
        double min;
        double max;
    };
    CValidatorPressureRange(framework::ITextResource* texts, Range psi, Range bar, Range kpa);

    void SetUnit(std::uint32_t unitCode) override;
    std::uint32_t unit() const { return m_unit; }

protected:
    int limitDecimals() const override;

private:
    Range m_psi;
    Range m_bar;
    Range m_kpa;
    std::uint32_t m_unit;
};

}  // namespace orvx::controls
