#include "hart/commands/CommandSetTable.h"

#include "device/Vocabulary.h"
#include "hart/commands/ValueCodec.h"

namespace orvx::hart {

namespace {

using device::ValueType;

// The bytes a value of fixed size takes, as the codec writes it.
std::string size(const device::Parameter& parameter)
{
    return std::to_string(fixedValueSize(parameter.type));
}

std::string wireForm(const device::Parameter& parameter)
{
    switch (parameter.type) {
    case ValueType::Decimal: return "float, " + size(parameter);
    case ValueType::Integer: return (unsignedInteger(parameter) ? "unsigned, " : "signed, ") + size(parameter);
    case ValueType::Choice: return "code, " + size(parameter);
    case ValueType::Flag:
    case ValueType::Boolean: return "0 or 1, " + size(parameter);
    case ValueType::Date: return "day month year-1900, " + size(parameter);
    case ValueType::FaultBits: return "fault bits, " + size(parameter);
    case ValueType::Text: return "length + UTF-8, 1 + up to " + std::to_string(kMaxTextBytes);
    case ValueType::Curve: return "command 132";
    }
    return {};
}

std::string access(const device::Parameter& parameter)
{
    return parameter.access == device::Access::Read    ? "read"
           : parameter.access == device::Access::Write ? "write"
                                                       : "read, write";
}

}  // namespace

std::string commandSetTables()
{
    std::string text = "| tag | name | value on the wire, bytes | the user interface |\n|---|---|---|---|\n";
    for (const device::Parameter* parameter : device::parameters())
        text += "| " + std::string(parameter->tag) + " | `" + std::string(parameter->name) + "` | " +
                wireForm(*parameter) + " | " + access(*parameter) + " |\n";
    text += "\n| method | name | cancellable |\n|---|---|---|\n";
    for (const device::Method* method : device::methods())
        text += "| " + std::to_string(method->number) + " | `" + std::string(method->name) + "` | " +
                (method->cancellable ? "yes" : "no") + " |\n";
    text += "\n| notification | name |\n|---|---|\n";
    for (const device::Notification* notification : device::notifications())
        text += "| " + std::to_string(notification->code) + " | `" + std::string(notification->name) + "` |\n";
    return text;
}

}  // namespace orvx::hart
