#include "ValidatorMessage.h"

#include "frameworkapi/ITextResource.h"
#include "frameworkapi/TextIds.h"

namespace orvx::controls {

QString fillPlaceholder(QString text, const QString& placeholder, const QString& value)
{
    const qsizetype at = text.indexOf(placeholder);
    if (at >= 0)
        text.replace(at, placeholder.size(), value);
    return text;
}

QString rangeMessage(framework::ITextResource& texts, const QString& min, const QString& max)
{
    const QString text = texts.GetTextById(framework::TextValueOutOfRange);
    return fillPlaceholder(fillPlaceholder(text, QStringLiteral("{min}"), min), QStringLiteral("{max}"), max);
}

}  // namespace orvx::controls
