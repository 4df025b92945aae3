#include "PstReport.h"

#include "WholeFile.h"

#include <QFont>
#include <QFontMetricsF>
#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace orvx::diagnostics {

namespace {

constexpr int kDpi = 300;

QFont font(QPainter& painter, double points, bool bold = false)
{
    QFont f = painter.font();
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QString gradeCell(const PstReportRow& row)
{
    return row.grade ? QString::fromLatin1(gradeText(*row.grade)) : QString();
}

// Draws the rows as a table of four columns from `top` on; answers the y below it.
qreal drawRows(QPainter& painter, const QRectF& page, qreal top, const std::vector<PstReportRow>& rows)
{
    painter.setFont(font(painter, 10));
    const qreal line = QFontMetricsF(painter.font(), painter.device()).height() * 1.5;
    const qreal columns[] = {0, 0.3, 0.48, 0.86};
    const auto cell = [&](int column, qreal y, const QString& text) {
        const qreal left = page.left() + page.width() * columns[column];
        const qreal right = column + 1 < 4 ? page.left() + page.width() * columns[column + 1] : page.right();
        painter.drawText(QRectF(left, y, right - left, line), Qt::AlignLeft | Qt::AlignVCenter, text);
    };

    painter.setFont(font(painter, 10, true));
    const char* headings[] = {"Measured", "Value", "Limit", "Result"};
    for (int column = 0; column < 4; ++column)
        cell(column, top, QString::fromLatin1(headings[column]));
    top += line;
    painter.drawLine(QPointF(page.left(), top), QPointF(page.right(), top));

    painter.setFont(font(painter, 10));
    for (const PstReportRow& row : rows) {
        cell(0, top, row.name);
        cell(1, top, row.value);
        cell(2, top, row.limit);
        if (row.grade) {
            painter.save();
            painter.setPen(*row.grade == Grade::Passed ? QColor(0, 128, 0) : QColor(192, 0, 0));
            cell(3, top, gradeCell(row));
            painter.restore();
        }
        top += line;
    }
    return top;
}

QString paintReport(QPdfWriter& writer, const PstReportContent& content)
{
    QPainter painter;
    if (!painter.begin(&writer))
        return QStringLiteral("the PDF could not be started");
    const QRectF page(QPointF(0, 0), QSizeF(writer.width(), writer.height()));

    painter.setFont(font(painter, 18, true));
    const qreal titleHeight = QFontMetricsF(painter.font(), painter.device()).height();
    painter.drawText(QRectF(page.left(), page.top(), page.width(), titleHeight), Qt::AlignLeft,
                     QStringLiteral("Partial Stroke Test Report"));
    qreal y = page.top() + titleHeight * 1.6;

    painter.setFont(font(painter, 11));
    const qreal line = QFontMetricsF(painter.font(), painter.device()).height() * 1.4;
    const QString facts[] = {
        QStringLiteral("Device tag: %1").arg(content.tag),
        QStringLiteral("Device id: %1").arg(content.deviceId),
        QStringLiteral("Report written: %1").arg(content.written.toString(QStringLiteral("yyyy-MM-dd HH:mm"))),
    };
    for (const QString& fact : facts) {
        painter.drawText(QRectF(page.left(), y, page.width(), line), Qt::AlignLeft | Qt::AlignVCenter, fact);
        y += line;
    }
    y = drawRows(painter, page, y + line, content.rows) + line;

    if (content.plot) {
        const qreal height = std::min(page.bottom() - y - 2 * line, page.width() * 0.7);
        if (height > 0) {
            content.plot(painter, QRectF(page.left(), y, page.width(), height));
            painter.setFont(font(painter, 10));
            painter.drawText(QRectF(page.left(), y + height, page.width(), line), Qt::AlignHCenter | Qt::AlignVCenter,
                             content.plotCaption);
        }
    }
    if (!painter.end())
        return QStringLiteral("the PDF could not be finished");
    return {};
}

}  // namespace

QString writePstReport(const QString& path, const PstReportContent& content)
{
    return writeWholeFile(path, [&content](QIODevice& file) {
        QPdfWriter writer(&file);
        writer.setResolution(kDpi);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                         QPageLayout::Millimeter));
        writer.setTitle(QStringLiteral("Partial Stroke Test Report %1").arg(content.tag));
        writer.setCreator(QStringLiteral("Orvx ESD DTM"));
        return paintReport(writer, content);
    });
}

}  // namespace orvx::diagnostics
