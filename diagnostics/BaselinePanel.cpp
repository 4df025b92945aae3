#include "BaselinePanel.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvx::diagnostics {

namespace {

QString number(double value)
{
    return QString::number(value, 'g', 4);
}

QTableWidgetItem* cell(const QString& text, std::optional<Grade> grade)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (grade) {
        item->setForeground(*grade == Grade::Passed ? CBaselinePanel::PassedColour() : CBaselinePanel::FailedColour());
        item->setToolTip(QString::fromLatin1(gradeText(*grade)));
    }
    return item;
}

}  // namespace

CBaselinePanel::CBaselinePanel(QWidget* parent)
    : QWidget(parent), m_title(new QLabel(this)), m_table(new QTableWidget(0, ColumnCount, this))
{
    setObjectName(QStringLiteral("baselinePanel"));
    m_title->setWordWrap(true);
    m_table->setHorizontalHeaderLabels({QStringLiteral("Result"), QStringLiteral("This test"),
                                        QStringLiteral("Baseline"), QStringLiteral("Difference"),
                                        QStringLiteral("Change")});
    m_table->verticalHeader()->setVisible(false);
    // The names as wide as they need, the figures sharing the rest of the window's width.
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::ResizeToContents);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_title);
    layout->addWidget(m_table);
    hide();
}

QColor CBaselinePanel::PassedColour()
{
    return QColor(0x00, 0x80, 0x00);
}

QColor CBaselinePanel::FailedColour()
{
    return QColor(0xB0, 0x00, 0x00);
}

QString CBaselinePanel::Title() const
{
    return m_title->text();
}

void CBaselinePanel::Show(const std::vector<ComparisonRow>& rows, const QString& unit, const QString& title)
{
    m_title->setText(title);
    m_table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const ComparisonRow& row = rows[static_cast<std::size_t>(r)];
        const QString inUnit = row.pressure ? unit : QStringLiteral("s");
        // A figure a signature does not give shows as a dash, and so does what follows from it.
        const auto shown = [&](std::optional<double> value, bool withSign = false) {
            if (!value)
                return QStringLiteral("\u2013");
            return (withSign && *value > 0 ? QStringLiteral("+") : QString()) + number(*value) + u' ' + inUnit;
        };
        const auto percent = row.Percent();
        m_table->setItem(r, NameColumn, cell(QString::fromLatin1(row.name), std::nullopt));
        m_table->setItem(r, CurrentColumn, cell(shown(row.current), row.currentGrade));
        m_table->setItem(r, BaselineColumn, cell(shown(row.baseline), row.baselineGrade));
        m_table->setItem(r, DifferenceColumn, cell(shown(row.Difference(), true), row.currentGrade));
        m_table->setItem(r, ChangeColumn,
                         cell(percent ? percentText(*percent) : QStringLiteral("\u2013"), row.currentGrade));
    }
    // Every row shows: the table is as tall as its rows.
    m_table->setFixedHeight(m_table->horizontalHeader()->sizeHint().height() +
                            m_table->verticalHeader()->defaultSectionSize() * m_table->rowCount() +
                            2 * m_table->frameWidth());
    show();
}

}  // namespace orvx::diagnostics
