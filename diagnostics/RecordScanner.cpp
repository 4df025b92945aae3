#include "RecordScanner.h"

#include "LineReader.h"
#include "PlainRows.h"
#include "Windows1252.h"
#include "device/DataFileLines.h"
#include "device/DeviceNames.h"

#include <array>
#include <charconv>

namespace orvx::diagnostics {

namespace {

using device::datafile::kColumnsLine;
using device::datafile::kEndLine;
using device::datafile::kEsdKind;
using device::datafile::kNamesLine;
using device::datafile::kPstKind;
constexpr std::size_t kValueFields = 1 + kRecordValueCount;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Without the blanks and line ends around it.
std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Splits at ',' and keeps the first N fields; answers how many fields there are.
template <std::size_t N>
std::size_t splitFields(std::string_view line, std::array<std::string_view, N>& fields)
{
    std::size_t count = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        if (count < N)
            fields[count] = trimmed(line.substr(start, comma == std::string_view::npos ? comma : comma - start));
        ++count;
        if (comma == std::string_view::npos)
            return count;
        start = comma + 1;
    }
}

// The whole field as a number, or nothing.
template <typename Number>
bool parseNumber(std::string_view text, Number& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// A field of the file quoted in a problem, cut short when long.
QString quoted(std::string_view text)
{
    constexpr std::size_t kShown = 24;
    const QString shown = fromWindows1252(text.substr(0, kShown));
    return QLatin1Char('"') + shown + (text.size() > kShown ? QStringLiteral("...\"") : QStringLiteral("\""));
}

}  // namespace

bool CRecordScanner::IsHeader(std::string_view line)
{
    const std::string_view kind = line.substr(0, kPstKind.size());
    if ((kind != kPstKind && kind != kEsdKind) || line.substr(kind.size(), 2) != ", ")
        return false;
    std::size_t at = kind.size() + 2;  // after the first separator
    for (int separator = 2; separator <= 3; ++separator) {
        at = line.find(", ", at);
        if (at == std::string_view::npos)
            return false;
        at += 2;
    }
    return true;
}

bool CRecordScanner::NextHeader(ScannedHeader& header)
{
    FileLine line;
    while (m_lines.Next(line)) {
        if (!line.cut && IsHeader(line.bytes)) {
            ParseHeader(line, header);
            m_quiet = true;
            return true;
        }
        // The version line and empty lines belong to no record and are no fault.
        if (m_quiet || line.offset == 0 || trimmed(line.bytes).empty())
            continue;
        Note(QStringLiteral("line %1: text that belongs to no record").arg(line.number));
        m_quiet = true;
    }
    return false;
}

void CRecordScanner::ParseHeader(const FileLine& line, ScannedHeader& header)
{
    const QStringList fields = fromWindows1252(line.bytes).split(QStringLiteral(", "));
    const qsizetype count = fields.size();
    header.key = {fields[0], fields[1], fields[2], fields[3]};
    header.kind = fields[0] == device::latin1(kPstKind) ? DiagKind::Pst : DiagKind::Esd;
    // The kind comes first and the device id and the time stamp last, none of them holding
    // ", ": the tag is whatever lies between, so a tag holding ", " still reads whole. The key
    // keeps the first four fields all the same, as the records it names were always found.
    header.tag = fields.mid(1, count - 3).join(QStringLiteral(", "));
    while (header.tag.endsWith(QLatin1Char(' ')))
        header.tag.chop(1);
    header.dateTime = fields[count - 1].trimmed();
    const QByteArray id = fields[count - 2].toLatin1();
    m_headerProblem.clear();
    if (!parseNumber(std::string_view(id.constData(), id.size()), header.deviceId)) {
        m_headerProblem = QStringLiteral("line %1: device id %2 is not a whole number")
                              .arg(line.number)
                              .arg(quoted(id.toStdString()));
    }
    header.offset = line.offset;
    header.line = line.number;
}

bool CRecordScanner::ReadBody(const ScannedHeader& header, DiagRecord* record)
{
    if (!m_headerProblem.isEmpty()) {
        Note(m_headerProblem);
        return false;
    }
    if (record) {
        *record = DiagRecord{};
        record->kind = header.kind;
        record->tag = header.tag;
        record->deviceId = header.deviceId;
    }
    if (!Expect(kNamesLine, "names line"))
        return false;

    FileLine line;
    if (!NextBodyLine(line, "values line"))
        return false;
    std::array<std::string_view, kValueFields> fields;
    const std::size_t count = splitFields(line.bytes, fields);
    if (count != kValueFields) {
        return Broken(line, QStringLiteral("line %1: values line has %2 fields, %3 expected")
                                .arg(line.number)
                                .arg(count)
                                .arg(kValueFields));
    }
    for (std::size_t i = 0; i < kValueFields; ++i) {
        std::int32_t value = 0;
        if (!parseNumber(fields[i], value)) {
            return Broken(line, QStringLiteral("line %1: value %2 (%3) is not a whole number")
                                    .arg(line.number)
                                    .arg(i + 1)
                                    .arg(quoted(fields[i])));
        }
        // The first value, PstData, repeats the header's kind.
        if (record && i > 0)
            record->values[i - 1] = value;
    }

    if (!Expect(kColumnsLine, "column names line") || !ReadRows(record))
        return false;
    m_quiet = false;
    return true;
}

bool CRecordScanner::ReadRows(DiagRecord* record)
{
    FileLine line;
    int rows = 0;
    for (;;) {
        // The rows as the writer puts them are taken many at a time; the line after them, the
        // end line or anything else, is read on its own.
        const PlainRows plain = readPlainRows(m_lines.Ahead(), kMaxCurvePoints - rows, record);
        m_lines.Pass(plain.bytes, plain.count);
        rows += plain.count;
        if (!NextBodyLine(line, "row or end line"))
            return false;
        if (++rows > kMaxCurvePoints && trimmed(line.bytes) != kEndLine)
            return Broken(line, QStringLiteral("line %1: more than %2 rows").arg(line.number).arg(kMaxCurvePoints));
        std::array<std::string_view, 4> fields;
        const std::size_t count = splitFields(line.bytes, fields);
        if (count < fields.size()) {
            if (trimmed(line.bytes) == kEndLine)
                return true;
            return Broken(line, QStringLiteral("line %1: row or end line \"%2\" expected")
                                    .arg(line.number)
                                    .arg(QLatin1String(kEndLine.data(), kEndLine.size())));
        }
        if (count > fields.size())
            return Broken(line, QStringLiteral("line %1: row has %2 fields, 4 expected").arg(line.number).arg(count));
        for (int curve = 0; curve < 2; ++curve) {
            constexpr std::array<const char*, 4> kColumns = {"fX1", "fY1", "fX2", "fY2"};
            const std::string_view x = fields[2 * curve];
            const std::string_view y = fields[2 * curve + 1];
            if (x.empty() && y.empty())
                continue;  // this curve has no point in this row
            if (x.empty() || y.empty()) {
                return Broken(line, QStringLiteral("line %1: %2 is missing beside %3")
                                        .arg(line.number)
                                        .arg(QLatin1String(kColumns[2 * curve + (x.empty() ? 0 : 1)]),
                                             QLatin1String(kColumns[2 * curve + (x.empty() ? 1 : 0)])));
            }
            float position = 0;
            float pressure = 0;
            const bool xRead = parseNumber(x, position);
            if (!xRead || !parseNumber(y, pressure)) {
                return Broken(line,
                              QStringLiteral("line %1: %2 (%3) is not a number")
                                  .arg(line.number)
                                  .arg(QLatin1String(kColumns[2 * curve + (xRead ? 1 : 0)]), quoted(xRead ? y : x)));
            }
            if (record) {
                Curve& target = curve == 0 ? record->curve1 : record->curve2;
                target.position.push_back(position);
                target.pressure.push_back(pressure);
            }
        }
    }
}

bool CRecordScanner::Expect(std::string_view text, const char* name)
{
    FileLine line;
    if (!NextBodyLine(line, name))
        return false;
    if (trimmed(line.bytes) != text)
        return Broken(line, QStringLiteral("line %1: %2 expected").arg(line.number).arg(QLatin1String(name)));
    return true;
}

// The next line of the record. The end of the file or another record's header breaks it.
bool CRecordScanner::NextBodyLine(FileLine& line, const char* expected)
{
    if (!m_lines.Next(line)) {
        Note(QStringLiteral("line %1: the file ends where the %2 was expected")
                 .arg(m_lines.LineNumber() + 1)
                 .arg(QLatin1String(expected)));
        return false;
    }
    if (line.cut) {
        return Broken(line, QStringLiteral("line %1: longer than %2 bytes, where the %3 was expected")
                                .arg(line.number)
                                .arg(CLineReader::kMaxLineBytes)
                                .arg(QLatin1String(expected)));
    }
    if (IsHeader(line.bytes)) {
        return Broken(line, QStringLiteral("line %1: %2 expected, found the header of another record")
                                .arg(line.number)
                                .arg(QLatin1String(expected)));
    }
    return true;
}

void CRecordScanner::Note(const QString& problem)
{
    if (m_problems.size() < kMaxProblems)
        m_problems.append(problem);
    else if (m_problems.size() == kMaxProblems)
        m_problems.append(QStringLiteral("further problems are not listed"));
}

// Notes the problem; the line is read again, so that a header in it starts the next record.
bool CRecordScanner::Broken(const FileLine& line, const QString& problem)
{
    Note(problem);
    m_lines.Unread();
    return false;
}

}  // namespace orvx::diagnostics
