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

#include <stdexcept>
#include <string>
#include <vector>

using namespace orvx;
using framework::CLayoutDescriptionParser;
using framework::CNavigationArea;
using framework::CNavigationEntry;
using testing::_;
using Rows = std::vector<std::string>;

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

class Navigation : public ::testing::Test {
protected:
    void SetUp() override
    {
        tree->setGeometry(0, 0, 300, 600);
        area.SetController(&controller);
    }

    void load(const QString& layout) { CLayoutDescriptionParser(&window, &controller, &area, nullptr).Load(layout); }
    QTreeWidgetItem* item(const char* label) const
    {
        return tree->findItems(QString::fromUtf8(label), Qt::MatchExactly | Qt::MatchRecursive).value(0);
    }
    QString current() const { return tree->currentItem() ? tree->currentItem()->text(0) : QString(); }

    // The items top to bottom as the user sees them: "label v<view id> i<index of the image shown, -1 for
    // none>", indented two spaces a level.
    Rows rows()
    {
        Rows result;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            int icon = -1;
            for (int i = 0; i < area.images().size() && !(*it)->icon(0).isNull(); ++i)
                if (pictureOf(area.images()[i]) == pictureOf((*it)->icon(0)))
                    icon = i;
            const CNavigationEntry* entry = area.GetEntry(*it);
            QString line =
                QStringLiteral("%1 v%2 i%3").arg((*it)->text(0)).arg(entry ? entry->viewId : 0xdeadu).arg(icon);
            for (const QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent())
                line.prepend(QStringLiteral("  "));
            result.push_back(line.toStdString());
        }
        return result;
    }

    testing::NiceMock<test::MockUIController> controller;
    QWidget window;
    CNavigationArea area;
    QTreeWidget* tree = area.CreateWindow(&window);
};

TEST_F(Navigation, TheMainViewLayoutGivesTheTwentyFourPages)
{
    const Rows expected = {
        "Orvx ESD HART v0 i0",           "  ESD and PST v1 i7",
        "  Device Setup v2 i1",          "    Setup Wizard v3 i7",
        "    Configuration v4 i2",       "      General v5 i8",
        "      ESD Setup v6 i8",         "      Alarm Setup v7 i8",
        "      Switches v8 i8",          "      HART v9 i8",
        "    Calibration v10 i3",        "      Find Stops v11 i7",
        "      Autotune v12 i7",         "      Tuning Data v13 i8",
        "    Commission Service v14 i4", "      Configuration v15 i8",
        "      Manual Setpoint v16 i7",  "      Position Retransmit v17 i7",
        "      Diagnostics v18 i7",      "      Switches v19 i8",
        "  Status/Diagnostic v20 i5",    "    View/Clear Faults v21 i7",
        "    Sensor Measurement v22 i7", "  Device Info v23 i6",
    };
    EXPECT_CALL(controller, SetNavigationHidden(_)).Times(0);
    EXPECT_CALL(controller, ActivateView(0));  // nothing was selected: the root is
    load(ui::xmlResource(219));
    area.ShowImages(true);
    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(current(), QStringLiteral("Orvx ESD HART"));
    for (QTreeWidgetItemIterator it(tree); *it; ++it)  // peers holding only the item find its entry there
        EXPECT_EQ((*it)->data(0, Qt::UserRole).value<void*>(), area.GetEntry(*it));
    area.ShowImages(false);
    EXPECT_EQ(rows().front(), "Orvx ESD HART v0 i-1");
}

TEST_F(Navigation, ASelectionShowsTheViewOfTheTopmostEntryAndAFailureThereIsOnlyReported)
{
    load(kSmallLayout);
    area.ExpandAll();
    window.show();
    const auto rightClick = [&](QPoint at) {
        for (const auto& [type, buttons] : {std::pair{QEvent::MouseButtonPress, Qt::RightButton},
                                            std::pair{QEvent::MouseButtonRelease, Qt::NoButton}}) {
            QMouseEvent event(type, QPointF(at), tree->viewport()->mapToGlobal(QPointF(at)), Qt::RightButton, buttons,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(tree->viewport(), &event);
        }
    };
    // "Above" is added last but placed above "Second", which shows the same view.
    QTreeWidgetItem* above = area.AddEntry(9, 0, QStringLiteral("Above"), nullptr, item("Root"))->item;
    for (int view : {3, 4, 7, 9})
        EXPECT_CALL(controller, ActivateView(view));
    tree->setCurrentItem(item("Beta"));
    tree->setCurrentItem(item("Gamma"));
    rightClick(tree->visualItemRect(item("Alpha")).center());
    rightClick(QPoint(150, tree->viewport()->height() - 2));  // beside the items: nothing changes
    EXPECT_EQ(tree->selectedItems(), QList<QTreeWidgetItem*>{item("Alpha")});
    EXPECT_TRUE(area.SelectView(9));
    EXPECT_FALSE(area.SelectView(8));
    EXPECT_EQ(tree->currentItem(), above);
    testing::Mock::VerifyAndClearExpectations(&controller);
    EXPECT_EQ(area.FindEntryByTag(QStringLiteral("alpha")), area.GetEntry(item("Alpha")));
    EXPECT_EQ(area.FindEntryByTag(QStringLiteral("Alpha")), nullptr);  // exact, case-sensitive

    QStringList reported;
    const ui::ErrorReporter previous = ui::setErrorReporter([&](const QString& message) { reported << message; });
    ON_CALL(controller, ActivateView(_)).WillByDefault(testing::Throw(std::runtime_error("no page")));
    tree->setCurrentItem(item("Second"));
    ui::setErrorReporter(previous);
    EXPECT_EQ(reported.size(), 1);
}

// Only entries inside NavigationArea rebuild the tree, with defaults for what is missing or odd, keeping
// the view shown when they have it; only hide="1" hides the pane; what is not well-formed changes nothing.
TEST_F(Navigation, EachDocumentRebuildsSelectsAndHidesOnlyAsItSays)
{
    const auto entry = [](const char* attributes) { return QStringLiteral("<Entry %1/>").arg(attributes); };
    const QString seven = entry(R"(label="Seven" assignedApplicationViewId="7")");
    const struct {
        QString document;
        bool hides;
        const char* selected;
        Rows rows;
    } cases[] = {
        {layoutOf(R"(hide="1")", {}), true, "Alpha", {}},  // no rows: the tree stays as it was
        {R"(<UILayoutDescription><NavigationArea/><Entry label="Stray"/></UILayoutDescription>)", false, "Alpha", {}},
        {R"(<UILayoutDescription><NavigationArea hide="1"><Entry label="A"></NavigationArea>)", false, "Alpha", {}},
        {"not xml", false, "Alpha", {}},
        {layoutOf({}, "<Entry label=\"Top\">" + seven + "</Entry>" + seven),
         false,
         "Seven",
         {"Top v0 i0", "  Seven v7 i0", "Seven v7 i0"}},
        {layoutOf(R"(hide="1")", entry(R"(label="Plain" assignedApplicationViewId="12" iconIndex="3")") + seven),
         true,
         "Seven",
         {"Plain v12 i3", "Seven v7 i0"}},
        {layoutOf({}, entry("")), false, "", {" v0 i0"}},
        {layoutOf(R"(hide="yes")", entry(R"(assignedApplicationViewId="12ab" iconIndex="3x")")),
         false,
         "",
         {" v12 i3"}},
        {layoutOf(R"(hide="")", entry(R"(assignedApplicationViewId="-3" iconIndex="x3")")), false, "", {" v0 i0"}},
        {layoutOf(R"(hide=" 1")", entry(R"(assignedApplicationViewId=" 7" iconIndex="-1")")), false, "", {" v0 i0"}},
        {layoutOf(R"(hide="10")", entry(R"(assignedApplicationViewId="99999999999999999999")")),
         false,
         "",
         {" v4294967295 i0"}},
        {layoutOf(R"(hide="0")", entry(R"(label="  A &amp; B  " iconIndex="8")")),
         false,
         "  A & B  ",
         {"  A & B   v0 i8"}},
        {layoutOf({}, entry(R"(iconIndex="9")")), false, "", {" v0 i-1"}},  // beyond the image list: none
    };
    area.ShowImages(true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.document.toStdString());
        load(kSmallLayout);
        ASSERT_TRUE(area.SelectView(7));
        const Rows before = rows();
        EXPECT_CALL(controller, SetNavigationHidden(true)).Times(c.hides ? 1 : 0);
        EXPECT_CALL(controller, SetNavigationHidden(false)).Times(0);
        EXPECT_CALL(controller, ActivateView(_)).Times(c.rows.empty() ? 0 : 1);
        load(c.document);
        testing::Mock::VerifyAndClearExpectations(&controller);
        EXPECT_EQ(rows(), c.rows.empty() ? before : c.rows);
        EXPECT_EQ(current(), QString::fromUtf8(c.selected));
    }
    tree->setCurrentItem(nullptr);  // nothing shown: the first item is
    load(layoutOf({}, entry(R"(label="First" assignedApplicationViewId="2")") + seven));
    EXPECT_EQ(current(), QStringLiteral("First"));
}

TEST_F(Navigation, RemovingEntriesOrTheTreeLeavesNoItemWithoutItsEntry)
{
    load(kSmallLayout);
    QTreeWidgetItem* beta = item("Beta");
    EXPECT_FALSE(area.RemoveEntry(beta));  // has a child
    QTreeWidget otherTree;
    EXPECT_FALSE(area.RemoveEntry(new QTreeWidgetItem(&otherTree)));
    EXPECT_TRUE(area.RemoveEntry(item("Gamma")));
    EXPECT_TRUE(area.RemoveEntry(beta));
    area.AddEntry(11, 0, QStringLiteral("Deep"), item("Alpha"), nullptr);
    area.RemoveChildren(item("Root"));
    EXPECT_EQ(rows(), (Rows{"Root v0 i-1", "Second v9 i-1"}));
    EXPECT_CALL(controller, ActivateView(_)).Times(0);
    delete tree;  // as its parent window would: the entries go with it
    EXPECT_FALSE(area.SelectView(9));
    EXPECT_EQ(area.AddEntry(4, 0, QStringLiteral("Late"), nullptr, nullptr), nullptr);
}

TEST_F(Navigation, ANewEntryGoesRightAfterItsSiblingElseLastUnderItsParent)
{
    const std::string root = "Root v0 i-1", alpha = "  Alpha v7 i-1", beta = "  Beta v3 i-1",
                      gamma = "    Gamma v4 i-1", second = "Second v9 i-1";
    const struct {
        const char* parent;
        const char* after;
        Rows rows;
    } cases[] = {
        {"Root", "Alpha", {root, alpha, "  New v42 i-1", beta, gamma, second}},
        {"Root", nullptr, {root, alpha, beta, gamma, "  New v42 i-1", second}},
        {"Root", "Gamma", {root, alpha, beta, gamma, "  New v42 i-1", second}},  // not a child of Root
        {"Beta", "Gamma", {root, alpha, beta, gamma, "    New v42 i-1", second}},
        {nullptr, "Root", {root, alpha, beta, gamma, "New v42 i-1", second}},
        {nullptr, "Alpha", {root, alpha, beta, gamma, second, "New v42 i-1"}},
        {nullptr, nullptr, {root, alpha, beta, gamma, second, "New v42 i-1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.parent ? c.parent : "top") + " after " + (c.after ? c.after : "nothing"));
        load(kSmallLayout);
        QTreeWidgetItem* parent = c.parent ? item(c.parent) : nullptr;
        ASSERT_TRUE(area.AddEntry(42, 0, QStringLiteral("New"), parent, c.after ? item(c.after) : nullptr));
        EXPECT_EQ(rows(), c.rows);
    }
    QTreeWidget otherTree;
    EXPECT_EQ(area.AddEntry(42, 0, QStringLiteral("Stray"), new QTreeWidgetItem(&otherTree), nullptr), nullptr);
}

TEST_F(Navigation, DeeplyNestedEntriesAreCutOffInsteadOfExhaustingTheStack)
{
    // As deep as a document may nest; deeper ones the XML reader refuses whole.
    constexpr int levels = 200;
    load(layoutOf({}, QStringLiteral("<Entry>").repeated(levels) + QStringLiteral("</Entry>").repeated(levels)));
    const Rows actual = rows();
    ASSERT_EQ(actual.size(), std::size_t(CLayoutDescriptionParser::kMaxDepth));
    EXPECT_EQ(actual.back(), std::string(2 * (CLayoutDescriptionParser::kMaxDepth - 1), ' ') + " v0 i-1");
}

TEST_F(Navigation, TheNineIconsLoadAndDiffer)
{
    const QList<QIcon>& images = area.images();
    ASSERT_EQ(images.size(), 9);
    for (int i = 0; i < images.size(); ++i) {
        EXPECT_EQ(pictureOf(images[i]).size(), QSize(16, 16)) << i;
        for (int j = 0; j < i; ++j)
            EXPECT_NE(pictureOf(images[i]), pictureOf(images[j])) << i << " looks like " << j;
    }
    // One that does not load is skipped: the next one takes its index.
    EXPECT_EQ(pictureOf(CNavigationArea::loadImages({202, 9999, 243}).value(1)), pictureOf(images[1]));
}

}  // namespace
