#pragma once

// What the store's tests share: records to keep, and a fixture that runs the same cases on
// SQLite and on a PostgreSQL server of the test's own.

#include "PostgresServer.h"
#include "store/PlantStore.h"
#include "store/RecordBytes.h"

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <functional>

namespace orvx::store::test {

inline diagnostics::DiagRecord pst(std::int32_t deviceId, int seed)
{
    diagnostics::DiagRecord record;
    record.tag = QStringLiteral("PV-%1").arg(deviceId);
    record.deviceId = deviceId;
    for (int i = 0; i < diagnostics::kRecordValueCount; ++i)
        record.values[static_cast<std::size_t>(i)] = seed * 100 + i - 7;
    for (int i = 0; i < 50; ++i) {
        record.curve1.position.push_back(100.0f - static_cast<float>(i) * 0.2f - static_cast<float>(seed));
        record.curve1.pressure.push_back(40.0f - static_cast<float>(i) * 0.125f);
        record.curve2.position.push_back(90.0f + static_cast<float>(i) * 0.2f);
        record.curve2.pressure.push_back(33.3f + static_cast<float>(i) * 0.1f);
    }
    return record;
}

inline StoredRecord stored(std::int32_t deviceId, int seed, int day)
{
    const QDateTime taken(QDate(2026, 3, day), QTime(8, 30), Qt::UTC);
    return {pst(deviceId, seed), taken, QStringLiteral("alice"), taken.addDays(1), std::nullopt};
}

// The same cases on SQLite and on a PostgreSQL server of the test's own.
enum class Engine { Sqlite, Postgresql };

class Store : public ::testing::TestWithParam<Engine> {
protected:
    static void SetUpTestSuite() { s_postgres = new test::PostgresServer; }
    static void TearDownTestSuite()
    {
        delete s_postgres;
        s_postgres = nullptr;
    }
    void SetUp() override { renew(); }
    // A new, empty store for the test to use from here on.
    void renew()
    {
        if (GetParam() == Engine::Postgresql) {
            if (!s_postgres->running())
                GTEST_SKIP() << "PostgreSQL is not installed or did not start";
            m_address = s_postgres->newDatabase();
            ASSERT_FALSE(m_address.isEmpty()) << "no database made in " << s_postgres->folder();
        } else {
            m_address = QStringLiteral("sqlite:") + m_folder.filePath(QStringLiteral("plant%1.sqlite").arg(++m_stores));
        }
    }
    std::unique_ptr<PlantStore> open(QString* error = nullptr)
    {
        QString why;
        auto store = PlantStore::open(parseStoreAddress(m_address, &why).value(), &why);
        if (error)
            *error = why;
        EXPECT_TRUE(store || error) << why.toStdString();
        return store;
    }
    // A statement straight into the database, past the store: what another program could do.
    bool sql(const QString& statement)
    {
        return raw([&](QSqlDatabase& database) { return QSqlQuery(database).exec(statement); });
    }
    // Work on a connection of its own, past the store; false when it cannot connect or the work fails.
    bool raw(const std::function<bool(QSqlDatabase&)>& work)
    {
        const QString connection = QStringLiteral("orvx-raw");
        bool done = false;
        {
            QString error;
            const StoreAddress address = parseStoreAddress(m_address, &error).value();
            const bool sqlite = address.kind == StoreAddress::Kind::Sqlite;
            QSqlDatabase database = QSqlDatabase::addDatabase(
                sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"), connection);
            database.setDatabaseName(sqlite ? address.path : address.database);
            database.setHostName(address.host);
            database.setUserName(address.user);
            done = database.open() && work(database);
            database.close();
        }
        QSqlDatabase::removeDatabase(connection);
        return done;
    }

    inline static PostgresServer* s_postgres = nullptr;
    QTemporaryDir m_folder;
    QString m_address;
    int m_stores = 0;
};

}  // namespace orvx::store::test
