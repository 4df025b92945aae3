// Writers that die at any moment, and writers that save into one file at the same time, run
// as child processes of the test.
#include "diagnostics/NvEsdDataFileSvr.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <iostream>
#include <random>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace orvx::diagnostics;

namespace {

const QDateTime kBase(QDate(2024, 1, 1), QTime(0, 0));

// Record number `number` of a writer, its size and contents derived from the number. Its
// points are sixteenths, which four decimals hold exactly.
DiagRecord numbered(int writer, int number)
{
    DiagRecord record;
    record.deviceId = writer * 10000 + number;
    record.kind = number % 3 == 0 ? DiagKind::Esd : DiagKind::Pst;
    record.tag = QStringLiteral("W%1").arg(writer);
    for (int i = 0; i < kRecordValueCount; ++i)
        record.values[i] = record.deviceId * 7 - i;
    const int points[2] = {record.deviceId * 37 % 200, record.deviceId * 53 % 150};
    for (int c = 0; c < 2; ++c) {
        Curve& curve = c == 0 ? record.curve1 : record.curve2;
        for (int p = 0; p < points[c]; ++p) {
            curve.position.push_back(float(p) / 16);
            curve.pressure.push_back(float(record.deviceId % 97 - p) / 16);
        }
    }
    return record;
}

QDateTime stamp(int writer, int number)
{
    return kBase.addSecs(writer * 10000 + number);
}

// Appends the writer's records, one save each, until it has written count of them.
[[noreturn]] void writeInChild(const QString& path, int writer, int count)
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    try {
        for (int number = 0; number < count; ++number) {
            CNvEsdDataFileSvr server;
            server.OpenFile(path, OpenPurpose::Save);
            if (!server.WriteRecord(numbered(writer, number), stamp(writer, number)))
                ::_exit(2);
        }
    } catch (...) {
        ::_exit(1);
    }
    ::_exit(0);
}

pid_t startWriter(const QString& path, int writer, int count)
{
    const pid_t child = ::fork();
    if (child == 0)
        writeInChild(path, writer, count);
    return child;
}

int exitCode(pid_t child)
{
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Every record of the file, read back through its key, in file order.
std::vector<DiagRecord> readAll(const QString& path)
{
    if (!QFile::exists(path))
        return {};  // the writer was killed before it made the file
    CNvEsdDataFileSvr server;
    server.OpenFile(path, OpenPurpose::Load);
    std::vector<DiagRecord> records;
    for (const RecordKey& key : server.ListRecords()) {
        auto record = server.ReadRecord(key);
        EXPECT_TRUE(record) << server.LastError().toStdString();
        if (record)
            records.push_back(*record);
    }
    return records;
}

TEST(DataFileCrash, WritersSavingAtOnceNeverMixTheirLines)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shared.dgn"));
    constexpr int kEach = 60;
    const pid_t writers[] = {startWriter(path, 1, kEach), startWriter(path, 2, kEach), startWriter(path, 3, kEach)};
    for (const pid_t writer : writers)
        ASSERT_EQ(exitCode(writer), 0);

    CNvEsdDataFileSvr server;
    server.OpenFile(path, OpenPurpose::Load);
    EXPECT_EQ(server.ListRecords().size(), 3 * kEach);
    EXPECT_TRUE(server.Problems().isEmpty()) << server.Problems().join('\n').toStdString();
    int next[4] = {};
    for (const DiagRecord& record : readAll(path)) {
        const int writer = record.deviceId / 10000;
        ASSERT_EQ(record, numbered(writer, next[writer]));
        ++next[writer];
    }
    EXPECT_EQ(next[1] + next[2] + next[3], 3 * kEach);
}

// A writer killed at a random moment loses at most the record it was writing: every record
// saved before stays, and the next writer's records read as well. A kill seldom lands inside
// the single write of a record, so every other round also cuts the file at a random byte of
// what the killed writer appended, as a power loss would.
TEST(DataFileCrash, AKilledWriterLosesNothingSavedBefore)
{
    const int rounds = qEnvironmentVariableIsSet("ORVX_CRASH_ROUNDS")
                           ? qEnvironmentVariableIntValue("ORVX_CRASH_ROUNDS")
                           : 200;
    const unsigned seed = std::random_device()();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delay(0, 4000);  // microseconds
    SCOPED_TRACE(::testing::Message() << "seed " << seed);

    QTemporaryDir dir;
    constexpr int kRoundsPerFile = 25;  // the file is read whole after each round
    // A file cut inside its version line is no data file any more; a writer leaves it alone.
    constexpr qint64 kKeptVersionLine = 25;
    std::vector<DiagRecord> saved;
    int cutTails = 0;
    int cutByTest = 0;
    for (int round = 0; round < rounds; ++round) {
        const QString path = dir.filePath(QStringLiteral("crash%1.dgn").arg(round / kRoundsPerFile));
        if (round % kRoundsPerFile == 0)
            saved.clear();
        const qint64 before = QFileInfo(path).size();
        const pid_t child = startWriter(path, 1000 + round, 1 << 20);
        ::usleep(delay(random));
        ::kill(child, SIGKILL);
        exitCode(child);

        QFile file(path);
        if (file.open(QIODevice::ReadWrite) && file.size() > before) {
            if (!file.readAll().endsWith("9999.999\r\n"))
                ++cutTails;
            else if (round % 2 == 1 && ++cutByTest)
                file.resize(
                    std::uniform_int_distribution<qint64>(std::max(before, kKeptVersionLine), file.size() - 1)(random));
        }
        file.close();
        std::vector<DiagRecord> records = readAll(path);
        ASSERT_GE(records.size(), saved.size()) << "round " << round;
        for (std::size_t i = 0; i < records.size(); ++i) {
            // The records saved before, then the killed writer's in its order.
            const DiagRecord expected = i < saved.size() ? saved[i]
                                                         : numbered(1000 + round, static_cast<int>(i - saved.size()));
            ASSERT_EQ(records[i], expected) << "round " << round << ", record " << i;
        }

        const DiagRecord after = numbered(round, round);
        CNvEsdDataFileSvr server;
        server.OpenFile(path, OpenPurpose::Save);
        ASSERT_TRUE(server.WriteRecord(after, stamp(round, round)));
        records.push_back(after);
        saved = readAll(path);
        ASSERT_EQ(saved, records) << "round " << round;
    }
    std::cout << rounds << " writers killed, " << cutTails << " of them in the middle of a record; " << cutByTest
              << " files cut by the test\n";
}

}  // namespace
