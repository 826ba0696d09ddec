#pragma once

#include "server/storage.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// Which engine a test database is on; by default the one VELMORA_TEST_BACKEND names.
enum class TestBackend {
    FromEnvironment,
    SQLite,
    PostgreSQL,
};

// The database of one server test: a temporary SQLite folder, or, when the test runs on PostgreSQL
// (VELMORA_TEST_BACKEND=postgresql), a fresh database made through the maintenance database whose
// URL VELMORA_TEST_POSTGRES holds, dropped again when the fixture ends.
class TestDatabase {
public:
    explicit TestDatabase(TestBackend backend = TestBackend::FromEnvironment);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // The test asks for PostgreSQL.
    static bool postgresWanted();
    // PostgreSQL is asked for but VELMORA_TEST_POSTGRES is not set: the test skips.
    bool skipped() const { return m_skipped; }
    bool isValid() const { return m_error.isEmpty() && !m_skipped; }
    QString errorText() const { return m_error; }
    bool postgres() const { return m_postgres; }

    QString folder() const { return m_dir.path(); }
    // The server's options for this database: --data <folder> or --database <url>.
    QStringList serverArguments() const;
    // A Storage on this database, as the server opens it.
    std::unique_ptr<velmora::server::Storage> openStorage() const;
    // PostgreSQL: ends every other session on this database, as a restart of the database
    // server would; returns how many were ended, -1 on failure.
    int dropConnections();

private:
    QTemporaryDir m_dir;
    bool m_postgres = false;
    bool m_skipped = false;
    QString m_error;
    velmora::server::PostgresLocation m_maintenance;
    velmora::server::PostgresLocation m_location;
    QString m_maintenanceConnection;
};

// Skips the test function (or, in initTestCase, the whole test) when the database is not there.
#define VELMORA_REQUIRE_DATABASE(database)                                                                             \
    do {                                                                                                               \
        if ((database).skipped())                                                                                      \
            QSKIP("PostgreSQL variant: VELMORA_TEST_POSTGRES holds no maintenance database URL");                      \
        QVERIFY2((database).isValid(), qPrintable((database).errorText()));                                            \
    } while (false)

// The built velmora-server (path in VELMORA_SERVER_BIN) serving a database on a free loopback
// port. Stops it with SIGTERM when destroyed.
class ServerProcess {
public:
    explicit ServerProcess(const QString& dataDir);
    explicit ServerProcess(const TestDatabase& database);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Starts the server with --port 0, the database options and `extraArguments`, and waits for
    // its "listening on" line. On failure returns false with the reason in errorText().
    bool start(const QStringList& extraArguments = {});
    // SIGTERM, then waits; true when the server ended by itself with exit code 0.
    bool stop();
    // SIGKILL, as a crash or a power cut would end it; waits until it is gone.
    void kill();

    int port() const { return m_port; }
    QStringList outputLines() const { return m_lines; }
    QString errorText() const { return m_error; }

private:
    QStringList m_databaseArguments;
    QProcess m_process;
    QStringList m_lines;
    QString m_error;
    int m_port = 0;
};
