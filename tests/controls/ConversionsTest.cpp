#include "controls/Conversions.h"
#include "controls/PressureUnit.h"

#include <gtest/gtest.h>

#include <clocale>
#include <functional>
#include <limits>
#include <optional>
#include <stdexcept>

using orvx::controls::CConversions;

namespace {

enum class Kind { InvalidArgument, RuntimeError };

struct FailureCase {
    const char* label;
    std::function<void()> call;
    Kind kind;
    const char* message;
};

const char* kEmpty = "Input is empty";
const char* kFormat = "Input format is not valid";
const char* kRange = "Value is out of range";
const char* kOdd = "Invalid argument at CConversions::to_byte_array";

// before, a NUL character, after.
QString withNul(const char* before, const char* after)
{
    return QString::fromLatin1(before) + QChar(0) + QString::fromLatin1(after);
}

TEST(Conversions, WholeNumbersReachTheEndsOfTheirRangeAndNoFurther)
{
    struct Case {
        const char* label;
        std::function<std::int64_t()> call;
        std::optional<std::int64_t> expected;  // none: "Value is out of range"
    };
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kUMax = std::numeric_limits<std::uint32_t>::max();
    const Case cases[] = {
        {"to_long max", [] { return CConversions::to_long("2147483647"); }, kMax},
        {"to_long max + 1", [] { return CConversions::to_long("2147483648"); }, std::nullopt},
        {"to_long min", [] { return CConversions::to_long("-2147483648"); }, kMin},
        {"to_long min - 1", [] { return CConversions::to_long("-2147483649"); }, std::nullopt},
        {"to_long hex max", [] { return CConversions::to_long("7fffffff", 16); }, kMax},
        {"to_long hex max + 1", [] { return CConversions::to_long("80000000", 16); }, std::nullopt},
        {"to_long hex min", [] { return CConversions::to_long("-80000000", 16); }, kMin},
        {"to_long hex min - 1", [] { return CConversions::to_long("-80000001", 16); }, std::nullopt},
        {"to_int max", [] { return CConversions::to_int("2147483647"); }, kMax},
        {"to_int max + 1", [] { return CConversions::to_int("2147483648"); }, std::nullopt},
        {"to_int min", [] { return CConversions::to_int("-2147483648"); }, kMin},
        {"to_int min - 1", [] { return CConversions::to_int("-2147483649"); }, std::nullopt},
        {"to_ulong 0", [] { return CConversions::to_ulong("0"); }, 0},
        {"to_ulong max", [] { return CConversions::to_ulong("4294967295"); }, kUMax},
        {"to_ulong max + 1", [] { return CConversions::to_ulong("4294967296"); }, std::nullopt},
        {"to_ulong hex max", [] { return CConversions::to_ulong("FFFFFFFF", 16); }, kUMax},
        {"to_ulong hex max + 1", [] { return CConversions::to_ulong("100000000", 16); }, std::nullopt},
        {"to_ulong past 64 bits", [] { return CConversions::to_ulong("18446744073709551616"); }, std::nullopt},
        {"to_uint max", [] { return CConversions::to_uint("4294967295"); }, kUMax},
        {"to_uint max + 1", [] { return CConversions::to_uint("4294967296"); }, std::nullopt},
    };
    for (const auto& c : cases) {
        try {
            const std::int64_t value = c.call();
            if (c.expected) {
                EXPECT_EQ(value, *c.expected) << c.label;
            } else {
                ADD_FAILURE() << c.label << ": read as " << value;
            }
        } catch (const std::runtime_error& e) {
            EXPECT_FALSE(c.expected) << c.label << ": " << e.what();
            EXPECT_STREQ(e.what(), kRange) << c.label;
        }
    }
}

TEST(Conversions, FloatingNumbersReachTheLargestDouble)
{
    EXPECT_EQ(CConversions::to_double("1.7976931348623157e308"), std::numeric_limits<double>::max());
    EXPECT_EQ(CConversions::to_double("-1.7976931348623157e308"), -std::numeric_limits<double>::max());
    for (const char* beyond : {"1.8e308", "-1.8e308"}) {
        try {
            CConversions::to_double(beyond);
            ADD_FAILURE() << beyond << ": no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), kRange) << beyond;
        }
    }
}

TEST(Conversions, FailuresCarryTheirFixedTextAndKind)
{
    const FailureCase cases[] = {
        {"to_bool TRUE", [] { CConversions::to_bool("TRUE"); }, Kind::RuntimeError, kFormat},
        {"to_bool 2", [] { CConversions::to_bool("2"); }, Kind::RuntimeError, kFormat},
        {"to_long empty", [] { CConversions::to_long(""); }, Kind::InvalidArgument, kEmpty},
        {"to_long null", [] { CConversions::to_long(QString()); }, Kind::InvalidArgument, kEmpty},
        {"to_long trailing space", [] { CConversions::to_long("12 "); }, Kind::RuntimeError, kFormat},
        {"to_long letters", [] { CConversions::to_long("abc"); }, Kind::RuntimeError, kFormat},
        {"to_long lone sign", [] { CConversions::to_long("-"); }, Kind::RuntimeError, kFormat},
        {"to_long eleven nines", [] { CConversions::to_long("99999999999"); }, Kind::RuntimeError, kRange},
        {"to_long far past 64 bits", [] { CConversions::to_long("-99999999999999999999999"); }, Kind::RuntimeError,
         kRange},
        {"to_ulong minus", [] { CConversions::to_ulong("-1"); }, Kind::RuntimeError, kFormat},
        {"to_ulong minus after space", [] { CConversions::to_ulong(" -1"); }, Kind::RuntimeError, kFormat},
        {"to_uint empty", [] { CConversions::to_uint(""); }, Kind::InvalidArgument, kEmpty},
        {"to_double comma", [] { CConversions::to_double("1,5"); }, Kind::RuntimeError, kFormat},
        {"to_double empty", [] { CConversions::to_double(""); }, Kind::InvalidArgument, kEmpty},
        {"to_double too large", [] { CConversions::to_double("1e999"); }, Kind::RuntimeError, kRange},
        {"to_double unit", [] { CConversions::to_double("3.5 psi"); }, Kind::RuntimeError, kFormat},
        {"to_byte_array odd", [] { CConversions::to_byte_array("ABC", false); }, Kind::InvalidArgument, kOdd},
        {"to_byte_array not hex", [] { CConversions::to_byte_array("0G", false); }, Kind::RuntimeError, kFormat},
        {"to_byte_array signed pair", [] { CConversions::to_byte_array("-1", false); }, Kind::RuntimeError, kFormat},
        {"to_byte_array spaces kept", [] { CConversions::to_byte_array("0A 1F", false); }, Kind::InvalidArgument, kOdd},
        // A business object may hand over a text with a NUL inside; what follows it is not
        // ignored.
        {"to_bool NUL", [] { CConversions::to_bool(withNul("1", "")); }, Kind::RuntimeError, kFormat},
        {"to_long NUL", [] { CConversions::to_long(withNul("12", "ab")); }, Kind::RuntimeError, kFormat},
        {"to_long NUL at the end", [] { CConversions::to_long(withNul("12", "")); }, Kind::RuntimeError, kFormat},
        {"to_long NUL alone", [] { CConversions::to_long(withNul("", "")); }, Kind::RuntimeError, kFormat},
        {"to_int NUL", [] { CConversions::to_int(withNul("12", "ab")); }, Kind::RuntimeError, kFormat},
        {"to_ulong NUL", [] { CConversions::to_ulong(withNul("12", "ab")); }, Kind::RuntimeError, kFormat},
        {"to_uint NUL hex", [] { CConversions::to_uint(withNul("ff", "ff"), 16); }, Kind::RuntimeError, kFormat},
        {"to_double NUL", [] { CConversions::to_double(withNul("1.5", "ab")); }, Kind::RuntimeError, kFormat},
        {"to_double NUL before exponent", [] { CConversions::to_double(withNul("1", "e3")); }, Kind::RuntimeError,
         kFormat},
        {"to_byte_array NUL", [] { CConversions::to_byte_array(withNul("0A", "F"), false); }, Kind::RuntimeError,
         kFormat},
        {"to_byte_array NUL stripped", [] { CConversions::to_byte_array(withNul("0A ", "F"), true); },
         Kind::RuntimeError, kFormat},
    };
    for (const auto& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.label << ": no exception";
        } catch (const std::invalid_argument& e) {
            EXPECT_EQ(c.kind, Kind::InvalidArgument) << c.label;
            EXPECT_STREQ(e.what(), c.message) << c.label;
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(c.kind, Kind::RuntimeError) << c.label;
            EXPECT_STREQ(e.what(), c.message) << c.label;
        }
    }
}

TEST(Conversions, ParsesWholeTexts)
{
    EXPECT_FALSE(CConversions::to_bool(""));
    EXPECT_FALSE(CConversions::to_bool("0"));
    EXPECT_TRUE(CConversions::to_bool("1"));
    EXPECT_TRUE(CConversions::to_bool("true"));
    EXPECT_FALSE(CConversions::to_bool("false"));

    EXPECT_EQ(CConversions::to_long("12"), 12);
    EXPECT_EQ(CConversions::to_long(" 12"), 12);
    EXPECT_EQ(CConversions::to_long("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(CConversions::to_long("ff", 16), 255);
    EXPECT_EQ(CConversions::to_ulong("4294967295"), 4294967295u);
    EXPECT_EQ(CConversions::to_uint("+7"), 7u);
    EXPECT_DOUBLE_EQ(CConversions::to_double("1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(CConversions::to_double(" -0.25"), -0.25);
}

// A text reads the same whether it comes as a string, as the UTF-8 bytes of a document or as
// Latin-1: the value, or the failure's text.
TEST(Conversions, ATextReadsTheSameInEveryEncoding)
{
    const auto outcome = [](const std::function<double()>& call) {
        try {
            return QString::number(call());
        } catch (const std::exception& error) {
            return QString::fromLatin1(error.what());
        }
    };
    const char* const texts[] = {"12", " -7", "1.5",        "true",     "0",        "",
                                 "x",  "12 ", "2147483648", "\xc3\xa9", "1\xc2\xb2"};
    for (const char* text : texts) {
        const QString utf16 = QString::fromUtf8(text);
        const QByteArray latin1 = utf16.toLatin1();
        const QUtf8StringView utf8(text);
        const QLatin1StringView latin(latin1.constData(), latin1.size());
        for (const QAnyStringView form : {QAnyStringView(utf8), QAnyStringView(latin)}) {
            EXPECT_EQ(outcome([&] { return CConversions::to_long(form); }),
                      outcome([&] { return CConversions::to_long(utf16); }))
                << text;
            EXPECT_EQ(outcome([&] { return CConversions::to_double(form); }),
                      outcome([&] { return CConversions::to_double(utf16); }))
                << text;
            EXPECT_EQ(outcome([&] { return CConversions::to_bool(form) ? 1.0 : 0.0; }),
                      outcome([&] { return CConversions::to_bool(utf16) ? 1.0 : 0.0; }))
                << text;
        }
    }
    EXPECT_THROW(CConversions::to_long(QStringLiteral("\u0661")), std::runtime_error) << "a digit of another script";
}

TEST(Conversions, NumbersUseTheFullStopWhateverTheLocale)
{
    // A locale with a decimal comma, when the machine has one.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    const bool german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    EXPECT_DOUBLE_EQ(CConversions::to_double("1.5"), 1.5);
    EXPECT_THROW(CConversions::to_double("1,5"), std::runtime_error);
    EXPECT_EQ(CConversions::from_double(3.2, 2), QStringLiteral("3.20"));
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (!german)
        GTEST_SKIP() << "no locale with a decimal comma on this machine; checked in C only";
}

TEST(Conversions, ByteStrings)
{
    EXPECT_EQ(CConversions::to_byte_array("0A1f", false), (std::vector<std::uint8_t>{0x0A, 0x1F}));
    EXPECT_EQ(CConversions::to_byte_array("0A 1F", true), (std::vector<std::uint8_t>{0x0A, 0x1F}));
    EXPECT_TRUE(CConversions::to_byte_array("", false).empty());
    EXPECT_TRUE(CConversions::to_byte_array("   ", true).empty());
    EXPECT_EQ(CConversions::strip_spaces(" a b\tc "), QStringLiteral("ab\tc"));
}

TEST(Conversions, FormatsNumbers)
{
    struct Case {
        double value;
        int decimals;
        const char* expected;
    };
    const Case cases[] = {
        {22, 2, "22.00"},    {3.2, 2, "3.20"},   {206.85, 0, "207"}, {758.45, 0, "758"},
        {2.069, 3, "2.069"}, {-0.04, 1, "-0.0"}, {30, 1, "30.0"},    {1e6, 0, "1000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CConversions::from_double(c.value, c.decimals), QLatin1String(c.expected)) << c.value;
    EXPECT_EQ(CConversions::from_long(-5), QStringLiteral("-5"));
    EXPECT_EQ(CConversions::from_int(0), QStringLiteral("0"));
    EXPECT_EQ(CConversions::from_uint(2147483648u), QStringLiteral("2147483648"));
}

TEST(PressureUnit, ConvertsThroughPsi)
{
    using namespace orvx::controls;
    EXPECT_EQ(CConversions::from_double(convertPressure(25, PressurePsi, PressureBar), 3), "1.724");
    EXPECT_EQ(CConversions::from_double(convertPressure(30, PressurePsi, PressureBar), 3), "2.068");
    EXPECT_EQ(CConversions::from_double(convertPressure(110, PressurePsi, PressureKpa), 0), "758");
    EXPECT_NEAR(convertPressure(convertPressure(87.3, PressureKpa, PressureBar), PressureBar, PressureKpa), 87.3, 1e-9);
    EXPECT_EQ(pressureUnitName(PressureKpa), QStringLiteral("kpa"));
    EXPECT_TRUE(pressureUnitName(99).isEmpty());
}

}  // namespace
