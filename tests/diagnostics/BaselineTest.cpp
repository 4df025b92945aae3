// A PST compared with its baseline: the results side by side, the baseline kept per valve in the
// settings file, drawn under the graph and reported by the summary.
#include "diagnostics/BaselinePanel.h"
#include "diagnostics/Baselines.h"
#include "diagnostics/DiagGraph.h"
#include "diagnostics/DiagGraphForm.h"
#include "diagnostics/PSTSummary.h"
#include "diagnostics/SignatureComparison.h"
#include "platform/chart/DiagChart.h"
#include "support/LastPst.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>

namespace orvx::test {
namespace {

using namespace diagnostics;

PstResults results(double friction, double breakaway = 5, double droop = 1)
{
    PstResults r;
    r.friction = friction;
    r.breakaway = breakaway;
    r.droop = droop;
    r.lowerSpring = 8;
    r.upperSpring = 24;
    r.exhaustTime = 2;
    r.fillTime = 0;
    return r;
}

TEST(SignatureComparison, ShowsTheChangeAndGradesByTheLimits)
{
    const PstLimits limits{.frictionLow = 2, .frictionHigh = 12, .breakout = 12, .droop = 3};
    const auto rows = compareResults(results(13.8), results(10), limits);
    ASSERT_EQ(rows.size(), 7u);
    const ComparisonRow& friction = rows[0];
    EXPECT_DOUBLE_EQ(friction.Difference(), 3.8);
    EXPECT_EQ(percentText(*friction.Percent()), QStringLiteral("+38 %"));
    EXPECT_EQ(friction.currentGrade, Grade::Failed) << "13.8 is beyond the high limit 12";
    EXPECT_EQ(friction.baselineGrade, Grade::Passed);
    EXPECT_EQ(rows[1].currentGrade, Grade::Passed);
    EXPECT_FALSE(rows[3].currentGrade) << "the spring range has no limit";
    EXPECT_FALSE(rows[6].Percent()) << "no percentage of a baseline of 0";
    EXPECT_EQ(changeSince(friction, QStringLiteral("psi"), QDate(2026, 1, 10)),
              QStringLiteral("Friction 13.8 psi, +38 % since 2026-01-10"));
    EXPECT_EQ(changeSince(rows[6], QStringLiteral("psi"), QDate(2026, 1, 10)),
              QStringLiteral("Response Time, Fill 0 s, 0 s since 2026-01-10"));
    EXPECT_FALSE(compareResults(results(13.8), results(10), std::nullopt)[0].currentGrade) << "no limits, no grade";

    const struct {
        double percent;
        const char* text;
    } percents[] = {{38.00001, "+38 %"}, {-5.24, "-5.24 %"}, {0.0001, "+0.0001 %"}, {0, "0 %"}, {-100, "-100 %"}};
    for (const auto& p : percents)
        EXPECT_EQ(percentText(p.percent), QLatin1String(p.text)) << p.percent;
}

TEST(SignatureComparison, ReadsTheDateOfAFilesTimeStamp)
{
    const struct {
        const char* text;
        QDate date;
    } stamps[] = {
        {"01/10/2026 08:30:00\r\n", QDate(2026, 1, 10)},
        {" 12/31/2025 23:59:59", QDate(2025, 12, 31)},
        {"13/01/2026 00:00:00", QDate()},  // no month 13
        {"2026-01-10", QDate()},
        {"", QDate()},
    };
    for (const auto& s : stamps)
        EXPECT_EQ(recordDate(QString::fromLatin1(s.text)), s.date) << s.text;
}

TEST(SignatureComparison, ComparesRecordsKeptInDifferentUnits)
{
    DiagRecord inBar;
    inBar.SetValue(RecordValue::PresUnits, 7);
    inBar.SetValue(RecordValue::Friction, 1);
    inBar.SetValue(RecordValue::RspTimeFill, 3);
    const PstResults inPsi = resultsOf(inBar, 6);
    EXPECT_NEAR(inPsi.friction, 14.5038, 1e-3);
    EXPECT_EQ(inPsi.fillTime, 3) << "times stay as they are";
}

class BaselineFile : public ::testing::Test {
protected:
    QTemporaryDir folder;
    QString file = folder.filePath(QStringLiteral("orvx.conf"));
};

TEST_F(BaselineFile, KeepsOneBaselinePerValve)
{
    CBaselines baselines(file);
    EXPECT_FALSE(baselines.Find(QStringLiteral("PV-101"), 42));
    const Baseline first{QDate(2026, 1, 10), 6, results(10), QStringLiteral("/plant/pv101.dgn"),
                         RecordKey{QStringLiteral("PST"), QStringLiteral("PV-101  "), QStringLiteral("0000042"),
                                   QStringLiteral("01/10/2026 08:30:00\r\n")}};
    ASSERT_TRUE(baselines.Remember(QStringLiteral("PV-101  "), 42, first));
    ASSERT_TRUE(
        baselines.Remember(QStringLiteral("PV/102 = x"), 42, Baseline{QDate(2026, 2, 1), 7, results(1), {}, {}}));

    const auto found = CBaselines(file).Find(QStringLiteral("PV-101"), 42);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->date, first.date);
    EXPECT_EQ(found->results.friction, 10);
    EXPECT_EQ(found->key, first.key);
    EXPECT_EQ(found->file, first.file);
    EXPECT_FALSE(baselines.Find(QStringLiteral("PV-101"), 43)) << "another device id";
    EXPECT_EQ(baselines.Find(QStringLiteral("PV/102 = x"), 42)->unitCode, 7u);

    // A newer baseline replaces the old one.
    ASSERT_TRUE(baselines.Remember(QStringLiteral("PV-101"), 42, Baseline{QDate(2026, 3, 1), 6, results(11), {}, {}}));
    EXPECT_EQ(baselines.Find(QStringLiteral("PV-101"), 42)->results.friction, 11);
    EXPECT_TRUE(baselines.Find(QStringLiteral("PV-101"), 42)->file.isEmpty());
}

TEST_F(BaselineFile, AFileThatIsNoSettingsFileHoldsNoBaseline)
{
    QFile broken(file);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("[baselines\n\x01\x02 friction=abc\ndate=yesterday\n");
    broken.close();
    EXPECT_FALSE(CBaselines(file).Find(QStringLiteral("PV-101"), 42));
}

// The graph of a PST with a baseline picked: the baseline dashed under it, the results side by
// side, a result beyond its limit failing.
TEST(BaselineGraph, DrawsTheBaselineUnderTheTestAndComparesTheResults)
{
    ScriptedDialogService dialogs;
    DiagRecord current;
    current.tag = QStringLiteral("PV-101");
    current.deviceId = 42;
    current.SetValue(RecordValue::PresUnits, 6);
    current.SetValue(RecordValue::Friction, 14);
    current.SetValue(RecordValue::Interval, 100);
    current.curve1 = {{100, 90, 80}, {30, 20, 10}};
    current.curve2 = {{80, 90, 100}, {10, 20, 30}};
    DiagRecord baseline = current;
    baseline.SetValue(RecordValue::Friction, 10);
    baseline.curve1 = {{100, 80}, {28, 8}};

    CDiagGraph graph;
    graph.SetFromFile(current);
    graph.SetLimits(PstLimits{.frictionLow = 2, .frictionHigh = 12, .breakout = 12, .droop = 3});
    graph.SetBaseline(baseline, QDate(2026, 1, 10));
    graph.Show(nullptr);

    // Neither class declares itself to Qt's object system: found by name, then cast.
    auto* chart = dynamic_cast<chart::CDiagChart*>(graph.findChild<QWidget*>(QStringLiteral("item_367")));
    ASSERT_NE(chart, nullptr);
    const int first = chart::CDiagChart::kFirstReferencePlot;
    EXPECT_EQ(chart->PointCount(first), 3) << "the baseline's fill stroke";
    EXPECT_EQ(chart->PointCount(first + 1), 2) << "the baseline's exhaust stroke";
    EXPECT_TRUE(chart->PlotDashed(first));
    EXPECT_FALSE(chart->PlotDashed(0));

    auto* panel = dynamic_cast<CBaselinePanel*>(graph.findChild<QWidget*>(QStringLiteral("baselinePanel")));
    ASSERT_NE(panel, nullptr);
    ASSERT_FALSE(panel->isHidden());
    EXPECT_TRUE(panel->Title().contains(QLatin1String("2026-01-10")));
    const QTableWidget* table = panel->Table();
    EXPECT_EQ(table->item(0, CBaselinePanel::ChangeColumn)->text(), QStringLiteral("+40 %"));
    EXPECT_EQ(table->item(0, CBaselinePanel::DifferenceColumn)->text(), QStringLiteral("+4 psi"));
    EXPECT_EQ(table->item(0, CBaselinePanel::DifferenceColumn)->foreground().color(), CBaselinePanel::FailedColour());
    EXPECT_EQ(table->item(0, CBaselinePanel::BaselineColumn)->foreground().color(), CBaselinePanel::PassedColour());

    // Against time the baseline has no place.
    graph.findChild<QRadioButton*>(QStringLiteral("item_365"))->setChecked(true);
    EXPECT_EQ(chart->PointCount(first), 0);
}

TEST(BaselineGraph, AnEsdEventHasNoBaselineButtons)
{
    CDiagGraph graph;
    DiagRecord esd;
    esd.kind = DiagKind::Esd;
    graph.SetFromFile(esd);
    EXPECT_TRUE(graph.findChild<QPushButton*>(QStringLiteral("compareWith"))->isHidden());
    EXPECT_TRUE(graph.findChild<QPushButton*>(QStringLiteral("useAsBaseline"))->isHidden());
}

// Use as baseline in the graph, then the summary of a later test reports the change.
class BaselineSummary : public PageFixture<> {
protected:
    DeviceParameters Parameters() const override { return lastPstDevice({{"16023", "13.8"}}); }
    void SetUp() override
    {
        PageFixture::SetUp();
        qputenv("ORVX_SETTINGS_FILE", folder.filePath(QStringLiteral("orvx.conf")).toLocal8Bit());
    }
    void TearDown() override { qunsetenv("ORVX_SETTINGS_FILE"); }
    QString change()
    {
        CPSTSummary summary(controller);
        return summary.findChild<QLabel*>(QStringLiteral("baselineChange"))->text();
    }

    QTemporaryDir folder;
};

TEST_F(BaselineSummary, ReportsTheChangeSinceTheValvesBaseline)
{
    EXPECT_TRUE(change().startsWith(QLatin1String("No baseline is set for this valve"))) << change().toStdString();

    DiagRecord base;
    base.tag = QStringLiteral("PV-101");
    base.deviceId = 42;
    base.SetValue(RecordValue::PresUnits, 6);
    base.SetValue(RecordValue::Friction, 10);
    base.SetValue(RecordValue::BreakAwayPres, 10);
    base.SetValue(RecordValue::Droop, 1);
    CDiagGraph graph;
    graph.SetFromFile(base);
    graph.SetSource(QStringLiteral("/plant/pv101.dgn"),
                    RecordKey{QStringLiteral("PST"), QStringLiteral("PV-101"), QStringLiteral("0000042"),
                              QStringLiteral("01/10/2026 08:30:00\r\n")});
    graph.findChild<QPushButton*>(QStringLiteral("useAsBaseline"))->click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QLatin1String("now the valve's baseline")));

    EXPECT_EQ(change(), QStringLiteral("Friction 13.8 psi, +38 % since 2026-01-10\n"
                                       "Breakaway 11.5 psi, +15 % since 2026-01-10\n"
                                       "Droop 1.25 psi, +25 % since 2026-01-10"));
}

}  // namespace
}  // namespace orvx::test
