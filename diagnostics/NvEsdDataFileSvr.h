#pragma once

#include "DiagRecord.h"
#include "XFile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <string_view>
#include <vector>

class QDateTime;

namespace orvx::diagnostics {

// Texts the data file answers with; message boxes show them under the caption "Orvx ESD DTM".
inline constexpr QLatin1String kIncompatibleFileText{
    "The selected file is incompatible with this version of Orvx ESD DTM."};
inline constexpr QLatin1String kEmptyTagText{"The device tag is empty; nothing was saved."};
static_assert(kMaxCurvePoints == 100'000, "kTooManyPointsText names the limit");
inline constexpr QLatin1String kTooManyPointsText{
    "The signature holds more than 100000 points, more than a data file may; nothing was saved."};

enum class OpenPurpose { Save, Load };

// Whether WriteRecord appended the record, and if not, the text that says why.
struct SaveOutcome {
    bool saved = false;
    QString message;

    explicit operator bool() const { return saved; }
};

// Writes and reads a diagnostic data file (.dgn): a version line, then records appended one
// after the other (docs/data-file-format.md). One object per save or load; it owns the open
// file and closes it when destroyed. File errors throw CXFileException.
class CNvEsdDataFileSvr {
public:
    // The name offered when saving: "<tag>_<yyyyMMddhhmmss>_<PST|ESD>.dgn", the characters a
    // file name cannot hold on Windows replaced by '_'.
    static QString DefaultFileName(DiagKind kind, const QString& tag, const QDateTime& now);
    // The file dialogs' filter.
    static QString FileFilter();

    // Save opens for reading and writing and creates a missing file; Load opens for reading
    // only and never creates one (a missing file throws, error ENOENT). Answers true when the
    // file is new or empty.
    bool OpenFile(const QString& path, OpenPurpose purpose);
    // True when the file starts with this version's tag; false for a shorter or another file.
    bool CheckVersion();
    // Writes the version line, stamped now, if the file is still empty; otherwise nothing.
    void WriteVersionLine(const QDateTime& now);
    // Appends the record, stamped now, in one locked write: another program saving into the same
    // file at the same time never interleaves with it. An empty file gets the version line
    // first; a file whose last line was cut short gets a line end first. Nothing is written,
    // and the outcome says why, when the tag is empty or the file is not a data file of this
    // version. The tag is written in Windows-1252, at most 128 bytes of it.
    SaveOutcome WriteRecord(const DiagRecord& record, const QDateTime& now);

    // The most records ListRecords lists; a problem says when the file holds more.
    static constexpr qsizetype kMaxRecords = 100'000;

    // The keys of the complete records, in file order, at most kMaxRecords. A record cut short
    // or holding a field that does not read is left out and noted in Problems().
    QList<RecordKey> ListRecords();
    // What the last ListRecords could not read, each naming its line.
    const QStringList& Problems() const { return m_problems; }
    // The first complete record with this key, or nothing; then LastError() says why.
    std::optional<DiagRecord> ReadRecord(const RecordKey& key);
    const QString& LastError() const { return m_lastError; }

    void Close() { m_file.Close(); }
    const QString& Path() const { return m_file.Path(); }

private:
    std::optional<DiagRecord> ReadListed(const RecordKey& key, std::string_view file) const;
    std::optional<DiagRecord> Search(const RecordKey& key, std::string_view file);

    // Where ListRecords found each record: ReadRecord goes there first.
    struct Place {
        qint64 offset = 0;
        qint64 line = 0;
    };

    CXFile m_file;
    QList<RecordKey> m_keys;
    std::vector<Place> m_places;
    QStringList m_problems;
    QString m_lastError;
};

}  // namespace orvx::diagnostics
