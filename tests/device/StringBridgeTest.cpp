#include "device/StringBridge.h"

#include <gtest/gtest.h>

using namespace orvx;

TEST(StringBridge, AbsentAndEmptyTextsStayApartBothWays)
{
    EXPECT_TRUE(host::toBStr(QString()).isNull());
    EXPECT_FALSE(host::toBStr(QString("")).isNull());
    EXPECT_TRUE(host::toQString(com::BStr()).isNull());
    const QString empty = host::toQString(com::BStr(u""));
    EXPECT_FALSE(empty.isNull());
    EXPECT_TRUE(empty.isEmpty());
}

TEST(StringBridge, CarriesEveryCharacter)
{
    const QString text = QStringLiteral("Druck \u00b0C \u20ac \U0001F527");
    EXPECT_EQ(host::toQString(host::toBStr(text)), text);
    EXPECT_EQ(host::variantText(host::textVariant(text)), text);
    EXPECT_EQ(host::variantText(com::Variant::int32(-5)), QStringLiteral("-5"));
}
