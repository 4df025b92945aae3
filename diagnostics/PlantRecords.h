#pragma once

#include "DiagRecord.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace orvx::diagnostics {

// A kept test and when the device took it.
struct DatedRecord {
    QDateTime when;  // UTC
    DiagRecord record;
};

// Where the plant keeps every test of every valve, as the diagnostics windows read it. The module
// installs one over the plant store; without one, the windows read data files only.
class IPlantRecords {
public:
    virtual ~IPlantRecords() = default;
    // Whether the program keeps a plant store at all.
    virtual bool Keeps() const = 0;
    // The kept PSTs of the device, the oldest first. None kept is an empty list; a store that
    // cannot be read is an empty list with the reason in `error`. `available` is false, with no
    // error, when the program keeps no plant store at all.
    virtual std::vector<DatedRecord> Psts(std::int32_t deviceId, bool* available, QString* error) = 0;
    // The valve's baseline in force, the PST later tests are compared with; none when none was
    // chosen, or with the reason when the store cannot be read. `available` as for Psts.
    virtual std::optional<DatedRecord> Baseline(const QString& tag, std::int32_t deviceId, bool* available,
                                                QString* error) = 0;
    // Keeps the PST `test` (when it is not kept yet) and makes it the valve's baseline. False
    // with the reason, nothing chosen, when the store refuses or the program keeps none.
    virtual bool SetBaseline(const QString& tag, std::int32_t deviceId, const DatedRecord& test, QString* error) = 0;
    // Keeps a test read off the device (an ESD event the user loaded), once however often it is
    // handed in. False with the reason when the store refuses; false with no reason, `available`
    // false, when the program keeps no plant store.
    virtual bool Keep(const DatedRecord& test, bool* available, QString* error) = 0;
};

// The installed plant records, or null.
IPlantRecords* plantRecords();
// Installs `records` (null: none), which must outlive their use.
void setPlantRecords(IPlantRecords* records);

}  // namespace orvx::diagnostics
