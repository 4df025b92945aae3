#include "framework/TextProvider.h"
#include "support/FakeBusinessObject.h"

#include <gtest/gtest.h>

using namespace orvx;
using framework::CTextProvider;
using test::FakeBusinessObject;
using test::Via;

namespace {

TEST(TextProvider, WithoutASourceUsesTheBuiltInTable)
{
    CTextProvider texts;
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0, "Connected"},
        {1, "Disconnected"},
        {2, "##UI_TEXT_2"},
        {7, "Communication with device is in progress"},
        {12, "##UI_TEXT_12"},
        {17, "OK"},
        {20, "Numeric value must be within {min} and {max}"},
        {24, "Input value must be divisible by {step}"},
        {25, "##UI_TEXT_25"},
        {99, "##UI_TEXT_99"},
        {4294967295u, "##UI_TEXT_4294967295"},
    };
    for (const auto& [id, expected] : cases)
        EXPECT_EQ(texts.GetTextById(id).toStdString(), expected) << id;
    EXPECT_EQ(texts.GetTextByKey("Foo"), QStringLiteral("##Foo"));
    EXPECT_EQ(texts.TranslateName("PV-101"), QStringLiteral("PV-101"));
}

TEST(TextProvider, TheBusinessObjectsTextWinsWhenItHasOne)
{
    auto device = com::makeComObject<FakeBusinessObject>();
    device->texts = {
        {"UI_TEXT_20", "Wert muss zwischen {min} und {max} liegen"},
        {"UI_TEXT_0", "##UI_TEXT_0"},  // answering the marker counts as not knowing the key
        {"UI_TEXT_17", ""},            // an empty answer is an answer
        {"UI_TEXT_12", "Unbekannt"},
    };
    CTextProvider texts;
    texts.SetCurrentTextSource(device.get());
    EXPECT_EQ(texts.GetTextById(20), QStringLiteral("Wert muss zwischen {min} und {max} liegen"));
    EXPECT_EQ(texts.GetTextById(0), QStringLiteral("Connected"));
    EXPECT_EQ(texts.GetTextById(17), QString(""));
    EXPECT_EQ(texts.GetTextById(12), QStringLiteral("Unbekannt"));
    EXPECT_EQ(texts.GetTextById(2), QStringLiteral("##UI_TEXT_2"));
    EXPECT_EQ(texts.GetTextByKey("Foo"), QStringLiteral("##Foo"));
}

TEST(TextProvider, AsksTheCurrentSourceBeforeTheEarlierOne)
{
    auto current = com::makeComObject<FakeBusinessObject>();
    auto earlier = com::makeComObject<FakeBusinessObject>();
    current->texts = {{"UI_TEXT_1", "from current"}};
    earlier->texts = {{"UI_TEXT_1", "from earlier"}};

    CTextProvider texts;
    texts.SetEarlierTextSource(earlier.get());
    EXPECT_EQ(texts.GetTextById(1), QStringLiteral("from earlier"));
    EXPECT_EQ(earlier->callsOf("GetText").front().via, Via::Earlier);

    texts.SetCurrentTextSource(current.get());
    EXPECT_EQ(texts.GetTextById(1), QStringLiteral("from current"));
    EXPECT_EQ(current->callsOf("GetText").front().via, Via::Current);
    EXPECT_EQ(earlier->callsOf("GetText").size(), 1);
}

TEST(TextProvider, TranslatesNamesTheSourceKnows)
{
    auto device = com::makeComObject<FakeBusinessObject>();
    device->texts = {{"TV-7", "Tank valve 7"}, {"Blank", ""}, {"Hash", "#"}};
    CTextProvider texts;
    texts.SetCurrentTextSource(device.get());
    EXPECT_EQ(texts.TranslateName("PV-101"), QStringLiteral("PV-101"));  // the source answers ##PV-101
    EXPECT_EQ(texts.TranslateName("TV-7"), QStringLiteral("Tank valve 7"));
    EXPECT_EQ(texts.TranslateName("Blank"), QString(""));
    EXPECT_EQ(texts.TranslateName("Hash"), QStringLiteral("#"));  // one character is not the marker
}

TEST(TextProvider, HoldsItsSourcesCountedAndLetsThemGo)
{
    auto device = com::makeComObject<FakeBusinessObject>();
    {
        CTextProvider texts;
        texts.SetCurrentTextSource(device.get());
        texts.SetCurrentTextSource(device.get());  // the same source again changes nothing
        texts.SetEarlierTextSource(device.get());
        EXPECT_EQ(device->referenceCount(), 3u);
        texts.SetEarlierTextSource(nullptr);
        EXPECT_EQ(device->referenceCount(), 2u);
    }
    EXPECT_EQ(device->referenceCount(), 1u);
}

TEST(TextProvider, ASecondProviderChangesNoBuiltInText)
{
    auto device = com::makeComObject<FakeBusinessObject>();
    device->texts = {{"UI_TEXT_0", "Verbunden"}};
    CTextProvider first;
    {
        CTextProvider second;
        second.SetCurrentTextSource(device.get());
        EXPECT_EQ(second.GetTextById(0), QStringLiteral("Verbunden"));
    }
    EXPECT_EQ(first.GetTextById(0), QStringLiteral("Connected"));
}

}  // namespace
