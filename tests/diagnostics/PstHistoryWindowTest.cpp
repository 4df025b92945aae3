// The PST history window, opened for the connected device and from the diagnostic graph.
#include "FakePlantRecords.h"
#include "diagnostics/DiagGraph.h"
#include "diagnostics/GraphLoading.h"
#include "diagnostics/NvEsdDataFileSvr.h"
#include "diagnostics/PstHistoryWindow.h"
#include "platform/chart/HistoryChart.h"
#include "platform/ui/DialogItems.h"
#include "support/LastPst.h"
#include "support/PstHistoryFile.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace orvx::test {
namespace {

using namespace orvx::diagnostics;

const QString kHistoryTitle = QStringLiteral("Orvx ESD  - PST History");
const QString kGraphTitle = QStringLiteral("Orvx ESD  - Diagnostic Graph");

// What the window showed when it was run.
struct Seen {
    int points = -1;
    int failed = -1;
    int limits = -1;
    bool dashed = false;
    bool trend = false;
    QString sentence;
    QString summary;
};

Seen look(QDialog& window)
{
    auto* chart = window.findChild<chart::CHistoryChart*>(ui::itemName(history_item::Chart));
    Seen seen{chart->PointCount(0),
              chart->FailedCount(0),
              chart->LimitCount(),
              true,
              chart->HasTrend(),
              window.findChild<QLabel*>(ui::itemName(history_item::Projection))->text(),
              window.findChild<QLabel*>(ui::itemName(history_item::Summary))->text()};
    for (int i = 0; i < seen.limits; ++i)
        seen.dashed = seen.dashed && chart->LimitStyle(i) == Qt::DashLine;
    return seen;
}

void choose(QDialog& window, HistoryValue value)
{
    auto* box = window.findChild<QComboBox*>(ui::itemName(history_item::Value));
    box->setCurrentIndex(box->findData(static_cast<int>(value)));
    emit box->activated(box->currentIndex());
}

// The simulated positioner's identity and default limits, in psi.
class PstHistoryWindowTest : public PageFixture<> {
protected:
    DeviceParameters Parameters() const override
    {
        return lastPstDevice(
            {{"1001", "PV-101"}, {"1003", "305419"}, {"16006", "15"}, {"16007", "20"}, {"16008", "10"}});
    }
    void SetUp() override
    {
        PageFixture::SetUp();
        writeSimulatedHistory(m_file, QStringLiteral("PV-101"), 305419);
    }

    QTemporaryDir m_dir;
    QString m_file = m_dir.filePath(QStringLiteral("history.dgn"));
};

TEST_F(PstHistoryWindowTest, OpenedForTheDeviceShowsItsSeriesLimitsAndTheProjection)
{
    dialogs.fileAnswers = {m_file};
    std::vector<Seen> seen;
    dialogs.onModal = [&](QDialog& window) {
        seen.push_back(look(window));
        choose(window, HistoryValue::Droop);
        seen.push_back(look(window));
        choose(window, HistoryValue::SpringRange);
        seen.push_back(look(window));
        return int(QDialog::Rejected);
    };
    showDevicePstHistory(controller, nullptr);

    EXPECT_EQ(dialogs.modalDialogs, QList<QString>{kHistoryTitle});
    ASSERT_EQ(dialogs.fileRequests.size(), 1);
    EXPECT_EQ(dialogs.fileRequests[0].mode, ui::FileMode::Open);
    ASSERT_EQ(seen.size(), 3u);
    // Friction: twelve tests, the leaking month failed, both limits dashed, the trend drawn.
    EXPECT_EQ(seen[0].points, 12);
    EXPECT_EQ(seen[0].failed, 1);
    EXPECT_EQ(seen[0].limits, 2);
    EXPECT_TRUE(seen[0].dashed);
    EXPECT_TRUE(seen[0].trend);
    EXPECT_TRUE(
        seen[0].sentence.startsWith(QStringLiteral("At this rate friction reaches the high limit around 2025-")))
        << seen[0].sentence.toStdString();
    EXPECT_EQ(seen[0].summary, QStringLiteral("PV-101 (device id 305419): 12 tests from 2024-01 to 2024-12, 1 failed"));
    // Droop: its one limit, the leak is no trend.
    EXPECT_EQ(seen[1].limits, 1);
    EXPECT_FALSE(seen[1].trend);
    EXPECT_TRUE(seen[1].sentence.startsWith(QStringLiteral("No projection for droop: ")))
        << seen[1].sentence.toStdString();
    // The spring range has no limit.
    EXPECT_EQ(seen[2].limits, 0);
    EXPECT_EQ(seen[2].sentence, QStringLiteral("No projection for spring range: no limits known."));
}

TEST_F(PstHistoryWindowTest, OpenedFromAFileRecordsGraphItHasNoLimitsAndNoProjection)
{
    CNvEsdDataFileSvr file;
    file.OpenFile(m_file, OpenPurpose::Load);
    const auto record = file.ReadRecord(file.ListRecords().front());
    ASSERT_TRUE(record);
    std::vector<Seen> seen;
    dialogs.onModal = [&](QDialog& window) {
        if (window.windowTitle() == kGraphTitle) {
            auto* history = window.findChild<QPushButton*>(QStringLiteral("history"));
            EXPECT_TRUE(history && history->isVisibleTo(&window));
            if (history)
                history->click();
        } else {
            seen.push_back(look(window));
        }
        return int(QDialog::Rejected);
    };
    showFileRecord(*record, nullptr, m_file);

    EXPECT_EQ(dialogs.modalDialogs, (QList<QString>{kGraphTitle, kHistoryTitle}));
    EXPECT_TRUE(dialogs.fileRequests.isEmpty());  // the record's own file
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].points, 12);
    EXPECT_EQ(seen[0].limits, 0);
    EXPECT_FALSE(seen[0].trend);
    EXPECT_EQ(seen[0].sentence, QStringLiteral("No projection for friction: no limits known."));
}

TEST_F(PstHistoryWindowTest, AddFileTakesMoreTestsAndABrokenFileChangesNothing)
{
    CPstHistory history(QStringLiteral("PV-101"), 305419);
    CPstHistoryWindow window(history, std::nullopt);
    ASSERT_TRUE(window.AddFile(m_file));
    EXPECT_EQ(look(window).points, 12);

    // Another year, the next one.
    simulator::HistoryPlan next;
    next.first = std::chrono::year(2025) / 1 / 15;
    next.leakAtTest = -1;
    const QString later = m_dir.filePath(QStringLiteral("later.dgn"));
    writeSimulatedHistory(later, QStringLiteral("PV-101"), 305419, next);
    dialogs.fileAnswers = {later};
    window.findChild<QPushButton*>(ui::itemName(history_item::AddFile))->click();
    EXPECT_EQ(look(window).points, 24);
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // The same file again, a file of another kind, a record without a date.
    const QString other = m_dir.filePath(QStringLiteral("other.dgn"));
    {
        QFile f(other);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Something else entirely, not a data file\r\n");
    }
    const QString dateless = m_dir.filePath(QStringLiteral("dateless.dgn"));
    QFile::copy(later, dateless);
    {
        QFile f(dateless);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        QByteArray bytes = f.readAll();
        bytes.replace("03/15/2025 09:30:00", "03/15/2025 25:30:00");
        f.seek(0);
        f.write(bytes);
    }
    for (const QString& path : {later, other, dateless}) {
        SCOPED_TRACE(path.toStdString());
        dialogs.messages.clear();
        EXPECT_FALSE(window.AddFile(path));
        EXPECT_EQ(dialogs.messages.size(), 1);
        EXPECT_EQ(look(window).points, 24);
    }
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("no readable date")));
}

TEST_F(PstHistoryWindowTest, EscapeClosesIt)
{
    CPstHistoryWindow window(CPstHistory(QStringLiteral("PV-101"), 305419), std::nullopt);
    window.show();
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Rejected);
}

class PlantHistoryTest : public PstHistoryWindowTest {
protected:
    void SetUp() override
    {
        PstHistoryWindowTest::SetUp();
        CNvEsdDataFileSvr file;
        file.OpenFile(m_file, OpenPurpose::Load);
        for (const RecordKey& key : file.ListRecords())
            plant.tests.push_back({recordTime(key.dateTime), file.ReadRecord(key).value()});
        setPlantRecords(&plant);
    }
    void TearDown() override
    {
        setPlantRecords(nullptr);
        PstHistoryWindowTest::TearDown();
    }
    FakePlantRecords plant;
};

TEST_F(PlantHistoryTest, AStoreThatFailsIsSaidAndADataFileIsAskedForInstead)
{
    plant.failure = QStringLiteral("the plant store is unreachable");
    dialogs.fileAnswers = {m_file};
    Seen seen;
    dialogs.onModal = [&](QDialog& window) {
        seen = look(window);
        return int(QDialog::Rejected);
    };
    showDevicePstHistory(controller, nullptr);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(
        QStringLiteral("The plant store did not give the tests of PV-101 (device id 305419): the plant store is "
                       "unreachable")))
        << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(dialogs.fileRequests.size(), 1);
    EXPECT_EQ(seen.points, 12);
}

TEST_F(PlantHistoryTest, TheValvesKeptTestsOpenItWithoutAFileAndAFileAddsOnlyWhatIsNew)
{
    Seen seen;
    bool addedNothing = false;
    dialogs.onModal = [&](QDialog& window) {
        seen = look(window);
        addedNothing = !static_cast<CPstHistoryWindow&>(window).AddFile(m_file);
        return int(QDialog::Rejected);
    };
    showDevicePstHistory(controller, nullptr);
    EXPECT_EQ(plant.asked, QList<std::int32_t>{305419});
    EXPECT_TRUE(dialogs.fileRequests.isEmpty());
    EXPECT_EQ(seen.points, 12);
    EXPECT_EQ(seen.failed, 1);
    EXPECT_TRUE(seen.trend);
    EXPECT_TRUE(addedNothing) << "the same tests in a file are the tests kept";
}

TEST_F(PstHistoryWindowTest, AFileWithoutTheDevicesTestsOpensNoWindow)
{
    device->parameters[QStringLiteral("1001")] = device::textVariant(QStringLiteral("FV-7"));
    dialogs.fileAnswers = {m_file};
    showDevicePstHistory(controller, nullptr);
    EXPECT_TRUE(dialogs.modalDialogs.isEmpty());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("holds no PST of FV-7 (device id 305419)")));
}

}  // namespace
}  // namespace orvx::test
