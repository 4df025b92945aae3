#include "ControlFixture.h"
#include "controls/DtmBitEnumControl.h"
#include "controls/DtmButtonControl.h"
#include "controls/DtmCheckBox.h"
#include "controls/DtmListControl.h"
#include "controls/DtmProgressBarControl.h"
#include "controls/DtmRadioControl.h"
#include "controls/DtmStaticTextControl.h"
#include "device/StringBridge.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

using namespace orvx;
using namespace orvx::controls;

namespace {

// EnableForMode at the end of a test: of these kinds, only the check boxes (single and bit
// enumeration) follow the page mode.
using ControlKinds = test::ControlFixture;

TEST_F(ControlKinds, CheckBoxWritesItsStateAndKeepsTheMarkWhenTheReadFails)
{
    auto* box = new QCheckBox(form);
    CDtmCheckBox control(20, nullptr, &controller);
    control.Attach(box);
    configure(control, "tag='16009'");
    box->click();
    box->click();
    EXPECT_EQ(sent, QStringList({"16009=1", "16009=0"}));

    reply = [](CUIEventBase& event) {
        static_cast<CCheckBoxEvent&>(event).SetChecked(1);
        event.SetError("not readable");
        return true;
    };
    control.Refresh();
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(control.SemanticErrorText(), "not readable");
    reply = answer(&CCheckBoxEvent::SetChecked, 1);
    control.Refresh();
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(sent.size(), 2) << "showing the device's state writes nothing back";
    control.EnableForMode(false);
    EXPECT_FALSE(box->isEnabled());
}

TEST_F(ControlKinds, RadioGroupShowsTheDeviceValueAndWritesEveryClick)
{
    auto* manual = new QRadioButton(form);
    auto* normal = new QRadioButton(form);
    auto* none = new QRadioButton(form);
    CDtmRadioControl control(30, nullptr, &controller);
    control.Attach({{manual, 2}, {normal, 4}, {none, -1}});
    configure(control, "value='4' tag='1005'");
    EXPECT_TRUE(normal->isChecked());

    // A value that no button has leaves every button unchecked, the exclusive one included.
    reply = answer(&CRadioGetEvent::SetValue, 7);
    control.Refresh();
    EXPECT_FALSE(manual->isChecked() || normal->isChecked() || none->isChecked());
    reply = answer(&CRadioGetEvent::SetValue, 2);
    control.Refresh();
    EXPECT_TRUE(manual->isChecked() && !normal->isChecked());

    manual->click();  // already checked: still written
    none->click();    // a negative value writes nothing
    EXPECT_EQ(sent, QStringList{"1005=2"});
}

TEST_F(ControlKinds, BitEnumerationReadsAndWritesEachEntryByItsTag)
{
    auto* low = new QCheckBox(form);
    auto* top = new QCheckBox(form);
    auto* past = new QCheckBox(form);
    CDtmBitEnumControl control(40, nullptr, &controller);
    // An entry past bit 31 shows its tag's state but is no bit of the value.
    control.Attach({{"Low", "16040", 0, low}, {"Top", "16041", 31, top}, {"Past", "16042", 32, past}});
    reply = [](CUIEventBase& event) {
        auto& get = static_cast<CBitEnumGetEvent&>(event);
        get.SetValue(get.GetTag() == "16041" ? 0 : 5);
        return true;
    };
    control.Refresh();
    EXPECT_TRUE(low->isChecked() && !top->isChecked() && past->isChecked());
    EXPECT_EQ(control.Value(), 1u);

    low->click();
    top->click();
    EXPECT_EQ(sent, QStringList({"16040=0", "16041=1"}));
    EXPECT_EQ(control.Value(), 2147483648u) << "bit 31 stays unsigned";

    // A validator's verdict travels with the write; a refused read unchecks every box.
    configure(control, "value='0'", "<Validator type='numericRange' min='0' max='1'/>");
    top->click();
    EXPECT_EQ(sent.last(), "16041=1 invalid");
    reply = nullptr;
    control.Refresh();
    EXPECT_FALSE(low->isChecked() || top->isChecked());
    control.EnableForMode(false);
    EXPECT_FALSE(low->isEnabled() || top->isEnabled() || past->isEnabled());
}

TEST_F(ControlKinds, ListShowsSetBitsFirstAndKeepsItsRowsOnAMalformedReply)
{
    auto* list = new QTreeWidget(form);
    CDtmListControl control(50, nullptr, &controller);
    control.Attach(list);
    configure(control, "tag='48'", {},
              "<Lists><ListCollection><List caption='Reserved' tag='-1'/>"
              "<List caption='Low supply' tag='1'/><List caption='Travel deviation' tag='2'/>"
              "<List caption='Sensor fault' tag='9'/></ListCollection></Lists>");
    EXPECT_EQ(control.RowCaptions().join('|'), "Low supply|Travel deviation|Sensor fault");
    EXPECT_EQ(control.GetTag(), "48");

    // Bit 1 of the first byte is number 2, bit 0 of the second number 9; the replies after the
    // first are no byte strings and change nothing.
    for (const char* value : {"0201", "00 01", "0", "zz01"}) {
        SCOPED_TRACE(value);
        reply = answer(&CGenericGetEvent::SetValue, device::textVariant(value));
        control.Refresh();
        EXPECT_TRUE(!control.IsActive(1) && control.IsActive(2) && control.IsActive(9));
        EXPECT_EQ(control.RowCaptions().join('|'), "Travel deviation|Sensor fault|Low supply");
        QStringList states;  // each fault's state in words beside its dot
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            states.append(list->topLevelItem(row)->text(1));
        EXPECT_EQ(states.join('|'), "active|active|");
    }
    EXPECT_GE(list->header()->sectionSize(1), static_cast<QAbstractItemView*>(list)->sizeHintForColumn(1))
        << "the state is shown whole";
    control.EnableForMode(false);
    EXPECT_TRUE(list->isEnabled());

    // The page's settings applied again keep the rows and what is active; other entries, or an
    // entry that ends the list early, make the list anew.
    const char* same = "<Lists><ListCollection><List caption='Low supply' tag='1'/>"
                       "<List caption='Travel deviation' tag='2'/><List caption='Sensor fault' tag='9'/>"
                       "</ListCollection></Lists>";
    configure(control, "tag='48'", {}, same);
    EXPECT_EQ(control.RowCaptions().join('|'), "Travel deviation|Sensor fault|Low supply");
    EXPECT_TRUE(control.IsActive(2) && control.IsActive(9));
    configure(control, "tag='48'", {},
              "<Lists><ListCollection><List caption='Low supply' tag='1'/>"
              "<List caption='Travel deviation' tag='3'/><List caption='Sensor fault' tag='9'/>"
              "</ListCollection></Lists>");
    EXPECT_EQ(control.RowCaptions().join('|'), "Low supply|Travel deviation|Sensor fault");
    EXPECT_FALSE(control.IsActive(9)) << "a list made anew has nothing active until the device says so";
    configure(control, "tag='48'", {},
              "<Lists><ListCollection><List caption='Low supply' tag='1'/><List caption='Bad' tag='x'/>"
              "</ListCollection></Lists>");
    EXPECT_EQ(control.RowCaptions().join('|'), "Low supply") << "the entries before the malformed one";
}

TEST_F(ControlKinds, ProgressBarTruncatesItsPositionAndStaysWithinItsRange)
{
    auto* high = new QLabel(form);
    auto* low = new QLabel(form);
    auto* label = new QLabel(form);
    auto* bar = new QProgressBar(form);
    CDtmProgressBarControl control(60, nullptr, &controller);
    control.Attach(high, low, label, bar);
    configure(control, "tag='7'", "<Range low='0' high='100'/>");
    EXPECT_TRUE(control.GetTag().isEmpty()) << "no value: nothing after it is read";
    configure(control, "value='12.7' tag='7' unit='psi'", "<Range low='0' high='100'/>");
    EXPECT_EQ(bar->value(), 12);
    EXPECT_EQ(label->text(), "12.7 psi");

    // Beyond the range shows full or empty, not the previous reading; a reply that is no number keeps it.
    const struct {
        com::Variant value;
        int position;
        const char* text;
    } readings[] = {
        {com::Variant::float64(100.0), 100, "100 psi"}, {com::Variant::float64(99.99), 99, "99.99 psi"},
        {com::Variant::float64(0.0), 0, "0 psi"},       {com::Variant::float64(-1.0), 0, "-1 psi"},
        {com::Variant::float64(1.0), 1, "1 psi"},       {com::Variant::float64(250.4), 100, "250.4 psi"},
        {device::textVariant("nan"), 100, "250.4 psi"}, {device::textVariant("inf"), 100, "250.4 psi"},
    };
    for (const auto& r : readings) {
        reply = answer(&CGenericGetEvent::SetValue, r.value);
        control.Refresh();
        EXPECT_EQ(bar->value(), r.position) << r.text;
        EXPECT_EQ(label->text(), r.text);
    }
    // A value the device could not give: the reason where the number stood, the bar at rest, and
    // the next reading shown again even when it equals the last.
    reply = [](CUIEventBase& event) {
        event.SetError("not supported.");
        return true;
    };
    control.Refresh();
    EXPECT_EQ(label->text(), "not supported.");
    EXPECT_EQ(bar->value(), 0);
    reply = answer(&CGenericGetEvent::SetValue, com::Variant::float64(250.4));
    control.Refresh();
    EXPECT_EQ(label->text(), "250.4 psi");
    control.SetRangeAndUnit("bar", -5, 70000);
    EXPECT_EQ(std::pair(bar->minimum(), bar->maximum()), std::pair(0, 65535));
    EXPECT_EQ(low->text() + " / " + high->text(), "0 bar / 65535 bar");
    control.SetRangeAndUnit("kPa", 1, 65534);
    EXPECT_EQ(low->text() + " / " + high->text(), "1 kPa / 65534 kPa");

    // The reply shown already is shown again after the unit or the configuration changed.
    reply = answer(&CGenericGetEvent::SetValue, com::Variant::float64(250.4));
    control.Refresh();
    EXPECT_EQ(label->text(), "250.4 kPa");
    EXPECT_EQ(bar->value(), 250);
    configure(control, "value='12.7' tag='7' unit='psi'", "<Range low='0' high='100'/>");
    control.Refresh();
    EXPECT_EQ(label->text(), "250.4 psi");
    EXPECT_EQ(bar->value(), 100);
    control.EnableForMode(false);
    EXPECT_TRUE(bar->isEnabled());
}

TEST_F(ControlKinds, StaticTextShowsTheDeviceTextOrWhyThereIsNone)
{
    auto* label = new QLabel(form);
    CDtmStaticTextControl control(70, nullptr, &controller);
    control.Attach(label);
    configure(control, "label='Setup' tag='1000'");
    const struct {
        bool handled;
        const char *text, *error, *shown;
    } rows[] = {{false, "Manual", nullptr, "Setup"},
                {true, "", nullptr, "Setup"},
                {true, "Manual", "offline", "offline"},  // why there is no value, not the last one
                {true, "Normal", nullptr, "Normal"}};
    for (const auto& row : rows) {
        reply = [&row](CUIEventBase& event) {
            static_cast<CStaticTextEvent&>(event).SetStaticText(row.text);
            if (row.error)
                event.SetError(row.error);
            return row.handled;
        };
        control.Refresh();
        EXPECT_EQ(label->text(), row.shown) << row.text;
    }
    control.EnableForMode(false);
    EXPECT_TRUE(label->isEnabled());
}

// A malformed attribute ends a control's configuration there: what came before it holds, what
// follows it does not, and nothing is raised.
TEST_F(ControlKinds, AMalformedAttributeEndsTheConfigurationThere)
{
    auto* box = new QCheckBox(form);
    CDtmCheckBox check(20, nullptr, &controller);
    check.Attach(box);
    configure(check, "tag='16009' modeui='maybe'");  // the tag comes first
    box->click();
    EXPECT_EQ(sent, QStringList{"16009=1"});
    check.EnableForMode(false);
    EXPECT_FALSE(box->isEnabled()) << "the malformed 'modeui' leaves the box following the mode";

    auto* manual = new QRadioButton(form);
    CDtmRadioControl radio(30, nullptr, &controller);
    radio.Attach({{manual, 2}});
    configure(radio, "value='two' tag='1005'");  // the value comes first
    EXPECT_FALSE(manual->isChecked());
    sent.clear();
    manual->click();
    EXPECT_EQ(sent, QStringList{"2"}) << "no tag was read";

    auto* low = new QCheckBox(form);
    CDtmBitEnumControl bits(40, nullptr, &controller);
    bits.Attach({{"Low", "16040", 0, low}});
    configure(bits, "value='x' enabled='0'");
    EXPECT_TRUE(low->isEnabled()) << "'enabled' follows the malformed value and is not read";

    auto* button = new QPushButton(form);
    CDtmButtonControl command(80, nullptr, &controller);
    command.Attach(button);
    configure(command, "enabled='maybe' tag='0'");
    sent.clear();
    button->click();
    EXPECT_EQ(sent, QStringList{""}) << "no tag was read";
}

TEST_F(ControlKinds, ButtonSendsACommandUnlessItsPageStopsTheClick)
{
    auto* button = new QPushButton(form);
    CDtmButtonControl control(80, nullptr, &controller);
    control.Attach(button);
    configure(control, "tag='0'");
    bool proceed = false;
    control.SetClickFilter([&] { return proceed; });
    button->click();
    EXPECT_TRUE(sent.isEmpty());
    proceed = true;
    button->click();
    EXPECT_EQ(sent, QStringList{"0"});
    control.EnableForMode(false);
    EXPECT_TRUE(button->isEnabled());
}

}  // namespace
