#pragma once

#include "hart/link/Poster.h"

namespace orvx::frame {

// Runs the link's news on the GUI thread through Qt's event loop.
class QtPoster : public hart::IPoster {
public:
    void post(std::function<void()> work) override;
};

}  // namespace orvx::frame
