// A store that cannot take a record says why in words a user understands and is left as it was.
#include "StoreFixture.h"

#include <QFile>

#include <functional>
#include <unistd.h>

using namespace orvx;
using namespace orvx::store;
using namespace orvx::store::test;

namespace {

// Root writes to any file whatever its mode; the test opens a read-only store as nobody instead.
class AsNobodyWhenRoot {
public:
    AsNobodyWhenRoot() : m_root(::geteuid() == 0)
    {
        if (m_root && ::seteuid(65534) != 0)
            ADD_FAILURE() << "cannot act as nobody";
    }
    ~AsNobodyWhenRoot()
    {
        if (m_root && ::seteuid(0) != 0)
            ADD_FAILURE() << "cannot act as root again";
    }

private:
    bool m_root;
};

class StoreFailure : public Store {
public:
    using Breaker = void (StoreFailure::*)();
    using Opener = std::unique_ptr<PlantStore> (StoreFailure::*)(QString*);

    // A file of mode 0444, or a PostgreSQL role that may only read.
    void makeReadOnly()
    {
        if (GetParam() == Engine::Sqlite) {
            QFile::setPermissions(sqlitePath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
            QFile::setPermissions(m_folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                       QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                                       QFile::ExeOther);
            return;
        }
        ASSERT_TRUE(sql(QStringLiteral("CREATE ROLE %1 LOGIN").arg(reader())));
        ASSERT_TRUE(sql(QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA public TO %1").arg(reader())));
    }
    std::unique_ptr<PlantStore> openAsReader(QString* error)
    {
        if (GetParam() == Engine::Sqlite) {
            const AsNobodyWhenRoot nobody;
            return open(error);
        }
        const QString owner = m_address;
        m_address.replace(QStringLiteral("//orvx@"), QStringLiteral("//%1@").arg(reader()));
        auto store = open(error);
        m_address = owner;
        return store;
    }
    void makeNewer()
    {
        ASSERT_TRUE(
            sql(QStringLiteral("INSERT INTO store_schema (version) VALUES (%1)").arg(PlantStore::kSchemaVersion + 1)));
    }
    void leaveAsItIs() {}
    std::unique_ptr<PlantStore> openAsUsual(QString* error) { return open(error); }
    // A SQLite store that may grow by no page on this connection.
    std::unique_ptr<PlantStore> openFull(QString* error)
    {
        auto store = open(error);
        QSqlQuery query(store->connectionForTests());
        if (!query.exec(QStringLiteral("PRAGMA page_count")) || !query.next() ||
            !query.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(query.value(0).toInt())))
            ADD_FAILURE() << "the page limit was not set";
        return store;
    }
    // No server listens in the test's own folder, and no file can be made under /proc.
    std::unique_ptr<PlantStore> openUnreachable(QString* error)
    {
        const QString address = GetParam() == Engine::Sqlite
                                    ? QStringLiteral("sqlite:/proc/orvx/plant.sqlite")
                                    : QStringLiteral("postgresql://orvx@/plant?host=") + m_folder.path();
        return PlantStore::open(parseStoreAddress(address, error).value(), error);
    }

protected:
    // A role of this test's database only: roles belong to the whole server.
    QString reader() const { return QStringLiteral("reader_") + parseStoreAddress(m_address, nullptr)->database; }
    QString sqlitePath() const { return parseStoreAddress(m_address, nullptr)->path; }
    QByteArray sqliteBytes() const
    {
        QFile file(sqlitePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

// A record large enough to need pages of its own.
StoredRecord large()
{
    StoredRecord record = stored(2, 9, 9);
    record.record.curve1.position.assign(4000, 12.5f);
    record.record.curve1.pressure.assign(4000, 30.0f);
    return record;
}

TEST_P(StoreFailure, RefusesWithAClearReasonAndChangesNothing)
{
    struct Case {
        const char* what;
        Breaker breaks;
        Opener opener;
        bool opens;       // the store opens for reading and refuses to keep; else it does not open
        const char* why;  // in the reason, after "the plant store"
        bool sqliteOnly;
    };
    const Case cases[] = {
        {"read-only", &StoreFailure::makeReadOnly, &StoreFailure::openAsReader, true, "is read-only", false},
        {"full", &StoreFailure::leaveAsItIs, &StoreFailure::openFull, true, "is full", true},
        {"of a newer schema", &StoreFailure::makeNewer, &StoreFailure::openAsUsual, false, "newer than this program's",
         false},
        {"unreachable", &StoreFailure::leaveAsItIs, &StoreFailure::openUnreachable, false, "cannot be reached", false},
    };
    for (const Case& test : cases) {
        if (test.sqliteOnly && GetParam() != Engine::Sqlite)
            continue;
        SCOPED_TRACE(test.what);
        renew();
        ASSERT_EQ(open()->keep(stored(1, 1, 1)).kind, KeepOutcome::Kind::Kept);
        (this->*test.breaks)();
        const QByteArray before = GetParam() == Engine::Sqlite ? sqliteBytes() : QByteArray();

        QString reason;
        std::unique_ptr<PlantStore> store = (this->*test.opener)(&reason);
        if (test.opens) {
            ASSERT_TRUE(store) << reason.toStdString();
            EXPECT_EQ(store->count(), 1) << "a store that takes nothing still reads";
            const KeepOutcome outcome = store->keep(large());
            EXPECT_EQ(outcome.kind, KeepOutcome::Kind::Failed);
            reason = outcome.why;
        } else {
            EXPECT_FALSE(store);
        }
        EXPECT_TRUE(reason.startsWith(QStringLiteral("the plant store")) &&
                    reason.contains(QString::fromLatin1(test.why)))
            << reason.toStdString();
        store.reset();
        if (GetParam() == Engine::Sqlite) {
            EXPECT_EQ(sqliteBytes(), before) << "the file is as it was";
        }
        if (test.opens) {
            EXPECT_EQ(open()->count(), 1);
        }
    }
}

// A newer program's store is left for it: opened again, it is refused again.
TEST_P(StoreFailure, ANewerSchemaIsRefusedEachTime)
{
    QString error;
    ASSERT_TRUE(open());
    makeNewer();
    EXPECT_FALSE(open(&error));
    EXPECT_FALSE(open(&error)) << "refused again: nothing was changed";
}

INSTANTIATE_TEST_SUITE_P(Engines, StoreFailure, ::testing::Values(Engine::Sqlite, Engine::Postgresql),
                         [](const auto& info) { return info.param == Engine::Sqlite ? "Sqlite" : "Postgresql"; });

}  // namespace
