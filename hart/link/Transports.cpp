#include "hart/link/Transports.h"

#include "hart/link/HartIpTransport.h"
#include "hart/link/SerialTransport.h"

namespace orvx::hart {

std::unique_ptr<IFrameTransport> makeTransport(const Endpoint& endpoint, std::optional<PresharedKey> key)
{
    if (endpoint.transport == Endpoint::Transport::Serial)
        return std::make_unique<SerialTransport>(endpoint.host);
    return std::make_unique<HartIpTransport>(endpoint, std::move(key));
}

}  // namespace orvx::hart
