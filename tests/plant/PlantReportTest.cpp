// The plant PST report as CSV and PDF files.
#include "PlantFixture.h"
#include "plant/PlantReport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimeZone>

namespace orvx::test {
namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(PlantReport, AFolderThatCannotBeWrittenLeavesNothingAndSaysWhy)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString inside = dir.filePath(QStringLiteral("file/report"));
    EXPECT_FALSE(plant::writePlantCsv(smallPlant(), kNow, inside + QStringLiteral(".csv")).isEmpty());
    EXPECT_FALSE(plant::writePlantPdf(smallPlant(), kNow, inside + QStringLiteral(".pdf")).isEmpty());
    EXPECT_FALSE(plant::writePlantCsv(smallPlant(), kNow, QString()).isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{QStringLiteral("file")});
}

TEST(PlantReport, CsvQuotesATagWithACommaAndAQuoteAndGivesMomentsInUtc)
{
    QTemporaryDir dir;
    plant::ValveRow odd = valve(QStringLiteral("XV-1, \"north\""), 7, 40);
    odd.lastPst = QDateTime(QDate(2026, 1, 20), QTime(10, 30), QTimeZone(3600));
    odd.wear = QStringList{QStringLiteral("Friction 12.3 psi, +38 % since 2026-01-10"),
                           QStringLiteral("Droop 0.4 psi")};
    plant::ValveRow never = valve(QStringLiteral("XV-2"), 8);
    never.lastPst.reset();
    never.lastPassed.reset();
    never.pstIntervalDays = 0;
    const QString path = dir.filePath(QStringLiteral("plant.csv"));
    ASSERT_EQ(plant::writePlantCsv({odd, never}, kNow, path), QString());
    const QList<QByteArray> lines = contents(path).split('\n');
    ASSERT_EQ(lines.size(), 4);  // the header, two valves, the empty rest after the last line end
    EXPECT_EQ(lines[0], "Tag,Device id,PST interval (days),Last PST,Result,Overdue,Next PST due,Status,Projection,"
                        "Wear against baseline\r");
    EXPECT_EQ(lines[1], "\"XV-1, \"\"north\"\"\",7,30,2026-01-20T09:30:00Z,Passed,yes,2026-02-19T09:30:00Z,Good,,"
                        "\"Friction 12.3 psi, +38 % since 2026-01-10; Droop 0.4 psi\"\r");
    EXPECT_EQ(lines[2], "XV-2,8,,,,yes,,Good,,\r");
}

TEST(PlantReport, ACsvFieldThatASpreadsheetWouldRunIsText)
{
    const struct {
        const char* field;
        const char* written;
    } rows[] = {
        {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
        {"+1", "'+1"},
        {"-2+3", "'-2+3"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\tXV-1", "'\tXV-1"},
        {"\rXV-1", "\"'\rXV-1\""},
        {"XV=1", "XV=1"},
        {"", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(plant::csvField(QString::fromLatin1(row.field)), QString::fromLatin1(row.written)) << row.field;
}

TEST(PlantReport, PdfRunsOverAsManyPagesAsTheValvesNeed)
{
    QTemporaryDir dir;
    QList<plant::ValveRow> many;
    for (int i = 0; i < 120; ++i)
        many.append(valve(QStringLiteral("XV-%1").arg(i), i));
    const QString path = dir.filePath(QStringLiteral("plant.pdf"));
    ASSERT_EQ(plant::writePlantPdf(many, kNow, path), QString());
    const QByteArray pdf = contents(path);
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    const auto pages = QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b")));
    EXPECT_GT(pages, 1);
}

}  // namespace
}  // namespace orvx::test
