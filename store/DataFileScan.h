#pragma once

#include "diagnostics/DiagRecord.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>

namespace orvx::store {

// A complete record as it stands in the file.
struct FileRecord {
    int index = 0;     // 1-based, counting the complete records in file order
    qint64 line = 0;   // the header line's number
    QString dateTime;  // as the header writes it, without the line end
    diagnostics::DiagRecord record;
};

// What a scan found besides the records.
struct ScanSummary {
    int records = 0;
    QStringList problems;  // what the reader left out, each naming its line
};

// The file cannot be opened, or is no data file of this version.
class DataFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads every complete record of a data file, in file order, under a shared lock (a record
// another program is appending is all there or not yet), and hands each to visit. The file is
// only ever opened for reading. Throws DataFileError.
ScanSummary scanDataFile(const QString& path, const std::function<void(const FileRecord&)>& visit);

}  // namespace orvx::store
