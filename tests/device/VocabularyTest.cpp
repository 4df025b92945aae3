#include "device/DataFileLines.h"
#include "device/Vocabulary.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace orvx;
namespace parameter = device::parameter;

namespace {

struct Value {
    const device::Parameter& parameter;
    const char* text;
    int unit;
    const char* problem;  // empty: a value of the parameter
};

// The texts a device or a page might send, refused first, then the boundaries taken.
const Value kValues[] = {
    {parameter::PstTravel, "", device::pressure::Psi, "not a number"},
    {parameter::PstTravel, "abc", device::pressure::Psi, "not a number"},
    {parameter::PstTravel, "nan", device::pressure::Psi, "not a number"},
    {parameter::PstTravel, "inf", device::pressure::Psi, "not a number"},
    {parameter::PstTravel, "+10", device::pressure::Psi, "not a number"},
    {parameter::PstTravel, "10,5", device::pressure::Psi, "not a number"},
    {parameter::PstTravel, "4.99", device::pressure::Psi, "outside 5 to 30"},
    {parameter::PstTravel, "30.01", device::pressure::Psi, "outside 5 to 30"},
    {parameter::PstMaximumTime, "5.5", device::pressure::Psi, "not a whole number"},
    {parameter::PstMaximumTime, "301", device::pressure::Psi, "outside 5 to 300"},
    {parameter::PressureUnit, "8", device::pressure::Psi, "not one of its codes"},
    {parameter::DisplayLanguage, "7", device::pressure::Psi, "outside 0 to 6"},
    {parameter::DisplayLanguage, "-1", device::pressure::Psi, "outside 0 to 6"},
    {parameter::AnalogOutput, "3.1", device::pressure::Psi, "outside 3.2 to 22"},
    {parameter::AnalogOutput, "-0.5", device::pressure::Psi, "outside 3.2 to 22"},
    {parameter::SupplyLimitLow, "29.9", device::pressure::Psi, "outside 30 to 110"},
    {parameter::SupplyLimitLow, "2.066", device::pressure::Bar, "outside 2.068 to 7.584"},
    {parameter::SupplyLimitLow, "30", device::pressure::Kpa, "outside 206.843 to 758.423"},
    {parameter::DeviceTag, "ABCDEFGHI", device::pressure::Psi, "longer than 8 characters"},
    {parameter::EsdTripped, "2", device::pressure::Psi, "neither 0 nor 1"},
    {parameter::Connected, "true", device::pressure::Psi, "neither 0 nor 1"},
    {parameter::DeviceDate, "124-13-1", device::pressure::Psi, "not a date as years since 1900-month-day"},
    {parameter::DeviceDate, "124-5", device::pressure::Psi, "not a date as years since 1900-month-day"},
    {parameter::CurrentFaults, "00000000000000000", device::pressure::Psi, "not 18 hexadecimal digits"},
    {parameter::CurrentFaults, "00000000000000000G", device::pressure::Psi, "not 18 hexadecimal digits"},
    {parameter::ExhaustCurve, "12.5@50@13", device::pressure::Psi, "not pairs of numbers joined by '@'"},
    {parameter::ExhaustCurve, "12.5@@50@1", device::pressure::Psi, "not pairs of numbers joined by '@'"},

    {parameter::PstTravel, "5", device::pressure::Psi, ""},
    {parameter::PstTravel, "30.0", device::pressure::Psi, ""},
    {parameter::PstMaximumTime, "300", device::pressure::Psi, ""},
    {parameter::PressureUnit, "12", device::pressure::Psi, ""},
    {parameter::AnalogOutput, "0", device::pressure::Psi, ""},
    {parameter::AnalogOutput, "22", device::pressure::Psi, ""},
    {parameter::PstMinimumPressure, "-120", device::pressure::Psi, ""},
    // The limits a page shows in bar and kpa, rounded as it shows them.
    {parameter::SupplyLimitLow, "2.069", device::pressure::Bar, ""},
    {parameter::SupplyLimitHigh, "8.274", device::pressure::Bar, ""},
    {parameter::SupplyLimitLow, "206.85", device::pressure::Kpa, ""},
    {parameter::SupplyLimitHigh, "827.40", device::pressure::Kpa, ""},
    {parameter::DeviceTag, "\xc3\x84RGER-01", device::pressure::Psi, ""},  // 8 characters, 9 bytes
    {parameter::Connected, "1", device::pressure::Psi, ""},
    {parameter::DeviceDate, "124-5-20", device::pressure::Psi, ""},
    {parameter::CurrentFaults, "0000000000000000aF", device::pressure::Psi, ""},
    {parameter::ExhaustCurve, "", device::pressure::Psi, ""},
    {parameter::ExhaustCurve, "12.5@50@-1e-3@0", device::pressure::Psi, ""},
};

TEST(Vocabulary, TellsWhyATextIsNoValueOfAParameter)
{
    for (const Value& v : kValues)
        EXPECT_EQ(device::problemWith(v.parameter, v.text, v.unit), v.problem)
            << v.parameter.name << " '" << v.text << "' in unit " << v.unit;
}

TEST(Vocabulary, FindsEntriesByTheirExactTagOrNumberOnly)
{
    EXPECT_EQ(device::findParameter(""), nullptr);
    EXPECT_EQ(device::findParameter("1000 "), nullptr);
    EXPECT_EQ(device::findParameter("16017"), nullptr);
    EXPECT_EQ(device::findMethod(1), nullptr);
    EXPECT_EQ(device::findMethodByTag("08"), nullptr);
    EXPECT_EQ(device::findMethodByTag("+8"), nullptr);
    EXPECT_EQ(device::findNotification(0), nullptr);

    EXPECT_EQ(device::findParameter("16000"), &parameter::PstTravel);
    EXPECT_EQ(device::findMethodByTag("8"), device::findMethod(device::method::FindStops));
    EXPECT_EQ(device::findMethod(device::method::FindStops)->ResultCode(), 508);
    EXPECT_EQ(device::findNotification(-6)->name, "FailedInDevice");
}

// A tag, number or name given twice would make one entry shadow the other, and a method's
// result code equal to a notification of its own would be taken for the other.
TEST(Vocabulary, NoTwoEntriesShareANameATagOrACode)
{
    std::set<std::string_view> names;
    std::set<std::string_view> tags;
    for (const device::Parameter* p : device::parameters()) {
        EXPECT_TRUE(names.insert(p->name).second) << p->name;
        EXPECT_TRUE(tags.insert(p->tag).second) << p->tag;
        EXPECT_EQ(p->tag.find_first_not_of("0123456789"), std::string_view::npos) << p->name;
        EXPECT_TRUE(!p->limits.ranged || p->limits.low < p->limits.high) << p->name;
        EXPECT_TRUE(p->type != device::ValueType::Choice || p->limits.ranged || !p->limits.codes.empty())
            << p->name << " has no codes";
    }
    std::set<std::int32_t> codes;
    for (const device::Notification* n : device::notifications()) {
        EXPECT_TRUE(names.insert(n->name).second) << n->name;
        EXPECT_TRUE(codes.insert(n->code).second) << n->code;
    }
    for (const device::Method* m : device::methods()) {
        EXPECT_TRUE(names.insert(m->name).second) << m->name;
        EXPECT_TRUE(tags.insert(m->tag).second) << "method " << m->tag << " shares a parameter's tag";
        EXPECT_EQ(m->tag, std::to_string(m->number)) << m->name;
        EXPECT_TRUE(codes.insert(m->ResultCode()).second) << m->name << " answers a code of another meaning";
    }
}

// A data file's reader takes the names line apart; the names it gives must be the record's.
TEST(DataFileLines, TheNamesLineNamesPstDataAndTheRecordValuesInOrder)
{
    std::vector<std::string> names;
    std::string_view line = device::datafile::kNamesLine;
    for (std::size_t comma = 0; comma != std::string_view::npos; line.remove_prefix(comma + 1)) {
        comma = line.find(',');
        std::string name(line.substr(0, comma));
        std::erase_if(name, [](char c) { return c == ' ' || c == ';'; });
        names.push_back(name);
        if (comma == std::string_view::npos)
            break;
    }
    ASSERT_EQ(names.size(), 1 + device::datafile::kValueCount);
    EXPECT_EQ(names.front(), "PstData");
    for (std::size_t i = 0; i < device::datafile::kValueCount; ++i)
        EXPECT_EQ(names[i + 1], device::datafile::kValueNames[i]);
    EXPECT_EQ(device::datafile::kVersionTag.size(), 9u);
}

// A record value is written as a whole number, so the device must keep it as one.
TEST(DataFileLines, EveryRecordValueComesFromAWholeNumberOfTheDevice)
{
    for (std::size_t i = 0; i < device::datafile::kValueCount; ++i) {
        const device::Parameter* source = device::datafile::kValueSources[i];
        if (i == device::datafile::kSamplesUp) {
            EXPECT_EQ(source, nullptr);
            continue;
        }
        ASSERT_NE(source, nullptr) << device::datafile::kValueNames[i];
        EXPECT_TRUE(source->type == device::ValueType::Integer || source->type == device::ValueType::Choice)
            << device::datafile::kValueNames[i] << " from " << source->name;
    }
    EXPECT_EQ(device::datafile::kValueSources[device::datafile::kPresUnits], &parameter::MeasuredPressureUnit);
}

}  // namespace
