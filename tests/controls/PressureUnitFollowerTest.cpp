#include "ControlFixture.h"
#include "controls/DtmTextControl.h"
#include "controls/PressureUnit.h"
#include "controls/PressureUnitFollower.h"
#include "controls/ValidatorFactory.h"
#include "framework/TextProvider.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>

using namespace orvx;
using controls::CDtmTextControl;
using controls::CPressureUnitFollower;

namespace {

constexpr std::uint32_t psi = controls::PressurePsi, bar = controls::PressureBar, kpa = controls::PressureKpa;

// How the entry came to show its text when the unit changes.
enum class Entry {
    FromDevice,  // shown by a refresh
    Typed,       // typed, the field not left yet
    Rejected,    // typed and left, refused by its validator
    Sent,        // typed and left, sent to the device
};

class PressureUnitFollower : public test::ControlFixture {
protected:
    PressureUnitFollower() { ON_CALL(controller, GetTextResource()).WillByDefault(::testing::Return(&texts)); }

    // A supply limit field as the alarm pages have it, showing 'text' in the unit 'shown'.
    CDtmTextControl* makeLimit(std::optional<std::uint32_t> shown, Entry state, const QString& text)
    {
        edit = new QLineEdit(form);
        unit = new QLabel(form);
        auto* field = add<CDtmTextControl>(++lastId);
        field->Attach(nullptr, edit, unit);
        configure(*field, QStringLiteral("tag='5005'"),
                  QStringLiteral("<Validator type='pressureRange' minpsi='30' maxpsi='110' minbar='2.069' "
                                 "maxbar='7.584' minkpa='206.85' maxkpa='758.45'/>"));
        field->SetCaption(QStringLiteral("Supply Limit Low"));
        if (shown) {
            field->SetUnitText(controls::pressureUnitName(*shown));
            field->SetValidatorUnit(*shown);
        }
        if (state == Entry::FromDevice) {
            edit->setText(text);  // as a refresh writes it: not the user's
        } else {
            edit->selectAll();
            edit->insert(text);  // as typing does: the modified mark is set
            if (state != Entry::Typed)
                leave();
        }
        sent.clear();
        return field;
    }
    void leave()
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(edit, &out);
    }

    framework::CTextProvider texts;
    std::int32_t lastId = 0;
    QLineEdit* edit = nullptr;
    QLabel* unit = nullptr;
};

// Only an entry the user typed and has not sent is converted; everything else keeps its number.
// Either way the field takes the new unit's name and range, and a typed entry is still sent
// when the field is left. A code that is none of the three units changes nothing.
TEST_F(PressureUnitFollower, ConvertsOnlyPendingEntriesAndGivesEveryFieldTheNewUnit)
{
    const struct Row {
        std::optional<std::uint32_t> shown;
        std::uint32_t next;
        Entry state;
        const char* before;
        const char* after;
        const char* unitShown;
        bool validAfter;          // checked against the range of the unit shown
        const char* sentOnLeave;  // nothing for an entry that is not sent
    } rows[] = {
        {psi, bar, Entry::Typed, "25", "1.724", "bar", false, nullptr},
        {psi, bar, Entry::Typed, "40", "2.758", "bar", true, "5005=2.758"},
        {psi, bar, Entry::Rejected, "25", "1.724", "bar", false, nullptr},
        {psi, bar, Entry::FromDevice, "2.758", "2.758", "bar", true, nullptr},
        {psi, bar, Entry::Sent, "40", "40", "bar", false, nullptr},
        {bar, kpa, Entry::Typed, "2.5", "250", "kpa", true, "5005=250"},
        {bar, kpa, Entry::Rejected, "9", "900", "kpa", false, nullptr},
        {bar, kpa, Entry::FromDevice, "300", "300", "kpa", true, nullptr},
        {kpa, psi, Entry::Typed, "300", "43.5", "psi", true, "5005=43.5"},
        {kpa, psi, Entry::FromDevice, "40.0", "40.0", "psi", true, nullptr},
        {kpa, bar, Entry::Typed, "300", "3.000", "bar", true, "5005=3.000"},
        {psi, bar, Entry::Typed, "abc", "abc", "bar", false, nullptr},
        {psi, psi, Entry::Typed, "25", "25", "psi", false, nullptr},
        {psi, 99, Entry::Typed, "25", "25", "psi", false, nullptr},
        {std::nullopt, bar, Entry::Typed, "2.5", "2.5", "bar", true, "5005=2.5"},
    };
    for (const Row& row : rows) {
        const std::string name = std::to_string(row.shown.value_or(0)) + " to " + std::to_string(row.next) +
                                 ", entry " + row.before + " state " + std::to_string(int(row.state));
        CPressureUnitFollower follower(row.shown);
        CDtmTextControl* field = makeLimit(row.shown, row.state, QString::fromLatin1(row.before));
        follower.AddEntry(field);

        const bool known = row.next == psi || row.next == bar || row.next == kpa;
        EXPECT_EQ(follower.Follow(row.next), known && row.shown != row.next) << name;
        EXPECT_EQ(follower.Shown(), known ? std::optional(row.next) : row.shown) << name;
        EXPECT_EQ(edit->text(), QString::fromLatin1(row.after)) << name;
        EXPECT_EQ(unit->text(), QString::fromLatin1(row.unitShown)) << name;
        EXPECT_EQ(field->Validate(), row.validAfter) << name;
        leave();
        EXPECT_EQ(sent, row.sentOnLeave ? QStringList{QString::fromLatin1(row.sentOnLeave)} : QStringList()) << name;
    }
}

}  // namespace

namespace {

// Read-only pressures and other views take only the unit: a typed text is not converted, and a
// view hears of known changes only.
TEST_F(PressureUnitFollower, LabelsAndViewsTakeOnlyKnownChanges)
{
    CPressureUnitFollower follower;
    CDtmTextControl* measured = makeLimit(std::nullopt, Entry::Typed, QStringLiteral("40"));
    follower.AddLabel(measured);
    QList<std::uint32_t> applied;
    follower.AddView([&applied](std::uint32_t code) { applied.append(code); });
    for (std::uint32_t code : {psi, psi, 99u, bar, bar, 0u, kpa})
        follower.Follow(code);
    EXPECT_EQ(applied, (QList<std::uint32_t>{psi, bar, kpa}));
    EXPECT_EQ(unit->text(), QStringLiteral("kpa"));
    EXPECT_EQ(edit->text(), QStringLiteral("40"));
}

}  // namespace
