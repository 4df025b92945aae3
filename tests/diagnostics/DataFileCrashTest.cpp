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

// Its points are sixteenths, which four decimals hold exactly.
DiagRecord numbered(int writer, int number)
{
    DiagRecord record;
    record.deviceId = writer * 10000 + number;
    record.kind = number % 3 == 0 ? DiagKind::Esd : DiagKind::Pst;
    record.tag = QStringLiteral("W%1").arg(writer);
    for (int i = 0; i < kRecordValueCount; ++i)
        record.values[i] = record.deviceId * 7 - i;
    for (Curve* curve : {&record.curve1, &record.curve2}) {
        for (int p = 0; p < record.deviceId * (curve == &record.curve1 ? 37 : 53) % 200; ++p) {
            curve->position.push_back(float(p) / 16);
            curve->pressure.push_back(float(record.deviceId % 97 - p) / 16);
        }
    }
    return record;
}

// Forks a child that saves `count` records, one save each.
pid_t startWriter(const QString& path, int writer, int count)
{
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    try {
        for (int number = 0; number < count; ++number) {
            CNvEsdDataFileSvr server;
            server.OpenFile(path, OpenPurpose::Save);
            if (!server.WriteRecord(numbered(writer, number), QDateTime(QDate(2024, 1, 1), QTime(0, 0))))
                ::_exit(2);
        }
    } catch (...) {
        ::_exit(1);
    }
    ::_exit(0);
}

int exitCode(pid_t child)
{
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<DiagRecord> readAll(const QString& path, QStringList* problems = nullptr)
{
    if (!QFile::exists(path))
        return {};  // the writer was killed before it made the file
    CNvEsdDataFileSvr server;
    server.OpenFile(path, OpenPurpose::Load);
    std::vector<DiagRecord> records;
    for (const RecordKey& key : server.ListRecords()) {
        const auto record = server.ReadRecord(key);
        EXPECT_TRUE(record) << server.LastError().toStdString();
        if (record)
            records.push_back(*record);
    }
    if (problems)
        *problems = server.Problems();
    return records;
}

TEST(DataFileCrash, WritersSavingAtOnceNeverMixTheirLines)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shared.dgn"));
    // Nothing is written while another program holds the lock.
    CXFile holder;
    holder.Open(path, CXFile::Readable | CXFile::Writable | CXFile::Create);
    holder.LockRange(0, 0, CXFile::LockKind::Exclusive);
    constexpr int kEach = 60;
    const pid_t writers[] = {startWriter(path, 1, kEach), startWriter(path, 2, kEach), startWriter(path, 3, kEach)};
    ::usleep(100000);
    EXPECT_EQ(holder.Length(), 0);
    holder.Close();
    for (const pid_t writer : writers)
        ASSERT_EQ(exitCode(writer), 0);

    QStringList problems;
    const std::vector<DiagRecord> records = readAll(path, &problems);
    EXPECT_EQ(problems, QStringList());
    EXPECT_EQ(records.size(), 3 * kEach);
    int next[4] = {};
    for (const DiagRecord& record : records) {
        const int writer = record.deviceId / 10000;
        ASSERT_EQ(record, numbered(writer, next[writer]++));
    }
}

// A killed writer loses at most the record it was writing, and the next writer's records read
// as well. A kill seldom lands inside a record's single write, so every other round also cuts
// the file at a random byte of what the killed writer appended, as a power loss would.
TEST(DataFileCrash, AKilledWriterLosesNothingSavedBefore)
{
    const int rounds = qEnvironmentVariableIsSet("ORVX_CRASH_ROUNDS")
                           ? qEnvironmentVariableIntValue("ORVX_CRASH_ROUNDS")
                           : 200;
    const unsigned seed = std::random_device()();
    std::mt19937 random(seed);
    SCOPED_TRACE(::testing::Message() << "seed " << seed);

    QTemporaryDir dir;
    constexpr int kRoundsPerFile = 25;   // the file is read whole after each round
    constexpr qint64 kVersionLine = 25;  // a file cut inside it is no data file any more
    std::vector<DiagRecord> saved;
    int cutTails = 0;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE(::testing::Message() << "round " << round);
        const QString path = dir.filePath(QStringLiteral("crash%1.dgn").arg(round / kRoundsPerFile));
        if (round % kRoundsPerFile == 0)
            saved.clear();
        const qint64 before = QFileInfo(path).size();
        const pid_t child = startWriter(path, 1000 + round, 1 << 20);
        ::usleep(std::uniform_int_distribution<int>(0, 4000)(random));
        ::kill(child, SIGKILL);
        exitCode(child);

        QFile file(path);
        if (file.open(QIODevice::ReadWrite) && file.size() > before) {
            if (!file.readAll().endsWith("9999.999\r\n"))
                ++cutTails;
            else if (round % 2 == 1)
                file.resize(
                    std::uniform_int_distribution<qint64>(std::max(before, kVersionLine), file.size() - 1)(random));
        }
        file.close();
        // The records saved before, then the killed writer's in its order: a record it appended
        // after the one the last writer left cut reads whole.
        const std::vector<DiagRecord> records = readAll(path);
        ASSERT_GE(records.size(), saved.size());
        for (std::size_t i = 0; i < records.size(); ++i) {
            const auto number = static_cast<int>(i - saved.size());
            ASSERT_EQ(records[i], i < saved.size() ? saved[i] : numbered(1000 + round, number)) << "record " << i;
        }
        saved = records;
    }
    std::cout << rounds << " writers killed, " << cutTails << " of them in the middle of a record\n";
}

}  // namespace
