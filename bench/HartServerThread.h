#pragma once

// orvx-hart-device's server on a thread of its own, on a free loopback port, for the benchmarks
// that talk to a positioner over HART-IP.
#include "hart/server/HartIpServer.h"
#include "hart/server/PositionerDevice.h"

#include <atomic>
#include <memory>
#include <stdexcept>
#include <thread>

namespace orvx::bench {

class ServerThread {
public:
    ServerThread()
    {
        std::vector<std::unique_ptr<hart::IServedDevice>> devices;
        devices.push_back(std::make_unique<hart::PositionerDevice>(0, 0x0A1B00));
        m_responder = std::make_unique<hart::DeviceResponder>(std::move(devices));
        hart::ServerOptions options;
        options.port = 0;
        m_server = std::make_unique<hart::HartIpServer>(options, *m_responder);
        std::string error;
        if (!m_server->start(error))
            throw std::runtime_error(error);
        m_thread = std::thread([this] {
            while (!m_stop)
                m_server->serveOnce(20);
        });
    }
    ~ServerThread()
    {
        m_stop = true;
        m_thread.join();
    }
    std::uint16_t port() const { return m_server->port(); }

private:
    std::unique_ptr<hart::DeviceResponder> m_responder;
    std::unique_ptr<hart::HartIpServer> m_server;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

}  // namespace orvx::bench
