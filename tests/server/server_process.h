#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The built velmora-server (path in VELMORA_SERVER_BIN) serving a data folder on a free loopback
// port. Stops it with SIGTERM when destroyed.
class ServerProcess {
public:
    explicit ServerProcess(const QString& dataDir);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Starts the server with --port 0 --data <dir> and `extraArguments`, and waits for its
    // "listening on" line. On failure returns false with the reason in errorText().
    bool start(const QStringList& extraArguments = {});
    // SIGTERM, then waits; true when the server ended by itself with exit code 0.
    bool stop();
    // SIGKILL, as a crash or a power cut would end it; waits until it is gone.
    void kill();

    int port() const { return m_port; }
    QStringList outputLines() const { return m_lines; }
    QString errorText() const { return m_error; }

private:
    QString m_dataDir;
    QProcess m_process;
    QStringList m_lines;
    QString m_error;
    int m_port = 0;
};
