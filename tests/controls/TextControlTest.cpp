#include "controls/DtmTextControl.h"
#include "controls/UIEvents.h"
#include "controls/ValidatorFactory.h"
#include "framework/ApplicationViewBase.h"
#include "framework/TextProvider.h"
#include "framework/TooltipRelay.h"
#include "platform/xml/XmlDocument.h"
#include "support/MockUIController.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <optional>

using namespace orvx;
using controls::CDtmTextControl;

namespace {

// Text fields with an icon on a page whose controller answers reads with 'device' (none: not
// handled) and records every entry written.
class TextControl : public ::testing::Test {
protected:
    void SetUp() override
    {
        controls::CValidatorFactory::SetTextProvider(&texts);
        ON_CALL(controller, IsWritable()).WillByDefault([this] { return writable; });
        ON_CALL(controller, HandleEvent).WillByDefault([this](controls::CUIEventBase& event) {
            if (event.GetType() == controls::EventTextDataSet)
                sent.append(static_cast<controls::CTextDataSetEvent&>(event).GetValue());
            else if (event.GetType() != controls::EventTextDataGet || !device)
                return false;
            else
                static_cast<controls::CTextDataGetEvent&>(event).SetValue(*device);
            return true;
        });
        page.SetController(&controller);
    }

    CDtmTextControl* makeField(const QString& attributes, const QString& children = {})
    {
        icon = new QLabel(page.Surface());
        edit = new QLineEdit(page.Surface());
        auto control = std::make_unique<CDtmTextControl>(++lastId, &page, &controller);
        auto* field = control.get();
        field->Attach(icon, edit, nullptr);
        page.RegisterControl(std::move(control));
        configure(field, attributes, children);
        return field;
    }
    static void configure(CDtmTextControl* field, const QString& attributes,
                          const QString& children = {})
    {
        const auto document = xml::XmlDocument::parse(
            QStringLiteral("<ControlData %1>%2</ControlData>").arg(attributes, children));
        field->Configure(document->selectSingleNode(QStringLiteral("ControlData")));
    }
    // The user's own edit: it sets the field's modified mark, as typing does.
    void type(const QString& text)
    {
        edit->selectAll();
        edit->insert(text);
    }
    void enter(Qt::Key key = Qt::Key_Return)
    {
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QCoreApplication::sendEvent(edit, &release);
    }
    void leave()
    {
        QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(edit, &focusOut);
    }
    bool red() const { return edit->palette().color(QPalette::Text) == QColor(Qt::red); }

    framework::CTextProvider texts;
    ::testing::NiceMock<test::MockUIController> controller;
    framework::CApplicationViewBase page;
    std::int32_t lastId = 0;
    bool writable = true;
    std::optional<QString> device;
    QStringList sent;
    QLabel* icon = nullptr;
    QLineEdit* edit = nullptr;
};

TEST_F(TextControl, TheDeviceTextIsShownTrimmedOnlyWithAStringLengthAndAFailedReadLocksTheField)
{
    const struct {
        const char* attributes;
        std::optional<QString> device;  // none: the read is not handled
        const char* shown;
        bool readOnly;
    } rows[] = {
        {"value='X' stringLength='8'", QStringLiteral("ABC     "), "ABC", false},
        {"value='X'", QStringLiteral("ABC     "), "ABC     ", false},
        {"value='KEPT' stringLength='8'", QString(), "KEPT", false},  // empty: the text stays
        {"value='42'", std::nullopt, "", true},
    };
    CDtmTextControl* field = nullptr;
    for (const auto& row : rows) {
        field = makeField(QLatin1String(row.attributes));
        device = row.device;
        field->Refresh();
        EXPECT_EQ(edit->text().toStdString(), row.shown);
        EXPECT_EQ(edit->isReadOnly(), row.readOnly) << row.attributes;
        EXPECT_EQ(field->IsModified(), !row.device) << "a value read clears the mark";
    }
    device = QStringLiteral("7");
    field->Refresh();
    EXPECT_FALSE(edit->isReadOnly()) << "unlocked once the value can be read";
}

TEST_F(TextControl, AnInvalidEntryStaysRedUntilCorrectedAndTheCorrectionIsSentOnce)
{
    auto* field = makeField(QStringLiteral("label='Travel'"),
                            QStringLiteral("<Validator type='numericRange' min='0' max='100'/>"));
    // The page counts the field's invalid entry once and uncounts it once.
    EXPECT_CALL(controller, SetParameterValue(QStringLiteral("15001"), com::Variant::int32(1)));
    EXPECT_CALL(controller, SetParameterValue(QStringLiteral("15001"), com::Variant::int32(-1)));

    type(QStringLiteral("150"));
    enter();
    leave();
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_TRUE(red());
    EXPECT_EQ(field->ShownIcon(), 30u);
    EXPECT_EQ(page.ToolTips()->TipOf(icon),
              QStringLiteral("Numeric value must be within 0 and 100"));
    EXPECT_EQ(field->GetLabelledMessage(), QStringLiteral("Travel value must be within 0 and 100"));

    type(QStringLiteral("50"));
    enter(Qt::Key_Enter);
    leave();
    EXPECT_EQ(sent, QStringList{QStringLiteral("50")});
    EXPECT_FALSE(red());
    EXPECT_EQ(field->ShownIcon(), 31u) << "modified until the device is read again";
    EXPECT_TRUE(page.ToolTips()->TipOf(icon).isNull());
}

TEST_F(TextControl, AttributesTakeOnlyTheirOwnTextsAndTheUserRightsDecideReadOnly)
{
    const struct {
        const char* attributes;
        bool mayWrite, readOnly;
        std::uint32_t icon;  // 31 modified, 29 unavailable
    } rows[] = {
        {"value='42' modified='true' available='false'", true, false, 34},
        {"value='42' modified='1'", true, false, 31},
        {"value='42' available='0'", true, false, 29},
        {"value='42' enabled='false'", true, true, 34},
        {"value='42' enabled='true'", false, true, 34},
    };
    for (const auto& row : rows) {
        writable = row.mayWrite;
        auto* field = makeField(QLatin1String(row.attributes));
        EXPECT_EQ(edit->isReadOnly(), row.readOnly) << row.attributes;
        EXPECT_EQ(field->ShownIcon(), row.icon) << row.attributes;
        EXPECT_TRUE(edit->isEnabled());
        EXPECT_EQ(edit->text(), QStringLiteral("42"));
    }
}

TEST_F(TextControl, AMalformedEnabledEndsConfigureThere)
{
    auto* field = makeField(QStringLiteral("modified='1' stringLength='4' forceupper='true'"));
    configure(field, QStringLiteral(
                         "tag='T2' enabled='maybe' modified='0' stringLength='10' visible='false' "
                         "forceupper='false' modeui='false'"));
    EXPECT_EQ(field->GetTag(), QStringLiteral("T2"));
    EXPECT_TRUE(field->IsModified());
    EXPECT_EQ(edit->maxLength(), 4);
    EXPECT_FALSE(edit->isHidden());
    type(QStringLiteral("ok"));
    enter();
    EXPECT_EQ(sent, QStringList{QStringLiteral("OK")})
        << "forced to upper case, and events are not left blocked";
}

}  // namespace
