// The PST summary and the loading of the device's curves, over the real controller and edit
// model on a fake device.
#include "FakePlantRecords.h"
#include "diagnostics/DiagGraph.h"
#include "diagnostics/GraphLoading.h"
#include "diagnostics/PSTSummary.h"
#include "support/FixedWallClock.h"
#include "support/LastPst.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <stdexcept>

namespace orvx::test {
namespace {

using diagnostics::DiagKind;
using diagnostics::RecordValue;

const QString kGraphTitle = QStringLiteral("Orvx ESD  - Diagnostic Graph");

class SummaryTest : public PageFixture<> {
protected:
    DeviceParameters Parameters() const override { return lastPstDevice(); }

    void set(const char* tag, const char* value)
    {
        device->parameters[QString::fromLatin1(tag)] = device::textVariant(QString::fromLatin1(value));
    }
    static QString text(const QWidget& window, int number) { return item<QLineEdit>(&window, number)->text(); }
    static QString grade(const QWidget& window, int row) { return item<QLabel>(&window, 384 + row)->text(); }
};

// Each graded row on its own, with values on and beside every limit.
struct GradeRow {
    const char* tag;
    const char* value;
    int row;  // 0 passed flag, 1 friction, 2 breakout, 3 droop
    const char* expected;
};
const GradeRow kGrades[] = {
    {"16022", "0", 0, "Passed"},  {"16022", "1", 0, "Failed"},   {"16022", "-1", 0, "Failed"},
    {"16023", "2", 1, "Failed"},  {"16023", "2.1", 1, "Passed"}, {"16023", "19.9", 1, "Passed"},
    {"16023", "20", 1, "Failed"}, {"16026", "12", 2, "Failed"},  {"16026", "11.9", 2, "Passed"},
    {"16026", "-5", 2, "Passed"}, {"16027", "3", 3, "Failed"},   {"16027", "2.99", 3, "Passed"},
};

TEST_F(SummaryTest, GradesEachRowAgainstItsLimitsAndFailsOnTheLimit)
{
    for (const GradeRow& row : kGrades) {
        SCOPED_TRACE(std::string(row.tag) + " = " + row.value);
        set(row.tag, row.value);
        diagnostics::CPSTSummary summary(controller);
        EXPECT_EQ(grade(summary, row.row), QLatin1String(row.expected));
        // The grade icon is drawn for every graded row.
        EXPECT_FALSE(item<QLabel>(&summary, 380 + row.row)->pixmap().isNull());
        device->parameters = Parameters();
    }
}

TEST_F(SummaryTest, ShowsEveryValueWithSixSignificantDigits)
{
    set("16023", "6.1234567");
    diagnostics::CPSTSummary summary(controller);
    EXPECT_EQ(summary.windowTitle(), QLatin1String("Orvx ESD  - PST Summary"));
    const char* expected[] = {"Passed", "6.12346", "11.5", "1.25", "8", "24", "2.5", "3.125"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(text(summary, 372 + i), QLatin1String(expected[i])) << "item " << 372 + i;
        EXPECT_TRUE(item<QLineEdit>(&summary, 372 + i)->isReadOnly());
    }
}

TEST_F(SummaryTest, GradesAgainstLimitsConvertedToTheResultsUnit)
{
    // Limits set in bar, results in psi: 0.1 to 1.5 bar is 1.45 to 21.8 psi.
    set("4003", "7");
    set("16005", "0.1");
    set("16006", "1.5");
    for (const auto& [friction, expected] : {std::pair{"2.5", "Passed"}, std::pair{"1", "Failed"}}) {
        set("16023", friction);
        diagnostics::CPSTSummary summary(controller);
        EXPECT_EQ(grade(summary, 1), QLatin1String(expected)) << friction << " psi";
    }
}

TEST_F(SummaryTest, AValueThatCannotBeReadIsNeverGradedPassed)
{
    device->failingTags[QStringLiteral("16026")] = com::Status::Failure;
    device->failingTags[QStringLiteral("16022")] = com::Status::Failure;
    diagnostics::CPSTSummary summary(controller);
    EXPECT_EQ(grade(summary, 0), QLatin1String("Not read"));
    EXPECT_EQ(grade(summary, 2), QLatin1String("Not read"));
    EXPECT_TRUE(item<QLabel>(&summary, 382)->pixmap().isNull());
    EXPECT_EQ(grade(summary, 1), QLatin1String("Passed"));
}

TEST_F(SummaryTest, ViewGraphShowsTheSignatureAndFinishCloses)
{
    diagnostics::CPSTSummary summary(controller);
    item<QPushButton>(&summary, 213)->click();
    EXPECT_EQ(dialogs.modalDialogs, QList<QString>{kGraphTitle});
    item<QPushButton>(&summary, 1)->click();
    EXPECT_EQ(summary.result(), QDialog::Accepted);
}

// What fails behind a button is reported where the user looks; nothing is thrown into Qt.
TEST_F(SummaryTest, AFailureBehindViewGraphIsReportedNotThrown)
{
    diagnostics::CPSTSummary summary(controller);
    dialogs.onModal = [](QDialog&) -> int { throw std::runtime_error("the graph window could not open"); };
    EXPECT_NO_THROW(item<QPushButton>(&summary, 213)->click());
}

TEST_F(SummaryTest, LoadsTheDeviceRecordIntoTheGraph)
{
    diagnostics::CDiagGraph graph;
    ASSERT_TRUE(diagnostics::loadDeviceCurves(controller, DiagKind::Pst, graph, nullptr));
    const diagnostics::DiagRecord record = graph.Record();
    EXPECT_EQ(record.kind, DiagKind::Pst);
    EXPECT_EQ(record.tag, QLatin1String("PV-101"));
    EXPECT_EQ(record.deviceId, 42);
    // Curve 1 is the exhaust stroke ("16038"), pressure first in each pair.
    EXPECT_EQ(record.curve1.pressure, (std::vector<float>{20, 10, 0}));
    EXPECT_EQ(record.curve1.position, (std::vector<float>{100, 85, 70}));
    EXPECT_EQ(record.curve2.position, (std::vector<float>{70, 85, 100}));
    // Springs and response times come crossed from the device; samples up = total - down.
    EXPECT_EQ(record.Value(RecordValue::LSpringRange), 8);
    EXPECT_EQ(record.Value(RecordValue::USpringRange), 24);
    EXPECT_EQ(record.Value(RecordValue::RspTimeExhaust), 2);
    EXPECT_EQ(record.Value(RecordValue::RspTimeFill), 3);
    EXPECT_EQ(record.Value(RecordValue::NumSamplesDown), 2);
    EXPECT_EQ(record.Value(RecordValue::NumSamplesUp), 4);
    EXPECT_EQ(record.Value(RecordValue::PresUnits), 6);
    EXPECT_EQ(record.Value(RecordValue::Interval), 100);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(SummaryTest, AnEsdEventKeepsItsUnitAndIntervalAndNeedsOnlyTheExhaustStroke)
{
    set("16037", "");
    set("16039", "40");
    diagnostics::CDiagGraph graph;
    ASSERT_TRUE(diagnostics::loadDeviceCurves(controller, DiagKind::Esd, graph, nullptr));
    const diagnostics::DiagRecord record = graph.Record();
    EXPECT_EQ(record.kind, DiagKind::Esd);
    for (int i = 0; i < diagnostics::kRecordValueCount; ++i)
        EXPECT_EQ(record.values[i], i == int(RecordValue::PresUnits)  ? 6
                                    : i == int(RecordValue::Interval) ? 40
                                                                      : 0)
            << "value " << i;
}

// The device keeps only its last ESD event: one the user loads is kept in the plant store as it is
// shown. A store that refuses is said, and the graph opens all the same, to save it to a file.
TEST_F(SummaryTest, AnEsdEventShownIsKeptAndAStoreThatRefusesItIsSaid)
{
    FakePlantRecords plant;
    diagnostics::setPlantRecords(&plant);
    const struct Uninstall {
        ~Uninstall() { diagnostics::setPlantRecords(nullptr); }
    } uninstall;
    const FixedWallClock clock(QDateTime(QDate(2026, 3, 1), QTime(6, 15), Qt::UTC));
    device->parameters["20000"] = com::Variant::boolean(true);  // private dialogs: message boxes
    set("16037", "");

    plant.refusal = QStringLiteral("the plant store is read-only");
    diagnostics::showDeviceCurves(controller, DiagKind::Esd, nullptr);
    EXPECT_TRUE(plant.kept.empty());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("The ESD event of PV-101 was not kept in the plant store: the "
                                                       "plant store is read-only. Save it to a data file from its "
                                                       "graph."));
    EXPECT_EQ(dialogs.modalDialogs, QList<QString>{kGraphTitle}) << "the graph to save it from";

    plant.refusal.clear();
    dialogs.messages.clear();
    diagnostics::showDeviceCurves(controller, DiagKind::Esd, nullptr);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    ASSERT_EQ(plant.kept.size(), 1u);
    EXPECT_EQ(plant.kept[0].record.kind, DiagKind::Esd);
    EXPECT_EQ(plant.kept[0].record.deviceId, 42);
    EXPECT_EQ(plant.kept[0].when, QDateTime(QDate(2026, 3, 1), QTime(6, 15), Qt::UTC)) << "as of its reading";

    set("16037", "0@70@10@85@20@100");
    diagnostics::showDeviceCurves(controller, DiagKind::Pst, nullptr);
    EXPECT_EQ(plant.kept.size(), 1u) << "a PST is kept by whoever watches the device, with its count";
}

// What the user is told when there is nothing to show or a read fails.
struct MissingRow {
    DiagKind kind;
    const char* emptyTag;    // curve text made empty
    const char* failingTag;  // read refused
    const char* message;
};
const MissingRow kMissing[] = {
    {DiagKind::Pst, "16038", nullptr, "No PST data available!"},
    {DiagKind::Pst, "16037", nullptr, "No PST data available!"},
    {DiagKind::Esd, "16038", nullptr, "No ESD data available!"},
    {DiagKind::Pst, nullptr, "16039", "Failed when getting PST data!"},
    {DiagKind::Pst, nullptr, "16053", "Failed when getting PST data!"},
    {DiagKind::Esd, nullptr, "1003", "Failed when getting PST data!"},
};

TEST_F(SummaryTest, SaysWhyThereIsNoGraph)
{
    for (const MissingRow& row : kMissing) {
        SCOPED_TRACE(row.message);
        device->parameters = Parameters();
        device->parameters["20000"] = com::Variant::boolean(true);  // private dialogs: message boxes
        device->failingTags.clear();
        dialogs.messages.clear();
        dialogs.modalDialogs.clear();
        if (row.emptyTag)
            set(row.emptyTag, "");
        if (row.failingTag)
            device->failingTags[QString::fromLatin1(row.failingTag)] = com::Status::Failure;
        diagnostics::showDeviceCurves(controller, row.kind, nullptr);
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_EQ(dialogs.messages[0].text, QLatin1String(row.message));
        EXPECT_EQ(dialogs.messages[0].caption, QLatin1String("Orvx ESD DTM"));
        EXPECT_EQ(dialogs.messages[0].icon, ui::MessageIcon::Error);
        EXPECT_TRUE(dialogs.modalDialogs.isEmpty());
    }
}

}  // namespace
}  // namespace orvx::test
