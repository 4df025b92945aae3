#include "ConnectDialog.h"

#include "hart/link/Endpoint.h"
#include "platform/ui/ProblemText.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace orvx::frame {

namespace {

enum Column { PollColumn, TagColumn, DeviceIdColumn, MakeColumn, RevisionsColumn, ColumnCount };

QString hex(unsigned value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

QString revisions(const hart::DeviceIdentity& identity)
{
    return QStringLiteral("HART %1, device %2, software %3, hardware %4")
        .arg(identity.universalRevision)
        .arg(identity.deviceRevision)
        .arg(identity.softwareRevision)
        .arg(identity.hardwareRevision);
}

QPushButton* plainButton(const QString& text)
{
    // Enter is the window's to give meaning to, never a button's that happens to be the default.
    auto* button = new QPushButton(text);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

ConnectDialog::ConnectDialog(const QString& address, QWidget* parent, Pick pick)
    : QDialog(parent),
      m_address(new QLineEdit),
      m_keyFile(new QLineEdit),
      m_browse(new QToolButton),
      m_lastPoll(new QSpinBox),
      m_search(plainButton(QStringLiteral("&Search"))),
      m_progress(new QProgressBar),
      m_statusIcon(new QLabel),
      m_status(new QLabel),
      m_found(new QTreeWidget),
      m_connect(plainButton(QStringLiteral("&Connect"))),
      m_connectAll(pick == Pick::Many ? plainButton(QStringLiteral("Connect &all")) : nullptr),
      m_cancel(plainButton(QStringLiteral("Cancel"))),
      m_pick(pick)
{
    setWindowTitle(QStringLiteral("Connect to a device"));
    QString shown = address;
    shown.remove(QRegularExpression(QStringLiteral("/[0-9]+$")));
    m_address->setText(shown.isEmpty() ? QLatin1String(kDefaultAddress) : shown);
    buildLayout();
    connect(m_address, &QLineEdit::textChanged, this, &ConnectDialog::addressEdited);
    connect(m_browse, &QToolButton::clicked, this, &ConnectDialog::chooseKeyFile);
    connect(m_search, &QPushButton::clicked, this, [this] { Searching() ? m_scan->cancel() : Search(); });
    connect(m_found, &QTreeWidget::itemSelectionChanged, this, &ConnectDialog::updateButtons);
    connect(m_found, &QTreeWidget::itemDoubleClicked, this, &ConnectDialog::accept);
    connect(m_connect, &QPushButton::clicked, this, &ConnectDialog::accept);
    if (m_connectAll)
        connect(m_connectAll, &QPushButton::clicked, this, &ConnectDialog::ConnectAll);
    connect(m_cancel, &QPushButton::clicked, this, &ConnectDialog::reject);
    addressEdited();
    updateButtons();
    showStatus(QStringLiteral("Search the address for the devices that answer."));
}

ConnectDialog::~ConnectDialog()
{
    // The search's news is queued to this window: it must end before the window does.
    m_scan.reset();
}

QLayout* ConnectDialog::buildFields()
{
    m_address->setObjectName(QStringLiteral("address"));
    m_address->setPlaceholderText(
        QStringLiteral("hart-ip://HOST[:PORT], hart-ip+udp://, hart-ip+tls:// or serial:///dev/NAME"));
    m_keyFile->setObjectName(QStringLiteral("keyFile"));
    m_keyFile->setPlaceholderText(QStringLiteral("IDENTITY:HEXKEY in one line, for hart-ip+tls:// only"));
    m_browse->setText(QStringLiteral("..."));
    m_lastPoll->setRange(0, hart::ScanRange::kHighestPollAddress);
    m_lastPoll->setValue(m_range.last);
    m_lastPoll->setPrefix(QStringLiteral("0 to "));
    m_lastPoll->setToolTip(QStringLiteral("HART 5 devices use poll addresses 0 to 15, HART 6 and 7 up to 63"));

    auto* keyRow = new QHBoxLayout;
    keyRow->addWidget(m_keyFile);
    keyRow->addWidget(m_browse);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(m_lastPoll);
    searchRow->addStretch();
    searchRow->addWidget(m_search);
    auto* form = new QFormLayout;
    const auto labelFor = [this](const QString& text, QWidget* buddy) {
        auto* label = new QLabel(text, this);
        label->setBuddy(buddy);
        return label;
    };
    form->addRow(labelFor(QStringLiteral("&Address:"), m_address), m_address);
    form->addRow(labelFor(QStringLiteral("&Key file:"), m_keyFile), keyRow);
    form->addRow(labelFor(QStringLiteral("&Poll addresses:"), m_lastPoll), searchRow);
    return form;
}

void ConnectDialog::buildLayout()
{
    m_statusIcon->setObjectName(QStringLiteral("statusIcon"));
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(m_statusIcon);
    statusRow->addWidget(m_status, 1);
    m_progress->setTextVisible(false);

    m_found->setObjectName(QStringLiteral("found"));
    m_found->setColumnCount(ColumnCount);
    m_found->setHeaderLabels({QStringLiteral("Poll address"), QStringLiteral("Tag"), QStringLiteral("Device ID"),
                              QStringLiteral("Manufacturer / type"), QStringLiteral("Revisions")});
    m_found->setRootIsDecorated(false);
    m_found->setSelectionMode(m_pick == Pick::Many ? QAbstractItemView::ExtendedSelection
                                                   : QAbstractItemView::SingleSelection);
    m_found->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(m_connect, QDialogButtonBox::AcceptRole);
    if (m_connectAll)
        buttons->addButton(m_connectAll, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_cancel, QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildFields());
    layout->addLayout(statusRow);
    layout->addWidget(m_progress);
    layout->addWidget(m_found, 1);
    layout->addWidget(buttons);
    resize(720, 420);
}

QString ConnectDialog::KeyFile() const
{
    return tls() ? m_keyFile->text().trimmed() : QString();
}

bool ConnectDialog::tls() const
{
    return m_address->text().trimmed().startsWith(QLatin1String("hart-ip+tls://"));
}

void ConnectDialog::addressEdited()
{
    m_keyFile->setEnabled(tls());
    m_browse->setEnabled(tls());
}

void ConnectDialog::chooseKeyFile()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("The pre-shared key"), m_keyFile->text());
    if (!path.isEmpty())
        m_keyFile->setText(path);
}

bool ConnectDialog::readEndpoint(hart::Endpoint& endpoint, std::optional<hart::PresharedKey>& key)
{
    const std::string text = m_address->text().trimmed().toStdString();
    const hart::Decoded<hart::Endpoint> parsed = hart::parseEndpoint(text);
    if (!parsed) {
        showStatus(QStringLiteral("'%1' is no device address: %2")
                       .arg(QString::fromStdString(text), QString::fromStdString(parsed.refusal().reason)),
                   true);
        return false;
    }
    endpoint = parsed.value();
    if (!tls())
        return true;
    if (KeyFile().isEmpty()) {
        showStatus(QStringLiteral("A hart-ip+tls:// address needs its key file."), true);
        return false;
    }
    hart::Decoded<hart::PresharedKey> read = hart::readPresharedKey(KeyFile().toStdString());
    if (!read) {
        showStatus(QString::fromStdString(read.refusal().reason), true);
        return false;
    }
    key = std::move(read).value();
    return true;
}

void ConnectDialog::Search()
{
    m_scan.reset();
    ++m_generation;
    m_found->clear();
    m_progress->reset();
    updateButtons();
    hart::Endpoint endpoint;
    std::optional<hart::PresharedKey> key;
    if (!readEndpoint(endpoint, key))
        return;
    m_searched = endpoint;
    m_range.last = static_cast<std::uint8_t>(m_lastPoll->value());
    m_progress->setRange(0, m_range.last - m_range.first + 1);
    m_progress->setValue(0);
    showStatus(QStringLiteral("Reaching %1...").arg(m_address->text().trimmed()));
    m_scan = std::make_unique<hart::DeviceScan>(endpoint, std::move(key), m_range, eventsFor(m_generation));
    m_search->setText(QStringLiteral("&Stop"));
}

hart::ScanEvents ConnectDialog::eventsFor(int generation)
{
    // Called on the search's thread: each piece of news is queued to this window's thread, where
    // a newer search makes it stale.
    const auto hand = [this, generation](auto work) {
        QMetaObject::invokeMethod(
            this,
            [this, generation, work = std::move(work)] {
                if (generation == m_generation)
                    work();
            },
            Qt::QueuedConnection);
    };
    return {[hand, this](std::uint8_t poll) { hand([this, poll] { asking(poll); }); },
            [hand, this](const hart::FoundDevice& device) { hand([this, device] { found(device); }); },
            [hand, this](const hart::ScanEnd& end) { hand([this, end] { finished(end); }); }};
}

void ConnectDialog::asking(std::uint8_t pollAddress)
{
    m_progress->setValue(pollAddress - m_range.first);
    showStatus(QStringLiteral("Asking poll address %1 of %2...").arg(pollAddress).arg(m_range.last));
}

void ConnectDialog::found(const hart::FoundDevice& device)
{
    const hart::DeviceIdentity& id = device.identity;
    auto* item = new QTreeWidgetItem(m_found);
    item->setText(PollColumn, QString::number(device.pollAddress));
    item->setData(PollColumn, Qt::UserRole, device.pollAddress);
    item->setText(TagColumn, QString::fromStdString(device.longTag.empty() ? device.tag : device.longTag));
    item->setText(DeviceIdColumn, hex(id.deviceId, 6));
    item->setText(MakeColumn,
                  QStringLiteral("%1 / %2").arg(hex(device.manufacturerId(), 4), hex(id.expandedDeviceType, 4)));
    item->setText(RevisionsColumn, revisions(id));
    if (m_found->topLevelItemCount() == 1)
        m_found->setCurrentItem(item);
}

void ConnectDialog::finished(const hart::ScanEnd& end)
{
    m_scan.reset();  // its thread has ended or is about to: the join is at once
    m_search->setText(QStringLiteral("&Search"));
    m_progress->setValue(m_progress->maximum());
    const int count = m_found->topLevelItemCount();
    const QString answered = count == 1 ? QStringLiteral("1 device answered")
                                        : QStringLiteral("%1 devices answered").arg(count);
    if (!end.error.empty())
        showStatus(QString::fromStdString(end.error), true);
    else if (end.cancelled)
        showStatus(QStringLiteral("Stopped after %1 poll addresses; %2.").arg(end.asked).arg(answered));
    else if (count == 0)
        showStatus(
            QStringLiteral("No device answered at poll addresses %1 to %2.").arg(m_range.first).arg(m_range.last));
    else
        showStatus(QStringLiteral("%1 at poll addresses %2 to %3.").arg(answered).arg(m_range.first).arg(m_range.last));
    updateButtons();
}

void ConnectDialog::showStatus(const QString& text, bool problem)
{
    m_status->setText(text);
    ui::showAsProblem(m_status, problem);
    m_statusIcon->setPixmap(problem ? style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(16, 16) : QPixmap());
    m_statusIcon->setVisible(problem);
    if (problem)
        m_progress->reset();
}

void ConnectDialog::updateButtons()
{
    const qsizetype picked = m_found->selectedItems().size();
    m_connect->setEnabled(m_pick == Pick::Many ? picked > 0 : picked == 1);
    if (m_connectAll)
        m_connectAll->setEnabled(m_found->topLevelItemCount() > 0);
}

void ConnectDialog::accept()
{
    const QList<QTreeWidgetItem*> selected = m_found->selectedItems();
    if (selected.isEmpty() || (m_pick == Pick::One && selected.size() != 1))
        return;
    QList<std::uint8_t> polls;
    for (const QTreeWidgetItem* item : selected)
        polls.append(static_cast<std::uint8_t>(item->data(PollColumn, Qt::UserRole).toUInt()));
    std::sort(polls.begin(), polls.end());
    m_chosen.clear();
    for (const std::uint8_t poll : polls) {
        hart::Endpoint chosen = m_searched;
        chosen.pollAddress = poll;
        m_chosen.append(QString::fromStdString(chosen.text()));
    }
    m_scan.reset();  // a modem's line is the device's to open next
    QDialog::accept();
}

void ConnectDialog::ConnectAll()
{
    if (m_pick != Pick::Many || m_found->topLevelItemCount() == 0)
        return;
    m_found->selectAll();
    accept();
}

void ConnectDialog::reject()
{
    if (m_scan)
        m_scan->cancel();
    QDialog::reject();
}

void ConnectDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QDialog::keyPressEvent(event);
        return;
    }
    QWidget* focus = focusWidget();
    if (auto* button = qobject_cast<QAbstractButton*>(focus))
        button->click();
    else if (focus == m_found)
        accept();
    else if (!Searching())
        Search();
}

}  // namespace orvx::frame
