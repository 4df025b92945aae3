// Every tag a ViewSetting binds is a word of the device vocabulary, and what the binding says of
// it (its validator, its choices, its length, its unit) is what the vocabulary says.

#include "device/Vocabulary.h"
#include "platform/ui/Resources.h"

#include <gtest/gtest.h>

#include <QDir>
#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

using namespace orvx;

namespace {

using device::ValueType;

bool isPressure(const device::Parameter& p)
{
    return p.unit == device::Unit::SettingsPressure || p.unit == device::Unit::MeasuredPressure;
}

// The value type each validator checks, and the attributes of its range in psi.
struct ValidatorKind {
    const char* type;
    ValueType valueType;
    const char* min;
    const char* max;
    bool zeroAllowed;
};
const ValidatorKind kValidators[] = {
    {"numericRange", ValueType::Integer, "min", "max", false},
    {"numericRange_double", ValueType::Decimal, "min", "max", false},
    {"pressureRange", ValueType::Decimal, "minpsi", "maxpsi", false},
    {"specialRange", ValueType::Decimal, "min", "max", true},
};

// What a ControlData element says that the vocabulary does not; empty when they agree.
std::string disagreement(const pugi::xml_node& data, const device::Parameter& p)
{
    std::string problems;
    const auto add = [&problems](const std::string& problem) { problems += problem + "; "; };
    if (const pugi::xml_node validator = data.child("Validator")) {
        const char* type = validator.attribute("type").value();
        const auto kind = std::ranges::find_if(kValidators,
                                               [&](const auto& k) { return std::strcmp(k.type, type) == 0; });
        if (kind == std::end(kValidators)) {
            add(std::string("validator ") + type + " is unknown here");
        } else if (p.type != kind->valueType || (std::strcmp(type, "pressureRange") == 0) != isPressure(p) ||
                   !p.limits.ranged || p.limits.low != validator.attribute(kind->min).as_double() ||
                   p.limits.high != validator.attribute(kind->max).as_double() ||
                   p.limits.zeroAllowed != kind->zeroAllowed) {
            add(std::string(type) + " " + validator.attribute(kind->min).value() + " to " +
                validator.attribute(kind->max).value() + " against the vocabulary's");
        }
        // The page's own limits in bar and kpa hold in the vocabulary too.
        for (const auto& [attribute, unit] : {std::pair{"minbar", device::pressure::Bar},
                                              {"maxbar", device::pressure::Bar},
                                              {"minkpa", device::pressure::Kpa},
                                              {"maxkpa", device::pressure::Kpa}})
            if (const pugi::xml_attribute limit = validator.attribute(attribute))
                if (const std::string problem = device::problemWith(p, limit.value(), unit); !problem.empty())
                    add(std::string(attribute) + " " + limit.value() + ": " + problem);
    }
    if (const pugi::xml_node choices = data.child("ChoiceCollection")) {
        if (p.type != ValueType::Choice && p.type != ValueType::Flag)
            add("choices for a value that is no choice");
        for (const pugi::xml_node choice : choices.children("Choice"))
            if (const std::string problem = device::problemWith(p, choice.attribute("tag").value()); !problem.empty())
                add(std::string("choice ") + choice.attribute("tag").value() + ": " + problem);
    }
    if (const pugi::xml_attribute length = data.attribute("stringLength");
        length && p.type == ValueType::Text && length.as_int() != p.limits.maxLength)
        add(std::string("stringLength ") + length.value() + " against " + std::to_string(p.limits.maxLength));
    static const std::map<std::string, device::Unit> kUnits = {{"%", device::Unit::Percent},
                                                               {"mA", device::Unit::MilliAmpere},
                                                               {"\xc2\xb0"
                                                                "C",
                                                                device::Unit::DegreeCelsius}};
    if (const pugi::xml_attribute unit = data.attribute("unit")) {
        const bool agrees = std::strcmp(unit.value(), "psi") == 0
                                ? isPressure(p)
                                : kUnits.contains(unit.value()) && kUnits.at(unit.value()) == p.unit;
        if (!agrees)
            add(std::string("unit ") + unit.value());
    }
    return problems;
}

TEST(ViewSettingVocabulary, EveryBoundTagIsAWordOfTheVocabularyAndTheBindingAgreesWithIt)
{
    int bindings = 0;
    const QStringList files = QDir(QStringLiteral(":/orvx/xml")).entryList({QStringLiteral("*.xml")});
    ASSERT_FALSE(files.isEmpty());
    for (const QString& file : files) {
        const QByteArray text = ui::xmlResource(file.section(QLatin1Char('.'), 0, 0).toInt()).toUtf8();
        pugi::xml_document document;
        ASSERT_TRUE(document.load_buffer(text.constData(), static_cast<std::size_t>(text.size())))
            << file.toStdString();
        for (const pugi::xml_node data : document.child("ViewSetting").children("ControlData")) {
            const std::string tag = data.attribute("tag").value();
            if (tag.empty() || tag == "0")
                continue;
            ++bindings;
            const std::string where = file.toStdString() + ", control " + data.attribute("controlId").value();
            if (device::findMethodByTag(tag)) {
                EXPECT_FALSE(data.child("Validator") || data.child("ChoiceCollection")) << where << ": a method";
                continue;
            }
            const device::Parameter* p = device::findParameter(tag);
            ASSERT_NE(p, nullptr) << where << " binds tag " << tag << ", which the vocabulary does not hold";
            EXPECT_EQ(disagreement(data, *p), "") << where << " (" << p->name << ")";
        }
    }
    EXPECT_GT(bindings, 250) << "the ViewSettings were not all read";
}

}  // namespace
