#pragma once

#include "IDtmControlWindow.h"
#include "Module.h"
#include "SimpleActiveXImpl.h"
#include "platform/com/ComObject.h"

#include <QPointer>

class QComboBox;
class QPushButton;

namespace orvx::host {

// The address panel: shows and changes the device's HART polling address (tag::PollingAddress).
class CTAdress final
    : public com::ComObjectOf<
          com::InterfaceList<CSimpleActiveXImpl, ITAdress, IDtmControlWindow>,
          com::InterfaceList<ITAdress, device::IDtmActiveXControl, device::IUpdateUI, IDtmControlWindow>> {
public:
    static constexpr const char* kProgId = "OrvxTarnelGUI.TAdress";

    CTAdress();
    ~CTAdress() override;

    com::Status CreateControlWindow(QWidget* parent) override;
    QWidget* ControlWindow() override { return m_window; }

    // The list's selection changed: Apply is offered exactly when it differs from the device's address.
    void OnSelectionChanged(int index);
    // Writes the selected address and the command that makes the device take it.
    void OnApply();
    void OnClose();

protected:
    com::IUnknown* GetControlUnknown() override { return identity(); }
    QWidget* GetControlWindow() override { return m_window; }
    void PlaceControlWindow() override;

private:
    CModuleObject m_count;
    QPointer<QWidget> m_window;
    QPointer<QComboBox> m_list;
    QPointer<QPushButton> m_apply;
    QPointer<QWidget> m_group;
};

}  // namespace orvx::host
