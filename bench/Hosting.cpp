#include "Hosting.h"

#include "device/StringBridge.h"
#include "host/Guids.h"

#include <QApplication>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <fstream>
#include <malloc.h>
#include <stdexcept>
#include <string>

namespace orvx::bench {

namespace {
const QString kFunctionCall = QStringLiteral(
    "<?xml version=\"1.0\"?><FDT xmlns=\"x-schema:DTMFunctionCallSchema.xml\"><FunctionCall functionId=\"0\"/></FDT>");
}

Device::Device() : positioner(com::makeComObject<RecordingPositioner>(scheduler))
{
    positioner->Connect();
    positioner->SetPrivateDialogs(false);  // no box may wait for a user
}

Device::~Device()
{
    positioner->Disconnect();
}

Module& Module::Instance()
{
    static Module module;
    return module;
}

Module::Module()
{
    qputenv("ORVX_REGISTRY_FILE", m_folder.filePath(QStringLiteral("registry.reg")).toUtf8());
    const QString error = m_loader.EnsureRegistered(host::CLSID_OrvxESDDTMGUIView, QString::fromUtf8(ORVX_MODULE_FILE));
    if (!error.isEmpty())
        throw std::runtime_error(error.toStdString());
}

HostedControl::HostedControl(const com::Guid& clsid, Device& device, QSize size)
    : HostedControl(clsid, device.positioner->identity(), size)
{
}

HostedControl::HostedControl(const com::Guid& clsid, com::IUnknown* businessObject, QSize size)
    : m_parent(std::make_unique<QWidget>())
{
    m_parent->resize(size);
    QString error;
    const auto object = Module::Instance().Loader().Create(clsid, &error);
    m_window = com::queryInterface<host::IDtmControlWindow>(object);
    m_control = com::queryInterface<device::IDtmActiveXControl>(object);
    m_updates = com::queryInterface<device::IUpdateUI>(object);
    if (!m_window || !m_control || !m_updates)
        throw std::runtime_error("the module made no control: " + error.toStdString());
    bool result = false;
    if (com::failed(m_window->CreateControlWindow(m_parent.get())) ||
        com::failed(m_control->Init(device::toBStr(QStringLiteral("bench")), device::toBStr(kFunctionCall),
                                    businessObject, &result)) ||
        !result)
        throw std::runtime_error("the control did not start");
    m_parent->show();
    QApplication::processEvents();
}

HostedControl::~HostedControl()
{
    bool result = false;
    m_control->PrepareToRelease(&result);
    // The control goes before the window it was given, as a frame lets go of it.
    m_updates.reset();
    m_control.reset();
    m_window.reset();
}

QStringList HostedControl::PageLabels() const
{
    QStringList labels;
    if (auto* tree = Window()->findChild<QTreeWidget*>())
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            labels.append((*it)->text(0));
    return labels;
}

void HostedControl::Select(const QString& label)
{
    auto* tree = Window()->findChild<QTreeWidget*>();
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->text(0) == label) {
            tree->setCurrentItem(*it);
            QApplication::processEvents();
            return;
        }
    }
    throw std::runtime_error("no page " + label.toStdString());
}

QWidget* HostedControl::ShownPage() const
{
    auto* bar = Window()->findChild<QWidget*>(QStringLiteral("splitterBar"));
    auto* tree = Window()->findChild<QTreeWidget*>();
    if (!bar || !tree)
        return nullptr;
    for (QObject* child : bar->parentWidget()->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && w != bar && w->isVisible() && !w->isAncestorOf(tree))
            return w;
    }
    return nullptr;
}

long residentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

long heapInUseKb()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long>((info.uordblks + info.hblkhd) / 1024);
}

}  // namespace orvx::bench
