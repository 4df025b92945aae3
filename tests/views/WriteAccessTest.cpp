// Who may change the device, and how an operation starts: a user without write rights never
// causes a write or a command, and an operation that cannot start leaves nothing locked.

#include "controls/UIEventsImpl.h"
#include "device/StringBridge.h"
#include "framework/ApplicationViewBase.h"
#include "framework/WriteRefusal.h"
#include "platform/com/ComError.h"
#include "support/Campaign.h"
#include "support/PageFixture.h"
#include "support/PstHistoryFile.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <random>

using namespace orvx;

namespace {

// Every view of the main control that has a page class.
const std::int32_t kViews[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23};

// The main control's hub over a fake device, as the frame would have it after Init.
class Device : public test::MainViewFixture {
public:
    // The random walk below drives the hub and the device from outside.
    using PageFixture::controller;
    using PageFixture::device;
    using PageFixture::dialogs;

    framework::CApplicationViewBase* show(std::int32_t view) { return showPage(view); }

    QStringList writes() const { return device->writtenTags(); }
};

// The two ways a user ends up without write rights.
enum class ReadOnly { Observer, NotRegistered };

class ReadOnlyUser : public Device, public ::testing::WithParamInterface<ReadOnly> {
protected:
    void SetUp() override
    {
        Device::SetUp();
        if (GetParam() == ReadOnly::Observer)
            controller.SetUserLevel(QStringLiteral("observer"));
        else
            controller.SetRegistered(false);
        ASSERT_FALSE(controller.IsWritable());
    }
};

QStringList enabledMethodWindows(const framework::CApplicationViewBase& page)
{
    QStringList enabled;
    for (const auto& window : page.MethodWindows())
        if (window && window->isEnabled())
            enabled.append(window->objectName());
    return enabled;
}

// Every notification that makes a page enable buttons again, with the values a device sends.
const std::pair<std::int32_t, const char*> kReenablingNotifications[] = {
    {500, ""}, {-2, "0"}, {-2, ""},  {-1, "0"}, {-6, "13"}, {-2, "28"}, {-3, "20"}, {-2147483647 - 1, "21"},
    {513, ""}, {528, ""}, {520, ""}, {521, ""}, {523, ""},  {524, ""},  {525, ""},  {526, ""},
    {501, ""}, {502, ""},
};

TEST_P(ReadOnlyUser, NoPageEnablesAnOperationButtonWhateverTheDeviceSends)
{
    for (std::int32_t view : kViews) {
        framework::CApplicationViewBase* page = show(view);
        ASSERT_NE(page, nullptr) << view;
        for (const char* mode : {"0", "1", "3"}) {
            device->parameters["1000"] = device::textVariant(mode);
            for (const auto& [code, value] : kReenablingNotifications) {
                // The page's own operation as well as none: both reach the page.
                controller.SetOperation(code % 2 == 0, view, code);
                controller.OnDtmUpdate(code, QString::fromLatin1(value));
                page->UpdateAccess(true);
                EXPECT_EQ(enabledMethodWindows(*page), QStringList())
                    << "view " << view << ", mode " << mode << ", code " << code << " '" << value << "'";
            }
        }
    }
    EXPECT_EQ(writes(), QStringList());
}

// The widgets of the ESD pages that choose what an operation does: the test (Perform PST or TBT)
// and the new PST schedule's picker. Nothing is written when they change, but they invite a
// click that starts nothing; they go with the operation buttons.
const std::pair<std::int32_t, QList<int>> kOperationChoices[] = {{1, {208, 209, 255}}, {6, {267}}, {18, {315, 316}}};

QList<int> enabledChoices(const framework::CApplicationViewBase& page, const QList<int>& items)
{
    QList<int> enabled;
    for (int number : items)
        if (QWidget* widget = page.findChild<QWidget*>(QStringLiteral("item_%1").arg(number)); widget->isEnabled())
            enabled.append(number);
    return enabled;
}

TEST_P(ReadOnlyUser, TheEsdPagesChoicesOfTestAndScheduleAreDisabledWithTheButtons)
{
    device->parameters["1000"] = device::textVariant("0");  // Setup: no page is gated by its mode
    for (const auto& [view, items] : kOperationChoices) {
        framework::CApplicationViewBase* page = show(view);
        ASSERT_NE(page, nullptr) << view;
        EXPECT_EQ(enabledChoices(*page, items), QList<int>()) << view;
    }
}

// Behind the widgets: events and parameter writes that reach the hub are refused and the
// refusal is shown.
TEST_P(ReadOnlyUser, TheHubRefusesEveryWriteAndCommandVisibly)
{
    controls::CTextDataSetEventImpl text(13, 10, QStringLiteral("8000"), QStringLiteral("12"), true);
    controls::CCommandEventImpl command(0, 9, QStringLiteral("0"));
    controls::CComboBoxSetEventImpl combo(0, 8, QStringLiteral("1005"), 2,
                                          controls::CChoice{QStringLiteral("Normal"), QStringLiteral("3"), 0});
    controls::CBitEnumSetEventImpl bits(0, 10, QStringLiteral("2000"), 1, true);
    controls::CCheckBoxEventImpl check(controls::EventCheckBoxSet, 0, 10, QStringLiteral("2001"), 1);
    controls::CRadioSetEventImpl radio(0, 10, QStringLiteral("2002"), 1);
    for (controls::CUIEventBase* event :
         std::initializer_list<controls::CUIEventBase*>{&text, &command, &combo, &bits, &check, &radio}) {
        status.message.clear();
        EXPECT_TRUE(controller.HandleEvent(*event)) << event->GetType();
        EXPECT_EQ(event->GetErrorText(), framework::writeRefusedText()) << event->GetType();
        EXPECT_EQ(status.message, framework::writeRefusedText()) << event->GetType();
    }
    try {
        controller.SetParameterValue(QStringLiteral("23"), com::Variant());
        ADD_FAILURE() << "a refused write must raise";
    } catch (const com::ComError& error) {
        EXPECT_EQ(error.status(), com::Status::AccessDenied);
    }
    EXPECT_EQ(writes(), QStringList());

    // Reading stays allowed.
    controls::CTextDataGetEventImpl read(13, 10, QStringLiteral("1000"));
    EXPECT_TRUE(controller.HandleEvent(read));
    EXPECT_FALSE(read.IsError());
}

// The way the fault was found: a user clicking, typing, tabbing and switching pages at random,
// into every window a page opens, while the device answers at random. The windows' file
// dialogs answer a data file of a year of PSTs, so that records load, graphs open and save.
class Monkey {
public:
    Monkey(Device& fixture, std::uint32_t seed) : m_fixture(fixture), m_random(seed)
    {
        test::writeSimulatedHistory(m_file, QStringLiteral("PV-01"), 42);
        // The device names itself as the file's records do, so that its history has tests.
        m_fixture.device->parameters["1001"] = device::textVariant(QStringLiteral("PV-01"));
        m_fixture.device->parameters["1003"] = device::textVariant(QStringLiteral("42"));
        m_fixture.dialogs.onModal = [this](QDialog& window) { return work(window); };
    }
    ~Monkey() { m_fixture.dialogs.onModal = nullptr; }

    // Runs the actions on the pages; answers the tags the device was asked to write.
    QStringList run(int actions)
    {
        framework::CApplicationViewBase* page = m_fixture.show(kViews[0]);
        for (int i = 0; i < actions; ++i) {
            ++m_actions;
            m_fixture.dialogs.fileAnswers.assign(1, m_file);
            switch (pick(7)) {
            case 0: page = m_fixture.show(kViews[pick(std::size(kViews))]); break;
            case 1: {
                const auto& [code, value] = kNotifications[pick(std::size(kNotifications))];
                m_fixture.controller.OnDtmUpdate(code, QString::fromLatin1(value));
                break;
            }
            case 6: {
                // The device moves on by itself: another mode, a lost link, message boxes on or off.
                static const char* const modes[] = {"0", "1", "3"};
                m_fixture.device->parameters["1000"] = device::textVariant(modes[pick(std::size(modes))]);
                m_fixture.device->parameters["15000"] = com::Variant::boolean(pick(8) != 0);
                m_fixture.device->parameters["20000"] = com::Variant::boolean(pick(2) != 0);
                m_fixture.controller.OnDtmUpdate(526, QString());
                break;
            }
            default: act(*page); break;
            }
        }
        return m_fixture.writes();
    }

    int actions() const { return m_actions; }
    int windows() const { return m_windows; }
    int actionsInWindows() const { return m_actionsInWindows; }

private:
    static constexpr std::pair<std::int32_t, const char*> kNotifications[] = {
        {500, ""}, {-2, "0"}, {-6, "13"}, {-2, "28"}, {-3, "20"}, {513, ""}, {528, ""}, {520, ""}, {521, ""},
        {523, ""}, {524, ""}, {525, ""},  {526, ""},  {501, ""},  {502, ""}, {-7, "2"}, {-2, "x"}};

    std::size_t pick(std::size_t size) { return std::uniform_int_distribution<std::size_t>(0, size - 1)(m_random); }

    // One thing a user does in a window: a click, an entry, a combo box step, or Tab and Space.
    void act(QWidget& window)
    {
        switch (pick(4)) {
        case 0: {
            // A disabled button takes no click anyway; Tab and Space below try those.
            QList<QAbstractButton*> buttons = window.findChildren<QAbstractButton*>();
            buttons.removeIf([](const QAbstractButton* button) { return !button->isEnabled(); });
            if (!buttons.isEmpty()) {
                QAbstractButton* button = buttons[int(pick(std::size_t(buttons.size())))];
                QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
            }
            break;
        }
        case 1: {
            static const char* const typed[] = {"1", "12.5", "-3", "abc", "999999", ""};
            const auto edits = window.findChildren<QLineEdit*>();
            if (!edits.isEmpty()) {
                QLineEdit* edit = edits[int(pick(std::size_t(edits.size())))];
                QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(edit, QString::fromLatin1(typed[pick(std::size(typed))]));
                QTest::keyClick(edit, Qt::Key_Return);
            }
            break;
        }
        case 2: {
            const auto combos = window.findChildren<QComboBox*>();
            if (!combos.isEmpty())
                QTest::keyClick(combos[int(pick(std::size_t(combos.size())))], pick(2) ? Qt::Key_Down : Qt::Key_Up);
            break;
        }
        default: {
            // Focus moves on, and the widget that has it is pressed.
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus && window.isAncestorOf(focus) ? focus : &window, Qt::Key_Tab);
            if (QWidget* next = QApplication::focusWidget())
                QTest::keyClick(next, Qt::Key_Space);
            break;
        }
        }
    }

    // A window a page opened: a few actions inside it (windows it opens in turn get theirs, two
    // deep), its file dialogs answering the data file; then it closes as the user left it.
    int work(QDialog& window)
    {
        ++m_windows;
        ++m_titles[window.windowTitle()];
        if (m_depth >= 2)
            return QDialog::Rejected;
        ++m_depth;
        bool closed = false;
        QObject::connect(&window, &QDialog::finished, &window, [&closed] { closed = true; });
        window.show();
        for (int i = 0; i < 12 && !closed; ++i) {
            m_fixture.dialogs.fileAnswers.assign(1, m_file);
            ++m_actionsInWindows;
            act(window);
        }
        window.hide();
        --m_depth;
        return window.result();
    }

    Device& m_fixture;
    std::mt19937 m_random;
    QTemporaryDir m_folder;
    const QString m_file = m_folder.filePath(QStringLiteral("history.dgn"));
    int m_actions = 0;
    int m_windows = 0;
    int m_actionsInWindows = 0;
    int m_depth = 0;
    QMap<QString, int> m_titles;

public:
    // "title: count" of each window opened.
    QString windowCounts() const
    {
        QStringList counts;
        for (auto it = m_titles.begin(); it != m_titles.end(); ++it)
            counts.append(QStringLiteral("%1: %2").arg(it.key()).arg(it.value()));
        return counts.join(QStringLiteral(", "));
    }
};

TEST_P(ReadOnlyUser, ThousandsOfRandomActionsWriteNothing)
{
    Monkey monkey(*this, 20261206);
    const QStringList written = monkey.run(test::campaignCount(3000, 100'000));
    test::reportCampaign("%d random actions without write rights (%d more inside %d windows: %s), %lld writes or "
                         "commands",
                         monkey.actions(), monkey.actionsInWindows(), monkey.windows(),
                         qPrintable(monkey.windowCounts()), static_cast<long long>(written.size()));
    EXPECT_EQ(written, QStringList());
    EXPECT_GT(monkey.windows(), 0) << "no window was opened: the run proves less than it says";
}

INSTANTIATE_TEST_SUITE_P(Users, ReadOnlyUser, ::testing::Values(ReadOnly::Observer, ReadOnly::NotRegistered),
                         [](const auto& info) {
                             return info.param == ReadOnly::Observer ? "Observer" : "NotRegistered";
                         });

// The same run by a user who may write does reach the device: the run above proves something.
TEST_F(Device, RandomActionsOfAWriterDoReachTheDevice)
{
    Monkey monkey(*this, 20261206);
    const QStringList written = monkey.run(3000);
    EXPECT_TRUE(written.contains(QStringLiteral("0"))) << written.join(' ').toStdString();
    EXPECT_GT(written.size(), 20);
}

// The write right coming back gives each page its buttons back as its gating allows.
TEST_F(Device, TheWriteRightComingBackGivesTheButtonsAndChoicesBack)
{
    device->parameters["1000"] = device::textVariant("0");
    for (const auto& [view, items] : kOperationChoices) {
        framework::CApplicationViewBase* page = show(view);
        const QStringList buttons = enabledMethodWindows(*page);
        ASSERT_EQ(buttons.size(), page->MethodWindows().size()) << view;
        controller.SetUserLevel(QStringLiteral("observer"));
        ASSERT_EQ(enabledMethodWindows(*page), QStringList()) << view;
        controller.SetUserLevel(QStringLiteral("maintenance"));
        EXPECT_EQ(enabledMethodWindows(*page), buttons) << view;
        EXPECT_EQ(enabledChoices(*page, items), items) << view;
    }
}

// While an operation runs only its result gives buttons back: no notification on the way, no
// page shown again, no write right coming back enables an operation button or a choice that
// starts one, on the page that started it or any other.
TEST_F(Device, WhileAnOperationRunsNoPageEnablesAnOperationButton)
{
    const std::pair<std::int32_t, const char*> onTheWay[] = {{500, ""}, {501, ""}, {502, ""}, {513, ""},
                                                             {524, ""}, {525, ""}, {526, ""}};
    const std::map<std::int32_t, QList<int>> choices(std::begin(kOperationChoices), std::end(kOperationChoices));
    for (const char* mode : {"0", "1"}) {
        device->parameters["1000"] = device::textVariant(mode);
        for (std::int32_t owner : {1, 16}) {
            for (std::int32_t view : kViews) {
                if (view == owner)
                    continue;  // its own start locks it: EsdPages and CommissionPages hold that
                const QString where =
                    QStringLiteral("view %1, mode %2, operation of view %3").arg(view).arg(mode).arg(owner);
                const std::int32_t elsewhere = view == 14 ? 15 : 14;
                controller.SetOperation(true, owner, 504);
                show(elsewhere);
                framework::CApplicationViewBase* page = show(view);
                const auto locked = [&](const char* after) {
                    EXPECT_EQ(enabledMethodWindows(*page), QStringList()) << where.toStdString() << " after " << after;
                    EXPECT_EQ(enabledChoices(*page, choices.contains(view) ? choices.at(view) : QList<int>{}),
                              QList<int>{})
                        << where.toStdString() << " after " << after;
                };
                locked("shown");
                for (const auto& [code, value] : onTheWay) {
                    controller.OnDtmUpdate(code, QString::fromLatin1(value));
                    locked(std::to_string(code).c_str());
                }
                show(elsewhere);
                page = show(view);
                locked("shown again");
                controller.SetUserLevel(QStringLiteral("observer"));
                controller.SetUserLevel(QStringLiteral("maintenance"));
                locked("the write right came back");
                controller.OnDtmUpdate(504, {});
                EXPECT_FALSE(controller.IsOperationRunning());
            }
        }
    }
    // Nothing but the new-schedule flag, which 501 clears on the ESD pages.
    QStringList written = writes();
    written.removeAll(QStringLiteral("16036"));
    EXPECT_EQ(written, QStringList());
}

// Starting an operation: sent first, recorded only when the device took it.
struct Start {
    std::int32_t view;
    const char* button;
    const char* tag;
    std::int32_t expected;
};
const Start kStarts[] = {
    {0, "item_202", "0", 500},    // Apply Mode on the overview
    {13, "item_202", "0", 500},   // Apply Mode on a page with buttons of its own
    {13, "item_213", "13", 513},  // Write tuning data
    {13, "item_214", "28", 528},  // Read tuning data
};

class OperationStart : public Device, public ::testing::WithParamInterface<Start> {
protected:
    // Asks for Setup while the device is in Manual, so Apply Mode has something to send.
    QPushButton* prepare()
    {
        framework::CApplicationViewBase* page = show(GetParam().view);
        page->findChild<QComboBox*>(QStringLiteral("item_201"))->setCurrentIndex(0);
        return page->findChild<QPushButton*>(QString::fromLatin1(GetParam().button));
    }
};

TEST_P(OperationStart, AFailedSendRecordsNothingLocksNothingAndSaysWhy)
{
    device->failingTags[QString::fromLatin1(GetParam().tag)] = com::Status::Failure;
    QPushButton* button = prepare();
    const QStringList before = enabledMethodWindows(
        *dynamic_cast<framework::CApplicationViewBase*>(controller.GetView(GetParam().view)));
    ASSERT_TRUE(button->isEnabled());
    button->click();

    EXPECT_FALSE(controller.IsOperationRunning());
    EXPECT_EQ(controller.GetOperationOwner(), -1);
    EXPECT_EQ(
        enabledMethodWindows(*dynamic_cast<framework::CApplicationViewBase*>(controller.GetView(GetParam().view))),
        before);
    EXPECT_TRUE(status.message.startsWith(QStringLiteral("The device operation could not be started:")))
        << status.message.toStdString();
    // Another page is not held back by an operation that never ran.
    framework::CApplicationViewBase* other = show(21);
    EXPECT_EQ(enabledMethodWindows(*other).size(), 3);
}

TEST_P(OperationStart, ASendTheDeviceTookIsRecordedAndLocksTheButtons)
{
    prepare()->click();
    EXPECT_EQ(writes(), QStringList{QString::fromLatin1(GetParam().tag)});
    EXPECT_TRUE(controller.IsOperationRunning());
    EXPECT_EQ(controller.GetOperationOwner(), GetParam().view);
    EXPECT_EQ(controller.GetOperationCode(), GetParam().expected);
    auto* page = dynamic_cast<framework::CApplicationViewBase*>(controller.GetView(GetParam().view));
    EXPECT_EQ(enabledMethodWindows(*page), QStringList());

    // The result gives the buttons back; a second press in between is impossible.
    controller.OnDtmUpdate(GetParam().expected, QString());
    EXPECT_FALSE(controller.IsOperationRunning());
    EXPECT_TRUE(page->ModeButton()->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Buttons, OperationStart, ::testing::ValuesIn(kStarts), [](const auto& info) {
    return "View" + std::to_string(info.param.view) + "Method" + info.param.tag;
});

TEST_F(Device, AnOperationIsNotStartedWhileAnotherRuns)
{
    framework::CApplicationViewBase* page = show(13);
    controller.SetOperation(true, 13, 513);
    EXPECT_FALSE(page->StartOperation(19, 28));
    EXPECT_EQ(writes(), QStringList());
    EXPECT_EQ(controller.GetOperationCode(), 513);
    EXPECT_FALSE(status.message.isEmpty());
}

// A write the device fails, from a control without an indicator of its own, shows its text on
// the status line.
TEST_F(Device, AFailingWriteOfAPlainControlShowsItsText)
{
    const struct {
        std::int32_t view;
        const char* item;
        const char* tag;
    } plain[] = {{21, "item_213", "20"}, {21, "item_342", "12002"}, {5, "item_216", "4005"}};
    for (const auto& c : plain) {
        device->failingTags[QString::fromLatin1(c.tag)] = com::Status::InvalidArgument;
        status.message.clear();
        show(c.view)->findChild<QAbstractButton*>(QString::fromLatin1(c.item))->click();
        EXPECT_TRUE(status.message.contains(QStringLiteral("writing a parameter: invalid argument")))
            << c.item << ": " << status.message.toStdString();
    }
}

}  // namespace
