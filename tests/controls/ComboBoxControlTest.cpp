#include "ControlFixture.h"
#include "controls/DtmComboBoxControl.h"
#include "controls/UIEventsImpl.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QScrollBar>

using namespace orvx;
using namespace orvx::controls;

namespace {

// A combo box with its icon and value label on the page.
class ComboBoxControl : public test::ControlFixture {
protected:
    ComboBoxControl() { control->Attach(nullptr, new QLabel(form), combo, valueLabel); }
    const QString openClosed = "<ChoiceCollection><Choice caption='Open' tag='A'/>"
                               "<Choice caption='Closed' tag='B'/></ChoiceCollection>";
    QComboBox* combo = new QComboBox(form);
    QLabel* valueLabel = new QLabel(form);
    CDtmComboBoxControl* control = add<CDtmComboBoxControl>(20);
};

TEST_F(ComboBoxControl, TheValueSelectsItsChoiceOnlyWhileAvailable)
{
    const struct {
        const char* attributes;
        int index, state;
    } rows[] = {{"value='B'", 1, IndicatorNormal},
                {"value='X'", -1, IndicatorNormal},
                {"available='0' value='B'", -1, IndicatorUnavailable},
                {"available='false' value='A'", 0, IndicatorNormal}};
    for (const auto& row : rows) {
        configure(*control, row.attributes, openClosed);
        EXPECT_EQ(combo->currentIndex(), row.index) << row.attributes;
        EXPECT_EQ(control->GetIndicatorState(), row.state) << row.attributes;
    }
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(1), "Closed");
}

TEST_F(ComboBoxControl, TwelveChoicesOpenAsTwelveRows)
{
    QString choices;
    for (int i = 1; i <= 12; ++i)
        choices += QStringLiteral("<Choice caption='Choice %1' tag='%1'/>").arg(i);
    configure(*control, {}, "<ChoiceCollection>" + choices + "</ChoiceCollection>");
    combo->setStyleSheet("QComboBox { combobox-popup: 0; }");  // a list-style drop-down
    page.show();
    combo->showPopup();
    EXPECT_EQ(combo->view()->verticalScrollBar()->maximum(), 0) << "all shown without scrolling";
}

TEST_F(ComboBoxControl, AReplacedListIsShownWithItsCurrentChoiceAndTheDeviceIndexMarksChanges)
{
    configure(*control, "value='A'", openClosed);
    reply = [this](CUIEventBase& event) {
        auto& get = static_cast<CComboBoxGetEvent&>(event);
        get.SetChoices({{{"Low", "L", 1}, {"Mid", "M", 2}, {"High", "H", 3}}, 2});
        get.SetCaption("3 bar");
        get.SetDeviceIndexFlag(true);
        emit combo->activated(1);  // a selection while the control writes sends nothing
        return true;
    };
    control->Refresh();
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_EQ(combo->itemText(0) + ' ' + combo->currentText(), "Low High");
    EXPECT_EQ(valueLabel->text(), "3 bar");
    EXPECT_FALSE(control->IsModified());

    emit combo->activated(0);
    EXPECT_EQ(sent, QStringList{"0"});
    EXPECT_EQ(control->GetIndicatorState(), IndicatorModified) << "the device still holds High";
}

TEST_F(ComboBoxControl, ReplyFlagsAndUserRightsDecideWhetherTheUserMayChoose)
{
    configure(*control, "value='A'", openClosed);
    const struct {
        bool handled;
        std::optional<bool> enabled;  // none: the reply leaves the request's state
        bool readOnly, mayWrite, enabledAfter;
        int state;
    } rows[] = {{false, true, false, true, false, IndicatorNormal},        // not read: disabled, cleared
                {true, std::nullopt, false, true, true, IndicatorNormal},  // and not kept locked
                {true, true, true, true, false, IndicatorReadOnly},
                {true, true, false, false, false, IndicatorNormal}};
    for (const auto& row : rows) {
        writable = row.mayWrite;
        reply = [&row](CUIEventBase& event) {
            auto& get = static_cast<CComboBoxGetEventImpl&>(event);
            if (row.enabled)
                get.SetEnabled(*row.enabled);
            get.SetReadOnly(row.readOnly);
            get.SetCurrentIndex(0);
            return row.handled;
        };
        control->Refresh();
        SCOPED_TRACE(&row - rows);
        EXPECT_EQ(combo->isEnabled(), row.enabledAfter);
        EXPECT_EQ(combo->currentIndex(), row.handled ? 0 : -1);
        EXPECT_EQ(control->GetIndicatorState(), row.state);
    }
}

}  // namespace
