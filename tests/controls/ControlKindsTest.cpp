#include "controls/DtmBitEnumControl.h"
#include "controls/DtmButtonControl.h"
#include "controls/DtmCheckBox.h"
#include "controls/DtmListControl.h"
#include "controls/DtmProgressBarControl.h"
#include "controls/DtmRadioControl.h"
#include "controls/DtmStaticTextControl.h"
#include "controls/UIEventsImpl.h"
#include "host/StringBridge.h"
#include "platform/xml/XmlDocument.h"
#include "support/MockUIController.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <functional>
#include <optional>

using namespace orvx;
using namespace orvx::controls;
using ::testing::_;
using ::testing::NiceMock;
using ::testing::Return;

namespace {

// What a control sent: its type, tag and the number it carried (check state, radio value or
// bit set), and the validation outcome of a bit-set write.
struct Sent {
    int type = 0;
    QString tag;
    qint64 number = -1;
    bool valid = true;
};

class ControlKinds : public ::testing::Test {
protected:
    ControlKinds()
    {
        ON_CALL(controller, IsWritable()).WillByDefault(Return(true));
        ON_CALL(controller, HandleEvent(_)).WillByDefault([this](CUIEventBase& event) {
            sent.append(record(event));
            const QList<int> reads{EventBitEnumGet, EventCheckBoxGet, EventStaticText, EventRadioGet, EventGenericGet};
            if (reply && reads.contains(event.GetType()))
                reply(event);  // the test's answer fills in the reads only
            return handled;
        });
    }

    // The first ControlData element of a ViewSetting text; the document lives with the test.
    xml::XmlNode controlData(const QString& text)
    {
        document = xml::XmlDocument::parse(text);
        return document->selectSingleNode(QStringLiteral("//ControlData"));
    }

    static Sent record(CUIEventBase& event)
    {
        switch (event.GetType()) {
        case EventCheckBoxSet:
        case EventCheckBoxGet:
            return {event.GetType(), static_cast<CCheckBoxEvent&>(event).GetTag(),
                    static_cast<CCheckBoxEvent&>(event).GetChecked()};
        case EventRadioSet:
            return {event.GetType(), static_cast<CRadioSetEvent&>(event).GetTag(),
                    static_cast<CRadioSetEvent&>(event).GetValue()};
        case EventBitEnumSet: {
            auto& bits = static_cast<CBitEnumSetEvent&>(event);
            return {event.GetType(), bits.GetTag(), bits.GetChecked(), bits.IsValid()};
        }
        case EventBitEnumGet:
            return {event.GetType(), static_cast<CBitEnumGetEvent&>(event).GetTag()};
        case EventCommand:
            return {event.GetType(), static_cast<CCommandEvent&>(event).GetTag()};
        default:
            return {event.GetType(), {}};
        }
    }

    NiceMock<test::MockUIController> controller;
    std::function<void(CUIEventBase&)> reply;
    bool handled = true;
    QList<Sent> sent;
    std::optional<xml::XmlDocument> document;
    QWidget form;
};

TEST_F(ControlKinds, CheckBoxWritesItsStateAndKeepsTheMarkWhenTheReadFails)
{
    auto* box = new QCheckBox(&form);
    CDtmCheckBox control(20, nullptr, &controller);
    control.Attach(box);
    control.Configure(controlData(QStringLiteral("<ControlData tag='16009'/>")));

    box->click();
    box->click();
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sent[0].type, EventCheckBoxSet);
    EXPECT_EQ(sent[0].tag, QStringLiteral("16009"));
    EXPECT_EQ(sent[0].number, 1);
    EXPECT_EQ(sent[1].number, 0);

    reply = [](CUIEventBase& event) {
        static_cast<CCheckBoxEvent&>(event).SetChecked(1);
        event.SetError(QStringLiteral("not readable"));
    };
    control.Refresh();
    EXPECT_EQ(sent.last().type, EventCheckBoxGet);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(control.SemanticErrorText(), QStringLiteral("not readable"));

    reply = [](CUIEventBase& event) { static_cast<CCheckBoxEvent&>(event).SetChecked(1); };
    control.Refresh();
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(sent.size(), 4);  // showing the device's state writes nothing back
}

TEST_F(ControlKinds, RadioGroupShowsTheDeviceValueAndWritesEveryClick)
{
    auto* manual = new QRadioButton(&form);
    auto* normal = new QRadioButton(&form);
    auto* none = new QRadioButton(&form);
    CDtmRadioControl control(30, nullptr, &controller);
    control.Attach({{manual, 2}, {normal, 4}, {none, -1}});
    control.Configure(controlData(QStringLiteral("<ControlData value='4' tag='1005'/>")));
    EXPECT_TRUE(normal->isChecked());

    // A value that no button has leaves every button unchecked, the exclusive one included.
    reply = [](CUIEventBase& event) { static_cast<CRadioGetEvent&>(event).SetValue(7); };
    control.Refresh();
    EXPECT_FALSE(manual->isChecked() || normal->isChecked() || none->isChecked());
    reply = [](CUIEventBase& event) { static_cast<CRadioGetEvent&>(event).SetValue(2); };
    control.Refresh();
    EXPECT_TRUE(manual->isChecked() && !normal->isChecked());

    sent.clear();
    manual->click();  // already checked: still written
    none->click();    // a button without a value writes nothing
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].type, EventRadioSet);
    EXPECT_EQ(sent[0].tag, QStringLiteral("1005"));
    EXPECT_EQ(sent[0].number, 2);
}

TEST_F(ControlKinds, BitEnumerationReadsAndWritesEachEntryByItsTag)
{
    auto* low = new QCheckBox(&form);
    auto* top = new QCheckBox(&form);
    CDtmBitEnumControl control(40, nullptr, &controller);
    control.Attach({{QStringLiteral("Low"), QStringLiteral("16040"), 0, low},
                    {QStringLiteral("Top"), QStringLiteral("16041"), 31, top}});

    reply = [](CUIEventBase& event) {
        auto& get = static_cast<CBitEnumGetEvent&>(event);
        get.SetValue(get.GetTag() == QLatin1String("16040") ? 5 : 0);
    };
    control.Refresh();
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sent[1].tag, QStringLiteral("16041"));
    EXPECT_TRUE(low->isChecked() && !top->isChecked());
    EXPECT_EQ(control.Value(), 1u);

    // Clearing one entry writes 0 to its own tag, setting bit 31 writes 1 to its tag, while
    // the set itself keeps bit 31 unsigned.
    low->click();
    top->click();
    ASSERT_EQ(sent.size(), 4);
    EXPECT_EQ(sent[2].tag, QStringLiteral("16040"));
    EXPECT_EQ(sent[2].number, 0);
    EXPECT_EQ(sent[3].type, EventBitEnumSet);
    EXPECT_EQ(sent[3].tag, QStringLiteral("16041"));
    EXPECT_EQ(sent[3].number, 1);
    EXPECT_EQ(control.Value(), 2147483648u);
    EXPECT_TRUE(sent[3].valid);

    // A validator's verdict travels with the write; a refused read unchecks every box.
    control.Configure(controlData(QStringLiteral(
        "<ControlData value='0'><Validator type='numericRange' min='0' max='1'/></ControlData>")));
    top->click();
    EXPECT_FALSE(sent.last().valid);
    handled = false;
    control.Refresh();
    EXPECT_FALSE(low->isChecked() || top->isChecked());
}

TEST_F(ControlKinds, ListShowsSetBitsFirstAndKeepsItsRowsOnAMalformedReply)
{
    auto* list = new QTreeWidget(&form);
    CDtmListControl control(50, nullptr, &controller);
    control.Attach(list);
    control.Configure(controlData(QStringLiteral(
        "<ViewSetting><Lists><ListCollection>"
        "<List caption='Reserved' tag='-1'/><List caption='Low supply' tag='1'/>"
        "<List caption='Travel deviation' tag='2'/><List caption='Sensor fault' tag='9'/>"
        "</ListCollection></Lists><ControlData controlId='50' tag='48'/></ViewSetting>")));
    EXPECT_EQ(control.GetTag(), QStringLiteral("48"));
    const QStringList configured{QStringLiteral("Low supply"), QStringLiteral("Travel deviation"),
                                 QStringLiteral("Sensor fault")};
    EXPECT_EQ(control.RowCaptions(), configured);

    QString value;
    reply = [&value](CUIEventBase& event) {
        static_cast<CGenericGetEvent&>(event).SetValue(host::textVariant(value));
    };
    value = QStringLiteral("0201");  // bit 1 of byte 0 is number 2, bit 0 of byte 1 is number 9
    control.Refresh();
    EXPECT_TRUE(!control.IsActive(1) && control.IsActive(2) && control.IsActive(9));
    const QStringList sorted{QStringLiteral("Travel deviation"), QStringLiteral("Sensor fault"),
                             QStringLiteral("Low supply")};
    EXPECT_EQ(control.RowCaptions(), sorted);

    for (const char* malformed : {"00 01", "0", "zz01"}) {
        value = QLatin1String(malformed);
        control.Refresh();
        EXPECT_TRUE(control.IsActive(2)) << malformed;
        EXPECT_EQ(control.RowCaptions(), sorted) << malformed;
    }
}

TEST_F(ControlKinds, ProgressBarTruncatesItsPositionAndStaysWithinItsRange)
{
    auto* high = new QLabel(&form);
    auto* low = new QLabel(&form);
    auto* label = new QLabel(&form);
    auto* bar = new QProgressBar(&form);
    CDtmProgressBarControl control(60, nullptr, &controller);
    control.Attach(high, low, label, bar);

    control.Configure(controlData(QStringLiteral("<ControlData tag='7'><Range low='0' high='100'/></ControlData>")));
    EXPECT_TRUE(control.GetTag().isEmpty());  // no value: nothing after it is read

    control.Configure(controlData(QStringLiteral(
        "<ControlData value='12.7' tag='7' unit='psi'><Range low='0' high='100'/></ControlData>")));
    EXPECT_EQ(bar->value(), 12);
    EXPECT_EQ(label->text(), QStringLiteral("12.7 psi"));

    com::Variant value = com::Variant::float64(250.4);
    reply = [&value](CUIEventBase& event) { static_cast<CGenericGetEvent&>(event).SetValue(value); };
    control.Refresh();
    EXPECT_EQ(bar->value(), 100);  // beyond the range shows full, not the previous reading
    EXPECT_EQ(label->text(), QStringLiteral("250.4 psi"));
    value = host::textVariant(QStringLiteral("nan"));
    control.Refresh();
    EXPECT_EQ(label->text(), QStringLiteral("250.4 psi"));

    control.SetRangeAndUnit(QStringLiteral("bar"), -5, 70000);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 65535);
    EXPECT_EQ(low->text(), QStringLiteral("0 bar"));
    EXPECT_EQ(high->text(), QStringLiteral("65535 bar"));
}

TEST_F(ControlKinds, StaticTextKeepsItsTextUnlessTheDeviceSaysSomething)
{
    auto* label = new QLabel(&form);
    CDtmStaticTextControl control(70, nullptr, &controller);
    control.Attach(label);
    control.Configure(controlData(QStringLiteral("<ControlData label='Setup' tag='1000'/>")));
    EXPECT_EQ(control.GetEditWindow(), label);

    struct Case {
        bool handled;
        const char* text;
        const char* error;
        const char* shown;
    };
    for (const Case& c : {Case{false, "Manual", nullptr, "Setup"}, Case{true, "", nullptr, "Setup"},
                          Case{true, "Manual", "offline", "Setup"}, Case{true, "Normal", nullptr, "Normal"}}) {
        handled = c.handled;
        reply = [&c](CUIEventBase& event) {
            static_cast<CStaticTextEvent&>(event).SetStaticText(QLatin1String(c.text));
            if (c.error)
                event.SetError(QLatin1String(c.error));
        };
        control.Refresh();
        EXPECT_EQ(label->text(), QLatin1String(c.shown)) << c.text;
    }
}

TEST_F(ControlKinds, ButtonSendsACommandUnlessItsPageStopsTheClick)
{
    auto* button = new QPushButton(&form);
    CDtmButtonControl control(80, nullptr, &controller);
    control.Attach(button);
    control.Configure(controlData(QStringLiteral("<ControlData tag='0'/>")));

    bool proceed = false;
    control.SetClickFilter([&] { return proceed; });
    button->click();
    EXPECT_TRUE(sent.isEmpty());
    proceed = true;
    button->click();
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].type, EventCommand);
    EXPECT_EQ(sent[0].tag, QStringLiteral("0"));
}

TEST_F(ControlKinds, OnlyTheInputKindsFollowThePageMode)
{
    auto* box = new QCheckBox(&form);
    auto* list = new QTreeWidget(&form);
    auto* bar = new QProgressBar(&form);
    auto* label = new QLabel(&form);
    auto* button = new QPushButton(&form);
    CDtmCheckBox check(1, nullptr, &controller);
    CDtmListControl listControl(2, nullptr, &controller);
    CDtmProgressBarControl progress(3, nullptr, &controller);
    CDtmStaticTextControl text(4, nullptr, &controller);
    CDtmButtonControl command(5, nullptr, &controller);
    check.Attach(box);
    listControl.Attach(list);
    progress.Attach(nullptr, nullptr, nullptr, bar);
    text.Attach(label);
    command.Attach(button);

    for (IFdtControl* control : std::initializer_list<IFdtControl*>{&check, &listControl, &progress, &text, &command})
        control->EnableForMode(false);
    EXPECT_FALSE(box->isEnabled());
    EXPECT_TRUE(list->isEnabled() && bar->isEnabled() && label->isEnabled() && button->isEnabled());
}

}  // namespace
