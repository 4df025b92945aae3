#include "ControlFixture.h"
#include "controls/DtmTextControl.h"
#include "framework/TextProvider.h"
#include "framework/TooltipRelay.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

using namespace orvx;
using controls::CDtmTextControl;
using controls::CTextDataGetEvent;

namespace {

// Text fields with an icon, each new one registered on the page under the next control id.
class TextControl : public test::ControlFixture {
protected:
    TextControl() { ON_CALL(controller, GetTextResource()).WillByDefault(::testing::Return(&texts)); }

    CDtmTextControl* makeField(const QString& attributes, const QString& children = {})
    {
        icon = new QLabel(form);
        edit = new QLineEdit(form);
        auto* field = add<CDtmTextControl>(++lastId);
        field->Attach(icon, edit, nullptr);
        configure(*field, attributes, children);
        return field;
    }
    // The user's own edit (it sets the modified mark, as typing does), Enter and leaving.
    void type(const QString& text) { edit->selectAll(), edit->insert(text); }
    void send(QEvent&& event) { QCoreApplication::sendEvent(edit, &event); }
    void enter(int key = Qt::Key_Return) { send(QKeyEvent(QEvent::KeyRelease, key, {})); }
    void leave() { send(QFocusEvent(QEvent::FocusOut, Qt::TabFocusReason)); }
    bool red() const { return edit->palette().color(QPalette::Text) == QColor(Qt::red); }

    framework::CTextProvider texts;
    std::int32_t lastId = 0;
    QLabel* icon = nullptr;
    QLineEdit* edit = nullptr;
};

TEST_F(TextControl, TheDeviceTextIsShownTrimmedOnlyWithAStringLengthAndAFailedReadLocksTheField)
{
    // The device's text, none when the read is not handled.
    const struct {
        const char* data;
        std::optional<QString> device;
        const char* shown;
    } rows[] = {{"value='X' stringLength='8'", "ABC     ", "ABC"},
                {"value='X'", "ABC     ", "ABC     "},
                {"value='KEPT' stringLength='8'", "", "KEPT"},  // empty: the text stays
                {"value='42'", std::nullopt, ""}};
    CDtmTextControl* field = nullptr;
    for (const auto& row : rows) {
        field = makeField(row.data);
        reply = [&row](controls::CUIEventBase& event) {
            static_cast<CTextDataGetEvent&>(event).SetValue(row.device.value_or(""));
            return row.device.has_value();
        };
        field->Refresh();
        EXPECT_EQ(edit->text(), row.shown) << row.data;
        EXPECT_EQ(edit->isReadOnly(), !row.device) << row.data;
        EXPECT_EQ(field->IsModified(), !row.device) << "a value read clears the mark";
    }
    reply = answer(&CTextDataGetEvent::SetValue, "7");
    field->Refresh();
    EXPECT_FALSE(edit->isReadOnly()) << "unlocked once the value can be read";
}

TEST_F(TextControl, AnInvalidEntryStaysRedUntilCorrectedAndTheCorrectionIsSentOnce)
{
    auto* field = makeField("label='Travel'", "<Validator type='numericRange' min='0' max='100'/>");
    // The page counts the field's invalid entry once and uncounts it once.
    EXPECT_CALL(controller, SetParameterValue(QStringLiteral("15001"), com::Variant::int32(1)));
    EXPECT_CALL(controller, SetParameterValue(QStringLiteral("15001"), com::Variant::int32(-1)));

    type("150");
    enter();
    leave();
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_TRUE(red());
    EXPECT_EQ(field->ShownIcon(), 30u);
    EXPECT_EQ(page.ToolTips()->TipOf(icon), "Numeric value must be within 0 and 100");
    EXPECT_EQ(field->GetLabelledMessage(), "Travel value must be within 0 and 100");

    type("50");
    leave();
    EXPECT_EQ(sent, QStringList{"50"});
    enter(Qt::Key_Enter);
    EXPECT_EQ(sent, QStringList{"50"}) << "not sent twice";
    EXPECT_FALSE(red());
    EXPECT_EQ(field->ShownIcon(), 31u) << "modified until the device is read again";
    EXPECT_TRUE(page.ToolTips()->TipOf(icon).isNull());
}

TEST_F(TextControl, TheLabelNamesTheFieldInEachKindOfComplaint)
{
    const struct {
        const char* validator;
        const char* entry;
        const char* message;
    } rows[] = {
        {"type='numericRange' min='0' max='100'", "101", "Travel value must be within 0 and 100"},
        {"type='numericRange' min='0' max='100'", "x", "Travel is not a valid whole number"},
        {"type='numericRange_double' min='0' max='1'", "x", "Travel is not a valid floating number"},
        {"type='numericRange' step='5'", "7", "Travel value must be divisible by 5"},
        {"type='specialRange' min='1' max='2'", "3", "Travel value must be within 1.00 and 2.00 or 0 for normal mode"},
        {"type='numericRange' min='0' max='100'", "100", ""},
    };
    for (const auto& row : rows) {
        auto* field = makeField("label='Travel'", QStringLiteral("<Validator %1/>").arg(QLatin1String(row.validator)));
        type(QString::fromLatin1(row.entry));
        leave();
        EXPECT_EQ(field->GetLabelledMessage().toStdString(), row.message) << row.validator;
    }
}

TEST_F(TextControl, AStringLengthCutsALongerValueAndLimitsTyping)
{
    const struct {
        const char* length;
        const char* shown;
        qsizetype typed;
    } rows[] = {{"5", "ABCDE", 5}, {"6", "ABCDEF", 6}, {"7", "ABCDEF", 7}, {"-1", "ABCDEF", 8}};
    for (const auto& row : rows) {
        makeField(QStringLiteral("value='ABCDEF' stringLength='%1'").arg(QLatin1String(row.length)));
        EXPECT_EQ(edit->text(), row.shown) << row.length;
        type(QStringLiteral("ABCDEFGH"));
        EXPECT_EQ(edit->text().size(), row.typed) << row.length;
    }
}

TEST_F(TextControl, AttributesTakeOnlyTheirOwnTextsAndTheUserRightsDecideReadOnly)
{
    // Icons: 31 modified, 29 unavailable, 34 normal.
    const struct {
        const char* data;
        bool mayWrite, readOnly;
        unsigned icon;
    } rows[] = {{"value='42' modified='true' available='false'", true, false, 34},
                {"value='42' modified='1'", true, false, 31},
                {"value='42' available='0'", true, false, 29},
                {"value='42' enabled='false'", true, true, 34},
                {"value='42' enabled='true'", false, true, 34}};
    for (const auto& row : rows) {
        writable = row.mayWrite;
        auto* field = makeField(row.data);
        EXPECT_EQ(edit->isReadOnly(), row.readOnly) << row.data;
        EXPECT_EQ(field->ShownIcon(), row.icon) << row.data;
        EXPECT_EQ(edit->text(), "42") << row.data;
        EXPECT_TRUE(edit->isEnabled()) << "read-only, not disabled";
    }
}

// A field the user cannot type into, by its setting or by the user's rights, looks like a
// switched-off one in the light and the dark palette alike; given the rights, it looks editable.
TEST_F(TextControl, AFieldTheUserCannotTypeIntoLooksSwitchedOffInAnyPalette)
{
    const QPalette light = QApplication::palette();
    const auto base = [](const QLineEdit* field) { return field->palette().color(QPalette::Active, QPalette::Base); };
    makeField("value='1'");
    QLineEdit* const editable = edit;
    makeField("value='2' enabled='false'");
    QLineEdit* const bySetting = edit;
    writable = false;
    auto* byRights = makeField("value='3'");
    QLineEdit* const byRightsEdit = edit;
    ASSERT_NE(light.color(QPalette::Disabled, QPalette::Base), light.color(QPalette::Active, QPalette::Base));
    EXPECT_EQ(base(editable), light.color(QPalette::Active, QPalette::Base));
    EXPECT_EQ(base(bySetting), light.color(QPalette::Disabled, QPalette::Base));
    EXPECT_EQ(base(byRightsEdit), light.color(QPalette::Disabled, QPalette::Base));

    QPalette dark = light;
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Disabled, QPalette::Base, QColor(60, 60, 60));
    QApplication::setPalette(dark);
    QApplication::processEvents();  // the widgets hear of it through posted events
    EXPECT_EQ(base(editable), QColor(30, 30, 30));
    EXPECT_EQ(base(bySetting), QColor(60, 60, 60));
    writable = true;
    byRights->ApplyEnabled();
    EXPECT_EQ(base(byRightsEdit), QColor(30, 30, 30));
    QApplication::setPalette(light);
    QApplication::processEvents();
    EXPECT_EQ(base(bySetting), light.color(QPalette::Disabled, QPalette::Base));
}

TEST_F(TextControl, AMalformedEnabledEndsConfigureThere)
{
    auto* field = makeField("modified='1' forceupper='true'");
    configure(*field, "tag='T2' enabled='maybe' modified='0' forceupper='false'");
    EXPECT_TRUE(field->IsModified());
    type("ok");
    enter();
    EXPECT_EQ(sent, QStringList{"T2=OK"}) << "forced to upper case; events not left blocked";
}

}  // namespace
