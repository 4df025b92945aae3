#include "hart/link/DeviceSession.h"

#include "hart/protocol/ResponseCode.h"

#include <future>

namespace orvx::hart {

namespace p = device::parameter;

namespace {

// Notifications after which the device may hold other values anywhere: everything is read again.
bool changesEverything(std::int32_t code)
{
    return device::code::isFailure(code) || (code >= device::code::resultOf(0) && code != device::code::NewValues) ||
           code == device::code::PstScheduleNotDownloaded;
}

}  // namespace

std::vector<const device::Parameter*> DeviceSession::heldByDevice()
{
    std::vector<const device::Parameter*> held;
    for (const device::Parameter* parameter : device::parameters()) {
        if (!answeredByLink(*parameter))
            held.push_back(parameter);
    }
    return held;
}

bool DeviceSession::answeredByLink(const device::Parameter& parameter)
{
    return parameter == p::Connected || parameter == p::InvalidEntries || parameter == p::PrivateDialogs;
}

DeviceSession::DeviceSession(std::unique_ptr<IFrameTransport> transport, std::uint8_t pollAddress,
                             ParameterCache& cache, ISessionEvents& events)
    : m_transport(std::move(transport)),
      m_master(*m_transport),
      m_pollAddress(pollAddress),
      m_cache(cache),
      m_events(events)
{
}

DeviceSession::~DeviceSession()
{
    stop();
}

void DeviceSession::start()
{
    if (!m_thread.joinable())
        m_thread = std::thread([this] { run(); });
}

void DeviceSession::stop()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void DeviceSession::post(std::function<void()> job)
{
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_all();
}

void DeviceSession::run()
{
    for (bool first = true;; first = false) {
        {
            std::unique_lock lock(m_mutex);
            const int waitMs = first ? 0 : m_connected ? kPollMs : kReconnectMs;
            m_wake.wait_for(lock, std::chrono::milliseconds(waitMs), [this] { return m_stopping || !m_jobs.empty(); });
            if (m_stopping)
                break;
        }
        if (!m_connected && !connect()) {
            m_events.sessionLost(m_failure);  // why the device is out of reach, each time anew
            runJobs();                        // what waits is answered: the device is out of reach
            continue;
        }
        runJobs();
        if (m_connected && !(m_universalOnly ? refreshLive(true) : pollNotifications()))
            lose(m_failure);
    }
    m_transport->close();
}

bool DeviceSession::connect()
{
    std::string error;
    if (!m_transport->open(error)) {
        m_failure = error;
        return false;
    }
    const Decoded<DeviceIdentity> identity = m_master.identify(m_pollAddress);
    if (!identity) {
        m_failure = "no device at poll address " + std::to_string(m_pollAddress) + ": " + identity.refusal().reason;
        m_transport->close();
        return false;
    }
    if (identity->expandedDeviceType != kPositionerDeviceType)
        return connectUniversal(identity.value());
    const Decoded<Pdu> start = m_master.command(device_command::ReadNotifications, readNotificationsRequest(0));
    if (start && start->responseCode == response::NotImplemented)
        return connectUniversal(identity.value());
    m_universalOnly = false;
    m_cache.setUnsupported({});
    const Decoded<NotificationBatch> batch = start ? decodeNotificationsReply(start->data) : start.refusal();
    if (!batch || !refresh(heldByDevice())) {
        m_failure = batch ? m_failure : batch.refusal().reason;
        m_transport->close();
        return false;
    }
    m_nextNotification = batch->nextSequence;  // what the device said before is not news
    m_cache.setLoaded(true);
    m_connected = true;
    m_events.sessionConnected(identity.value());
    return true;
}

void DeviceSession::lose(const std::string& reason)
{
    m_transport->close();
    m_connected = false;
    m_events.sessionLost(reason);
}

bool DeviceSession::refresh(const std::vector<const device::Parameter*>& parameters)
{
    for (const device::Parameter* parameter : parameters) {
        const bool read = parameter->type == device::ValueType::Curve ? readCurve(*parameter)
                                                                      : readParameter(*parameter);
        if (!read)
            return false;
    }
    return true;
}

bool DeviceSession::readParameter(const device::Parameter& parameter)
{
    const Decoded<Pdu> reply = m_master.command(device_command::ReadParameter, readParameterRequest(parameter));
    if (!reply) {
        m_failure = reply.refusal().reason;
        return false;
    }
    if (reply->responseCode != response::Success)
        return true;  // a parameter this device does not have stays unread
    const Decoded<std::string> value = decodeParameterReply(parameter, reply->data);
    if (value)
        m_cache.store(parameter, value.value());
    return true;
}

bool DeviceSession::readCurve(const device::Parameter& curve)
{
    std::vector<CurvePoint> points;
    for (std::uint16_t first = 0;;) {
        const Decoded<Pdu> reply = m_master.command(device_command::ReadCurveSegment,
                                                    curveSegmentRequest(curve, first));
        if (!reply) {
            m_failure = reply.refusal().reason;
            return false;
        }
        const Decoded<CurveSegment> segment = reply->responseCode == response::Success
                                                  ? decodeCurveSegmentReply(curve, reply->data)
                                                  : reply.refusal();
        if (!segment)
            return true;  // a curve this device cannot give stays as it was
        points.insert(points.end(), segment->points.begin(), segment->points.end());
        first = static_cast<std::uint16_t>(segment->first + segment->points.size());
        if (segment->points.empty() || first >= segment->total)
            break;
    }
    m_cache.store(curve, curveText(points));
    return true;
}

bool DeviceSession::pollNotifications()
{
    for (;;) {
        const Decoded<Pdu> reply = m_master.command(device_command::ReadNotifications,
                                                    readNotificationsRequest(m_nextNotification));
        if (!reply) {
            m_failure = reply.refusal().reason;
            return false;
        }
        const Decoded<NotificationBatch> batch = decodeNotificationsReply(reply->data);
        if (!batch || batch->notifications.empty())
            return true;
        bool everything = false;
        std::vector<DeviceNotification> news;
        for (const DeviceNotification& notification : batch->notifications) {
            everything = everything || changesEverything(notification.code);
            if (notification.code != device::code::StateDocument)  // the link keeps the state
                news.push_back(notification);
        }
        m_nextNotification = static_cast<std::uint16_t>(batch->notifications.back().sequence + 1);
        std::vector<const device::Parameter*> stale = m_cache.takeWatched();
        if (everything)
            stale = heldByDevice();
        if (!refresh(stale))
            return false;
        if (!news.empty())
            m_events.deviceNotified(std::move(news));
        if (m_nextNotification == batch->nextSequence)
            return true;
    }
}

void DeviceSession::runJobs()
{
    for (;;) {
        std::function<void()> job;
        {
            const std::lock_guard lock(m_mutex);
            if (m_jobs.empty() || m_stopping)
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job();
    }
}

DeviceSession::Written DeviceSession::write(const device::Parameter& parameter, const std::string& text, int timeoutMs)
{
    std::function<Written()> exchange;
    if (m_universalOnly) {
        exchange = [this, &parameter, text] { return writeUniversal(parameter, text); };
    } else {
        const Decoded<Bytes> request = writeParameterRequest(parameter, text);
        if (!request)
            return {false, response::InvalidSelection, request.refusal().reason};
        exchange = [this, &parameter, data = request.value()] { return writeByTag(parameter, data); };
    }
    auto promise = std::make_shared<std::promise<Written>>();
    std::future<Written> answer = promise->get_future();
    post([this, promise, exchange = std::move(exchange)] {
        if (!m_connected) {
            promise->set_value({false, 0, "the device is not connected"});
            return;
        }
        promise->set_value(exchange());
    });
    if (answer.wait_for(std::chrono::milliseconds(timeoutMs)) != std::future_status::ready)
        return {false, 0, "the device did not answer within " + std::to_string(timeoutMs) + " ms"};
    try {
        return answer.get();
    } catch (const std::future_error&) {  // the link stopped before it asked
        return {false, 0, "the link was closed"};
    }
}

DeviceSession::Written DeviceSession::outcome(const Decoded<Pdu>& reply)
{
    if (!reply) {
        m_failure = reply.refusal().reason;
        lose(m_failure);
        return {false, 0, reply.refusal().reason};
    }
    if (reply->responseCode != response::Success)
        return {false, reply->responseCode, responseText(reply->responseCode)};
    return {true, 0, {}};
}

DeviceSession::Written DeviceSession::writeByTag(const device::Parameter& parameter, const Bytes& request)
{
    const Decoded<Pdu> reply = m_master.command(device_command::WriteParameter, request);
    const Written written = outcome(reply);
    if (written.stored) {
        if (const Decoded<std::string> stored = decodeParameterReply(parameter, reply->data))
            m_cache.store(parameter, stored.value());
    }
    return written;
}

void DeviceSession::startMethod(int method)
{
    post([this, method] {
        if (!m_connected) {
            m_events.methodRefused(method, response::Busy);
            return;
        }
        const Decoded<Pdu> reply = m_master.command(device_command::StartMethod, startMethodRequest(method));
        if (!reply) {
            m_failure = reply.refusal().reason;
            m_events.methodRefused(method, response::Busy);
            lose(m_failure);
        } else if (reply->responseCode != response::Success) {
            m_events.methodRefused(method, reply->responseCode);
        }
    });
}

}  // namespace orvx::hart
