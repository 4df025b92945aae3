#pragma once

#include "HostedControl.h"

#include <QMainWindow>

#include <map>
#include <memory>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QTabWidget;
class QTimer;
class QTreeWidget;

namespace orvx::simulator {
class SimulatedPositioner;
}

namespace orvx::frame {

class FrameDevice;
class ModuleLoader;
class QtScheduler;
class ShotWriter;

// The frame's window: the module's controls in tabs over one device, with the device's
// connection, the user level and private dialogs in the menus, and for the simulated positioner
// its simulated faults. The status bar names the simulated faults in force, so that none passes
// for a real one, and the command the device is running with the time it has run, or what keeps
// the link from a real device.
class FrameWindow : public QMainWindow {
public:
    enum class Control { Online, Offline, Trend, Address };

    // With the device's clock, the status bar follows the device after each piece of its work;
    // without, a timer looks four times a second. The clock must outlive the window.
    FrameWindow(ModuleLoader& loader, simulator::SimulatedPositioner& device, QtScheduler* deviceClock = nullptr);
    // Over any device; without the simulated positioner there are no Simulate menu and no
    // screenshots.
    FrameWindow(ModuleLoader& loader, std::unique_ptr<FrameDevice> device, QtScheduler* deviceClock = nullptr);
    // One valve of the plant window, in its tab: the device stays the plant's, and the plant
    // connects to other devices, so there is no Device > Connect... here.
    FrameWindow(ModuleLoader& loader, FrameDevice& device, QtScheduler* deviceClock, QWidget* parent);
    ~FrameWindow() override;

    // Opens the control's tab, making the control on first use. Answers an error text or empty.
    QString Open(Control control);
    // Renders every page of the main view, the overview once more in a dark palette, and the other
    // three controls to PNG files in 'folder', after the simulated valve has stroked for a few
    // seconds. Answers how many files were written; problems go to 'errors'. Needs the simulated
    // positioner.
    int WriteScreenshots(const QString& folder, QStringList* errors);
    // Shows the device's running command in the status bar, or what keeps the link from it.
    void ShowOperation();
    // Puts the controls over the device at `address` (a --device address, `keyFile` for a
    // hart-ip+tls:// one): the open controls are released, the device before is let go (a link
    // stopped), the new one connected and the main view opened over it. Answers an error text,
    // or empty; on an error the window stays with the device it had.
    QString SwitchTo(const QString& address, const QString& keyFile = {});

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    // Device > Connect...: the devices that answer at an address, one of them to switch to.
    void chooseDevice();
    // The status bar follows the device clock when there is one, else a timer.
    void followStatus();
    // Every control released and its tab closed.
    void closeControls();
    void showFaults();
    // Simulate > PST history: a year of PSTs into a data file the user chooses.
    void simulateHistory();
    void releaseAll();
    QWidget* controlWindow(Control control) const;
    // Every page of the online tree pictured, in tree order.
    void pictureEveryPage(QTreeWidget* tree, ShotWriter& shots);
    // In a dark palette: every page and the other controls looked at, the overview pictured.
    void lookInDark(QTreeWidget* tree, ShotWriter& shots, QStringList* errors);

    ModuleLoader& m_loader;
    std::unique_ptr<FrameDevice> m_owned;  // null when the device is the plant's
    FrameDevice* m_device;
    QtScheduler* m_deviceClock;
    QTabWidget* m_tabs;
    QLabel* m_faults;
    QLabel* m_operation;
    QTimer* m_statusTimer;
    QMenu* m_simulate = nullptr;
    QAction* m_privateDialogs = nullptr;
    QActionGroup* m_userLevels = nullptr;
    std::map<Control, std::unique_ptr<HostedControl>> m_controls;
};

}  // namespace orvx::frame
