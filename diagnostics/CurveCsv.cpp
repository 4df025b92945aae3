#include "CurveCsv.h"

#include "GraphData.h"
#include "WholeFile.h"

#include <QIODevice>

#include <algorithm>
#include <charconv>

namespace orvx::diagnostics {

namespace {

void appendNumber(QByteArray& out, float value)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    out.append(text, end - text);
}

// Position and pressure of sample `index`, or two empty cells when the stroke is shorter.
void appendPoint(QByteArray& out, const Curve& curve, int index)
{
    if (index < pointCount(curve)) {
        appendNumber(out, curve.position[static_cast<std::size_t>(index)]);
        out.append(',');
        appendNumber(out, curve.pressure[static_cast<std::size_t>(index)]);
    } else {
        out.append(',');
    }
}

}  // namespace

QByteArray curveCsv(const Curve& exhaust, const Curve& fill, const QString& unitName)
{
    const QByteArray unit = unitName.toUtf8();
    QByteArray out = "sample,exhaust position (%),exhaust pressure (" + unit + "),fill position (%),fill pressure (" +
                     unit + ")\r\n";
    const int rows = std::max(pointCount(exhaust), pointCount(fill));
    for (int i = 0; i < rows; ++i) {
        out.append(QByteArray::number(i + 1));
        out.append(',');
        appendPoint(out, exhaust, i);
        out.append(',');
        appendPoint(out, fill, i);
        out.append("\r\n");
    }
    return out;
}

QString writeCurveCsv(const QString& path, const Curve& exhaust, const Curve& fill, const QString& unitName)
{
    const QByteArray text = curveCsv(exhaust, fill, unitName);
    return writeWholeFile(
        path, [&text](QIODevice& file) { return file.write(text) == text.size() ? QString() : file.errorString(); });
}

}  // namespace orvx::diagnostics
