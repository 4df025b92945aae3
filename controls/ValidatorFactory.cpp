#include "ValidatorFactory.h"

#include "Conversions.h"
#include "FloatValidators.h"
#include "ValidatorNumericRange.h"
#include "device/StringBridge.h"
#include "platform/com/ComError.h"
#include "platform/xml/XmlDocument.h"

#include <limits>

namespace orvx::controls {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The attribute's text when it is present and not empty.
const char* limitText(const xml::XmlNode& validator, const char* attribute)
{
    const char* text = validator.attributeUtf8(attribute);
    return text && *text ? text : nullptr;
}

std::int32_t wholeLimit(const xml::XmlNode& validator, const char* attribute, std::int32_t fallback)
{
    const char* text = limitText(validator, attribute);
    return text ? device::textVariant(QString::fromUtf8(text)).toInt32() : fallback;
}

double floatLimit(const xml::XmlNode& validator, const char* attribute, double fallback)
{
    const char* text = limitText(validator, attribute);
    return text ? CConversions::to_double(QUtf8StringView(text)) : fallback;
}

std::unique_ptr<IValidator> build(const xml::XmlNode& validator, framework::ITextResource* texts)
{
    const QLatin1StringView type(validator.attributeUtf8("type"));
    if (type == QLatin1String("numericRange")) {
        return std::make_unique<CValidatorNumericRange>(
            texts, wholeLimit(validator, "min", std::numeric_limits<std::int32_t>::min()),
            wholeLimit(validator, "max", std::numeric_limits<std::int32_t>::max()), wholeLimit(validator, "step", 0));
    }
    if (type == QLatin1String("numericRange_double")) {
        return std::make_unique<CValidatorNumericRange_double>(texts, floatLimit(validator, "min", -kInfinity),
                                                               floatLimit(validator, "max", kInfinity));
    }
    if (type == QLatin1String("pressureRange")) {
        using Range = CValidatorPressureRange::Range;
        return std::make_unique<CValidatorPressureRange>(
            texts, Range{floatLimit(validator, "minpsi", -kInfinity), floatLimit(validator, "maxpsi", kInfinity)},
            Range{floatLimit(validator, "minbar", -kInfinity), floatLimit(validator, "maxbar", kInfinity)},
            Range{floatLimit(validator, "minkpa", -kInfinity), floatLimit(validator, "maxkpa", kInfinity)});
    }
    if (type == QLatin1String("specialRange")) {
        return std::make_unique<CValidatorSpecialRange>(texts, floatLimit(validator, "min", -kInfinity),
                                                        floatLimit(validator, "max", kInfinity));
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<IValidator> CValidatorFactory::CreateValidator(const xml::XmlNode& controlData,
                                                               framework::ITextResource* texts)
{
    const xml::XmlNode validator = controlData.child("Validator");
    if (validator.isNull())
        return nullptr;
    try {
        return build(validator, texts);
    } catch (const std::exception&) {
        return nullptr;  // a limit that is not a number
    }
}

}  // namespace orvx::controls
