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

// Raises a ComError for a failed status.
[[noreturn]] void throwFailure(Status status, const char* what);

// Raises a ComError when the status is a failure; answers the status otherwise.
inline Status check(Status status, const char* what = nullptr)
{
    if (failed(status))
        throwFailure(status, what);
    return status;
}

// Calls out to another component, which should answer a status but may throw: a std::exception
// passes on as it is, anything else becomes a ComError (Failure), so that the code here only ever
// meets std::exceptions.
template <class Call>
auto callOut(Call&& call, const char* what) -> decltype(call())
{
    try {
        return call();
    } catch (const std::exception&) {
        throw;
    } catch (...) {
        throw ComError(Status::Failure, std::string(what) + ": the component raised an unknown exception");
    }
}

}  // namespace orvx::com
