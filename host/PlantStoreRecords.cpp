#include "PlantStoreRecords.h"

#include "store/PlantStore.h"

#include <memory>

namespace orvx::host {

void CPlantStoreRecords::Install()
{
    static CPlantStoreRecords records;
    diagnostics::setPlantRecords(&records);
}

std::vector<diagnostics::DatedRecord> CPlantStoreRecords::Psts(std::int32_t deviceId, bool* available, QString* error)
{
    *available = false;
    const bool named = qEnvironmentVariableIsSet("ORVX_PLANT_STORE");
    const QString name = qEnvironmentVariable("ORVX_PLANT_STORE");
    if (named && name.isEmpty())
        return {};
    const std::optional<store::StoreAddress> address = named ? store::parseStoreAddress(name, error)
                                                             : std::optional(store::defaultStoreAddress());
    if (!address)
        return {};
    // Opened for each reading and closed after it: a connection kept would outlive the
    // application at the module's unloading.
    const std::unique_ptr<store::PlantStore> plant = store::PlantStore::open(*address, error);
    if (!plant)
        return {};
    *available = true;
    std::vector<diagnostics::DatedRecord> tests;
    for (store::StoredRecord& kept : plant->history(deviceId, error)) {
        if (kept.record.kind != diagnostics::DiagKind::Pst)
            continue;
        // Read as a data file writes its times, without a zone: a test imported from a file
        // keeps the file's reading, and so is the same test when that file is added too.
        const QDateTime utc = kept.takenAt.toUTC();
        tests.push_back({QDateTime(utc.date(), utc.time()), std::move(kept.record)});
    }
    return tests;
}

}  // namespace orvx::host
