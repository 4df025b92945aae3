// The pages speak the device's vocabulary: every control binds a word of it, of a type its kind
// can show, and every tag the pages read or write, worked by a user in every mode, is a word of
// it, read only where it can be read, written only where it can be written, with a value of its
// type and range.

#include "controls/DtmProgressBarControl.h"
#include "controls/DtmTextControl.h"
#include "controls/IFdtControl.h"
#include "device/StringBridge.h"
#include "device/Vocabulary.h"
#include "framework/ApplicationViewBase.h"
#include "framework/SinglePageEditModel.h"
#include "simulator/ParameterTable.h"
#include "support/PageFixture.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <map>
#include <optional>
#include <set>
#include <type_traits>

using namespace orvx;
using device::ValueType;

namespace {

// The value types each kind of control shows.
const std::map<QString, std::set<ValueType>> kShownBy = {
    {QStringLiteral("DtmCheckBoxControl"), {ValueType::Flag}},
    {QStringLiteral("DtmRadioControl"), {ValueType::Choice, ValueType::Flag}},
    {QStringLiteral("FdtComboBoxControl"), {ValueType::Choice, ValueType::Flag}},
    {QStringLiteral("DtmListControl"), {ValueType::FaultBits}},
    {QStringLiteral("DtmProgressBarControl"), {ValueType::Integer, ValueType::Decimal}},
    {QStringLiteral("DtmStaticTextControl"),
     {ValueType::Text, ValueType::Integer, ValueType::Decimal, ValueType::Choice, ValueType::Flag}},
    {QStringLiteral("DtmTextControl"), {ValueType::Text, ValueType::Integer, ValueType::Decimal}},
};

// The unit label each unit of the vocabulary shows, the device's pressures being in psi.
QString unitLabel(device::Unit unit)
{
    using enum device::Unit;
    switch (unit) {
    case Percent: return QStringLiteral("%");
    case PercentPerSecond: return QStringLiteral("%/s");
    case MilliAmpere: return QStringLiteral("mA");
    case Second: return QStringLiteral("s");
    case Millisecond: return QStringLiteral("ms");
    case Day: return QStringLiteral("days");
    case Minute: return QStringLiteral("min");
    case DegreeCelsius: return QStringLiteral("\u00b0C");
    case SettingsPressure:
    case MeasuredPressure: return QStringLiteral("psi");
    case None:
    case Count: return {};
    }
    return QStringLiteral("?");
}

// The unit a control shows beside its value; none for kinds that show none.
std::optional<QString> shownUnit(controls::IFdtControl& control)
{
    if (const auto* text = dynamic_cast<const controls::CDtmTextControl*>(&control))
        return text->ShownUnit();
    if (const auto* bar = dynamic_cast<const controls::CDtmProgressBarControl*>(&control))
        return bar->Unit();
    return std::nullopt;
}

// Which views a control has, and the modes its pages are worked in.
template <class Model>
struct Views;
template <>
struct Views<framework::CEditModel> {
    static constexpr std::int32_t last = 23;
};
template <>
struct Views<framework::CEditModelOffline> {
    static constexpr std::int32_t last = 0;
};
template <>
struct Views<framework::CEditModelTrend> {
    static constexpr std::int32_t last = 0;
};
const char* const kModes[] = {"0", "1", "3"};

// A device that holds every word of the vocabulary, at the simulated positioner's values, and
// nothing else: a tag outside it fails to read.
template <class Model>
class PagesOverTheVocabulary : public test::PageFixture<Model> {
protected:
    test::DeviceParameters Parameters() const override
    {
        const simulator::ParameterTable values;
        test::DeviceParameters parameters;
        for (const device::Parameter* p : device::parameters())
            parameters[device::latin1(p->tag)] = values.Value(*p);
        parameters[QStringLiteral("20000")] = com::Variant::boolean(false);
        return parameters;
    }
    void SetUp() override
    {
        test::PageFixture<Model>::SetUp();
        this->controller.SetUserLevel(QStringLiteral("maintenance"));
        if constexpr (!std::is_same_v<Model, framework::CEditModel>)
            this->model.InitAreas();  // a single page is made with the areas
    }

    framework::CApplicationViewBase* show(std::int32_t view, const char* mode)
    {
        this->device->parameters[QStringLiteral("1000")] = device::textVariant(QString::fromLatin1(mode));
        framework::CApplicationViewBase* page = this->showPage(view);
        for (const std::int32_t code : {501, 502, 524, 525, 526})
            this->deliver(code);
        return page;
    }

    // What a user does on a page: every field entered as it shows, every choice made again,
    // every check box toggled there and back, every operation started and answered.
    void work(framework::CApplicationViewBase& page)
    {
        for (QLineEdit* edit : page.findChildren<QLineEdit*>()) {
            if (!edit->objectName().startsWith(QLatin1String("item_")) || !edit->isEnabled() || edit->isReadOnly())
                continue;
            edit->setText(edit->text());
            edit->setModified(true);
            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(edit, &out);
        }
        for (QComboBox* combo : page.findChildren<QComboBox*>())
            if (combo->isEnabled())
                emit combo->activated(combo->currentIndex());
        for (QAbstractButton* button : page.findChildren<QAbstractButton*>()) {
            if (!button->isEnabled() || qobject_cast<QPushButton*>(button))
                continue;
            button->click();
            if (qobject_cast<QCheckBox*>(button))
                button->click();
        }
        for (int i = 0; i < page.MethodWindows().size(); ++i) {
            auto* button = qobject_cast<QPushButton*>(page.MethodWindows()[i].data());
            if (!button || !button->isEnabled())
                continue;
            button->click();
            if (this->controller.IsOperationRunning())
                this->deliver(this->controller.GetOperationCode());
        }
    }

    // The pressure unit a written pressure is in.
    int unit() const { return this->device->parameters.value(QStringLiteral("4003")).toInt32(); }
};

using Models = ::testing::Types<framework::CEditModel, framework::CEditModelOffline, framework::CEditModelTrend>;
TYPED_TEST_SUITE(PagesOverTheVocabulary, Models);

TYPED_TEST(PagesOverTheVocabulary, EveryControlBindsAWordOfTheVocabularyItsKindCanShow)
{
    for (std::int32_t view = 0; view <= Views<TypeParam>::last; ++view) {
        framework::CApplicationViewBase* page = this->show(view, "0");
        ASSERT_NE(page, nullptr) << view;
        page->ForEachControl([view](controls::IFdtControl& control) {
            const std::string tag = control.GetTag().toStdString();
            const std::string where = "view " + std::to_string(view) + ", control " +
                                      std::to_string(control.GetControlId()) + " (tag " + tag + ")";
            if (tag.empty() || tag == "0")
                return;
            if (control.GetTypeName() == QLatin1String("FdtButtonControl")) {
                EXPECT_NE(device::findMethodByTag(tag), nullptr) << where << ": a button starts a method";
                return;
            }
            const device::Parameter* p = device::findParameter(tag);
            ASSERT_NE(p, nullptr) << where << ": no word of the vocabulary";
            ASSERT_TRUE(kShownBy.contains(control.GetTypeName()))
                << where << ": " << control.GetTypeName().toStdString();
            EXPECT_TRUE(kShownBy.at(control.GetTypeName()).contains(p->type))
                << where << ": " << control.GetTypeName().toStdString() << " cannot show " << p->name;
            // A unit label beside a value names the value's unit, or nothing for a plain number.
            if (const auto unit = shownUnit(control); unit && !unit->isEmpty()) {
                EXPECT_EQ(*unit, unitLabel(p->unit)) << where << ": " << p->name;
            }
        });
    }
}

TYPED_TEST(PagesOverTheVocabulary, WhatAUserMakesThePagesReadAndWriteIsInTheVocabulary)
{
    for (const char* mode : kModes) {
        for (std::int32_t view = 0; view <= Views<TypeParam>::last; ++view) {
            framework::CApplicationViewBase* page = this->show(view, mode);
            ASSERT_NE(page, nullptr) << view;
            this->work(*page);
        }
    }
    int writes = 0;
    for (const test::Call& call : this->device->calls) {
        const std::string tag = call.argument.toStdString();
        const std::string what = call.operation.toStdString() + " of " + tag;
        if (call.operation == QLatin1String("GetParameter")) {
            const device::Parameter* p = device::findParameter(tag);
            ASSERT_NE(p, nullptr) << what << ": no word of the vocabulary";
            EXPECT_TRUE(p->Readable()) << what << ": " << p->name << " is not for reading";
        } else if (call.operation == QLatin1String("SetParameter")) {
            ++writes;
            if (call.value.isEmpty()) {
                EXPECT_NE(device::findMethodByTag(tag), nullptr) << what << ": no method";
                continue;
            }
            const device::Parameter* p = device::findParameter(tag);
            ASSERT_NE(p, nullptr) << what << ": no word of the vocabulary";
            EXPECT_TRUE(p->Writable()) << what << ": " << p->name << " is not for writing";
            EXPECT_EQ(device::problemWith(*p, call.value.toText().toUtf8(), this->unit()), "")
                << what << " = '" << call.value.toText().toUtf8() << "'";
        }
    }
    EXPECT_GT(writes, 0) << "the pages were worked without writing anything: the test proves nothing";
}

}  // namespace
