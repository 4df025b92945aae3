#include "ComError.h"

#include <cstdio>

namespace orvx::com {

const char* statusName(Status s)
{
    switch (s) {
    case Status::Ok: return "success";
    case Status::False: return "false";
    case Status::NotImplemented: return "not implemented";
    case Status::NoInterface: return "no such interface";
    case Status::InvalidPointer: return "invalid pointer";
    case Status::Failure: return "failure";
    case Status::AccessDenied: return "access denied";
    case Status::ClassNotAvailable: return "class not available";
    case Status::InvalidArgument: return "invalid argument";
    case Status::TypeMismatch: return "type mismatch";
    case Status::Overflow: return "overflow";
    }
    return "unknown status";
}

static std::string describe(Status status, const std::string& what)
{
    char code[32];
    std::snprintf(code, sizeof code, " (0x%08X)", static_cast<unsigned>(status));
    std::string text = statusName(status);
    text += code;
    return what.empty() ? text : what + ": " + text;
}

ComError::ComError(Status status, const std::string& what)
    : std::runtime_error(describe(status, what)), m_status(status)
{
}

void throwFailure(Status status, const char* what)
{
    throw ComError(status, what ? what : "");
}

}  // namespace orvx::com
