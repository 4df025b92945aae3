#include "DgnCommands.h"
#include "DgnFile.h"
#include "store/PlantStore.h"

#include <QDateTime>

namespace orvx::tools {

namespace {

// A record's time as the file writes it, "MM/dd/yyyy hh:mm:ss", without a zone: kept as written,
// so that the same file imported anywhere, in any zone, makes the same records.
QDateTime fileTime(const QString& text)
{
    const QDateTime read = QDateTime::fromString(text.trimmed(), QStringLiteral("MM/dd/yyyy hh:mm:ss"));
    return QDateTime(read.date(), read.time(), Qt::UTC);
}

QString whoImports()
{
    const QString user = qEnvironmentVariable("USER", QStringLiteral("unknown"));
    return QStringLiteral("%1, imported by orvx-dgn").arg(user);
}

}  // namespace

int importRecords(const QString& path, const QString& storeAddress, std::ostream& out, std::ostream& err)
{
    QString error;
    const std::optional<store::StoreAddress> address = store::parseStoreAddress(storeAddress, &error);
    std::unique_ptr<store::PlantStore> plant = address ? store::PlantStore::open(*address, &error) : nullptr;
    if (!plant) {
        err << "orvx-dgn: " << error.toStdString() << '\n';
        return kExitFailure;
    }
    // The one reading of the clock: a command run by hand keeps when it ran.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    int kept = 0;
    int already = 0;
    QStringList failures;
    ScanSummary summary;
    // Each record is kept in a transaction of its own (keep is one statement): an import killed
    // part way leaves the records before it whole and the one it was writing not at all, and
    // another program keeping into the store at the same time waits for one record, never for a
    // whole file. Importing the file again keeps the rest.
    try {
        summary = scanDataFile(path, [&](const FileRecord& found) {
            const store::KeepOutcome outcome = plant->keep(
                {found.record, fileTime(found.dateTime), whoImports(), now, std::nullopt});
            kept += outcome.kind == store::KeepOutcome::Kind::Kept;
            already += outcome.kind == store::KeepOutcome::Kind::AlreadyKept;
            if (outcome.kind == store::KeepOutcome::Kind::Failed)
                failures << QStringLiteral("record %1 (line %2): %3").arg(found.index).arg(found.line).arg(outcome.why);
        });
    } catch (const DgnFileError& failure) {
        err << "orvx-dgn: " << path.toLocal8Bit().toStdString() << ": " << failure.what() << '\n';
        return kExitFailure;
    }
    for (const QString& problem : summary.problems + failures)
        err << path.toLocal8Bit().toStdString() << ": " << problem.toStdString() << '\n';
    out << kept << " kept, " << already << " already in " << plant->address().text().toStdString() << ", "
        << failures.size() << " not kept\n";
    if (!failures.isEmpty())
        return kExitFailure;
    return summary.problems.isEmpty() ? kExitOk : kExitProblems;
}

}  // namespace orvx::tools
