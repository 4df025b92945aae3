#include "device/StringBridge.h"

#include <gtest/gtest.h>

using namespace orvx;

TEST(StringBridge, AbsentAndEmptyTextsStayApartBothWays)
{
    EXPECT_TRUE(device::toBStr(QString()).isNull());
    EXPECT_FALSE(device::toBStr(QString("")).isNull());
    EXPECT_TRUE(device::toQString(com::BStr()).isNull());
    const QString empty = device::toQString(com::BStr(u""));
    EXPECT_FALSE(empty.isNull());
    EXPECT_TRUE(empty.isEmpty());
}

TEST(StringBridge, CarriesEveryCharacter)
{
    const QString text = QStringLiteral("Druck \u00b0C \u20ac \U0001F527");
    EXPECT_EQ(device::toQString(device::toBStr(text)), text);
    EXPECT_EQ(device::variantText(device::textVariant(text)), text);
    EXPECT_EQ(device::variantText(com::Variant::int32(-5)), QStringLiteral("-5"));
}
