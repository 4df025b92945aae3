#include "EsdPage.h"

#include "PstResultText.h"
#include "PstSchedule.h"
#include "controls/Conversions.h"
#include "controls/DtmButtonControl.h"
#include "controls/DtmTextControl.h"
#include "device/DeviceNames.h"
#include "device/StringBridge.h"
#include "diagnostics/GraphLoading.h"
#include "diagnostics/PSTSummary.h"
#include "diagnostics/PstHistoryWindow.h"
#include "framework/FailureText.h"
#include "frameworkapi/IUIController.h"
#include "frameworkapi/ParameterRead.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/PostCall.h"
#include "platform/ui/ReadOnlyLook.h"

#include <QDateTimeEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <algorithm>
#include <array>
#include <utility>

namespace orvx::views {

namespace {

using device::code::resultOf;
namespace method = device::method;
using framework::PageField;
using enum framework::FieldKind;

const QString kCaption = QStringLiteral("Orvx ESD HART");

// The PST settings are controls 10 to 21, the interval control 22.
constexpr std::int32_t kFirstSetting = 10;
constexpr std::int32_t kLastSetting = 21;
constexpr std::int32_t kFrictionLow = 15;
constexpr std::int32_t kFrictionHigh = 16;
constexpr std::int32_t kInterval = 22;
// The two Apply buttons are no device controls; their operations are sent under these ids.
constexpr std::int32_t kApplySettingsControl = 26;
constexpr std::int32_t kApplyScheduleControl = 27;
constexpr std::int32_t kPressures[] = {11, kFrictionLow, kFrictionHigh, 17, 18};

constexpr QLatin1StringView kNewSchedulePending = device::tag::NewSchedulePending;
constexpr QLatin1StringView kIntervalTag = device::tag::PstInterval;
constexpr QLatin1StringView kDaysToNext = device::tag::PstDaysToNext;
constexpr QLatin1StringView kMinutesToNext = device::tag::PstMinutesToNext;
// The same on every page with tests; no device control.
constexpr int kPstHistoryItem = 466;

// The PST settings with the page's own items for the friction limits.
constexpr std::array<PageField, 12> settingsFields(int frictionLow, int frictionHigh)
{
    return {{
        {.controlId = 10, .kind = Text, .item = 227, .caption = "PST Travel (%)"},
        {.controlId = 11, .kind = Text, .item = 228, .caption = "Minimum Pressure", .unit = framework::kUnnumbered},
        {.controlId = 12, .kind = Text, .item = 229, .caption = "Maximum Time (s)"},
        {.controlId = 13, .kind = Text, .item = 230, .caption = "PST Speed (%/s)"},
        {.controlId = 14, .kind = Text, .item = 231, .caption = "Dwell Time (s)"},
        {.controlId = kFrictionLow,
         .kind = Text,
         .item = frictionLow,
         .caption = "Friction Low Limit",
         .unit = framework::kUnnumbered},
        {.controlId = kFrictionHigh,
         .kind = Text,
         .item = frictionHigh,
         .caption = "Friction High Limit",
         .unit = framework::kUnnumbered},
        {.controlId = 17, .kind = Text, .item = 232, .caption = "Breakout Limit", .unit = framework::kUnnumbered},
        {.controlId = 18, .kind = Text, .item = 233, .caption = "Droop Limit", .unit = framework::kUnnumbered},
        {.controlId = 19, .kind = Check, .item = 234, .caption = "Freeze DO"},
        {.controlId = 20, .kind = Check, .item = 235, .caption = "Freeze AO"},
        {.controlId = 21, .kind = Check, .item = 236, .caption = "Enable Schedule"},
    }};
}

// The user's short date, two blanks and the user's time without its seconds; the fixed form
// when the seconds cannot be taken out.
QString dateTimeFormat()
{
    const QLocale locale;
    QString time = locale.timeFormat(QLocale::ShortFormat);
    const int seconds = time.indexOf(QLatin1String(":ss"));
    if (seconds >= 0)
        time.remove(seconds, 3);
    else if (time.contains(QLatin1String("ss")))
        return QStringLiteral("yyyy-MM-dd HH:mm");
    return locale.dateFormat(QLocale::ShortFormat) + QLatin1String("  ") + time;
}

const QString kFrictionLimitsConflict = QStringLiteral("Friction Low Limit must be less than Friction High Limit.");

bool frictionLimitsAgree(double low, double high)
{
    return high > low;
}

QString shownDateTime(const QDateTime& moment)
{
    return QLocale().toString(moment, dateTimeFormat());
}

// The moment's minute, its seconds dropped.
QDateTime minuteOf(const QDateTime& moment)
{
    QDateTime minute = moment;
    minute.setTime(QTime(moment.time().hour(), moment.time().minute()));
    return minute;
}

// The first whole minute at or after the moment: the picker shows no seconds, so it holds none
// either, and the test starts at the minute the user sees.
QDateTime firstWholeMinute(const QDateTime& moment)
{
    const QDateTime minute = minuteOf(moment);
    return minute < moment ? minute.addSecs(60) : minute;
}

}  // namespace

CEsdPage::CEsdPage(int viewSettingResource)
    : CResourcePage(viewSettingResource),
      m_frictionLimits(*this, kFrictionLow, kFrictionHigh, frictionLimitsAgree, kFrictionLimitsConflict,
                       {[this] { return Controller() && Controller()->FrictionLimitsValid(); },
                        [this](bool valid) {
                            if (Controller())
                                Controller()->SetFrictionLimitsValid(valid);
                        }})
{
}

QWidget* CEsdPage::BuildSettings(QWidget* parent, const SettingsItems& items)
{
    auto* group = new QGroupBox(QStringLiteral("PST settings"), parent);
    auto* grid = new QGridLayout(group);
    static_assert(settingsFields(0, 0).size() == kLastSetting - kFirstSetting + 1);
    const auto fields = settingsFields(items.frictionLow, items.frictionHigh);
    Fields().AddRows(grid, group, fields);
    m_applySettings = ui::makeButton(group, items.applySettings, QStringLiteral("Apply"));
    SetToolTip(m_applySettings, QStringLiteral("Send the PST settings to the positioner"));
    connect(m_applySettings, &QPushButton::clicked, this,
            [this] { ui::runGuarded("Apply PST settings", [this] { ApplySettings(); }); });
    grid->addWidget(m_applySettings, grid->rowCount(), 2, Qt::AlignRight);
    return group;
}

QWidget* CEsdPage::BuildSchedule(QWidget* parent, const SettingsItems& items)
{
    auto* group = new QGroupBox(QStringLiteral("PST schedule"), parent);
    auto* grid = new QGridLayout(group);
    const PageField interval{
        .controlId = kInterval, .kind = Text, .item = items.interval, .caption = "PST Interval (days)"};
    Fields().AddRows(grid, group, std::span(&interval, 1));
    m_intervalEdit = Fields().Widgets(kInterval)->as<QLineEdit>();
    connect(m_intervalEdit, &QLineEdit::textEdited, this, [this] { m_intervalEdited = true; });

    int row = grid->rowCount();
    m_nextPst = ui::makeItem<QLineEdit>(group, items.nextPst);
    m_nextPst->setReadOnly(true);
    ui::followReadOnlyLook(m_nextPst);
    grid->addWidget(new QLabel(QStringLiteral("Next scheduled PST"), group), row, 1);
    grid->addWidget(m_nextPst, row++, 2);

    m_picker = ui::makeItem<QDateTimeEdit>(group, items.picker);
    m_picker->setCalendarPopup(true);
    m_picker->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    m_picker->setDisplayFormat(dateTimeFormat());
    m_picker->setDateTime(firstWholeMinute(ui::currentDateTime()));
    connect(m_picker, &QDateTimeEdit::dateTimeChanged, this,
            [this] { ui::runGuarded("new PST schedule", [this] { Send(kNewSchedulePending, 1); }); });
    grid->addWidget(new QLabel(QStringLiteral("New PST schedule"), group), row, 1);
    grid->addWidget(m_picker, row++, 2);

    auto* hint = ui::makeItem<QLabel>(group, items.hint);
    hint->setText(QStringLiteral("Please press Apply button to set New PST schedule."));
    hint->setStyleSheet(QStringLiteral("color: red; background: transparent;"));
    m_applySchedule = ui::makeButton(group, items.applySchedule, QStringLiteral("Apply"));
    SetToolTip(m_applySchedule, QStringLiteral("Send the new PST schedule to the positioner"));
    // The picker is usable exactly when Apply (schedule) is.
    m_applySchedule->installEventFilter(this);
    connect(m_applySchedule, &QPushButton::clicked, this,
            [this] { ui::runGuarded("Apply PST schedule", [this] { ApplySchedule(); }); });
    grid->addWidget(hint, row, 1, 1, 2);
    grid->addWidget(m_applySchedule, row + 1, 2, Qt::AlignRight);
    m_nextPst->setText(shownDateTime(ui::currentDateTime()));
    return group;
}

QWidget* CEsdPage::BuildTests(QWidget* parent, const TestItems& items)
{
    m_firstTestControl = items.firstControl;
    auto* group = new QGroupBox(QStringLiteral("Diagnostics"), parent);
    auto* grid = new QGridLayout(group);
    m_performPst = ui::makeItem<QRadioButton>(group, items.performPst);
    m_performPst->setText(QStringLiteral("Perform &PST"));
    m_performPst->setChecked(true);
    m_performTbt = ui::makeItem<QRadioButton>(group, items.performTbt);
    m_performTbt->setText(QStringLiteral("Perform &TBT"));
    const PageField buttons[] = {
        {.controlId = m_firstTestControl, .kind = Button, .item = items.perform, .caption = "Perform Diagnostics"},
        {.controlId = m_firstTestControl + 1, .kind = Button, .item = items.loadPst, .caption = "Load Current PST"},
        {.controlId = m_firstTestControl + 2, .kind = Button, .item = items.loadEsd, .caption = "Load ESD Data"},
    };
    m_perform = Fields().Make(group, buttons[0]).field;
    m_loadPst = Fields().Make(group, buttons[1]).field;
    m_loadEsd = Fields().Make(group, buttons[2]).field;
    // The test choice is usable exactly when Perform Diagnostics is.
    m_perform->installEventFilter(this);
    m_fromFile = ui::makeButton(group, items.fromFile, QStringLiteral("Load From File"));
    connect(m_fromFile, &QPushButton::clicked, this,
            [this] { ui::runGuarded("Load From File", [this] { diagnostics::showRecordFromFile(this); }); });

    auto* history = ui::makeButton(group, kPstHistoryItem, QStringLiteral("PST &History..."));
    connect(history, &QPushButton::clicked, this, [this] {
        ui::runGuarded("PST History", [this] {
            if (framework::IUIController* controller = Controller())
                diagnostics::showDevicePstHistory(*controller, this);
        });
    });

    grid->addWidget(m_performPst, 0, 0);
    grid->addWidget(m_performTbt, 1, 0);
    grid->addWidget(m_perform, 0, 1, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
    auto* loads = new QHBoxLayout;
    for (QWidget* button : {m_loadPst, m_loadEsd, static_cast<QWidget*>(m_fromFile), static_cast<QWidget*>(history)})
        loads->addWidget(button);
    loads->addStretch(1);
    grid->addLayout(loads, 2, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Test Result"), group), 3, 0);
    m_result = ui::makeItem<QPlainTextEdit>(group, items.result);
    m_result->setReadOnly(true);
    ui::followReadOnlyLook(m_result);
    m_result->setMinimumHeight(140);
    grid->addWidget(m_result, 4, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    return group;
}

void CEsdPage::CreateControls()
{
    if (HasSettings()) {
        for (std::int32_t id : kPressures)
            m_pressureUnit.AddEntry(Fields().Get<controls::CDtmTextControl>(id));
        m_frictionLimits.Watch(Fields().Get<controls::CDtmTextControl>(kFrictionLow),
                               Fields().Get<controls::CDtmTextControl>(kFrictionHigh));
    }
    // The interval is followed once the field has committed it: the picker's range comes from
    // the interval the device holds.
    if (auto* interval = Fields().Get<controls::CDtmTextControl>(kInterval))
        interval->AddLeaveCheck([this] { IntervalLeft(); });
    if (!HasTests())
        return;
    Fields().Get<controls::CDtmButtonControl>(m_firstTestControl)->SetClickFilter([this] {
        return PerformDiagnostics();
    });
    for (const auto& [controlId, operation] : {std::pair{m_firstTestControl + 1, method::LoadPstData},
                                               std::pair{m_firstTestControl + 2, method::LoadEsdEvents}})
        Fields().Get<controls::CDtmButtonControl>(controlId)->SetClickFilter([this, id = controlId, m = operation] {
            StartOperation(id, m);
            return false;  // sent by the page
        });
}

void CEsdPage::Activate()
{
    CResourcePage::Activate();
    if (!HasSettings())
        return;
    FollowPressureUnit();
    SetPickerRange();
    ShowNextPst();
}

void CEsdPage::OnUpdate(std::int32_t code, const QString& text)
{
    CResourcePage::OnUpdate(code, text);
    if (HasSettings())
        OnSettingsUpdate(code);
    if (HasTests())
        OnTestUpdate(code, text);
    if (device::code::isFailure(code))
        ShowRefusedOperation(code, text.trimmed());
}

void CEsdPage::OnSettingsUpdate(std::int32_t code)
{
    switch (code) {
    case device::code::DataReloaded:
        FollowPressureUnit();
        ShowNextPst();
        return;
    case device::code::DataRefreshed: FollowPressureUnit(); return;
    case resultOf(method::WritePstSchedule):
        ShowNextPst();
        Send(kNewSchedulePending, 1);
        ApplyButtons(EnableMask(), true);
        RefreshControls(kInterval);
        return;
    case resultOf(method::ApplyPstSettings):
        ApplyButtons(EnableMask(), true);
        RefreshControlRange(kFirstSetting, kLastSetting);
        return;
    default: return;
    }
}

void CEsdPage::ClearInvalid()
{
    CResourcePage::ClearInvalid();
    if (HasSettings())
        Send(kNewSchedulePending, 0);
}

void CEsdPage::FollowButton(const QWidget* button)
{
    if (button == m_applySchedule && m_picker)
        m_picker->setEnabled(m_applySchedule->isEnabled());
    if (button == m_perform && m_performPst && m_performTbt) {
        m_performPst->setEnabled(m_perform->isEnabled());
        m_performTbt->setEnabled(m_perform->isEnabled());
    }
}

bool CEsdPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event && event->type() == QEvent::EnabledChange)
        FollowButton(qobject_cast<QWidget*>(watched));
    return CResourcePage::eventFilter(watched, event);
}

void CEsdPage::ApplySettings()
{
    // An entry still marked invalid is named again instead; nothing is sent.
    if (!EntriesValid(kFirstSetting, kInterval) || !m_frictionLimits.Verify())
        return;
    StartOperation(kApplySettingsControl, method::ApplyPstSettings);
}

void CEsdPage::ApplySchedule()
{
    // The schedule is written before its command: nothing is written unless the command may go.
    if (!EntriesValid(kInterval, kInterval) || !MayStartOperation())
        return;
    framework::IUIController* controller = Controller();
    // The interval divides below: anything but a whole number of days from 1 on is refused.
    const std::int32_t interval = ReadInterval().value_or(0);
    if (interval < 1) {
        Refuse(QStringLiteral("The PST interval must be a whole number of days, 1 or more; the schedule was not "
                              "sent."));
        return;
    }
    const QDateTime now = ui::currentDateTime();
    QDateTime chosen = m_picker->dateTime();
    if (chosen < now) {
        if (controller->IsPrivateDialogEnabled() &&
            ui::showMessage(this, kCaption,
                            QStringLiteral("The selected next PST time has been past. \r\nDo you want set the Next "
                                           "PST to CURRENT?"),
                            ui::MessageButtons::YesNo, ui::MessageIcon::Question) != ui::DialogAnswer::Yes)
            return;
        chosen = now.addSecs(1);
        const QSignalBlocker quiet(m_picker);
        m_picker->setDateTime(chosen);
    }
    const PstSchedule schedule = computePstSchedule(chosen, now, interval);
    try {
        for (const auto& [tag, value] : {std::pair{device::tag::PstStartDay, schedule.dayIndex},
                                         std::pair{device::tag::PstStartMinute, schedule.minuteOfDay},
                                         std::pair{device::tag::PstElapsedDays, schedule.remainingDays},
                                         std::pair{device::tag::PstElapsedMinutes, schedule.remainingMinutes}})
            controller->SetParameterValue(tag, com::Variant::integer(value));
    } catch (const std::exception& error) {
        ShowFailure(QStringLiteral("The PST schedule could not be sent: %1").arg(QString::fromLocal8Bit(error.what())));
        return;
    }
    StartOperation(kApplyScheduleControl, method::WritePstSchedule);
}

void CEsdPage::IntervalLeft()
{
    SetPickerRange();
    if (std::exchange(m_intervalEdited, false))
        Send(kNewSchedulePending, 1);
}

void CEsdPage::SetPickerRange()
{
    if (!m_picker)
        return;
    const std::optional<std::int32_t> days = ReadInterval();
    if (!days)
        return;  // the range stays as it was
    const QDateTime now = ui::currentDateTime();
    const QSignalBlocker quiet(m_picker);
    m_picker->setDateTimeRange(firstWholeMinute(now), minuteOf(now.addDays(*days)));
}

std::optional<std::int32_t> CEsdPage::ReadInterval() const
{
    return framework::readParameter(Controller(), kIntervalTag, [](const com::Variant& value) {
        return controls::CConversions::to_int(device::variantText(value).trimmed());
    });
}

void CEsdPage::FollowPressureUnit()
{
    if (const auto unit = controls::CPressureUnitFollower::ReadUnit(Controller(), device::tag::PressureUnit))
        m_pressureUnit.Follow(*unit);
}

void CEsdPage::ShowNextPst()
{
    const auto read = [this](QLatin1StringView tag) {
        return framework::readParameter(Controller(), tag, &com::Variant::toInt32);
    };
    const auto days = read(kDaysToNext);
    const auto minutes = days ? read(kMinutesToNext) : std::nullopt;
    // A time that cannot be read shows none rather than the last one; the status line says why.
    m_nextPst->setText(days && minutes
                           ? shownDateTime(ui::currentDateTime().addSecs(qint64(*days) * 86400 + qint64(*minutes) * 60))
                           : QString());
}

void CEsdPage::Send(QLatin1StringView tag, std::int32_t value)
{
    framework::IUIController* controller = Controller();
    if (!controller || !controller->IsWritable())
        return;
    try {
        controller->SetParameterValue(tag, com::Variant::integer(value));
    } catch (const std::exception& error) {
        ShowFailure(QString::fromLocal8Bit(error.what()));
    }
}

bool CEsdPage::PerformDiagnostics()
{
    const bool pst = m_performPst->isChecked();
    if (StartOperation(m_firstTestControl, pst ? method::PartialStrokeTest : method::TerminalBoardTest))
        ShowResult(pst ? QStringLiteral("Perform PST, please waiting...")
                       : QStringLiteral("Perform TBT, please waiting..."));
    return false;  // sent by the page
}

void CEsdPage::ShowResult(const QString& text)
{
    QString shown = text;
    m_result->setPlainText(shown.replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

void CEsdPage::ShowTestResult(bool withPerformedTime)
{
    framework::IUIController* controller = Controller();
    if (!controller)
        return;
    try {
        QString text = pstResultText(*controller);
        if (withPerformedTime)
            text.prepend(performedTimeLine(*controller, ui::currentDateTime()));
        ShowResult(text);
    } catch (const std::exception& error) {
        ShowFailure(QStringLiteral("The test result could not be read: %1").arg(QString::fromUtf8(error.what())));
    }
}

void CEsdPage::OnTestUpdate(std::int32_t code, const QString& text)
{
    const auto restoreButtons = [this] { ApplyButtons(EnableMask(), true); };
    // The windows open once the notification has been handled.
    const auto later = [this](std::function<void(framework::IUIController&)> call) {
        ui::postCall(this, [this, call] {
            if (framework::IUIController* controller = Controller())
                call(*controller);
        });
    };
    switch (code) {
    case resultOf(method::TerminalBoardTest):
        restoreButtons();
        ShowResult(QStringLiteral("TBT Completed."));
        return;
    case resultOf(method::PartialStrokeTest):
        restoreButtons();
        ShowTestResult(false);
        later([this](framework::IUIController& controller) { diagnostics::showPstSummary(controller, this); });
        return;
    case resultOf(method::LoadPstData):
        restoreButtons();
        ShowTestResult(true);
        later([this](framework::IUIController& controller) {
            diagnostics::showDeviceCurves(controller, diagnostics::DiagKind::Pst, this);
        });
        return;
    case resultOf(method::LoadEsdEvents):
        restoreButtons();
        later([this](framework::IUIController& controller) {
            diagnostics::showDeviceCurves(controller, diagnostics::DiagKind::Esd, this);
        });
        return;
    default: break;
    }
    if (!device::code::isFailure(code))
        return;
    const QString failed = text.trimmed();
    const bool tbt = failed == method::tagOf(method::TerminalBoardTest);
    if (!tbt && failed != method::tagOf(method::PartialStrokeTest))
        return;
    // A busy device never started the test.
    if (const QString shown = framework::failureText(code); !shown.isNull())
        ShowResult(shown);
    else
        ShowResult(tbt ? QStringLiteral("TBT Canceled.") : QStringLiteral("PST Canceled."));
}

void CEsdPage::ShowRefusedOperation(std::int32_t code, const QString& method)
{
    if (!framework::failureText(code).isNull())
        return;  // the page base has said it: busy
    // The device refused or failed a command of this page that has no text of its own.
    const std::pair<int, const char*> texts[] = {
        {method::LoadPstData, "No PST data available!"},
        {method::LoadEsdEvents, "No ESD data available!"},
        {method::WritePstSchedule, "The device did not take the new PST schedule."},
        {method::ApplyPstSettings, "The device did not take the PST settings."},
    };
    for (const auto& [number, text] : texts)
        if (method == method::tagOf(number))
            ShowStatus(QString::fromLatin1(text));
}

}  // namespace orvx::views
