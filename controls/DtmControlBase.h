#pragma once

#include "IFdtControl.h"

#include <QObject>

#include <optional>

namespace orvx::framework {
class IApplicationView;
class IUIController;
}  // namespace orvx::framework

namespace orvx::controls {

class CUIEventBase;

// What every data-bound control shares: its ids and tag, the common ControlData attributes,
// the enabled rules and the semantic error taken from events. The widget side of each kind
// lives in the kind's class; the page's field builder hands each kind its widgets (Attach), and
// a kind that must see a widget's events first installs itself as the widget's event filter (Qt
// drops the filter when either goes away).
class CDtmControlBase : public QObject, public IFdtControl {
public:
    CDtmControlBase(std::int32_t controlId, framework::IApplicationView* page, framework::IUIController* controller);
    ~CDtmControlBase() override;

    void SetCaption(const QString&) override {}
    std::int32_t GetControlId() const override { return m_controlId; }
    const QString& GetTag() const override { return m_tag; }
    void SetViewId(std::int32_t viewId) override { m_viewId = viewId; }
    std::int32_t GetIndicatorState() const override { return m_indicatorState; }
    // Enables the kind's widgets for the page's mode rules, when the control takes part in them.
    void EnableForMode(bool enable) override;
    QWidget* GetEditWindow() const override { return nullptr; }
    // True when boundWindows() lists at least one widget and none of them is missing.
    bool HasWidget() const override;

    std::int32_t GetViewId() const { return m_viewId; }
    bool HasSemanticError() const { return m_semanticError; }
    const QString& SemanticErrorText() const { return m_semanticErrorText; }
    bool IsAvailable() const { return m_available; }
    bool IsModifiedFlag() const { return m_modified; }
    bool IsEnabledSetting() const { return m_enabled; }
    bool TakesPartInModeRules() const { return m_modeUi; }

protected:
    // The widgets the page's mode rules enable and disable; none for kinds that take no part.
    virtual QList<QWidget*> modeWindows() const { return {}; }
    // The widgets the control was attached to: the mode windows, else the edit window.
    virtual QList<QWidget*> boundWindows() const;

    // Reading attributes: a missing attribute is distinct from an empty one. The readers that
    // convert throw the conversion's exception, which ends the kind's Configure.
    static std::optional<QString> attribute(const xml::XmlNode& element, const char* name);
    // Reads a present attribute into a text kept from before, converting the document's bytes
    // only when they differ from it: a page's settings applied again bring mostly the same texts.
    // False, leaving the text alone, when the attribute is missing.
    static bool readInto(const xml::XmlNode& element, const char* name, QString& kept);
    void readTag(const xml::XmlNode& element);
    void readAvailable(const xml::XmlNode& element);
    void readModified(const xml::XmlNode& element);
    // Sets the enabled setting (missing: true), then ApplyEnabled.
    void readEnabled(const xml::XmlNode& element);
    void readModeUi(const xml::XmlNode& element);
    void readToolTip(const xml::XmlNode& element, QWidget* window);
    void readSemanticError(const xml::XmlNode& element, const char* name = "semanticError");

    // Hands the event to the controller. False without a controller, when the event is not
    // handled, or when the business object raised an error, which then becomes the control's
    // semantic error so that the user sees why nothing was read or written.
    bool dispatch(CUIEventBase& event);
    // An event that came back with its error set makes its text the semantic error; an event
    // without one clears nothing.
    void takeEventError(const CUIEventBase& event);
    // Shows why the business object failed a write or command of this control: kinds with an
    // indicator of their own show it there (and override this to do nothing); the others put it
    // on the status line.
    virtual void showFailure(const QString& text);
    // The enabled setting, a controller, and a user who may write.
    bool mayEdit() const;

    framework::IApplicationView* page() const { return m_page; }
    framework::IUIController* controller() const { return m_controller; }

    void setSemanticError(const QString& text);
    void setModified(bool modified) { m_modified = modified; }
    void setAvailable(bool available) { m_available = available; }
    void setIndicatorState(std::int32_t state) { m_indicatorState = state; }
    void setTag(const QString& tag) { m_tag = tag; }

    bool m_blocked = false;  // the events-blocked flag, set by CBlockEvents

private:
    framework::IApplicationView* m_page;
    framework::IUIController* m_controller;
    std::int32_t m_controlId;
    std::int32_t m_viewId = 0;
    QString m_tag;
    bool m_semanticError = false;
    QString m_semanticErrorText;
    bool m_modified = false;
    bool m_available = true;
    bool m_enabled = true;
    bool m_modeUi = true;
    std::int32_t m_indicatorState = IndicatorNormal;
    QString m_toolTip;  // the tip the settings gave last
};

}  // namespace orvx::controls
