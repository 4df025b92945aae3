#include "hart/link/SerialTransport.h"

#include "hart/protocol/Pdu.h"
#include "hart/protocol/SteadyClock.h"

#include <algorithm>

namespace orvx::hart {

namespace {

bool isResponse(const Bytes& frame)
{
    const auto delimiter = std::ranges::find_if(frame, [](std::uint8_t b) { return b != 0xFF; });
    return delimiter != frame.end() && (*delimiter & 0x07) == static_cast<std::uint8_t>(FrameType::Response);
}

}  // namespace

bool SerialTransport::open(std::string& error)
{
    m_reader.clear();
    return m_line.open(m_path, error);
}

Refusal SerialTransport::fail(std::string reason)
{
    m_line.close();
    return refuse(0, std::move(reason));
}

Decoded<Bytes> SerialTransport::exchange(const Bytes& frame, int timeoutMs)
{
    if (!m_line.isOpen())
        return refuse(0, "not connected");
    m_reader.clear();  // whatever came before the request cannot answer it
    Bytes out(SerialLine::kPreambles, 0xFF);
    out.insert(out.end(), frame.begin(), frame.end());
    std::string error;
    if (!m_line.send(out, error))
        return fail(error);
    const std::uint64_t answerBy = steadyNowMs() + static_cast<std::uint64_t>(timeoutMs);
    Bytes received;
    for (;;) {
        while (std::optional<Bytes> next = m_reader.next()) {
            if (isResponse(*next))
                return std::move(*next);
        }
        const std::uint64_t now = steadyNowMs();
        const std::uint64_t deadline = m_reader.inFrame()
                                           ? std::max(answerBy, m_reader.frameStartMs() + kLongestFrameMs)
                                           : answerBy;
        if (now >= deadline)
            return refuse(0, "no answer within " + std::to_string(timeoutMs) + " ms");
        received.clear();
        if (!m_line.receive(received, static_cast<int>(deadline - now), error))
            return fail(error);
        m_reader.append(received, steadyNowMs());
    }
}

}  // namespace orvx::hart
