#pragma once

#include "device/IDtmActiveXControl.h"
#include "device/IUpdateUI.h"
#include "device/Vocabulary.h"
#include "hart/link/Poster.h"
#include "platform/com/ComObject.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace orvx::hart {

// Runs what the link posts when the test says, as an event loop would.
class QueuedPoster : public IPoster {
public:
    void post(std::function<void()> work) override
    {
        const std::lock_guard lock(m_mutex);
        m_work.push_back(std::move(work));
    }
    void runPending()
    {
        std::deque<std::function<void()>> work;
        {
            const std::lock_guard lock(m_mutex);
            work.swap(m_work);
        }
        for (auto& w : work)
            w();
    }
    // Runs the posted work until `done` holds, for at most `ms`.
    template <class F>
    bool runUntil(F done, int ms)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < deadline) {
            runPending();
            if (done())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

private:
    std::mutex m_mutex;
    std::deque<std::function<void()>> m_work;
};

class RecordingControl : public com::ComObject<device::IDtmActiveXControl, device::IUpdateUI> {
public:
    std::vector<std::pair<std::int32_t, std::string>> received;
    com::Status Init(const com::BStr&, const com::BStr&, com::IUnknown*, bool*) override { return com::Status::Ok; }
    com::Status PrepareToRelease(bool*) override { return com::Status::Ok; }
    com::Status Notify(std::int32_t code, const com::Variant& value) override
    {
        if (code != device::code::NewValues)
            received.emplace_back(code, value.isEmpty() ? std::string() : value.toText().toUtf8());
        return com::Status::Ok;
    }
    bool got(std::int32_t code) const
    {
        return std::ranges::any_of(received, [&](const auto& r) { return r.first == code; });
    }
};

}  // namespace orvx::hart
