#include "CurveText.h"

#include "GraphData.h"

#include <QStringList>

namespace orvx::diagnostics {

CurveTextResult parseCurveText(const QString& text)
{
    using Error = CurveTextResult::Error;
    CurveTextResult result;
    if (text.isEmpty()) {
        result.error = Error::NoText;
        return result;
    }
    if ((text.count(QLatin1Char('@')) + 1) / 2 > kMaxCurvePoints) {
        result.error = Error::TooLong;
        return result;
    }
    const QStringList fields = text.split(QLatin1Char('@'));
    const qsizetype pairs = fields.size() / 2;
    result.curve.pressure.reserve(static_cast<std::size_t>(pairs));
    result.curve.position.reserve(static_cast<std::size_t>(pairs));
    for (qsizetype at = 0; at + 1 < fields.size(); at += 2) {
        const auto pressure = graphNumber(fields[at]);
        const auto position = graphNumber(fields[at + 1]);
        if (!pressure || !position) {
            result.error = Error::BadField;
            result.field = static_cast<int>(pressure ? at + 1 : at);
            result.curve = {};
            return result;
        }
        result.curve.pressure.push_back(*pressure);
        result.curve.position.push_back(*position);
    }
    if (result.curve.Empty())
        result.error = Error::NoPoint;
    return result;
}

}  // namespace orvx::diagnostics
