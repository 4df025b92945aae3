#include "controls/DtmComboBoxControl.h"
#include "controls/DtmProgressBarControl.h"
#include "controls/DtmRadioControl.h"
#include "controls/DtmTextControl.h"
#include "framework/ApplicationViewBase.h"
#include "framework/PageFields.h"
#include "support/MockUIController.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

using namespace orvx;
using namespace orvx::framework;
using enum FieldKind;

namespace {

constexpr FieldOption kOptions[] = {{501, 0, "Off"}, {502, 5, "On"}};
constexpr FieldOption kOtherOptions[] = {{503, 1, "Left"}, {504, 2, "Right"}};
constexpr PageField kTable[] = {
    {.controlId = 10, .kind = Text, .item = 401, .caption = "Entry", .icon = 402, .unit = 403},
    {.controlId = 11, .kind = Choice, .item = 404, .caption = "Choice", .captionItem = 405},
    {.controlId = 12, .kind = Label, .item = 406},
    {.controlId = 13, .kind = Check, .item = 407, .caption = "Check"},
    {.controlId = 14, .kind = Radio, .options = kOptions},
    {.controlId = 15, .kind = List, .item = 408},
    {.controlId = 16, .kind = Button, .item = 409, .caption = "Press"},
    {.controlId = 17, .kind = Bar, .item = 410, .value = 411, .low = 412, .high = 413},
    {.controlId = 18, .kind = Text, .item = 414, .unit = kUnnumbered},
    {.controlId = 19, .kind = Radio, .options = kOtherOptions},
    {.controlId = 10, .kind = Text, .item = 415},  // a second field for id 10 is ignored
};

class PageFieldsTest : public ::testing::Test {
protected:
    PageFieldsTest()
    {
        page.SetController(&controller);
        // Numbers apart from the header's, which every page has.
        auto* body = new QWidget(page.Surface());
        fields.AddRows(new QGridLayout(body), body, kTable);
        fields.Bind();
    }
    template <class T>
    T* item(int number) const
    {
        return page.Surface()->findChild<T*>(QStringLiteral("item_%1").arg(number));
    }

    ::testing::NiceMock<test::MockUIController> controller;
    CApplicationViewBase page;
    CPageFields fields{page};
};

TEST_F(PageFieldsTest, EachKindIsBoundToTheNumberedWidgetsOfItsField)
{
    for (std::int32_t id = 10; id <= 19; ++id) {
        ASSERT_NE(page.Control(id), nullptr) << id;
        EXPECT_TRUE(page.Control(id)->HasWidget()) << id;
        EXPECT_EQ(fields.Get<controls::IFdtControl>(id), page.Control(id)) << id;
    }
    EXPECT_EQ(fields.Widgets(10)->field, item<QLineEdit>(401));
    EXPECT_EQ(item<QLineEdit>(415), nullptr) << "the second field for id 10 made nothing";
    for (int number : {406, 411, 412, 413})
        EXPECT_NE(item<QLabel>(number), nullptr) << number;
    EXPECT_NE(item<QCheckBox>(407), nullptr);
    EXPECT_NE(item<QTreeWidget>(408), nullptr);
    EXPECT_EQ(item<QPushButton>(409)->text(), QStringLiteral("Press"));
    EXPECT_NE(item<QProgressBar>(410), nullptr);
    EXPECT_TRUE(fields.Widgets(18)->unit && fields.Widgets(18)->unit->objectName().isEmpty());
    EXPECT_EQ(fields.Get<controls::CDtmTextControl>(11), nullptr) << "a choice is no text control";

    // Each control drives the widgets its field names, not its neighbours'.
    fields.Get<controls::CDtmTextControl>(10)->SetUnitText(QStringLiteral("psi"));
    EXPECT_EQ(item<QLabel>(403)->text(), QStringLiteral("psi"));
    fields.Get<controls::CDtmComboBoxControl>(11)->SetCaption(QStringLiteral("Unit"));
    EXPECT_EQ(item<QLabel>(405)->text(), QStringLiteral("Unit"));
    fields.Get<controls::CDtmProgressBarControl>(17)->SetRangeAndUnit(QStringLiteral("bar"), 0, 10);
    EXPECT_EQ(item<QLabel>(412)->text(), QStringLiteral("0 bar"));
    EXPECT_EQ(item<QLabel>(413)->text(), QStringLiteral("10 bar"));
    EXPECT_EQ(item<QProgressBar>(410)->maximum(), 10);

    // A radio group's values follow its options, and each group is exclusive on its own.
    page.ApplyViewSetting(QStringLiteral("<ViewSetting><ControlData controlId='14' value='5'/>"
                                         "<ControlData controlId='19' value='1'/></ViewSetting>"));
    EXPECT_TRUE(item<QRadioButton>(502)->isChecked());
    EXPECT_TRUE(item<QRadioButton>(503)->isChecked());
    item<QRadioButton>(501)->setChecked(true);
    EXPECT_FALSE(item<QRadioButton>(502)->isChecked());
    EXPECT_TRUE(item<QRadioButton>(503)->isChecked()) << "another group keeps its choice";
}

TEST_F(PageFieldsTest, BindingAgainMakesNoSecondControl)
{
    controls::IFdtControl* entry = page.Control(10);
    fields.Bind();
    EXPECT_EQ(page.Control(10), entry);
    EXPECT_EQ(fields.Get<controls::IFdtControl>(10), entry);
}

}  // namespace
