#include "hart/server/SerialLineServer.h"

#include "hart/protocol/Pdu.h"
#include "hart/protocol/SteadyClock.h"

#include <cstdio>
#include <thread>

namespace orvx::hart {

bool SerialLineServer::start(std::string& error)
{
    m_reader.clear();
    return m_line.open(m_path, error);
}

void SerialLineServer::serveOnce(int timeoutMs)
{
    std::string error;
    if (!m_line.isOpen() && steadyNowMs() - m_failedAtMs >= kReopenMs && !start(error))
        m_failedAtMs = steadyNowMs();
    if (!m_line.isOpen()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return;
    }
    Bytes received;
    const bool alive = m_line.receive(received, timeoutMs, error);
    const std::uint64_t now = steadyNowMs();
    m_responder.advance(now);
    if (!alive) {
        std::fprintf(stderr, "orvx-hart-device: %s\n", error.c_str());
        m_line.close();
        m_failedAtMs = now;
        return;
    }
    m_reader.append(received, now);
    while (const std::optional<Bytes> frame = m_reader.next())
        answer(*frame);
}

void SerialLineServer::answer(const Bytes& frame)
{
    const Decoded<Pdu> request = decodePdu(frame);
    if (!request) {
        ++m_refused;
        std::fprintf(stderr, "orvx-hart-device: refused on %s at byte %zu: %s\n", m_path.c_str(),
                     request.refusal().offset, request.refusal().reason.c_str());
        return;
    }
    const std::optional<Pdu> response = m_responder.respond(request.value());
    if (!response)
        return;
    const Decoded<Bytes> bytes = encodePdu(*response, SerialLine::kPreambles);
    std::string error;
    if (bytes && !m_line.send(bytes.value(), error))
        std::fprintf(stderr, "orvx-hart-device: %s\n", error.c_str());
}

}  // namespace orvx::hart
