#pragma once

#include "FdtActiveXImpl.h"
#include "IDtmControlWindow.h"
#include "Module.h"
#include "framework/EditModel.h"
#include "framework/SinglePageEditModel.h"
#include "platform/com/ComObject.h"

#include <QPointer>

#include <memory>

namespace orvx::host {

class CControlComposition;

// A control with the full window composition: identification band, toolbar, navigation tree
// and page, action area and status bar, over its own edit model.
template <class EditModel, class Dispatch>
class CFullControl
    : public com::ComObjectOf<
          com::InterfaceList<CFdtActiveXImpl, Dispatch, IDtmControlWindow>,
          com::InterfaceList<Dispatch, device::IDtmActiveXControl, device::IUpdateUI, IDtmControlWindow>> {
public:
    ~CFullControl() override;

    com::Status CreateControlWindow(QWidget* parent) override;
    QWidget* ControlWindow() override { return m_window; }

protected:
    explicit CFullControl(const char* progId);
    com::IUnknown* GetControlUnknown() override { return this->identity(); }
    QWidget* GetControlWindow() override { return m_window; }

private:
    CModuleObject m_count;
    EditModel m_model;
    QPointer<QWidget> m_window;
    std::unique_ptr<CControlComposition> m_composition;
};

// The main online view: every page of the device under its navigation tree.
class COrvxESDDTMGUIView final : public CFullControl<framework::CEditModel, IOrvxESDDTMGUIView> {
public:
    static constexpr const char* kProgId = "OrvxTarnelGUI.OrvxESDDTMGUIView";
    COrvxESDDTMGUIView() : CFullControl(kProgId) {}
};

// The offline view: the stored configuration on one page.
class COffline final : public CFullControl<framework::CEditModelOffline, IOffline> {
public:
    static constexpr const char* kProgId = "OrvxTarnelGUI.Offline";
    COffline() : CFullControl(kProgId) {}
};

// The trend view: the live chart on one page.
class CTrend final : public CFullControl<framework::CEditModelTrend, ITrend> {
public:
    static constexpr const char* kProgId = "OrvxTarnelGUI.Trend";
    CTrend() : CFullControl(kProgId) {}
};

}  // namespace orvx::host
