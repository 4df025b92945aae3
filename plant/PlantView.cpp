#include "plant/PlantView.h"

#include "plant/PlantOrder.h"
#include "plant/PlantReport.h"
#include "plant/PlantSortProxy.h"
#include "plant/PlantTableModel.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DialogService.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <QtDebug>

#include <algorithm>
#include <exception>

namespace orvx::plant {

namespace {

QDateTime utcNow()
{
    return QDateTime::fromMSecsSinceEpoch(ui::wallClock().msecsSinceEpoch(), Qt::UTC);
}

QPushButton* button(QWidget* owner, const QString& name, const QString& text)
{
    auto* made = new QPushButton(text, owner);
    made->setObjectName(name);
    made->setAutoDefault(false);
    return made;
}

}  // namespace

PlantView::PlantView(QWidget* parent)
    : QWidget(parent),
      m_model(new PlantTableModel(this)),
      m_proxy(new PlantSortProxy(*m_model, this)),
      m_filter(new QLineEdit(this)),
      m_table(new QTableView(this)),
      m_status(new QLabel(this))
{
    m_filter->setObjectName(QStringLiteral("filter"));
    m_filter->setPlaceholderText(QStringLiteral("Filter by tag, device id or status"));
    m_filter->setClearButtonEnabled(true);
    auto* filterLabel = new QLabel(QStringLiteral("&Filter"), this);
    filterLabel->setBuddy(m_filter);

    m_table->setObjectName(QStringLiteral("plantTable"));
    m_table->setModel(m_proxy);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->setSortIndicator(PlantTableModel::Overdue, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);
    m_table->installEventFilter(this);
    setColumnWidths();

    auto* csv = button(this, QStringLiteral("exportCsv"), QStringLiteral("Export report (CSV)..."));
    auto* pdf = button(this, QStringLiteral("exportPdf"), QStringLiteral("Export report (PDF)..."));
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* top = new QHBoxLayout;
    top->addWidget(filterLabel);
    top->addWidget(m_filter, 1);
    top->addWidget(csv);
    top->addWidget(pdf);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_status);

    connect(m_filter, &QLineEdit::textChanged, m_proxy, &PlantSortProxy::setFilterText);
    connect(m_table, &QTableView::doubleClicked, this, &PlantView::open);
    connect(csv, &QPushButton::clicked, this, [this] { exportReport(Format::Csv); });
    connect(pdf, &QPushButton::clicked, this, [this] { exportReport(Format::Pdf); });
}

PlantView::~PlantView()
{
    m_table->removeEventFilter(this);
}

void PlantView::setColumnWidths()
{
    // Wide enough for the longest usual text of each column and its heading, in the view's font.
    const QFontMetrics metrics(m_table->font());
    const QString widest[] = {QStringLiteral("WWWWWWWWWW"),
                              QStringLiteral("16777215"),
                              QStringLiteral("Reachable"),
                              QStringLiteral("Manual"),
                              QStringLiteral("Maintenance required"),
                              QStringLiteral("0000-00-00"),
                              QStringLiteral("Passed"),
                              QStringLiteral("interval unknown"),
                              QStringLiteral("Overdue")};
    for (int column = 0; column < static_cast<int>(std::size(widest)); ++column) {
        const QString heading = m_model->headerData(column, Qt::Horizontal).toString();
        const int text = std::max(metrics.horizontalAdvance(widest[column]), metrics.horizontalAdvance(heading));
        m_table->setColumnWidth(column, text + 3 * metrics.averageCharWidth());
    }
}

bool PlantView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_table->currentIndex().isValid()) {
            open(m_table->currentIndex());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PlantView::open(const QModelIndex& proxyIndex)
{
    const QString key = proxyIndex.data(PlantTableModel::KeyRole).toString();
    if (key.isEmpty() || !onOpen)
        return;
    try {
        onOpen(key);
    } catch (const std::exception& error) {
        showFailure(QStringLiteral("The device could not be opened: %1").arg(QString::fromUtf8(error.what())));
    }
}

void PlantView::exportReport(Format format)
{
    const QDateTime now = utcNow();
    const bool csv = format == Format::Csv;
    ui::FileRequest request;
    request.owner = this;
    request.caption = QStringLiteral("Export plant PST report");
    request.filter = csv ? QStringLiteral("CSV files (*.csv);;All Files (*)")
                         : QStringLiteral("PDF files (*.pdf);;All Files (*)");
    request.suggestedName = QStringLiteral("plant-pst-report-%1.%2")
                                .arg(now.date().toString(Qt::ISODate),
                                     csv ? QStringLiteral("csv") : QStringLiteral("pdf"));
    request.mode = ui::FileMode::Save;
    QString path;
    try {
        path = ui::dialogService().ChooseFile(request);
    } catch (const std::exception& error) {
        showFailure(QStringLiteral("No file could be chosen: %1").arg(QString::fromUtf8(error.what())));
        return;
    }
    if (path.isNull())
        return;  // the user cancelled
    // Every valve, filtered out or not, in the order the team reads the plant in.
    const QList<ValveRow> rows = inAttentionOrder(m_model->rows(), now);
    const QString failure = csv ? writePlantCsv(rows, now, path) : writePlantPdf(rows, now, path);
    if (failure.isEmpty()) {
        m_status->setText(QStringLiteral("The report of %1 valves was written to %2.").arg(rows.size()).arg(path));
        return;
    }
    showFailure(QStringLiteral("The report could not be written to %1: %2").arg(path, failure));
}

void PlantView::showFailure(const QString& text)
{
    qWarning().noquote() << text;
    m_status->setText(text);
}

}  // namespace orvx::plant
