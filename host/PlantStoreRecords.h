#pragma once

#include "diagnostics/PlantRecords.h"

#include <memory>

namespace orvx::store {
class PlantStore;
}

namespace orvx::host {

// The plant store as the diagnostics windows read it. The frame names the store in the
// environment variable ORVX_PLANT_STORE (set and empty: it keeps none); unset, it is the user's
// own store in the data folder. The store is opened on first use, and again when the name changes.
class CPlantStoreRecords : public diagnostics::IPlantRecords {
public:
    CPlantStoreRecords();
    ~CPlantStoreRecords() override;

    std::vector<diagnostics::DatedRecord> Psts(std::int32_t deviceId, bool* available, QString* error) override;

    // The module's one instance, installed for the diagnostics windows when the module is used.
    static void Install();

private:
    QString m_opened;  // the address m_store was opened at
    std::unique_ptr<store::PlantStore> m_store;
};

}  // namespace orvx::host
