// What the user is told when a page refuses an entry: the status line says why whether message
// boxes are allowed or not, so that no refusal is silent, and a box says it too when they are.

#include "framework/ApplicationViewBase.h"
#include "support/PageFixture.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include <tuple>

using namespace orvx;

namespace {

class Refusals;

// One entry a page refuses: the view, the mode it is shown in, what the user does, and why it
// is refused.
struct RefusalRow {
    const char* what;
    std::int32_t view;
    const char* mode;  // "1000": 0 setup, 1 manual
    void (*act)(Refusals&);
    const char* refusal;
};

void PrintTo(const RefusalRow& row, std::ostream* os)
{
    *os << row.what;
}

class Refusals : public test::PageFixture<>, public ::testing::WithParamInterface<std::tuple<RefusalRow, bool>> {
public:
    void type(int number, const char* text) const
    {
        auto* edit = item<QLineEdit>(page, number);
        edit->setText(QString::fromLatin1(text));
        edit->setModified(true);
    }
    void leave(int number, const char* text) const { enter(page, number, QString::fromLatin1(text)); }
    void click(int number) const { item<QPushButton>(page, number)->click(); }
    void checkBeforeLeaving() const { page->CheckValid(-1); }

protected:
    test::DeviceParameters Parameters() const override
    {
        return ConnectedDevice({{"1009", "0"},
                                {"4003", "6"},
                                {"4007", "6"},
                                {"9000", "50"},
                                {"2003", "42"},
                                {"10000", "100"},
                                {"10001", "0"},
                                {"10002", "0"},
                                {"5005", "40"},
                                {"5006", "100"},
                                {"16005", "2"},
                                {"16006", "15"},
                                {"16012", "7"},
                                {"16013", "1"},
                                {"16014", "30"}});
    }
    void SetUp() override
    {
        PageFixture::SetUp();
        controller.SetTextProvider(&texts);  // as the control does when it starts
        controller.SetStatusArea(&status, nullptr);
        splitter.parent.show();
    }

    framework::CApplicationViewBase* page = nullptr;
};

const RefusalRow kRows[] = {
    {"a setpoint out of range", 16, "1",
     [](Refusals& t) {
         t.type(210, "150");
         t.click(215);
     },
     "Manual SetPoint value must be within 0 and 100."},
    {"an analog output out of range", 17, "1",
     [](Refusals& t) {
         t.type(206, "2");
         t.click(213);
     },
     "Analog Output value must be within 3.2 and 22 or 0 for normal mode."},
    {"an aggressiveness out of range", 12, "0",
     [](Refusals& t) {
         t.click(213);
         t.type(287, "10");
         t.click(214);
     },
     "Aggressiveness value must be within -9 and 9."},
    {"a tuning entry out of range", 13, "0",
     [](Refusals& t) {
         t.leave(206, "5001");
         t.click(213);
     },
     "P of PID parameters value must be within 0 and 5000"},
    {"supply limits the wrong way round", 7, "0",
     [](Refusals& t) {
         t.leave(214, "100");
         t.leave(215, "90");
         t.checkBeforeLeaving();
     },
     "Supply Limit Low must be less than Supply Limit High."},
    {"a retransmitter range too narrow", 17, "1",
     [](Refusals& t) {
         t.leave(209, "50");
         t.leave(208, "52");
         t.checkBeforeLeaving();
     },
     "Retransmitter Range High must be more than Retransmitter Range Low by at least 5%."},
    {"friction limits in conflict", 1, "0",
     [](Refusals& t) {
         t.leave(216, "5");
         t.leave(217, "5");
         t.click(311);
     },
     "Friction Low Limit must be less than Friction High Limit."},
};

TEST_P(Refusals, TheStatusLineAlwaysSaysWhyAndABoxToo)
{
    const auto& [row, messageBoxes] = GetParam();
    device->parameters["1000"] = device::textVariant(QString::fromLatin1(row.mode));
    device->parameters["20000"] = com::Variant::boolean(messageBoxes);
    page = showPage(row.view);
    ASSERT_NE(page, nullptr);
    row.act(*this);
    const QString refusal = QString::fromLatin1(row.refusal);
    EXPECT_EQ(status.message, refusal);
    EXPECT_EQ(dialogs.messageTexts(), messageBoxes ? QStringList{refusal} : QStringList());
    EXPECT_FALSE(controller.IsOperationRunning()) << "nothing refused starts";
}

INSTANTIATE_TEST_SUITE_P(EveryRefusal, Refusals, ::testing::Combine(::testing::ValuesIn(kRows), ::testing::Bool()),
                         [](const auto& info) {
                             QString name = QString::fromLatin1(std::get<0>(info.param).what);
                             name.replace(QLatin1Char(' '), QLatin1Char('_'));
                             return (name + (std::get<1>(info.param) ? "_with_boxes" : "_without")).toStdString();
                         });

}  // namespace
