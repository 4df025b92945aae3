#pragma once

#include "diagnostics/PlantRecords.h"

#include <QList>

#include <map>

namespace orvx::test {

// A plant store as the diagnostics windows see it, in memory: the PSTs it gives (or a failure),
// the baselines chosen in it and the tests kept in it (or a refusal).
class FakePlantRecords : public diagnostics::IPlantRecords {
public:
    bool Keeps() const override { return true; }
    std::vector<diagnostics::DatedRecord> Psts(std::int32_t deviceId, bool* available, QString* error) override
    {
        asked.append(deviceId);
        *available = true;
        if (!failure.isEmpty())
            *error = failure;
        return failure.isEmpty() ? tests : std::vector<diagnostics::DatedRecord>{};
    }
    std::optional<diagnostics::DatedRecord> Baseline(const QString& tag, std::int32_t deviceId, bool* available,
                                                     QString*) override
    {
        *available = true;
        const auto it = chosen.find({tag, deviceId});
        return it == chosen.end() ? std::nullopt : std::optional(it->second);
    }
    bool SetBaseline(const QString& tag, std::int32_t deviceId, const diagnostics::DatedRecord& test,
                     QString* error) override
    {
        ++choices;
        if (!refusal.isEmpty()) {
            *error = refusal;
            return false;
        }
        chosen[{tag, deviceId}] = test;
        return true;
    }
    bool Keep(const diagnostics::DatedRecord& test, bool* available, QString* error) override
    {
        *available = true;
        if (!refusal.isEmpty()) {
            *error = refusal;
            return false;
        }
        kept.push_back(test);
        return true;
    }

    std::vector<diagnostics::DatedRecord> tests;  // what Psts gives
    QString failure;                              // Psts fails with it
    QList<std::int32_t> asked;                    // the devices Psts was asked for
    std::map<std::pair<QString, std::int32_t>, diagnostics::DatedRecord> chosen;
    int choices = 0;
    std::vector<diagnostics::DatedRecord> kept;
    QString refusal;  // SetBaseline and Keep refuse with it
};

}  // namespace orvx::test
