// The PST schedule from the ESD and PST page to the simulated positioner and back: the page
// sends what the user chose, the device counts down to it, and the page shows when it falls due.
#include "device/IUpdateUI.h"
#include "device/StringBridge.h"
#include "framework/ApplicationViewBase.h"
#include "framework/EditModel.h"
#include "framework/TextProvider.h"
#include "framework/UIController.h"
#include "simulator/ManualScheduler.h"
#include "simulator/SimulatedPositioner.h"
#include "support/FakeAreas.h"
#include "support/FixedWallClock.h"
#include "support/ScriptedDialogService.h"
#include "views/PageRegistration.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

using namespace orvx;

namespace {

// Hands what the device tells its controls to the page's controller, as a control's Notify does.
class ControllerLink : public com::ComObject<device::IDtmActiveXControl, device::IUpdateUI> {
public:
    explicit ControllerLink(framework::CUIController& controller) : m_controller(controller) {}
    com::Status Init(const com::BStr&, const com::BStr&, com::IUnknown*, bool*) override { return com::Status::Ok; }
    com::Status PrepareToRelease(bool*) override { return com::Status::Ok; }
    com::Status Notify(std::int32_t code, const com::Variant& value) override
    {
        m_controller.OnDtmUpdate(code, device::variantText(value));
        QCoreApplication::processEvents();
        return com::Status::Ok;
    }

private:
    framework::CUIController& m_controller;
};

// The main control's controller and edit model over the simulated positioner, the wall clock
// stopped at 'now', and the ESD and PST page shown.
class SchedulePage {
public:
    SchedulePage(int interval, const QDateTime& now) : m_clock(now)
    {
        views::RegisterPages();
        m_device->SetPrivateDialogs(false);
        set("16012", std::to_string(interval));
        m_model.Attach(&m_controller, &m_texts, m_device->identity(), {});
        m_controller.SetEditModel(&m_model);
        m_controller.SetMainSplitter(&m_splitter);
        m_controller.SetRegistered(true);
        bool accepted = false;
        com::queryInterface<device::IDtmUiRegistry>(m_device)->RegisterControl(u"Orvx.Main.1", u"main", m_link.get(),
                                                                               true, &accepted);
        m_controller.ActivateView(1);
        m_page = dynamic_cast<QWidget*>(m_controller.GetView(1));
    }
    ~SchedulePage()
    {
        bool dropped = false;
        com::queryInterface<device::IDtmUiRegistry>(m_device)->UnregisterControl(u"main", true, &dropped);
    }

    bool Shown() const { return m_page != nullptr; }
    // The user picks 'chosen' and presses Apply; the device answers after the command's time.
    void Apply(const QDateTime& chosen, std::int64_t answerMs)
    {
        item<QDateTimeEdit>(255)->setDateTime(chosen);
        item<QPushButton>(310)->click();
        m_clock.Set(QDateTime::fromMSecsSinceEpoch(m_clock.msecsSinceEpoch() + answerMs));
        m_scheduler.Advance(answerMs);
    }
    QString NextPst() const { return item<QLineEdit>(211)->text(); }

private:
    template <class T>
    T* item(int number) const
    {
        return m_page->findChild<T*>(QStringLiteral("item_%1").arg(number));
    }
    void set(const char* tag, const std::string& value)
    {
        std::uint32_t word = 0;
        m_device->SetParameter(com::BStr::fromUtf8(tag), com::Variant::text(com::BStr::fromUtf8(value)), &word);
    }

    test::FixedWallClock m_clock;
    test::ScriptedDialogService m_dialogs;
    simulator::ManualScheduler m_scheduler;
    com::ComPtr<simulator::SimulatedPositioner> m_device = com::makeComObject<simulator::SimulatedPositioner>(
        m_scheduler);
    framework::CEditModel m_model;
    framework::CTextProvider m_texts;
    test::FakeSplitter m_splitter;
    framework::CUIController m_controller;
    com::ComPtr<ControllerLink> m_link = com::makeComObject<ControllerLink>(m_controller);
    QWidget* m_page = nullptr;
};

// Dates and times the way the page shows them in this locale.
class EnglishLocale {
public:
    EnglishLocale() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }
    ~EnglishLocale() { QLocale::setDefault(m_previous); }
    static QString Shown(const QDateTime& moment) { return moment.toString(QStringLiteral("dd/MM/yyyy  HH:mm")); }

private:
    QLocale m_previous;
};

QDateTime at(int year, int month, int day, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

TEST(PstScheduleEndToEnd, TheNextPstShownAfterApplyIsTheTimeChosen)
{
    const EnglishLocale locale;
    // Cycles count from 1 January 2006, a Sunday: weekly cycles start on Sundays, daily ones at
    // midnight. The schedule write takes the device 500 ms.
    const struct {
        int interval;
        QDateTime now;
        QDateTime chosen;
        const char* what;
    } rows[] = {
        {1, at(2026, 12, 9, 10, 15, 30), at(2026, 12, 9, 18, 40), "later the same day"},
        {1, at(2026, 12, 9, 23, 50, 10), at(2026, 12, 10, 0, 5), "after midnight: the next daily cycle"},
        {2, at(2026, 12, 9, 10, 15, 59), at(2026, 12, 9, 10, 16), "the next minute, now at its last second"},
        {7, at(2026, 12, 9, 10, 15, 30), at(2026, 12, 12, 8, 30), "Saturday of the same week"},
        {7, at(2026, 12, 9, 10, 15, 30), at(2026, 12, 14, 8, 30), "Monday: the next weekly cycle"},
        {7, at(2026, 12, 9, 10, 15, 30), at(2026, 12, 9, 10, 16), "the next minute"},
        {30, at(2026, 12, 28, 6, 0, 1), at(2027, 1, 20, 6, 0), "into the new year"},
        {365, at(2026, 12, 9, 10, 15, 30), at(2027, 12, 8, 23, 59), "almost a year ahead"},
        {365, at(2026, 12, 9, 10, 15, 0), at(2026, 12, 9, 10, 16), "a minute ahead of a yearly test"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        SchedulePage page(row.interval, row.now);
        ASSERT_TRUE(page.Shown());
        page.Apply(row.chosen, 500);
        EXPECT_EQ(page.NextPst().toStdString(), EnglishLocale::Shown(row.chosen).toStdString());
    }
}

}  // namespace
