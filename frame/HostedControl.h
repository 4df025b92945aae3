#pragma once

#include "platform/com/ComPtr.h"
#include "platform/com/Guid.h"

#include <QString>

class QWidget;

namespace orvx::frame {

class ModuleLoader;

// One control of the module as the frame hosts it: made through the class factory, given a
// parent window, handed the business object, and released when the frame closes it.
class HostedControl {
public:
    HostedControl(ModuleLoader& loader, const com::Guid& clsid, const QString& callerTag);
    ~HostedControl();
    HostedControl(const HostedControl&) = delete;
    HostedControl& operator=(const HostedControl&) = delete;

    // Creates the window under 'parent' and initialises the control; answers an error text, or
    // an empty text when the control runs.
    QString Start(QWidget* parent, com::IUnknown* businessObject);
    // PrepareToRelease, once; later calls do nothing.
    void Release();
    QWidget* Window() const;

private:
    com::ComPtr<com::IUnknown> m_object;
    QString m_callerTag;
    QString m_error;
    bool m_released = false;
};

}  // namespace orvx::frame
