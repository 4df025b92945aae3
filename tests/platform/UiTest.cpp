#include "platform/chart/TrendChart.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/MessageHook.h"
#include "platform/ui/PostCall.h"
#include "platform/ui/ReadOnlyLook.h"
#include "platform/ui/Resources.h"
#include "support/FixedWallClock.h"
#include "support/ScriptedDialogService.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include <memory>
#include <stdexcept>

using namespace orvx;

namespace {

TEST(DialogItems, FindsWidgetsByItemNumber)
{
    QWidget form;
    auto* button = new QPushButton(&form);
    button->setObjectName(ui::itemName(202));
    auto* inner = new QWidget(&form);
    auto* label = new QLabel(inner);
    label->setObjectName(QStringLiteral("item_313"));
    EXPECT_EQ(ui::dialogItem(&form, 202), button);
    EXPECT_EQ(ui::dialogItem<QLabel>(&form, 313), label);
    EXPECT_EQ(ui::dialogItem<QLabel>(&form, 202), nullptr);  // item 202 is no label
    EXPECT_EQ(ui::dialogItem(&form, 999), nullptr);
    EXPECT_EQ(ui::dialogItem(nullptr, 202), nullptr);
    EXPECT_EQ(ui::dialogItem<QLabel>(nullptr, 313), nullptr);
}

// Series and points are counted from 0; asking past either end changes and answers nothing.
// A plain edit shows its read-only state as it changes; an edit with a palette of its own
// keeps it.
TEST(ReadOnlyLook, FollowsTheStateAndTheApplicationsPalette)
{
    const QPalette app = QApplication::palette();
    const auto base = [](const QWidget& edit) { return edit.palette().color(QPalette::Active, QPalette::Base); };
    QLineEdit line;
    QPlainTextEdit text;
    text.setReadOnly(true);
    ui::followReadOnlyLook(&line);
    ui::followReadOnlyLook(&text);
    EXPECT_EQ(base(line), app.color(QPalette::Active, QPalette::Base));
    EXPECT_EQ(base(text), app.color(QPalette::Disabled, QPalette::Base));
    line.setReadOnly(true);
    text.setReadOnly(false);
    EXPECT_EQ(base(line), app.color(QPalette::Disabled, QPalette::Base));
    EXPECT_EQ(base(text), app.color(QPalette::Active, QPalette::Base));

    QPalette dark = app;
    dark.setColor(QPalette::Disabled, QPalette::Base, QColor(60, 60, 60));
    QApplication::setPalette(dark);
    QApplication::processEvents();  // the widgets hear of it through posted events
    EXPECT_EQ(base(line), QColor(60, 60, 60));
    QApplication::setPalette(app);
    QApplication::processEvents();

    QLineEdit own;
    QPalette red;
    red.setColor(QPalette::Base, Qt::red);
    own.setPalette(red);
    own.setReadOnly(true);
    ui::followReadOnlyLook(&own);
    EXPECT_EQ(base(own), QColor(Qt::red));
}

TEST(TrendChart, ASeriesOrPointItDoesNotHaveIsIgnored)
{
    chart::CTrendChart chart;
    const int series = chart.AddSeries(Qt::red, chart::CTrendChart::Axis::Right);
    ASSERT_EQ(series, 0);
    for (int at : {0, 1, 2})
        chart.AppendPoint(series, at, 10 * at);
    for (int other : {-1, 1}) {
        chart.AppendPoint(other, 3, 30);
        chart.RemoveFirstPoints(other, 1);
        EXPECT_EQ(chart.PointCount(other), 0) << other;
    }
    chart.RemoveFirstPoints(series, 0);
    chart.RemoveFirstPoints(series, -2);
    ASSERT_EQ(chart.PointCount(series), 3);
    EXPECT_EQ(chart.Point(series, 2), QPointF(2, 20));
    EXPECT_EQ(chart.Point(series, 3), QPointF());
    EXPECT_EQ(chart.Point(series, -1), QPointF());
    EXPECT_EQ(chart.Point(1, 0), QPointF());
    chart.RemoveFirstPoints(series, 5);  // more than it has: all of them
    EXPECT_EQ(chart.PointCount(series), 0);
}

TEST(SteadyClock, ResettingGivesTheSystemClockBack)
{
    struct Stopped : ui::ISteadyClock {
        std::int64_t milliseconds() const override { return 7; }
    } stopped;
    ui::ISteadyClock* system = ui::setSteadyClock(&stopped);
    EXPECT_EQ(ui::steadyClock().milliseconds(), 7);
    EXPECT_EQ(ui::setSteadyClock(nullptr), &stopped);
    EXPECT_EQ(&ui::steadyClock(), system);
    const std::int64_t first = ui::steadyClock().milliseconds();
    EXPECT_GT(first, 0);
    EXPECT_GE(ui::steadyClock().milliseconds(), first);
}

// The moment is local time: a UTC instant shown in the zone the process runs in.
TEST(WallClock, ASetClockGivesItsMomentInLocalTimeAndResettingGivesTheSystemsBack)
{
    const QDateTime moment(QDate(2028, 2, 29), QTime(23, 59, 59));
    {
        test::FixedWallClock fixed(moment);
        EXPECT_EQ(ui::currentDateTime(), moment);
        EXPECT_EQ(ui::currentDateTime().timeSpec(), Qt::LocalTime);
        EXPECT_EQ(ui::currentDate(), QDate(2028, 2, 29));
    }
    const QDateTime before = QDateTime::currentDateTime();
    const QDateTime now = ui::currentDateTime();
    EXPECT_LE(before.msecsTo(now), 60'000);
    EXPECT_GE(before.msecsTo(now), 0);
}

TEST(PostCall, RunsAfterTheCurrentHandlerAndNotForADestroyedTarget)
{
    QStringList order;
    QObject target;
    auto* gone = new QObject;
    ui::postCall(&target, [&] { order << "posted"; });
    ui::postCall(gone, [&] { order << "never"; });
    ui::postCall(nullptr, [&] { order << "never"; });
    delete gone;
    order << "handler";
    QCoreApplication::processEvents();
    EXPECT_EQ(order, (QStringList{"handler", "posted"}));
}

TEST(PostCall, AnExceptionIsReportedNotThrownIntoTheEventLoop)
{
    QStringList reported;
    auto previous = ui::setErrorReporter([&](const QString& message) { reported << message; });
    QObject target;
    ui::postCall(&target, [] { throw std::runtime_error("device gone"); });
    QCoreApplication::processEvents();
    EXPECT_FALSE(ui::runGuarded("refresh", [] { throw 42; }));
    EXPECT_TRUE(ui::runGuarded("refresh", [] {}));
    ui::setErrorReporter(previous);
    ASSERT_EQ(reported.size(), 2);
    EXPECT_EQ(reported[0], QStringLiteral("posted call failed: device gone"));
    EXPECT_EQ(reported[1], QStringLiteral("refresh failed"));
}

class CountingHook : public ui::CMessageHook {
public:
    int seen = 0;
    int removed = 0;

protected:
    bool filter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::User)
            ++seen;
        return event->type() == QEvent::User;  // swallow the test's events
    }
    void onRemoved() override { ++removed; }
};

class Receiver : public QObject {
public:
    int received = 0;
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            ++received;
        return QObject::event(e);
    }
};

TEST(MessageHook, SeesEventsWhileItHasUsers)
{
    CountingHook hook;
    Receiver receiver;
    hook.acquire();
    hook.acquire();
    QEvent first(QEvent::User);
    QCoreApplication::sendEvent(&receiver, &first);
    hook.release();
    EXPECT_TRUE(hook.isInstalled());
    QEvent second(QEvent::User);
    QCoreApplication::sendEvent(&receiver, &second);
    hook.release();
    EXPECT_FALSE(hook.isInstalled());
    EXPECT_EQ(hook.removed, 1);
    QEvent third(QEvent::User);
    QCoreApplication::sendEvent(&receiver, &third);
    hook.release();  // one release too many changes nothing
    EXPECT_EQ(hook.users(), 0);
    EXPECT_EQ(hook.seen, 2);
    EXPECT_EQ(receiver.received, 1);  // the two seen by the hook were swallowed

    {
        CountingHook ended;
        ended.acquire();  // ends while in use
    }
    QEvent fourth(QEvent::User);
    QCoreApplication::sendEvent(&receiver, &fourth);
    EXPECT_EQ(receiver.received, 2);
}

TEST(DialogService, TheScriptedServiceRecordsAndAnswers)
{
    test::ScriptedDialogService dialogs;
    dialogs.messageAnswers = {ui::DialogAnswer::Cancel};
    EXPECT_EQ(ui::showMessage(nullptr, "Orvx ESD HART", "Leave?", ui::MessageButtons::OkCancel),
              ui::DialogAnswer::Cancel);
    EXPECT_EQ(ui::showMessage(nullptr, "Orvx ESD", "Sure?", ui::MessageButtons::YesNo), ui::DialogAnswer::No);
    EXPECT_EQ(dialogs.messageTexts(), (QStringList{"Leave?", "Sure?"}));
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Orvx ESD HART"));
    EXPECT_EQ(ui::dialogService().ChooseFile({}), QString());
}

TEST(Resources, TheProgramsResourcesAreCompiledIn)
{
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/orvx/strings/README.md")));
    EXPECT_EQ(ui::stringResource(100), QStringLiteral("OrvxTarnelGUI"));
    EXPECT_TRUE(ui::stringResource(101).isNull());
    EXPECT_TRUE(ui::xmlResource(9999).isNull());
    EXPECT_TRUE(ui::iconResource(9999).isNull());
    EXPECT_TRUE(ui::bitmapResource(9999).isNull());
}

// Every window asks for its icons anew; they must come from one picture, not fill the pixmap
// cache with a copy per window.
// Dialog units follow the font they are asked for, whatever fonts were asked for before.
TEST(DialogUnits, FollowTheFontAskedFor)
{
    QFont small = QApplication::font();
    small.setPixelSize(10);
    QFont large = small;
    large.setPixelSize(30);
    const QSize units(40, 16);
    const QSize smallUnits = orvx::ui::dialogUnits(small, units);
    const QSize largeUnits = orvx::ui::dialogUnits(large, units);
    EXPECT_GT(largeUnits.width(), smallUnits.width());
    EXPECT_GT(largeUnits.height(), smallUnits.height());
    EXPECT_EQ(orvx::ui::dialogUnits(small, units), smallUnits);
    EXPECT_EQ(orvx::ui::dialogUnits(large, units), largeUnits);
    EXPECT_EQ(orvx::ui::dialogUnits(small, QSize(80, 32)), QSize(2 * smallUnits.width(), 2 * smallUnits.height()));
}

TEST(Resources, AnIconAskedForAgainIsTheSamePicture)
{
    const QPixmap first = ui::iconPixmap(202, QSize(16, 16));
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(ui::iconPixmap(202, QSize(16, 16)).cacheKey(), first.cacheKey());
    EXPECT_NE(ui::iconPixmap(202, QSize(32, 32)).cacheKey(), first.cacheKey());
}

}  // namespace

// Failures caught anywhere reach the screen of the control the user sees.
TEST(PostCall, ReportsGoToTheShownControlsScopeWhateverOrderTheyEnd)
{
    QStringList toFallback, toFirst, toSecond;
    auto previous = ui::setErrorReporter([&](const QString& message) { toFallback << message; });
    QWidget firstWindow, secondWindow;
    {
        auto first = std::make_unique<ui::CErrorReportScope>(&firstWindow, [&](const QString& m) { toFirst << m; });
        auto second = std::make_unique<ui::CErrorReportScope>(&secondWindow, [&](const QString& m) { toSecond << m; });
        ui::reportError(QStringLiteral("none shown"));  // the newest takes it
        firstWindow.show();
        ui::reportError(QStringLiteral("first shown"));
        first.reset();  // ends before the newer scope
        ui::reportError(QStringLiteral("first gone"));
    }
    {
        // A control whose window or status line went away loses the report, and nothing else.
        auto* closed = new QWidget;
        ui::CErrorReportScope failing(closed, [](const QString&) { throw std::runtime_error("status line gone"); });
        delete closed;
        EXPECT_NO_THROW(ui::reportError(QStringLiteral("reporter fails")));
        ui::CErrorReportScope silent(nullptr, {});
        EXPECT_NO_THROW(ui::reportError(QStringLiteral("nobody shows it")));
    }
    ui::reportError(QStringLiteral("no scope"));
    ui::setErrorReporter(previous);
    EXPECT_EQ(toSecond, (QStringList{"none shown", "first gone"}));
    EXPECT_EQ(toFirst, QStringList{"first shown"});
    EXPECT_EQ(toFallback, QStringList{"no scope"});
}
