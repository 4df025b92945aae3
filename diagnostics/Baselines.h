#pragma once

#include "DiagRecord.h"
#include "PlantRecords.h"
#include "SignatureAnalysis.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>

namespace orvx::diagnostics {

// The test a valve's later PSTs are compared with: its date, its passed flag, the figures read
// off its signature and, when it came from a data file, where it is kept.
struct Baseline {
    QDate date;
    int passedFlag = 0;
    SignatureFigures figures;
    // False for a baseline kept by an earlier version, which took the whole-number results of
    // the record's values line: its figures are too coarse to compare with (see
    // baselineFigures()).
    bool fromSignature = true;
    QString file;
    RecordKey key;
};

// One baseline per device (tag and device id), so that every later summary and graph of the
// valve can show the change against it: kept in the plant store when the program keeps one
// (PlantRecords.h), else in the user's settings file. A baseline an earlier version kept in the
// settings file is moved into the plant store the first time it is looked for there, when the
// record it names can be read; the settings file keeps it all the same. A settings file that
// cannot be read or holds no complete baseline for a device answers none.
class CBaselines {
public:
    // ORVX_SETTINGS_FILE when set, else "orvx/orvx.conf" in the user's configuration folder.
    static QString DefaultFile();

    explicit CBaselines(QString file = DefaultFile()) : m_file(std::move(file)) {}

    // Makes `test` (the PST the baseline was read off, taken at `when`) the valve's baseline.
    // False with the reason in `why` when the plant store or the settings file refused it.
    bool Remember(const QString& tag, std::int32_t deviceId, const Baseline& baseline, const DatedRecord& test,
                  QString* why);
    std::optional<Baseline> Find(const QString& tag, std::int32_t deviceId) const;

private:
    bool rememberInSettings(const QString& tag, std::int32_t deviceId, const Baseline& baseline);
    std::optional<Baseline> findInSettings(const QString& tag, std::int32_t deviceId) const;

    QString m_file;
};

// The figures to compare a later test with, or why there are none.
struct BaselineFigures {
    std::optional<SignatureFigures> figures;
    QString problem;
};

// A baseline's figures as kept; for one kept with whole-number results, the figures read off
// the signature of the record it names, read again from its data file. Such a baseline whose
// record cannot be read any more gives none: its whole numbers would make a change of a
// fraction of a psi look like tens of percent. Never throws.
BaselineFigures baselineFigures(const Baseline& baseline);

}  // namespace orvx::diagnostics
