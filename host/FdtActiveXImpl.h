#pragma once

#include "device/IDtmActiveXControl.h"
#include "device/IUpdateUI.h"
#include "framework/TextProvider.h"
#include "framework/UIController.h"
#include "platform/com/ComPtr.h"
#include "platform/ui/PostCall.h"

#include <memory>

class QWidget;

namespace orvx::framework {
class IActionArea;
class IIdentificationArea;
class IInternalUpdateUI;
class IKeyboardNavigation;
class IMainSplitter;
class INavigationArea;
class IStatusArea;
class IToolbarArea;
class IUIEditModel;
class IWindowVisibility;
}  // namespace orvx::framework

namespace orvx::host {

// The windows of a control's composition as the FDT entry and the controller reach them.
struct ControlAreas {
    framework::IMainSplitter* splitter = nullptr;
    framework::IKeyboardNavigation* keyboard = nullptr;
    framework::INavigationArea* navigation = nullptr;
    framework::IStatusArea* status = nullptr;
    framework::IInternalUpdateUI* statusUpdates = nullptr;
    framework::IIdentificationArea* identification = nullptr;
    framework::IInternalUpdateUI* identificationUpdates = nullptr;
    framework::IActionArea* action = nullptr;
    framework::IInternalUpdateUI* actionUpdates = nullptr;
    framework::IWindowVisibility* actionVisibility = nullptr;
    framework::IToolbarArea* toolbar = nullptr;
    framework::IInternalUpdateUI* toolbarUpdates = nullptr;
    framework::IWindowVisibility* toolbarVisibility = nullptr;
};

// What the frame and the business object call on the main, offline and trend controls: the
// hand-over of the business object, its release, and its notifications. Owns the control's
// controller and text provider; the concrete control supplies its identity, its window, its
// edit model and its window composition. No exception leaves an entry point: a failure is
// answered with its status and reported on the status line.
class CFdtActiveXImpl : public device::IDtmActiveXControl, public device::IUpdateUI {
public:
    ~CFdtActiveXImpl();
    CFdtActiveXImpl(const CFdtActiveXImpl&) = delete;
    CFdtActiveXImpl& operator=(const CFdtActiveXImpl&) = delete;

    com::Status Init(const com::BStr& callerTag, const com::BStr& functionCall, com::IUnknown* businessObject,
                     bool* result) override;
    com::Status PrepareToRelease(bool* result) override;
    com::Status Notify(std::int32_t code, const com::Variant& value) override;

    // The window composition, once the control's windows exist.
    void AttachAreas(const ControlAreas& areas);
    // Before the windows go: nothing may reach them afterwards.
    void DetachAreas();
    bool WindowsCreated() const { return m_windowsCreated; }

    framework::CUIController& Controller() { return m_controller; }
    framework::CTextProvider& TextProvider() { return m_texts; }
    bool IsRegistered() const { return m_registered; }
    bool HoldsBusinessObject() const { return static_cast<bool>(m_businessObject); }
    const QString& CallerTag() const { return m_callerTag; }
    const QString& ProgId() const { return m_progId; }

protected:
    CFdtActiveXImpl() = default;
    CFdtActiveXImpl(QString progId, framework::IUIEditModel* editModel);
    // Set by the concrete control when it is constructed.
    void SetProgId(const QString& progId) { m_progId = progId; }
    void SetEditModel(framework::IUIEditModel* model) { m_editModel = model; }

    virtual void StartUi();
    virtual void RefreshState();
    // The control's own identity and window.
    virtual com::IUnknown* GetControlUnknown() = 0;
    virtual QWidget* GetControlWindow() = 0;

private:
    com::Status init(const com::BStr& callerTag, const com::BStr& functionCall, com::IUnknown* businessObject,
                     bool* result);
    com::Status failed(const char* where, const std::exception& error);

    com::ComPtr<com::IUnknown> m_businessObject;
    QString m_callerTag;
    bool m_registered = false;
    ControlAreas m_areas;
    framework::CUIController m_controller;
    QString m_progId;
    framework::IUIEditModel* m_editModel = nullptr;
    bool m_windowsCreated = false;
    framework::CTextProvider m_texts;
    QString m_functionCall;
    bool m_relayHeld = false;
    // Failures caught in handlers show on this control's status line while it runs.
    std::unique_ptr<ui::CErrorReportScope> m_reportScope;
};

}  // namespace orvx::host
