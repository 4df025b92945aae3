#include "framework/ApplicationViewBase.h"
#include "framework/PageTable.h"
#include "support/LastPst.h"
#include "views/PstResultText.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace orvx;

namespace {

const QString kSummaryTitle = QStringLiteral("Orvx ESD  - PST Summary");
const QString kGraphTitle = QStringLiteral("Orvx ESD  - Diagnostic Graph");

// The Diagnostics page of the commissioning service, over a fake device holding a PST record.
class DiagnosticsPage : public test::PageFixture<> {
protected:
    test::DeviceParameters Parameters() const override
    {
        return test::lastPstDevice({{"1000", "3"}, {"1009", "0"}, {"16032", "1000"}, {"16033", "0"}, {"16034", "400"}});
    }

    void SetUp() override
    {
        PageFixture::SetUp();
        controller.SetStatusArea(&status, &status);
        auto* view = dynamic_cast<framework::CApplicationViewBase*>(framework::CreatePage(18, &controller, &texts));
        ASSERT_NE(view, nullptr);
        page = view;
        page->Activate();
    }

    QPushButton* button(int number) const { return item<QPushButton>(page, number); }
    QString result() const { return item<QPlainTextEdit>(page, 317)->toPlainText(); }
    // The device answers the running operation.
    void finish(std::int32_t code, const QString& value = {})
    {
        controller.SetOperation(false, -1, -1);
        page->OnUpdate(code, value);
        QCoreApplication::processEvents();  // the page posts itself what opens its windows
    }

    framework::CApplicationViewBase* page = nullptr;
};

TEST_F(DiagnosticsPage, PerformDiagnosticsRunsTheCheckedTest)
{
    struct Row {
        int radio;
        const char* method;
        std::int32_t expected;
        const char* progress;
    };
    for (const Row& row :
         {Row{315, "4", 504, "Perform PST, please waiting..."}, Row{316, "3", 503, "Perform TBT, please waiting..."}}) {
        SCOPED_TRACE(row.method);
        item<QRadioButton>(page, row.radio)->click();
        button(213)->click();
        EXPECT_EQ(device->writtenTags().last(), QLatin1String(row.method));
        EXPECT_TRUE(controller.IsOperationRunning());
        EXPECT_EQ(controller.GetOperationCode(), row.expected);
        EXPECT_EQ(result(), QLatin1String(row.progress));
        for (int number : {213, 214, 216, 217})
            EXPECT_FALSE(button(number)->isEnabled()) << number;
        finish(row.expected);
        for (int number : {213, 214, 216, 217})
            EXPECT_TRUE(button(number)->isEnabled()) << number;
    }
    EXPECT_EQ(result(), QLatin1String("TBT Completed."));
}

TEST_F(DiagnosticsPage, AFinishedPstShowsItsResultAndOpensTheSummary)
{
    button(213)->click();
    finish(504);
    EXPECT_EQ(result(), QLatin1String("PST Passed = Passed\nFriction = 6 psi\nLSpringRange = 8 psi\n"
                                      "USpringRange = 24 psi\nBreakAwayPressure = 11.5 psi\nDroop = 1.25 psi\n"
                                      "Time Exhaust = 2.5 sec\nTime Fill = 3.125 sec"));
    EXPECT_EQ(dialogs.modalDialogs, QList<QString>{kSummaryTitle});
}

TEST_F(DiagnosticsPage, LoadingCurvesShowsThemInTheGraph)
{
    button(214)->click();
    EXPECT_EQ(device->writtenTags().last(), QLatin1String("27"));
    finish(527);
    EXPECT_TRUE(result().startsWith(QLatin1String("Performed Time: "))) << result().toStdString();
    button(216)->click();
    EXPECT_EQ(device->writtenTags().last(), QLatin1String("33"));
    finish(533);
    for (int number : {213, 214, 216, 217})
        EXPECT_TRUE(button(number)->isEnabled()) << number;
    EXPECT_EQ(dialogs.messageTexts(), QStringList{});
    EXPECT_EQ(dialogs.modalDialogs, (QList<QString>{kGraphTitle, kGraphTitle}));
}

// No curves to show: a message box with private dialogs, the status line without; no graph.
TEST_F(DiagnosticsPage, MissingCurvesAreToldWhereTheUserLooks)
{
    const struct {
        int button;
        std::int32_t result;
        const char* failingTag;
        const char* text;
    } rows[] = {
        {214, 527, nullptr, "No PST data available!"},
        {216, 533, nullptr, "No ESD data available!"},
        {214, 527, "16039", "Failed when getting PST data!"},
    };
    for (const auto& row : rows) {
        for (const bool messageBoxes : {false, true}) {
            SCOPED_TRACE(testing::Message() << row.text << (messageBoxes ? " with message boxes" : ""));
            device->parameters = Parameters();
            device->parameters["20000"] = com::Variant::boolean(messageBoxes);
            device->failingTags.clear();
            if (row.failingTag)
                device->failingTags[QString::fromLatin1(row.failingTag)] = com::Status::Failure;
            else
                device->parameters["16038"] = device::textVariant(QString());
            status.message.clear();
            dialogs.messages.clear();
            dialogs.modalDialogs.clear();
            button(row.button)->click();
            finish(row.result);
            EXPECT_EQ(dialogs.messageTexts(), messageBoxes ? QStringList{QLatin1String(row.text)} : QStringList{});
            EXPECT_EQ(status.message, messageBoxes ? QString() : QLatin1String(row.text));
            EXPECT_TRUE(dialogs.modalDialogs.isEmpty());
        }
    }
}

// A test that did not run says why in the Test Result, a busy device as busy.
TEST_F(DiagnosticsPage, ATestThatDidNotRunSaysWhyAndFreesTheButtons)
{
    const struct {
        int radio;
        std::int32_t code;
        const char* method;
        const char* text;
    } rows[] = {
        {316, -6, "3", "TBT Canceled."},
        {315, -6, "4", "PST Canceled."},
        {315, -3, "4", "PST Canceled."},
        {315, -2, "4", "Device is busy, please wait a moment!"},
        {316, -2, "3", "Device is busy, please wait a moment!"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.code << " for " << row.method);
        item<QRadioButton>(page, row.radio)->click();
        button(213)->click();
        ASSERT_EQ(device->writtenTags().last(), QLatin1String(row.method));
        finish(row.code, QString::fromLatin1(row.method));
        EXPECT_EQ(result(), QLatin1String(row.text));
        EXPECT_TRUE(button(213)->isEnabled());
    }
}

// A load the device refuses keeps the last result in the Test Result and says why on the status
// line: busy, or no data to load (an ESD event on a device that never tripped).
TEST_F(DiagnosticsPage, ALoadTheDeviceRefusesIsNamedOnTheStatusLine)
{
    const struct {
        int button;
        std::int32_t code;
        const char* method;
        const char* text;
    } rows[] = {
        {214, device::code::Busy, "27", "Device is busy, please wait a moment!"},
        {216, device::code::Busy, "33", "Device is busy, please wait a moment!"},
        {214, -6, "27", "No PST data available!"},
        {216, -6, "33", "No ESD data available!"},
        {216, -1, "33", "No ESD data available!"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.code << " for " << row.method);
        status.message.clear();
        button(row.button)->click();
        ASSERT_EQ(device->writtenTags().last(), QLatin1String(row.method));
        const QString before = result();
        finish(row.code, QString::fromLatin1(row.method));
        EXPECT_EQ(status.message, QLatin1String(row.text));
        EXPECT_EQ(result(), before);
        EXPECT_TRUE(dialogs.modalDialogs.isEmpty());
        EXPECT_TRUE(button(row.button)->isEnabled());
    }
}

TEST_F(DiagnosticsPage, ATestTheDeviceRefusesLocksNothing)
{
    device->failingTags["4"] = com::Status::Failure;
    button(213)->click();
    EXPECT_FALSE(controller.IsOperationRunning());
    EXPECT_TRUE(button(213)->isEnabled());
    EXPECT_TRUE(result().isEmpty());
}

TEST_F(DiagnosticsPage, ResultTextNamesTheResultsUnit)
{
    for (const auto& [unit, word] :
         {std::pair{"12", "kpa"}, std::pair{"7", "bar"}, std::pair{"6", "psi"}, std::pair{"3", "psi"}}) {
        device->parameters["4007"] = device::textVariant(QString::fromLatin1(unit));
        const QString text = views::pstResultText(controller);
        EXPECT_TRUE(text.contains(QStringLiteral("Droop = 1.25 %1\r\n").arg(QLatin1String(word)))) << unit;
        // The times are seconds whatever the pressure unit.
        EXPECT_TRUE(text.endsWith(QLatin1String("\r\nTime Exhaust = 2.5 sec\r\nTime Fill = 3.125 sec"))) << unit;
    }
    device->parameters["16022"] = device::textVariant("2");
    EXPECT_TRUE(views::pstResultText(controller).startsWith(QLatin1String("PST Passed = Failed\r\n")));
}

// The stamp of the last PST against the device's counter now (1000 s).
TEST_F(DiagnosticsPage, PerformedTimeCountsBackFromTheDeviceCounter)
{
    const QDateTime now(QDate(2026, 12, 6), QTime(12, 0));
    struct Row {
        const char* high;
        const char* low;
        const char* expected;
    };
    for (const Row& row : {Row{"0", "400", "11:50"},   // 600 s ago
                           Row{"0", "999", "11:59"},   // 1 s ago
                           Row{"0", "1000", "11:43"},  // stamp equal to the counter: counter seconds ago
                           Row{"1", "0", "11:43"}}) {  // stamp above the counter, likewise
        device->parameters["16033"] = device::textVariant(QString::fromLatin1(row.high));
        device->parameters["16034"] = device::textVariant(QString::fromLatin1(row.low));
        EXPECT_EQ(views::performedTimeLine(controller, now),
                  QStringLiteral("Performed Time: 2026-12-06 %1\r\n").arg(QLatin1String(row.expected)))
            << row.high << ":" << row.low;
    }
}

}  // namespace
