#include "framework/ControlWindowLayout.h"
#include "framework/KeyboardNavigation.h"
#include "framework/SplitterWindow.h"
#include "support/FakeAreas.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

using namespace orvx;
using framework::CKeyboardNavigation;
using framework::CMainLayout;
using framework::CSplitterWindow;

TEST(MainLayout, StacksTheAreasAndGivesTheSplitterWhatIsLeft)
{
    struct Case {
        const char* what;
        int height;
        bool toolbar, action;
        // identification, toolbar, splitter, action, status: top and height
        int rows[5][2];
    };
    const Case cases[] = {
        {"normal", 300, true, false, {{0, 50}, {50, 30}, {80, 200}, {280, 0}, {280, 20}}},
        {"toolbar hidden", 300, false, false, {{0, 50}, {50, 0}, {50, 230}, {280, 0}, {280, 20}}},
        {"action area shown", 300, true, true, {{0, 50}, {50, 30}, {80, 160}, {240, 40}, {280, 20}}},
        {"too low: identification yields", 100, true, true, {{0, 10}, {10, 30}, {40, 0}, {40, 40}, {80, 20}}},
        {"lower than the status bar", 15, true, true, {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 15}}},
    };
    test::FakeVisibility toolbar, action;
    const CMainLayout layout({{nullptr, 50}, {nullptr, 30, &toolbar}, nullptr, {nullptr, 40, &action}, {nullptr, 20}});
    for (const Case& c : cases) {
        toolbar.visible = c.toolbar;
        action.visible = c.action;
        const CMainLayout::Placement p = layout.Compute(QSize(400, c.height));
        const QRect got[] = {p.identification, p.toolbar, p.splitter, p.action, p.status};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(got[i], QRect(0, c.rows[i][0], 400, c.rows[i][1])) << c.what << " row " << i;
    }
}

TEST(MainLayout, AppliesOnlyOnceCreated)
{
    QWidget window;
    window.resize(400, 300);
    auto* splitter = new QWidget(&window);
    auto* status = new QWidget(&window);
    auto* layout = new framework::CControlWindowLayout(&window, CMainLayout({{}, {}, splitter, {}, {status, 20}}));
    QEvent request(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(&window, &request);
    EXPECT_NE(status->geometry(), QRect(0, 280, 400, 20));
    layout->SetCreated(true);
    QCoreApplication::sendPostedEvents(&window, QEvent::LayoutRequest);
    EXPECT_EQ(status->geometry(), QRect(0, 280, 400, 20));
    EXPECT_EQ(splitter->geometry(), QRect(0, 0, 400, 280));
}

class Splitter : public ::testing::Test {
protected:
    void SetUp() override
    {
        splitter->SetPaneWindow(0, tree);
        splitter->SetPageWindow(page);
        host.show();
        splitter->resize(500, 200);
    }
    QWidget* bar() const { return splitter->findChild<QWidget*>(QStringLiteral("splitterBar")); }
    void mouse(QEvent::Type type, int dx, Qt::MouseButton button = Qt::LeftButton)
    {
        const QPoint at = bar()->rect().center() + QPoint(dx, 0);
        QMouseEvent event(type, at, bar()->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
        QCoreApplication::sendEvent(bar(), &event);
    }

    QWidget host;
    CSplitterWindow* splitter = new CSplitterWindow(&host);
    QWidget* tree = new QWidget(splitter);
    QWidget* page = new QWidget;  // reparented into the page pane
};

TEST_F(Splitter, StartsInTheMiddleAndClampsPositions)
{
    const int usable = splitter->UsableWidth();
    ASSERT_EQ(usable, 500 - 2 * splitter->frameWidth() - splitter->BarWidth());
    EXPECT_EQ(splitter->GetPosition(), usable / 2);
    EXPECT_EQ(tree->width(), usable / 2);
    EXPECT_EQ(page->parentWidget(), splitter);
    EXPECT_EQ(page->geometry().left(), splitter->frameWidth() + usable / 2 + splitter->BarWidth());
    EXPECT_EQ(page->geometry().right(), splitter->contentsRect().right());

    ASSERT_GE(splitter->frameWidth(), 1);
    const int cases[][2] = {{1, 0},
                            {2 * splitter->frameWidth(), 2 * splitter->frameWidth()},
                            {usable + 50, usable},
                            {100, 100},
                            {-1, usable / 2}};
    for (const auto& [asked, got] : cases) {
        splitter->SetPosition(asked);
        EXPECT_EQ(splitter->GetPosition(), got) << asked;
        EXPECT_EQ(tree->width(), got) << asked;
    }
}

TEST_F(Splitter, KeepsTheShareOnResizeAndTheBarFollowsTheMouse)
{
    splitter->SetPosition(splitter->width() / 4);
    const double quarter = double(splitter->GetPosition()) / splitter->UsableWidth();
    splitter->resize(1300, 200);
    EXPECT_NEAR(splitter->GetPosition(), quarter * splitter->UsableWidth(), 1.0);
    splitter->resize(333, 200);
    EXPECT_NEAR(splitter->GetPosition(), quarter * splitter->UsableWidth(), 1.0);

    const int before = splitter->GetPosition();
    mouse(QEvent::MouseButtonPress, 0);
    mouse(QEvent::MouseMove, 30);
    mouse(QEvent::MouseButtonRelease, 30);
    EXPECT_EQ(splitter->GetPosition(), before + 30);
    EXPECT_EQ(bar()->cursor().shape(), Qt::SizeHorCursor);

    mouse(QEvent::MouseButtonDblClick, 0);
    EXPECT_EQ(splitter->GetPosition(), splitter->UsableWidth() / 2);
    splitter->resize(900, 200);
    EXPECT_NEAR(splitter->GetPosition(), splitter->UsableWidth() / 2.0, 1.0);
}

TEST_F(Splitter, HidingTheNavigationShowsThePageAlone)
{
    const QRect twoPanes = page->geometry();
    splitter->SetNavigationHidden(true);
    EXPECT_FALSE(tree->isVisible());
    EXPECT_EQ(page->geometry(), splitter->contentsRect());
    EXPECT_TRUE(splitter->BarRect().isEmpty());
    splitter->SetNavigationHidden(false);
    EXPECT_TRUE(tree->isVisible());
    EXPECT_EQ(page->geometry(), twoPanes);
    splitter->SetPageWindow(nullptr);
    EXPECT_EQ(splitter->GetPageWindow(), nullptr);
    EXPECT_EQ(page->parentWidget(), splitter);  // emptied, not deleted
}

TEST_F(Splitter, OnlyTheLeftButtonMovesTheBar)
{
    struct Case {
        const char* what;
        Qt::MouseButton press, move, doubleClick;  // NoButton: not sent
        int moved;                                 // from 100
    };
    const Case cases[] = {
        {"right drag", Qt::RightButton, Qt::RightButton, Qt::NoButton, 0},
        {"move without a press", Qt::NoButton, Qt::LeftButton, Qt::NoButton, 0},
        {"right double click", Qt::NoButton, Qt::NoButton, Qt::RightButton, 0},
        {"left drag", Qt::LeftButton, Qt::LeftButton, Qt::NoButton, 20},
    };
    for (const Case& c : cases) {
        splitter->SetPosition(100);
        if (c.press != Qt::NoButton)
            mouse(QEvent::MouseButtonPress, 0, c.press);
        if (c.move != Qt::NoButton)
            mouse(QEvent::MouseMove, 20, c.move);
        if (c.doubleClick != Qt::NoButton)
            mouse(QEvent::MouseButtonDblClick, 0, c.doubleClick);
        mouse(QEvent::MouseButtonRelease, 20, Qt::LeftButton);
        EXPECT_EQ(splitter->GetPosition(), 100 + c.moved) << c.what;
    }
    // A move after the release no longer drags.
    mouse(QEvent::MouseMove, 40);
    EXPECT_EQ(splitter->GetPosition(), 120);
}

TEST_F(Splitter, PanesKeepTheirVisibilityAndOnlyTwoExist)
{
    auto* other = new QWidget(&host);
    splitter->SetPaneWindow(2, other);
    EXPECT_EQ(other->parentWidget(), &host);
    EXPECT_EQ(splitter->PaneWindow(2), nullptr);
    EXPECT_EQ(splitter->PaneWindow(-1), nullptr);

    // A page hidden on purpose stays hidden; hiding the navigation shows it across the width.
    auto* hiddenPage = new QWidget;
    hiddenPage->hide();
    splitter->SetPageWindow(hiddenPage);
    EXPECT_TRUE(hiddenPage->isHidden());
    splitter->SetNavigationHidden(true);
    EXPECT_TRUE(hiddenPage->isVisible());
    EXPECT_EQ(hiddenPage->geometry(), splitter->contentsRect());

    // A tree set while the navigation is hidden stays hidden until it is shown.
    auto* newTree = new QWidget(&host);
    splitter->SetPaneWindow(0, newTree);
    EXPECT_EQ(newTree->parentWidget(), splitter);
    EXPECT_TRUE(newTree->isHidden());
    splitter->SetNavigationHidden(false);
    EXPECT_TRUE(newTree->isVisible());
    EXPECT_EQ(newTree->width(), splitter->GetPosition());
}

TEST(SplitterWindow, APositionAskedForWithoutWidthWaitsForIt)
{
    QWidget host;
    auto* splitter = new CSplitterWindow(&host);
    splitter->resize(0, 0);
    host.show();
    splitter->SetPosition(100);
    EXPECT_EQ(splitter->Share(), -1);
    splitter->SetNavigationHidden(true);  // no panes at all: nothing to place
    splitter->SetNavigationHidden(false);
    splitter->resize(500, 200);
    EXPECT_EQ(splitter->GetPosition(), 100);
    const int share = splitter->Share();
    ASSERT_GT(share, 0);

    // Squeezed to nothing and back the bar returns to its proportion; a move meanwhile is lost.
    splitter->resize(0, 200);
    EXPECT_EQ(splitter->GetPosition(), 0);
    splitter->SetPosition(50);
    EXPECT_EQ(splitter->Share(), share);
    splitter->resize(500, 200);
    EXPECT_EQ(splitter->GetPosition(), 100);
}

TEST_F(Splitter, PaintsTheBarOnlyWithTwoPanes)
{
    const QRect bar = splitter->BarRect();
    const QImage withBar = splitter->grab(bar).toImage();
    splitter->SetNavigationHidden(true);
    EXPECT_NE(splitter->grab(bar).toImage(), withBar);
}

TEST(KeyboardNavigation, TabLeavesAWindowAtItsEndsForTheNextSlot)
{
    // Focus chain: t1 t2 | outside | e1 e2 e3 | after. Qt alone would stop at the outsiders.
    QWidget top;
    auto* tree = new QWidget(&top);
    auto* t1 = new QLineEdit(tree);
    auto* t2 = new QLineEdit(tree);
    new QLineEdit(&top);
    auto* page = new QWidget(&top);
    QLineEdit* e[3] = {new QLineEdit(page), new QLineEdit(page), new QLineEdit(page)};
    new QLineEdit(&top);
    top.show();
    QApplication::setActiveWindow(&top);
    top.activateWindow();

    auto navigation = std::make_unique<CKeyboardNavigation>();
    navigation->RegisterWindow(0, tree);
    navigation->RegisterWindow(1, page);
    navigation->RegisterWindow(5, &top);  // ignored
    EXPECT_EQ(CKeyboardNavigation::TabStops(page), QList<QWidget*>({e[0], e[1], e[2]}));

    struct Case {
        QWidget* from;
        bool backward;
        QWidget* to;  // none: left to Qt
    };
    const Case cases[] = {{e[2], false, t1},      {e[0], true, t2},         {t2, false, e[0]},
                          {t1, true, e[2]},       {e[1], false, nullptr},   {e[2], true, nullptr},
                          {&top, false, nullptr}, {nullptr, false, nullptr}};
    for (const Case& c : cases)
        EXPECT_EQ(navigation->TabTarget(c.from, c.backward), c.to) << c.from << c.backward;

    // Through the hook, as the user presses the keys.
    const auto press = [&](QWidget* from, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        from->setFocus();
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(from, &event);
        return top.focusWidget();
    };
    EXPECT_EQ(press(e[2], Qt::Key_Tab, Qt::NoModifier), t1);
    EXPECT_EQ(press(e[0], Qt::Key_Backtab, Qt::ShiftModifier), t2);
    EXPECT_EQ(press(e[0], Qt::Key_Tab, Qt::ShiftModifier), t2);
    EXPECT_EQ(press(e[2], Qt::Key_Tab, Qt::ControlModifier), e[2]);
    EXPECT_EQ(press(e[2], Qt::Key_Down, Qt::NoModifier), e[2]);
    EXPECT_EQ(press(e[1], Qt::Key_Tab, Qt::NoModifier), e[2]);  // within the page: Qt's own order

    // A hidden tree has no tab stop: Tab stays within the page.
    tree->hide();
    EXPECT_EQ(navigation->TabTarget(e[2], false), e[0]);
}

// Each navigation with a window uses the hook once; slots beyond the table are ignored, and
// registering none unregisters.
TEST(KeyboardNavigation, ANavigationUsesTheHookWhileItHasAWindow)
{
    QWidget top;
    auto* tree = new QWidget(&top);
    auto* page = new QWidget(&top);
    const int users = CKeyboardNavigation::HookUsers();
    auto navigation = std::make_unique<CKeyboardNavigation>();
    navigation->RegisterWindow(0, tree);
    navigation->RegisterWindow(1, page);
    navigation->RegisterWindow(5, &top);
    EXPECT_EQ(CKeyboardNavigation::HookUsers(), users + 1);
    navigation->UnregisterWindow(7);
    EXPECT_EQ(navigation->Window(1), page);
    EXPECT_EQ(navigation->Window(-1), nullptr);
    auto other = std::make_unique<CKeyboardNavigation>();
    other->RegisterWindow(-1, &top);
    EXPECT_EQ(CKeyboardNavigation::HookUsers(), users + 1);
    other->RegisterWindow(0, &top);
    EXPECT_EQ(CKeyboardNavigation::HookUsers(), users + 2);
    navigation->UnregisterWindow(0);
    navigation->RegisterWindow(1, nullptr);
    EXPECT_EQ(navigation->Window(1), nullptr);
    EXPECT_EQ(CKeyboardNavigation::HookUsers(), users + 1);
    other.reset();
    EXPECT_EQ(CKeyboardNavigation::HookUsers(), users);
}

TEST(KeyboardNavigation, TabStopsAreTheEnabledVisibleFocusableWidgetsAndProxyTargets)
{
    QWidget top;
    auto* edit = new QLineEdit(&top);
    auto* page = new QWidget(&top);
    auto* first = new QLineEdit(page);
    (new QLineEdit(page))->setEnabled(false);
    (new QLineEdit(page))->hide();
    new QLabel(QStringLiteral("label"), page);
    auto* proxied = new QWidget(page);
    proxied->setFocusPolicy(Qt::StrongFocus);
    auto* proxy = new QLineEdit(proxied);
    proxied->setFocusProxy(proxy);
    top.show();

    EXPECT_EQ(CKeyboardNavigation::TabStops(edit), QList<QWidget*>({edit}));
    EXPECT_EQ(CKeyboardNavigation::TabStops(page), QList<QWidget*>({first, proxy}));
    EXPECT_EQ(CKeyboardNavigation::TabStops(nullptr), QList<QWidget*>());

    // A window that is its own only tab stop: Tab goes to the other window and comes back.
    CKeyboardNavigation navigation;
    navigation.RegisterWindow(0, edit);
    EXPECT_EQ(navigation.TabTarget(edit, false), edit);
    navigation.RegisterWindow(1, page);
    EXPECT_EQ(navigation.TabTarget(edit, false), first);
    EXPECT_EQ(navigation.TabTarget(edit, true), proxy);
    first->setEnabled(false);
    proxy->setEnabled(false);
    EXPECT_EQ(navigation.TabTarget(page->findChild<QLabel*>(), false), nullptr);  // no stop in the page
}
