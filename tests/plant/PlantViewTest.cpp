// The plant table and its view: order, filter, changes by key, opening a row, exporting.
#include "PlantFixture.h"
#include "plant/PlantSortProxy.h"
#include "plant/PlantTableModel.h"
#include "plant/PlantView.h"
#include "support/FixedWallClock.h"
#include "support/ScriptedDialogService.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

namespace orvx::test {
namespace {

using plant::PlantTableModel;

class PlantViewTest : public ::testing::Test {
protected:
    PlantViewTest()
    {
        view.model()->setNow(kNow);
        EXPECT_EQ(view.model()->setRows(smallPlant()), QString());
    }

    QStringList shownTags() const
    {
        QStringList tags;
        const QAbstractItemModel* shown = view.table()->model();
        for (int row = 0; row < shown->rowCount(); ++row)
            tags.append(shown->index(row, PlantTableModel::Tag).data().toString());
        return tags;
    }

    FixedWallClock clock{kNow};
    plant::PlantView view;
};

TEST_F(PlantViewTest, RowsWithoutAKeyOrWithTheSameKeyAreRefusedAndChangeNothing)
{
    QList<plant::ValveRow> twice{valve(QStringLiteral("A"), 1), valve(QStringLiteral("A"), 2)};
    EXPECT_TRUE(view.model()->setRows(twice).contains(QStringLiteral("key-A")));
    plant::ValveRow keyless = valve(QStringLiteral("B"), 3);
    keyless.key.clear();
    EXPECT_FALSE(view.model()->updateRow(keyless).isEmpty());
    EXPECT_EQ(view.model()->rows(), smallPlant());
}

TEST_F(PlantViewTest, OverdueAndFailedComeFirstThenWorstHealthThenTag)
{
    EXPECT_EQ(shownTags(), kAttentionOrder);
    EXPECT_EQ(view.table()->model()->index(0, PlantTableModel::Overdue).data().toString(), QStringLiteral("Overdue"));
}

TEST_F(PlantViewTest, SortedByLastPstTheValveWithoutOneComesFirstThenOldestFirst)
{
    view.table()->sortByColumn(PlantTableModel::LastPst, Qt::AscendingOrder);
    EXPECT_EQ(shownTags().mid(0, 2), (QStringList{QStringLiteral("XV-900"), QStringLiteral("XV-300")}));
}

TEST_F(PlantViewTest, TheFilterMatchesTagDeviceIdAndStatus)
{
    const struct {
        const char* filter;
        QStringList tags;
    } cases[] = {
        {"xv-10", {QStringLiteral("xv-100"), QStringLiteral("XV-101")}},
        {"500", {QStringLiteral("XV-500")}},
        {"failure", {QStringLiteral("XV-400")}},
        {"nothing like it", {}},
        {"", kAttentionOrder},
    };
    for (const auto& c : cases) {
        view.filter()->setText(QString::fromLatin1(c.filter));
        EXPECT_EQ(shownTags(), c.tags) << c.filter;
    }
}

TEST_F(PlantViewTest, UpdatingARowChangesThatRowOnlyAndANewKeyAddsOne)
{
    QList<std::pair<int, int>> changed;
    QObject::connect(view.model(), &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& from, const QModelIndex& to) {
                         changed.append({from.row(), to.row()});
                     });
    int inserted = 0;
    QObject::connect(view.model(), &QAbstractItemModel::rowsInserted, [&] { ++inserted; });

    plant::ValveRow nowFailed = smallPlant()[1];  // xv-100, model row 1
    nowFailed.lastPassed = false;
    EXPECT_EQ(view.model()->updateRow(nowFailed), QString());
    EXPECT_EQ(changed, (QList<std::pair<int, int>>{{1, 1}}));
    EXPECT_EQ(inserted, 0);
    EXPECT_EQ(view.model()->row(nowFailed.key)->lastPassed, false);
    EXPECT_EQ(shownTags().indexOf(QStringLiteral("xv-100")), 2);  // among the failed now

    EXPECT_EQ(view.model()->updateRow(valve(QStringLiteral("XV-600"), 600)), QString());
    EXPECT_EQ(inserted, 1);
    EXPECT_EQ(view.model()->rowCount(), 8);
    EXPECT_TRUE(view.model()->removeRow(QStringLiteral("key-XV-600")));
    EXPECT_FALSE(view.model()->removeRow(QStringLiteral("key-XV-600")));
    EXPECT_EQ(view.model()->rowCount(), 7);
}

TEST_F(PlantViewTest, ARowBecomesOverdueWhenNowPassesItsDueInstant)
{
    // XV-101, model row 0: its PST 10 days before kNow, one every 30 days.
    const QModelIndex overdue = view.model()->index(0, PlantTableModel::Overdue);
    const QDateTime due = kNow.addDays(20);
    EXPECT_EQ(view.model()->setNow(due), QString());
    EXPECT_EQ(overdue.data().toString(), QString());
    EXPECT_EQ(view.model()->setNow(due.addSecs(1)), QString());
    EXPECT_EQ(overdue.data().toString(), QStringLiteral("Overdue"));
    EXPECT_FALSE(view.model()->setNow(QDateTime()).isEmpty());
    EXPECT_EQ(overdue.data().toString(), QStringLiteral("Overdue"));
}

TEST_F(PlantViewTest, EnterAndDoubleClickOpenTheValveOfTheRow)
{
    QStringList opened;
    view.onOpen = [&](const QString& key) { opened.append(key); };
    view.table()->setCurrentIndex(view.table()->model()->index(2, 0));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(view.table(), &enter);
    emit view.table()->doubleClicked(view.table()->model()->index(0, 3));
    EXPECT_EQ(opened, (QStringList{QStringLiteral("key-XV-200"), QStringLiteral("key-XV-300")}));
}

TEST_F(PlantViewTest, AReportThatCannotBeWrittenLeavesNothingAndTheStatusLineSaysWhy)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ScriptedDialogService dialogs;
    dialogs.fileAnswers.push_back(dir.filePath(QStringLiteral("not-a-folder/plant.csv")));
    view.findChild<QPushButton*>(QStringLiteral("exportCsv"))->click();
    EXPECT_TRUE(view.statusLine()->text().startsWith(QStringLiteral("The report could not be written to")))
        << view.statusLine()->text().toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("not-a-folder")});

    dialogs.failFileChoice = true;
    view.findChild<QPushButton*>(QStringLiteral("exportPdf"))->click();
    EXPECT_TRUE(view.statusLine()->text().contains(QStringLiteral("could not open")));
}

TEST_F(PlantViewTest, AnExportedReportHoldsEveryValveInAttentionOrderWhateverTheFilter)
{
    QTemporaryDir dir;
    ScriptedDialogService dialogs;
    dialogs.fileAnswers.push_back(dir.filePath(QStringLiteral("plant.csv")));
    view.filter()->setText(QStringLiteral("XV-5"));
    view.findChild<QPushButton*>(QStringLiteral("exportCsv"))->click();
    QFile written(dir.filePath(QStringLiteral("plant.csv")));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << view.statusLine()->text().toStdString();
    QStringList tags;
    const QList<QByteArray> lines = written.readAll().split('\n');
    for (qsizetype i = 1; i < lines.size() && !lines[i].isEmpty(); ++i)
        tags.append(QString::fromUtf8(lines[i].split(',').first()));
    EXPECT_EQ(tags, kAttentionOrder);
}

}  // namespace
}  // namespace orvx::test
