#include "HostedControl.h"

#include "ModuleLoader.h"
#include "device/IDtmActiveXControl.h"
#include "device/StringBridge.h"
#include "host/IDtmControlWindow.h"

namespace orvx::frame {

namespace {
const QString kFunctionCall = QStringLiteral(
    "<?xml version=\"1.0\"?><FDT xmlns=\"x-schema:DTMFunctionCallSchema.xml\"><FunctionCall functionId=\"0\"/></FDT>");
}

HostedControl::HostedControl(ModuleLoader& loader, const com::Guid& clsid, const QString& callerTag)
    : m_callerTag(callerTag)
{
    m_object = loader.Create(clsid, &m_error);
}

HostedControl::~HostedControl()
{
    Release();
}

QString HostedControl::Start(QWidget* parent, com::IUnknown* businessObject)
{
    if (!m_object)
        return m_error;
    const auto window = com::queryInterface<host::IDtmControlWindow>(m_object);
    const auto control = com::queryInterface<device::IDtmActiveXControl>(m_object);
    if (!window || !control)
        return QStringLiteral("the object is not a control of this frame's kind");
    if (com::failed(window->CreateControlWindow(parent)))
        return QStringLiteral("the control could not create its window");
    bool result = false;
    const com::Status status = control->Init(device::toBStr(m_callerTag), device::toBStr(kFunctionCall), businessObject,
                                             &result);
    if (com::failed(status) || !result)
        return QStringLiteral("the control did not take the device (%1)")
            .arg(QString::fromLatin1(com::statusName(status)));
    return {};
}

void HostedControl::Release()
{
    if (m_released || !m_object)
        return;
    m_released = true;
    if (const auto control = com::queryInterface<device::IDtmActiveXControl>(m_object)) {
        bool result = false;
        control->PrepareToRelease(&result);
    }
}

QWidget* HostedControl::Window() const
{
    const auto window = com::queryInterface<host::IDtmControlWindow>(m_object);
    return window ? window->ControlWindow() : nullptr;
}

}  // namespace orvx::frame
