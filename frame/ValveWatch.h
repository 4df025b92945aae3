#pragma once

#include "diagnostics/DiagRecord.h"
#include "diagnostics/PstGrading.h"
#include "platform/com/ComPtr.h"

#include <QString>

#include <functional>
#include <optional>

namespace orvx::frame {

class FrameDevice;

// What the plant view shows of a device that the device itself says: its identity, whether it
// answers, its mode, its faults and its PST interval.
struct ValveState {
    QString tag;
    std::int32_t deviceId = -1;
    bool reachable = false;
    int mode = -1;            // -1 unknown
    QString faultBits;        // CurrentFaults as the device writes them; empty when unread
    int pstIntervalDays = 0;  // 0 unknown

    bool operator==(const ValveState&) const = default;
};

// A device's test that has just ended, as read from it: the record and how long ago it ran.
struct EndedTest {
    diagnostics::DiagRecord record;
    qint64 secondsAgo = 0;              // by the device's own counter; 0 when it does not say
    std::optional<qint64> deviceCount;  // the device's count of seconds at the test, when it says
};

// Follows one device for the plant view, as a control without write rights that only listens:
// registered with the device, it reads the device's state again after each notification that
// may change it and says so when it did; when a PST ends it reads the test the device now holds
// (a PST leaves its signature in the curve parameters; an ESD event needs a command to load it,
// which a listener never sends). It never writes and never starts a method.
class ValveWatch {
public:
    using StateChanged = std::function<void(const ValveState&)>;
    using TestEnded = std::function<void(const EndedTest&)>;
    // A test that ended but could not be read, and why.
    using TestUnread = std::function<void(const QString& why)>;

    // `device` must outlive the watch.
    ValveWatch(FrameDevice& device, const QString& callerTag, StateChanged stateChanged, TestEnded testEnded,
               TestUnread testUnread = {});
    ~ValveWatch();
    ValveWatch(const ValveWatch&) = delete;
    ValveWatch& operator=(const ValveWatch&) = delete;

    const ValveState& State() const { return m_state; }
    // The PST limits the device is configured with, in its measured pressure unit, which comes
    // with them; none when one cannot be read.
    struct Limits {
        diagnostics::PstLimits limits;
        std::uint32_t unit = 0;
    };
    std::optional<Limits> ReadLimits() const;
    // Reads the state again, telling the listener when it changed.
    void Refresh();

private:
    class Sink;
    void onNotify(std::int32_t code, const QString& value);
    void readPst();

    FrameDevice& m_device;
    QString m_callerTag;
    StateChanged m_stateChanged;
    TestEnded m_testEnded;
    TestUnread m_testUnread;
    com::ComPtr<Sink> m_sink;
    ValveState m_state;
};

}  // namespace orvx::frame
