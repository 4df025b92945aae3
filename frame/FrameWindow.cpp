#include "FrameWindow.h"

#include "CalibrationShots.h"
#include "CommissionShots.h"
#include "ConnectDialog.h"
#include "DiagnosticShots.h"
#include "HistoryShots.h"
#include "LinkedDevice.h"
#include "LiveShots.h"
#include "LookCheck.h"
#include "ModuleLoader.h"
#include "QtScheduler.h"
#include "QuietSizeHints.h"
#include "ShotWriter.h"
#include "SimulatedDevice.h"
#include "device/Vocabulary.h"
#include "host/Guids.h"
#include "platform/ui/ProblemText.h"
#include "simulator/SimulatedFaults.h"
#include "simulator/SimulatedPositioner.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace orvx::frame {

namespace {

struct ControlKind {
    FrameWindow::Control control;
    com::Guid clsid;
    const char* title;
    const char* file;
};

const ControlKind kKinds[] = {
    {FrameWindow::Control::Online, host::CLSID_OrvxESDDTMGUIView, "Online", "online"},
    {FrameWindow::Control::Offline, host::CLSID_Offline, "Offline", "offline"},
    {FrameWindow::Control::Trend, host::CLSID_Trend, "Trend", "trend"},
    {FrameWindow::Control::Address, host::CLSID_TAdress, "Address", "address"},
};

// How long the device strokes its valve before the first picture, in wall-clock time.
constexpr int kStrokeMs = 4000;
// How long a switch to another device waits for it before the main view opens all the same.
constexpr int kConnectWaitMs = 5000;

const ControlKind& kindOf(FrameWindow::Control control)
{
    for (const auto& kind : kKinds)
        if (kind.control == control)
            return kind;
    return kKinds[0];
}

// A file name made from a page's label: lower case, words joined by dashes.
QString slug(const QString& label)
{
    QString out;
    for (const QChar c : label.toLower())
        out += c.isLetterOrNumber() ? c : QLatin1Char('-');
    while (out.contains(QLatin1String("--")))
        out.replace(QLatin1String("--"), QLatin1String("-"));
    return out.remove(QRegularExpression(QStringLiteral("^-|-$")));
}

}  // namespace

FrameWindow::FrameWindow(ModuleLoader& loader, simulator::SimulatedPositioner& device, QtScheduler* deviceClock)
    : FrameWindow(loader, std::make_unique<SimulatedDevice>(device), deviceClock)
{
}

FrameWindow::FrameWindow(ModuleLoader& loader, std::unique_ptr<FrameDevice> device, QtScheduler* deviceClock)
    : FrameWindow(loader, *device, deviceClock, nullptr)
{
    m_owned = std::move(device);
}

FrameWindow::FrameWindow(ModuleLoader& loader, FrameDevice& device, QtScheduler* deviceClock, QWidget* parent)
    : QMainWindow(parent),
      m_loader(loader),
      m_device(&device),
      m_deviceClock(deviceClock),
      m_tabs(new QTabWidget(this)),
      m_faults(new QLabel(this)),
      m_operation(new QLabel(this)),
      m_statusTimer(new QTimer(this))
{
    setWindowTitle(QStringLiteral("Orvx ESD DTM - %1").arg(m_device->Describe()));
    setCentralWidget(m_tabs);
    m_faults->setObjectName(QStringLiteral("simulatedFaults"));
    ui::showAsProblem(m_faults);
    statusBar()->addPermanentWidget(m_faults);
    m_operation->setObjectName(QStringLiteral("runningOperation"));
    statusBar()->addWidget(m_operation);
    connect(m_statusTimer, &QTimer::timeout, this, &FrameWindow::ShowOperation);
    followStatus();
    buildMenus();
    showFaults();
    ShowOperation();
    resize(1100, 760);
}

FrameWindow::~FrameWindow()
{
    if (m_deviceClock)
        m_deviceClock->SetAfterEachTask({});
    releaseAll();
}

void FrameWindow::followStatus()
{
    if (m_deviceClock) {
        // A command ends in a task of the device: the bar says so before a picture can show it
        // running still. Its time moves on with the device's half-second refreshes.
        m_deviceClock->SetAfterEachTask([this] { ShowOperation(); });
        m_statusTimer->stop();
    } else {
        m_statusTimer->start(250);
    }
}

void FrameWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    for (const auto& kind : kKinds) {
        view->addAction(QString::fromLatin1(kind.title), this, [this, control = kind.control] {
            const QString error = Open(control);
            if (!error.isEmpty())
                QMessageBox::warning(this, windowTitle(), error);
        });
    }
    file->addAction(QStringLiteral("&Quit"), QKeySequence::Quit, this, [this] { window()->close(); });

    QMenu* device = menuBar()->addMenu(QStringLiteral("&Device"));
    if (!parentWidget())
        device->addAction(QStringLiteral("&Connect..."), this, &FrameWindow::chooseDevice);
    device->addAction(QStringLiteral("Co&nnect"), this, [this] { m_device->Connect(); });
    device->addAction(QStringLiteral("&Disconnect"), this, [this] { m_device->Disconnect(); });
    device->addSeparator();
    m_privateDialogs = device->addAction(QStringLiteral("&Private dialogs"));
    m_privateDialogs->setCheckable(true);
    m_privateDialogs->setChecked(true);
    connect(m_privateDialogs, &QAction::toggled, this, [this](bool on) { m_device->SetPrivateDialogs(on); });

    QMenu* user = menuBar()->addMenu(QStringLiteral("&User level"));
    auto* levels = m_userLevels = new QActionGroup(this);
    for (const char* level : {"observer", "operator", "maintenance", "planning engineer"}) {
        QAction* action = user->addAction(QString::fromLatin1(level));
        action->setCheckable(true);
        action->setChecked(QLatin1String(level) == QLatin1String("maintenance"));
        levels->addAction(action);
        connect(action, &QAction::triggered, this, [this, level] {
            const QString text = QString::fromLatin1(level);
            m_device->SetUserLevel(std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), text.size()));
        });
    }

    simulator::SimulatedPositioner* simulated = m_device->Simulated();
    if (!simulated)
        return;
    QMenu* simulate = m_simulate = menuBar()->addMenu(QStringLiteral("&Simulate"));
    for (const simulator::SimulatedFault fault : simulator::kSimulatedFaults) {
        const QString name = QString::fromLatin1(simulator::nameOf(fault));
        QAction* action = simulate->addAction(name.left(1).toUpper() + name.mid(1));
        action->setCheckable(true);
        action->setChecked(simulated->HasFault(fault));
        connect(action, &QAction::toggled, this, [this, simulated, fault](bool on) {
            simulated->SetFault(fault, on);
            showFaults();
        });
    }
    simulate->addSeparator();
    simulate->addAction(QStringLiteral("PST &history..."), this, &FrameWindow::simulateHistory);
}

void FrameWindow::simulateHistory()
{
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save a simulated PST history"),
        QDir::home().filePath(QStringLiteral("simulated-pst-history.dgn")),
        QStringLiteral("Diagnostic data files (*.dgn)"));
    if (path.isEmpty())
        return;
    const QString error = writeSimulatedHistory(*m_device->Simulated(), path);
    if (!error.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), error);
        return;
    }
    // The history window belongs to the module, which the frame reaches only through its controls.
    QMessageBox::information(this, windowTitle(),
                             QStringLiteral("Twelve monthly PSTs, friction creeping up, were saved in\n%1.\n\n"
                                            "Open them with ESD and PST > PST History...")
                                 .arg(QDir::toNativeSeparators(path)));
}

void FrameWindow::showFaults()
{
    QStringList names;
    if (simulator::SimulatedPositioner* simulated = m_device->Simulated()) {
        for (const simulator::SimulatedFault fault : simulated->ActiveFaults())
            names.append(QString::fromLatin1(simulator::nameOf(fault)));
    }
    m_faults->setText(names.isEmpty() ? QString()
                                      : QStringLiteral("Simulated faults: %1").arg(names.join(QLatin1String(", "))));
    m_faults->setVisible(!names.isEmpty());
}

void FrameWindow::ShowOperation()
{
    const QString status = m_device->Status();
    m_operation->setText(status);
    m_operation->setVisible(!status.isEmpty());
}

QString FrameWindow::Open(Control control)
{
    const ControlKind& kind = kindOf(control);
    if (auto it = m_controls.find(control); it != m_controls.end()) {
        if (QWidget* window = it->second->Window())
            m_tabs->setCurrentWidget(window->parentWidget());
        return {};
    }
    auto hosted = std::make_unique<HostedControl>(m_loader, kind.clsid, QStringLiteral("frame-%1").arg(kind.file));
    auto* page = new QWidget;
    const QString error = hosted->Start(page, m_device->BusinessObject());
    if (!error.isEmpty()) {
        delete page;
        return QStringLiteral("%1: %2").arg(QString::fromLatin1(kind.title), error);
    }
    if (QWidget* window = hosted->Window()) {
        // The control fills its tab; the address panel keeps its own size.
        if (control != Control::Address) {
            auto* layout = new QVBoxLayout(page);
            layout->setContentsMargins(0, 0, 0, 0);
            layout->addWidget(window);
        }
    }
    m_tabs->setCurrentIndex(m_tabs->addTab(page, QString::fromLatin1(kind.title)));
    m_controls[control] = std::move(hosted);
    return {};
}

void FrameWindow::chooseDevice()
{
    QString address;
    QString keyFile;
    {
        // The search ends with the window, before the device it chose is opened: a modem's line
        // takes one user at a time.
        ConnectDialog dialog(m_device->Simulated() ? QString() : m_device->Describe(), this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        address = dialog.ChosenAddress();
        keyFile = dialog.KeyFile();
    }
    if (const QString error = SwitchTo(address, keyFile); !error.isEmpty())
        QMessageBox::warning(this, windowTitle(), error);
}

QString FrameWindow::SwitchTo(const QString& address, const QString& keyFile)
{
    std::string error;
    std::unique_ptr<LinkedDevice> linked = LinkedDevice::Make(address.toStdString(), error, keyFile.toStdString());
    if (!linked)
        return QString::fromStdString(error);
    closeControls();
    if (m_simulate) {
        // The simulated positioner stays its owner's; nothing here reaches it any more.
        delete m_simulate;
        m_simulate = nullptr;
        if (m_deviceClock)
            m_deviceClock->SetAfterEachTask({});
        m_deviceClock = nullptr;
        followStatus();
    }
    LinkedDevice& device = *linked;
    m_owned = std::move(linked);  // a link before stops as it goes, its controls released
    m_device = m_owned.get();
    showFaults();
    device.SetPrivateDialogs(m_privateDialogs->isChecked());
    if (const QAction* level = m_userLevels->checkedAction()) {
        const QString text = level->text();
        device.SetUserLevel(std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), text.size()));
    }
    setWindowTitle(QStringLiteral("Orvx ESD DTM - %1").arg(device.Describe()));
    device.Connect();
    // Nothing the user does reaches the window until the device answered or the wait is over.
    device.WaitConnected(kConnectWaitMs, QEventLoop::ExcludeUserInputEvents);
    ShowOperation();
    return Open(Control::Online);
}

void FrameWindow::closeControls()
{
    releaseAll();
    m_controls.clear();
    while (m_tabs->count() > 0)
        delete m_tabs->widget(0);
}

void FrameWindow::releaseAll()
{
    for (auto& [control, hosted] : m_controls)
        hosted->Release();
}

void FrameWindow::closeEvent(QCloseEvent* event)
{
    releaseAll();
    event->accept();
}

QWidget* FrameWindow::controlWindow(Control control) const
{
    const auto it = m_controls.find(control);
    return it == m_controls.end() ? nullptr : it->second->Window();
}

void FrameWindow::pictureEveryPage(QTreeWidget* tree, ShotWriter& shots)
{
    int number = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        tree->setCurrentItem(*it);
        shots.Take(this,
                   QStringLiteral("online-%1-%2.png").arg(number++, 2, 10, QLatin1Char('0')).arg(slug((*it)->text(0))));
    }
}

void FrameWindow::lookInDark(QTreeWidget* tree, ShotWriter& shots, QStringList* errors)
{
    QTreeWidgetItem* overview = tree->topLevelItem(0);
    if (!overview)
        return;
    const ScopedPalette dark(darkPalette());
    checkEveryPage(this, tree, QStringLiteral("dark"), errors);
    for (const Control other : {Control::Trend, Control::Offline}) {
        if (const QString error = Open(other); !error.isEmpty()) {
            errors->append(error);
            continue;
        }
        for (const QString& problem : lookProblems(this))
            errors->append(QStringLiteral("dark, %1: %2").arg(QLatin1String(kindOf(other).file), problem));
    }
    Open(Control::Online);
    tree->setCurrentItem(overview);
    shots.Take(this, QStringLiteral("dark-overview.png"));
}

int FrameWindow::WriteScreenshots(const QString& folder, QStringList* errors)
{
    simulator::SimulatedPositioner* simulated = m_device->Simulated();
    if (!simulated) {
        errors->append(QStringLiteral("screenshots are taken of the simulated positioner only"));
        return 0;
    }
    QDir().mkpath(folder);
    const QuietSizeHints quiet;
    ShotWriter shots(folder, errors);
    show();
    const auto open = [&](Control control) {
        const QString error = Open(control);
        if (!error.isEmpty())
            errors->append(error);
        return error.isEmpty();
    };
    const auto picture = [&](Control control) {
        if (open(control))
            shots.Take(this, QStringLiteral("%1.png").arg(QLatin1String(kindOf(control).file)));
    };

    // The device runs a while under the main view and the trend before the first picture, so
    // that the live values and the trend show a valve that has moved.
    const bool online = open(Control::Online);
    open(Control::Trend);
    strokeValve(*simulated, kStrokeMs);
    if (online)
        Open(Control::Online);

    QWidget* control = online ? controlWindow(Control::Online) : nullptr;
    auto* tree = control ? control->findChild<QTreeWidget*>() : nullptr;
    if (online && !tree)
        shots.Take(this, QStringLiteral("online.png"));
    if (tree) {
        pictureEveryPage(tree, shots);
        lookInDark(tree, shots, errors);
    }
    int scripted = 0;  // pictures the modal scripts wrote
    if (tree) {
        scripted += writeDiagnosticShots(control, folder, errors);
        scripted += writeHistoryShots(control, *simulated, folder, errors);
        scripted += writeCommissionShots(control, folder, errors);
    }
    // The trend with the stroke, the PST and the hand drive on it, before Setup mode holds the
    // valve.
    picture(Control::Trend);
    if (tree) {
        Open(Control::Online);
        scripted += writeCalibrationShots(control, folder, errors);
    }
    picture(Control::Offline);
    picture(Control::Address);
    if (tree && open(Control::Online) && selectPage(control, tree->topLevelItem(0)->text(0)))
        pictureTripped(this, *simulated, shots);
    return shots.Written() + scripted;
}

}  // namespace orvx::frame
