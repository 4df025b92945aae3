#pragma once

#include "device/IDtmActiveXControl.h"
#include "device/IUpdateUI.h"
#include "frame/ModuleLoader.h"
#include "host/IDtmControlWindow.h"
#include "platform/com/ComPtr.h"
#include "simulator/ManualScheduler.h"
#include "simulator/SimulatedPositioner.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

namespace orvx::bench {

// The simulated positioner, noting the tags a control reads while asked to.
class RecordingPositioner : public simulator::SimulatedPositioner {
public:
    using SimulatedPositioner::SimulatedPositioner;
    com::Status GetParameter(const com::BStr& tag, com::Variant* value) override
    {
        if (recording)
            reads.push_back(tag);
        return SimulatedPositioner::GetParameter(tag, value);
    }
    bool recording = false;
    std::vector<com::BStr> reads;
};

// The simulator on a clock that moves only when told, connected, without message boxes.
struct Device {
    Device();
    ~Device();
    simulator::ManualScheduler scheduler;
    com::ComPtr<RecordingPositioner> positioner;
};

// The real module, registered in a registry file of the benchmark's own and loaded through it,
// as orvx-frame loads it.
class Module {
public:
    static Module& Instance();
    frame::ModuleLoader& Loader() { return m_loader; }

private:
    Module();
    QTemporaryDir m_folder;
    frame::ModuleLoader m_loader;
};

// One control of the module hosted in a window of its own, handed the device.
class HostedControl {
public:
    HostedControl(const com::Guid& clsid, Device& device, QSize size = {1000, 700});
    // Over any business object: the HART link's, say.
    HostedControl(const com::Guid& clsid, com::IUnknown* businessObject, QSize size = {1000, 700});
    ~HostedControl();
    QWidget* Window() const { return m_window->ControlWindow(); }
    QWidget& Parent() { return *m_parent; }
    device::IUpdateUI& Updates() { return *m_updates; }

    // The labels of the navigation tree in tree order.
    QStringList PageLabels() const;
    // Selects a page as a user clicks it in the tree, and lets it show.
    void Select(const QString& label);
    // The page the splitter shows now.
    QWidget* ShownPage() const;

private:
    std::unique_ptr<QWidget> m_parent;
    com::ComPtr<host::IDtmControlWindow> m_window;
    com::ComPtr<device::IDtmActiveXControl> m_control;
    com::ComPtr<device::IUpdateUI> m_updates;
};

// Resident memory of the process in kB.
long residentKb();
// What the process has allocated and not freed, in kB.
long heapInUseKb();

}  // namespace orvx::bench
