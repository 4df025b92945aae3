#pragma once

#include "DiagRecord.h"

#include <QString>
#include <QStringList>

#include <string_view>

namespace orvx::diagnostics {

class CLineReader;
struct FileLine;

// A record's header line as found in a file.
struct ScannedHeader {
    RecordKey key;
    DiagKind kind = DiagKind::Pst;
    QString tag;  // without the padding blanks
    std::int32_t deviceId = 0;
    QString dateTime;  // as written, without the blanks and the line end around it
    qint64 offset = 0;
    qint64 line = 0;
};

// Walks the records of a data file. A record counts only when it reads completely: header,
// names, values, column names, rows and the end line. Whatever breaks a record (a line cut
// short by a crash, a field that is not a number) is noted with its line number, and the next
// header line starts the next record, so the records around a broken one still read.
class CRecordScanner {
public:
    // The most problems noted; one line after them says that more were left out.
    static constexpr qsizetype kMaxProblems = 1000;

    explicit CRecordScanner(CLineReader& lines) : m_lines(lines) {}

    // Moves to the next header line; false at the end of the file. Text between records is
    // passed over; a run of it after a complete record is noted once.
    bool NextHeader(ScannedHeader& header);
    // Reads the body of the record whose header NextHeader answered last and fills record
    // (kind, tag and device id from the header); with a null record it only checks the body.
    // False when the record is broken: the last problem says why and where.
    bool ReadBody(const ScannedHeader& header, DiagRecord* record);

    const QStringList& Problems() const { return m_problems; }

    // A header starts with the kind and has at least four fields separated by ", ".
    static bool IsHeader(std::string_view line);

private:
    void ParseHeader(const FileLine& line, ScannedHeader& header);
    bool ReadRows(DiagRecord* record);
    bool Expect(std::string_view text, const char* name);
    bool NextBodyLine(FileLine& line, const char* expected);
    bool Broken(const FileLine& line, const QString& problem);
    void Note(const QString& problem);

    CLineReader& m_lines;
    QStringList m_problems;
    QString m_headerProblem;
    bool m_quiet = false;  // after a header or a broken record: text that follows is its rest
};

}  // namespace orvx::diagnostics
