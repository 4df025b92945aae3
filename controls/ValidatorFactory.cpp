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
std::optional<QString> limitText(const xml::XmlNode& validator, const char* attribute)
{
    auto text = validator.attribute(attribute);
    if (!text || text->isEmpty())
        return std::nullopt;
    return text;
}

std::int32_t wholeLimit(const xml::XmlNode& validator, const char* attribute, std::int32_t fallback)
{
    const auto text = limitText(validator, attribute);
    return text ? device::textVariant(*text).toInt32() : fallback;
}

double floatLimit(const xml::XmlNode& validator, const char* attribute, double fallback)
{
    const auto text = limitText(validator, attribute);
    return text ? CConversions::to_double(*text) : fallback;
}

std::unique_ptr<IValidator> build(const xml::XmlNode& validator, framework::ITextResource* texts)
{
    const QString type = validator.attribute("type").value_or(QString());
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
