#include "DataFileFixture.h"
#include "diagnostics/DiagGraph.h"
#include "diagnostics/DiagGraphForm.h"
#include "diagnostics/GraphData.h"
#include "platform/chart/DiagChart.h"
#include "platform/ui/DialogItems.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFocusEvent>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cmath>

using namespace orvx;
using namespace orvx::test;
namespace item = orvx::diagnostics::graph_item;

namespace {

// A stroke as the device sends it: 20 points, pressure and position from one end to the other.
QString strokeText(float fromPressure, float toPressure, float fromPosition, float toPosition)
{
    QStringList fields;
    for (int i = 0; i < 20; ++i) {
        const float t = i / 19.0f;
        fields << QString::number(fromPressure + (toPressure - fromPressure) * t)
               << QString::number(fromPosition + (toPosition - fromPosition) * t);
    }
    return fields.join(QLatin1Char('@'));
}

class Graph : public ::testing::Test {
protected:
    Graph()
    {
        EXPECT_TRUE(graph.SetCurveText(strokeText(30, 0, 100, 70), 1));
        EXPECT_TRUE(graph.SetCurveText(strokeText(0, 30, 70, 100), 2));
        graph.SetSampling(100, 6);
        std::array<std::int32_t, kRecordValueCount> values{};
        values[static_cast<int>(RecordValue::PresUnits)] = 6;
        graph.SetRecord(DiagKind::Pst, QStringLiteral("PV-101"), 42, values);
    }

    template <class T = QWidget>
    T* at(int number) const
    {
        return ui::dialogItem<T>(&graph, number);
    }
    chart::CDiagChart& chart() const { return *dynamic_cast<chart::CDiagChart*>(at(item::Chart)); }
    QLineEdit* edit(int number) const { return at<QLineEdit>(number); }
    QStringList rangeTexts() const
    {
        return {edit(item::XLow)->text(), edit(item::XHigh)->text(), edit(item::YLow)->text(),
                edit(item::YHigh)->text()};
    }
    QStringList shownRange() const
    {
        const chart::ChartRange r = chart().ShownRange();
        return {formatGraphValue(r.xLow), formatGraphValue(r.xHigh), formatGraphValue(r.yLow),
                formatGraphValue(r.yHigh)};
    }
    void setRange(const QStringList& texts)
    {
        for (int i = 0; i < 4; ++i)
            edit(item::XLow + i)->setText(texts[i]);
    }
    void leave(int number, Qt::FocusReason reason = Qt::TabFocusReason)
    {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(edit(number), &out);
    }
    QPushButton* button(const char* name) const { return graph.findChild<QPushButton*>(QLatin1String(name)); }
    QString path(const char* name) const { return folder.filePath(QLatin1String(name)); }

    ScriptedDialogService dialogs;
    QTemporaryDir folder;
    CDiagGraph graph;
};

TEST_F(Graph, ShowsTheStrokesAgainstPressureOrBothAgainstTime)
{
    EXPECT_FALSE(graph.SetCurveText(QStringLiteral("1@x"), 1));  // keeps the stroke it has
    graph.SetSampling(100, 7);
    graph.Show(nullptr);
    EXPECT_TRUE(at(item::ExportToExcel)->isHidden());
    EXPECT_EQ(at<QGroupBox>(item::Group)->title(), QStringLiteral("OrvxESD - PST GRAPH"));
    EXPECT_EQ(at<QPushButton>(item::Save)->text(), QStringLiteral("&Save PST Signature to a File"));
    EXPECT_FALSE(at<QPushButton>(item::Save)->isEnabled());  // no one to save to
    EXPECT_FALSE(button("pstReport")->isHidden());

    EXPECT_EQ(chart().PlotColour(0), QColor(0x80, 0, 0));
    EXPECT_EQ(chart().PlotColour(1), QColor(0xFF, 0, 0));
    EXPECT_EQ(chart().Point(0, 19), QPointF(30, 100));  // fill stroke ends full open at 30 bar
    EXPECT_EQ(chart().Point(1, 0), QPointF(30, 100));   // exhaust stroke starts there
    EXPECT_EQ(chart().Point(1, 19), QPointF(0, 70));
    EXPECT_EQ(chart().ShownRange(), (chart::ChartRange{0, 30, 70, 100}));
    EXPECT_EQ(rangeTexts(), QStringList({"0", "30", "70", "100"}));

    const struct {
        int radio;
        const char* legends;
        const char* captions;
        QStringList range;
    } rows[] = {
        {item::AgainstTime, "Pressure Position", "Time (sec)|Pressure - bar|Position (%)", {"0", "4", "0", "100"}},
        {item::PositionVsPressure, "Exhaust Fill", "Pressure - bar|Position (%)|", {"0", "30", "70", "100"}},
    };
    for (const auto& row : rows) {
        at<QRadioButton>(row.radio)->click();
        const bool time = row.radio == item::AgainstTime;
        EXPECT_EQ(at<QLabel>(item::FirstLegend)->text() + ' ' + at<QLabel>(item::SecondLegend)->text(), row.legends);
        EXPECT_EQ(at(item::BlueSample)->isHidden(), !time);
        EXPECT_EQ(at(item::DarkRedSample)->isHidden(), time);
        EXPECT_EQ(QStringList({chart().XCaption(), chart().YCaption(), chart().SecondAxisCaption()}).join('|'),
                  row.captions);
        EXPECT_EQ(chart().SecondAxisShown(), time);
        EXPECT_EQ(rangeTexts(), row.range);
    }

    // Against time: 40 samples 0.1 s apart, pressure on the main axis, position on the second.
    at<QRadioButton>(item::AgainstTime)->click();
    EXPECT_EQ(chart().PointCount(0), 0);
    ASSERT_EQ(chart().PointCount(1), 40);
    ASSERT_EQ(chart().PointCount(2), 40);
    EXPECT_EQ(chart().Point(1, 20), QPointF(2.0f, 0));   // the fill stroke's first sample
    EXPECT_EQ(chart().Point(2, 19), QPointF(1.9f, 70));  // the exhaust stroke's last
    EXPECT_EQ(chart().FullRange(), (chart::ChartRange{0, 4, 0, 30}));
    EXPECT_EQ(chart().SecondAxisRange(), std::make_pair(0.0f, 120.0f));
    at<QRadioButton>(item::PositionVsPressure)->click();
    EXPECT_EQ(chart().PointCount(2), 0);
    EXPECT_EQ(chart().PointCount(0), 20);
}

TEST_F(Graph, AnEsdRecordFromAFileShowsWithItsOwnSamplingAndSavesAsItWas)
{
    DiagRecord record;
    record.kind = DiagKind::Esd;
    record.tag = QStringLiteral("XV-7");
    record.curve1 = Curve{{100, 90, 80}, {30, 20, 10}};
    record.SetValue(RecordValue::Interval, 500);
    record.SetValue(RecordValue::PresUnits, 12);
    graph.SetFromFile(record);
    DiagRecord saved;
    QWidget* owner = nullptr;
    graph.SetSaveHandler([&](const DiagRecord& r, QWidget* window) { saved = r, owner = window; });
    graph.Show(nullptr);
    EXPECT_EQ(at<QGroupBox>(item::Group)->title(), QStringLiteral("OrvxESD - ESD GRAPH"));
    EXPECT_EQ(at<QPushButton>(item::Save)->text(), QStringLiteral("&Save ESD Event to a File"));
    EXPECT_TRUE(button("pstReport")->isHidden());

    at<QRadioButton>(item::AgainstTime)->click();
    EXPECT_EQ(chart().YCaption(), QStringLiteral("Pressure - kpa"));
    EXPECT_EQ(chart().FullRange(), (chart::ChartRange{0, 1.5f, 0, 30}));
    at<QPushButton>(item::Save)->click();
    EXPECT_EQ(saved, record);
    EXPECT_EQ(owner, &graph);
}

// The strokes open with their axes on round ticks around the data, in both modes; the edits
// keep the data's own figures.
TEST_F(Graph, TheAxesTickOnRoundNumbersAroundTheData)
{
    ASSERT_TRUE(graph.SetCurveText(strokeText(33.8703f, 21.4906f, 98.6f, 71.3f), 1));
    ASSERT_TRUE(graph.SetCurveText(strokeText(21.4906f, 33.8703f, 71.3f, 98.6f), 2));
    graph.Show(nullptr);
    const auto round = [](double step) {
        const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
        return std::abs(mantissa - 1) < 1e-6 || std::abs(mantissa - 2) < 1e-6 || std::abs(mantissa - 5) < 1e-6;
    };
    const auto onTick = [](float value, double step) {
        return std::abs(value / step - std::round(value / step)) < 1e-4;
    };
    const struct {
        int radio;
        chart::ChartRange data;
    } rows[] = {
        {item::PositionVsPressure, {21.4906f, 33.8703f, 71.3f, 98.6f}},
        {item::AgainstTime, {0, 4, 0, 33.8703f}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.radio);
        at<QRadioButton>(row.radio)->click();
        const auto [xStep, yStep] = chart().TickSteps();
        const chart::ChartRange shown = chart().ShownRange();
        EXPECT_TRUE(round(xStep) && round(yStep)) << xStep << ' ' << yStep;
        EXPECT_TRUE(onTick(shown.xLow, xStep) && onTick(shown.xHigh, xStep)) << shown.xLow << ".." << shown.xHigh;
        EXPECT_TRUE(onTick(shown.yLow, yStep) && onTick(shown.yHigh, yStep)) << shown.yLow << ".." << shown.yHigh;
        EXPECT_LE(shown.xLow, row.data.xLow);
        EXPECT_GE(shown.xHigh, row.data.xHigh);
        EXPECT_LE(shown.yLow, row.data.yLow);
        EXPECT_GE(shown.yHigh, row.data.yHigh);
        EXPECT_LE((shown.xHigh - shown.xLow) / xStep, 8.0001);
        EXPECT_LE((shown.yHigh - shown.yLow) / yStep, 8.0001);
    }
    at<QRadioButton>(item::PositionVsPressure)->click();
    EXPECT_EQ(rangeTexts(), QStringList({"21.4906", "33.8703", "71.3", "98.6"}));
}

// Leaving a range edit keeps a tenth between low and high on its own axis, shown with six
// significant digits; an edit without a number changes nothing.
TEST_F(Graph, LeavingARangeEditAppliesTheRange)
{
    graph.Show(nullptr);
    const struct {
        int left;
        QStringList typed;
        QStringList shown;
        QStringList range;
    } rows[] = {
        // clang-format off
        {item::XHigh, {"50", "50.05", "1,5", "100"}, {"50", "50.05", "1,5", "100"}, {"0", "30", "70", "100"}},
        {item::XHigh, {"50", "50.05", "inf", "100"}, {"50", "50.05", "inf", "100"}, {"0", "30", "70", "100"}},
        {item::XHigh, {"50", "50.05", "0", "100"}, {"49.95", "50.05", "0", "100"}, {"49.95", "50.05", "0", "100"}},
        {item::XLow, {"0", "0.1", "5", "5"}, {"0", "0.1", "5", "5"}, {"0", "0.1", "5", "5"}},
        {item::YLow, {"0", "0.1", "5", "5"}, {"0", "0.1", "4.9", "5"}, {"0", "0.1", "4.9", "5"}},
        {item::XHigh, {"80", "20", "0", "100"}, {"19.9", "20", "0", "100"}, {"19.9", "20", "0", "100"}},
        {item::XLow, {"12345.6", "12345.6", "0", "100"}, {"12345.5", "12345.6", "0", "100"}, {"12345.5", "12345.6", "0", "100"}},
        {item::XLow, {"1234567", "1234567", "0", "100"}, {"1.23457e+06", "1234567", "0", "100"}, {"1.23457e+06", "1.23457e+06", "0", "100"}},
        {item::YHigh, {"0", "100", "99.99", "100"}, {"0", "100", "99.9", "100"}, {"0", "100", "99.9", "100"}},
        {item::YLow, {"50", "50.05", "0", "0"}, {"50", "50.05", "-0.1", "0"}, {"50", "50.05", "-0.1", "0"}},
        {item::XHigh, {"0", "100", "101", "100"}, {"0", "100", "101", "100"}, {"0", "100", "101", "100"}},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed.join(' ').toStdString());
        setRange(row.typed);
        leave(row.left);
        EXPECT_EQ(rangeTexts(), row.shown);
        EXPECT_EQ(shownRange(), row.range);
    }

    setRange({"10", "10", "0", "100"});
    leave(item::XHigh, Qt::ActiveWindowFocusReason);  // leaving the window is no edit
    EXPECT_EQ(edit(item::XLow)->text(), QStringLiteral("10"));
    QTest::keyClick(edit(item::XHigh), Qt::Key_Return);
    EXPECT_EQ(shownRange(), QStringList({"9.9", "10", "0", "100"}));
}

TEST_F(Graph, DataPointsCaptureAndCloseDoTheirWork)
{
    graph.Show(nullptr);
    for (Qt::CheckState state : {Qt::PartiallyChecked, Qt::Checked, Qt::Unchecked}) {
        at<QCheckBox>(item::DataPoints)->setCheckState(state);
        for (int plot = 0; plot < chart::CDiagChart::kPlotCount; ++plot)
            EXPECT_EQ(chart().DataPoints(plot), static_cast<int>(state)) << plot;
    }
    QGuiApplication::clipboard()->clear();
    at<QPushButton>(item::Capture)->click();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), graph.size() * graph.devicePixelRatio());
    graph.show();
    at<QPushButton>(item::Close)->click();
    EXPECT_FALSE(graph.isVisible());
}

TEST_F(Graph, TabWalksEditsModeDataPointsThenButtons)
{
    graph.Show(nullptr);
    QStringList order;
    QWidget* w = edit(item::XLow);
    for (int i = 0; i < 40 && order.size() < 12; ++i, w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus && !w->isHidden())
            order << (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName());
    EXPECT_EQ(order, QStringList({"item_360", "item_361", "item_362", "item_363", "item_364", "item_365", "item_366",
                                  "item_358", "item_372", "exportCsv", "exportPng", "pstReport"}));
}

// Each export asks for a file to save, writes it whole or names it in an error, and leaves
// nothing behind when cancelled or failed.
TEST_F(Graph, ExportsWriteTheirFilesOrSayWhyNot)
{
    graph.SetCurveText(QStringLiteral("1@99@2@98"), 1);
    graph.SetSampling(100, 7);
    graph.Show(nullptr);
    setContents(path("file"), {});
    const char* names[] = {"strokes",          "chart.png",      "report.pdf",
                           "file/strokes.csv", "file/chart.png", "file/report.pdf"};
    for (const char* name : names)
        dialogs.fileAnswers.push_back(path(name));
    for (const char* export_ :
         {"exportCsv", "exportPng", "pstReport", "exportCsv", "exportPng", "pstReport", "exportCsv"})
        button(export_)->click();

    ASSERT_EQ(dialogs.fileRequests.size(), 7);
    const ui::FileRequest& request = dialogs.fileRequests.front();
    EXPECT_EQ(request.mode, ui::FileMode::Save);
    EXPECT_TRUE(request.suggestedName.startsWith(QStringLiteral("PV-101_"))) << request.suggestedName.toStdString();
    EXPECT_TRUE(request.suggestedName.endsWith(QStringLiteral("_PST.csv"))) << request.suggestedName.toStdString();
    EXPECT_EQ(QStringList({request.filter, dialogs.fileRequests[1].filter, dialogs.fileRequests[2].filter}),
              QStringList({"CSV files (*.csv)", "PNG images (*.png)", "PDF files (*.pdf)"}));
    // The typed name gets the extension; the fill stroke is longer than the exhaust stroke.
    const QList<QByteArray> lines = contents(path("strokes.csv")).split('\n');
    ASSERT_EQ(lines.size(), 22);
    EXPECT_EQ(lines[0],
              QByteArray("sample,exhaust position (%),exhaust pressure (bar),fill position (%),fill pressure (bar)\r"));
    EXPECT_EQ(lines[20], QByteArray("20,,,100,30\r"));
    EXPECT_FALSE(QImage(path("chart.png")).isNull());
    EXPECT_TRUE(contents(path("report.pdf")).startsWith("%PDF"));

    ASSERT_EQ(dialogs.messages.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(dialogs.messages[i].icon, ui::MessageIcon::Error);
        EXPECT_TRUE(dialogs.messages[i].text.contains(path(names[3 + i]))) << dialogs.messages[i].text.toStdString();
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
              QStringList({"chart.png", "file", "report.pdf", "strokes.csv"}));
}

}  // namespace
