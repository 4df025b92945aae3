#include "platform/com/ComError.h"
#include "platform/com/Variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace orvx::com;

namespace {

Variant text(const char16_t* t)
{
    return Variant::text(BStr(t));
}

struct TextCase {
    Variant value;
    std::u16string expected;
};

TEST(Variant, NumbersBecomePlainDecimalText)
{
    const TextCase cases[] = {
        {Variant(), u""},
        {Variant::boolean(true), u"1"},
        {Variant::boolean(false), u"0"},
        {Variant::int8(-128), u"-128"},
        {Variant::int32(-2147483647 - 1), u"-2147483648"},
        {Variant::integer(1), u"1"},
        {Variant::int64(9007199254740993), u"9007199254740993"},
        {Variant::uint32(4294967295u), u"4294967295"},
        {Variant::uint64(18446744073709551615u), u"18446744073709551615"},
        {Variant::float64(3.25), u"3.25"},
        {Variant::float64(0.1), u"0.1"},
        {Variant::float64(1e20), u"100000000000000000000"},  // never in exponent form
        {Variant::float64(-0.000125), u"-0.000125"},
        {Variant::float32(0.1f), u"0.1"},  // the float's own shortest text, not the double's
        {Variant::uint8(255), u"255"},
        {text(u"ABC"), u"ABC"},
        {Variant::text(BStr()), u""},
    };
    for (const auto& c : cases) {
        const BStr result = c.value.toText();
        EXPECT_EQ(result.view(), c.expected);
        EXPECT_FALSE(result.isNull());
    }
}

TEST(Variant, NonFiniteNumbersHaveNoText)
{
    EXPECT_THROW(Variant::float64(std::nan("")).toText(), ComError);
    EXPECT_THROW(Variant::float64(std::numeric_limits<double>::infinity()).toText(), ComError);
    EXPECT_THROW(Variant::float32(std::numeric_limits<float>::quiet_NaN()).toText(), ComError);
}

struct BoolCase {
    Variant value;
    bool expected;
};

TEST(Variant, ConvertsToTruthValues)
{
    const BoolCase cases[] = {
        {Variant(), false},
        {Variant::boolean(true), true},
        {Variant::int32(0), false},
        {Variant::int32(-1), true},
        {Variant::uint64(1ull << 40), true},
        {Variant::float64(0.0), false},
        {Variant::float64(0.5), true},
        {text(u"1"), true},
        {text(u"0"), false},
        {text(u"True"), true},
        {text(u" false "), false},
        {text(u"FALSE"), false},
        {text(u"0.0"), false},
        {Variant::float32(0.0f), false},
        {text(u"2.5"), true},
        // Longer than a number usually is: read all the same.
        {text(u" 0.00000000000000000000000000000000000000000001 "), true},
        {text(u"0.00000000000000000000000000000000000000000000"), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.value.toBool(), c.expected) << c.value.toText().toUtf8();
}

TEST(Variant, TextsThatAreNoTruthValueAreRaised)
{
    for (const char16_t* t : {u"", u"yes", u"1x", u"tru"}) {
        try {
            text(t).toBool();
            ADD_FAILURE() << "no error for " << BStr(t).toUtf8();
        } catch (const ComError& error) {
            EXPECT_EQ(error.status(), Status::TypeMismatch);
        }
    }
}

struct WholeCase {
    Variant value;
    std::int64_t expected;  // or the status raised
    Status status = Status::Ok;
};

TEST(Variant, ConvertsToSigned32Bit)
{
    const WholeCase cases[] = {
        {Variant(), 0},
        {Variant::boolean(true), 1},
        {Variant::int64(2147483647), 2147483647},
        {Variant::int64(2147483648), 0, Status::Overflow},
        {Variant::uint32(2147483647u), 2147483647},
        {Variant::uint32(2147483648u), 0, Status::Overflow},
        {Variant::uint32(4294967295u), 0, Status::Overflow},
        {Variant::int64(-2147483649), 0, Status::Overflow},
        {Variant::float64(2147483647.4), 2147483647},
        {Variant::float64(2147483647.5), 0, Status::Overflow},  // rounds to 2^31
        {Variant::float64(-2147483648.5), -2147483647 - 1},
        {Variant::float64(-2147483649.0), 0, Status::Overflow},
        {Variant::float64(2.5), 2},  // half to even
        {Variant::float64(3.5), 4},
        {Variant::float64(-2.5), -2},
        {Variant::float64(std::nan("")), 0, Status::Overflow},
        {text(u"-42"), -42},
        {text(u" +17 "), 17},
        {text(u"\t\r\n\f\v7\n"), 7},
        {text(u"2147483647"), 2147483647},
        {text(u"-2147483648"), -2147483647 - 1},
        {text(u"2147483648"), 0, Status::Overflow},
        {text(u"99999999999999999999"), 0, Status::Overflow},
        {text(u"12.5"), 0, Status::TypeMismatch},
        {text(u"+-1"), 0, Status::TypeMismatch},
        {text(u"0x10"), 0, Status::TypeMismatch},
        {text(u""), 0, Status::TypeMismatch},
        {text(u"１２"), 0, Status::TypeMismatch},  // full-width digits are no number here
        {text(u"  000000000000000000000000000000000000000000042 "), 42},
        {text(u"000000000000000000000000000000000000000000042x"), 0, Status::TypeMismatch},
    };
    for (const auto& c : cases) {
        const std::string label = "case " + std::to_string(&c - cases);
        if (c.status == Status::Ok) {
            EXPECT_EQ(c.value.toInt32(), c.expected) << label;
        } else {
            try {
                c.value.toInt32();
                ADD_FAILURE() << "no error for " << label;
            } catch (const ComError& error) {
                EXPECT_EQ(error.status(), c.status) << label;
            }
        }
    }
}

TEST(Variant, ConvertsToUnsigned32Bit)
{
    EXPECT_EQ(text(u"4294967295").toUInt32(), 4294967295u);
    EXPECT_EQ(Variant::int32(7).toUInt32(), 7u);
    for (const Variant& negative : {text(u"-1"), Variant::int32(-1), Variant::float64(-0.6)}) {
        try {
            negative.toUInt32();
            ADD_FAILURE() << "a negative value must not become unsigned";
        } catch (const ComError& error) {
            EXPECT_EQ(error.status(), Status::Overflow);
        }
    }
    EXPECT_THROW(text(u"4294967296").toUInt32(), ComError);
}

}  // namespace
