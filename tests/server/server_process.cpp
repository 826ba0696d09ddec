#include "server_process.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

using velmora::server::PostgresLocation;
using velmora::server::Storage;
using velmora::server::StorageError;

namespace {

std::atomic<int> nextDatabase{1};

// Runs one statement on the maintenance connection; false with the reason in `error`.
bool maintenance(const QString& connection, const QString& sql, QString& error)
{
    QSqlQuery query(QSqlDatabase::database(connection, false));
    if (query.exec(sql))
        return true;
    error = QStringLiteral("%1: %2").arg(sql, query.lastError().text());
    return false;
}

} // namespace

TestDatabase::TestDatabase(TestBackend backend)
{
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder: %1").arg(m_dir.errorString());
        return;
    }
    if (backend == TestBackend::SQLite || (backend == TestBackend::FromEnvironment && !postgresWanted()))
        return;
    m_postgres = true;
    const QString url = qEnvironmentVariable("VELMORA_TEST_POSTGRES");
    if (url.isEmpty()) {
        m_skipped = true;
        return;
    }
    try {
        m_maintenance = PostgresLocation::parse(url);
        m_maintenanceConnection = QStringLiteral("velmora-test-maintenance-%1").arg(nextDatabase.load());
        velmora::server::openPostgres(m_maintenanceConnection, m_maintenance);
    } catch (const StorageError& e) {
        m_error = e.message();
        m_maintenanceConnection.clear();
        return;
    }
    // A name of our own digits only, so it needs no quoting: the test's process, a serial and the time.
    m_location = m_maintenance;
    m_location.database = QStringLiteral("velmora_test_%1_%2_%3")
                              .arg(QCoreApplication::applicationPid())
                              .arg(nextDatabase++)
                              .arg(QDateTime::currentMSecsSinceEpoch());
    maintenance(m_maintenanceConnection,
                QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(m_location.database),
                m_error);
}

TestDatabase::~TestDatabase()
{
    if (m_maintenanceConnection.isEmpty())
        return;
    if (m_error.isEmpty()) {
        QString error;
        if (!maintenance(m_maintenanceConnection,
                         QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_location.database), error))
            qWarning("%s", qPrintable(error));
    }
    QSqlDatabase::database(m_maintenanceConnection, false).close();
    QSqlDatabase::removeDatabase(m_maintenanceConnection);
}

bool TestDatabase::postgresWanted()
{
    return qEnvironmentVariable("VELMORA_TEST_BACKEND") == QLatin1String("postgresql");
}

QStringList TestDatabase::serverArguments() const
{
    if (m_postgres)
        return {QStringLiteral("--database"), m_location.url()};
    return {QStringLiteral("--data"), m_dir.path()};
}

std::unique_ptr<Storage> TestDatabase::openStorage() const
{
    if (m_postgres)
        return std::make_unique<Storage>(m_location);
    return std::make_unique<Storage>(m_dir.path());
}

int TestDatabase::dropConnections()
{
    if (!m_postgres || m_maintenanceConnection.isEmpty())
        return -1;
    QSqlQuery query(QSqlDatabase::database(m_maintenanceConnection, false));
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM (SELECT pg_terminate_backend(pid) FROM pg_stat_activity"
                                 " WHERE datname = ? AND pid <> pg_backend_pid()) ended"));
    query.addBindValue(m_location.database);
    if (!query.exec() || !query.next())
        return -1;
    return query.value(0).toInt();
}

ServerProcess::ServerProcess(const QString& dataDir)
    : m_databaseArguments{QStringLiteral("--data"), dataDir}
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

ServerProcess::ServerProcess(const TestDatabase& database)
    : m_databaseArguments(database.serverArguments())
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

ServerProcess::~ServerProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool ServerProcess::start(const QStringList& extraArguments)
{
    const QString program = qEnvironmentVariable("VELMORA_SERVER_BIN");
    if (program.isEmpty()) {
        m_error = QStringLiteral("VELMORA_SERVER_BIN is not set");
        return false;
    }
    m_process.start(program,
                    QStringList{QStringLiteral("--port"), QStringLiteral("0")} + m_databaseArguments + extraArguments);
    if (!m_process.waitForStarted(10000)) {
        m_error = m_process.errorString();
        return false;
    }
    static const QRegularExpression listening(QStringLiteral("^listening on (\\S+):(\\d+)$"));
    QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired()) {
        while (m_process.canReadLine()) {
            const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
            m_lines.append(line);
            const auto match = listening.match(line);
            if (match.hasMatch()) {
                m_port = match.captured(2).toInt();
                return true;
            }
        }
        if (m_process.state() == QProcess::NotRunning) {
            m_error = QStringLiteral("the server ended with code %1").arg(m_process.exitCode());
            return false;
        }
        m_process.waitForReadyRead(static_cast<int>(qMax<qint64>(1, deadline.remainingTime())));
    }
    m_error = QStringLiteral("no \"listening on\" line within 15 s");
    return false;
}

bool ServerProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return false;
    m_process.terminate();
    if (!m_process.waitForFinished(10000))
        return false;
    return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
}

void ServerProcess::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(10000);
}
