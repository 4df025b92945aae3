// Two PSTs compared figure by figure, in the graph's table under a baseline drawn dashed, and a
// PST's figures graded in its report.
#include "DataFileFixture.h"
#include "DrawnSignature.h"
#include "diagnostics/BaselinePanel.h"
#include "diagnostics/DiagGraph.h"
#include "diagnostics/PstReportRows.h"
#include "diagnostics/SignatureComparison.h"
#include "platform/chart/DiagChart.h"

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

namespace orvx::test {
namespace {

// Every figure different, so that one read from another's field shows.
SignatureFigures distinct(double base, std::uint32_t unit = 6)
{
    return {unit, base + 0.125, base + 1.25, base + 2.5, base + 3.75, base + 5, base + 6.25, base + 7.5};
}

TEST(SignatureComparison, EachRowComparesTheSameFigureOfBothTests)
{
    const SignatureFigures current = distinct(100);
    const SignatureFigures baseline = distinct(10);
    const struct {
        const char* name;
        std::optional<double> SignatureFigures::*figure;
        bool pressure;
    } expected[] = {
        {"Friction", &SignatureFigures::friction, true},
        {"Breakaway", &SignatureFigures::breakaway, true},
        {"Droop", &SignatureFigures::droop, true},
        {"Spring Range, Lower", &SignatureFigures::lowerSpring, true},
        {"Spring Range, Upper", &SignatureFigures::upperSpring, true},
        {"Response Time, Exhaust", &SignatureFigures::exhaustTime, false},
        {"Response Time, Fill", &SignatureFigures::fillTime, false},
    };
    const auto rows = compareFigures(current, baseline, std::nullopt);
    ASSERT_EQ(rows.size(), std::size(expected));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_STREQ(rows[i].name, expected[i].name);
        EXPECT_EQ(rows[i].current, current.*expected[i].figure) << rows[i].name;
        EXPECT_EQ(rows[i].baseline, baseline.*expected[i].figure) << rows[i].name;
        EXPECT_EQ(rows[i].pressure, expected[i].pressure) << rows[i].name;
        EXPECT_FALSE(rows[i].currentGrade) << "no limits, no grade";
    }
}

TEST(SignatureComparison, ShowsTheChangeAndGradesByTheLimits)
{
    const PstLimits limits{.frictionLow = 2, .frictionHigh = 12, .breakout = 12, .droop = 3};
    SignatureFigures current{6, 13.8, 5, 1, 8, 24, 2, 0};
    SignatureFigures baseline{6, 10, 5, 1, 8, 24, 2, 0};
    const auto rows = compareFigures(current, baseline, limits);
    const ComparisonRow& friction = rows[0];
    EXPECT_DOUBLE_EQ(*friction.Difference(), 3.8);
    EXPECT_EQ(friction.currentGrade, Grade::Failed) << "13.8 is beyond the high limit 12";
    EXPECT_EQ(friction.baselineGrade, Grade::Passed);
    EXPECT_EQ(rows[1].currentGrade, Grade::Passed);
    EXPECT_FALSE(rows[3].currentGrade) << "the spring range has no limit";
    EXPECT_FALSE(rows[6].Percent()) << "no percentage of a baseline of 0";
    const QDate since(2026, 1, 10);
    EXPECT_EQ(changeSince(friction, QStringLiteral("psi"), since),
              QStringLiteral("Friction 13.8 psi, +38 % since 2026-01-10"));
    EXPECT_EQ(changeSince(rows[6], QStringLiteral("psi"), since),
              QStringLiteral("Response Time, Fill 0 s, 0 s since 2026-01-10"));

    // A side whose signature does not give the figure says so, and is neither compared nor graded.
    current.friction.reset();
    baseline.droop.reset();
    const auto partial = compareFigures(current, baseline, limits);
    EXPECT_FALSE(partial[0].Difference());
    EXPECT_FALSE(partial[0].currentGrade);
    EXPECT_EQ(partial[0].baselineGrade, Grade::Passed);
    EXPECT_FALSE(partial[2].Percent());
    EXPECT_FALSE(partial[2].baselineGrade);
    EXPECT_EQ(changeSince(partial[0], QStringLiteral("psi"), since),
              QStringLiteral("Friction: this test's signature gives none"));
    EXPECT_EQ(changeSince(partial[2], QStringLiteral("psi"), since),
              QStringLiteral("Droop 1 psi: the baseline of 2026-01-10 gives none"));

    const struct {
        double percent;
        const char* text;
    } percents[] = {{38.00001, "+38 %"}, {-5.24, "-5.24 %"}, {0.0001, "+0.0001 %"}, {0, "0 %"}, {-100, "-100 %"}};
    for (const auto& p : percents)
        EXPECT_EQ(percentText(p.percent), QLatin1String(p.text)) << p.percent;
}

TEST(SignatureComparison, ComparesInTheTestsUnitWhateverTheBaselinesWas)
{
    const SignatureFigures inPsi{6, 14.5038, 5, 1, 8, 24, 2, 3};
    const SignatureFigures inBar{7, 1, 5 / 14.5038, 1 / 14.5038, 8 / 14.5038, 24 / 14.5038, 2, 3};
    for (const ComparisonRow& row : compareFigures(inPsi, inBar, std::nullopt))
        EXPECT_NEAR(*row.Difference(), 0, 1e-3) << row.name;
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

class BaselineGraph : public ::testing::Test {
protected:
    // The graph of a PST with another picked as its baseline, shown.
    void Compare(const DiagRecord& current, const DiagRecord& baseline)
    {
        graph.SetFromFile(current);
        graph.SetLimits(PstLimits{.frictionLow = 2, .frictionHigh = 12, .breakout = 12, .droop = 3});
        graph.SetBaseline(baseline, QDate(2026, 1, 10));
        graph.Show(nullptr);
    }
    QString Cell(int row, int column) const { return Table()->item(row, column)->text(); }
    const QTableWidget* Table() const { return Panel()->Table(); }
    CBaselinePanel* Panel() const
    {
        // Neither class declares itself to Qt's object system: found by name, then cast.
        return dynamic_cast<CBaselinePanel*>(graph.findChild<QWidget*>(QStringLiteral("baselinePanel")));
    }

    ScriptedDialogService dialogs;
    CDiagGraph graph;
};

TEST_F(BaselineGraph, DrawsTheBaselineUnderTheTestAndComparesTheirSignatures)
{
    // Files keep the results as whole numbers; the table must not care.
    DiagRecord current = drawnRecord({.springAtClosed = 14, .friction = 14});
    current.SetValue(RecordValue::Friction, 99);
    const DiagRecord baseline = drawnRecord({.travel = -20, .springAtOpen = 36, .friction = 10}, 12);
    Compare(current, baseline);

    auto* chart = dynamic_cast<chart::CDiagChart*>(graph.findChild<QWidget*>(QStringLiteral("item_367")));
    ASSERT_NE(chart, nullptr);
    const int first = chart::CDiagChart::kFirstReferencePlot;
    EXPECT_EQ(chart->PointCount(first), baseline.curve2.Count()) << "the baseline's fill stroke";
    EXPECT_EQ(chart->PointCount(first + 1), baseline.curve1.Count()) << "the baseline's exhaust stroke";
    EXPECT_TRUE(chart->PlotDashed(first));
    EXPECT_FALSE(chart->PlotDashed(0));

    ASSERT_FALSE(Panel()->isHidden());
    EXPECT_TRUE(Panel()->Title().contains(QLatin1String("2026-01-10")));
    // The baseline kept in kPa, compared in psi: friction 10 kPa is 1.45 psi.
    EXPECT_EQ(Cell(0, CBaselinePanel::CurrentColumn), QStringLiteral("14 psi"));
    EXPECT_EQ(Cell(0, CBaselinePanel::BaselineColumn), QStringLiteral("1.45 psi"));
    EXPECT_EQ(Cell(0, CBaselinePanel::DifferenceColumn), QStringLiteral("+12.55 psi"));
    EXPECT_EQ(Table()->item(0, CBaselinePanel::DifferenceColumn)->foreground().color(), CBaselinePanel::FailedColour());
    EXPECT_EQ(Table()->item(0, CBaselinePanel::BaselineColumn)->foreground().color(), CBaselinePanel::FailedColour())
        << "1.45 psi is below the low limit 2";
    EXPECT_EQ(Cell(3, CBaselinePanel::CurrentColumn), QStringLiteral("14 psi")) << "the lower spring range";
    EXPECT_EQ(Cell(4, CBaselinePanel::CurrentColumn), QStringLiteral("35 psi")) << "the upper spring range";
    EXPECT_EQ(Cell(3, CBaselinePanel::BaselineColumn), QStringLiteral("2.176 psi"));
    EXPECT_EQ(Cell(4, CBaselinePanel::BaselineColumn), QStringLiteral("5.221 psi"));
    EXPECT_EQ(Cell(5, CBaselinePanel::BaselineColumn), QStringLiteral("2.2 s")) << "22 samples of 100 ms";

    // The table takes the window's width, the names whole.
    graph.resize(1400, 800);
    graph.show();
    QApplication::processEvents();
    const QHeaderView* header = Table()->horizontalHeader();
    EXPECT_GE(header->length(), Table()->viewport()->width() - 1);
    EXPECT_GT(Table()->viewport()->width(), 1200);
    EXPECT_GE(header->sectionSize(CBaselinePanel::NameColumn), header->sectionSizeHint(CBaselinePanel::NameColumn));

    // Against time the baseline has no place.
    graph.findChild<QRadioButton*>(QStringLiteral("item_365"))->setChecked(true);
    EXPECT_EQ(chart->PointCount(first), 0);
}

TEST_F(BaselineGraph, APstComparedWithItselfShowsNoDifferenceAnywhere)
{
    // A fill stroke that never gets back has no fill time on either side.
    DiagRecord record = drawnRecord({.springAtClosed = 1, .springAtOpen = 2.4, .friction = 0.23}, 7);
    record.curve2.position.back() -= 1;
    Compare(record, record);
    for (int row = 0; row < Table()->rowCount(); ++row) {
        const bool given = row != 6;
        EXPECT_EQ(Cell(row, CBaselinePanel::CurrentColumn), Cell(row, CBaselinePanel::BaselineColumn)) << row;
        EXPECT_EQ(Cell(row, CBaselinePanel::DifferenceColumn),
                  given ? (row < 5 ? QStringLiteral("0 bar") : QStringLiteral("0 s")) : QStringLiteral("\u2013"))
            << row;
        EXPECT_EQ(Cell(row, CBaselinePanel::ChangeColumn), given ? QStringLiteral("0 %") : QStringLiteral("\u2013"))
            << row;
    }
}

TEST(BaselineGraphButtons, AnEsdEventHasNoBaselineButtons)
{
    CDiagGraph graph;
    DiagRecord esd;
    esd.kind = DiagKind::Esd;
    graph.SetFromFile(esd);
    EXPECT_TRUE(graph.findChild<QPushButton*>(QStringLiteral("compareWith"))->isHidden());
    EXPECT_TRUE(graph.findChild<QPushButton*>(QStringLiteral("useAsBaseline"))->isHidden());
}

// Each graded row on its own; a value on a limit fails. Only the passed flag is graded without
// limits, and a figure the signature does not give is not graded.
TEST(PstReportRows, GradesTheFiguresAgainstKnownLimits)
{
    const PstLimits limits{5, 10, 12, 2};
    constexpr auto P = Grade::Passed;
    constexpr auto F = Grade::Failed;
    constexpr std::nullopt_t N = std::nullopt;
    // Lower spring range 4, upper 9, response times 3 s exhausting and 5 s filling, in bar.
    const auto figures = [](std::optional<double> friction, double breakaway, double droop) {
        return SignatureFigures{7, friction, breakaway, droop, 4, 9, 3, 5};
    };
    const struct {
        int passed;
        SignatureFigures figures;
        std::optional<PstLimits> limits;
        std::vector<std::optional<Grade>> expected;
    } rows[] = {
        {0, figures(7, 11.9, 1.99), limits, {P, P, P, P, N, N, N, N}},
        {1, figures(5, 12, 2), limits, {F, F, F, F, N, N, N, N}},
        {0, figures(10, 13, 3), limits, {P, F, F, F, N, N, N, N}},
        {0, figures(5.001, 0, 0), limits, {P, P, P, P, N, N, N, N}},
        {0, figures(std::nullopt, 0, 0), limits, {P, N, P, P, N, N, N, N}},
        {2, figures(7, 11, 1), std::nullopt, {F, N, N, N, N, N, N, N}},
    };
    for (const auto& row : rows) {
        std::vector<std::optional<Grade>> grades;
        for (const PstReportRow& graded : pstReportRows(row.passed, row.figures, row.limits))
            grades.push_back(graded.grade);
        EXPECT_EQ(grades, row.expected);
    }

    const auto known = pstReportRows(0, figures(2.4371, 11, 1), limits);
    EXPECT_EQ(known[1], (PstReportRow{QStringLiteral("Friction"), QStringLiteral("2.437 bar"),
                                      QStringLiteral("above 5, below 10 bar"), F}));
    EXPECT_EQ(known[4].value, QStringLiteral("4 bar"));
    EXPECT_EQ(known[5].value, QStringLiteral("9 bar"));
    EXPECT_EQ(known[6].value, QStringLiteral("3 s"));
    EXPECT_EQ(known[7].value, QStringLiteral("5 s"));
    EXPECT_EQ(pstReportRows(0, figures(std::nullopt, 1, 1), limits)[1].value, QLatin1String(kNotGiven));
    const auto unknown = pstReportRows(0, figures(2.4371, 11, 1), std::nullopt);
    for (std::size_t graded : {1, 2, 3}) {
        EXPECT_EQ(unknown[graded].limit, QLatin1String(kLimitNotStored));
        EXPECT_EQ(unknown[graded].value, known[graded].value);
    }
}

}  // namespace
}  // namespace orvx::test
