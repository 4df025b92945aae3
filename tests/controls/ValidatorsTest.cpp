#include "controls/ValidatorFactory.h"
#include "framework/TextProvider.h"
#include "platform/xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <memory>
#include <string_view>
#include <vector>

using namespace orvx;
using controls::CValidatorFactory;
using controls::IValidator;
using namespace std::string_view_literals;

namespace {

// Builds a validator from the ControlData snippet a ViewSetting document would carry, with the
// built-in texts.
class ValidatorTest : public ::testing::Test {
protected:
    std::unique_ptr<IValidator> build(const char* validatorAttributes) { return build(validatorAttributes, &m_texts); }
    static std::unique_ptr<IValidator> build(const char* validatorAttributes, framework::ITextResource* texts)
    {
        const auto document = xml::XmlDocument::parse(
            QStringLiteral("<ControlData controlId='12'><Validator %1/></ControlData>")
                .arg(QLatin1String(validatorAttributes)));
        EXPECT_TRUE(document);
        return CValidatorFactory::CreateValidator(document->selectSingleNode(QStringLiteral("//ControlData")), texts);
    }

    framework::CTextProvider m_texts;
};

struct Entry {
    std::string_view text;  // may hold a NUL
    bool valid;
    std::uint32_t code;   // expected error code when invalid
    const char* message;  // expected message when invalid
};

void expectEntries(IValidator& validator, const std::vector<Entry>& entries)
{
    for (const auto& e : entries) {
        const bool valid = validator.Validate(com::Variant::text(com::BStr::fromUtf8(e.text)));
        const std::string shown = QString::fromUtf8(e.text).replace(QChar(0), QStringLiteral("<NUL>")).toStdString();
        EXPECT_EQ(valid, e.valid) << '"' << shown << '"';
        if (!e.valid) {
            EXPECT_EQ(validator.GetErrorCode(), e.code) << shown;
            EXPECT_EQ(validator.GetMessage().toStdString(), e.message) << shown;
        }
    }
}

TEST_F(ValidatorTest, WholeNumberRange)
{
    auto validator = build("type='numericRange' min='2' max='60'");
    ASSERT_TRUE(validator);
    expectEntries(*validator, {
                                  {"1", false, 20, "Numeric value must be within 2 and 60"},
                                  {"61", false, 20, "Numeric value must be within 2 and 60"},
                                  {"abc", false, 22, "Input is not a valid whole number"},
                                  {"", false, 22, "Input is not a valid whole number"},
                                  {"2.5", false, 22, "Input is not a valid whole number"},
                                  {"99999999999", false, 22, "Input is not a valid whole number"},
                                  {"2", true, 0, ""},
                                  {"60", true, 0, ""},
                              });
    EXPECT_TRUE(validator->GetMessage().isEmpty()) << "a success clears the message";
    EXPECT_EQ(validator->GetErrorCode(), 22u) << "a success keeps the last code";
    EXPECT_TRUE(validator->Validate(com::Variant::int32(30)));
}

TEST_F(ValidatorTest, StepAppliesToTheNumberItself)
{
    auto stepOnly = build("type='numericRange' step='5'");
    ASSERT_TRUE(stepOnly);
    expectEntries(*stepOnly, {
                                 {"12", false, 24, "Input value must be divisible by 5"},
                                 {"-10", true, 0, ""},
                                 {"-2147483648", false, 24, "Input value must be divisible by 5"},
                             });
    auto fromFive = build("type='numericRange' min='5' step='10'");
    ASSERT_TRUE(fromFive);
    expectEntries(*fromFive, {{"10", true, 0, ""}, {"15", false, 24, "Input value must be divisible by 10"}});
}

TEST_F(ValidatorTest, FloatingPointRange)
{
    auto validator = build("type='numericRange_double' min='0.25' max='10'");
    ASSERT_TRUE(validator);
    expectEntries(*validator, {
                                  {"0.2", false, 20, "Numeric value must be within 0.25 and 10.00"},
                                  {"0.2499", false, 20, "Numeric value must be within 0.25 and 10.00"},
                                  {"10.0001", false, 20, "Numeric value must be within 0.25 and 10.00"},
                                  {"10", true, 0, ""},
                                  {"0.25", true, 0, ""},
                                  {"1,5", false, 23, "Input is not a valid floating number"},
                                  {"nan", false, 20, "Numeric value must be within 0.25 and 10.00"},
                                  {"", false, 23, "Input is not a valid floating number"},
                              });
}

TEST_F(ValidatorTest, PressureRangeFollowsTheUnit)
{
    auto validator = build("type='pressureRange' minpsi='30' maxpsi='110' minbar='2.069' maxbar='7.584' "
                           "minkpa='206.85' maxkpa='758.45'");
    ASSERT_TRUE(validator);
    const char* psi = "Numeric value must be within 30.0 and 110.0";
    expectEntries(*validator,
                  {{"29.9", false, 20, psi}, {"30", true, 0, ""}, {"110", true, 0, ""}, {"110.1", false, 20, psi}});
    validator->SetUnit(7);
    const char* bar = "Numeric value must be within 2.069 and 7.584";
    expectEntries(
        *validator,
        {{"2.068", false, 20, bar}, {"2.069", true, 0, ""}, {"7.584", true, 0, ""}, {"7.585", false, 20, bar}});
    validator->SetUnit(12);
    const char* kpa = "Numeric value must be within 207 and 758";
    expectEntries(
        *validator,
        {{"206.84", false, 20, kpa}, {"206.85", true, 0, ""}, {"758.45", true, 0, ""}, {"758.46", false, 20, kpa}});
    // An unknown unit keeps the kPa range and writes its limits without decimals.
    validator->SetUnit(99);
    expectEntries(*validator, {{"800", false, 20, "Numeric value must be within 207 and 758"}});
    validator->SetUnit(6);
    expectEntries(*validator, {{"500", false, 20, "Numeric value must be within 30.0 and 110.0"}});
}

TEST_F(ValidatorTest, SpecialRangeAlsoTakesZero)
{
    auto validator = build("type='specialRange' min='3.2' max='22'");
    ASSERT_TRUE(validator);
    expectEntries(*validator,
                  {
                      {"0", true, 0, ""},
                      {"0.0", true, 0, ""},
                      {"3.2", true, 0, ""},
                      {"22", true, 0, ""},
                      {"2", false, 20, "Numeric value must be within 3.20 and 22.00 or 0 for normal mode"},
                      {"3.19", false, 20, "Numeric value must be within 3.20 and 22.00 or 0 for normal mode"},
                      {"22.01", false, 20, "Numeric value must be within 3.20 and 22.00 or 0 for normal mode"},
                      {"-0.01", false, 20, "Numeric value must be within 3.20 and 22.00 or 0 for normal mode"},
                      {"x", false, 23, "Input is not a valid floating number"},
                  });
}

TEST_F(ValidatorTest, MissingLimitsAreOpen)
{
    auto whole = build("type='numericRange' min='' max='10'");
    ASSERT_TRUE(whole);
    expectEntries(*whole, {{"-2147483648", true, 0, ""},
                           {"-2147483649", false, 22, "Input is not a valid whole number"},
                           {"10", true, 0, ""},
                           {"11", false, 20, "Numeric value must be within -2147483648 and 10"}});
    auto top = build("type='numericRange' min='2147483646' max='2147483647'");
    ASSERT_TRUE(top);
    expectEntries(*top, {{"2147483647", true, 0, ""},
                         {"2147483648", false, 22, "Input is not a valid whole number"},
                         {"2147483645", false, 20, "Numeric value must be within 2147483646 and 2147483647"}});
    auto floating = build("type='numericRange_double' max='1'");
    ASSERT_TRUE(floating);
    expectEntries(*floating, {{"-1e300", true, 0, ""}, {"2", false, 20, "Numeric value must be within -inf and 1.00"}});
}

TEST_F(ValidatorTest, TextsWithANulInsideAreNoNumbers)
{
    const char* whole = "Input is not a valid whole number";
    const char* floating = "Input is not a valid floating number";
    const struct {
        const char* attributes;
        std::vector<Entry> entries;
    } cases[] = {
        {"type='numericRange' min='2' max='60'",
         {{"12\0ab"sv, false, 22, whole}, {"12\0"sv, false, 22, whole}, {"12"sv, true, 0, ""}}},
        {"type='numericRange_double' min='0.25' max='10'",
         {{"1.5\0ab"sv, false, 23, floating}, {"1.5"sv, true, 0, ""}}},
        {"type='pressureRange' minpsi='30' maxpsi='110'", {{"50\0"sv, false, 23, floating}}},
        // Zero is taken outside the range, but not a zero with something after it.
        {"type='specialRange' min='3.2' max='22'", {{"0\0x"sv, false, 23, floating}, {"0"sv, true, 0, ""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attributes);
        auto validator = build(c.attributes);
        ASSERT_TRUE(validator);
        expectEntries(*validator, c.entries);
    }
}

TEST_F(ValidatorTest, AnOpenWholeRangeEndsWhere32BitsDo)
{
    auto validator = build("type='numericRange'");
    ASSERT_TRUE(validator);
    const char* whole = "Input is not a valid whole number";
    expectEntries(*validator, {
                                  {"2147483647", true, 0, ""},
                                  {"-2147483648", true, 0, ""},
                                  {"2147483648", false, 22, whole},
                                  {"-2147483649", false, 22, whole},
                              });
}

TEST_F(ValidatorTest, NoValidatorForUnknownTypesOrMalformedLimits)
{
    for (const char* attributes : {
             "type='numericrange' min='1'",  // type names compare case-sensitively
             "type='range'",
             "min='1'",
             "type='numericRange' max='1x'",
             "type='numericRange' max='2147483648'",
             "type='numericRange_double' min='0,25'",
             "type='pressureRange' minbar='two'",
             "type='specialRange' max='22 '",
         }) {
        EXPECT_FALSE(build(attributes)) << attributes;
    }
    const auto noValidator = xml::XmlDocument::parse(QStringLiteral("<ControlData/>"));
    EXPECT_FALSE(CValidatorFactory::CreateValidator(noValidator->root().selectSingleNode("ControlData"), &m_texts));
}

TEST_F(ValidatorTest, WithoutTextsAnInvalidEntryHasNoMessage)
{
    const std::pair<const char*, std::vector<const char16_t*>> cases[] = {
        {"type='specialRange' min='3.2' max='22'", {u"2", u"x"}},
        {"type='numericRange' min='2' max='60' step='4'", {u"x", u"61", u"6"}},
        {"type='numericRange_double' min='0.25' max='10'", {u"x", u"11"}},
    };
    for (const auto& [attributes, entries] : cases) {
        auto validator = build(attributes, nullptr);
        ASSERT_TRUE(validator) << attributes;
        for (const char16_t* entry : entries) {
            EXPECT_FALSE(validator->Validate(com::Variant::text(com::BStr(entry)))) << attributes;
            EXPECT_TRUE(validator->GetMessage().isEmpty()) << attributes;
            EXPECT_EQ(validator->GetErrorCode(), 0u) << attributes;
        }
    }
}

TEST_F(ValidatorTest, TheBusinessObjectsTextsFillThePlaceholders)
{
    class Texts : public framework::ITextResource {
    public:
        QString GetTextByKey(const QString& key) override { return key; }
        QString GetTextById(std::uint32_t) override { return QStringLiteral("{max} \u2265 x \u2265 {min}, {min}"); }
    } texts;
    auto validator = build("type='numericRange' min='1' max='9'", &texts);
    ASSERT_TRUE(validator);
    EXPECT_FALSE(validator->Validate(com::Variant::int32(10)));
    EXPECT_EQ(validator->GetMessage(), QStringLiteral("9 \u2265 x \u2265 1, {min}"));
}

}  // namespace
