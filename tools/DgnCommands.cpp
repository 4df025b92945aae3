#include "DgnCommands.h"

#include "device/DataFileLines.h"
#include "diagnostics/CurveCsv.h"
#include "diagnostics/GraphData.h"
#include "diagnostics/PstGrading.h"
#include "store/DataFileScan.h"

#include <QFile>

#include <array>
#include <charconv>
#include <filesystem>
#include <iomanip>
#include <optional>

namespace orvx::tools {

using namespace orvx::diagnostics;

namespace {

constexpr char kProgram[] = "orvx-dgn";

const char kUsage[] = "Usage: orvx-dgn list FILE\n"
                      "       orvx-dgn show FILE N\n"
                      "       orvx-dgn export FILE N --csv [-o OUT]\n"
                      "       orvx-dgn check FILE\n"
                      "       orvx-dgn import FILE --store STORE\n"
                      "Reads Orvx ESD diagnostic data files (.dgn); never changes them.\n"
                      "\n"
                      "  list FILE      one tab-separated line per complete record after a header line:\n"
                      "                 number, kind (PST or ESD), tag, device id, date-time, and\n"
                      "                 passed or failed (PST) or - (ESD); what the reader passed over\n"
                      "                 (a damaged record, text outside any record) is named on stderr\n"
                      "                 with its line number\n"
                      "  show FILE N    record N's values by name and the point counts of its curves\n"
                      "  export FILE N --csv [-o OUT]\n"
                      "                 record N's curves as CSV, to stdout or to OUT, which is\n"
                      "                 replaced whole or not at all\n"
                      "  check FILE     every problem of the file with its line number\n"
                      "  import FILE --store STORE\n"
                      "                 keeps every complete record in the plant store, each once however\n"
                      "                 often it is imported: STORE is sqlite:FILE or\n"
                      "                 postgresql://[USER@][HOST][:PORT]/DATABASE[?host=SOCKET_FOLDER]\n"
                      "  -h, --help     show this help and exit\n"
                      "      --version  show the version and exit\n"
                      "\n"
                      "Records are numbered from 1 in file order, as list numbers them.\n"
                      "\n"
                      "Exit status:\n"
                      "  0  all went well\n"
                      "  1  the file holds damaged records or text outside any record (list, check)\n"
                      "  2  bad usage, a file that cannot be read or written, no record N, or a store that fails\n";

static_assert(device::datafile::kValueCount == kRecordValueCount);

std::string utf8(const QString& text)
{
    return text.toStdString();
}

std::string local(const QString& path)
{
    return path.toLocal8Bit().toStdString();
}

// A tag on one line and one tab-separated field.
QString oneField(QString text)
{
    for (QChar& c : text) {
        if (c.unicode() < 0x20)
            c = QLatin1Char(' ');
    }
    return text.trimmed();
}

const char* resultText(const DiagRecord& record)
{
    if (record.kind == DiagKind::Esd)
        return "-";
    return gradePassedFlag(record.Value(RecordValue::PstPassed)) == Grade::Passed ? "passed" : "failed";
}

QString unitText(int code)
{
    if (code == 6 || code == 7 || code == 12)
        return graphUnitName(code);
    return QStringLiteral("unknown unit, read as ") + graphUnitName(code);
}

int fileError(const QString& path, const std::string& reason, std::ostream& err)
{
    err << kProgram << ": " << local(path) << ": " << reason << '\n';
    return kExitFailure;
}

// What was written must reach its reader (a full disk, a closed pipe).
int finish(int status, std::ostream& out, std::ostream& err)
{
    if (!out.flush()) {
        err << kProgram << ": cannot write the output\n";
        return kExitFailure;
    }
    return status;
}

// Record `number` of the file, or a message and nothing.
std::optional<store::FileRecord> findRecord(const QString& path, int number, std::ostream& err)
{
    std::optional<store::FileRecord> wanted;
    try {
        const store::ScanSummary summary = store::scanDataFile(path, [&](const store::FileRecord& found) {
            if (found.index == number)
                wanted = found;
        });
        if (!wanted) {
            fileError(path,
                      "no record " + std::to_string(number) + ": the file holds " + std::to_string(summary.records) +
                          (summary.records == 1 ? " complete record" : " complete records"),
                      err);
        }
    } catch (const store::DataFileError& error) {
        fileError(path, error.what(), err);
    }
    return wanted;
}

std::string counted(qsizetype count, const char* one, const char* many)
{
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}

// The command line, once --help and --version are ruled out.
struct CommandLine {
    std::vector<std::string> operands;  // the command first
    bool csv = false;
    std::optional<std::string> output;
    std::optional<std::string> store;
    std::string error;
};

CommandLine parse(const std::vector<std::string>& args)
{
    CommandLine line;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < args.size() && line.error.empty(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnd || arg == "-" || !arg.starts_with('-')) {
            line.operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnd = true;
        } else if (arg == "--csv") {
            line.csv = true;
        } else if (arg == "--store") {
            if (i + 1 < args.size() && !args[i + 1].empty())
                line.store = args[++i];
            else
                line.error = "option '--store' needs a store";
        } else if (arg == "-o" || arg == "--output") {
            if (i + 1 < args.size() && !args[i + 1].empty())
                line.output = args[++i];
            else
                line.error = "option '" + arg + "' needs a file";
        } else if (arg.starts_with("--output=") || (arg.starts_with("-o") && !arg.starts_with("--"))) {
            const std::string file = arg.substr(arg.starts_with("-o") ? 2 : arg.find('=') + 1);
            if (file.empty())
                line.error = "option '--output' needs a file";
            line.output = file;
        } else {
            line.error = "unknown option '" + arg + "'";
        }
    }
    return line;
}

std::optional<int> recordNumber(const std::string& text)
{
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return number;
}

int usageError(const std::string& message, std::ostream& err)
{
    err << kProgram << ": " << message << "\nTry '" << kProgram << " --help'.\n";
    return kExitFailure;
}

}  // namespace

const char* dgnVersion()
{
    return ORVX_VERSION;
}

int listRecords(const QString& path, std::ostream& out, std::ostream& err)
{
    // The header goes out once the file proved to be a data file: a failure prints nothing.
    const auto header = [&out] { out << "number\tkind\ttag\tdevice_id\tdate_time\tresult\n"; };
    store::ScanSummary summary;
    try {
        summary = store::scanDataFile(path, [&](const store::FileRecord& found) {
            if (found.index == 1)
                header();
            const DiagRecord& record = found.record;
            out << found.index << '\t' << (record.kind == DiagKind::Pst ? "PST" : "ESD") << '\t'
                << utf8(oneField(record.tag)) << '\t' << record.deviceId << '\t' << utf8(found.dateTime) << '\t'
                << resultText(record) << '\n';
        });
    } catch (const store::DataFileError& error) {
        return fileError(path, error.what(), err);
    }
    if (summary.records == 0)
        header();
    for (const QString& problem : summary.problems)
        err << local(path) << ": " << utf8(problem) << '\n';
    return finish(summary.problems.isEmpty() ? kExitOk : kExitProblems, out, err);
}

int showRecord(const QString& path, int number, std::ostream& out, std::ostream& err)
{
    const std::optional<store::FileRecord> found = findRecord(path, number, err);
    if (!found)
        return kExitFailure;
    const DiagRecord& record = found->record;
    const auto row = [&out](std::string_view name) -> std::ostream& {
        return out << std::left << std::setw(16) << name;
    };
    row("Record") << found->index << " (line " << found->line << ")\n";
    row("Kind") << (record.kind == DiagKind::Pst ? "PST" : "ESD") << '\n';
    row("Tag") << utf8(oneField(record.tag)) << '\n';
    row("DeviceId") << record.deviceId << '\n';
    row("DateTime") << utf8(found->dateTime) << '\n';
    for (int i = 0; i < kRecordValueCount; ++i) {
        const auto which = static_cast<RecordValue>(i);
        const int value = record.Value(which);
        row(device::datafile::kValueNames[static_cast<std::size_t>(i)]) << value;
        if (which == RecordValue::PresUnits)
            out << " (" << utf8(unitText(value)) << ')';
        else if (which == RecordValue::PstPassed && record.kind == DiagKind::Pst)
            out << " (" << resultText(record) << ')';
        out << '\n';
    }
    row("Curve1Points") << pointCount(record.curve1) << " (exhaust stroke)\n";
    row("Curve2Points") << pointCount(record.curve2) << " (fill stroke)\n";
    return finish(kExitOk, out, err);
}

int exportCsv(const QString& path, int number, const QString& outPath, std::ostream& out, std::ostream& err)
{
    if (!outPath.isEmpty()) {
        std::error_code ignored;
        if (std::filesystem::equivalent(QFile::encodeName(outPath).toStdString(), QFile::encodeName(path).toStdString(),
                                        ignored))
            return fileError(outPath, "would replace the data file, which is never written", err);
    }
    const std::optional<store::FileRecord> found = findRecord(path, number, err);
    if (!found)
        return kExitFailure;
    const DiagRecord& record = found->record;
    const QString unit = graphUnitName(record.Value(RecordValue::PresUnits));
    if (outPath.isEmpty()) {
        const QByteArray csv = curveCsv(record.curve1, record.curve2, unit);
        out.write(csv.constData(), csv.size());
        return finish(kExitOk, out, err);
    }
    if (const QString failure = writeCurveCsv(outPath, record.curve1, record.curve2, unit); !failure.isNull())
        return fileError(outPath, utf8(failure), err);
    return kExitOk;
}

int checkFile(const QString& path, std::ostream& out, std::ostream& err)
{
    store::ScanSummary summary;
    try {
        summary = store::scanDataFile(path, [](const store::FileRecord&) {});
    } catch (const store::DataFileError& error) {
        return fileError(path, error.what(), err);
    }
    for (const QString& problem : summary.problems)
        out << local(path) << ": " << utf8(problem) << '\n';
    out << local(path) << ": " << counted(summary.records, "record", "records") << ", "
        << (summary.problems.isEmpty() ? std::string("no problems")
                                       : counted(summary.problems.size(), "problem", "problems"))
        << '\n';
    return finish(summary.problems.isEmpty() ? kExitOk : kExitProblems, out, err);
}

int runDgn(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    // --help and --version win over anything else on the line, so that they always answer.
    for (const std::string& arg : args) {
        if (arg == "--")
            break;
        if (arg == "--help" || arg == "-h") {
            out << kUsage;
            return finish(kExitOk, out, err);
        }
    }
    for (const std::string& arg : args) {
        if (arg == "--")
            break;
        if (arg == "--version") {
            out << kProgram << ' ' << dgnVersion() << '\n';
            return finish(kExitOk, out, err);
        }
    }

    const CommandLine line = parse(args);
    if (!line.error.empty())
        return usageError(line.error, err);
    if (line.operands.empty())
        return usageError("no command given", err);
    const std::string& command = line.operands[0];
    const bool takesNumber = command == "show" || command == "export";
    if (!takesNumber && command != "list" && command != "check" && command != "import")
        return usageError("unknown command '" + command + "'", err);
    if ((command == "import") != line.store.has_value())
        return usageError(command == "import" ? "'import' needs --store STORE" : "'" + command + "' takes no --store",
                          err);
    if (command != "export" && (line.csv || line.output))
        return usageError("'" + command + "' takes no " + (line.csv ? "--csv" : "output file"), err);
    const std::size_t wanted = takesNumber ? 3 : 2;
    if (line.operands.size() < 2)
        return usageError("'" + command + "' needs a FILE", err);
    if (line.operands.size() < wanted)
        return usageError("'" + command + "' needs a record number N", err);
    if (line.operands.size() > wanted)
        return usageError("unexpected argument '" + line.operands[wanted] + "'", err);

    const QString path = QString::fromLocal8Bit(line.operands[1]);
    if (command == "list")
        return listRecords(path, out, err);
    if (command == "check")
        return checkFile(path, out, err);
    if (command == "import")
        return importRecords(path, QString::fromLocal8Bit(*line.store), out, err);
    const std::optional<int> number = recordNumber(line.operands[2]);
    if (!number)
        return usageError("record number '" + line.operands[2] + "' is not a whole number", err);
    if (command == "show")
        return showRecord(path, *number, out, err);
    if (!line.csv)
        return usageError("'export' needs the format: --csv", err);
    return exportCsv(path, *number, QString::fromLocal8Bit(line.output.value_or(std::string())), out, err);
}

}  // namespace orvx::tools
