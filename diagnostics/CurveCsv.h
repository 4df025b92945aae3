#pragma once

#include "DiagRecord.h"

#include <QByteArray>
#include <QString>

namespace orvx::diagnostics {

// The two strokes as comma-separated text for a spreadsheet: a header line naming the columns
// with their units, then one row per sample number from 1 on, with the exhaust stroke's
// position and pressure, then the fill stroke's. A stroke that has no sample of that number
// leaves its two cells empty. Numbers in the C locale, as short as they read back exactly;
// lines end in CR LF.
QByteArray curveCsv(const Curve& exhaust, const Curve& fill, const QString& unitName);

// Writes curveCsv() to a file whole or not at all. Returns a null text, or why it failed.
QString writeCurveCsv(const QString& path, const Curve& exhaust, const Curve& fill, const QString& unitName);

}  // namespace orvx::diagnostics
