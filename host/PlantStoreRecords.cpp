#include "PlantStoreRecords.h"

#include "store/PlantStore.h"

namespace orvx::host {

CPlantStoreRecords::CPlantStoreRecords() = default;
CPlantStoreRecords::~CPlantStoreRecords() = default;

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
    const std::optional<store::StoreAddress> address =
        named ? store::parseStoreAddress(name, error) : std::optional(store::defaultStoreAddress());
    if (!address)
        return {};
    if (!m_store || m_opened != address->text()) {
        m_store = store::PlantStore::open(*address, error);
        m_opened = m_store ? address->text() : QString();
        if (!m_store)
            return {};
    }
    *available = true;
    std::vector<diagnostics::DatedRecord> tests;
    for (store::StoredRecord& kept : m_store->history(deviceId, error)) {
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
