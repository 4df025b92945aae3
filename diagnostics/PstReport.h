#pragma once

#include "PstReportRows.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QPainter;
class QRectF;

namespace orvx::diagnostics {

// What a one-page PST report shows: the device, when it was written, the graded rows, and the
// signature plot, drawn by `plot` into the rectangle it is given, with a caption below it that
// says which line is which.
struct PstReportContent {
    QString tag;
    std::int32_t deviceId = 0;
    QDateTime written;
    std::vector<PstReportRow> rows;
    std::function<void(QPainter&, const QRectF&)> plot;
    QString plotCaption;
};

// Writes the report as a one-page A4 PDF, whole or not at all. Returns a null text, or why it
// failed.
QString writePstReport(const QString& path, const PstReportContent& content);

}  // namespace orvx::diagnostics
