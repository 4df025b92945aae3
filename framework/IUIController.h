#pragma once

#include "platform/com/Variant.h"

#include <QBrush>
#include <QString>

#include <cstdint>

class QWidget;

namespace orvx::controls {
class CUIEventBase;
}

namespace orvx::framework {

class IActionArea;
class IApplicationView;
class IIdentificationArea;
class INavigationArea;
class IStatusArea;
class IToolbarArea;

// Device mode codes; page availability masks use the same bits and ModeAny for any mode.
enum DeviceMode : std::uint32_t {
    ModeSetup = 1,
    ModeManual = 2,
    ModeNormal = 4,
    ModeLowPower = 8,
    ModeFailSafe = 16,
    ModeFatal = 32,
    ModeFailHigh = 64,
    ModeMarginalPower = 128,
    ModeDisconnected = 256,
    ModeAny = 512,
};

// The hub of one user-interface control: pages, events, parameters, user rights, the running
// device operation and the business object's notifications all go through it.
class IUIController {
public:
    virtual ~IUIController() = default;
    virtual bool HandleEvent(controls::CUIEventBase& event) = 0;
    virtual void RefreshControl(std::int32_t viewId, const QString& tag) = 0;
    virtual void RefreshPage(std::int32_t viewId, std::int32_t controlId) = 0;
    virtual void ValidatePages(std::int32_t controlId) = 0;
    virtual void NotifyDataReloaded() = 0;
    virtual void ActivateView(std::int32_t viewId) = 0;
    virtual void ApplyPageSettings(std::int32_t viewId, const QString& viewSetting) = 0;
    virtual void LoadLayoutDescription(const QString& layout) = 0;
    // Takes ownership of the page when it answers true; an id already present answers false
    // and the caller keeps the page.
    virtual bool RegisterView(std::int32_t viewId, IApplicationView* page) = 0;
    virtual QWidget* GetMainWindow() const = 0;
    virtual void DestroyViews() = 0;
    virtual std::int32_t GetActiveViewId() const = 0;
    virtual IIdentificationArea* GetIdentificationArea() const = 0;
    virtual IActionArea* GetActionArea() const = 0;
    virtual IStatusArea* GetStatusArea() const = 0;
    virtual IToolbarArea* GetToolbarArea() const = 0;
    virtual INavigationArea* GetNavigationArea() const = 0;
    virtual IApplicationView* GetView(std::int32_t viewId) const = 0;
    virtual void HideActionArea(bool hide) = 0;
    virtual void HideToolbarArea(bool hide) = 0;
    virtual void SetNavigationHidden(bool hide) = 0;
    virtual bool IsNavigationHidden() const = 0;
    virtual bool IsRegistered() const = 0;
    virtual bool IsPrivateDialogEnabled() = 0;
    virtual void SetPrivateDialogEnabled(bool enabled) = 0;
    virtual void SetSplitterFraction(int divisor) = 0;
    virtual void Reserved(std::int32_t first, const QString& second) = 0;
    virtual void SetUserLevel(const QString& level) = 0;
    virtual QString GetUserLevel() const = 0;
    virtual bool IsWritable() const = 0;
    virtual void ApplyWritability() = 0;
    // An empty value without an edit model; the edit model's errors are raised.
    virtual com::Variant GetParameterValue(const QString& tag) = 0;
    virtual void SetParameterValue(const QString& tag, const com::Variant& value) = 0;
    virtual void SetOperation(bool running, std::int32_t ownerViewId, std::int32_t expectedCode) = 0;
    virtual bool IsOperationRunning() const = 0;
    virtual std::int32_t GetOperationOwner() const = 0;
    virtual std::int32_t GetOperationCode() const = 0;
    virtual bool IsDeviceConnected() = 0;
    virtual std::uint32_t GetDeviceMode() = 0;
    virtual QString GetModeText() = 0;
    virtual QBrush GetBackgroundBrush() const = 0;
};

}  // namespace orvx::framework
