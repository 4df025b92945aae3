#include "controls/UIEventBase.h"
#include "framework/ActionArea.h"
#include "framework/IdentificationArea.h"
#include "framework/StatusArea.h"
#include "framework/TextProvider.h"
#include "framework/ToolbarArea.h"
#include "platform/ui/DialogItems.h"
#include "support/FakeBusinessObject.h"
#include "support/MockUIController.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

#include <ostream>
#include <utility>
#include <vector>

static void PrintTo(const QRect& rect, std::ostream* os)
{
    *os << rect.x() << ',' << rect.y() << ' ' << rect.width() << 'x' << rect.height();
}

using namespace orvx;
using framework::CActionArea;
using framework::CIdentificationArea;
using framework::CStatusArea;
using framework::CTextProvider;
using framework::CToolbarArea;
using testing::_;
using Sent = std::vector<std::pair<int, int>>;

namespace {

// Records each action event as (action id, state).
void recordEvents(test::MockUIController& controller, Sent* sent)
{
    EXPECT_CALL(controller, HandleEvent(_)).WillRepeatedly([sent](controls::CUIEventBase& event) {
        sent->emplace_back(event.GetViewId(), event.GetControlId());
        return true;
    });
}

TEST(StatusArea, StateDocumentsSetOnlyThePanesTheyName)
{
    struct Row {
        int code;
        const char* document;
        int pane;
        std::uint32_t icon;
        const char* text;
        const char* tip;
    };
    const Row rows[] = {
        {1, "<s state='Online'/>", 0, 5, "Connected", ""},
        {1, "<s state='Offline'/>", 0, 2, "Disconnected", ""},
        {1, "<s state='GoingOnline'/>", 0, 4, "", ""},
        {1, "<s state='online'/>", 0, 2, "Disconnected", ""},  // words are case-sensitive
        {1, "<s state='Online'", 0, 2, "Disconnected", ""},    // does not parse
        {2, "<s state='Online'/>", 0, 2, "Disconnected", ""},  // not the state document
        {1, "<s dataSetState='allDataLoaded'/>", 3, 0, "", "AllDataLoaded"},
        {1, "<s dataSetState='whatever'/>", 3, 0, "", "Default"},
        {1, "<s dataSetState='validModified'/>", 3, 31, "", "ValidModified"},
        {1, "<s dataSetState='' state='Online'/>", 3, 31, "", "ValidModified"},
        {1, "<s isCommunicating='1'/>", 1, 16, "", "Communication with device is in progress"},
        {1, "<s isCommunicating='true'/>", 1, 0, "", ""},
        {1, "<s isCommunicating='1'/>", 1, 16, "", "Communication with device is in progress"},
        {1, "<s isCommunicating='0'/>", 1, 0, "", ""},
        {1, "<s/>", 0, 5, "Connected", ""},
    };
    CTextProvider texts;
    CStatusArea area;
    area.SetTextProvider(&texts);
    for (const Row& row : rows) {
        area.OnUpdate(row.code, QString::fromUtf8(row.document));
        EXPECT_EQ(area.PaneIconId(row.pane), row.icon) << row.document;
        EXPECT_EQ(area.PaneText(row.pane).toStdString(), row.text) << row.document;
        EXPECT_EQ(area.PaneToolTip(row.pane).toStdString(), row.tip) << row.document;
    }
}

TEST(StatusArea, EachCodeShowsItsIconAndTextAndOneBeyondTheTableEmptiesThePane)
{
    using Setter = void (CStatusArea::*)(int);
    struct Row {
        Setter set;
        int code;
        int pane;
        std::uint32_t icon;
        const char* text;  // pane text, or tool tip for the panes that show one
    };
    const Row rows[] = {
        {&CStatusArea::SetConnectionState, 3, 0, 3, ""},
        {&CStatusArea::SetConnectionState, 4, 0, 1, ""},
        {&CStatusArea::SetConnectionState, 5, 0, 0, ""},
        {&CStatusArea::SetDataSetState, 1, 3, 31, "ValidModified"},
        {&CStatusArea::SetDataSetState, 2, 3, 30, "InvalidModified"},
        {&CStatusArea::SetDataSetState, 3, 3, 0, "AllDataLoaded"},
        {&CStatusArea::SetDataSetState, 0, 3, 0, "Default"},
        {&CStatusArea::SetDataSetState, 4, 3, 0, ""},
        {&CStatusArea::SetDataSource, 0, 2, 0, ""},
        {&CStatusArea::SetDataSource, 1, 2, 6, "Data set"},
        {&CStatusArea::SetDataSource, 2, 2, 7, "Data set locked"},
        {&CStatusArea::SetDataSource, 3, 2, 8, "Device"},
        {&CStatusArea::SetDataSource, 4, 2, 9, "Device locked"},
        {&CStatusArea::SetDataSource, 5, 2, 0, ""},
        {&CStatusArea::SetDeviceStatus, 0, 6, 0, ""},
        {&CStatusArea::SetDeviceStatus, 1, 6, 12, "Failure"},
        {&CStatusArea::SetDeviceStatus, 2, 6, 13, "Functional check"},
        {&CStatusArea::SetDeviceStatus, 3, 6, 35, "Out of tolerance"},
        {&CStatusArea::SetDeviceStatus, 5, 6, 36, "OK"},
        {&CStatusArea::SetDeviceStatus, 6, 6, 0, ""},
    };
    CTextProvider texts;
    CStatusArea area;
    area.SetTextProvider(&texts);
    for (const Row& row : rows) {
        (area.*row.set)(row.code);
        const bool toolTipPane = row.pane == 3 || row.pane == 6;
        EXPECT_EQ(area.PaneIconId(row.pane), row.icon) << row.pane << ": " << row.code;
        EXPECT_EQ((toolTipPane ? area.PaneToolTip(row.pane) : area.PaneText(row.pane)).toStdString(), row.text)
            << row.pane << ": " << row.code;
        EXPECT_EQ((toolTipPane ? area.PaneText(row.pane) : area.PaneToolTip(row.pane)), QString()) << row.pane;
    }
    area.SetMessage(QStringLiteral("Saved"));
    EXPECT_EQ(area.PaneText(8), QStringLiteral("Saved"));
    for (int pane : {-1, 9}) {  // no such pane
        EXPECT_EQ(area.PaneText(pane), QString());
        EXPECT_EQ(area.PaneToolTip(pane), QString());
        EXPECT_EQ(area.PaneIconId(pane), 0u);
    }
}

TEST(StatusArea, ShowsTheBusinessObjectsOwnTextsAlsoWhenSetBeforeTheBarExists)
{
    auto device = com::makeComObject<test::FakeBusinessObject>();
    device->texts = {{"UI_TEXT_0", "Verbunden"}};
    CTextProvider texts;
    texts.SetCurrentTextSource(device.get());
    CStatusArea area;
    area.SetTextProvider(&texts);
    area.SetConnectionState(framework::ConnectionOnline);
    area.SetDeviceStatus(4);

    QWidget parent;
    QStatusBar* bar = area.CreateWindow(&parent);
    EXPECT_EQ(bar->findChild<QWidget*>("pane_500")->findChild<QLabel*>("text")->text(), QStringLiteral("Verbunden"));
    EXPECT_EQ(bar->findChild<QWidget*>("pane_506")->toolTip(), QStringLiteral("Maintenance required"));
    area.SetDeviceStatus(9);  // no entry: the pane empties
    EXPECT_EQ(bar->findChild<QWidget*>("pane_506")->toolTip(), QString());
    EXPECT_EQ(area.PaneIconId(6), 0u);
}

TEST(IdentificationArea, ScalesTallPicturesAndKeepsThemAtTheEdges)
{
    QWidget parent;
    parent.resize(2200, 300);
    CIdentificationArea area;
    area.CreateWindow(&parent);
    parent.show();
    const int largest = area.Height() - 20;
    ASSERT_GT(largest, 10);

    QTemporaryDir folder;
    QPixmap tall(30, 2 * largest);
    tall.fill(Qt::red);
    ASSERT_TRUE(tall.save(folder.filePath("tall.png")));
    QPixmap small(40, 20);
    small.fill(Qt::blue);
    ASSERT_TRUE(small.save(folder.filePath("small.png")));

    auto* left = area.findChild<QLabel*>("leftPicture");
    auto* right = area.findChild<QLabel*>("rightPicture");
    auto* top = ui::dialogItem<QLabel>(&area, 108);
    area.SetLeftPictureFile(folder.filePath("tall.png"));
    area.SetRightPictureFile(folder.filePath("missing.png"));
    EXPECT_EQ(left->geometry(), QRect(10, 10, 15, largest));
    EXPECT_EQ(right->width(), 0);
    EXPECT_EQ(top->geometry().left(), 35);
    EXPECT_EQ(top->width(), area.width() - 40 - 15);

    area.SetRightPictureFile(folder.filePath("small.png"));
    area.resize(2000, area.height());
    EXPECT_EQ(right->geometry(), QRect(1950, 10, 40, 20));
    const int h = top->height();
    const QRect lines[] = {top->geometry(), ui::dialogItem<QLabel>(&area, 110)->geometry(),
                           ui::dialogItem<QLabel>(&area, 109)->geometry()};
    EXPECT_EQ(lines[0], QRect(35, 10, 2000 - 40 - 15 - 40, h));
    EXPECT_EQ(lines[1], QRect(35, h + 14, 1905, h));
    EXPECT_EQ(lines[2], QRect(35, 2 * h + 18, 1905, h));
    EXPECT_TRUE(top->font().bold());
}

TEST(ToolbarArea, ClicksSendTheActionIdAndTheButtonsState)
{
    QWidget parent;
    CToolbarArea area;
    QToolBar* bar = area.CreateWindow(&parent);
    QPixmap image(16, 16);
    image.fill(Qt::blue);
    area.AddIconAction(0, QIcon(image), framework::ToolbarToggle, QStringLiteral("Toggle navigation tree"));
    area.AddIconAction(1, QIcon(image), framework::ToolbarPush, QStringLiteral("About"));
    area.AddIconAction(2, QIcon(), framework::ToolbarPush, QStringLiteral("No image"));
    ASSERT_EQ(bar->actions().size(), 2);
    EXPECT_EQ(area.Height(), bar->sizeHint().height());  // taken before any button was there
    auto click = [bar](int index) { qobject_cast<QToolButton*>(bar->widgetForAction(bar->actions()[index]))->click(); };

    click(1);  // no controller yet
    test::MockUIController controller;
    Sent sent;
    recordEvents(controller, &sent);
    area.SetController(&controller);
    click(0);
    click(0);
    click(1);
    EXPECT_EQ(sent, (Sent{{0, 0}, {0, 1}, {1, 2}}));

    QString tip;
    EXPECT_TRUE(area.GetActionTip(1, &tip));
    EXPECT_EQ(tip, QStringLiteral("About"));
    EXPECT_FALSE(area.GetActionTip(2, &tip));
    area.Clear();
    EXPECT_FALSE(area.GetActionTip(1, &tip));
}

TEST(ToolbarArea, EachStyleSetsTheButtonsStateAndWhatAClickSends)
{
    struct Row {
        int style;
        bool enabled, checkable, checked;
        Sent sent;  // by two clicks
    };
    const Row rows[] = {
        {framework::ToolbarToggleChecked, true, true, true, {{0, 1}, {0, 0}}},
        {framework::ToolbarToggle, true, true, false, {{0, 0}, {0, 1}}},
        {framework::ToolbarPush, true, false, false, {{0, 2}, {0, 2}}},
        {3, false, false, false, {}},
    };
    QTemporaryDir folder;
    QPixmap image(32, 30);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(folder.filePath("button.png")));
    for (const Row& row : rows) {
        QWidget parent;
        CToolbarArea area;
        area.AddFileAction(0, folder.filePath("button.png"), row.style, QStringLiteral("early"));  // no toolbar yet
        area.AddSeparator();
        QToolBar* bar = area.CreateWindow(&parent);
        EXPECT_EQ(area.CreateWindow(&parent), bar);
        area.AddFileAction(0, folder.filePath("button.png"), row.style, QStringLiteral("Button"));
        area.AddSeparator();
        area.AddFileAction(1, folder.filePath("missing.png"), row.style, QStringLiteral("Missing"));
        area.AddBitmapAction(2, 1, row.style, QStringLiteral("No such bitmap"));
        ASSERT_EQ(bar->actions().size(), 2) << row.style;
        QAction* action = bar->actions()[0];
        EXPECT_TRUE(bar->actions()[1]->isSeparator());
        EXPECT_EQ(action->icon().pixmap(16, 15).size(), QSize(16, 15));
        EXPECT_EQ(action->isEnabled(), row.enabled) << row.style;
        EXPECT_EQ(action->isCheckable(), row.checkable) << row.style;
        EXPECT_EQ(action->isChecked(), row.checked) << row.style;

        test::MockUIController controller;
        Sent sent;
        recordEvents(controller, &sent);
        area.SetController(&controller);
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
        button->click();
        button->click();
        EXPECT_EQ(sent, row.sent) << row.style;
    }
}

TEST(ToolbarArea, GivesATipOnlyForAButtonWithText)
{
    CToolbarArea area;
    QString tip = QStringLiteral("unchanged");
    EXPECT_FALSE(area.GetActionTip(0, &tip));  // no toolbar
    area.Clear();
    QWidget parent;
    area.CreateWindow(&parent);
    QPixmap image(16, 16);
    image.fill(Qt::blue);
    area.AddIconAction(4, QIcon(image), framework::ToolbarPush, QString());
    area.AddIconAction(5, QIcon(image), framework::ToolbarPush, QString(300, QLatin1Char('x')));
    EXPECT_FALSE(area.GetActionTip(4, &tip));
    EXPECT_FALSE(area.GetActionTip(5, nullptr));
    EXPECT_EQ(tip, QStringLiteral("unchanged"));
    EXPECT_TRUE(area.GetActionTip(5, &tip));
    EXPECT_EQ(tip.size(), 255);
}

TEST(ActionArea, KeepsTheLeftAndRightGroupsInPlace)
{
    QWidget parent;
    parent.resize(800, 200);
    CActionArea area;
    area.CreateWindow(&parent);
    area.resize(600, area.Height());
    parent.show();
    auto xs = [&area](std::initializer_list<int> ids) {
        std::vector<int> result;
        for (int id : ids)
            result.push_back(area.Button(id) ? area.Button(id)->x() : -1);
        return result;
    };

    EXPECT_TRUE(area.AddAction(5, QStringLiteral("Five"), 1));
    EXPECT_TRUE(area.AddAction(6, QStringLiteral("Six"), 0));
    EXPECT_TRUE(area.AddAction(7, QStringLiteral("Seven"), 0));
    EXPECT_FALSE(area.AddAction(6, QStringLiteral("Again"), 1));
    EXPECT_EQ(xs({5, 6, 7}), (std::vector{10, 380, 490}));
    EXPECT_EQ(area.Button(5)->geometry(), QRect(10, area.height() / 2 - 14, 100, 28));

    EXPECT_TRUE(area.RemoveAction(6));
    EXPECT_FALSE(area.RemoveAction(6));
    EXPECT_EQ(xs({5, 6, 7}), (std::vector{10, -1, 490}));
    // Any non-zero alignment joins the left group and leaves the right group's end in place.
    EXPECT_TRUE(area.AddAction(8, QStringLiteral("Eight"), 2));
    area.resize(700, area.height());
    EXPECT_EQ(xs({5, 8, 7}), (std::vector{10, 120, 590}));

    test::MockUIController controller;
    Sent sent;
    recordEvents(controller, &sent);
    area.SetController(&controller);
    area.Button(7)->click();
    EXPECT_EQ(sent, (Sent{{7, 2}}));
}

}  // namespace
