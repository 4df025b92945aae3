#include "DlgPickData.h"

#include "DataFileDialogs.h"
#include "NvEsdDataFileSvr.h"
#include "XFileException.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/DialogService.h"
#include "platform/ui/PostCall.h"
#include "platform/ui/Resources.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orvx::diagnostics {

namespace {

enum Item {
    OkButton = 1,
    CancelButton = 2,
    OpenAnotherFileButton = 213,
    RecordList = 389,
};
constexpr int kWindowIcon = 202;

// The time stamp keeps its line end in the key; the list shows it without.
QString shown(const QString& field)
{
    QString text = field;
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    return text;
}

}  // namespace

CDlgPickData::CDlgPickData(QWidget* owner) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Select data"));
    setWindowIcon(QIcon(ui::iconPixmap(kWindowIcon, QSize(16, 16))));
    resize(560, 320);

    m_list = ui::makeItem<QTreeWidget>(this, RecordList);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setHeaderLabels(
        {QStringLiteral("Diag Type"), QStringLiteral("Tag"), QStringLiteral("Time Stamp"), QStringLiteral("DeviceID")});
    m_list->header()->setStretchLastSection(true);
    m_list->viewport()->installEventFilter(this);
    connect(m_list, &QTreeWidget::itemActivated, this, [this] { done(Accepted); });

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = ui::makeButton(this, OkButton, QStringLiteral("OK"));
    ok->setDefault(true);
    auto* cancel = ui::makeButton(this, CancelButton, QStringLiteral("Cancel"));
    auto* another = ui::makeButton(this, OpenAnotherFileButton, QStringLiteral("&Open Another File"));
    another->setAutoDefault(false);
    buttons->addButton(another, QDialogButtonBox::ActionRole);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(another, &QPushButton::clicked, this,
            [this] { ui::runGuarded("Open Another File", [this] { OpenAnotherFile(); }); });

    m_problems = new QLabel(this);
    m_problems->setWordWrap(true);
    m_problems->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(m_problems);
    layout->addWidget(buttons);
}

int CDlgPickData::Run()
{
    if (!OpenAnotherFile())
        return Rejected;
    return ui::dialogService().RunModal(*this) == Accepted && TakeSelection() ? Accepted : Rejected;
}

bool CDlgPickData::OpenAnotherFile()
{
    const QString file = chooseDataFile(ui::FileMode::Open, DiagKind::Pst, QString(), this);
    if (file.isNull())
        return false;
    List(file);
    return true;
}

bool CDlgPickData::List(const QString& file)
{
    auto server = openForReading(file, this);
    if (!server)
        return false;
    QList<RecordKey> keys;
    try {
        keys = server->ListRecords();
    } catch (const CXFileException& error) {
        showDataFileError(this, fileErrorText(error));
        return false;
    }
    // Records cut short by a crash, or damaged since, are left out; say so, with their lines.
    const QStringList& problems = server->Problems();
    m_problems->setVisible(!problems.isEmpty());
    m_problems->setText(QStringLiteral("Left out as damaged: %1").arg(problems.join(QLatin1String("; "))));
    m_file = file;
    m_keys = keys;
    m_list->clear();
    for (const RecordKey& key : keys)
        m_list->addTopLevelItem(new QTreeWidgetItem({key.kind, key.tag, shown(key.dateTime), key.deviceId}));
    return true;
}

bool CDlgPickData::TakeSelection()
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return false;
    m_key = m_keys.at(m_list->indexOfTopLevelItem(selected.front()));
    return true;
}

void CDlgPickData::done(int result)
{
    // OK without a record picked cancels.
    QDialog::done(result == Accepted && TakeSelection() ? Accepted : Rejected);
}

bool CDlgPickData::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list->viewport() && event->type() == QEvent::Resize)
        FitColumns();
    return QDialog::eventFilter(watched, event);
}

void CDlgPickData::FitColumns()
{
    const int width = m_list->viewport()->width();
    const int quarter = width / 4;
    m_list->setColumnWidth(0, quarter - 16);
    m_list->setColumnWidth(1, quarter);
    m_list->setColumnWidth(2, quarter + 16);
    m_list->setColumnWidth(3, width - 3 * quarter);
}

std::optional<PickedRecord> pickRecord(QWidget* owner)
{
    CDlgPickData picker(owner);
    if (picker.Run() != QDialog::Accepted)
        return std::nullopt;
    auto file = openForReading(picker.File(), owner);
    if (!file)
        return std::nullopt;
    std::optional<DiagRecord> record;
    try {
        record = file->ReadRecord(picker.Key());
    } catch (const CXFileException& error) {
        showDataFileError(owner, fileErrorText(error));
        return std::nullopt;
    }
    if (!record) {
        showDataFileError(
            owner, QStringLiteral("The record could not be read from %1:\n%2").arg(picker.File(), file->LastError()));
        return std::nullopt;
    }
    return PickedRecord{std::move(*record), picker.File(), picker.Key()};
}

}  // namespace orvx::diagnostics
