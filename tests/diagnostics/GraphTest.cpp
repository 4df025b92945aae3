#include "diagnostics/CurveCsv.h"
#include "diagnostics/DiagGraph.h"
#include "diagnostics/DiagGraphForm.h"
#include "platform/chart/DiagChart.h"
#include "platform/ui/DialogItems.h"
#include "support/ScriptedDialogService.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QFocusEvent>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

using namespace orvx;
using namespace orvx::diagnostics;
namespace item = orvx::diagnostics::graph_item;

namespace {

// A stroke as the device sends it: 20 points, pressure from one end to the other while the
// position moves between 70 and 100 %.
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

// The text as shown, without the mnemonic marks.
QString shown(const QString& text)
{
    QString result = text;
    return result.replace(QLatin1String("&&"), QLatin1String("\x01"))
        .remove(QLatin1Char('&'))
        .replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

std::array<std::int32_t, kRecordValueCount> pstValues(int unit)
{
    std::array<std::int32_t, kRecordValueCount> values{};
    values[static_cast<int>(RecordValue::Friction)] = 7;
    values[static_cast<int>(RecordValue::PresUnits)] = unit;
    return values;
}

class Graph : public ::testing::Test {
protected:
    Graph()
    {
        EXPECT_TRUE(graph.SetCurveText(strokeText(30, 0, 100, 70), 1));
        EXPECT_TRUE(graph.SetCurveText(strokeText(0, 30, 70, 100), 2));
        graph.SetSampling(100, 6);
        graph.SetRecord(DiagKind::Pst, QStringLiteral("PV-101"), 42, pstValues(6));
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
    void setRange(const char* xLow, const char* xHigh, const char* yLow, const char* yHigh)
    {
        edit(item::XLow)->setText(QLatin1String(xLow));
        edit(item::XHigh)->setText(QLatin1String(xHigh));
        edit(item::YLow)->setText(QLatin1String(yLow));
        edit(item::YHigh)->setText(QLatin1String(yHigh));
    }
    void leave(int number)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit(number), &out);
    }
    QPushButton* button(const char* name) const { return graph.findChild<QPushButton*>(QLatin1String(name)); }

    test::ScriptedDialogService dialogs;
    CDiagGraph graph;
};

TEST_F(Graph, ShowsThroughTheDialogServiceWithItsTitleAndIcon)
{
    EXPECT_EQ(graph.Show(nullptr), QDialog::Rejected);
    EXPECT_EQ(dialogs.modalDialogs, QStringList{QStringLiteral("Orvx ESD  - Diagnostic Graph")});
    EXPECT_FALSE(graph.windowIcon().isNull());
    EXPECT_TRUE(at(item::ExportToExcel)->isHidden());
}

TEST_F(Graph, TitlesFollowTheKind)
{
    struct Row {
        DiagKind kind;
        bool fromFile;
        const char* group;
        const char* save;
    };
    const Row rows[] = {
        {DiagKind::Pst, false, "OrvxESD - PST GRAPH", "Save PST Signature to a File"},
        {DiagKind::Esd, false, "OrvxESD - ESD GRAPH", "Save ESD Event to a File"},
        {DiagKind::Esd, true, "OrvxESD - ESD GRAPH", "Save ESD Event to a File"},
    };
    for (const Row& row : rows) {
        CDiagGraph window;
        DiagRecord record;
        record.kind = row.kind;
        record.tag = QStringLiteral("ESD-7");
        record.curve1.pressure = {1, 2};
        record.curve1.position = {90, 80};
        if (row.fromFile)
            window.SetFromFile(record);
        else
            window.SetRecord(row.kind, record.tag, 7, {});
        window.Show(nullptr);
        EXPECT_EQ(ui::dialogItem<QGroupBox>(&window, item::Group)->title(), QLatin1String(row.group));
        EXPECT_EQ(shown(ui::dialogItem<QPushButton>(&window, item::Save)->text()), QLatin1String(row.save));
        EXPECT_EQ(window.Record().kind, row.kind);
        EXPECT_EQ(window.findChild<QPushButton*>(QStringLiteral("pstReport"))->isHidden(), row.kind == DiagKind::Esd);
        if (row.fromFile) {
            EXPECT_EQ(window.Record(), record);
        }
    }
}

TEST_F(Graph, OpensWithTheStrokesAgainstPressureOverTheirDataRange)
{
    graph.Show(nullptr);
    EXPECT_EQ(chart().PlotColour(0), QColor(0x80, 0, 0));
    EXPECT_EQ(chart().PlotColour(1), QColor(0xFF, 0, 0));
    EXPECT_EQ(chart().PointCount(0), 20);
    EXPECT_EQ(chart().Point(0, 19), QPointF(30, 100));  // fill stroke ends full open at 30 psi
    EXPECT_EQ(chart().Point(1, 0), QPointF(30, 100));   // exhaust stroke starts there
    EXPECT_EQ(chart().Point(1, 19), QPointF(0, 70));
    EXPECT_EQ(chart().ShownRange(), (chart::ChartRange{0, 30, 70, 100}));
    EXPECT_EQ(rangeTexts(), QStringList({"0", "30", "70", "100"}));
    EXPECT_TRUE(at<QRadioButton>(item::PositionVsPressure)->isChecked());
    EXPECT_EQ(at<QCheckBox>(item::DataPoints)->checkState(), Qt::Unchecked);
}

TEST_F(Graph, ModeSwitchChangesPlotsLegendsCaptionsAndSamples)
{
    graph.SetSampling(100, 7);
    graph.Show(nullptr);
    struct Row {
        int radio;
        const char* first;
        const char* second;
        bool blue;
        const char* x;
        const char* y;
        const char* second_axis;
        bool secondShown;
        QStringList range;
    };
    const Row rows[] = {
        {item::AgainstTime,
         "Pressure",
         "Position",
         true,
         "Time (sec)",
         "Pressure - bar",
         "Position (%)",
         true,
         {"0", "4", "0", "100"}},
        {item::PositionVsPressure,
         "Exhaust",
         "Fill",
         false,
         "Pressure - bar",
         "Position (%)",
         "",
         false,
         {"0", "30", "70", "100"}},
    };
    for (const Row& row : rows) {
        at<QRadioButton>(row.radio)->click();
        EXPECT_EQ(at<QLabel>(item::FirstLegend)->text(), QLatin1String(row.first));
        EXPECT_EQ(at<QLabel>(item::SecondLegend)->text(), QLatin1String(row.second));
        EXPECT_EQ(at(item::BlueSample)->isHidden(), !row.blue);
        EXPECT_EQ(at(item::DarkRedSample)->isHidden(), row.blue);
        EXPECT_EQ(chart().XCaption(), QLatin1String(row.x));
        EXPECT_EQ(chart().YCaption(), QLatin1String(row.y));
        EXPECT_EQ(chart().SecondAxisCaption(), QLatin1String(row.second_axis));
        EXPECT_EQ(chart().SecondAxisShown(), row.secondShown);
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
    EXPECT_EQ(chart().ShownRange(), chart().FullRange());
    EXPECT_EQ(chart().SecondAxisRange(), std::make_pair(0.0f, 120.0f));
    at<QRadioButton>(item::PositionVsPressure)->click();
    EXPECT_EQ(chart().PointCount(2), 0);
    EXPECT_EQ(chart().PointCount(0), 20);
}

TEST_F(Graph, ALeftRangeEditKeepsATenthBetweenLowAndHigh)
{
    graph.Show(nullptr);
    struct Row {
        int left;
        std::array<const char*, 4> typed;
        QStringList shown;
        chart::ChartRange range;
    };
    const Row rows[] = {
        {item::XHigh, {"50", "50.05", "0", "100"}, {"49.95", "50.05", "0", "100"}, {49.95f, 50.05f, 0, 100}},
        {item::XLow, {"0", "0.1", "5", "5"}, {"0", "0.1", "5", "5"}, {0, 0.1f, 5, 5}},
        {item::YLow, {"0", "0.1", "5", "5"}, {"0", "0.1", "4.9", "5"}, {0, 0.1f, 4.9f, 5}},
    };
    for (const Row& row : rows) {
        setRange(row.typed[0], row.typed[1], row.typed[2], row.typed[3]);
        leave(row.left);
        EXPECT_EQ(rangeTexts(), row.shown) << row.typed[0] << " " << row.typed[1];
        const chart::ChartRange r = chart().ShownRange();
        EXPECT_FLOAT_EQ(r.xLow, row.range.xLow);
        EXPECT_FLOAT_EQ(r.xHigh, row.range.xHigh);
        EXPECT_FLOAT_EQ(r.yLow, row.range.yLow);
        EXPECT_FLOAT_EQ(r.yHigh, row.range.yHigh);
    }

    // Enter applies the range as leaving does.
    setRange("10", "10", "0", "100");
    QTest::keyClick(edit(item::XHigh), Qt::Key_Return);
    EXPECT_EQ(edit(item::XLow)->text(), QStringLiteral("9.9"));
    EXPECT_FLOAT_EQ(chart().ShownRange().xLow, 9.9f);
}

TEST_F(Graph, ARangeEditWithoutANumberChangesNothing)
{
    graph.Show(nullptr);
    const chart::ChartRange before = chart().ShownRange();
    for (const char* bad : {"", "abc", "1,5", "inf"}) {
        setRange("50", "50.05", bad, "100");
        leave(item::XHigh);
        EXPECT_EQ(rangeTexts(), QStringList({"50", "50.05", bad, "100"})) << bad;
        EXPECT_EQ(chart().ShownRange(), before) << bad;
    }
    // Leaving the window is no edit.
    setRange("50", "50.05", "0", "100");
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(edit(item::XHigh), &away);
    EXPECT_EQ(chart().ShownRange(), before);
}

TEST_F(Graph, ShowDataPointsReachesEveryPlot)
{
    graph.Show(nullptr);
    for (Qt::CheckState state : {Qt::PartiallyChecked, Qt::Checked, Qt::Unchecked}) {
        at<QCheckBox>(item::DataPoints)->setCheckState(state);
        for (int plot = 0; plot < chart::CDiagChart::kPlotCount; ++plot)
            EXPECT_EQ(chart().DataPoints(plot), static_cast<int>(state)) << plot;
    }
}

TEST_F(Graph, CurveTextThatCannotBeReadKeepsTheCurve)
{
    const Curve before = graph.Record().curve1;
    for (const QString& text : {QString(), QStringLiteral(""), QStringLiteral("1@x"), QStringLiteral("7")})
        EXPECT_FALSE(graph.SetCurveText(text, 1)) << text.toStdString();
    EXPECT_EQ(graph.Record().curve1, before);
    EXPECT_TRUE(graph.SetCurveText(QStringLiteral("3@4"), 1));
    EXPECT_EQ(graph.Record().curve1, (Curve{{4}, {3}}));
}

TEST_F(Graph, ARecordFromAFileBringsItsOwnSampling)
{
    DiagRecord record;
    record.kind = DiagKind::Pst;
    record.curve1 = Curve{{100, 90, 80}, {30, 20, 10}};
    record.SetValue(RecordValue::Interval, 500);
    record.SetValue(RecordValue::PresUnits, 12);
    graph.SetFromFile(record);
    graph.Show(nullptr);
    at<QRadioButton>(item::AgainstTime)->click();
    EXPECT_EQ(chart().YCaption(), QStringLiteral("Pressure - kpa"));
    EXPECT_EQ(chart().FullRange(), (chart::ChartRange{0, 1.5f, 0, 30}));
    EXPECT_EQ(graph.Record(), record);
}

TEST_F(Graph, CaptureCopiesAPictureOfTheWindow)
{
    graph.Show(nullptr);
    QGuiApplication::clipboard()->clear();
    at<QPushButton>(item::Capture)->click();
    const QImage picture = QGuiApplication::clipboard()->image();
    EXPECT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), graph.size() * graph.devicePixelRatio());
}

TEST_F(Graph, SaveHandsTheRecordToTheHandler)
{
    graph.Show(nullptr);
    EXPECT_FALSE(at<QPushButton>(item::Save)->isEnabled());
    DiagRecord saved;
    QWidget* owner = nullptr;
    graph.SetSaveHandler([&](const DiagRecord& record, QWidget* window) { saved = record, owner = window; });
    at<QPushButton>(item::Save)->click();
    EXPECT_EQ(saved, graph.Record());
    EXPECT_EQ(saved.curve2.Count(), 20);
    EXPECT_EQ(saved.tag, QStringLiteral("PV-101"));
    EXPECT_EQ(owner, &graph);
}

TEST_F(Graph, EscapeAndCloseEndTheWindow)
{
    for (int way = 0; way < 2; ++way) {
        graph.show();
        if (way == 0)
            QTest::keyClick(&graph, Qt::Key_Escape);
        else
            at<QPushButton>(item::Close)->click();
        EXPECT_FALSE(graph.isVisible()) << way;
    }
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

class GraphExport : public Graph {
protected:
    QString path(const char* name) const { return folder.filePath(QLatin1String(name)); }
    QByteArray contents(const QString& file) const
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir folder;
};

TEST_F(GraphExport, CsvHoldsBothStrokesRowByRow)
{
    graph.SetCurveText(QStringLiteral("1@99@2@98"), 1);
    graph.SetSampling(100, 7);
    graph.Show(nullptr);
    dialogs.fileAnswers.push_back(path("strokes"));
    button("exportCsv")->click();
    ASSERT_EQ(dialogs.fileRequests.size(), 1);
    const ui::FileRequest& request = dialogs.fileRequests.front();
    EXPECT_EQ(request.mode, ui::FileMode::Save);
    EXPECT_EQ(request.filter, QStringLiteral("CSV files (*.csv)"));
    EXPECT_TRUE(request.suggestedName.startsWith(QStringLiteral("PV-101_"))) << request.suggestedName.toStdString();
    EXPECT_TRUE(request.suggestedName.endsWith(QStringLiteral("_PST.csv"))) << request.suggestedName.toStdString();

    // The typed name gets the extension; the fill stroke is longer than the exhaust stroke.
    const QList<QByteArray> lines = contents(path("strokes.csv")).split('\n');
    ASSERT_EQ(lines.size(), 22);
    EXPECT_EQ(lines[0],
              QByteArray("sample,exhaust position (%),exhaust pressure (bar),fill position (%),fill pressure (bar)\r"));
    EXPECT_EQ(lines[2], QByteArray("2,98,2,71.5789,1.57895\r"));
    EXPECT_EQ(lines[20], QByteArray("20,,,100,30\r"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(GraphExport, PngAndPdfAreWrittenAndTheReportOnlyForAPst)
{
    graph.Show(nullptr);
    dialogs.fileAnswers = {path("chart.png"), path("report.pdf")};
    button("exportPng")->click();
    button("pstReport")->click();
    EXPECT_EQ(dialogs.fileRequests.at(0).filter, QStringLiteral("PNG images (*.png)"));
    EXPECT_EQ(dialogs.fileRequests.at(1).filter, QStringLiteral("PDF files (*.pdf)"));
    const QImage picture(path("chart.png"));
    EXPECT_FALSE(picture.isNull());
    EXPECT_TRUE(contents(path("report.pdf")).startsWith("%PDF"));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // Cancelled: nothing is written and nothing said.
    button("exportCsv")->click();
    EXPECT_EQ(dialogs.fileRequests.size(), 3);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(GraphExport, AFileThatCannotBeWrittenIsNamedInAnErrorAndNotLeftBehind)
{
    graph.Show(nullptr);
    QFile blocker(path("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const char* names[] = {"file/strokes.csv", "file/chart.png", "file/report.pdf"};
    const char* buttons[] = {"exportCsv", "exportPng", "pstReport"};
    for (int i = 0; i < 3; ++i) {
        dialogs.fileAnswers.push_back(path(names[i]));
        button(buttons[i])->click();
        ASSERT_EQ(dialogs.messages.size(), i + 1);
        const ui::MessageRequest& message = dialogs.messages.back();
        EXPECT_EQ(message.icon, ui::MessageIcon::Error);
        EXPECT_TRUE(message.text.contains(path(names[i]))) << message.text.toStdString();
        EXPECT_FALSE(QFile::exists(path(names[i])));
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("file")});
}

}  // namespace
