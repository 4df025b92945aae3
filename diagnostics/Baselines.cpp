#include "Baselines.h"

#include "NvEsdDataFileSvr.h"
#include "PstHistory.h"
#include "XFileException.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace orvx::diagnostics {

namespace {

// A group per device; the tag is hex-encoded, as it may hold any character.
QString groupOf(const QString& tag, std::int32_t deviceId)
{
    return QStringLiteral("baselines/%1-%2").arg(QString::fromLatin1(tag.trimmed().toUtf8().toHex())).arg(deviceId);
}

// Marks a baseline whose figures were read off its signature; one without it holds the
// whole-number results of its record's values line.
const QString kOrigin = QStringLiteral("figures");
const QString kFromSignature = QStringLiteral("signature");

struct Field {
    const char* key;
    std::optional<double> SignatureFigures::*figure;
};
constexpr Field kFields[] = {
    {"friction", &SignatureFigures::friction},
    {"breakaway", &SignatureFigures::breakaway},
    {"droop", &SignatureFigures::droop},
    {"lowerSpring", &SignatureFigures::lowerSpring},
    {"upperSpring", &SignatureFigures::upperSpring},
    {"exhaustTime", &SignatureFigures::exhaustTime},
    {"fillTime", &SignatureFigures::fillTime},
};

QString dateText(const QDate& date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QStringLiteral("an unknown day");
}

// The PST a baseline names, read again from its data file; none with why.
std::optional<DiagRecord> readNamedRecord(const Baseline& baseline, QString* why)
{
    if (baseline.file.isEmpty() || baseline.key.kind.isEmpty()) {
        *why = QStringLiteral("it names no data file");
        return std::nullopt;
    }
    try {
        CNvEsdDataFileSvr file;
        if (file.OpenFile(baseline.file, OpenPurpose::Load)) {
            *why = QStringLiteral("the file is empty");
            return std::nullopt;
        }
        if (!file.CheckVersion()) {
            *why = QStringLiteral("the file is no data file of this version");
            return std::nullopt;
        }
        std::optional<DiagRecord> record = file.ReadRecord(baseline.key);
        if (!record)
            *why = file.LastError().isEmpty() ? QStringLiteral("the record is not in it") : file.LastError();
        else if (record->kind != DiagKind::Pst)
            *why = QStringLiteral("the record is no PST");
        return record && record->kind == DiagKind::Pst ? record : std::nullopt;
    } catch (const CXFileException& error) {
        *why = error.SystemMessage();
    } catch (const std::exception& error) {
        *why = QString::fromLocal8Bit(error.what());
    }
    return std::nullopt;
}

std::optional<DiagRecord> recordOf(const Baseline& baseline)
{
    QString why;
    return readNamedRecord(baseline, &why);
}

// The figures of the record a baseline names, read again from its file; none with why.
BaselineFigures rederive(const Baseline& baseline)
{
    QString why;
    if (const std::optional<DiagRecord> record = readNamedRecord(baseline, &why))
        return {analyseRecord(*record), {}};
    return {std::nullopt, QStringLiteral("The baseline of %1 keeps whole-number results only, and its signature "
                                         "cannot be read from %2: %3. Set the baseline again to compare with it.")
                              .arg(dateText(baseline.date), QDir::toNativeSeparators(baseline.file), why)};
}

// The baseline the plant store keeps for a valve: its PST's figures, read off its signature.
Baseline baselineOf(const DatedRecord& chosen)
{
    Baseline baseline;
    baseline.date = chosen.when.date();
    baseline.passedFlag = chosen.record.Value(RecordValue::PstPassed);
    baseline.figures = analyseRecord(chosen.record);
    return baseline;
}

}  // namespace

QString CBaselines::DefaultFile()
{
    const QString named = qEnvironmentVariable("ORVX_SETTINGS_FILE");
    if (!named.isEmpty())
        return named;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/orvx/orvx.conf");
}

bool CBaselines::Remember(const QString& tag, std::int32_t deviceId, const Baseline& baseline, const DatedRecord& test,
                          QString* why)
{
    // A store that refuses is no reason to keep the choice elsewhere, unseen by the team.
    if (IPlantRecords* plant = plantRecords(); plant && plant->Keeps()) {
        QString error;
        if (plant->SetBaseline(tag.trimmed(), deviceId, test, &error))
            return true;
        *why = QStringLiteral("the plant store did not keep it: %1").arg(error);
        return false;
    }
    if (rememberInSettings(tag, deviceId, baseline))
        return true;
    *why = QStringLiteral("it could not be kept in %1").arg(QDir::toNativeSeparators(m_file));
    return false;
}

bool CBaselines::rememberInSettings(const QString& tag, std::int32_t deviceId, const Baseline& baseline)
{
    QSettings settings(m_file, QSettings::IniFormat);
    settings.beginGroup(groupOf(tag, deviceId));
    settings.remove(QString());
    settings.setValue(QStringLiteral("date"), baseline.date.toString(Qt::ISODate));
    settings.setValue(QStringLiteral("unit"), baseline.figures.unitCode);
    settings.setValue(QStringLiteral("passed"), baseline.passedFlag);
    settings.setValue(kOrigin, kFromSignature);
    // A figure the signature does not give is kept empty.
    for (const Field& field : kFields) {
        const std::optional<double>& figure = baseline.figures.*field.figure;
        settings.setValue(QLatin1String(field.key), figure ? QVariant(*figure) : QVariant(QString()));
    }
    settings.setValue(QStringLiteral("file"), baseline.file);
    settings.setValue(QStringLiteral("key"),
                      QStringList{baseline.key.kind, baseline.key.tag, baseline.key.deviceId, baseline.key.dateTime});
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

std::optional<Baseline> CBaselines::Find(const QString& tag, std::int32_t deviceId) const
{
    IPlantRecords* plant = plantRecords();
    bool available = false;
    QString error;
    if (plant) {
        if (const std::optional<DatedRecord> chosen = plant->Baseline(tag.trimmed(), deviceId, &available, &error))
            return baselineOf(*chosen);
    }
    std::optional<Baseline> kept = findInSettings(tag, deviceId);
    // Moved into the plant store once, when the record it names can be read.
    if (kept && available && error.isEmpty())
        if (const std::optional<DiagRecord> record = recordOf(*kept))
            plant->SetBaseline(tag.trimmed(), deviceId, {recordTime(kept->key.dateTime), *record}, &error);
    return kept;
}

std::optional<Baseline> CBaselines::findInSettings(const QString& tag, std::int32_t deviceId) const
{
    QSettings settings(m_file, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return std::nullopt;
    settings.beginGroup(groupOf(tag, deviceId));
    Baseline baseline;
    baseline.date = QDate::fromString(settings.value(QStringLiteral("date")).toString(), Qt::ISODate);
    baseline.fromSignature = settings.value(kOrigin).toString() == kFromSignature;
    bool ok = baseline.date.isValid();
    // An earlier version kept every result; a figure from a signature may be empty.
    const auto number = [&](const char* key, bool mayBeEmpty) -> std::optional<double> {
        const QString text = settings.value(QLatin1String(key)).toString();
        if (mayBeEmpty && text.isEmpty())
            return std::nullopt;
        bool converted = false;
        const double value = text.toDouble(&converted);
        ok = ok && converted;
        return value;
    };
    baseline.figures.unitCode = static_cast<std::uint32_t>(number("unit", false).value_or(0));
    baseline.passedFlag = static_cast<int>(number("passed", false).value_or(0));
    for (const Field& field : kFields)
        baseline.figures.*field.figure = number(field.key, baseline.fromSignature);
    if (!ok)
        return std::nullopt;
    baseline.file = settings.value(QStringLiteral("file")).toString();
    const QStringList key = settings.value(QStringLiteral("key")).toStringList();
    if (key.size() == 4)
        baseline.key = {key[0], key[1], key[2], key[3]};
    return baseline;
}

BaselineFigures baselineFigures(const Baseline& baseline)
{
    if (baseline.fromSignature)
        return {baseline.figures, {}};
    if (baseline.file.isEmpty() || baseline.key.kind.isEmpty())
        return {std::nullopt, QStringLiteral("The baseline of %1 keeps whole-number results only and names no data "
                                             "file to read its signature from. Set the baseline again to compare "
                                             "with it.")
                                  .arg(dateText(baseline.date))};
    return rederive(baseline);
}

}  // namespace orvx::diagnostics
