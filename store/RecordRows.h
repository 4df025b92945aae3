#pragma once

#include "store/PlantStore.h"

#include <QSqlQuery>
#include <QString>

#include <optional>

namespace orvx::store {

// The columns a kept record is read back from, in the order readRecordRow expects them.
QString recordColumns();

// The record of the query's current row, selected with recordColumns(); nothing when its bytes
// do not make a whole record, with the reason in `why`.
std::optional<StoredRecord> readRecordRow(const QSqlQuery& query, QString* why);

}  // namespace orvx::store
