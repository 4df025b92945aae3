// The valve's baseline: kept per valve in the settings file with the figures read off its
// signature, read again off its record when an earlier version kept whole numbers, and reported
// by the summary of a later test.
#include "DataFileFixture.h"
#include "DrawnSignature.h"
#include "FakePlantRecords.h"
#include "diagnostics/Baselines.h"
#include "diagnostics/DiagGraph.h"
#include "diagnostics/GraphLoading.h"
#include "diagnostics/PSTSummary.h"
#include "support/LastPst.h"

#include <QLabel>
#include <QPushButton>
#include <QSettings>

#include <map>

namespace orvx::test {
namespace {

const RecordKey kKey{QStringLiteral("PST"), QStringLiteral("PV-101  "), QStringLiteral("0000042"),
                     QStringLiteral("01/10/2026 08:30:00\r\n")};

// Every figure different, so that one read from another's field shows.
SignatureFigures distinct(double base, std::uint32_t unit = 6)
{
    return {unit, base + 0.125, base + 1.25, base + 2.5, base + 3.75, base + 5, base + 6.25, base + 7.5};
}

class BaselineFile : public DataFile {
protected:
    QString file = m_dir.filePath(QStringLiteral("orvx.conf"));

    // A baseline as an earlier version kept it: whole-number results, no mark of their origin.
    void WriteWholeNumberBaseline(const QString& dataFile, const RecordKey& key)
    {
        QSettings settings(file, QSettings::IniFormat);
        settings.beginGroup(QStringLiteral("baselines/%1-42").arg(QString::fromLatin1(QByteArray("PV-101").toHex())));
        settings.setValue(QStringLiteral("date"), QStringLiteral("2026-01-10"));
        settings.setValue(QStringLiteral("unit"), 7);
        settings.setValue(QStringLiteral("passed"), 0);
        for (const char* name :
             {"friction", "breakaway", "droop", "lowerSpring", "upperSpring", "exhaustTime", "fillTime"})
            settings.setValue(QLatin1String(name), 1);
        settings.setValue(QStringLiteral("file"), dataFile);
        settings.setValue(QStringLiteral("key"), QStringList{key.kind, key.tag, key.deviceId, key.dateTime});
    }
};

// Kept in the settings file, as when the program keeps no plant store.
bool remember(CBaselines& baselines, const QString& tag, std::int32_t deviceId, const Baseline& baseline)
{
    QString why;
    return baselines.Remember(tag, deviceId, baseline, {}, &why);
}

TEST_F(BaselineFile, KeepsEachFigureOfOneBaselinePerValveExactly)
{
    CBaselines baselines(file);
    EXPECT_FALSE(baselines.Find(QStringLiteral("PV-101"), 42));
    SignatureFigures figures = distinct(10.0 / 3.0, 7);
    figures.fillTime.reset();  // the valve never got back
    const Baseline first{QDate(2026, 1, 10), 1, figures, true, QStringLiteral("/plant/pv101.dgn"), kKey};
    ASSERT_TRUE(remember(baselines, QStringLiteral("PV-101  "), 42, first));
    ASSERT_TRUE(remember(baselines, QStringLiteral("PV/102 = x"), 42,
                         Baseline{QDate(2026, 2, 1), 0, distinct(1), true, {}, {}}));

    const auto found = CBaselines(file).Find(QStringLiteral("PV-101"), 42);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->date, first.date);
    EXPECT_EQ(found->passedFlag, 1);
    EXPECT_EQ(found->figures, figures) << "every figure in its own field, to the last bit, none kept none";
    EXPECT_TRUE(found->fromSignature);
    EXPECT_EQ(found->key, first.key);
    EXPECT_EQ(found->file, first.file);
    EXPECT_EQ(baselineFigures(*found).figures, figures) << "used as kept";
    EXPECT_FALSE(baselines.Find(QStringLiteral("PV-101"), 43)) << "another device id";
    EXPECT_EQ(baselines.Find(QStringLiteral("PV/102 = x"), 42)->figures, distinct(1));

    // A newer baseline replaces the old one.
    ASSERT_TRUE(
        remember(baselines, QStringLiteral("PV-101"), 42, Baseline{QDate(2026, 3, 1), 0, distinct(11), true, {}, {}}));
    EXPECT_EQ(baselines.Find(QStringLiteral("PV-101"), 42)->figures, distinct(11));
    EXPECT_TRUE(baselines.Find(QStringLiteral("PV-101"), 42)->file.isEmpty());
}

TEST_F(BaselineFile, AFileThatIsNoSettingsFileHoldsNoBaseline)
{
    setContents(file, "[baselines\n\x01\x02 friction=abc\ndate=yesterday\n");
    EXPECT_FALSE(CBaselines(file).Find(QStringLiteral("PV-101"), 42));
}

// An earlier version's whole numbers are compared with nothing: they come from the record's
// signature again, or the baseline says it cannot be compared.
TEST_F(BaselineFile, AWholeNumberBaselineIsReadOffItsRecordAgainOrNotCompared)
{
    const DrawnValve valve{.springAtClosed = 1.034, .springAtOpen = 2.413, .friction = 0.207, .breakaway = 0.228};
    append(Path(), drawnRecord(valve, 7), QDateTime(QDate(2026, 1, 10), QTime(8, 30)));
    const RecordKey key = listed(Path()).front();
    WriteWholeNumberBaseline(Path(), key);

    const auto kept = CBaselines(file).Find(QStringLiteral("PV-101"), 42);
    ASSERT_TRUE(kept);
    EXPECT_FALSE(kept->fromSignature);
    const BaselineFigures again = baselineFigures(*kept);
    ASSERT_TRUE(again.figures) << again.problem.toStdString();
    EXPECT_EQ(again.figures->unitCode, 7u);
    EXPECT_NEAR(*again.figures->friction, 0.207, 1e-4);
    EXPECT_NEAR(*again.figures->lowerSpring, 1.034, 1e-4);

    const struct {
        const char* what;
        QString file;
        RecordKey key;
        const char* problem;
    } unusable[] = {
        {"the file is gone", m_dir.filePath(QStringLiteral("gone.dgn")), key, "cannot be read from"},
        {"the record is not in it", Path(), kKey, "cannot be read from"},
        {"no file named", {}, {}, "names no data file"},
    };
    for (const auto& u : unusable) {
        Baseline baseline = *kept;
        baseline.file = u.file;
        baseline.key = u.key;
        const BaselineFigures figures = baselineFigures(baseline);
        EXPECT_FALSE(figures.figures) << u.what;
        EXPECT_TRUE(figures.problem.contains(QLatin1String(u.problem))) << figures.problem.toStdString();
        EXPECT_TRUE(figures.problem.contains(QLatin1String("2026-01-10"))) << u.what;
    }
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("gone.dgn")))) << "reading creates no file";
}

class BaselineInStore : public BaselineFile {
protected:
    void SetUp() override
    {
        BaselineFile::SetUp();
        setPlantRecords(&plant);
    }
    void TearDown() override
    {
        setPlantRecords(nullptr);
        BaselineFile::TearDown();
    }
    FakePlantRecords plant;
    const DrawnValve valve{.springAtClosed = 1.034, .springAtOpen = 2.413, .friction = 0.207, .breakaway = 0.228};
};

TEST_F(BaselineInStore, AStoreThatRefusesSaysWhyAndNothingIsKeptElsewhere)
{
    plant.refusal = QStringLiteral("the plant store is read-only");
    CBaselines baselines(file);
    QString why;
    const DatedRecord test{QDateTime(QDate(2026, 1, 10), QTime(8, 30)), drawnRecord(valve, 7)};
    EXPECT_FALSE(baselines.Remember(QStringLiteral("PV-101"), 42, {}, test, &why));
    EXPECT_EQ(why, QStringLiteral("the plant store did not keep it: the plant store is read-only"));
    EXPECT_FALSE(baselines.Find(QStringLiteral("PV-101"), 42)) << "not in the settings file either";
}

TEST_F(BaselineInStore, TheChoiceIsTheStoresAndItsFiguresAreReadOffTheKeptTest)
{
    CBaselines baselines(file);
    QString why;
    const DatedRecord test{QDateTime(QDate(2026, 1, 10), QTime(8, 30)), drawnRecord(valve, 7)};
    ASSERT_TRUE(baselines.Remember(QStringLiteral("PV-101  "), 42, {}, test, &why)) << why.toStdString();
    ASSERT_EQ(plant.chosen.size(), 1u);
    EXPECT_EQ(plant.chosen.begin()->first.first, QStringLiteral("PV-101")) << "the tag as the valve is named";
    const auto found = baselines.Find(QStringLiteral("PV-101"), 42);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->date, QDate(2026, 1, 10));
    EXPECT_TRUE(found->fromSignature);
    EXPECT_NEAR(*found->figures.friction, 0.207, 1e-4);
    setPlantRecords(nullptr);
    EXPECT_FALSE(CBaselines(file).Find(QStringLiteral("PV-101"), 42)) << "nothing in the settings file";
}

TEST_F(BaselineInStore, ABaselineOfTheSettingsFileMovesIntoTheStoreOnceAndStaysInTheFile)
{
    append(Path(), drawnRecord(valve, 7), QDateTime(QDate(2026, 1, 10), QTime(8, 30)));
    WriteWholeNumberBaseline(Path(), listed(Path()).front());
    const auto first = CBaselines(file).Find(QStringLiteral("PV-101"), 42);
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->fromSignature) << "the settings file's, this once";
    ASSERT_EQ(plant.choices, 1);
    EXPECT_EQ(plant.chosen.begin()->second.when, QDateTime(QDate(2026, 1, 10), QTime(8, 30)));
    const auto second = CBaselines(file).Find(QStringLiteral("PV-101"), 42);
    ASSERT_TRUE(second);
    EXPECT_TRUE(second->fromSignature) << "the store's, read off the kept test";
    EXPECT_NEAR(*second->figures.friction, 0.207, 1e-4);
    EXPECT_EQ(plant.choices, 1) << "moved once";
    setPlantRecords(nullptr);
    EXPECT_TRUE(CBaselines(file).Find(QStringLiteral("PV-101"), 42)) << "not lost from the settings file";
}

// Use as baseline on a PST's graph, then its summary and a later one report the change.
class BaselineSummary : public PageFixture<> {
protected:
    DeviceParameters Parameters() const override { return lastPstDevice(); }
    void SetUp() override
    {
        PageFixture::SetUp();
        controller.SetStatusArea(&status, nullptr);
        qputenv("ORVX_SETTINGS_FILE", folder.filePath(QStringLiteral("orvx.conf")).toLocal8Bit());
    }
    void TearDown() override { qunsetenv("ORVX_SETTINGS_FILE"); }

    void Set(const char* tag, const QString& value)
    {
        device->parameters[QLatin1String(tag)] = device::textVariant(value);
    }
    // The device's last PST now has this signature, in its unit.
    void SetSignature(const DrawnValve& valve)
    {
        Set("16038", curveText(drawnExhaust(valve)));
        Set("16037", curveText(drawnFill(valve)));
    }
    QString Change()
    {
        CPSTSummary summary(controller);
        return summary.findChild<QLabel*>(QStringLiteral("baselineChange"))->text();
    }
    void UseAsBaseline()
    {
        CDiagGraph graph;
        ASSERT_TRUE(loadDeviceCurves(controller, DiagKind::Pst, graph, nullptr));
        graph.SetRecordDate(QDate(2026, 1, 10));
        graph.findChild<QPushButton*>(QStringLiteral("useAsBaseline"))->click();
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_TRUE(dialogs.messages[0].text.contains(QLatin1String("now the valve's baseline")));
    }

    QTemporaryDir folder;
};

TEST_F(BaselineSummary, APstIsUnchangedSinceItselfAndALaterOneShowsItsChange)
{
    EXPECT_TRUE(Change().startsWith(QLatin1String("No baseline is set for this valve"))) << Change().toStdString();
    SetSignature({.friction = 10, .breakaway = 10, .droop = 1});
    Set("16023", QStringLiteral("10.04"));  // the device's own results differ in the last digit
    UseAsBaseline();
    EXPECT_EQ(Change(), QStringLiteral("Friction 10 psi, 0 % since 2026-01-10\n"
                                       "Breakaway 10 psi, 0 % since 2026-01-10\n"
                                       "Droop 1 psi, 0 % since 2026-01-10"));

    SetSignature({.friction = 13.8, .breakaway = 11.5, .droop = 1.25});
    EXPECT_EQ(Change(), QStringLiteral("Friction 13.8 psi, +38 % since 2026-01-10\n"
                                       "Breakaway 11.5 psi, +15 % since 2026-01-10\n"
                                       "Droop 1.25 psi, +25 % since 2026-01-10"));
}

TEST_F(BaselineSummary, InBarTheChangeIsAsFineAsInPsi)
{
    for (const char* tag : {"4003", "4007"})
        Set(tag, QStringLiteral("7"));
    SetSignature({.springAtClosed = 1, .springAtOpen = 2.4, .friction = 0.2, .breakaway = 0.25, .droop = 0.02});
    UseAsBaseline();
    SetSignature({.springAtClosed = 1, .springAtOpen = 2.4, .friction = 0.23, .breakaway = 0.25, .droop = 0.03});
    EXPECT_EQ(Change(), QStringLiteral("Friction 0.23 bar, +15 % since 2026-01-10\n"
                                       "Breakaway 0.25 bar, 0 % since 2026-01-10\n"
                                       "Droop 0.03 bar, +50 % since 2026-01-10"));
}

TEST_F(BaselineSummary, SaysWhyItCannotCompareInsteadOfMixingNumbers)
{
    SetSignature({});
    UseAsBaseline();
    Set("16038", QStringLiteral("12.5@"));  // no complete point
    EXPECT_EQ(Change(), QStringLiteral("The change since the baseline of 2026-01-10 cannot be shown: this test's "
                                       "signature could not be read from the device."));
    EXPECT_TRUE(status.message.contains(QLatin1String("16038"))) << status.message.toStdString();

    // A baseline an earlier version kept as whole numbers, naming no record to read again.
    QSettings settings(folder.filePath(QStringLiteral("orvx.conf")), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("baselines"));
    for (const QString& valve : settings.childGroups()) {
        settings.remove(valve + QStringLiteral("/figures"));
        settings.setValue(valve + QStringLiteral("/file"), QString());
    }
    settings.sync();
    SetSignature({});
    EXPECT_TRUE(Change().contains(QLatin1String("keeps whole-number results only"))) << Change().toStdString();
}

}  // namespace
}  // namespace orvx::test
