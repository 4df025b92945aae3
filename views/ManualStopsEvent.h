#pragma once

#include <QEvent>

namespace orvx::views {

// The result of a manual find stops method, posted to the open dialog: the method number and
// the status (0 for success, else the device's negative code).
class CManualStopsEvent : public QEvent {
public:
    CManualStopsEvent(int method, int status) : QEvent(type()), m_method(method), m_status(status) {}

    static QEvent::Type type()
    {
        static const auto registered = static_cast<QEvent::Type>(QEvent::registerEventType());
        return registered;
    }

    int Method() const { return m_method; }
    int Status() const { return m_status; }

private:
    int m_method;
    int m_status;
};

}  // namespace orvx::views
