#pragma once

#include "store/StoreAddress.h"

#include <QSqlError>
#include <QString>

namespace orvx::store {

// Why the plant store refused, first in words a user understands, then the database's own text:
// "the plant store is read-only (sqlite:/var/plant.sqlite: attempt to write a readonly database)".
// A failure the store cannot name reads "the plant store refused (...)".
QString storeFailure(const QSqlError& error, const StoreAddress& address);

}  // namespace orvx::store
