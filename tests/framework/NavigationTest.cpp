#include "framework/LayoutDescriptionParser.h"
#include "framework/NavigationArea.h"
#include "platform/ui/PostCall.h"
#include "platform/ui/Resources.h"
#include "support/MockUIController.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <ostream>
#include <stdexcept>
#include <vector>

using namespace orvx;
using framework::CLayoutDescriptionParser;
using framework::CNavigationArea;
using framework::CNavigationEntry;
using testing::_;

namespace {

// "alpha" tags two entries, one of them nested two levels down.
const QString kSmallLayout = QStringLiteral(R"(<UILayoutDescription><NavigationArea>
  <Entry label="Root" assignedApplicationViewId="0">
    <Entry label="Alpha" assignedApplicationViewId="7" tag="alpha"/>
    <Entry label="Beta" assignedApplicationViewId="3"><Entry label="Gamma" assignedApplicationViewId="4" tag="alpha"/></Entry>
  </Entry>
  <Entry label="Second" assignedApplicationViewId="9"/>
</NavigationArea></UILayoutDescription>)");

QString layoutOf(const QString& navigationAttributes, const QString& entries)
{
    return QStringLiteral("<UILayoutDescription><NavigationArea %1>%2</NavigationArea></UILayoutDescription>")
        .arg(navigationAttributes, entries);
}

QImage pictureOf(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage();
}

// One tree item as the user sees it; icon is the index of the image it shows, -1 for none.
struct Row {
    QString label;
    std::uint32_t viewId;
    int icon;
    int depth;
    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& row, std::ostream* out)
{
    *out << '{' << row.label.toStdString() << ", view " << row.viewId << ", icon " << row.icon << ", depth "
         << row.depth << '}';
}

class Navigation : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree = area.CreateWindow(&window);
        tree->setGeometry(0, 0, 300, 600);
        QCoreApplication::processEvents();
        area.SetController(&controller);
    }

    void load(const QString& layout) { CLayoutDescriptionParser(&window, &controller, &area, nullptr).Load(layout); }

    QTreeWidgetItem* item(const char* label) const
    {
        const auto found = tree->findItems(QString::fromUtf8(label), Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    QString current() const { return tree->currentItem() ? tree->currentItem()->text(0) : QString(); }

    // Top to bottom, parents before children.
    std::vector<Row> rows()
    {
        std::vector<Row> result;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            int depth = 0;
            for (const QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent())
                ++depth;
            int icon = -1;
            for (int i = 0; i < area.images().size() && !(*it)->icon(0).isNull(); ++i) {
                if (pictureOf(area.images()[i]) == pictureOf((*it)->icon(0)))
                    icon = i;
            }
            const CNavigationEntry* entry = area.GetEntry(*it);
            result.push_back({(*it)->text(0), entry ? entry->viewId : 0xdeadu, icon, depth});
        }
        return result;
    }

    void rightClick(QPoint at)
    {
        QWidget* viewport = tree->viewport();
        for (const auto& [type, buttons] : {std::pair{QEvent::MouseButtonPress, Qt::RightButton},
                                            std::pair{QEvent::MouseButtonRelease, Qt::NoButton}}) {
            QMouseEvent event(type, QPointF(at), viewport->mapToGlobal(QPointF(at)), Qt::RightButton, buttons,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(viewport, &event);
        }
    }

    testing::NiceMock<test::MockUIController> controller;
    QWidget window;
    CNavigationArea area;
    QTreeWidget* tree = nullptr;
};

TEST_F(Navigation, TheMainViewLayoutGivesTheTwentyFourPages)
{
    const std::vector<Row> expected = {
        {"Orvx ESD HART", 0, 0, 0},      {"ESD and PST", 1, 7, 1},         {"Device Setup", 2, 1, 1},
        {"Setup Wizard", 3, 7, 2},       {"Configuration", 4, 2, 2},       {"General", 5, 8, 3},
        {"ESD Setup", 6, 8, 3},          {"Alarm Setup", 7, 8, 3},         {"Switches", 8, 8, 3},
        {"HART", 9, 8, 3},               {"Calibration", 10, 3, 2},        {"Find Stops", 11, 7, 3},
        {"Autotune", 12, 7, 3},          {"Tuning Data", 13, 8, 3},        {"Commission Service", 14, 4, 2},
        {"Configuration", 15, 8, 3},     {"Manual Setpoint", 16, 7, 3},    {"Position Retransmit", 17, 7, 3},
        {"Diagnostics", 18, 7, 3},       {"Switches", 19, 8, 3},           {"Status/Diagnostic", 20, 5, 1},
        {"View/Clear Faults", 21, 7, 2}, {"Sensor Measurement", 22, 7, 2}, {"Device Info", 23, 6, 1},
    };
    EXPECT_CALL(controller, SetNavigationHidden(_)).Times(0);
    EXPECT_CALL(controller, ActivateView(0));  // nothing was selected: the root is

    load(ui::xmlResource(219));
    area.ShowImages(true);

    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(current(), QStringLiteral("Orvx ESD HART"));
    // Peers holding only the item find its entry in the item's user data.
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        EXPECT_EQ((*it)->data(0, Qt::UserRole).value<void*>(), area.GetEntry(*it));
}

TEST_F(Navigation, SelectingAnItemByProgramOrRightClickShowsItsView)
{
    load(kSmallLayout);
    area.ExpandAll();
    for (const auto& [label, viewId] : {std::pair{"Beta", 3}, {"Gamma", 4}, {"Second", 9}}) {
        EXPECT_CALL(controller, ActivateView(viewId));
        tree->setCurrentItem(item(label));
        testing::Mock::VerifyAndClearExpectations(&controller);
    }

    window.show();
    EXPECT_CALL(controller, ActivateView(7));
    rightClick(tree->visualItemRect(item("Alpha")).center());
    testing::Mock::VerifyAndClearExpectations(&controller);

    EXPECT_CALL(controller, ActivateView(_)).Times(0);
    rightClick(QPoint(150, tree->viewport()->height() - 2));  // beside the items
    EXPECT_EQ(current(), QStringLiteral("Alpha"));
    EXPECT_EQ(tree->selectedItems().size(), 1);
}

TEST_F(Navigation, AFailingViewActivationIsReportedAndNotThrownIntoTheEventLoop)
{
    load(kSmallLayout);
    QStringList reported;
    const ui::ErrorReporter previous = ui::setErrorReporter([&](const QString& message) { reported << message; });
    ON_CALL(controller, ActivateView(_)).WillByDefault(testing::Throw(std::runtime_error("no page")));

    tree->setCurrentItem(item("Second"));

    ui::setErrorReporter(previous);
    EXPECT_EQ(current(), QStringLiteral("Second"));
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported.first().contains(QStringLiteral("no page")));
}

TEST_F(Navigation, AmongEqualViewsAndTagsTheTopmostEntryWins)
{
    // "Later" is created after "Earlier" but placed above it; "Upper" is created first and on top.
    CNavigationEntry* top = area.AddEntry(1, 0, QStringLiteral("Top"), nullptr, nullptr);
    CNavigationEntry* earlier = area.AddEntry(5, 0, QStringLiteral("Earlier"), nullptr, nullptr);
    CNavigationEntry* later = area.AddEntry(5, 0, QStringLiteral("Later"), nullptr, top->item);
    CNavigationEntry* upper = area.AddEntry(6, 0, QStringLiteral("Upper"), nullptr, nullptr);
    area.AddEntry(6, 0, QStringLiteral("Lower"), nullptr, nullptr);
    earlier->tag = later->tag = QStringLiteral("pump");
    ASSERT_EQ(tree->indexOfTopLevelItem(later->item), 1);

    EXPECT_CALL(controller, ActivateView(5)).Times(2);  // either entry shows view 5
    EXPECT_CALL(controller, ActivateView(6));
    tree->setCurrentItem(earlier->item);
    EXPECT_TRUE(area.SelectView(5));
    EXPECT_EQ(tree->currentItem(), later->item);
    EXPECT_TRUE(area.SelectView(6));
    EXPECT_EQ(tree->currentItem(), upper->item);
    EXPECT_FALSE(area.SelectView(8));
    EXPECT_EQ(tree->currentItem(), upper->item);

    EXPECT_EQ(area.FindEntryByTag(QStringLiteral("pump")), later);
    EXPECT_EQ(area.FindEntryByTag(QStringLiteral("Pump")), nullptr);  // exact, case-sensitive
    testing::Mock::VerifyAndClearExpectations(&controller);
    load(kSmallLayout);
    EXPECT_EQ(area.FindEntryByTag(QStringLiteral("alpha")), area.GetEntry(item("Alpha")));
}

TEST_F(Navigation, ReloadingKeepsTheShownViewWhenTheNewTreeHasIt)
{
    const QString first = R"(<Entry label="First" assignedApplicationViewId="2"/>)";
    const struct {
        const char* name;
        bool sevenShown;
        QString entries;
        const char* selected;
        std::int32_t shownView;
    } cases[] = {
        {"view 7 present twice", true,
         R"(<Entry label="Top" assignedApplicationViewId="1"><Entry label="Seven" assignedApplicationViewId="7"/></Entry>
            <Entry label="Seven again" assignedApplicationViewId="7"/>)",
         "Seven", 7},
        {"view 7 absent", true, first + R"(<Entry label="Other" assignedApplicationViewId="3"/>)", "First", 2},
        {"nothing shown before", false, first + R"(<Entry label="Seven" assignedApplicationViewId="7"/>)", "First", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        area.RemoveAll();
        load(ui::xmlResource(219));
        if (c.sevenShown)
            ASSERT_TRUE(area.SelectView(7));
        else
            tree->setCurrentItem(nullptr);
        testing::Mock::VerifyAndClearExpectations(&controller);

        EXPECT_CALL(controller, ActivateView(c.shownView));
        load(layoutOf({}, c.entries));
        testing::Mock::VerifyAndClearExpectations(&controller);
        EXPECT_EQ(current(), QLatin1String(c.selected));
    }
}

TEST_F(Navigation, DocumentsWithoutNavigationEntriesLeaveTheTreeAsItWas)
{
    const char* documents[] = {
        R"(<UILayoutDescription><NavigationArea hide="0"/></UILayoutDescription>)",
        R"(<UILayoutDescription><NavigationArea/><Entry label="Stray" assignedApplicationViewId="5"/></UILayoutDescription>)",
        // Not well-formed: nothing happens, not even the hiding asked for.
        R"(<UILayoutDescription><NavigationArea hide="1"><Entry label="Half" assignedApplicationViewId="5">)",
        R"(<UILayoutDescription><NavigationArea hide="1"><Entry label="A"></NavigationArea></UILayoutDescription>)",
        "not xml",
    };
    load(kSmallLayout);
    ASSERT_TRUE(area.SelectView(7));
    const std::vector<Row> before = rows();
    for (const char* document : documents) {
        SCOPED_TRACE(document);
        EXPECT_CALL(controller, ActivateView(_)).Times(0);
        EXPECT_CALL(controller, SetNavigationHidden(_)).Times(0);
        load(QString::fromUtf8(document));
        testing::Mock::VerifyAndClearExpectations(&controller);
        EXPECT_EQ(rows(), before);
        EXPECT_EQ(current(), QStringLiteral("Alpha"));
    }
}

TEST_F(Navigation, OnlyHideOneHidesTheNavigationPane)
{
    const QString entry = R"(<Entry label="Only"/>)";
    const std::tuple<const char*, QString, bool> cases[] = {
        {R"(hide="1")", entry, true},    {R"(hide="1")", {}, true},       {R"(hide="0")", entry, false},
        {R"(hide="yes")", entry, false}, {R"(hide="")", entry, false},    {R"(hide=" 1")", entry, false},
        {R"(hide="10")", entry, false},  {"", entry, false},
    };
    for (const auto& [attribute, entries, hides] : cases) {
        SCOPED_TRACE(attribute);
        EXPECT_CALL(controller, SetNavigationHidden(true)).Times(hides ? 1 : 0);
        EXPECT_CALL(controller, SetNavigationHidden(false)).Times(0);
        load(layoutOf(QString::fromUtf8(attribute), entries));
        testing::Mock::VerifyAndClearExpectations(&controller);
    }
}

TEST_F(Navigation, MissingOrOddAttributesTakeTheirDefaults)
{
    const std::pair<const char*, Row> cases[] = {
        {R"(label="Plain" assignedApplicationViewId="12" iconIndex="3")", {"Plain", 12, 3, 0}},
        {"", {"", 0, 0, 0}},
        {R"(assignedApplicationViewId="12ab" iconIndex="3x")", {"", 12, 3, 0}},
        {R"(assignedApplicationViewId="ab" iconIndex="x3")", {"", 0, 0, 0}},
        {R"(assignedApplicationViewId="-3" iconIndex="-1")", {"", 0, 0, 0}},
        {R"(assignedApplicationViewId=" 7")", {"", 0, 0, 0}},
        {R"(assignedApplicationViewId="0007")", {"", 7, 0, 0}},
        {R"(assignedApplicationViewId="4294967295")", {"", 4294967295u, 0, 0}},
        {R"(assignedApplicationViewId="99999999999999999999999")", {"", 4294967295u, 0, 0}},
        {R"(label="  A &amp; B  " iconIndex="8")", {"  A & B  ", 0, 8, 0}},
        {R"(iconIndex="9")", {"", 0, -1, 0}},  // beyond the image list: no image
    };
    area.ShowImages(true);
    for (const auto& [attributes, expected] : cases) {
        load(layoutOf({}, QStringLiteral("<Entry %1/>").arg(QString::fromUtf8(attributes))));
        EXPECT_EQ(rows(), std::vector<Row>{expected}) << attributes;
    }
}

TEST_F(Navigation, RemovingEntriesLeavesNoItemWithoutItsEntry)
{
    load(kSmallLayout);
    QTreeWidgetItem* beta = item("Beta");
    QTreeWidgetItem* gamma = item("Gamma");
    EXPECT_FALSE(area.RemoveEntry(beta));  // has a child
    EXPECT_EQ(rows().size(), 5u);
    QTreeWidget otherTree;
    EXPECT_FALSE(area.RemoveEntry(new QTreeWidgetItem(&otherTree)));

    EXPECT_TRUE(area.RemoveEntry(gamma));
    EXPECT_EQ(area.GetEntry(gamma), nullptr);
    EXPECT_TRUE(area.RemoveEntry(beta));

    area.AddEntry(11, 0, QStringLiteral("Deep"), item("Alpha"), nullptr);
    area.RemoveChildren(item("Root"));
    EXPECT_EQ(rows(), (std::vector<Row>{{"Root", 0, -1, 0}, {"Second", 9, -1, 0}}));
    EXPECT_EQ(area.FindEntryByTag(QStringLiteral("alpha")), nullptr);

    area.RemoveAll();
    EXPECT_EQ(tree->topLevelItemCount(), 0);
    EXPECT_FALSE(area.SelectView(0));
}

TEST_F(Navigation, DeeplyNestedEntriesAreCutOffInsteadOfExhaustingTheStack)
{
    constexpr int levels = 200000;
    QString entries;
    entries.reserve(levels * 40);
    for (int i = 0; i < levels; ++i)
        entries += QStringLiteral("<Entry label=\"L\">");
    for (int i = 0; i < levels; ++i)
        entries += QStringLiteral("</Entry>");
    load(layoutOf({}, entries));

    const std::vector<Row> actual = rows();
    ASSERT_EQ(actual.size(), std::size_t(CLayoutDescriptionParser::kMaxDepth));
    EXPECT_EQ(actual.back().depth, CLayoutDescriptionParser::kMaxDepth - 1);
}

TEST_F(Navigation, TheNineIconsLoadDifferAndShowOnlyWhileImagesAreShown)
{
    const QList<QIcon>& images = area.images();
    ASSERT_EQ(images.size(), 9);
    for (int i = 0; i < images.size(); ++i) {
        EXPECT_EQ(pictureOf(images[i]).size(), QSize(16, 16)) << i;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(pictureOf(images[i]), pictureOf(images[j])) << i << " looks like " << j;
    }
    // One that does not load is skipped: the next one takes its index.
    const QList<QIcon> skipped = CNavigationArea::loadImages({202, 9999, 243});
    ASSERT_EQ(skipped.size(), 2);
    EXPECT_EQ(pictureOf(skipped[1]), pictureOf(images[1]));

    area.AddEntry(2, 8, QStringLiteral("Page"), nullptr, nullptr);
    EXPECT_EQ(rows().front().icon, -1);
    area.ShowImages(true);
    EXPECT_EQ(rows().front().icon, 8);
    area.ShowImages(false);
    EXPECT_EQ(rows().front().icon, -1);
}

TEST(NavigationWindow, EntriesGoWithATreeDestroyedByItsParent)
{
    testing::NiceMock<test::MockUIController> controller;
    CNavigationArea area;
    {
        QWidget window;
        area.CreateWindow(&window);
        area.SetController(&controller);
        area.AddEntry(3, 0, QStringLiteral("Page"), nullptr, nullptr);
        area.AddEntry(4, 0, QStringLiteral("Next"), nullptr, nullptr);
        ASSERT_TRUE(area.SelectView(3));
        EXPECT_CALL(controller, ActivateView(_)).Times(0);
    }
    EXPECT_EQ(area.GetTree(), nullptr);
    EXPECT_FALSE(area.SelectView(3));
    EXPECT_EQ(area.AddEntry(4, 0, QStringLiteral("Late"), nullptr, nullptr), nullptr);
    area.RemoveAll();
}

}  // namespace
