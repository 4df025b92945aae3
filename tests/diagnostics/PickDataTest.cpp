// Picking a record of a data file, and showing it, over real files in a temporary folder.
#include "diagnostics/DiagGraph.h"
#include "diagnostics/DlgPickData.h"
#include "diagnostics/GraphLoading.h"
#include "diagnostics/NvEsdDataFileSvr.h"
#include "platform/chart/DiagChart.h"
#include "platform/ui/DialogItems.h"
#include "support/ScriptedDialogService.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace orvx::test {
namespace {

using diagnostics::DiagKind;
using diagnostics::DiagRecord;

const QString kEmptyText = QStringLiteral("The selected file is empty.");
const QString kIncompatibleText = QStringLiteral(
    "The selected file is incompatible with this version of Orvx ESD DTM.");

DiagRecord record(DiagKind kind, const char* tag, int id, float firstPosition)
{
    DiagRecord r;
    r.kind = kind;
    r.tag = QString::fromLatin1(tag);
    r.deviceId = id;
    r.SetValue(diagnostics::RecordValue::PresUnits, 6);
    r.curve1 = {{firstPosition, 90}, {20, 18}};
    r.curve2 = {{90, 100}, {22, 24}};
    return r;
}

class PickData : public ::testing::Test {
protected:
    // Three records: the first two of one kind and tag a second apart, then an ESD event.
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        file = folder.filePath(QStringLiteral("signatures.dgn"));
        const QDateTime first(QDate(2026, 3, 1), QTime(8, 30, 0));
        const DiagRecord records[] = {record(DiagKind::Pst, "PV-101", 42, 100), record(DiagKind::Pst, "PV-101", 42, 99),
                                      record(DiagKind::Esd, "XV-7", 1234567, 98)};
        for (int i = 0; i < 3; ++i) {
            diagnostics::CNvEsdDataFileSvr writer;
            writer.OpenFile(file, diagnostics::OpenPurpose::Save);
            ASSERT_TRUE(writer.WriteRecord(records[i], first.addSecs(i)));
        }
    }
    QString write(const char* name, const QByteArray& bytes)
    {
        const QString path = folder.filePath(QString::fromLatin1(name));
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return path;
    }
    static QStringList row(const QTreeWidget* list, int i)
    {
        QStringList cells;
        for (int c = 0; c < 4; ++c)
            cells.append(list->topLevelItem(i)->text(c));
        return cells;
    }
    static QTreeWidget* list(const QWidget& dialog)
    {
        return dialog.findChild<QTreeWidget*>(QStringLiteral("item_389"));
    }

    QTemporaryDir folder;
    QString file;
    ScriptedDialogService dialogs;
};

TEST_F(PickData, ListsEveryRecordInFileOrderAndPicksTheChosenOne)
{
    dialogs.fileAnswers = {file};
    diagnostics::CDlgPickData picker;
    // The list is filled before the dialog runs; pick the second row as the user would.
    ASSERT_TRUE(picker.OpenAnotherFile());
    QTreeWidget* rows = list(picker);
    ASSERT_EQ(rows->topLevelItemCount(), 3);
    EXPECT_EQ(row(rows, 0), (QStringList{"PST", "PV-101  ", "03/01/2026 08:30:00", "0000042"}));
    EXPECT_EQ(row(rows, 1), (QStringList{"PST", "PV-101  ", "03/01/2026 08:30:01", "0000042"}));
    EXPECT_EQ(row(rows, 2), (QStringList{"ESD", "XV-7    ", "03/01/2026 08:30:02", "1234567"}));
    rows->setCurrentItem(rows->topLevelItem(1));
    picker.findChild<QPushButton*>(QStringLiteral("item_1"))->click();
    ASSERT_EQ(picker.result(), QDialog::Accepted);
    EXPECT_EQ(picker.File(), file);
    EXPECT_EQ(picker.Key().dateTime, QLatin1String("03/01/2026 08:30:01\r\n"));

    diagnostics::CNvEsdDataFileSvr reader;
    reader.OpenFile(file, diagnostics::OpenPurpose::Load);
    const auto read = reader.ReadRecord(picker.Key());
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->curve1.position.front(), 99.0f);
}

// A file dialog that fails behind Open Another File is reported; the list stays as it was.
TEST_F(PickData, AFailingFileDialogBehindOpenAnotherFileIsReportedNotThrown)
{
    dialogs.fileAnswers = {file};
    diagnostics::CDlgPickData picker;
    ASSERT_TRUE(picker.OpenAnotherFile());
    dialogs.failFileChoice = true;
    EXPECT_NO_THROW(picker.findChild<QPushButton*>(QStringLiteral("item_213"))->click());
    EXPECT_EQ(list(picker)->topLevelItemCount(), 3);
}

TEST_F(PickData, OkWithoutARowAndACancelledFileDialogCancel)
{
    diagnostics::CDlgPickData picker;
    EXPECT_EQ(picker.Run(), QDialog::Rejected);  // no file chosen
    EXPECT_TRUE(dialogs.modalDialogs.isEmpty());

    ASSERT_TRUE(picker.List(file));
    picker.findChild<QPushButton*>(QStringLiteral("item_1"))->click();
    EXPECT_EQ(picker.result(), QDialog::Rejected);
}

TEST_F(PickData, AFileThatCannotBeListedIsRefusedAndTheListStays)
{
    const struct {
        const char* name;
        QByteArray bytes;
        const QString& message;
    } refused[] = {
        {"empty.dgn", QByteArray(), kEmptyText},
        {"other.dgn", QByteArray("OrvxESD.2, 03/01/26 08:30\r\n"), kIncompatibleText},
        {"short.dgn", QByteArray("OrvxESD"), kIncompatibleText},
    };
    diagnostics::CDlgPickData picker;
    ASSERT_TRUE(picker.List(file));
    for (const auto& bad : refused) {
        SCOPED_TRACE(bad.name);
        const QString path = write(bad.name, bad.bytes);
        dialogs.messages.clear();
        dialogs.fileAnswers = {path};
        EXPECT_TRUE(picker.OpenAnotherFile());
        ASSERT_EQ(dialogs.messageTexts(), QStringList{bad.message});
        EXPECT_EQ(list(picker)->topLevelItemCount(), 3);
        EXPECT_EQ(picker.File(), file);
        QFile check(path);
        ASSERT_TRUE(check.open(QIODevice::ReadOnly));
        EXPECT_EQ(check.readAll(), bad.bytes) << "refusing a file leaves it as it was";
    }
    // A file that vanished is named, and never created by the attempt to read it.
    const QString missing = folder.filePath(QStringLiteral("missing.dgn"));
    dialogs.messages.clear();
    EXPECT_FALSE(picker.List(missing));
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(PickData, ColumnsShareTheListWidth)
{
    diagnostics::CDlgPickData picker;
    picker.resize(600, 300);
    picker.show();
    QTreeWidget* rows = list(picker);
    const int quarter = rows->viewport()->width() / 4;
    EXPECT_EQ(rows->columnWidth(0), quarter - 16);
    EXPECT_EQ(rows->columnWidth(1), quarter);
    EXPECT_EQ(rows->columnWidth(2), quarter + 16);
    EXPECT_EQ(rows->headerItem()->text(3), QLatin1String("DeviceID"));
}

TEST_F(PickData, ThePickedRecordIsShownInTheGraph)
{
    int row = -1;  // nothing picked: OK cancels and no graph opens
    DiagRecord shown;
    dialogs.onModal = [&](QDialog& dialog) {
        if (QTreeWidget* rows = list(dialog); rows && row >= 0)
            rows->setCurrentItem(rows->topLevelItem(row));
        if (auto* graph = dynamic_cast<diagnostics::CDiagGraph*>(&dialog))
            shown = graph->Record();
        return int(QDialog::Accepted);
    };
    dialogs.fileAnswers = {file};
    diagnostics::showRecordFromFile(nullptr);
    EXPECT_EQ(dialogs.modalDialogs, QList<QString>{QStringLiteral("Select data")});

    row = 2;
    dialogs.fileAnswers = {file};
    diagnostics::showRecordFromFile(nullptr);
    EXPECT_EQ(dialogs.modalDialogs.size(), 3);
    EXPECT_EQ(dialogs.modalDialogs.last(), QLatin1String("Orvx ESD  - Diagnostic Graph"));
    EXPECT_EQ(shown.kind, DiagKind::Esd);
    EXPECT_EQ(shown.tag, QLatin1String("XV-7"));
    EXPECT_EQ(shown.curve1.position.front(), 98.0f);
}

// An ESD event is drawn against the time its device sampled it at, which its record keeps in
// Interval; a record of an earlier version keeps 0 there and is drawn by sample number.
TEST_F(PickData, AnEsdEventIsDrawnAgainstTheTimeItsDeviceSampledIt)
{
    const QString timed = folder.filePath(QStringLiteral("timed.dgn"));
    diagnostics::CNvEsdDataFileSvr writer;
    writer.OpenFile(timed, diagnostics::OpenPurpose::Save);
    diagnostics::DiagRecord event = record(DiagKind::Esd, "XV-8", 5, 98);
    event.SetValue(diagnostics::RecordValue::Interval, 250);
    ASSERT_TRUE(writer.WriteRecord(event, QDateTime(QDate(2026, 3, 2), QTime(0, 0))));
    writer.Close();

    int row = 0;
    QString caption;
    chart::ChartRange range;
    dialogs.onModal = [&](QDialog& dialog) {
        if (QTreeWidget* rows = list(dialog))
            rows->setCurrentItem(rows->topLevelItem(row));
        if (dynamic_cast<diagnostics::CDiagGraph*>(&dialog)) {
            ui::dialogItem<QRadioButton>(&dialog, 365)->click();
            const auto* chart = ui::dialogItem<chart::CDiagChart>(&dialog, 367);
            caption = chart->XCaption();
            range = chart->FullRange();
        }
        return int(QDialog::Accepted);
    };
    // Four samples of an event whose record keeps no interval, then of one every 250 ms.
    const struct {
        QString file;
        int row;
        const char* caption;
        float span;
    } cases[] = {{file, 2, "Sample (sampling interval unknown)", 4}, {timed, 0, "Time (sec)", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        row = c.row;
        dialogs.fileAnswers = {c.file};
        diagnostics::showRecordFromFile(nullptr);
        EXPECT_EQ(caption, QLatin1String(c.caption));
        EXPECT_EQ(range, (chart::ChartRange{0, c.span, 0, 24}));
    }
}

}  // namespace
}  // namespace orvx::test
