#pragma once

#include "Status.h"

#include <stdexcept>
#include <string>

namespace orvx::com {

// A failed component call raised as an error. Every entry point from outside catches it.
class ComError : public std::runtime_error {
public:
    explicit ComError(Status status, const std::string& what = {});
    Status status() const { return m_status; }

private:
    Status m_status;
};

// Raises a ComError when the status is a failure; answers the status otherwise.
Status check(Status status, const char* what = nullptr);

}  // namespace orvx::com
