#include "server_process.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

ServerProcess::ServerProcess(const QString& dataDir)
    : m_dataDir(dataDir)
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
                    QStringList{QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--data"), m_dataDir} +
                        extraArguments);
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
