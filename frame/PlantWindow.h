#pragma once

#include "PlantList.h"
#include "plant/ValveRow.h"
#include "plant/WearProjection.h"

#include <QMainWindow>

#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QTabWidget;

namespace orvx::plant {
class PlantView;
}
namespace orvx::store {
class PlantStore;
}

namespace orvx::frame {

class FrameDevice;
class FrameWindow;
class ModuleLoader;
class QtScheduler;
class ValveWatch;
struct EndedTest;
struct ValveState;

// The program's main window: the plant view over every valve the frame knows, and a tab for
// each valve the user opened, with that valve's controls and its own menus. Tabs sit in two
// panes, so that two valves can be worked side by side. Each valve keeps its own state: its
// user level, its private dialogs and what runs on it belong to its tab alone.
//
// Every PST that ends on a valve is read from it and kept in the plant store; a store that
// fails is named in the status bar, the test staying on the valve's pages to be saved to a data
// file instead. The module's windows read the same store: the window names it to them in the
// environment variable ORVX_PLANT_STORE.
class PlantWindow : public QMainWindow {
public:
    // `store` may be null, with `storeProblem` saying why there is none.
    PlantWindow(ModuleLoader& loader, std::unique_ptr<store::PlantStore> store, const QString& storeProblem);
    ~PlantWindow() override;

    // Adds a valve; `clock`, when given, is the device's and must outlive the window. Answers
    // its key.
    QString AddValve(std::unique_ptr<FrameDevice> device, QtScheduler* clock = nullptr);
    // Adds the devices of a saved list, each connecting in its own time; answers the problems,
    // each naming its line of `path`, of those that name no device.
    QStringList AddListed(const QList<ListedDevice>& devices, const QString& path);
    // The devices reached over a link, as a saved list keeps them; simulated valves are left out.
    QList<ListedDevice> Listed() const;
    // What importing data files into the plant store did: one line for each file, and what was
    // not kept (each naming its file and line).
    struct Imported {
        QStringList summary;
        QStringList problems;
    };
    // Imports the data files into the plant store, with a progress the user may cancel, and shows
    // the valves' rows again.
    Imported ImportDataFiles(const QStringList& paths);
    // Opens the valve's tab with its main view, or shows it when open. Answers an error text or
    // empty.
    QString OpenValve(const QString& key);
    // Closes the valve's tab, releasing its controls as a frame does.
    void CloseValve(const QString& key);
    // The open valve's window, or null.
    FrameWindow* ValveWindow(const QString& key) const;
    // Moves the valve's tab to the other pane.
    void MoveToOtherSide(const QString& key);
    plant::PlantView* View() const { return m_view; }
    store::PlantStore* Store() const { return m_store.get(); }
    QString Problem() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Valve;
    void buildMenus();
    void chooseDevice();
    void addFromList();
    void saveList();
    void importDataFiles();
    // Adds the device at `address`, connecting, and waiting for it when `wait`; answers its key,
    // or empty with the reason.
    QString addLinked(const QString& address, const QString& keyFile, bool wait, QString* error);
    Valve* find(const QString& key) const;
    Valve* current() const;
    QTabWidget* paneOf(QWidget* tab) const;
    void closeTab(QTabWidget* pane, int index);
    void stateChanged(Valve& valve, const ValveState& state);
    void testEnded(Valve& valve, const EndedTest& test);
    // The valve's history from the store: its last PST, its result, its wear.
    void readHistory(Valve& valve);
    void showRow(const Valve& valve);
    void tell(const QString& problem);
    QDateTime now() const;

    ModuleLoader& m_loader;
    std::unique_ptr<store::PlantStore> m_store;
    std::vector<std::unique_ptr<Valve>> m_valves;
    plant::PlantView* m_view;
    QTabWidget* m_left;
    QTabWidget* m_right;
    QLabel* m_problem;
    int m_nextKey = 1;
    std::optional<QByteArray> m_storeBefore;  // the environment's store name, given back at the end
};

}  // namespace orvx::frame
