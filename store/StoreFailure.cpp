#include "store/StoreFailure.h"

namespace orvx::store {

namespace {

// SQLite's primary result codes (sqlite3.h), as Qt's driver hands them on.
QString sqliteReason(int code)
{
    switch (code & 0xff) {
    case 3:  // SQLITE_PERM
    case 8:  // SQLITE_READONLY
        return QStringLiteral("the plant store is read-only");
    case 5:  // SQLITE_BUSY
    case 6:  // SQLITE_LOCKED
        return QStringLiteral("the plant store is busy: another program held it too long");
    case 10:  // SQLITE_IOERR
        return QStringLiteral("the plant store's disk failed");
    case 11:  // SQLITE_CORRUPT
        return QStringLiteral("the plant store is damaged");
    case 13:  // SQLITE_FULL
        return QStringLiteral("the plant store is full");
    case 14:  // SQLITE_CANTOPEN
        return QStringLiteral("the plant store cannot be reached");
    case 26:  // SQLITE_NOTADB
        return QStringLiteral("the file is not a plant store");
    default: return {};
    }
}

// PostgreSQL's SQLSTATE codes: a class of two characters, then the condition.
QString postgresReason(const QString& state)
{
    if (state == QLatin1String("42501"))
        return QStringLiteral("the plant store is read-only for this user");
    if (state == QLatin1String("25006"))
        return QStringLiteral("the plant store is read-only");
    if (state == QLatin1String("53100"))
        return QStringLiteral("the plant store is full");
    if (state.startsWith(QLatin1String("53")))
        return QStringLiteral("the plant store's server is out of resources");
    if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")))
        return QStringLiteral("the plant store cannot be reached");
    return {};
}

}  // namespace

QString storeFailure(const QSqlError& error, const StoreAddress& address)
{
    const QString code = error.nativeErrorCode();
    bool numeric = false;
    const int number = code.toInt(&numeric);
    QString reason = address.kind == StoreAddress::Kind::Sqlite ? (numeric ? sqliteReason(number) : QString())
                                                                : postgresReason(code);
    // PostgreSQL names no condition when it cannot connect at all.
    if (reason.isEmpty() && error.type() == QSqlError::ConnectionError)
        reason = QStringLiteral("the plant store cannot be reached");
    if (reason.isEmpty())
        reason = QStringLiteral("the plant store refused");
    return QStringLiteral("%1 (%2: %3)").arg(reason, address.text(), error.text());
}

}  // namespace orvx::store
