#pragma once

#include "hart/link/Endpoint.h"
#include "hart/link/FrameTransport.h"
#include "hart/tls/PresharedKey.h"

#include <memory>
#include <optional>

namespace orvx::hart {

// The transport that reaches the endpoint: HART-IP for hart-ip addresses (a TLS one with the
// pre-shared key), a modem for serial ones.
std::unique_ptr<IFrameTransport> makeTransport(const Endpoint& endpoint, std::optional<PresharedKey> key = {});

}  // namespace orvx::hart
