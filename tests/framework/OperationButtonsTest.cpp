#include "framework/OperationButtons.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QWidget>

#include <functional>

using orvx::framework::COperationButtons;

namespace {

using Permission = COperationButtons::Permission;

// A page with the mode button and two buttons of its own, all disabled to begin with.
struct Page {
    explicit Page(Permission now)
        : permission(now), buttons(&window, new QPushButton(&window), [this] { return permission; })
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
    Permission permission;
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

// Buttons 0, 1, 2 as 'bits' has them, but only those that 'kept' has too.
QString both(const char* bits, const char* kept)
{
    QString result;
    for (int i = 0; bits[i] && kept[i]; ++i)
        result += bits[i] == '1' && kept[i] == '1' ? QLatin1Char('1') : QLatin1Char('0');
    return result;
}

TEST(OperationButtons, EnableOnlyWhatTheMaskSaysAndNothingForAUserWhoMayNotOperateOrWhileAnOperationRuns)
{
    const struct {
        const char* who;
        Permission now;
        std::uint8_t keptForRun;  // locked by the page's own start with these kept
        const char* allowed;      // the buttons any step may enable
    } cases[] = {
        {"may operate", {true, false, false}, 0, "111"},
        {"may not operate", {false, false, false}, 0, "000"},
        {"another page's operation runs", {true, true, false}, 0b100, "000"},
        {"its own operation runs", {true, true, true}, 0, "000"},
        {"its own operation runs, button 2 kept", {true, true, true}, 0b100, "001"},
        {"may not operate, button 2 kept", {false, true, true}, 0b100, "000"},
    };
    for (const auto& c : cases) {
        for (const Step& step : kSteps) {
            Page page(c.now);
            page.buttons.Lock(c.keptForRun);
            step.act(page.buttons);
            EXPECT_EQ(page.enabled(), both(step.forOperator, c.allowed)) << step.name << ": " << c.who;
        }
    }
}

TEST(OperationButtons, TheRunningPageKeepsOnlyTheButtonsItKeptThatWereEnabled)
{
    Page page({true, false, false});
    page.buttons.Apply(0b011, true);
    page.buttons.Record();
    page.permission = {true, true, true};  // the page's operation was taken by the device
    page.buttons.Lock(0b110);
    EXPECT_EQ(page.enabled(), QStringLiteral("010")) << "button 2 was not enabled before the run";
    page.permission = {true, false, false};  // the result
    page.buttons.Reapply();
    EXPECT_EQ(page.enabled(), QStringLiteral("110"));
}

}  // namespace
