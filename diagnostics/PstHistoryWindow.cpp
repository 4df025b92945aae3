#include "PstHistoryWindow.h"

#include "DataFileDialogs.h"
#include "DeviceValues.h"
#include "XFileException.h"
#include "controls/PressureUnit.h"
#include "device/DeviceNames.h"
#include "platform/chart/HistoryChart.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/PostCall.h"
#include "platform/ui/Resources.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace orvx::diagnostics {

namespace {

const QColor kValueColour(0x1f, 0x4e, 0x9a);
const QColor kLimitColour(0xc0, 0x60, 0x00);

QString month(const QDateTime& when)
{
    return when.toString(QStringLiteral("yyyy-MM"));
}

QString deviceName(const CPstHistory& history)
{
    return QStringLiteral("%1 (device id %2)").arg(history.Tag()).arg(history.DeviceId());
}

// Reads the device's tests of a file into the history; false after telling the user why not.
bool readInto(CPstHistory& history, const QString& path, QWidget* owner, HistoryReadOutcome& outcome)
{
    auto file = openForReading(path, owner);
    if (!file)
        return false;  // openForReading has said why
    try {
        outcome = history.AddFile(*file);
    } catch (const CXFileException& error) {
        showDataFileError(owner, fileErrorText(error));
        return false;
    }
    if (!outcome.Ok())
        showDataFileError(owner, outcome.error);
    return outcome.Ok();
}

}  // namespace

CPstHistoryWindow::CPstHistoryWindow(CPstHistory history, std::optional<PstLimits> limits, QWidget* owner)
    : QDialog(owner), m_history(std::move(history)), m_limits(limits)
{
    setWindowTitle(QStringLiteral("Orvx ESD  - PST History"));
    setWindowIcon(ui::iconResource(202));

    m_summary = ui::makeItem<QLabel>(this, history_item::Summary);
    m_value = ui::makeItem<QComboBox>(this, history_item::Value);
    for (const HistoryValue value : kHistoryValues) {
        const QString name = historyValueName(value);
        m_value->addItem(name.left(1).toUpper() + name.mid(1), static_cast<int>(value));
    }
    auto* valueLabel = new QLabel(QStringLiteral("&Value"), this);
    valueLabel->setBuddy(m_value);
    m_chart = ui::makeItem<chart::CHistoryChart>(this, history_item::Chart);
    m_chart->setMinimumSize(640, 360);
    m_projection = ui::makeItem<QLabel>(this, history_item::Projection);
    m_projection->setWordWrap(true);
    QFont bold = m_projection->font();
    bold.setBold(true);
    m_projection->setFont(bold);

    auto* addFile = ui::makeButton(this, history_item::AddFile, QStringLiteral("&Add File..."));
    addFile->setAutoDefault(false);
    auto* close = ui::makeButton(this, history_item::Close, QStringLiteral("&Close"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(addFile, QDialogButtonBox::ActionRole);
    buttons->addButton(close, QDialogButtonBox::RejectRole);

    auto* top = new QHBoxLayout;
    top->addWidget(m_summary, 1);
    top->addWidget(valueLabel);
    top->addWidget(m_value);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_chart, 1);
    layout->addWidget(m_projection);
    layout->addWidget(buttons);

    connect(m_value, &QComboBox::activated, this, [this] { ui::runGuarded("history value", [this] { refresh(); }); });
    connect(addFile, &QPushButton::clicked, this,
            [this] { ui::runGuarded("history Add File", [this] { chooseAndAdd(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    refresh();
}

CPstHistoryWindow::~CPstHistoryWindow() = default;

bool CPstHistoryWindow::AddFile(const QString& path)
{
    // Read into a copy: a file refused half-way leaves the shown history as it was.
    CPstHistory grown = m_history;
    HistoryReadOutcome outcome;
    if (!readInto(grown, path, this, outcome))
        return false;
    if (outcome.added == 0) {
        ui::showMessage(this, kDataFileCaption,
                        QStringLiteral("%1 holds no new tests of %2.").arg(path, deviceName(m_history)),
                        ui::MessageButtons::Ok, ui::MessageIcon::Information);
        return false;
    }
    m_history = std::move(grown);
    refresh();
    return true;
}

void CPstHistoryWindow::chooseAndAdd()
{
    const QString path = chooseDataFile(ui::FileMode::Open, DiagKind::Pst, m_history.Tag(), this);
    if (!path.isNull())
        AddFile(path);
}

void CPstHistoryWindow::ShowValue(HistoryValue value)
{
    m_value->setCurrentIndex(m_value->findData(static_cast<int>(value)));
    refresh();
}

HistoryValue CPstHistoryWindow::ShownValue() const
{
    return static_cast<HistoryValue>(m_value->currentData().toInt());
}

void CPstHistoryWindow::refresh()
{
    const HistoryValue value = ShownValue();
    const QString name = historyValueName(value);
    const QString unit = controls::pressureUnitWord(static_cast<std::uint32_t>(m_history.Unit()));
    const auto& tests = m_history.Tests();
    const auto failed = std::ranges::count_if(tests, [](const HistoryTest& t) { return t.failed; });
    m_summary->setText(tests.empty() ? QStringLiteral("%1: no tests").arg(deviceName(m_history))
                                     : QStringLiteral("%1: %2 tests from %3 to %4, %5 failed")
                                           .arg(deviceName(m_history))
                                           .arg(tests.size())
                                           .arg(month(tests.front().when), month(tests.back().when))
                                           .arg(failed));

    const std::vector<HistoryPoint> series = m_history.Series(value);
    std::vector<chart::CHistoryChart::Point> points;
    points.reserve(series.size());
    for (const HistoryPoint& p : series)
        points.push_back({p.when, p.value, p.failed});
    m_chart->Clear();
    m_chart->SetValueTitle(QStringLiteral("%1 (%2)").arg(name, unit));
    m_chart->AddSeries(name, kValueColour, points);
    for (const TrendLimit& limit : historyLimits(value, m_limits))
        m_chart->AddLimit(limit.name, limit.value, kLimitColour);

    const TrendProjection projection = m_history.Project(value, m_limits);
    if (projection.Shown() && !series.empty()) {
        // The fitted line from the first test to where it meets the limit.
        const QDateTime first = series.front().when;
        const QDateTime crossing(*projection.crossing, QTime(12, 0));
        m_chart->SetTrend(QStringLiteral("at this rate"), {first, projection.line->At(historyDay(first))},
                          {crossing, projection.limit->value});
    }
    m_projection->setText(projectionSentence(name, projection));
}

int CPstHistoryWindow::Show(QWidget* owner)
{
    adjustSize();
    if (owner)
        move(owner->window()->frameGeometry().center() - rect().center());
    return ui::dialogService().RunModal(*this);
}

void showPstHistory(const HistorySource& source, QWidget* owner)
{
    CPstHistory history(source.tag, source.deviceId);
    if (source.unit)
        history.SetUnit(*source.unit);
    // The valve's tests the plant keeps come first; a data file asked for adds to them, and is
    // asked for only when the plant keeps none.
    bool kept = false;
    if (IPlantRecords* plant = plantRecords()) {
        QString error;
        const std::vector<DatedRecord> tests = plant->Psts(source.deviceId, &kept, &error);
        if (!error.isEmpty())
            showDataFileError(owner, QStringLiteral("The plant store did not give the tests of %1: %2. Choose a data "
                                                    "file instead.")
                                         .arg(deviceName(history), error));
        history.AddRecords(tests, QStringLiteral("the plant store"));
    }
    const bool fromStore = !history.Empty();
    const QString path = !source.file.isEmpty() ? source.file
                         : fromStore            ? QString()
                                                : chooseDataFile(ui::FileMode::Open, DiagKind::Pst, source.tag, owner);
    if (path.isNull() && !fromStore)
        return;
    HistoryReadOutcome outcome;
    if (!path.isNull() && !readInto(history, path, owner, outcome))
        return;
    if (history.Empty()) {
        showDataFileError(owner, QStringLiteral("%1 holds no PST of %2%3.")
                                     .arg(path, deviceName(history),
                                          kept ? QStringLiteral(", nor does the plant store") : QString()));
        return;
    }
    CPstHistoryWindow window(std::move(history), source.limits, owner);
    window.Show(owner);
}

void showDevicePstHistory(framework::IUIController& controller, QWidget* owner)
{
    const CDeviceValues device(controller);
    HistorySource source;
    try {
        source.tag = device.Text(device::tag::DeviceTag).trimmed();
        source.deviceId = device.Integer(device::tag::DeviceId);
    } catch (const std::exception&) {
        showDataFileError(owner, QStringLiteral("The device's tag and id could not be read; no history to show."));
        return;
    }
    source.limits = device.Limits();
    if (source.limits) {
        if (const auto unit = device.TryInteger(device::tag::MeasuredPressureUnit))
            source.unit = *unit;
        else
            source.limits.reset();
    }
    showPstHistory(source, owner);
}

}  // namespace orvx::diagnostics
