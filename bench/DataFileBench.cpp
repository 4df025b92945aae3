// P5: a large diagnostic data file, listed and read by the data file against a plain line scan.
#include "Bench.h"
#include "diagnostics/NvEsdDataFileSvr.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace orvx::bench {

namespace {

using namespace diagnostics;

// The file of this run, written once through the real writer: PST records of 2 x 1,500 points
// with different device ids until the file holds the size asked for.
struct DataFile {
    DataFile()
    {
        const qint64 wanted = Smoke() ? 2'000'000 : 100'000'000;
        path = folder.filePath(QStringLiteral("large.dgn"));
        DiagRecord record;
        record.tag = QStringLiteral("PV-01");
        record.values[static_cast<int>(RecordValue::PresUnits)] = 6;
        for (int i = 0; i < 1500; ++i) {
            const float x = static_cast<float>(i) / 15.0f;
            record.curve1.position.push_back(100.0f - x);
            record.curve1.pressure.push_back(30.0f + std::sin(x));
            record.curve2.position.push_back(x);
            record.curve2.pressure.push_back(25.0f + std::cos(x));
        }
        const QDateTime now(QDate(2026, 12, 6), QTime(9, 5, 4));
        CNvEsdDataFileSvr file;
        file.OpenFile(path, OpenPurpose::Save);
        while (QFileInfo(path).size() < wanted) {
            ++record.deviceId;
            if (!file.WriteRecord(record, now))
                throw std::runtime_error("the data file could not be written");
        }
        file.Close();
        size = QFileInfo(path).size();
        records = record.deviceId;
        CNvEsdDataFileSvr reader;
        reader.OpenFile(path, OpenPurpose::Load);
        const QList<RecordKey> keys = reader.ListRecords();
        if (keys.size() != records)
            throw std::runtime_error("the data file lists another number of records");
        last = keys.back();
    }
    QTemporaryDir folder;
    QString path;
    qint64 size = 0;
    int records = 0;
    RecordKey last;
};

std::unique_ptr<DataFile> theFile;

DataFile& dataFile()
{
    if (!theFile)
        theFile = std::make_unique<DataFile>();
    return *theFile;
}

// The floor: every line of the file found with memchr, read in blocks of 1 MiB.
long scanLines(const QString& path)
{
    const int fd = open(path.toLocal8Bit().constData(), O_RDONLY);
    if (fd < 0)
        throw std::runtime_error("cannot open the data file");
    std::vector<char> block(1 << 20);
    long lines = 0;
    ssize_t got = 0;
    while ((got = read(fd, block.data(), block.size())) > 0) {
        const char* p = block.data();
        const char* end = p + got;
        while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p))))) {
            ++lines;
            ++p;
        }
    }
    close(fd);
    return lines;
}

void P5_List(benchmark::State& state)
{
    DataFile& file = dataFile();
    for (auto _ : state) {
        CNvEsdDataFileSvr reader;
        reader.OpenFile(file.path, OpenPurpose::Load);
        benchmark::DoNotOptimize(reader.ListRecords());
    }
    state.SetBytesProcessed(state.iterations() * file.size);
    state.counters["records"] = file.records;
}

void P5_ReadLast(benchmark::State& state)
{
    DataFile& file = dataFile();
    for (auto _ : state) {
        CNvEsdDataFileSvr reader;
        reader.OpenFile(file.path, OpenPurpose::Load);
        const auto record = reader.ReadRecord(file.last);
        if (!record)
            state.SkipWithError("the last record did not read");
    }
}

void P5_Scan(benchmark::State& state)
{
    DataFile& file = dataFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(scanLines(file.path));
    state.SetBytesProcessed(state.iterations() * file.size);
    state.counters["megabytes"] = static_cast<double>(file.size) / 1e6;
}

}  // namespace

void ReleaseDataFile()
{
    theFile.reset();
}

void RegisterDataFileBenchmarks()
{
    using benchmark::RegisterBenchmark;
    const auto ms = benchmark::kMillisecond;
    Timed(RegisterBenchmark("P5/scan", P5_Scan))->Unit(ms);
    Timed(RegisterBenchmark("P5/list", P5_List))->Unit(ms);
    Timed(RegisterBenchmark("P5/last", P5_ReadLast))->Unit(ms);
}

}  // namespace orvx::bench
