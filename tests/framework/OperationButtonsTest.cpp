#include "framework/OperationButtons.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QWidget>

#include <functional>

using orvx::framework::COperationButtons;

namespace {

// A page with the mode button and two buttons of its own, all disabled to begin with.
struct Page {
    explicit Page(bool mayOperate) : buttons(&window, new QPushButton(&window), [=] { return mayOperate; })
    {
        buttons.Add(new QPushButton(&window));
        buttons.Add(new QPushButton(&window));
        buttons.SetAllEnabled(false);
    }
    QString enabled() const
    {
        QString bits;
        for (const auto& button : buttons.Windows())
            bits += button->isEnabledTo(&window) ? QLatin1Char('1') : QLatin1Char('0');
        return bits;
    }
    QWidget window;
    COperationButtons buttons;
};

struct Step {
    const char* name;
    std::function<void(COperationButtons&)> act;
    const char* forOperator;  // buttons 0, 1, 2 afterwards; a user who may not operate sees "000"
};

// Every way of enabling a button; none of them may enable one for a user who may not operate.
const Step kSteps[] = {
    {"apply forced", [](COperationButtons& b) { b.Apply(0b101, true); }, "101"},
    {"apply a new mask", [](COperationButtons& b) { b.Apply(0b010); }, "010"},
    {"apply the same mask unforced does nothing", [](COperationButtons& b) { b.Apply(0b001); }, "000"},
    {"mode button", [](COperationButtons& b) { b.EnableModeButton(); }, "100"},
    {"mode button only",
     [](COperationButtons& b) {
         b.SetAllEnabled(true);
         b.KeepModeButtonOnly();
     },
     "100"},
    {"all", [](COperationButtons& b) { b.SetAllEnabled(true); }, "111"},
};

TEST(OperationButtons, EnableOnlyWhatTheMaskSaysAndNothingForAUserWhoMayNotOperate)
{
    for (const Step& step : kSteps) {
        Page writer(true);
        step.act(writer.buttons);
        EXPECT_EQ(writer.enabled(), QString::fromLatin1(step.forOperator)) << step.name;

        Page observer(false);
        step.act(observer.buttons);
        EXPECT_EQ(observer.enabled(), QStringLiteral("000")) << step.name << " (may not operate)";
    }
}

}  // namespace
