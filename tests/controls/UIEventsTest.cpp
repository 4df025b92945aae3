#include "controls/UIEventsImpl.h"

#include <gtest/gtest.h>

using namespace orvx::controls;

namespace {

TEST(UIEvents, ReplyFlagsDefaultToEnabledAndWritable)
{
    CTextDataGetEventImpl text(4, 12, QStringLiteral("16001"));
    EXPECT_EQ(text.GetType(), EventTextDataGet);
    EXPECT_TRUE(text.IsEnabled());
    EXPECT_FALSE(text.IsReadOnly());
    EXPECT_FALSE(text.IsFlagSet());
    EXPECT_TRUE(text.GetValue().isEmpty());  // answered without a value: the control keeps its text

    CBitEnumGetEventImpl bits(4, 13, QStringLiteral("16040"));
    EXPECT_TRUE(bits.IsEnabled());
    EXPECT_EQ(bits.GetValue(), 0u);

    CComboBoxGetEventImpl combo(4, 8, QStringLiteral("1005"));
    EXPECT_TRUE(combo.IsEnabled());
    EXPECT_FALSE(combo.AreChoicesGiven());
    combo.SetChoices({{{"Setup", "1", 0}, {"Normal", "4", 0}}, 1});
    EXPECT_TRUE(combo.AreChoicesGiven());
    EXPECT_EQ(combo.GetChoices().current, 1);

    CCommandEventImpl command(1, 9, QStringLiteral("0"));
    EXPECT_TRUE(command.IsProceed());
}

TEST(UIEvents, TheErrorTextIsReadOnlyWithTheErrorSet)
{
    CStaticTextEventImpl event(0, 5, QStringLiteral("1000"));
    EXPECT_FALSE(event.IsError());
    EXPECT_TRUE(event.GetErrorText().isEmpty());
    event.SetError(QStringLiteral("invalid value."));
    EXPECT_TRUE(event.IsError());
    EXPECT_EQ(event.GetErrorText(), QStringLiteral("invalid value."));
}

TEST(UIEvents, TheCheckBoxEventTellsItsDirectionByType)
{
    CCheckBoxEventImpl click(EventCheckBoxSet, 6, 20, QStringLiteral("16009"), 1);
    CCheckBoxEventImpl read(EventCheckBoxGet, 6, 20, QStringLiteral("16009"), 0);
    EXPECT_EQ(click.GetType(), 11);
    EXPECT_EQ(read.GetType(), 12);
    CActionEventImpl action(1, 2);  // the action id in the view id's place, the state in the control id's
    EXPECT_EQ(action.GetViewId(), 1);
    EXPECT_EQ(action.GetControlId(), 2);
}

}  // namespace
