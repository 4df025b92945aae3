#include "controls/DtmComboBoxControl.h"
#include "controls/UIEventsImpl.h"
#include "framework/ApplicationViewBase.h"
#include "platform/xml/XmlDocument.h"
#include "support/MockUIController.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QScrollBar>

#include <functional>

using namespace orvx;
using controls::CComboBoxGetEventImpl;

namespace {

// A combo box on a page whose controller answers reads through 'reply' (none: not handled) and
// records the index of every choice written.
class ComboBoxControl : public ::testing::Test {
protected:
    void SetUp() override
    {
        ON_CALL(controller, IsWritable()).WillByDefault([this] { return writable; });
        ON_CALL(controller, HandleEvent).WillByDefault([this](controls::CUIEventBase& event) {
            if (event.GetType() == controls::EventComboBoxSet)
                sent.append(static_cast<controls::CComboBoxSetEvent&>(event).GetIndex());
            return event.GetType() == controls::EventComboBoxSet ||
                   (reply && reply(static_cast<CComboBoxGetEventImpl&>(event)));
        });
        page.SetController(&controller);
        auto owned = std::make_unique<controls::CDtmComboBoxControl>(20, &page, &controller);
        control = owned.get();
        control->Attach(nullptr, new QLabel(page.Surface()), combo, valueLabel);
        page.RegisterControl(std::move(owned));
    }

    void configure(const QString& attributes,
                   const QString& choices = QStringLiteral(
                       "<Choice caption='Open' tag='A'/><Choice caption='Closed' tag='B'/>"))
    {
        const auto document = xml::XmlDocument::parse(
            QStringLiteral("<ControlData %1><ChoiceCollection>%2</ChoiceCollection></ControlData>")
                .arg(attributes, choices));
        control->Configure(document->selectSingleNode(QStringLiteral("ControlData")));
    }
    ::testing::NiceMock<test::MockUIController> controller;
    framework::CApplicationViewBase page;
    QComboBox* combo = new QComboBox(page.Surface());
    QLabel* valueLabel = new QLabel(page.Surface());
    controls::CDtmComboBoxControl* control = nullptr;
    bool writable = true;
    std::function<bool(CComboBoxGetEventImpl&)> reply;
    QList<int> sent;
};

TEST_F(ComboBoxControl, TheValueSelectsItsChoiceOnlyWhileAvailable)
{
    const struct {
        const char* attributes;
        int index;
        std::int32_t state;
    } rows[] = {
        {"value='B'", 1, controls::IndicatorNormal},
        {"value='X'", -1, controls::IndicatorNormal},
        {"available='0' value='B'", -1, controls::IndicatorUnavailable},
        {"available='false' value='A'", 0, controls::IndicatorNormal},
    };
    for (const auto& row : rows) {
        configure(QLatin1String(row.attributes));
        EXPECT_EQ(combo->currentIndex(), row.index) << row.attributes;
        EXPECT_EQ(control->GetIndicatorState(), row.state) << row.attributes;
    }
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(1), QStringLiteral("Closed"));
}

TEST_F(ComboBoxControl, TwelveChoicesOpenAsTwelveRows)
{
    QString choices;
    for (int i = 1; i <= 12; ++i)
        choices += QStringLiteral("<Choice caption='Choice %1' tag='%1'/>").arg(i);
    configure({}, choices);
    // A list-style drop-down, as styles that honour the visible row count draw it.
    combo->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    page.show();
    combo->showPopup();
    EXPECT_EQ(combo->view()->verticalScrollBar()->maximum(), 0)
        << "every choice shows without scrolling";
    combo->hidePopup();
}

TEST_F(ComboBoxControl, AReplacedListIsShownWithItsCurrentChoiceAndTheDeviceIndexMarksChanges)
{
    configure(QStringLiteral("value='A'"));
    reply = [this](CComboBoxGetEventImpl& event) {
        event.SetChoices({{{"Low", "L", 1}, {"Mid", "M", 2}, {"High", "H", 3}}, 2});
        event.SetCaption(QStringLiteral("3 bar"));
        event.SetDeviceIndexFlag(true);
        emit combo->activated(1);  // the control's own writes send nothing
        return true;
    };
    control->Refresh();
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("Low"));
    EXPECT_EQ(combo->currentIndex(), 2);
    EXPECT_EQ(valueLabel->text(), QStringLiteral("3 bar"));
    EXPECT_FALSE(control->IsModified());

    emit combo->activated(0);
    EXPECT_EQ(sent, QList<int>{0});
    EXPECT_EQ(control->GetIndicatorState(), controls::IndicatorModified)
        << "the device still holds High";
}

TEST_F(ComboBoxControl, ReplyFlagsAndUserRightsDecideWhetherTheUserMayChoose)
{
    configure(QStringLiteral("value='A'"));
    const struct {
        bool handled;
        int enabled;  // -1: the reply leaves the request's state
        bool readOnly, mayWrite, expectEnabled;
        std::int32_t state;
    } rows[] = {
        {false, 1, false, true, false, controls::IndicatorNormal},
        {true, -1, false, true, true, controls::IndicatorNormal},  // a failed read does not lock it
        {true, 1, true, true, false, controls::IndicatorReadOnly},
        {true, 1, false, false, false, controls::IndicatorNormal},
    };
    for (const auto& row : rows) {
        writable = row.mayWrite;
        reply = [&row](CComboBoxGetEventImpl& event) {
            if (row.enabled >= 0)
                event.SetEnabled(row.enabled == 1);
            event.SetReadOnly(row.readOnly);
            event.SetCurrentIndex(0);
            return row.handled;
        };
        control->Refresh();
        const auto at = &row - rows;
        EXPECT_EQ(combo->isEnabled(), row.expectEnabled) << at;
        EXPECT_EQ(combo->currentIndex(), row.handled ? 0 : -1) << at;
        EXPECT_EQ(control->GetIndicatorState(), row.state) << at;
    }
}

}  // namespace
