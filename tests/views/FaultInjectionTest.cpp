// A business object that goes wrong once: every page is shown and each of its buttons pressed
// while one call of the device fails, throws or answers a value no page expects, each call in
// turn. Nothing escapes, nothing is written that the healthy run did not write, the failure is
// shown, and the page works again once the device does.

#include "controls/DtmControlBase.h"
#include "device/StringBridge.h"
#include "framework/ApplicationViewBase.h"
#include "support/Campaign.h"
#include "support/PageFixture.h"

#include <gtest/gtest.h>

#include <QPushButton>

#include <algorithm>
#include <set>

using namespace orvx;

namespace {

using test::Fault;

const Fault kFaults[] = {
    {Fault::Fails, com::Status::Failure},
    {Fault::Fails, com::Status::AccessDenied},
    {Fault::Fails, com::Status::InvalidArgument},
    {Fault::Fails, com::Status::TypeMismatch},
    {Fault::Fails, com::Status::Overflow},
    {Fault::Fails, com::Status::NotImplemented},
    {Fault::Fails, static_cast<com::Status>(0x8000FFFFu)},  // a status nobody named
    {Fault::Fails, com::Status::False},                     // success that delivers nothing
    {Fault::Throws},
    {Fault::ThrowsForeign},
    {Fault::Empty},
    {Fault::Malformed},
};

// Whether the fault leaves the user something to see: a value that merely looks odd shows as it is.
bool mustBeShown(const Fault& fault)
{
    return (fault.kind == Fault::Fails && com::failed(fault.status)) || fault.kind == Fault::Throws ||
           fault.kind == Fault::ThrowsForeign;
}

QString describe(const Fault& fault)
{
    switch (fault.kind) {
    case Fault::Fails: return QString::fromLatin1(com::statusName(fault.status));
    case Fault::Throws: return QStringLiteral("exception");
    case Fault::ThrowsForeign: return QStringLiteral("foreign exception");
    case Fault::Empty: return QStringLiteral("empty value");
    case Fault::Malformed: return QStringLiteral("malformed value");
    }
    return {};
}

const QStringList kFaultable = {QStringLiteral("GetParameter"), QStringLiteral("SetParameter"),
                                QStringLiteral("GetText")};

// What the user sees of the device's failures: the status line's messages, the message boxes,
// and each control showing a semantic error.
struct Seen {
    QStringList messages;
    QStringList boxes;
    std::set<std::pair<std::int32_t, QString>> errors;
    bool operator==(const Seen&) const = default;
};

// What a run left behind.
struct Outcome {
    QStringList calls;                  // the calls that can go wrong: "GetParameter 1000", ...
    std::set<QString> writes;           // "tag=value"
    QList<Seen> seen;                   // after each step of the work
    int faultedStep = -1;               // the step in which the fault struck
    std::uint8_t buttonsAfterRecovery;  // the operation buttons after a second, healthy pass
    bool operationRunning;
    QString escaped;  // what was thrown out of the page, if anything
};

// One main view over a fake device in the given mode, made afresh for each run.
class Rig : public test::MainViewFixture {
public:
    // Every parameter the pages read has a value: a read fails only when the fault says so.
    explicit Rig(const char* mode) : m_mode(mode)
    {
        SetUp();
        device->otherParameters = device::textVariant(QStringLiteral("0"));
    }
    ~Rig() override { TearDown(); }
    void TestBody() override {}

    // Shows the view and presses each enabled push button of its page in turn (the operation
    // buttons first), the device answering each operation that starts; then the device sends
    // fresh values.
    void work(std::int32_t view, Outcome& outcome)
    {
        const auto stepDone = [&] {
            outcome.seen.append(seen(view));
            if (outcome.faultedStep < 0 && device->faultedCall)
                outcome.faultedStep = int(outcome.seen.size()) - 1;
        };
        framework::CApplicationViewBase* page = showPage(view);
        QCoreApplication::processEvents();
        stepDone();
        if (!page)
            return;
        QList<QPushButton*> buttons;
        for (QWidget* window : page->MethodWindows())
            if (auto* button = qobject_cast<QPushButton*>(window))
                buttons.append(button);
        for (QPushButton* button : page->Surface()->findChildren<QPushButton*>())
            if (!buttons.contains(button))
                buttons.append(button);
        for (QPushButton* button : buttons) {
            if (!button->isEnabled() || !button->isVisible())
                continue;
            button->click();
            QCoreApplication::processEvents();
            if (controller.IsOperationRunning())
                deliver(controller.GetOperationCode());
            stepDone();
        }
        deliver(524);
        stepDone();
    }

    // What the user sees now.
    Seen seen(std::int32_t view)
    {
        Seen now{status.messages, dialogs.messageTexts(), {}};
        if (auto* page = dynamic_cast<framework::CApplicationViewBase*>(controller.GetView(view)))
            page->ForEachControl([&](controls::IFdtControl& control) {
                if (auto* bound = dynamic_cast<controls::CDtmControlBase*>(&control);
                    bound && bound->HasSemanticError())
                    now.errors.insert({bound->GetControlId(), bound->SemanticErrorText()});
            });
        return now;
    }

    Outcome run(std::int32_t view)
    {
        Outcome outcome;
        const qsizetype logged = device->calls.size();
        try {
            work(view, outcome);
        } catch (const std::exception& error) {
            outcome.escaped = QString::fromLocal8Bit(error.what());
        } catch (...) {
            outcome.escaped = QStringLiteral("an exception of unknown type");
        }
        for (const test::Call& call : device->calls.mid(logged)) {
            if (kFaultable.contains(call.operation))
                outcome.calls.append(call.operation + ' ' + call.argument);
            if (call.operation == QLatin1String("SetParameter"))
                outcome.writes.insert(call.argument + '=' + device::variantText(call.value));
        }

        // The device is healthy again and says so, and the user tries once more: the page must
        // be as a healthy run leaves it.
        device->faultAt = -1;
        deliver(500);
        deliver(526);
        Outcome again;
        work(view, again);
        outcome.operationRunning = controller.IsOperationRunning();
        auto* page = dynamic_cast<framework::CApplicationViewBase*>(controller.GetView(view));
        outcome.buttonsAfterRecovery = page ? enabledButtons(*page) : 0;
        return outcome;
    }

    using PageFixture::device;

private:
    test::DeviceParameters Parameters() const override
    {
        test::DeviceParameters parameters = MainViewFixture::Parameters();
        parameters[QStringLiteral("1000")] = device::textVariant(QString::fromLatin1(m_mode));
        return parameters;
    }

    const char* m_mode;
};

class FaultInjection : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(FaultInjection, EveryCallOfTheDeviceFailingInTurnIsSurvivedShownAndWritesNothingMore)
{
    const std::int32_t view = GetParam();
    const bool full = test::fullCampaigns();
    int runs = 0;
    std::size_t healthyWrites = 0;
    QStringList problems;
    for (const char* mode : {"0", "1", "3"}) {
        Outcome healthy;
        {
            Rig rig(mode);
            healthy = rig.run(view);
        }
        ASSERT_TRUE(healthy.escaped.isEmpty()) << "view " << view << " mode " << mode;
        healthyWrites += healthy.writes.size();
        for (int at = 0; at < healthy.calls.size(); ++at) {
            // Every fault at every call, or one fault per call in turn.
            for (std::size_t f = 0; f < std::size(kFaults); ++f) {
                if (!full && f != (std::size_t(at) + std::size_t(view)) % std::size(kFaults))
                    continue;
                const Fault& fault = kFaults[f];
                Rig rig(mode);
                rig.device->faultAt = rig.device->faultableCalls + at;
                rig.device->fault = fault;
                const Outcome faulty = rig.run(view);
                ++runs;
                const QString where = QStringLiteral("view %1, mode %2, call %3 (%4) %5")
                                          .arg(view)
                                          .arg(QString::fromLatin1(mode))
                                          .arg(at)
                                          .arg(healthy.calls[at], describe(fault));
                const auto problem = [&](const QString& what) { problems.append(where + QStringLiteral(": ") + what); };
                if (!rig.device->faultedCall)
                    problem(QStringLiteral("the call was not made"));
                if (!faulty.escaped.isEmpty())
                    problem(QStringLiteral("escaped: ") + faulty.escaped);
                for (const QString& write : faulty.writes)
                    if (!healthy.writes.count(write))
                        problem(QStringLiteral("wrote ") + write);
                if (mustBeShown(fault) && faulty.faultedStep >= 0 &&
                    faulty.seen.value(faulty.faultedStep) == healthy.seen.value(faulty.faultedStep))
                    problem(QStringLiteral("nothing shown"));
                if (faulty.operationRunning)
                    problem(QStringLiteral("an operation still runs"));
                if (faulty.buttonsAfterRecovery != healthy.buttonsAfterRecovery)
                    problem(QStringLiteral("operation buttons %1 instead of %2")
                                .arg(faulty.buttonsAfterRecovery)
                                .arg(healthy.buttonsAfterRecovery));
            }
        }
    }
    test::reportCampaign("view %d: %d runs, each with one call of the device going wrong (%zu writes when healthy)",
                         view, runs, healthyWrites);
    EXPECT_TRUE(problems.isEmpty()) << problems.size() << " problems:\n" << problems.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Pages, FaultInjection, ::testing::Range(0, 24),
                         [](const auto& info) { return "View" + std::to_string(info.param); });

}  // namespace
