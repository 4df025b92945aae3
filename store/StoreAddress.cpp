#include "store/StoreAddress.h"

#include <QDir>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>

namespace orvx::store {

namespace {

const QString kSqliteScheme = QStringLiteral("sqlite:");
const QString kPostgresScheme = QStringLiteral("postgresql://");

std::optional<StoreAddress> parsePostgres(const QString& text, QString* error)
{
    const QUrl url(text, QUrl::StrictMode);
    StoreAddress address;
    address.kind = StoreAddress::Kind::Postgresql;
    address.database = url.path().mid(1);
    address.user = url.userName();
    address.host = url.host();
    address.port = url.port(5432);
    const QString socketFolder = QUrlQuery(url).queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
    if (!socketFolder.isEmpty())
        address.host = socketFolder;
    if (!url.isValid() || address.database.isEmpty() || address.database.contains(QLatin1Char('/'))) {
        *error = QStringLiteral("a PostgreSQL store is postgresql://[USER@][HOST][:PORT]/DATABASE[?host=FOLDER]");
        return std::nullopt;
    }
    if (!url.password().isEmpty()) {
        *error = QStringLiteral("a password does not go in the store's address: PostgreSQL reads it from ~/.pgpass");
        return std::nullopt;
    }
    return address;
}

}  // namespace

QString StoreAddress::text() const
{
    if (kind == Kind::Sqlite)
        return kSqliteScheme + path;
    QString where = host.startsWith(QLatin1Char('/')) ? QString() : host;
    if (port != 5432 && !where.isEmpty())
        where += QStringLiteral(":%1").arg(port);
    QString text = kPostgresScheme + (user.isEmpty() ? QString() : user + QLatin1Char('@')) + where + QLatin1Char('/') +
                   database;
    if (host.startsWith(QLatin1Char('/')))
        text += QStringLiteral("?host=") + host;
    return text;
}

std::optional<StoreAddress> parseStoreAddress(const QString& text, QString* error)
{
    if (text.startsWith(kPostgresScheme))
        return parsePostgres(text, error);
    if (text.contains(QStringLiteral("://")) && !text.startsWith(kSqliteScheme)) {
        *error = QStringLiteral("a store is sqlite:FILE or postgresql://[USER@][HOST][:PORT]/DATABASE");
        return std::nullopt;
    }
    StoreAddress address;
    address.path = text.startsWith(kSqliteScheme) ? text.mid(kSqliteScheme.size()) : text;
    if (address.path.isEmpty()) {
        *error = QStringLiteral("a SQLite store needs a file");
        return std::nullopt;
    }
    return address;
}

StoreAddress defaultStoreAddress()
{
    StoreAddress address;
    // One place for every program of the user's, whatever it is called.
    address.path = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                       .filePath(QStringLiteral("orvx/plant.sqlite"));
    return address;
}

}  // namespace orvx::store
