#include "PlantWindow.h"

#include "ConnectDialog.h"
#include "FrameDevice.h"
#include "FrameWindow.h"
#include "LinkedDevice.h"
#include "QtScheduler.h"
#include "ValveWatch.h"
#include "plant/DeviceHealth.h"
#include "plant/PlantTableModel.h"
#include "plant/PlantView.h"
#include "platform/ui/Clock.h"
#include "platform/ui/ProblemText.h"
#include "store/DataFileImport.h"
#include "store/DataFileScan.h"
#include "store/Keeper.h"
#include "store/PlantStore.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>

namespace orvx::frame {

namespace {

// Where the window names its store to the module.
constexpr char kStoreVariable[] = "ORVX_PLANT_STORE";
// How long a valve Connect... found is waited for before its tab opens all the same.
constexpr int kConnectWaitMs = 5000;

}  // namespace

struct PlantWindow::Valve {
    QString key;
    std::unique_ptr<FrameDevice> device;
    QtScheduler* clock = nullptr;
    std::unique_ptr<ValveWatch> watch;
    FrameWindow* window = nullptr;  // the open tab, owned by its pane
    plant::ValveRow row;
};

PlantWindow::PlantWindow(ModuleLoader& loader, std::unique_ptr<store::PlantStore> store, const QString& storeProblem)
    : m_loader(loader),
      m_store(std::move(store)),
      m_view(new plant::PlantView),
      m_left(new QTabWidget),
      m_right(new QTabWidget),
      m_problem(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Orvx ESD DTM - plant"));
    // The module's windows (the PST history) read the same store; it shares the process.
    if (qEnvironmentVariableIsSet(kStoreVariable))
        m_storeBefore = qgetenv(kStoreVariable);
    qputenv(kStoreVariable, m_store ? m_store->address().text().toUtf8() : QByteArray());
    auto* panes = new QSplitter(Qt::Horizontal, this);
    for (QTabWidget* pane : {m_left, m_right}) {
        pane->setTabsClosable(true);
        pane->setMovable(true);
        pane->setDocumentMode(true);
        panes->addWidget(pane);
        connect(pane, &QTabWidget::tabCloseRequested, this, [this, pane](int index) { closeTab(pane, index); });
    }
    m_left->setObjectName(QStringLiteral("leftPane"));
    m_right->setObjectName(QStringLiteral("rightPane"));
    m_right->hide();
    m_left->addTab(m_view, QStringLiteral("Plant"));
    // The plant stays: its tab has no close button.
    m_left->tabBar()->setTabButton(0, QTabBar::RightSide, nullptr);
    m_left->tabBar()->setTabButton(0, QTabBar::LeftSide, nullptr);
    setCentralWidget(panes);

    m_problem->setObjectName(QStringLiteral("plantProblem"));
    ui::showAsProblem(m_problem);
    statusBar()->addWidget(m_problem, 1);
    statusBar()->addPermanentWidget(new QLabel(
        m_store ? QStringLiteral("Plant store: %1").arg(m_store->address().text()) : QStringLiteral("No plant store")));
    if (!m_store)
        tell(QStringLiteral("No plant store: %1. PSTs are not kept; save them to data files.").arg(storeProblem));

    m_view->model()->setNow(now());
    m_view->onOpen = [this](const QString& key) {
        if (const QString error = OpenValve(key); !error.isEmpty())
            tell(error);
    };
    buildMenus();
    resize(1280, 800);
}

PlantWindow::~PlantWindow()
{
    for (const auto& valve : m_valves)
        if (valve->window)
            valve->window->close();
    // The tabs, their controls released, go before the watches and the devices they watch.
    delete m_left;
    delete m_right;
    m_valves.clear();
    if (m_storeBefore)
        qputenv(kStoreVariable, *m_storeBefore);
    else
        qunsetenv(kStoreVariable);
}

void PlantWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Quit"), QKeySequence::Quit, this, &QWidget::close);
    QMenu* devices = menuBar()->addMenu(QStringLiteral("&Plant"));
    devices->addAction(QStringLiteral("&Connect..."), this, &PlantWindow::chooseDevice);
    devices->addAction(QStringLiteral("&Add from list..."), this, &PlantWindow::addFromList);
    devices->addAction(QStringLiteral("&Save list..."), this, &PlantWindow::saveList);
    devices->addAction(QStringLiteral("&Import data files..."), QKeySequence(Qt::CTRL | Qt::Key_I), this,
                       &PlantWindow::importDataFiles);
    devices->addSeparator();
    devices->addAction(QStringLiteral("&Open valve"), QKeySequence(Qt::CTRL | Qt::Key_O), this, [this] {
        const QString key = m_view->table()->currentIndex().data(plant::PlantTableModel::KeyRole).toString();
        if (!key.isEmpty())
            m_view->onOpen(key);
    });
    devices->addAction(QStringLiteral("&Move to other side"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M), this,
                       [this] {
                           if (Valve* valve = current())
                               MoveToOtherSide(valve->key);
                       });
    devices->addAction(QStringLiteral("C&lose valve"), QKeySequence(Qt::CTRL | Qt::Key_W), this, [this] {
        if (Valve* valve = current())
            CloseValve(valve->key);
    });
}

QDateTime PlantWindow::now() const
{
    return ui::currentDateTime().toUTC();
}

QString PlantWindow::Problem() const
{
    return m_problem->text();
}

void PlantWindow::tell(const QString& problem)
{
    m_problem->setText(problem);
    m_view->statusLine()->setText(problem);
}

QString PlantWindow::AddValve(std::unique_ptr<FrameDevice> device, QtScheduler* clock)
{
    auto valve = std::make_unique<Valve>();
    valve->key = QStringLiteral("valve-%1").arg(m_nextKey++);
    valve->device = std::move(device);
    valve->clock = clock;
    Valve& added = *valve;
    m_valves.push_back(std::move(valve));
    added.row.key = added.key;
    added.watch = std::make_unique<ValveWatch>(
        *added.device, QStringLiteral("plant-%1").arg(added.key),
        [this, &added](const ValveState& state) { stateChanged(added, state); },
        [this, &added](const EndedTest& test) { testEnded(added, test); },
        [this, &added](const QString& why) {
            tell(QStringLiteral("The PST of %1 could not be read to keep it: %2.").arg(added.row.tag, why));
        });
    stateChanged(added, added.watch->State());
    readHistory(added);
    return added.key;
}

void PlantWindow::stateChanged(Valve& valve, const ValveState& state)
{
    const bool identityChanged = state.deviceId != valve.row.deviceId;
    valve.row.tag = state.tag;
    valve.row.deviceId = state.deviceId;
    valve.row.reachable = state.reachable;
    valve.row.mode = state.mode;
    valve.row.health = state.reachable ? plant::healthOf(state.faultBits, state.mode) : plant::DeviceHealth::Unknown;
    valve.row.pstIntervalDays = state.pstIntervalDays;
    if (identityChanged && valve.watch)
        readHistory(valve);  // shows the row
    else
        showRow(valve);
}

void PlantWindow::readHistory(Valve& valve)
{
    valve.row.lastPst.reset();
    valve.row.lastPassed.reset();
    valve.row.projection.clear();
    valve.row.wear.clear();
    if (m_store && valve.row.deviceId >= 0) {
        QString error;
        QList<store::StoredRecord> tests;
        for (store::StoredRecord& kept : m_store->history(valve.row.deviceId, &error))
            if (kept.record.kind == diagnostics::DiagKind::Pst)
                tests.append(std::move(kept));
        if (!error.isEmpty())
            tell(QStringLiteral("The plant store did not give the PSTs of %1: %2").arg(valve.row.tag, error));
        if (!tests.isEmpty()) {
            const store::StoredRecord& last = tests.back();
            valve.row.lastPst = last.takenAt;
            valve.row.lastPassed = last.record.Value(diagnostics::RecordValue::PstPassed) == 0;
            if (const auto limits = valve.watch->ReadLimits())
                valve.row.projection = plant::wearProjection(tests, {limits->limits, limits->unit});
            // Against the baseline chosen for the valve; until one is, against its first kept PST.
            const std::optional<store::BaselineChoice> chosen = m_store->baseline(valve.row.tag, valve.row.deviceId);
            const store::StoredRecord& baseline = chosen ? chosen->record : tests.front();
            if (tests.size() > 1 || chosen)
                valve.row.wear = plant::wearAgainstBaseline(last, baseline);
        }
    }
    showRow(valve);
}

void PlantWindow::showRow(const Valve& valve)
{
    m_view->model()->setNow(now());
    m_view->model()->updateRow(valve.row);
}

void PlantWindow::testEnded(Valve& valve, const EndedTest& test)
{
    if (!m_store) {
        tell(QStringLiteral("The PST of %1 was not kept: there is no plant store. Save it to a data file from "
                            "its graph.")
                 .arg(valve.row.tag));
        return;
    }
    const QDateTime at = now();
    const store::KeepOutcome outcome = m_store->keep(
        {test.record, at.addSecs(-test.secondsAgo), store::keeperName(), at, test.deviceCount});
    if (outcome.kind == store::KeepOutcome::Kind::Failed) {
        tell(QStringLiteral("The PST of %1 was not kept in the plant store: %2. It stays on the valve's pages; "
                            "save it to a data file from its graph.")
                 .arg(valve.row.tag, outcome.why));
        return;
    }
    readHistory(valve);
}

PlantWindow::Valve* PlantWindow::find(const QString& key) const
{
    for (const auto& valve : m_valves)
        if (valve->key == key)
            return valve.get();
    return nullptr;
}

PlantWindow::Valve* PlantWindow::current() const
{
    QWidget* focused = focusWidget();
    for (QTabWidget* pane : {m_right, m_left}) {
        if (!pane->isVisible())
            continue;
        if (pane == m_right && !(focused && pane->isAncestorOf(focused)))
            continue;
        for (const auto& valve : m_valves)
            if (valve->window && valve->window == pane->currentWidget())
                return valve.get();
    }
    return nullptr;
}

FrameWindow* PlantWindow::ValveWindow(const QString& key) const
{
    const Valve* valve = find(key);
    return valve ? valve->window : nullptr;
}

QString PlantWindow::OpenValve(const QString& key)
{
    Valve* valve = find(key);
    if (!valve)
        return QStringLiteral("There is no such valve.");
    if (valve->window) {
        QTabWidget* pane = paneOf(valve->window);
        pane->setCurrentWidget(valve->window);
        return {};
    }
    auto* window = new FrameWindow(m_loader, *valve->device, valve->clock, m_left);
    window->setWindowFlags(Qt::Widget);  // a tab of this window, not a window of its own
    if (const QString error = window->Open(FrameWindow::Control::Online); !error.isEmpty()) {
        delete window;
        return QStringLiteral("%1: %2").arg(valve->row.tag, error);
    }
    valve->window = window;
    const QString title = valve->row.tag.isEmpty() ? valve->device->Describe() : valve->row.tag;
    m_left->setCurrentIndex(m_left->addTab(window, title));
    return {};
}

QTabWidget* PlantWindow::paneOf(QWidget* tab) const
{
    return m_right->indexOf(tab) >= 0 ? m_right : m_left;
}

void PlantWindow::CloseValve(const QString& key)
{
    if (Valve* valve = find(key); valve && valve->window) {
        QTabWidget* pane = paneOf(valve->window);
        closeTab(pane, pane->indexOf(valve->window));
    }
}

void PlantWindow::closeTab(QTabWidget* pane, int index)
{
    QWidget* tab = pane->widget(index);
    for (const auto& valve : m_valves) {
        if (valve->window != tab)
            continue;
        valve->window = nullptr;
        pane->removeTab(index);
        // Its controls say their last words (a fixed output still held, ...) as they are released.
        tab->close();
        tab->deleteLater();
    }
    m_right->setVisible(m_right->count() > 0);
}

void PlantWindow::MoveToOtherSide(const QString& key)
{
    Valve* valve = find(key);
    if (!valve || !valve->window)
        return;
    QTabWidget* from = paneOf(valve->window);
    QTabWidget* to = from == m_left ? m_right : m_left;
    const QString title = from->tabText(from->indexOf(valve->window));
    from->removeTab(from->indexOf(valve->window));
    to->setCurrentIndex(to->addTab(valve->window, title));
    const bool split = m_right->count() > 0;
    if (split && !m_right->isVisibleTo(this)) {
        // Two valves side by side share the width.
        auto* panes = static_cast<QSplitter*>(centralWidget());
        const int half = panes->width() / 2;
        m_right->show();
        panes->setSizes({half, half});
    }
    m_right->setVisible(split);
}

void PlantWindow::chooseDevice()
{
    QStringList addresses;
    QString keyFile;
    {
        ConnectDialog dialog(QString(), this, ConnectDialog::Pick::Many);
        if (dialog.exec() != QDialog::Accepted)
            return;
        addresses = dialog.ChosenAddresses();
        keyFile = dialog.KeyFile();
    }
    QStringList problems;
    QString key;
    for (const QString& address : addresses) {
        // One device picked opens at once, in a tab; several go into the plant view, each
        // connecting in its own time.
        QString error;
        key = addLinked(address, keyFile, addresses.size() == 1, &error);
        if (key.isEmpty())
            problems << QStringLiteral("%1: %2").arg(address, error);
    }
    if (addresses.size() == 1 && !key.isEmpty())
        if (const QString failure = OpenValve(key); !failure.isEmpty())
            problems << failure;
    if (!problems.isEmpty())
        QMessageBox::warning(this, windowTitle(), problems.join(QLatin1Char('\n')));
}

QStringList PlantWindow::AddListed(const QList<ListedDevice>& devices, const QString& path)
{
    QStringList problems;
    for (const ListedDevice& listed : devices) {
        QString error;
        if (addLinked(listed.address, listed.keyFile, false, &error).isEmpty())
            problems << QStringLiteral("%1:%2: %3").arg(QDir::toNativeSeparators(path)).arg(listed.line).arg(error);
    }
    return problems;
}

QString PlantWindow::addLinked(const QString& address, const QString& keyFile, bool wait, QString* error)
{
    std::string why;
    std::unique_ptr<LinkedDevice> linked = LinkedDevice::Make(address.toStdString(), why, keyFile.toStdString());
    if (!linked) {
        *error = QString::fromStdString(why);
        return {};
    }
    linked->Connect();
    // Nothing the user does reaches the window until the device answered or the wait is over.
    if (wait)
        linked->WaitConnected(kConnectWaitMs, QEventLoop::ExcludeUserInputEvents);
    return AddValve(std::move(linked));
}

QList<ListedDevice> PlantWindow::Listed() const
{
    QList<ListedDevice> devices;
    for (const auto& valve : m_valves)
        if (const auto* linked = dynamic_cast<const LinkedDevice*>(valve->device.get()))
            devices.append({linked->Describe(), linked->KeyFile(), 0});
    return devices;
}

void PlantWindow::addFromList()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Add the devices of a plant list"),
                                                      QString(),
                                                      QStringLiteral("Plant lists (*.plant);;All files (*)"));
    if (path.isEmpty())
        return;
    QString error;
    const std::optional<QList<ListedDevice>> devices = readPlantList(path, &error);
    const QStringList problems = devices ? AddListed(*devices, path) : QStringList{error};
    if (!problems.isEmpty())
        QMessageBox::warning(this, windowTitle(), problems.join(QLatin1Char('\n')));
}

void PlantWindow::saveList()
{
    const QList<ListedDevice> devices = Listed();
    if (devices.isEmpty()) {
        tell(QStringLiteral("No device reached over a link to list: the simulated valves are not saved."));
        return;
    }
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save the plant's devices"),
                                                      QStringLiteral("plant.plant"),
                                                      QStringLiteral("Plant lists (*.plant)"));
    if (path.isEmpty())
        return;
    if (const QString error = writePlantList(path, devices); !error.isEmpty())
        QMessageBox::warning(this, windowTitle(), error);
}

void PlantWindow::importDataFiles()
{
    if (!m_store) {
        tell(QStringLiteral("There is no plant store to import into; name one with --store."));
        return;
    }
    const QStringList paths = QFileDialog::getOpenFileNames(
        this, QStringLiteral("Import data files into the plant store"), QString(),
        QStringLiteral("Data files (*.dgn);;All files (*)"));
    if (paths.isEmpty())
        return;
    const Imported imported = ImportDataFiles(paths);
    statusBar()->showMessage(imported.summary.join(QStringLiteral("; ")));
    if (!imported.problems.isEmpty()) {
        // A long list is cut, not the message box made taller than the screen.
        constexpr int kShown = 20;
        QStringList shown = imported.problems.mid(0, kShown);
        if (imported.problems.size() > kShown)
            shown << QStringLiteral("... and %1 more.").arg(imported.problems.size() - kShown);
        QMessageBox::warning(this, windowTitle(), shown.join(QLatin1Char('\n')));
    }
}

PlantWindow::Imported PlantWindow::ImportDataFiles(const QStringList& paths)
{
    Imported imported;
    if (!m_store) {
        imported.problems << QStringLiteral("There is no plant store to import into.");
        return imported;
    }
    QProgressDialog progress(QStringLiteral("Importing..."), QStringLiteral("Stop"), 0, 0, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    const QDateTime at = now();
    for (const QString& path : paths) {
        const QString name = QFileInfo(path).fileName();
        const QString shown = QDir::toNativeSeparators(path);
        store::ImportCount count;
        try {
            count = store::importDataFile(
                *m_store, path, QStringLiteral("%1, imported from %2").arg(store::keeperName(), name), at,
                [&](const store::ImportCount& sofar) {
                    progress.setLabelText(QStringLiteral("Importing %1: %2 records kept, %3 kept already...")
                                              .arg(name)
                                              .arg(sofar.kept)
                                              .arg(sofar.already));
                    // Until the progress shows, and blocks the window, the user's input waits.
                    QCoreApplication::processEvents(progress.isVisible() ? QEventLoop::AllEvents
                                                                         : QEventLoop::ExcludeUserInputEvents);
                    return !progress.wasCanceled();
                });
        } catch (const store::DataFileError& failure) {
            imported.summary << QStringLiteral("%1: not imported").arg(name);
            imported.problems << QStringLiteral("%1: %2").arg(shown, QString::fromStdString(failure.what()));
            continue;
        }
        QString line = QStringLiteral("%1: %2 kept, %3 kept already").arg(name).arg(count.kept).arg(count.already);
        if (!count.failures.isEmpty())
            line += QStringLiteral(", %1 not kept").arg(count.failures.size());
        if (count.stopped)
            line += QStringLiteral(", stopped; importing it again keeps the rest");
        imported.summary << line;
        for (const QString& problem : count.problems + count.failures)
            imported.problems << QStringLiteral("%1: %2").arg(shown, problem);
        if (count.stopped)
            break;
    }
    // An imported test may be a valve's last.
    for (const auto& valve : m_valves)
        readHistory(*valve);
    return imported;
}

void PlantWindow::closeEvent(QCloseEvent* event)
{
    for (const auto& valve : m_valves)
        if (valve->window)
            valve->window->close();
    event->accept();
}

}  // namespace orvx::frame
