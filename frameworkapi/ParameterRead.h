#pragma once

#include "IUIController.h"

#include <QString>

#include <exception>
#include <functional>
#include <optional>
#include <type_traits>

namespace orvx::framework {

// Puts "Parameter <tag> could not be read: <why>" on the controller's status line.
void showReadFailure(IUIController& controller, const QString& tag, const QString& why);

// Reads a parameter for the code's own use (a unit, a state, a flag) and converts it. A failed
// read or conversion, or no value at all, is shown on the status line and answers none: the
// caller keeps nothing stale without the user knowing.
template <class Convert>
auto readParameter(IUIController* controller, const QString& tag, Convert convert)
    -> std::optional<std::decay_t<std::invoke_result_t<Convert, const com::Variant&>>>
{
    if (!controller)
        return std::nullopt;
    QString why = QStringLiteral("the device answered no value");
    try {
        const com::Variant value = controller->GetParameterValue(tag);
        if (!value.isEmpty())
            return std::invoke(convert, value);
    } catch (const std::exception& error) {
        why = QString::fromLocal8Bit(error.what());
    }
    showReadFailure(*controller, tag, why);
    return std::nullopt;
}

}  // namespace orvx::framework
