#pragma once

#include <QSize>
#include <QString>

#include <cstdint>

class QWidget;

namespace orvx::controls {
class IFdtControl;
}

namespace orvx::framework {

class IUIController;

// A page of the main window's right pane, as the controller, the edit model and the
// data-bound controls see it.
class IApplicationView {
public:
    virtual ~IApplicationView() = default;
    virtual QWidget* GetWindow() const = 0;
    virtual bool IsActivated() const = 0;
    virtual void Activate() = 0;
    virtual void Deactivate() = 0;
    virtual void ApplyViewSetting(const QString& viewSetting) = 0;
    virtual void SetController(IUIController* controller) = 0;
    virtual void SetToolTip(QWidget* window, const QString& text) = 0;
    virtual void RemoveToolTip(QWidget* window) = 0;
    virtual void OnControlStateChanged(std::int32_t controlId) = 0;
    virtual void OnControlValidated(controls::IFdtControl* control, bool valid) = 0;
    virtual void ShowValidationErrors(std::int32_t firstControlId, std::int32_t lastControlId) = 0;
    // True when the control (-1: every control) holds no invalid input; shows the messages
    // when private dialogs are enabled.
    virtual bool CheckValid(std::int32_t controlId) = 0;
    virtual void ClearInvalid() = 0;
    virtual int GetStateLevel() const = 0;
    virtual void OnUpdate(std::int32_t code, const QString& text) = 0;
    virtual void RefreshControlRange(std::int32_t firstControlId, std::int32_t lastControlId) = 0;
    virtual void RefreshByTag(const QString& tag) = 0;
    virtual void RefreshControls(std::int32_t controlId) = 0;
    virtual void RefreshWriteAccess() = 0;
    virtual void LoadViewSetting() = 0;
    virtual void SetScrollSize(QSize size) = 0;
    // Recomputes the page's restriction and applies what changed; nothing when 'force' is false.
    virtual void UpdateAccess(bool force) = 0;
};

}  // namespace orvx::framework
