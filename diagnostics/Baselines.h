#pragma once

#include "DiagRecord.h"
#include "PstGrading.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>

namespace orvx::diagnostics {

// The test a valve's later PSTs are compared with: its date, its results in its own pressure
// unit and, when it came from a data file, where it is kept.
struct Baseline {
    QDate date;
    std::uint32_t unitCode = 6;
    PstResults results;
    QString file;
    RecordKey key;
};

// One baseline per device (tag and device id), kept in the user's settings file, so that every
// later summary and graph of the valve can show the change against it. A settings file that
// cannot be read or holds no complete baseline for a device answers none.
class CBaselines {
public:
    // ORVX_SETTINGS_FILE when set, else "orvx/orvx.conf" in the user's configuration folder.
    static QString DefaultFile();

    explicit CBaselines(QString file = DefaultFile()) : m_file(std::move(file)) {}

    // False when the settings file could not be written.
    bool Remember(const QString& tag, std::int32_t deviceId, const Baseline& baseline);
    std::optional<Baseline> Find(const QString& tag, std::int32_t deviceId) const;

private:
    QString m_file;
};

}  // namespace orvx::diagnostics
