#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

namespace orvx::store {

class PlantStore;

// What an import of a data file did.
struct ImportCount {
    int kept = 0;
    int already = 0;       // in the store before
    QStringList problems;  // what the reader left out, each naming its line
    QStringList failures;  // records the store refused, each naming its record, line and reason
    bool stopped = false;  // the caller stopped it part way
};

// A record's time as the data file writes it, "MM/dd/yyyy hh:mm:ss", without a zone: kept as
// written, so that the same file imported anywhere, in any zone, makes the same records.
QDateTime dataFileTime(const QString& text);

// Keeps every complete record of the data file at `path` in `store`, as kept by `keptBy` at
// `now`. Each record is a transaction of its own: an import stopped or killed part way leaves the
// records before it whole and the one it was writing not at all, another program keeping into
// the store at once waits for one record and never for a whole file, and importing the file again
// keeps the rest (a record is kept once, however often it is imported). `goOn`, when given, hears
// of each record handed to the store and stops the import by answering false. Throws
// DataFileError when the file cannot be read at all.
ImportCount importDataFile(PlantStore& store, const QString& path, const QString& keptBy, const QDateTime& now,
                           const std::function<bool(const ImportCount&)>& goOn = {});

}  // namespace orvx::store
