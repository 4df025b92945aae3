#include "GraphExports.h"

#include "CurveCsv.h"
#include "PstReport.h"
#include "PstReportRows.h"
#include "WholeFile.h"
#include "platform/chart/DiagChart.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DialogService.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QImage>
#include <QPainter>

namespace orvx::diagnostics {

namespace {

constexpr QSize kPictureSize(1200, 800);
// The report's plot is laid out as on a screen this many pixels wide, then scaled to the page.
constexpr int kReportPlotWidth = 900;

}  // namespace

CGraphExports::CGraphExports(QWidget& owner, const CGraphData& data, const chart::CDiagChart& chart)
    : m_owner(owner), m_data(data), m_chart(chart)
{
}

void CGraphExports::Csv() const
{
    const QString path = choose(QStringLiteral("Export CSV"), QStringLiteral("CSV files (*.csv)"),
                                QStringLiteral("csv"));
    if (path.isNull())
        return;
    const DiagRecord& record = m_data.Record();
    const QString failure = writeCurveCsv(path, record.curve1, record.curve2, graphUnitName(m_data.UnitCode()));
    if (!failure.isNull())
        reportFailure(path, failure);
}

void CGraphExports::Png() const
{
    const QString path = choose(QStringLiteral("Export PNG"), QStringLiteral("PNG images (*.png)"),
                                QStringLiteral("png"));
    if (path.isNull())
        return;
    const QImage picture = m_chart.Render(kPictureSize);
    const QString failure = writeWholeFile(path, [&picture](QIODevice& file) {
        return picture.save(&file, "PNG") ? QString() : QStringLiteral("the picture could not be encoded");
    });
    if (!failure.isNull())
        reportFailure(path, failure);
}

void CGraphExports::PstReport(const SignatureFigures& figures, const std::optional<PstLimits>& limits,
                              const QString& legend) const
{
    const QString path = choose(QStringLiteral("PST Report"), QStringLiteral("PDF files (*.pdf)"),
                                QStringLiteral("pdf"));
    if (path.isNull())
        return;
    const DiagRecord& record = m_data.Record();
    PstReportContent content{record.tag,
                             record.deviceId,
                             ui::currentDateTime(),
                             pstReportRows(record.Value(RecordValue::PstPassed), figures, limits),
                             [this](QPainter& painter, const QRectF& target) {
                                 const int height = static_cast<int>(kReportPlotWidth * target.height() /
                                                                     target.width());
                                 m_chart.Paint(painter, target, QSize(kReportPlotWidth, height));
                             },
                             legend};
    const QString failure = writePstReport(path, content);
    if (!failure.isNull())
        reportFailure(path, failure);
}

QString CGraphExports::SuggestedName(const DiagRecord& record, const QString& extension)
{
    QString tag = record.tag.trimmed();
    for (QChar& c : tag)
        if (QStringLiteral("\\|/:*?\"<>").contains(c))
            c = QLatin1Char('_');
    if (tag.isEmpty())
        tag = QStringLiteral("graph");
    const QString kind = record.kind == DiagKind::Pst ? QStringLiteral("PST") : QStringLiteral("ESD");
    return QStringLiteral("%1_%2_%3.%4")
        .arg(tag, ui::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss")), kind, extension);
}

QString CGraphExports::choose(const QString& caption, const QString& filter, const QString& extension) const
{
    ui::FileRequest request;
    request.owner = &m_owner;
    request.caption = caption;
    request.filter = filter;
    request.suggestedName = SuggestedName(m_data.Record(), extension);
    request.mode = ui::FileMode::Save;
    QString path = ui::dialogService().ChooseFile(request);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + extension;
    return path.isEmpty() ? QString() : path;
}

void CGraphExports::reportFailure(const QString& path, const QString& reason) const
{
    ui::showMessage(&m_owner, QStringLiteral("Orvx ESD DTM"),
                    QStringLiteral("Could not write %1:\n%2").arg(QDir::toNativeSeparators(path), reason),
                    ui::MessageButtons::Ok, ui::MessageIcon::Error);
}

}  // namespace orvx::diagnostics
