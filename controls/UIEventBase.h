#pragma once

#include <QString>

#include <cstdint>

namespace orvx::controls {

// Type codes of the UI events; 16 is not used.
enum EventKind : std::int32_t {
    EventTextDataGet = 1,
    EventTextDataSet = 2,
    EventCommand = 3,
    EventAction = 4,
    EventViewRequest = 5,
    EventComboBoxGet = 6,
    EventComboBoxSet = 7,
    EventBitEnumGet = 8,
    EventBitEnumSet = 9,
    EventViewActivated = 10,
    EventCheckBoxSet = 11,
    EventCheckBoxGet = 12,
    EventStaticText = 13,
    EventRadioSet = 14,
    EventRadioGet = 15,
    EventGenericGet = 17,
};

// Whether an event of this kind writes a parameter or starts a device command: the kinds a
// user without write rights may never send.
constexpr bool ChangesDevice(std::int32_t kind)
{
    switch (kind) {
    case EventTextDataSet:
    case EventCommand:
    case EventComboBoxSet:
    case EventBitEnumSet:
    case EventCheckBoxSet:
    case EventRadioSet: return true;
    default: return false;
    }
}

// One request and its reply between a sender (a control, an area, the controller) and the
// edit model. Built on the sender's stack, dispatched once, read back, destroyed.
class CUIEventBase {
public:
    virtual ~CUIEventBase() = default;
    // The view id; for the action event, its action id.
    virtual std::int32_t GetViewId() const = 0;
    // The control id; for the action event, its state field.
    virtual std::int32_t GetControlId() const = 0;

    std::int32_t GetType() const { return m_type; }
    // Set by the receiver when the request failed for a reason the user must see.
    void SetError(const QString& text)
    {
        m_error = true;
        m_errorText = text;
    }
    bool IsError() const { return m_error; }
    // The error text when the error is set, else empty.
    QString GetErrorText() const { return m_error ? m_errorText : QString(); }

protected:
    explicit CUIEventBase(std::int32_t type) : m_type(type) {}

private:
    std::int32_t m_type;
    bool m_error = false;
    QString m_errorText;
};

}  // namespace orvx::controls
