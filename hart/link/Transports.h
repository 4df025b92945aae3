#pragma once

#include "hart/link/Endpoint.h"
#include "hart/link/FrameTransport.h"

#include <memory>

namespace orvx::hart {

// The transport that reaches the endpoint: HART-IP for hart-ip addresses, a modem for serial ones.
std::unique_ptr<IFrameTransport> makeTransport(const Endpoint& endpoint);

}  // namespace orvx::hart
