#pragma once

#include <QString>

#include <cstdint>

class QWidget;

namespace orvx::xml {
class XmlNode;
}

namespace orvx::controls {

// Indicator states of a data-bound control; each has an icon of the icon library.
enum IndicatorState : std::int32_t {
    IndicatorNormal = 0,      // icon 34
    IndicatorModified = 1,    // icon 31
    IndicatorInvalid = 2,     // icon 30
    IndicatorReadOnly = 3,    // icon 16
    IndicatorUnavailable = 4, // icon 29
};

// A widget bound to one device parameter.
class IFdtControl {
public:
    virtual ~IFdtControl() = default;
    virtual void SetCaption(const QString& text) = 0;
    virtual QString GetTypeName() const = 0;
    virtual std::int32_t GetControlId() const = 0;
    virtual QString GetTag() const = 0;
    virtual void SetViewId(std::int32_t viewId) = 0;
    virtual void Refresh() = 0;
    // Applies a ControlData element. A malformed attribute stops there; nothing is raised.
    virtual void Configure(const xml::XmlNode& controlData) = 0;
    virtual std::int32_t GetIndicatorState() const = 0;
    virtual void ApplyEnabled() = 0;
    virtual void EnableForMode(bool enable) = 0;
    virtual QWidget* GetEditWindow() const = 0;
    // Whether the control is attached to every widget it shows its parameter in; a control
    // left without one shows nothing and takes no input.
    virtual bool HasWidget() const = 0;

    // The message of the last failed validation; only text controls have one.
    virtual QString GetValidationMessage() const { return {}; }
};

}  // namespace orvx::controls
