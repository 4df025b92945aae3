#pragma once

#include "diagnostics/NvEsdDataFileSvr.h"
#include "support/ScriptedDialogService.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <ostream>

// gtest prints a QString as its UTF-16 units otherwise.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace orvx::test {

using namespace orvx::diagnostics;

inline const QDateTime kNow(QDate(2024, 3, 7), QTime(9, 5, 4));

inline QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void setContents(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

inline DiagRecord pstRecord(const QString& tag = QStringLiteral("PV-01"))
{
    DiagRecord record;
    record.tag = tag;
    record.deviceId = 42;
    record.values = {0, -3, 80, 45, 30, 28, 1, 250, 310, 20, 5, 100, 6, 3, 5};
    record.curve1 = {{0, 50.5f, 100}, {1.25f, 2.5f, -0.0625f}};
    record.curve2 = {{0, 25, 50, 75, 100}, {3, 3.5f, 4, 4.5f, 5.0001f}};
    return record;
}

inline void append(const QString& path, const DiagRecord& record, const QDateTime& now = kNow)
{
    CNvEsdDataFileSvr server;
    server.OpenFile(path, OpenPurpose::Save);
    ASSERT_TRUE(server.WriteRecord(record, now));
}

inline QList<RecordKey> listed(const QString& path, QStringList* problems = nullptr)
{
    CNvEsdDataFileSvr server;
    server.OpenFile(path, OpenPurpose::Load);
    const auto keys = server.ListRecords();
    if (problems)
        *problems = server.Problems();
    return keys;
}

inline std::optional<DiagRecord> readBack(const QString& path, const RecordKey& key)
{
    CNvEsdDataFileSvr server;
    server.OpenFile(path, OpenPurpose::Load);
    return server.ReadRecord(key);
}

class DataFile : public ::testing::Test {
protected:
    QString Path(const char* name = "a.dgn") const { return m_dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir m_dir;
    ScriptedDialogService m_dialogs;
};

// Three records A, B and C of five rows each; B's header is line 12, its end line 21.
class BrokenRecord : public DataFile {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 3; ++i)
            append(Path(), m_records[i], kNow.addSecs(i));
        m_keys = listed(Path());
        ASSERT_EQ(m_keys.size(), 3);
    }

    // Replaces count lines from line first (counted from 1) with the given ones.
    void Splice(int first, int count, const QList<QByteArray>& replacement)
    {
        QList<QByteArray> lines = contents(Path()).split('\n');
        lines.removeLast();  // after the last line end
        lines.remove(first - 1, std::min<qsizetype>(count, lines.size() - first + 1));
        for (qsizetype i = 0; i < replacement.size(); ++i)
            lines.insert(first - 1 + i, replacement[i] + '\r');
        setContents(Path(), lines.join('\n') + (lines.isEmpty() ? "" : "\n"));
    }

    const DiagRecord m_records[3] = {pstRecord(QStringLiteral("A")), pstRecord(QStringLiteral("B")),
                                     pstRecord(QStringLiteral("C"))};
    QList<RecordKey> m_keys;
};

}  // namespace orvx::test
