#include "DataFileImport.h"

#include "DataFileScan.h"
#include "PlantStore.h"

namespace orvx::store {

namespace {

// Thrown through the scan to stop it; never leaves this file.
struct Stopped {};

}  // namespace

QDateTime dataFileTime(const QString& text)
{
    const QDateTime read = QDateTime::fromString(text.trimmed(), QStringLiteral("MM/dd/yyyy hh:mm:ss"));
    return QDateTime(read.date(), read.time(), Qt::UTC);
}

ImportCount importDataFile(PlantStore& store, const QString& path, const QString& keptBy, const QDateTime& now,
                           const std::function<bool(const ImportCount&)>& goOn)
{
    ImportCount count;
    try {
        const ScanSummary summary = scanDataFile(path, [&](const FileRecord& found) {
            const KeepOutcome outcome = store.keep(
                {found.record, dataFileTime(found.dateTime), keptBy, now, std::nullopt});
            count.kept += outcome.kind == KeepOutcome::Kind::Kept;
            count.already += outcome.kind == KeepOutcome::Kind::AlreadyKept;
            if (outcome.kind == KeepOutcome::Kind::Failed)
                count.failures
                    << QStringLiteral("record %1 (line %2): %3").arg(found.index).arg(found.line).arg(outcome.why);
            if (goOn && !goOn(count))
                throw Stopped{};
        });
        count.problems = summary.problems;
    } catch (const Stopped&) {
        count.stopped = true;
    }
    return count;
}

}  // namespace orvx::store
