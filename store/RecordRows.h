#pragma once

#include "store/PlantStore.h"

#include <QSqlQuery>
#include <QString>

#include <optional>

namespace orvx::store {

// The columns a kept record is read back from, in the order readRecordRow expects them, each
// after `table` and a dot when a table is named.
QString recordColumns(const QString& table = {});
// How many columns recordColumns() names: a query's own columns come after them.
inline constexpr int kRecordColumnCount = 12;

// The record of the query's current row, selected with recordColumns(); nothing when its bytes
// do not make a whole record, with the reason in `why`.
std::optional<StoredRecord> readRecordRow(const QSqlQuery& query, QString* why);

}  // namespace orvx::store
