#pragma once

#include "store/StoreAddress.h"

#include <QSqlDatabase>
#include <QString>

namespace orvx::store {

// Makes the schema of a new store or brings an older one up to `version`, under a lock so that
// two programs opening a new store at once make it once; false with the reason when it cannot,
// or when the store is of a newer schema, which is left as it is. A store already of `version`
// is only read, so a store the user may not write to still opens for reading.
bool prepareSchema(QSqlDatabase& database, const StoreAddress& address, int version, QString* error);

}  // namespace orvx::store
