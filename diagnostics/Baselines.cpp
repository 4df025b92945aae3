#include "Baselines.h"

#include <QSettings>
#include <QStandardPaths>

namespace orvx::diagnostics {

namespace {

// A group per device; the tag is hex-encoded, as it may hold any character.
QString groupOf(const QString& tag, std::int32_t deviceId)
{
    return QStringLiteral("baselines/%1-%2").arg(QString::fromLatin1(tag.trimmed().toUtf8().toHex())).arg(deviceId);
}

struct Field {
    const char* key;
    double PstResults::*value;
};
constexpr Field kFields[] = {
    {"friction", &PstResults::friction},
    {"breakaway", &PstResults::breakaway},
    {"droop", &PstResults::droop},
    {"lowerSpring", &PstResults::lowerSpring},
    {"upperSpring", &PstResults::upperSpring},
    {"exhaustTime", &PstResults::exhaustTime},
    {"fillTime", &PstResults::fillTime},
};

}  // namespace

QString CBaselines::DefaultFile()
{
    const QString named = qEnvironmentVariable("ORVX_SETTINGS_FILE");
    if (!named.isEmpty())
        return named;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/orvx/orvx.conf");
}

bool CBaselines::Remember(const QString& tag, std::int32_t deviceId, const Baseline& baseline)
{
    QSettings settings(m_file, QSettings::IniFormat);
    settings.beginGroup(groupOf(tag, deviceId));
    settings.remove(QString());
    settings.setValue(QStringLiteral("date"), baseline.date.toString(Qt::ISODate));
    settings.setValue(QStringLiteral("unit"), baseline.unitCode);
    settings.setValue(QStringLiteral("passed"), baseline.results.passedFlag);
    for (const Field& field : kFields)
        settings.setValue(QLatin1String(field.key), baseline.results.*field.value);
    settings.setValue(QStringLiteral("file"), baseline.file);
    settings.setValue(QStringLiteral("key"),
                      QStringList{baseline.key.kind, baseline.key.tag, baseline.key.deviceId, baseline.key.dateTime});
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

std::optional<Baseline> CBaselines::Find(const QString& tag, std::int32_t deviceId) const
{
    QSettings settings(m_file, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return std::nullopt;
    settings.beginGroup(groupOf(tag, deviceId));
    Baseline baseline;
    baseline.date = QDate::fromString(settings.value(QStringLiteral("date")).toString(), Qt::ISODate);
    bool ok = baseline.date.isValid();
    const auto number = [&](const char* key) {
        bool converted = false;
        const double value = settings.value(QLatin1String(key)).toDouble(&converted);
        ok = ok && converted;
        return value;
    };
    baseline.unitCode = static_cast<std::uint32_t>(number("unit"));
    baseline.results.passedFlag = static_cast<int>(number("passed"));
    for (const Field& field : kFields)
        baseline.results.*field.value = number(field.key);
    if (!ok)
        return std::nullopt;
    baseline.file = settings.value(QStringLiteral("file")).toString();
    const QStringList key = settings.value(QStringLiteral("key")).toStringList();
    if (key.size() == 4)
        baseline.key = {key[0], key[1], key[2], key[3]};
    return baseline;
}

}  // namespace orvx::diagnostics
