#include "EntryCommit.h"

#include "controls/DtmTextControl.h"

#include <QLineEdit>

namespace orvx::views {

std::optional<QString> commitBeforeCommand(controls::CDtmTextControl& entry)
{
    entry.Commit();
    // The edit stays modified until the device took the entry.
    const auto* edit = qobject_cast<const QLineEdit*>(entry.GetEditWindow());
    if (!edit || !edit->isModified())
        return std::nullopt;
    if (entry.HasSemanticError() && !entry.SemanticErrorText().isEmpty())
        return entry.SemanticErrorText();
    return QStringLiteral("no device link");
}

}  // namespace orvx::views
