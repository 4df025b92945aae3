#include "DataFileScan.h"

#include "device/DataFileLines.h"
#include "device/DeviceNames.h"
#include "diagnostics/LineReader.h"
#include "diagnostics/MappedFile.h"
#include "diagnostics/NvEsdDataFileSvr.h"
#include "diagnostics/RecordScanner.h"
#include "diagnostics/XFile.h"
#include "diagnostics/XFileException.h"

namespace orvx::store {

using namespace orvx::diagnostics;

namespace {

[[noreturn]] void fail(const QString& reason)
{
    throw DataFileError(reason.toStdString());
}

// The data file's own test of the version line, on a descriptor closed again before scanning:
// closing any descriptor of a file drops this process's locks on it.
void checkDataFile(const QString& path)
{
    CNvEsdDataFileSvr server;
    if (server.OpenFile(path, OpenPurpose::Load))
        fail(QStringLiteral("the file is empty, not a data file"));
    if (!server.CheckVersion())
        fail(QStringLiteral("not a data file of this version (it does not start with \"%1,\")")
                 .arg(device::latin1(device::datafile::kVersionTag)));
}

}  // namespace

ScanSummary scanDataFile(const QString& path, const std::function<void(const FileRecord&)>& visit)
{
    ScanSummary summary;
    try {
        checkDataFile(path);
        CXFile file;
        file.Open(path, CXFile::Readable);
        // Released when the file closes.
        file.LockRange(0, 0, CXFile::LockKind::Shared);
        const CMappedFile mapped(file, file.Length());
        CLineReader lines(mapped.Bytes());
        CRecordScanner scanner(lines);
        ScannedHeader header;
        FileRecord found;
        while (scanner.NextHeader(header)) {
            if (!scanner.ReadBody(header, &found.record))
                continue;
            found.index = ++summary.records;
            found.line = header.line;
            found.dateTime = header.dateTime;
            visit(found);
        }
        summary.problems = scanner.Problems();
    } catch (const CXFileException& error) {
        fail(error.SystemMessage());
    }
    return summary;
}

}  // namespace orvx::store
