#include "PlantRecords.h"

namespace orvx::diagnostics {

namespace {
IPlantRecords* g_records = nullptr;
}

IPlantRecords* plantRecords()
{
    return g_records;
}

void setPlantRecords(IPlantRecords* records)
{
    g_records = records;
}

}  // namespace orvx::diagnostics
