#pragma once

#include <QString>

namespace orvx::framework {
class ITextResource;
}

namespace orvx::controls {

// The text with its first occurrence of 'placeholder' replaced by 'value'.
QString fillPlaceholder(QString text, const QString& placeholder, const QString& value);

// Text 20, "Numeric value must be within {min} and {max}", with both limits filled in.
QString rangeMessage(framework::ITextResource& texts, const QString& min, const QString& max);

}  // namespace orvx::controls
