#include "diagnostics/CurveCsv.h"
#include "diagnostics/DataFileFixture.h"
#include "diagnostics/GraphData.h"
#include "store/PlantStore.h"
#include "tools/DgnCommands.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <map>
#include <sstream>

using namespace orvx;
using namespace orvx::test;
using orvx::tools::runDgn;
namespace store = orvx::store;

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Three records: a PST that passed (lines 2-11), one that failed (12-21), an ESD event (22-28).
class DgnTool : public DataFile {
protected:
    void SetUp() override
    {
        append(Path(), pstRecord());
        append(Path(), failedPst(), kNow.addDays(1));
        append(Path(), esdRecord(), kNow.addSecs(3600));
    }

    static DiagRecord failedPst()
    {
        DiagRecord record = pstRecord(QStringLiteral("FV 2 long tag"));
        record.deviceId = 7;
        record.values = {3, -4, 81, 46, 31, 29, 2, 251, 311, 21, 11, 101, 7, 4, 6};
        return record;
    }

    static DiagRecord esdRecord()
    {
        DiagRecord record;
        record.kind = DiagKind::Esd;
        record.tag = QStringLiteral("SEVEN_7");
        record.deviceId = -7;
        record.SetValue(RecordValue::PresUnits, 12);
        record.curve1 = {{1, 2}, {10, 20}};
        return record;
    }

    Outcome Dgn(std::vector<std::string> args) const
    {
        for (std::string& arg : args) {
            if (arg == "FILE")
                arg = File();
        }
        std::ostringstream out;
        std::ostringstream err;
        Outcome run;
        run.status = runDgn(args, out, err);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    std::string File() const { return Path().toStdString(); }

    // Replaces line `number` (from 1) of the data file.
    void ReplaceLine(int number, const QByteArray& text) const
    {
        QList<QByteArray> lines = contents(Path()).split('\n');
        lines[number - 1] = text + '\r';
        setContents(Path(), lines.join('\n'));
    }
};

const std::string kListHeader = "number\tkind\ttag\tdevice_id\tdate_time\tresult\n";
const std::string kPassed = "PST\tPV-01\t42\t03/07/2024 09:05:04\tpassed\n";
const std::string kFailed = "PST\tFV 2 long tag\t7\t03/08/2024 09:05:04\tfailed\n";
const std::string kEsd = "ESD\tSEVEN_7\t-7\t03/07/2024 10:05:04\t-\n";

TEST_F(DgnTool, ListsEveryRecordInFileOrder)
{
    const Outcome run = Dgn({"list", "FILE"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, kListHeader + "1\t" + kPassed + "2\t" + kFailed + "3\t" + kEsd);
    EXPECT_EQ(run.err, "");
}

// Two saves within one second make two records under one key: each keeps its own number.
TEST_F(DgnTool, RecordsUnderOneKeyKeepTheirOwnNumbers)
{
    DiagRecord again = pstRecord();
    again.SetValue(RecordValue::PstPassed, 1);
    again.SetValue(RecordValue::Friction, 99);
    append(Path(), again);
    const Outcome list = Dgn({"list", "FILE"});
    EXPECT_EQ(list.status, 0);
    EXPECT_TRUE(list.out.ends_with("4\tPST\tPV-01\t42\t03/07/2024 09:05:04\tfailed\n")) << list.out;
    const Outcome show = Dgn({"show", "FILE", "4"});
    EXPECT_NE(show.out.find("Friction        99\n"), std::string::npos) << show.out;
}

TEST_F(DgnTool, ShowsTheFifteenValuesByNameAndThePointCounts)
{
    const Outcome run = Dgn({"show", "FILE", "2"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::map<std::string, std::string> shown;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        const auto gap = line.find(' ');
        shown[line.substr(0, gap)] = line.substr(line.find_first_not_of(' ', gap));
    }
    const std::map<std::string, std::string> expected = {
        {"Record", "2 (line 12)"},
        {"Kind", "PST"},
        {"Tag", "FV 2 long tag"},
        {"DeviceId", "7"},
        {"DateTime", "03/08/2024 09:05:04"},
        {"PstPassed", "3 (failed)"},
        {"Friction", "-4"},
        {"PstTravel", "81"},
        {"USpringRange", "46"},
        {"LSpringRange", "31"},
        {"BreakAwayPres", "29"},
        {"Droop", "2"},
        {"RspTimeFill", "251"},
        {"RspTimeExhaust", "311"},
        {"PstStart", "21"},
        {"PstSpeed", "11"},
        {"Interval", "101"},
        {"PresUnits", "7 (bar)"},
        {"NumSamplesUp", "4"},
        {"NumSamplesDown", "6"},
        {"Curve1Points", "3 (exhaust stroke)"},
        {"Curve2Points", "5 (fill stroke)"},
    };
    EXPECT_EQ(shown, expected);

    const Outcome esd = Dgn({"show", "FILE", "3"});
    EXPECT_NE(esd.out.find("PstPassed       0\n"), std::string::npos) << esd.out;
    EXPECT_NE(esd.out.find("PresUnits       12 (kpa)\n"), std::string::npos) << esd.out;
    EXPECT_NE(esd.out.find("Curve2Points    0 "), std::string::npos) << esd.out;
}

// The CSV is the one the graph window saves: its unit follows the record's pressure unit.
TEST_F(DgnTool, ExportsTheCurvesAsTheGraphWindowDoes)
{
    const auto keys = listed(Path());
    ASSERT_EQ(keys.size(), 3);
    for (int number = 1; number <= 3; ++number) {
        SCOPED_TRACE(number);
        const DiagRecord record = *readBack(Path(), keys[number - 1]);
        const QByteArray graphCsv = curveCsv(record.curve1, record.curve2,
                                             graphUnitName(record.Value(RecordValue::PresUnits)));
        const Outcome toStdout = Dgn({"export", "FILE", std::to_string(number), "--csv"});
        EXPECT_EQ(toStdout.status, 0);
        EXPECT_EQ(QByteArray::fromStdString(toStdout.out), graphCsv);

        const QString out = m_dir.filePath(QStringLiteral("out.csv"));
        setContents(out, QByteArray(10000, 'x'));  // replaced whole
        const Outcome toFile = Dgn({"export", "FILE", std::to_string(number), "-o", out.toStdString(), "--csv"});
        EXPECT_EQ(toFile.status, 0) << toFile.err;
        EXPECT_EQ(toFile.out, "");
        EXPECT_EQ(contents(out), graphCsv);
    }
    EXPECT_EQ(Dgn({"export", "FILE", "3", "--csv"}).out, "sample,exhaust position (%),exhaust pressure (kpa),"
                                                         "fill position (%),fill pressure (kpa)\r\n"
                                                         "1,1,10,,\r\n"
                                                         "2,2,20,,\r\n");
    // Nothing but the data file and the export: no temporary file stays behind.
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList({"a.dgn", "out.csv"}));
}

TEST_F(DgnTool, ExportNeverWritesOverTheDataFileNorLeavesAPartialFile)
{
    const QByteArray before = contents(Path());
    const Outcome self = Dgn({"export", "FILE", "1", "--csv", "--output=" + File()});
    EXPECT_EQ(self.status, 2);
    EXPECT_NE(self.err.find("never written"), std::string::npos) << self.err;
    EXPECT_EQ(contents(Path()), before);

    const QString nowhere = m_dir.filePath(QStringLiteral("no/such/folder/out.csv"));
    const Outcome failed = Dgn({"export", "FILE", "1", "--csv", "-o" + nowhere.toStdString()});
    EXPECT_EQ(failed.status, 2);
    EXPECT_NE(failed.err.find(nowhere.toStdString() + ": "), std::string::npos) << failed.err;
    EXPECT_FALSE(QFileInfo::exists(nowhere));
}

TEST_F(DgnTool, RecordNumbersOutOfRangeAreRefused)
{
    for (const auto& args : std::vector<std::vector<std::string>>{{"show", "FILE", "0"},
                                                                  {"show", "FILE", "4"},
                                                                  {"export", "FILE", "4", "--csv"},
                                                                  {"export", "FILE", "0", "--csv", "-o", "x.csv"}}) {
        SCOPED_TRACE(args[0] + " " + args[2]);
        const Outcome run = Dgn(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "orvx-dgn: " + File() + ": no record " + args[2] + ": the file holds 3 complete records\n");
    }
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("x.csv")));
}

TEST_F(DgnTool, ASoundFileChecksWithoutProblems)
{
    const Outcome run = Dgn({"check", "FILE"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, File() + ": 3 records, no problems\n");
    EXPECT_EQ(run.err, "");
}

// A damaged record is named with its line; the records around it still list, numbered on.
TEST_F(DgnTool, DamagedRecordsAreNamedWithTheirLines)
{
    struct Case {
        const char* name;
        int line;  // replaced by text; 0: the end line is cut off
        QByteArray text;
        std::string problem;
        std::string listed;
    };
    const std::vector<Case> cases = {
        {"a values line cut short", 14, "1, 3, -4, 81, 46, 31, 29, 2, 251",
         "line 14: values line has 9 fields, 16 expected", "1\t" + kPassed + "2\t" + kEsd},
        {"a position without its pressure", 7, "50.5000, , 25.0000, 3.5000", "line 7: fY1 is missing beside fX1",
         "1\t" + kFailed + "2\t" + kEsd},
        {"the last record cut by a crash",
         0,
         {},
         "line 28: the file ends where the row or end line was expected",
         "1\t" + kPassed + "2\t" + kFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setContents(Path(), {});
        SetUp();
        if (c.line > 0)
            ReplaceLine(c.line, c.text);
        else
            setContents(Path(), contents(Path()).chopped(qsizetype(sizeof "9999.999\r\n") - 1));
        const QByteArray damaged = contents(Path());

        const Outcome check = Dgn({"check", "FILE"});
        EXPECT_EQ(check.status, 1);
        EXPECT_EQ(check.out, File() + ": " + c.problem + "\n" + File() + ": 2 records, 1 problem\n");

        const Outcome list = Dgn({"list", "FILE"});
        EXPECT_EQ(list.status, 1);
        EXPECT_EQ(list.out, kListHeader + c.listed);
        EXPECT_EQ(list.err, File() + ": " + c.problem + "\n");

        EXPECT_EQ(Dgn({"show", "FILE", "2"}).status, 0);
        // Reading never mends a file, not even its cut last line.
        EXPECT_EQ(contents(Path()), damaged);
    }
}

// A script reads list's columns by position: the header line is there even when no record is.
TEST_F(DgnTool, ListPrintsItsHeaderLineForAFileWithoutACompleteRecord)
{
    const QByteArray versionLine = contents(Path()).left(contents(Path()).indexOf('\n') + 1);
    const QByteArray cutRecord = contents(Path()).left(contents(Path()).indexOf("fX1"));
    const struct {
        const char* name;
        QByteArray bytes;
        int status;
        std::string err;
    } cases[] = {
        {"only the version line", versionLine, 0, ""},
        {"a record cut short", cutRecord, 1, ": line 5: the file ends where the column names line was expected\n"},
        {"text outside any record", versionLine + "notes\r\n", 1, ": line 2: text that belongs to no record\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setContents(Path(), c.bytes);
        const Outcome run = Dgn({"list", "FILE"});
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, kListHeader);
        EXPECT_EQ(run.err, c.err.empty() ? "" : File() + c.err);
    }
}

// The tag is what lies between the kind and the device id, so one holding ", " shows whole and
// the date-time is still the header's last field.
TEST_F(DgnTool, ATagHoldingACommaAndBlankShowsWholeBesideItsIdAndTime)
{
    const QString tags[] = {QStringLiteral("A, B"), QStringLiteral("FV, 0000001, 01/02/2003 04:05:06"),
                            QStringLiteral(", lead")};
    for (const QString& tag : tags) {
        SCOPED_TRACE(tag.toStdString());
        setContents(Path(), {});
        append(Path(), pstRecord(tag));
        const Outcome list = Dgn({"list", "FILE"});
        EXPECT_EQ(list.status, 0) << list.err;
        EXPECT_EQ(list.out, kListHeader + "1\tPST\t" + tag.toStdString() + "\t42\t03/07/2024 09:05:04\tpassed\n");
        const Outcome show = Dgn({"show", "FILE", "1"});
        EXPECT_NE(show.out.find("\nTag             " + tag.toStdString() + "\n"), std::string::npos) << show.out;
        EXPECT_NE(show.out.find("\nDateTime        03/07/2024 09:05:04\n"), std::string::npos) << show.out;
    }
}

TEST_F(DgnTool, FilesThatAreNoDataFilesAreNamedWithTheReason)
{
    const QString other = m_dir.filePath(QStringLiteral("other.dgn"));
    const QString empty = m_dir.filePath(QStringLiteral("empty.dgn"));
    setContents(other, "OrvxESD.2, 03/07/24 09:05\r\n");
    setContents(empty, {});
    const std::vector<std::pair<QString, std::string>> cases = {
        {m_dir.filePath(QStringLiteral("missing.dgn")), "No such file or directory"},
        {m_dir.path(), "Is a directory"},
        {other, "not a data file of this version"},
        {empty, "the file is empty"},
    };
    for (const auto& [path, reason] : cases) {
        const std::string file = path.toStdString();
        for (const auto& args : std::vector<std::vector<std::string>>{
                 {"list", file}, {"check", file}, {"show", file, "1"}, {"export", file, "1", "--csv"}}) {
            SCOPED_TRACE(args[0] + " " + reason);
            const Outcome run = Dgn(args);
            EXPECT_EQ(run.status, 2);
            EXPECT_EQ(run.out, "");
            EXPECT_TRUE(run.err.starts_with("orvx-dgn: " + path.toStdString() + ": " + reason)) << run.err;
        }
    }
    EXPECT_EQ(contents(empty), QByteArray());
}

TEST_F(DgnTool, BadUsageIsRefusedWithAHint)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "no command given"},
        {{"frob", "FILE"}, "unknown command 'frob'"},
        {{"list"}, "'list' needs a FILE"},
        {{"show", "FILE"}, "'show' needs a record number N"},
        {{"show", "FILE", "two"}, "record number 'two' is not a whole number"},
        {{"export", "FILE", "1"}, "'export' needs the format: --csv"},
        {{"export", "FILE", "1", "--csv", "-o"}, "option '-o' needs a file"},
        {{"list", "FILE", "--csv"}, "'list' takes no --csv"},
        {{"check", "FILE", "-o", "x"}, "'check' takes no output file"},
        {{"list", "FILE", "more"}, "unexpected argument 'more'"},
        {{"list", "--frob", "FILE"}, "unknown option '--frob'"},
        {{"import", "FILE"}, "'import' needs --store STORE"},
        {{"list", "FILE", "--store", "sqlite:x"}, "'list' takes no --store"},
        {{"import", "FILE", "--store"}, "option '--store' needs a store"},
    };
    for (const auto& [args, message] : cases) {
        SCOPED_TRACE(message);
        const Outcome run = Dgn(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "orvx-dgn: " + message + "\nTry 'orvx-dgn --help'.\n");
    }
    // After "--" a name that starts with '-' is a file.
    EXPECT_EQ(Dgn({"list", "--", "-o"}).err, "orvx-dgn: -o: No such file or directory\n");
}

// A file imported twice into the plant store keeps each record once; a store that cannot be
// reached keeps nothing and says why.
TEST_F(DgnTool, ImportKeepsEachRecordOnceInThePlantStore)
{
    const QTemporaryDir folder;
    const std::string store = "sqlite:" + folder.filePath(QStringLiteral("plant.sqlite")).toStdString();
    const Outcome unreachable = Dgn({"import", "FILE", "--store", "sqlite:/proc/orvx/plant.sqlite"});
    EXPECT_EQ(unreachable.status, 2);
    EXPECT_TRUE(
        unreachable.err.starts_with("orvx-dgn: the plant store cannot be reached (sqlite:/proc/orvx/plant.sqlite: "))
        << unreachable.err;
    const Outcome first = Dgn({"import", "FILE", "--store", store});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "3 kept, 0 already in " + store + ", 0 not kept\n");
    const Outcome again = Dgn({"import", "FILE", "--store", store});
    EXPECT_EQ(again.out, "0 kept, 3 already in " + store + ", 0 not kept\n");

    QString error;
    auto plant = store::PlantStore::open(store::parseStoreAddress(QString::fromStdString(store), &error).value(),
                                         &error);
    ASSERT_TRUE(plant) << error.toStdString();
    const QList<store::StoredRecord> failed = plant->history(7);
    ASSERT_EQ(failed.size(), 1);
    EXPECT_EQ(failed[0].record, failedPst());
    EXPECT_EQ(failed[0].takenAt, QDateTime(QDate(2024, 3, 8), QTime(9, 5, 4), Qt::UTC))
        << "the time as the file has it";
}

// Output that cannot be written (a full disk) is a failure, not a success.
TEST_F(DgnTool, OutputThatCannotBeWrittenFails)
{
    std::ostringstream out;
    std::ostringstream err;
    out.setstate(std::ios::badbit);
    EXPECT_EQ(runDgn({"list", File()}, out, err), 2);
    EXPECT_EQ(err.str(), "orvx-dgn: cannot write the output\n");
}

}  // namespace
