#include "PlantStoreRecords.h"

#include "platform/ui/Clock.h"
#include "store/Keeper.h"
#include "store/PlantStore.h"

#include <memory>

namespace orvx::host {

namespace {

constexpr char kStoreVariable[] = "ORVX_PLANT_STORE";

// The store the program keeps: the one the frame names, else the user's own; none when the frame
// names none.
std::optional<store::StoreAddress> keptStore(QString* error)
{
    if (!qEnvironmentVariableIsSet(kStoreVariable))
        return store::defaultStoreAddress();
    const QString name = qEnvironmentVariable(kStoreVariable);
    if (name.isEmpty())
        return std::nullopt;
    return store::parseStoreAddress(name, error);
}

// Opened for each use and closed after it: a connection kept would outlive the application at
// the module's unloading. Null, `available` false, when the program keeps no store; null with the
// reason when it cannot be opened.
std::unique_ptr<store::PlantStore> openKept(bool* available, QString* error)
{
    *available = false;
    const std::optional<store::StoreAddress> address = keptStore(error);
    if (!address)
        return nullptr;
    std::unique_ptr<store::PlantStore> plant = store::PlantStore::open(*address, error);
    *available = static_cast<bool>(plant);
    return plant;
}

// Read as a data file writes its times, without a zone: a test imported from a file keeps the
// file's reading, and so is the same test when that file is added too.
diagnostics::DatedRecord dated(store::StoredRecord kept)
{
    const QDateTime utc = kept.takenAt.toUTC();
    return {QDateTime(utc.date(), utc.time()), std::move(kept.record)};
}

// Keeps the test, read as a data file writes its times; false with the reason when refused.
bool keepDated(store::PlantStore& plant, const diagnostics::DatedRecord& test, const QDateTime& now, QString* error)
{
    const QDateTime taken(test.when.date(), test.when.time(), Qt::UTC);
    const store::KeepOutcome outcome = plant.keep({test.record, taken, store::keeperName(), now, std::nullopt});
    if (outcome.kind != store::KeepOutcome::Kind::Failed)
        return true;
    *error = outcome.why;
    return false;
}

}  // namespace

void CPlantStoreRecords::Install()
{
    static CPlantStoreRecords records;
    diagnostics::setPlantRecords(&records);
}

bool CPlantStoreRecords::Keeps() const
{
    return !qEnvironmentVariableIsSet(kStoreVariable) || !qEnvironmentVariable(kStoreVariable).isEmpty();
}

std::vector<diagnostics::DatedRecord> CPlantStoreRecords::Psts(std::int32_t deviceId, bool* available, QString* error)
{
    const std::unique_ptr<store::PlantStore> plant = openKept(available, error);
    std::vector<diagnostics::DatedRecord> tests;
    if (!plant)
        return tests;
    for (store::StoredRecord& kept : plant->history(deviceId, error))
        if (kept.record.kind == diagnostics::DiagKind::Pst)
            tests.push_back(dated(std::move(kept)));
    return tests;
}

std::optional<diagnostics::DatedRecord> CPlantStoreRecords::Baseline(const QString& tag, std::int32_t deviceId,
                                                                     bool* available, QString* error)
{
    const std::unique_ptr<store::PlantStore> plant = openKept(available, error);
    if (!plant)
        return std::nullopt;
    std::optional<store::BaselineChoice> chosen = plant->baseline(tag, deviceId, error);
    if (!chosen)
        return std::nullopt;
    return dated(std::move(chosen->record));
}

bool CPlantStoreRecords::SetBaseline(const QString& tag, std::int32_t deviceId, const diagnostics::DatedRecord& test,
                                     QString* error)
{
    bool available = false;
    const std::unique_ptr<store::PlantStore> plant = openKept(&available, error);
    if (!plant) {
        if (error->isEmpty())
            *error = QStringLiteral("the program keeps no plant store");
        return false;
    }
    const QDateTime now = ui::currentDateTime().toUTC();
    if (!keepDated(*plant, test, now, error))
        return false;
    // The test as it was kept, perhaps long ago and by another program.
    const std::optional<store::StoredRecord> kept = plant->sameTest(test.record, error);
    if (!kept) {
        if (error->isEmpty())
            *error = QStringLiteral("the test is not in the plant store");
        return false;
    }
    return plant->setBaseline(kept->record.tag, deviceId, *kept, store::keeperName(), now, error);
}

bool CPlantStoreRecords::Keep(const diagnostics::DatedRecord& test, bool* available, QString* error)
{
    const std::unique_ptr<store::PlantStore> plant = openKept(available, error);
    return plant && keepDated(*plant, test, ui::currentDateTime().toUTC(), error);
}

}  // namespace orvx::host
