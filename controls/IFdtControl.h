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
    IndicatorNormal = 0,       // icon 34
    IndicatorModified = 1,     // icon 31
    IndicatorInvalid = 2,      // icon 30
    IndicatorReadOnly = 3,     // icon 16
    IndicatorUnavailable = 4,  // icon 29
};

// A widget bound to one device parameter.
class IFdtControl {
public:
    virtual ~IFdtControl() = default;

    // -- What the control is --
    // Shows a caption: the text of a button or static text, a combo box's caption label, the name
    // a text field gives the parameter in its messages; the other kinds ignore it.
    virtual void SetCaption(const QString& text) = 0;
    // The kind's fixed name, for instance "DtmTextControl" or "FdtComboBoxControl".
    virtual QString GetTypeName() const = 0;
    // The id the page knows the control by; fixed when the control is made.
    virtual std::int32_t GetControlId() const = 0;
    // The parameter tag (decimal text); empty until a ControlData element gives one.
    virtual const QString& GetTag() const = 0;
    // Stores the owning page's view id, which every event carries; set when the page registers it.
    virtual void SetViewId(std::int32_t viewId) = 0;

    // -- Value and look --
    // Reads the parameter through the controller and shows it; never raises. A failed read shows no
    // new value and its error text becomes the control's error. A button does nothing.
    virtual void Refresh() = 0;
    // Applies a ControlData element. A malformed attribute stops there; nothing is raised.
    virtual void Configure(const xml::XmlNode& controlData) = 0;
    // The IndicatorState; only the combo box keeps it up to date, other kinds stay IndicatorNormal.
    virtual std::int32_t GetIndicatorState() const = 0;

    // -- Enabling --
    // Accepts input only while the "enabled" setting holds and the user may write; a text field
    // turns read-only instead of disabled. Lists, progress bars and static texts ignore it.
    virtual void ApplyEnabled() = 0;
    // Enables or disables the widgets for the page's mode gating; nothing when "modeui" is false,
    // nor for lists, progress bars, static texts and buttons.
    virtual void EnableForMode(bool enable) = 0;
    // The edit field of a text control or the label of a static text; none for other kinds.
    virtual QWidget* GetEditWindow() const = 0;
    // Whether the control is attached to every widget it shows its parameter in; a control
    // left without one shows nothing and takes no input.
    virtual bool HasWidget() const = 0;

    // The message of the last failed validation, empty once an entry passes; only text and bit
    // enumeration controls validate.
    virtual QString GetValidationMessage() const { return {}; }
    // The validation message naming the field it concerns, where the control knows its label;
    // else the plain validation message.
    virtual QString GetLabelledMessage() const { return GetValidationMessage(); }
};

}  // namespace orvx::controls
