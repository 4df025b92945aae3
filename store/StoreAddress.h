#pragma once

#include <QString>

#include <optional>

namespace orvx::store {

// Where the plant store is: a SQLite file ("sqlite:PATH", or a bare path) or a PostgreSQL
// database ("postgresql://[USER@][HOST][:PORT]/DATABASE[?host=SOCKET_FOLDER]"), which a team
// shares.
struct StoreAddress {
    enum class Kind { Sqlite, Postgresql };
    Kind kind = Kind::Sqlite;
    QString path;  // the SQLite file
    QString host;  // a name, an address, or the folder of PostgreSQL's Unix socket
    int port = 5432;
    QString user;
    QString database;

    // The address as the user writes it, without a password.
    QString text() const;
};

// The address, or nothing with the reason in `error`.
std::optional<StoreAddress> parseStoreAddress(const QString& text, QString* error);
// A SQLite file in the user's data folder: what the program keeps when told nothing.
StoreAddress defaultStoreAddress();

}  // namespace orvx::store
