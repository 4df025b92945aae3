#include "plant/PlantReport.h"

#include "diagnostics/WholeFile.h"
#include "plant/PstDue.h"
#include "plant/ValveTexts.h"

#include <QFontMetricsF>
#include <QIODevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace orvx::plant {

namespace {

constexpr int kDpi = 300;

QString refuse(const QString& path, const QDateTime& now)
{
    if (path.isEmpty())
        return QStringLiteral("no file was named");
    if (!now.isValid())
        return QStringLiteral("the moment of the report is not a valid date and time");
    return {};
}

QString intervalText(const ValveRow& row)
{
    return row.pstIntervalDays > 0 ? QString::number(row.pstIntervalDays) : QString();
}

QString deviceIdText(const ValveRow& row)
{
    return row.deviceId < 0 ? QString() : QString::number(row.deviceId);
}

// The columns of the PDF table: heading and share of the page's width.
struct PdfColumn {
    const char* heading;
    qreal width;
};
constexpr PdfColumn kPdfColumns[] = {
    {"Tag", 0.09},       {"Device id", 0.075}, {"Interval", 0.065},
    {"Last PST", 0.085}, {"Result", 0.06},     {"Next due", 0.085},
    {"Overdue", 0.07},   {"Status", 0.16},     {"Wear against baseline, projection", 0.31},
};

QStringList pdfCells(const ValveRow& row, const PstDue& due)
{
    return {row.tag,
            deviceIdText(row),
            row.pstIntervalDays > 0 ? QStringLiteral("%1 d").arg(row.pstIntervalDays) : QString(),
            row.lastPst ? dayText(row.lastPst) : QStringLiteral("none kept"),
            resultText(row.lastPassed),
            dayText(due.due),
            due.overdue ? QStringLiteral("yes") : QStringLiteral("no"),
            healthText(row.health)};
}

class PdfTable {
public:
    PdfTable(QPdfWriter& writer, QPainter& painter) : m_writer(writer), m_painter(painter)
    {
        m_page = QRectF(QPointF(0, 0), QSizeF(writer.width(), writer.height()));
    }

    QString Paint(const QList<ValveRow>& rows, const QDateTime& now)
    {
        setFont(16, true);
        qreal y = Line(QStringLiteral("Plant PST report"), m_page.top(), 1.3);
        int overdue = 0;
        int failed = 0;
        std::vector<PstDue> dues;
        for (const ValveRow& row : rows) {
            dues.push_back(pstDue(row, now));
            overdue += dues.back().overdue ? 1 : 0;
            failed += row.lastPassed == false ? 1 : 0;
        }
        setFont(10);
        y = Line(QStringLiteral("Made %1 UTC").arg(now.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm"))), y, 1.0);
        y = Line(QStringLiteral("%1 valves, %2 overdue for their PST, %3 failed their last PST")
                     .arg(rows.size())
                     .arg(overdue)
                     .arg(failed),
                 y, 1.5);
        y = Headings(y);
        for (int i = 0; i < rows.size(); ++i) {
            QStringList wear = rows[i].wear;
            if (!rows[i].projection.isEmpty())
                wear.append(rows[i].projection);
            const QString notes = wear.join(u'\n');
            const qreal height = std::max(LineHeight(), WrappedHeight(notes));
            if (y + height > m_page.bottom()) {
                if (!m_writer.newPage())
                    return QStringLiteral("a new page of the PDF could not be started");
                y = Headings(m_page.top());
            }
            const QStringList cells = pdfCells(rows[i], dues[static_cast<std::size_t>(i)]);
            for (int c = 0; c < cells.size(); ++c)
                Cell(c, y, cells[c]);
            Wrapped(y, notes);
            y += height;
        }
        return {};
    }

private:
    void setFont(qreal points, bool bold = false)
    {
        QFont font = m_painter.font();
        font.setPointSizeF(points);
        font.setBold(bold);
        m_painter.setFont(font);
    }
    qreal LineHeight() const { return QFontMetricsF(m_painter.font(), m_painter.device()).height() * 1.3; }

    qreal Line(const QString& text, qreal y, qreal spacing)
    {
        const qreal height = LineHeight();
        m_painter.drawText(QRectF(m_page.left(), y, m_page.width(), height), Qt::AlignLeft | Qt::AlignVCenter, text);
        return y + height * spacing;
    }

    void Cell(int column, qreal y, const QString& text)
    {
        qreal left = m_page.left();
        for (int c = 0; c < column; ++c)
            left += m_page.width() * kPdfColumns[c].width;
        const qreal width = m_page.width() * kPdfColumns[column].width;
        const QFontMetricsF metrics(m_painter.font(), m_painter.device());
        // A cell never runs into the next: a text too long is cut with an ellipsis.
        m_painter.drawText(QRectF(left, y, width * 0.97, LineHeight()), Qt::AlignLeft | Qt::AlignVCenter,
                           metrics.elidedText(text, Qt::ElideRight, width * 0.97));
    }

    // The last column is the widest and holds what must not be cut: its text wraps.
    QRectF WrappedRect(qreal y) const
    {
        const int last = static_cast<int>(std::size(kPdfColumns)) - 1;
        qreal left = m_page.left();
        for (int c = 0; c < last; ++c)
            left += m_page.width() * kPdfColumns[c].width;
        return QRectF(left, y, m_page.right() - left, m_page.height());
    }
    qreal WrappedHeight(const QString& text) const
    {
        if (text.isEmpty())
            return 0;
        const QFontMetricsF metrics(m_painter.font(), m_painter.device());
        const QRectF bounds = metrics.boundingRect(WrappedRect(0), Qt::TextWordWrap, text);
        return bounds.height() + LineHeight() - metrics.height();
    }
    void Wrapped(qreal y, const QString& text)
    {
        const QFontMetricsF metrics(m_painter.font(), m_painter.device());
        // Lined up with the other cells, centred in a line of the table.
        const qreal offset = (LineHeight() - metrics.height()) / 2;
        m_painter.drawText(WrappedRect(y + offset), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
    }

    qreal Headings(qreal y)
    {
        setFont(10, true);
        for (int c = 0; c < static_cast<int>(std::size(kPdfColumns)); ++c)
            Cell(c, y, QString::fromLatin1(kPdfColumns[c].heading));
        y += LineHeight();
        m_painter.drawLine(QPointF(m_page.left(), y), QPointF(m_page.right(), y));
        setFont(10);
        return y + LineHeight() * 0.2;
    }

    QPdfWriter& m_writer;
    QPainter& m_painter;
    QRectF m_page;
};

}  // namespace

QString csvField(const QString& given)
{
    // A spreadsheet runs a cell that starts like a formula; a tag the device reports is no formula
    // and is kept as text behind an apostrophe.
    const bool formula = !given.isEmpty() && QStringLiteral("=+-@\t\r").contains(given.front());
    const QString text = formula ? u'\'' + given : given;
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString writePlantCsv(const QList<ValveRow>& rows, const QDateTime& now, const QString& path)
{
    if (const QString why = refuse(path, now); !why.isEmpty())
        return why;
    QStringList lines{QStringLiteral("Tag,Device id,PST interval (days),Last PST,Result,Overdue,Next PST due,Status,"
                                     "Projection,Wear against baseline")};
    for (const ValveRow& row : rows) {
        const PstDue due = pstDue(row, now);
        const QStringList fields{row.tag,
                                 deviceIdText(row),
                                 intervalText(row),
                                 isoText(row.lastPst),
                                 resultText(row.lastPassed),
                                 due.overdue ? QStringLiteral("yes") : QStringLiteral("no"),
                                 isoText(due.due),
                                 healthText(row.health),
                                 row.projection,
                                 row.wear.join(QStringLiteral("; "))};
        QStringList quoted;
        for (const QString& field : fields)
            quoted.append(csvField(field));
        lines.append(quoted.join(u','));
    }
    const QByteArray bytes = (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
    return diagnostics::writeWholeFile(
        path, [&bytes](QIODevice& file) { return file.write(bytes) == bytes.size() ? QString() : file.errorString(); });
}

QString writePlantPdf(const QList<ValveRow>& rows, const QDateTime& now, const QString& path)
{
    if (const QString why = refuse(path, now); !why.isEmpty())
        return why;
    return diagnostics::writeWholeFile(path, [&](QIODevice& file) {
        QPdfWriter writer(&file);
        writer.setResolution(kDpi);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                                         QPageLayout::Millimeter));
        writer.setTitle(QStringLiteral("Plant PST report %1").arg(dayText(now)));
        writer.setCreator(QStringLiteral("Orvx ESD DTM"));
        QPainter painter;
        if (!painter.begin(&writer))
            return QStringLiteral("the PDF could not be started");
        const QString failure = PdfTable(writer, painter).Paint(rows, now);
        if (!painter.end() && failure.isNull())
            return QStringLiteral("the PDF could not be finished");
        return failure;
    });
}

}  // namespace orvx::plant
