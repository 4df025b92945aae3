// H3: the overview refreshed over HART-IP. Ours: the HART link to orvx-hart-device's server on
// this machine, the main view hosted over it. After each new-values notification the link reads
// again what the page read and then hands the notification on; counted are the commands per
// refresh, and timed the span from the poll that brought the notification to the page and a
// second control having it. The floor: each parameter the overview reads on one notification
// that the device holds (the link answers a few itself), read once over the same loopback by
// the master alone; its commands count the one poll a refresh needs, its time the reads alone,
// since ours is timed from the poll's answer on.
#include "Bench.h"
#include "HartServerThread.h"
#include "Hosting.h"
#include "device/IDtmUiRegistry.h"
#include "device/Vocabulary.h"
#include "frame/QtPoster.h"
#include "hart/commands/DeviceCommandSet.h"
#include "hart/link/DeviceSession.h"
#include "hart/link/HartBusinessObject.h"
#include "hart/link/HartIpTransport.h"
#include "hart/link/HartMaster.h"
#include "host/Guids.h"
#include "platform/com/ComObject.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>

namespace orvx::bench {

namespace {

using namespace hart;
using Clock = std::chrono::steady_clock;

// The link's transport, counting the commands it carries and noting when a poll brought news.
class CountingTransport : public IFrameTransport {
public:
    explicit CountingTransport(std::unique_ptr<IFrameTransport> inner) : m_inner(std::move(inner)) {}

    bool open(std::string& error) override { return m_inner->open(error); }
    bool isOpen() const override { return m_inner->isOpen(); }
    void close() override { m_inner->close(); }
    Decoded<Bytes> exchange(const Bytes& frame, int timeoutMs) override
    {
        const Decoded<Pdu> request = decodePdu(frame);
        Decoded<Bytes> reply = m_inner->exchange(frame, timeoutMs);
        if (!request)
            return reply;
        ++m_commands[request->command];
        if (request->command == device_command::ReadNotifications && reply && bringsNewValues(reply.value()))
            m_newsAt = Clock::now().time_since_epoch().count();
        return reply;
    }

    long commands(std::uint8_t command) const { return m_commands[command]; }
    long total() const
    {
        long sum = 0;
        for (const auto& count : m_commands)
            sum += count;
        return sum;
    }
    void reset()
    {
        for (auto& count : m_commands)
            count = 0;
    }
    Clock::time_point newsAt() const { return Clock::time_point(Clock::duration(m_newsAt.load())); }

private:
    static bool bringsNewValues(const Bytes& frame)
    {
        const Decoded<Pdu> pdu = decodePdu(frame);
        const Decoded<NotificationBatch> batch = pdu ? decodeNotificationsReply(pdu->data) : refuse(0, "");
        return batch && std::ranges::any_of(batch->notifications, [](const DeviceNotification& n) {
                   return n.code == device::code::NewValues;
               });
    }

    std::unique_ptr<IFrameTransport> m_inner;
    std::array<std::atomic<long>, 256> m_commands{};
    std::atomic<Clock::rep> m_newsAt{0};
};

// A second control on the link, registered after the main view: it learns of a refresh once the
// page has had it.
class RefreshCounter : public com::ComObject<device::IDtmActiveXControl, device::IUpdateUI> {
public:
    explicit RefreshCounter(const CountingTransport& transport) : m_transport(transport) {}
    com::Status Init(const com::BStr&, const com::BStr&, com::IUnknown*, bool*) override { return com::Status::Ok; }
    com::Status PrepareToRelease(bool*) override { return com::Status::Ok; }
    com::Status Notify(std::int32_t code, const com::Variant&) override
    {
        if (code == device::code::NewValues) {
            ++refreshes;
            latency = Clock::now() - m_transport.newsAt();
        }
        return com::Status::Ok;
    }
    long refreshes = 0;
    Clock::duration latency{};

private:
    const CountingTransport& m_transport;
};

bool processEventsUntil(const std::function<bool()>& done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

Endpoint loopback(const ServerThread& server)
{
    Endpoint endpoint;
    endpoint.host = "127.0.0.1";
    endpoint.port = server.port();
    return endpoint;
}

void H3_Ours(benchmark::State& state)
{
    ServerThread server;
    auto counting = std::make_unique<CountingTransport>(std::make_unique<HartIpTransport>(loopback(server)));
    CountingTransport& transport = *counting;
    frame::QtPoster poster;
    auto link = com::makeComObject<HartBusinessObject>(std::move(counting), 0, poster);
    link->SetPrivateDialogs(false);
    link->Start();
    if (!processEventsUntil([&] { return link->IsConnected(); }, 10000)) {
        state.SkipWithError(link->LinkProblem().c_str());
        link->Stop();
        return;
    }
    {
        HostedControl view(host::CLSID_OrvxESDDTMGUIView, link->identity());
        auto counter = com::makeComObject<RefreshCounter>(transport);
        bool accepted = false;
        com::queryInterface<device::IDtmUiRegistry>(link)->RegisterControl(u"Orvx.Main.1", u"bench-refresh",
                                                                           counter.get(), false, &accepted);
        // Two refreshes first: the link has learnt what the overview reads.
        processEventsUntil([&] { return counter->refreshes >= 2; }, 10000);
        transport.reset();
        const long before = counter->refreshes;
        for (auto _ : state) {
            const long seen = counter->refreshes;
            if (!processEventsUntil([&] { return counter->refreshes > seen; }, 5000)) {
                state.SkipWithError("the device sent no new values");
                break;
            }
            state.SetIterationTime(std::chrono::duration<double>(counter->latency).count());
        }
        const double refreshes = std::max(1L, counter->refreshes - before);
        state.counters["reads"] = static_cast<double>(transport.commands(device_command::ReadParameter)) / refreshes;
        state.counters["polls"] = static_cast<double>(transport.commands(device_command::ReadNotifications)) /
                                  refreshes;
        state.counters["commands"] = static_cast<double>(transport.total()) / refreshes;
        bool result = false;
        com::queryInterface<device::IDtmUiRegistry>(link)->UnregisterControl(u"bench-refresh", accepted, &result);
    }
    link->Stop();
}

// What the overview reads on one new-values notification, each parameter once.
std::vector<const device::Parameter*> overviewReads()
{
    Device device;
    HostedControl view(host::CLSID_OrvxESDDTMGUIView, device);
    device.positioner->recording = true;
    view.Updates().Notify(device::code::NewValues, com::Variant());
    device.positioner->recording = false;
    std::vector<const device::Parameter*> reads;
    for (const com::BStr& tag : device.positioner->reads) {
        const device::Parameter* parameter = device::findParameter(tag.toUtf8());
        if (parameter && !DeviceSession::answeredByLink(*parameter) &&
            std::ranges::find(reads, parameter) == reads.end())
            reads.push_back(parameter);
    }
    return reads;
}

void H3_Floor(benchmark::State& state)
{
    const std::vector<const device::Parameter*> reads = overviewReads();
    ServerThread server;
    HartIpTransport transport(loopback(server));
    std::string error;
    if (!transport.open(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    HartMaster master(transport);
    if (!master.identify(0)) {
        state.SkipWithError("the device did not answer command 0");
        return;
    }
    for (auto _ : state) {
        for (const device::Parameter* parameter : reads)
            benchmark::DoNotOptimize(master.command(device_command::ReadParameter, readParameterRequest(*parameter)));
    }
    state.counters["reads"] = static_cast<double>(reads.size());
    state.counters["polls"] = 1;
    state.counters["commands"] = static_cast<double>(reads.size() + 1);
}

}  // namespace

void RegisterLinkRefreshBenchmarks()
{
    using benchmark::RegisterBenchmark;
    const int refreshes = Smoke() ? 2 : 20;  // each waits for the device's next new values
    RegisterBenchmark("H3/ours", H3_Ours)->UseManualTime()->Iterations(refreshes)->Unit(benchmark::kMillisecond);
    Timed(RegisterBenchmark("H3/floor", H3_Floor))->UseRealTime()->Unit(benchmark::kMillisecond);
}

}  // namespace orvx::bench
