#pragma once

#include "DiagRecord.h"

#include <QDateTime>
#include <QString>

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
    // The kept PSTs of the device, the oldest first. None kept is an empty list; a store that
    // cannot be read is an empty list with the reason in `error`. `available` is false, with no
    // error, when the program keeps no plant store at all.
    virtual std::vector<DatedRecord> Psts(std::int32_t deviceId, bool* available, QString* error) = 0;
};

// The installed plant records, or null.
IPlantRecords* plantRecords();
// Installs `records` (null: none), which must outlive their use.
void setPlantRecords(IPlantRecords* records);

}  // namespace orvx::diagnostics
