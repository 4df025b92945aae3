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

TEST(UIEvents, EachKindCarriesItsTypeAndRequestFields)
{
    CCheckBoxEventImpl click(EventCheckBoxSet, 6, 20, QStringLiteral("16009"), 1);
    CCheckBoxEventImpl read(EventCheckBoxGet, 6, 20, QStringLiteral("16009"), 0);
    EXPECT_EQ(click.GetType(), 11);
    EXPECT_EQ(read.GetType(), 12);
    EXPECT_EQ(click.GetChecked(), 1);

    CActionEventImpl action(1, 2);
    EXPECT_EQ(action.GetType(), EventAction);
    EXPECT_EQ(action.GetViewId(), 1);      // the action id
    EXPECT_EQ(action.GetControlId(), 2);   // the state
    action.SetState(0);
    EXPECT_EQ(action.GetControlId(), 0);

    CViewRequestEventImpl request(19);
    CViewActivatedEventImpl activated(19);
    EXPECT_EQ(request.GetType(), EventViewRequest);
    EXPECT_EQ(activated.GetType(), EventViewActivated);
    EXPECT_EQ(request.GetViewId(), 19);

    CBitEnumSetEventImpl bits(7, 30, QStringLiteral("16050"), 0x80000000u, true);
    EXPECT_EQ(bits.GetType(), EventBitEnumSet);
    EXPECT_EQ(bits.GetChecked(), 2147483648u);

    CTextDataSetEventImpl set(5, 14, QStringLiteral("1001"), QStringLiteral("PV-101"), true);
    EXPECT_EQ(set.GetViewId(), 5);
    EXPECT_EQ(set.GetControlId(), 14);
    EXPECT_EQ(set.GetTag(), QStringLiteral("1001"));
    EXPECT_EQ(set.GetValue(), QStringLiteral("PV-101"));

    CComboBoxSetEventImpl choose(5, 8, QStringLiteral("1005"), 2, {"Normal", "4", 0});
    EXPECT_EQ(choose.GetIndex(), 2);
    EXPECT_EQ(choose.GetChoice().tag, QStringLiteral("4"));

    EXPECT_EQ(CRadioSetEventImpl(5, 40, "4003", 2).GetType(), EventRadioSet);
    EXPECT_EQ(CRadioGetEventImpl(5, 40, "4003").GetType(), EventRadioGet);
    EXPECT_EQ(CGenericGetEventImpl(21, 10, "12000").GetType(), EventGenericGet);
}

}  // namespace
