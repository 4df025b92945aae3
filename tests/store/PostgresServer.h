#pragma once

// A PostgreSQL server of the test's own: initdb and pg_ctl in a temporary folder, listening on a
// Unix socket in that folder only. Run as the postgres user when the tests run as root, since
// PostgreSQL refuses to run as root.

#include <QDir>
#include <QString>
#include <QStringList>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace orvx::store::test {

class PostgresServer {
public:
    PostgresServer()
    {
        const std::string bin = binFolder();
        char folder[] = "/tmp/orvx-pg-XXXXXX";
        if (bin.empty() || !::mkdtemp(folder))
            return;
        m_folder = folder;
        m_bin = bin;
        if (::geteuid() == 0) {
            if (std::system(("chown postgres " + m_folder).c_str()) != 0)
                return;
            m_as = "runuser -u postgres -- ";
        }
        const std::string data = m_folder + "/data";
        m_running = shell(m_bin + "/initdb -D " + data + " -A trust -U orvx --no-sync") &&
                    shell(m_bin + "/pg_ctl -D " + data + " -w -l " + m_folder + "/log -o \"-k " + m_folder +
                          " -c listen_addresses='' -p 5432 -F\" start");
    }
    ~PostgresServer()
    {
        if (m_running)
            shell(m_bin + "/pg_ctl -D " + m_folder + "/data -m immediate -w stop");
        if (!m_folder.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_folder, ignored);
        }
    }

    // False where PostgreSQL is not installed or would not start.
    bool running() const { return m_running; }
    // A new, empty database on the server, and its address.
    QString newDatabase()
    {
        const std::string name = "plant" + std::to_string(++m_databases);
        if (!shell(m_bin + "/createdb -h " + m_folder + " -p 5432 -U orvx " + name))
            return {};
        return QStringLiteral("postgresql://orvx@/%1?host=%2")
            .arg(QString::fromStdString(name), QString::fromStdString(m_folder));
    }
    std::string folder() const { return m_folder; }

private:
    static std::string binFolder()
    {
        const QStringList found = QDir(QStringLiteral("/usr/lib/postgresql"))
                                      .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed);
        for (const QString& version : found) {
            const std::string bin = "/usr/lib/postgresql/" + version.toStdString() + "/bin";
            if (std::filesystem::exists(bin + "/initdb"))
                return bin;
        }
        return {};
    }
    bool shell(const std::string& command) const
    {
        return std::system((m_as + command + " >>" + m_folder + "/commands.log 2>&1").c_str()) == 0;
    }

    std::string m_folder;
    std::string m_bin;
    std::string m_as;
    bool m_running = false;
    int m_databases = 0;
};

}  // namespace orvx::store::test
