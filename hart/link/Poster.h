#pragma once

#include <functional>

namespace orvx::hart {

// Runs work on the thread the controls live on. Post may be called from any thread; the work
// runs later, in posting order. The frame posts through Qt's event loop; tests run it by hand.
class IPoster {
public:
    virtual void post(std::function<void()> work) = 0;

protected:
    ~IPoster() = default;
};

}  // namespace orvx::hart
