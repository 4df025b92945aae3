#include "ValveWatch.h"

#include "FrameDevice.h"
#include "controls/PressureUnit.h"
#include "device/BusinessObjectFacets.h"
#include "device/DeviceNames.h"
#include "device/IDtmActiveXControl.h"
#include "device/IUpdateUI.h"
#include "device/StringBridge.h"
#include "diagnostics/DeviceRecord.h"
#include "platform/com/ComObject.h"

#include <stdexcept>

namespace orvx::frame {

namespace code = device::code;
namespace tag = device::tag;

// The control the device notifies; it hands each notification to the watch while one is there.
class ValveWatch::Sink : public com::ComObject<device::IDtmActiveXControl, device::IUpdateUI> {
public:
    explicit Sink(ValveWatch* watch) : m_watch(watch) {}
    void Forget() { m_watch = nullptr; }

    com::Status Init(const com::BStr&, const com::BStr&, com::IUnknown*, bool*) override { return com::Status::Ok; }
    com::Status PrepareToRelease(bool*) override { return com::Status::Ok; }
    com::Status Notify(std::int32_t code, const com::Variant& value) override
    {
        // Nothing the watch does may throw back into the device.
        try {
            if (m_watch)
                m_watch->onNotify(code, device::variantText(value));
        } catch (const std::exception&) {
        }
        return com::Status::Ok;
    }

private:
    ValveWatch* m_watch;
};

namespace {

// A parameter's text; a refused read throws.
QString read(com::IUnknown* object, QLatin1StringView name)
{
    const auto earlier = com::queryInterface<device::IDtmUiEarlier>(object);
    if (!earlier)
        throw std::runtime_error("the business object reads no parameters");
    com::Variant value;
    const com::Status status = earlier->GetParameter(device::toBStr(name), &value);
    if (status != com::Status::Ok)
        throw std::runtime_error("the device refused a read");
    return device::variantText(value);
}

int number(com::IUnknown* object, QLatin1StringView name, int fallback)
{
    bool ok = false;
    const int value = read(object, name).trimmed().toInt(&ok);
    return ok ? value : fallback;
}

}  // namespace

ValveWatch::ValveWatch(FrameDevice& device, const QString& callerTag, StateChanged stateChanged, TestEnded testEnded,
                       TestUnread testUnread)
    : m_device(device),
      m_callerTag(callerTag),
      m_stateChanged(std::move(stateChanged)),
      m_testEnded(std::move(testEnded)),
      m_testUnread(std::move(testUnread)),
      m_sink(com::makeComObject<Sink>(this))
{
    if (const auto registry = com::queryInterface<device::IDtmUiRegistry>(m_device.BusinessObject())) {
        bool accepted = false;
        registry->RegisterControl(u"Orvx.PlantView.1", device::toBStr(m_callerTag), m_sink.get(), false, &accepted);
    }
    Refresh();
}

ValveWatch::~ValveWatch()
{
    m_sink->Forget();
    if (const auto registry = com::queryInterface<device::IDtmUiRegistry>(m_device.BusinessObject())) {
        bool result = false;
        registry->UnregisterControl(device::toBStr(m_callerTag), true, &result);
    }
}

void ValveWatch::Refresh()
{
    com::IUnknown* object = m_device.BusinessObject();
    ValveState state = m_state;
    try {
        state.reachable = read(object, tag::Connected).trimmed() == QLatin1String("1");
        state.tag = read(object, tag::DeviceTag).trimmed();
        state.deviceId = number(object, tag::DeviceId, -1);
        state.mode = number(object, tag::Mode, -1);
        state.faultBits = read(object, tag::CurrentFaults).trimmed();
        state.pstIntervalDays = number(object, tag::PstInterval, 0);
    } catch (const std::exception&) {
        // What was read stands; a device that does not answer is not reachable.
        state.reachable = false;
    }
    if (state == m_state)
        return;
    m_state = state;
    if (m_stateChanged)
        m_stateChanged(m_state);
}

std::optional<ValveWatch::Limits> ValveWatch::ReadLimits() const
{
    com::IUnknown* object = m_device.BusinessObject();
    try {
        const auto from = static_cast<std::uint32_t>(number(object, tag::PressureUnit, -1));
        const auto to = static_cast<std::uint32_t>(number(object, tag::MeasuredPressureUnit, -1));
        const auto limit = [&](QLatin1StringView name) {
            bool ok = false;
            const double value = read(object, name).trimmed().toDouble(&ok);
            if (!ok)
                throw std::runtime_error("not a number");
            return controls::convertPressure(value, from, to);
        };
        return Limits{
            {limit(tag::PstFrictionLow), limit(tag::PstFrictionHigh), limit(tag::PstBreakout), limit(tag::PstDroop)},
            to};
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void ValveWatch::onNotify(std::int32_t notification, const QString& value)
{
    const std::int32_t pst = device::method::PartialStrokeTest;
    const bool pstEnded = notification == code::resultOf(pst) ||
                          (notification == code::FailedInDevice && value.trimmed() == QString::number(pst));
    switch (notification) {
    case code::StateDocument:
    case code::NewValues:
    case code::IdentityChanged:
    case code::StatusChanged:
    case code::DataReloaded:
    case code::DataRefreshed: Refresh(); break;
    default: break;
    }
    if (pstEnded) {
        Refresh();
        readPst();
    }
}

void ValveWatch::readPst()
{
    com::IUnknown* object = m_device.BusinessObject();
    QString why;
    const auto text = [object](QLatin1StringView name) { return read(object, name); };
    std::optional<diagnostics::DiagRecord> record = diagnostics::readDeviceRecord(diagnostics::DiagKind::Pst, text,
                                                                                  &why);
    if (!record) {
        if (m_testUnread)
            m_testUnread(why);
        return;
    }
    EndedTest ended{std::move(*record), 0, std::nullopt};
    try {
        // The device counts seconds; it kept the count at the test's start in two halves.
        const qint64 now = read(object, tag::DeviceCounter).trimmed().toLongLong();
        const qint64 at = (qint64(number(object, tag::PstCounterHigh, 0)) << 16) |
                          number(object, tag::PstCounterLow, 0);
        if (now >= at && at > 0) {
            ended.secondsAgo = now - at;
            ended.deviceCount = at;
        }
    } catch (const std::exception&) {
    }
    if (m_testEnded)
        m_testEnded(ended);
}

}  // namespace orvx::frame
