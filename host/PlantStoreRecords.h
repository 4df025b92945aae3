#pragma once

#include "diagnostics/PlantRecords.h"

namespace orvx::host {

// The plant store as the diagnostics windows read it. The frame names the store in the
// environment variable ORVX_PLANT_STORE (set and empty: it keeps none); unset, it is the user's
// own store in the data folder. Baselines are chosen in it by the user's name (store/Keeper.h).
class CPlantStoreRecords : public diagnostics::IPlantRecords {
public:
    bool Keeps() const override;
    std::vector<diagnostics::DatedRecord> Psts(std::int32_t deviceId, bool* available, QString* error) override;
    std::optional<diagnostics::DatedRecord> Baseline(const QString& tag, std::int32_t deviceId, bool* available,
                                                     QString* error) override;
    bool SetBaseline(const QString& tag, std::int32_t deviceId, const diagnostics::DatedRecord& test,
                     QString* error) override;
    bool Keep(const diagnostics::DatedRecord& test, bool* available, QString* error) override;

    // The module's one instance, installed for the diagnostics windows when the module is used.
    static void Install();
};

}  // namespace orvx::host
