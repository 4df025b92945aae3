#include "NvEsdDataFileSvr.h"

#include "LineReader.h"
#include "MappedFile.h"
#include "RecordScanner.h"
#include "Windows1252.h"
#include "XFileException.h"
#include "device/DataFileLines.h"
#include "device/DeviceNames.h"

#include <QDateTime>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace orvx::diagnostics {

namespace {

namespace datafile = device::datafile;

constexpr qint64 kVersionLength = datafile::kVersionLineLength;  // the version line without its line end
constexpr qsizetype kMaxTagBytes = 128;
constexpr qsizetype kTagWidth = 8;

// Holds a lock on the whole file, however far it grows, for one scope.
class FileLock {
public:
    FileLock(CXFile& file, CXFile::LockKind kind) : m_file(file) { m_file.LockRange(0, 0, kind); }
    ~FileLock()
    {
        try {
            m_file.UnlockRange(0, 0);
        } catch (const CXFileException&) {
            // Closing the file releases the lock anyway.
        }
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    CXFile& m_file;
};

QByteArrayView lineEnd()
{
    return QByteArrayView(datafile::kLineEnd.data(), qsizetype(datafile::kLineEnd.size()));
}

// A fixed line of the format, with its line end.
void appendLine(QByteArray& out, std::string_view line)
{
    out.append(line.data(), qsizetype(line.size()));
    out.append(lineEnd());
}

QByteArray versionLine(const QDateTime& now)
{
    const QDate date = now.date();
    const QTime time = now.time();
    char line[64];
    std::snprintf(line, sizeof line, "%-9s, %02d/%02d/%02d %02d:%02d", datafile::kVersionTag.data(), date.month(),
                  date.day(), date.year() - 2000, time.hour(), time.minute());
    return QByteArray(line).append(lineEnd());
}

// "%.4f" in the C locale whatever the program's locale is.
void appendNumber(QByteArray& out, float value)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, double(value), std::chars_format::fixed, 4);
    out.append(text, result.ptr - text);
}

void appendNumber(QByteArray& out, std::int32_t value)
{
    char text[16];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr - text);
}

// A point i exists while both of its sequences have one.
std::size_t pointCount(const Curve& curve)
{
    return std::min(curve.position.size(), curve.pressure.size());
}

QByteArray recordText(const DiagRecord& record, const QByteArray& tag, const QDateTime& now)
{
    const std::size_t count1 = pointCount(record.curve1);
    const std::size_t count2 = pointCount(record.curve2);
    const std::size_t rows = std::max(count1, count2);
    QByteArray out;
    out.reserve(400 + tag.size() + static_cast<qsizetype>(rows) * 48);

    const std::string_view kind = record.kind == DiagKind::Pst ? datafile::kPstKind : datafile::kEsdKind;
    out.append(kind.data(), qsizetype(kind.size()));
    out.append(", ");
    out.append(tag);
    if (tag.size() < kTagWidth)
        out.append(kTagWidth - tag.size(), ' ');
    const QDate date = now.date();
    const QTime time = now.time();
    char stamp[96];
    std::snprintf(stamp, sizeof stamp, ", %07d, %02d/%02d/%04d %02d:%02d:%02d", record.deviceId, date.month(),
                  date.day(), date.year(), time.hour(), time.minute(), time.second());
    out.append(stamp);
    out.append(lineEnd());

    appendLine(out, datafile::kNamesLine);
    out.append(record.kind == DiagKind::Pst ? '1' : '0');
    for (const std::int32_t value : record.values) {
        out.append(", ");
        appendNumber(out, value);
    }
    out.append(lineEnd());
    appendLine(out, datafile::kColumnsLine);

    // A stroke that has ended leaves its two columns blank.
    const auto appendPoint = [&out](const Curve& curve, std::size_t i, QByteArrayView end, QByteArrayView blank) {
        if (i >= pointCount(curve)) {
            out.append(blank);
            return;
        }
        appendNumber(out, curve.position[i]);
        out.append(", ");
        appendNumber(out, curve.pressure[i]);
        out.append(end);
    };
    const QByteArray blankEnd = QByteArray(", ").append(lineEnd());
    for (std::size_t i = 0; i < rows; ++i) {
        appendPoint(record.curve1, i, ", ", ", , ");
        appendPoint(record.curve2, i, lineEnd(), blankEnd);
    }
    appendLine(out, datafile::kEndLine);
    return out;
}

// Where text first stands in file at from or after it, or -1.
qint64 find(std::string_view file, const QByteArray& text, qint64 from)
{
    if (text.isEmpty() || from >= qint64(file.size()))
        return -1;
    const void* found = ::memmem(file.data() + from, file.size() - std::size_t(from), text.constData(),
                                 std::size_t(text.size()));
    return found ? static_cast<const char*>(found) - file.data() : -1;
}

}  // namespace

QString CNvEsdDataFileSvr::DefaultFileName(DiagKind kind, const QString& tag, const QDateTime& now)
{
    QString name = tag;
    for (QChar& c : name) {
        if (QStringView(u"\\|/:*?\"<>").contains(c))
            c = QLatin1Char('_');
    }
    const QDate date = now.date();
    const QTime time = now.time();
    name += QString::asprintf("_%04d%02d%02d%02d%02d%02d", date.year(), date.month(), date.day(), time.hour(),
                              time.minute(), time.second());
    name += kind == DiagKind::Pst ? QLatin1String("_PST.dgn") : QLatin1String("_ESD.dgn");
    return name;
}

QString CNvEsdDataFileSvr::FileFilter()
{
    return QStringLiteral("Orvx ESD Data Files (*.dgn);;All Files (*)");
}

bool CNvEsdDataFileSvr::OpenFile(const QString& path, OpenPurpose purpose)
{
    m_keys.clear();
    m_places.clear();
    m_file.Open(path,
                purpose == OpenPurpose::Save ? CXFile::Readable | CXFile::Writable | CXFile::Create : CXFile::Readable);
    return m_file.Length() == 0;
}

bool CNvEsdDataFileSvr::CheckVersion()
{
    char start[kVersionLength];
    m_file.Seek(0, CXFile::Origin::Begin);
    if (m_file.Read(start, kVersionLength) < kVersionLength)
        return false;
    const QString text = fromWindows1252(QByteArrayView(start, kVersionLength));
    return text.section(QLatin1Char(','), 0, 0) == device::latin1(datafile::kVersionTag);
}

void CNvEsdDataFileSvr::WriteVersionLine(const QDateTime& now)
{
    const QByteArray line = versionLine(now);
    FileLock lock(m_file, CXFile::LockKind::Exclusive);
    if (m_file.Length() != 0)
        return;
    m_file.Write(line.constData(), line.size());
    m_file.Flush();
}

SaveOutcome CNvEsdDataFileSvr::WriteRecord(const DiagRecord& record, const QDateTime& now)
{
    QByteArray tag = toWindows1252(record.tag).left(kMaxTagBytes);
    if (tag.isEmpty())
        return {false, kEmptyTagText};
    // What is written must read back.
    if (std::max(record.curve1.Count(), record.curve2.Count()) > kMaxCurvePoints)
        return {false, kTooManyPointsText};
    // A line end inside the tag would split the header line.
    tag.replace('\r', '?').replace('\n', '?');

    const QByteArray text = recordText(record, tag, now);
    FileLock lock(m_file, CXFile::LockKind::Exclusive);
    // The file may have changed since it was opened: look again under the lock.
    QByteArray prefix;
    const qint64 length = m_file.Length();
    if (length == 0) {
        prefix = versionLine(now);
    } else {
        if (!CheckVersion())
            return {false, kIncompatibleFileText};
        // A program that died while appending leaves a line without its end; the new header
        // must start a line of its own. A file whose lines end in a bare line feed, as another
        // tool may write it, is whole and gets nothing: an added line end would be an empty line.
        char last = 0;
        m_file.Seek(length - 1, CXFile::Origin::Begin);
        m_file.Read(&last, 1);
        if (last == '\r')
            prefix = "\n";
        else if (last != '\n')
            prefix = "\r\n";
    }
    const QByteArray out = prefix + text;
    m_file.Seek(0, CXFile::Origin::End);
    m_file.Write(out.constData(), out.size());
    m_file.Flush();
    return {true, {}};
}

QList<RecordKey> CNvEsdDataFileSvr::ListRecords()
{
    m_keys.clear();
    m_places.clear();
    // A shared lock: a record another program is appending is either all there or not yet.
    FileLock lock(m_file, CXFile::LockKind::Shared);
    const CMappedFile mapped(m_file, m_file.Length());
    CLineReader lines(mapped.Bytes());
    CRecordScanner scanner(lines);
    ScannedHeader header;
    bool full = false;
    while (!full && scanner.NextHeader(header)) {
        if (scanner.ReadBody(header, nullptr)) {
            m_keys.append(header.key);
            m_places.push_back({header.offset, header.line});
            full = m_keys.size() == kMaxRecords;
        }
    }
    m_problems = scanner.Problems();
    if (full && scanner.NextHeader(header)) {
        m_problems.append(QStringLiteral("line %1: only the first %2 records are listed; the file holds more")
                              .arg(header.line)
                              .arg(kMaxRecords));
    }
    return m_keys;
}

std::optional<DiagRecord> CNvEsdDataFileSvr::ReadRecord(const RecordKey& key)
{
    m_lastError.clear();
    FileLock lock(m_file, CXFile::LockKind::Shared);
    const CMappedFile mapped(m_file, m_file.Length());
    if (auto record = ReadListed(key, mapped.Bytes()))
        return record;
    return Search(key, mapped.Bytes());
}

// Reads the record where the last listing found it, when it is still there.
std::optional<DiagRecord> CNvEsdDataFileSvr::ReadListed(const RecordKey& key, std::string_view file) const
{
    const qsizetype at = m_keys.indexOf(key);
    if (at < 0)
        return std::nullopt;
    const Place& place = m_places[at];
    if (place.offset >= qint64(file.size()))
        return std::nullopt;
    CLineReader lines(file, place.offset, place.line);
    CRecordScanner scanner(lines);
    ScannedHeader header;
    DiagRecord record;
    if (!scanner.NextHeader(header) || header.offset != place.offset || header.key != key ||
        !scanner.ReadBody(header, &record))
        return std::nullopt;
    return record;
}

// Looks for the key's header line by its bytes, without walking the lines before it. Every
// line of the file that is a header is one a full walk would reach, so the first of them with
// the key that reads completely is the record a walk finds. Lines are counted only to name the
// problem of a broken one.
std::optional<DiagRecord> CNvEsdDataFileSvr::Search(const RecordKey& key, std::string_view file)
{
    const QByteArray start = toWindows1252(
        QStringList{key.kind, key.tag, key.deviceId, key.dateTime}.join(QLatin1String(", ")));
    std::optional<qint64> broken;  // where the first record with the key that did not read starts
    for (qint64 at = 0; (at = find(file, start, at)) >= 0; ++at) {
        if (at > 0 && file[std::size_t(at) - 1] != '\n')
            continue;
        CLineReader lines(file, at);
        FileLine line;
        if (!lines.Next(line) || line.cut || !CRecordScanner::IsHeader(line.bytes))
            continue;
        lines.Unread();
        CRecordScanner scanner(lines);
        ScannedHeader header;
        DiagRecord record;
        if (!scanner.NextHeader(header) || header.key != key)
            continue;
        if (scanner.ReadBody(header, &record))
            return record;
        if (!broken)
            broken = at;
    }
    if (broken) {
        const auto before = file.substr(0, std::size_t(*broken));
        CLineReader lines(file, *broken, qint64(std::count(before.begin(), before.end(), '\n')) + 1);
        CRecordScanner scanner(lines);
        ScannedHeader header;
        scanner.NextHeader(header);
        scanner.ReadBody(header, nullptr);
        m_lastError = scanner.Problems().constLast();
    } else {
        m_lastError = QStringLiteral("The file holds no record %1, %2, %3, %4.")
                          .arg(key.kind, key.tag, key.deviceId, key.dateTime.trimmed());
    }
    return std::nullopt;
}

}  // namespace orvx::diagnostics
