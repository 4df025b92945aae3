#include "ESDGenDlg.h"

#include "IManualStops.h"
#include "ManualStopsEvent.h"
#include "device/DeviceNames.h"
#include "framework/FailureText.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/PostCall.h"
#include "platform/ui/Resources.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvx::views {

namespace {

namespace method = device::method;

enum Item {
    LowItem = 213,
    HighItem = 214,
    OkItem = 215,
    TextItem = 353,
};
constexpr int kWindowIcon = 202;

const QString kStartPrompt = QStringLiteral("Please press Low button to start Manual Find Stops.\n"
                                            "(The Latch Trips Enabled will be automatically disabled and\n"
                                            "goes back if Manual Find Stops completed.)");
const QString kDrivingLow = QStringLiteral("Executing Low Manual Stops...");
const QString kDrivingHigh = QStringLiteral("Executing High Manual Stops...");
const QString kWaitStable = QStringLiteral("Wait until the valve is stable, then press Ok.");
const QString kLowRecorded = QStringLiteral(
    "Low Stop position recorded.\nPlease press High button to continue Manual Find Stops.");
const QString kCompleted = QStringLiteral("Manual find stops completed.");
const QString kFailed = QStringLiteral("Manual Find Stops Failed!");
const QString kCancelledByDevice = QStringLiteral("FindStops canceled by device!");

// Buttons that Enter does not press: each of them moves the valve.
QPushButton* stepButton(QWidget* parent, int item, const char* text)
{
    auto* button = ui::makeButton(parent, item, QString::fromLatin1(text));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CESDGenDlg::CESDGenDlg(IManualStops& stops, QWidget* mainView, QWidget* parent)
    : QDialog(parent), m_stops(stops), m_mainView(mainView)
{
    setWindowTitle(QStringLiteral("Manual Find Stops"));
    setWindowIcon(QIcon(ui::iconPixmap(kWindowIcon, QSize(16, 16))));

    m_text = ui::makeItem<QLabel>(this, TextItem);
    m_text->setWordWrap(true);
    m_text->setMinimumSize(380, 4 * m_text->fontMetrics().height());
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_low = stepButton(this, LowItem, "&Low");
    m_high = stepButton(this, HighItem, "&High");
    m_ok = stepButton(this, OkItem, "&Ok");
    m_high->setEnabled(false);
    m_ok->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {m_low, m_high, m_ok})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addLayout(buttons);

    connect(m_low, &QPushButton::clicked, this,
            [this] { ui::runGuarded("Manual find stops: Low", [this] { Low(); }); });
    connect(m_high, &QPushButton::clicked, this,
            [this] { ui::runGuarded("Manual find stops: High", [this] { High(); }); });
    connect(m_ok, &QPushButton::clicked, this, [this] { ui::runGuarded("Manual find stops: Ok", [this] { Ok(); }); });

    m_stops.SetDialogWindow(this);
    SetText(kStartPrompt);
}

CESDGenDlg::~CESDGenDlg()
{
    m_stops.SetDialogWindow(nullptr);
}

void CESDGenDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_mainView) {
        QRect frame = frameGeometry();
        frame.moveCenter(m_mainView->mapToGlobal(m_mainView->rect().center()));
        move(frame.topLeft());
    }
}

bool CESDGenDlg::event(QEvent* event)
{
    if (event->type() != CManualStopsEvent::type())
        return QDialog::event(event);
    const auto* result = static_cast<CManualStopsEvent*>(event);
    ui::runGuarded("Manual find stops result", [this, result] { OnResult(result->Method(), result->Status()); });
    return true;
}

void CESDGenDlg::SetText(const QString& text)
{
    m_text->setText(text);
}

void CESDGenDlg::Drive(const QString& text, int method, std::uint8_t progress)
{
    const QString shown = m_text->text();
    const bool low = m_low->isEnabled(), high = m_high->isEnabled(), ok = m_ok->isEnabled();
    const std::uint8_t before = m_progress;
    SetText(text);
    for (QPushButton* button : {m_low, m_high, m_ok})
        button->setEnabled(false);
    m_progress = progress;
    try {
        m_stops.RunMethod(method);
    } catch (...) {
        SetText(shown);
        m_low->setEnabled(low);
        m_high->setEnabled(high);
        m_ok->setEnabled(ok);
        m_progress = before;
        throw;
    }
}

void CESDGenDlg::Low()
{
    Drive(kDrivingLow, method::ManualStopsDriveLow, m_progress);
}

void CESDGenDlg::High()
{
    Drive(kDrivingHigh, method::ManualStopsDriveHigh, m_progress);
}

void CESDGenDlg::Ok()
{
    // Both stops reached: accepting the high one finishes, and a failure of it starts over.
    if ((m_progress & (LowReached | HighReached)) == (LowReached | HighReached))
        Drive(QString(), method::ManualStopsAcceptHigh, m_progress & ~(LowReached | HighReached));
    else
        Drive(QString(), method::ManualStopsAcceptLow, m_progress);
}

void CESDGenDlg::OnResult(int method, int status)
{
    if (status < 0) {
        if (status == device::code::FailedInDevice)
            SetText(kFailed);
        else if (status == device::code::Busy)
            SetText(framework::failureText(status));
        else
            SetText(kCancelledByDevice);
        m_low->setEnabled(true);
        m_high->setEnabled(false);
        m_ok->setEnabled(false);
        return;
    }
    switch (method) {
    case method::ManualStopsDriveLow:
    case method::ManualStopsDriveHigh:
        SetText(kWaitStable);
        m_ok->setEnabled(true);
        m_progress |= method == method::ManualStopsDriveLow ? LowReached : HighReached;
        break;
    case method::ManualStopsAcceptLow:
        SetText(kLowRecorded);
        m_high->setEnabled(true);
        break;
    case method::ManualStopsAcceptHigh:
        SetText(kCompleted);
        m_low->setEnabled(true);
        break;
    default: break;
    }
}

}  // namespace orvx::views
