#include "DataFileFixture.h"
#include "diagnostics/DataFileDialogs.h"
#include "diagnostics/LineReader.h"
#include "diagnostics/NvEsdDataFileSvr.h"
#include "diagnostics/Windows1252.h"
#include "platform/ui/DialogService.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>

using namespace orvx;
using namespace orvx::test;

namespace {

const char kNamesLine[] = "PstData, PstPassed, Friction, PstTravel, USpringRange, LSpringRange, BreakAwayPres, Droop, "
                          "RspTimeFill, RspTimeExhaust, PstStart;, PstSpeed, Interval, PresUnits, NumSamplesUp,  "
                          "NumSamplesDown\r\n";

TEST_F(DataFile, WritesRecordsByteForByteAndReadsThemBack)
{
    append(Path(), pstRecord());
    DiagRecord esd;
    esd.kind = DiagKind::Esd;
    esd.tag = QStringLiteral("SEVEN_7");
    esd.deviceId = -7;
    esd.SetValue(RecordValue::PresUnits, 7);
    esd.curve1 = {{1, 2}, {10, 20}};
    append(Path(), esd, kNow.addSecs(3600));

    const QByteArray expected = QByteArray("OrvxESD.1, 03/07/24 09:05\r\n"
                                           "PST, PV-01   , 0000042, 03/07/2024 09:05:04\r\n") +
                                kNamesLine +
                                "1, 0, -3, 80, 45, 30, 28, 1, 250, 310, 20, 5, 100, 6, 3, 5\r\n"
                                "fX1, fY1, fX2, fY2\r\n"
                                "0.0000, 1.2500, 0.0000, 3.0000\r\n"
                                "50.5000, 2.5000, 25.0000, 3.5000\r\n"
                                "100.0000, -0.0625, 50.0000, 4.0000\r\n"
                                ", , 75.0000, 4.5000\r\n"
                                ", , 100.0000, 5.0001\r\n"
                                "9999.999\r\n"
                                "ESD, SEVEN_7 , -000007, 03/07/2024 10:05:04\r\n" +
                                kNamesLine +
                                "0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 0, 0\r\n"
                                "fX1, fY1, fX2, fY2\r\n"
                                "1.0000, 10.0000, , \r\n"
                                "2.0000, 20.0000, , \r\n"
                                "9999.999\r\n";
    EXPECT_EQ(contents(Path()), expected);
    const auto keys = listed(Path());
    ASSERT_EQ(keys.size(), 2);
    EXPECT_EQ(readBack(Path(), keys[0]), pstRecord());
    EXPECT_EQ(readBack(Path(), keys[1]), esd);
}

// Of two records under one key the first is read, right after a listing, which knows where
// each record starts, and by a plain search.
TEST_F(DataFile, ReadsTheFirstRecordOfAKeyAndNamesAMissingOne)
{
    DiagRecord again = pstRecord();
    again.values[0] = 2;
    append(Path(), pstRecord());
    append(Path(), again);
    const auto keys = listed(Path());
    ASSERT_EQ(keys.size(), 2);
    EXPECT_EQ(keys[1], keys[0]);
    for (bool listFirst : {true, false}) {
        CNvEsdDataFileSvr server;
        server.OpenFile(Path(), OpenPurpose::Load);
        if (listFirst)
            server.ListRecords();
        EXPECT_EQ(server.ReadRecord(keys[0]), pstRecord());
        EXPECT_FALSE(server.ReadRecord({"ESD", "PV-01   ", "0000042", "03/07/2024 09:05:04\r\n"}));
        EXPECT_EQ(server.LastError(),
                  QStringLiteral("The file holds no record ESD, PV-01   , 0000042, 03/07/2024 09:05:04."));
    }
}

// Without a listing a record is found by the bytes its header line starts with: a tag in the
// code page or holding ", " reads, and the same bytes inside another line are no header.
TEST_F(DataFile, FindsARecordByItsHeaderWithoutAListing)
{
    DiagRecord inside = pstRecord(QStringLiteral("X, PST, B       , 0000042, 03/07/2024 09:05:04\r\nY"));
    inside.values[0] = 9;
    const DiagRecord records[] = {inside, pstRecord(QStringLiteral("é€ x")), pstRecord(QStringLiteral("a, b")),
                                  pstRecord(QStringLiteral("B"))};
    for (const DiagRecord& record : records)
        append(Path(), record);
    const auto keys = listed(Path());
    ASSERT_EQ(keys.size(), 4);
    for (int i = 1; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(readBack(Path(), keys[i]), records[i]);
    }
}

// Of two records under one key the first that reads completely is read, with or without a
// listing; when none does, the first one's problem is told with its line.
TEST_F(DataFile, ReadsTheFirstCompleteRecordOfAKey)
{
    DiagRecord again = pstRecord();
    again.values[0] = 2;
    append(Path(), pstRecord());
    append(Path(), again);
    const QByteArray intact = contents(Path());
    const auto keys = listed(Path());
    ASSERT_EQ(keys.size(), 2);
    QByteArray firstBroken = intact;
    firstBroken.replace(firstBroken.indexOf("50.5000"), 1, "x");
    QByteArray bothBroken = firstBroken;
    bothBroken.replace(bothBroken.lastIndexOf("50.5000"), 1, "x");
    for (bool listFirst : {true, false}) {
        SCOPED_TRACE(listFirst);
        setContents(Path(), firstBroken);
        CNvEsdDataFileSvr server;
        server.OpenFile(Path(), OpenPurpose::Load);
        if (listFirst)
            server.ListRecords();
        EXPECT_EQ(server.ReadRecord(keys[0]), again);
        setContents(Path(), bothBroken);
        EXPECT_FALSE(server.ReadRecord(keys[0]));
        EXPECT_EQ(server.LastError(), QStringLiteral("line 7: fX1 (\"x0.5000\") is not a number"));
    }
}

TEST_F(DataFile, OffersTheTagWithoutCharactersAFileNameCannotHold)
{
    EXPECT_EQ(CNvEsdDataFileSvr::DefaultFileName(DiagKind::Esd, QStringLiteral("A\\|/:*?\"<>b."), kNow),
              QStringLiteral("A_________b._20240307090504_ESD.dgn"));
    EXPECT_EQ(CNvEsdDataFileSvr::DefaultFileName(DiagKind::Pst, QStringLiteral("é-1 x"), kNow.addYears(-20)),
              QStringLiteral("é-1 x_20040307090504_PST.dgn"));
}

// Characters outside the code page become '?'; a long tag keeps its first 128 bytes, and a
// line end in it would split the header.
TEST_F(DataFile, WritesTagsInWindows1252)
{
    append(Path(), pstRecord(QStringLiteral("é€ 阀门\U0001F600")));
    EXPECT_TRUE(contents(Path()).contains("PST, \xE9\x80 ???  , 0000042"));
    append(Path(), pstRecord(QStringLiteral("L\r\n") + QString(200, QLatin1Char('x'))));
    const auto keys = listed(Path());
    ASSERT_EQ(keys.size(), 2);
    EXPECT_EQ(keys[0].tag, QStringLiteral("é€ ???  "));
    EXPECT_EQ(keys[1].tag, QStringLiteral("L??") + QString(125, QLatin1Char('x')));
}

TEST(Windows1252, EveryByteComesBackAsItWas)
{
    QByteArray all(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const QString text = fromWindows1252(all);
    EXPECT_EQ(toWindows1252(text), all);
    // The system's converter, where it has one, reads every byte the same way.
    QStringDecoder system("windows-1252");
    if (system.isValid()) {
        EXPECT_EQ(text, QString(system.decode(all)));
    }
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x81], QChar(0x81));
    // C1 controls that the code page uses for other characters have no byte.
    EXPECT_EQ(toWindows1252(u"\u0080\u009F\u0100\u20AC"), QByteArray("???\x80"));
}

TEST_F(DataFile, SavingTwiceAppendsToOneVersionLine)
{
    m_dialogs.fileAnswers = {Path(), Path()};
    const DiagRecord record = pstRecord(QStringLiteral("FT:101"));
    EXPECT_TRUE(saveRecordToFile(record, nullptr));
    EXPECT_TRUE(saveRecordToFile(record, nullptr));
    EXPECT_TRUE(m_dialogs.messages.isEmpty()) << m_dialogs.messageTexts().join('\n').toStdString();
    const QByteArray saved = contents(Path());
    EXPECT_EQ(saved.count("OrvxESD.1"), 1);
    EXPECT_EQ(listed(Path()).size(), 2);
    const ui::FileRequest& request = m_dialogs.fileRequests.at(0);
    EXPECT_EQ(request.mode, ui::FileMode::Save);
    EXPECT_EQ(request.filter, QStringLiteral("Orvx ESD Data Files (*.dgn);;All Files (*)"));
    EXPECT_TRUE(request.suggestedName.startsWith(QStringLiteral("FT_101_20"))) << request.suggestedName.toStdString();
    EXPECT_TRUE(request.suggestedName.endsWith(QStringLiteral("_PST.dgn")));

    // An empty tag is told before a file is chosen, so nothing is written anywhere; a cancelled
    // choice says nothing.
    EXPECT_FALSE(saveRecordToFile(pstRecord(QString()), nullptr));
    EXPECT_FALSE(saveRecordToFile(record, nullptr));
    EXPECT_EQ(m_dialogs.messageTexts(), QStringList{QStringLiteral("The device tag is empty; nothing was saved.")});
    EXPECT_EQ(m_dialogs.fileRequests.size(), 3);
    EXPECT_EQ(contents(Path()), saved);
}

// Saving adds to the chosen file: the dialog says so and never offers to replace it.
TEST_F(DataFile, TheSaveDialogOffersToAddToAFileNotToReplaceIt)
{
    append(Path(), pstRecord());
    const QByteArray before = contents(Path());
    m_dialogs.fileAnswers = {Path()};
    ASSERT_TRUE(saveRecordToFile(pstRecord(QStringLiteral("B")), nullptr));
    EXPECT_TRUE(contents(Path()).startsWith(before));
    EXPECT_EQ(listed(Path()).size(), 2);

    const struct {
        ui::FileMode mode;
        QFileDialog::AcceptMode accept;
        const char* title;
        bool addsWithoutAsking;
    } cases[] = {{ui::FileMode::Save, QFileDialog::AcceptSave, "Save As", true},
                 {ui::FileMode::Open, QFileDialog::AcceptOpen, "Open", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.mode));
        m_dialogs.fileRequests.clear();
        chooseDataFile(c.mode, DiagKind::Pst, QStringLiteral("B"), nullptr);
        ASSERT_EQ(m_dialogs.fileRequests.size(), 1);
        // The dialog the program shows for that request.
        QFileDialog dialog;
        ui::prepareFileDialog(dialog, m_dialogs.fileRequests.front());
        EXPECT_EQ(dialog.acceptMode(), c.accept);
        EXPECT_EQ(dialog.windowTitle(), QLatin1String(c.title));
        EXPECT_EQ(dialog.testOption(QFileDialog::DontConfirmOverwrite), c.addsWithoutAsking);
        EXPECT_EQ(dialog.labelText(QFileDialog::Accept) == QLatin1String("Add"), c.addsWithoutAsking);
        EXPECT_EQ(dialog.labelText(QFileDialog::FileName) == QLatin1String("Add the record to:"), c.addsWithoutAsking);
        EXPECT_EQ(dialog.nameFilters(), QStringList({"Orvx ESD Data Files (*.dgn)", "All Files (*)"}));
        EXPECT_EQ(dialog.directory().absolutePath(), m_dir.path());
    }
}

// The dialogs start where the last data file was saved or opened, never in the program's
// folder; once that folder is gone, in the home folder.
TEST_F(DataFile, TheDialogsStartWhereTheLastFileWasSavedOrOpened)
{
    const auto startsIn = [this](ui::FileMode mode) {
        m_dialogs.fileRequests.clear();
        chooseDataFile(mode, DiagKind::Esd, QStringLiteral("T"), nullptr);
        return m_dialogs.fileRequests.value(0).folder;
    };
    {
        QTemporaryDir gone;
        m_dialogs.fileAnswers = {gone.filePath(QStringLiteral("x.dgn"))};
        ASSERT_TRUE(saveRecordToFile(pstRecord(), nullptr));
        EXPECT_EQ(startsIn(ui::FileMode::Open), gone.path());
    }
    EXPECT_EQ(startsIn(ui::FileMode::Save), QDir::homePath());

    QDir(m_dir.path()).mkdir(QStringLiteral("saved"));
    QDir(m_dir.path()).mkdir(QStringLiteral("opened"));
    QDir(m_dir.path()).mkdir(QStringLiteral("refused"));
    m_dialogs.fileAnswers = {Path("saved/a.dgn")};
    ASSERT_TRUE(saveRecordToFile(pstRecord(), nullptr));
    EXPECT_EQ(startsIn(ui::FileMode::Save), m_dir.filePath(QStringLiteral("saved")));

    // A save or an opening that fails, and a cancelled choice, move nothing.
    setContents(Path("refused/other.dgn"), "OrvxESD.2, 03/07/24 09:05\r\n");
    m_dialogs.fileAnswers = {Path("refused/other.dgn")};
    EXPECT_FALSE(saveRecordToFile(pstRecord(), nullptr));
    EXPECT_FALSE(openForReading(Path("refused/other.dgn"), nullptr));
    EXPECT_FALSE(saveRecordToFile(pstRecord(), nullptr));
    EXPECT_EQ(startsIn(ui::FileMode::Open), m_dir.filePath(QStringLiteral("saved")));

    append(Path("opened/b.dgn"), pstRecord());
    EXPECT_TRUE(openForReading(Path("opened/b.dgn"), nullptr));
    EXPECT_EQ(startsIn(ui::FileMode::Save), m_dir.filePath(QStringLiteral("opened")));
}

TEST_F(DataFile, RefusesAFileOfAnotherVersionAndLeavesItAsItWas)
{
    append(Path("ours.dgn"), pstRecord());
    const QByteArray ours = contents(Path("ours.dgn"));
    const QByteArray others[] = {
        QByteArray(ours).replace("OrvxESD.1", "OrvxESD.2"),
        QByteArray(ours).replace("OrvxESD.1", "orvxESD.1"),
        QByteArray(ours).replace("OrvxESD.1, ", "OrvxESD.1 , "),
        "OrvxESD.1, 03/07/24 09:0",  // one byte short of a version line
        "Some other text file\r\n",
    };
    for (const QByteArray& other : others) {
        SCOPED_TRACE(other.constData());
        setContents(Path(), other);
        m_dialogs.messages.clear();
        m_dialogs.fileAnswers = {Path()};
        EXPECT_FALSE(saveRecordToFile(pstRecord(), nullptr));
        EXPECT_FALSE(openForReading(Path(), nullptr));
        ASSERT_EQ(m_dialogs.messages.size(), 2);
        for (const ui::MessageRequest& message : m_dialogs.messages) {
            EXPECT_EQ(message.text, kIncompatibleFileText);
            EXPECT_EQ(message.caption, QStringLiteral("Orvx ESD DTM"));
            EXPECT_EQ(message.icon, ui::MessageIcon::Error);
        }
        // A program that skips the check is refused all the same.
        CNvEsdDataFileSvr server;
        server.OpenFile(Path(), OpenPurpose::Save);
        EXPECT_EQ(server.WriteRecord(pstRecord(), kNow).message, kIncompatibleFileText);
        EXPECT_EQ(contents(Path()), other);
    }
    EXPECT_FALSE(openForReading(Path("missing.dgn"), nullptr));
    EXPECT_EQ(m_dialogs.messages.last().text,
              Path("missing.dgn") + '\n' + QString::fromLocal8Bit(std::strerror(ENOENT)));
    EXPECT_FALSE(QFile::exists(Path("missing.dgn")));
}

// The places a listing found stay in use only while the records are still there.
TEST_F(DataFile, ReadsTheRightRecordAfterTheFileWasRewritten)
{
    const DiagRecord a = pstRecord(QStringLiteral("A"));
    const DiagRecord b = pstRecord(QStringLiteral("B"));
    append(Path(), a);
    append(Path(), b);
    CNvEsdDataFileSvr server;
    server.OpenFile(Path(), OpenPurpose::Load);
    const auto keys = server.ListRecords();
    ASSERT_EQ(keys.size(), 2);

    const QByteArray bytes = contents(Path());
    const qsizetype startA = bytes.indexOf("PST, A");
    const qsizetype startB = bytes.indexOf("PST, B");
    setContents(Path(), bytes.left(startA) + bytes.mid(startB) + bytes.mid(startA, startB - startA));
    EXPECT_EQ(server.ReadRecord(keys[0]), a);
    EXPECT_EQ(server.ReadRecord(keys[1]), b);
}

TEST_F(DataFile, ACurveIsWrittenAndReadUpToTheMostPointsItMayHold)
{
    DiagRecord record = pstRecord();
    record.curve1 = {std::vector<float>(kMaxCurvePoints, 1.5f), std::vector<float>(kMaxCurvePoints, 2.5f)};
    append(Path(), record);
    const auto keys = listed(Path());
    ASSERT_EQ(keys.size(), 1);
    EXPECT_EQ(readBack(Path(), keys[0]), record);

    // A row more, as another program might write it, breaks the record and says where.
    QByteArray bytes = contents(Path());
    const qsizetype endLine = bytes.lastIndexOf("9999.999");
    const qsizetype lastRow = bytes.lastIndexOf('\n', endLine - 2) + 1;
    bytes.insert(endLine, bytes.mid(lastRow, endLine - lastRow));
    setContents(Path(), bytes);
    QStringList problems;
    EXPECT_EQ(listed(Path(), &problems), QList<RecordKey>());
    EXPECT_EQ(problems,
              QStringList(QStringLiteral("line %1: more than 100000 rows").arg(bytes.left(endLine).count('\n') + 1)));

    // Nor is such a record written.
    record.curve2 = {std::vector<float>(kMaxCurvePoints + 1, 0.0f), std::vector<float>(kMaxCurvePoints + 1, 0.0f)};
    CNvEsdDataFileSvr server;
    server.OpenFile(Path(), OpenPurpose::Save);
    const SaveOutcome outcome = server.WriteRecord(record, kNow);
    EXPECT_FALSE(outcome);
    EXPECT_EQ(outcome.message, kTooManyPointsText);
    EXPECT_EQ(contents(Path()), bytes);
}

TEST_F(DataFile, ListsAtMostTheMostRecordsAndSaysWhenThereAreMore)
{
    append(Path(), pstRecord());
    const QByteArray one = contents(Path());
    const qsizetype header = one.indexOf("PST, ");
    const QByteArray record = one.mid(header);
    constexpr qsizetype kMost = CNvEsdDataFileSvr::kMaxRecords;
    for (const qsizetype count : {kMost, kMost + 1}) {
        setContents(Path(), one.left(header) + record.repeated(count));
        QStringList problems;
        EXPECT_EQ(listed(Path(), &problems).size(), kMost);
        const qsizetype nextHeaderLine = one.left(header).count('\n') + kMost * record.count('\n') + 1;
        EXPECT_EQ(problems, count > kMost ? QStringList(QStringLiteral("line %1: only the first 100000 records are "
                                                                       "listed; the file holds more")
                                                            .arg(nextHeaderLine))
                                          : QStringList());
    }
}

TEST_F(BrokenRecord, IsLeftOutAndSaysWhere)
{
    const struct {
        int first;
        int count;
        QList<QByteArray> lines;
        const char* problem;
    } cases[] = {
        // clang-format off
        {14, 1, {"1, 0, -3, 80, 45, 30, 28, 1, 250"}, "line 14: values line has 9 fields, 16 expected"},
        {14, 1, {"1, 0, -3, 80, 45, 30, 28, 1, 250, 310, 20, 5, 100, 6, 3, 5, 0"}, "line 14: values line has 17 fields, 16 expected"},
        {14, 1, {"1, 2147483648, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0"}, "line 14: value 2 (\"2147483648\") is not a whole number"},
        {14, 1, {"1, 0, 1.5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0"}, "line 14: value 3 (\"1.5\") is not a whole number"},
        {17, 1, {"1.0000, , 2.0000, 3.0000"}, "line 17: fY1 is missing beside fX1"},
        {17, 1, {"1.0000, 2.0000, , 3.0000"}, "line 17: fX2 is missing beside fY2"},
        {18, 1, {"1.0000, 2.0000, 2,5, 3.0000"}, "line 18: row has 5 fields, 4 expected"},
        {18, 1, {"1.0000, 2.0000, 1.0x, 3"}, "line 18: fX2 (\"1.0x\") is not a number"},
        {18, 1, {"1.0000, 2 0, 1, 3"}, "line 18: fY1 (\"2 0\") is not a number"},
        {18, 1, {"1.0000, 2.0000, 1000000000000000000000000000000000000000.0, 3"}, "line 18: fX2 (\"100000000000000000000000...\") is not a number"},
        {18, 1, {"-, 2.0000, , "}, "line 18: fX1 (\"-\") is not a number"},
        {18, 1, {"+1.0000, 2.0000, , "}, "line 18: fX1 (\"+1.0000\") is not a number"},
        {13, 1, {"PstData, PstPa"}, "line 13: names line expected"},
        {15, 1, {}, "line 15: column names line expected"},
        {21, 1, {"9999.99"}, "line 21: row or end line \"9999.999\" expected"},
        {21, 1, {}, "line 21: row or end line expected, found the header of another record"},
        {12, 1, {"PST, B       , 00x0042, 03/07/2024 09:05:05"}, "line 12: device id \"00x0042\" is not a whole number"},
        {12, 1, {"PST, B       , 00000"}, "line 12: text that belongs to no record"},
        {19, 99, {}, "line 19: the file ends where the row or end line was expected"},
        // clang-format on
    };
    const QByteArray intact = contents(Path());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.problem);
        setContents(Path(), intact);
        Splice(c.first, c.count, c.lines);
        const bool cIsThere = c.count < 99;
        const QList<RecordKey> expected = cIsThere ? QList{m_keys[0], m_keys[2]} : QList{m_keys[0]};
        QStringList problems;
        EXPECT_EQ(listed(Path(), &problems), expected);
        EXPECT_EQ(problems, QStringList(QString::fromUtf8(c.problem)));

        CNvEsdDataFileSvr server;
        server.OpenFile(Path(), OpenPurpose::Load);
        EXPECT_FALSE(server.ReadRecord(m_keys[1]));
        if (c.first != 12) {  // else the header no longer holds B's key
            EXPECT_EQ(server.LastError(), QString::fromUtf8(c.problem));
        }
        if (cIsThere) {
            EXPECT_EQ(server.ReadRecord(m_keys[2]), m_records[2]);
        }
    }
}

// A program that dies while appending leaves the last record cut anywhere. The next save
// starts on a line of its own, and the cut record never reads as a whole one.
TEST_F(BrokenRecord, ACutTailSpoilsNoOtherRecord)
{
    Splice(12, 99, {});
    const QByteArray first = contents(Path());
    append(Path(), m_records[1], kNow.addSecs(1));
    const QByteArray full = contents(Path());
    const DiagRecord next = pstRecord(QStringLiteral("Next"));
    for (qsizetype cut = first.size(); cut < full.size(); ++cut) {
        setContents(Path(), full.left(cut));
        append(Path(), next);
        const auto keys = listed(Path());
        // Only the line end of the end line missing: the record is all there.
        ASSERT_EQ(keys.size(), cut >= full.size() - 2 ? 3 : 2) << cut;
        EXPECT_EQ(readBack(Path(), keys.first()), m_records[0]);
        EXPECT_EQ(readBack(Path(), keys.last()), next) << cut;
    }
}

// Only a last line without its line end is completed before the next record: a file whose lines
// end in a bare line feed, as another tool may write it, gets no empty line.
TEST_F(DataFile, AppendingCompletesOnlyATornLastLine)
{
    append(Path("one.dgn"), pstRecord());
    const QByteArray crlf = contents(Path("one.dgn"));
    const QByteArray lf = QByteArray(crlf).replace("\r\n", "\n");
    const DiagRecord next = pstRecord(QStringLiteral("Next"));
    append(Path("next.dgn"), next);
    const QByteArray nextRecord = contents(Path("next.dgn")).mid(crlf.indexOf("PST, "));
    const struct {
        const char* name;
        QByteArray before;
        const char* between;
        int records;
    } cases[] = {
        {"CR LF", crlf, "", 2},
        {"LF only", lf, "", 2},
        {"cut between CR and LF", crlf.chopped(1), "\n", 2},
        {"LF only, cut before the last LF", lf.chopped(1), "\r\n", 2},
        {"cut inside the end line", crlf.chopped(4), "\r\n", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setContents(Path(), c.before);
        append(Path(), next);
        EXPECT_EQ(contents(Path()), c.before + c.between + nextRecord);
        QStringList problems;
        const auto keys = listed(Path(), &problems);
        ASSERT_EQ(keys.size(), c.records);
        EXPECT_EQ(problems.size(), 2 - c.records);
        EXPECT_EQ(readBack(Path(), keys.last()), next);
    }
}

// A line is read up to the reader's limit; a longer one is cut, which breaks its own record
// only, and the lines after it keep their numbers.
TEST_F(BrokenRecord, ALineIsReadUpToItsLimitAndALongerOneBreaksOnlyItsRecord)
{
    const QByteArray intact = contents(Path());
    const qsizetype most = qsizetype(CLineReader::kMaxLineBytes) - 2;  // without its "\r\n"
    const QByteArray prefix = "PST, ";
    const QByteArray suffix = ", 0000042, 03/07/2024 09:05:05";
    const struct {
        int line;
        QByteArray text;
        const char* problem;  // null: B reads
    } cases[] = {
        {12, prefix + QByteArray(most - prefix.size() - suffix.size(), 'T') + suffix, nullptr},
        {12, prefix + QByteArray(most + 1 - prefix.size() - suffix.size(), 'T') + suffix,
         "line 12: text that belongs to no record"},
        {13, "PstData, " + QByteArray(most + 1 - 9, 'P'),
         "line 13: longer than 1048576 bytes, where the names line was expected"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        setContents(Path(), intact);
        Splice(c.line, 1, {c.text});
        QStringList problems;
        const auto keys = listed(Path(), &problems);
        if (!c.problem) {
            ASSERT_EQ(keys.size(), 3);
            EXPECT_EQ(problems, QStringList());
            EXPECT_EQ(readBack(Path(), keys[1])->tag.size(), most - prefix.size() - suffix.size());
        } else {
            EXPECT_EQ(keys, (QList{m_keys[0], m_keys[2]}));
            EXPECT_EQ(problems, QStringList(QString::fromLatin1(c.problem)));
        }
        EXPECT_EQ(readBack(Path(), m_keys[2]), m_records[2]);
    }
}

TEST_F(BrokenRecord, LongLinesAcrossTheReadersBlocksRead)
{
    const QByteArray longTag(5000, 'T');
    Splice(12, 1, {"PST, " + longTag + ", 0000042, 03/07/2024 09:05:05"});
    Splice(22, 0, {QByteArray(3 << 20, 'x')});  // crosses the reader's blocks
    Splice(12, 0, {QByteArray(5000, ',')});

    QStringList problems;
    const auto keys = listed(Path(), &problems);
    ASSERT_EQ(keys.size(), 3);
    EXPECT_EQ(problems,
              (QStringList{"line 12: text that belongs to no record", "line 23: text that belongs to no record"}));
    DiagRecord longB = m_records[1];
    longB.tag = QString::fromLatin1(longTag);
    EXPECT_EQ(readBack(Path(), keys[1]), longB);
    EXPECT_EQ(readBack(Path(), keys[2]), m_records[2]);
}

}  // namespace
