#pragma once

#include "wire_codec.h"

#include <QIODevice>
#include <QString>

#include <chrono>
#include <memory>
#include <stdexcept>

namespace httplib {
class Client;
}

namespace velmora {

// A remote call that failed: the network, the server's error answer, or an unreadable answer.
class RemoteError : public std::runtime_error {
public:
    enum class Kind {
        Transport, // could not connect, time-out, connection lost
        Server,    // the server answered with its error form
        Malformed, // the answer breaks the wire contract
    };
    RemoteError(Kind kind, const QString& message, int httpStatus = 0);
    Kind kind() const { return m_kind; }
    int httpStatus() const { return m_status; }
    QString message() const { return QString::fromUtf8(what()); }

private:
    Kind m_kind;
    int m_status;
};

class RemoteStream;

// Host, port and context of the application server. Open checks that the server answers; calls
// travel over one kept-alive HTTP connection until close. One thread uses a connection at a time.
class ServerConnection {
public:
    struct Timeouts {
        // Loopback and the distributor's network answer fast: a dead address fails quickly and
        // the connection check retries. Reads allow for the largest lists and downloads.
        std::chrono::milliseconds connect{3000};
        std::chrono::milliseconds read{60000};
        std::chrono::milliseconds write{30000};
    };

    ServerConnection();
    ServerConnection(const QString& host, int port, const QString& context = QStringLiteral("datasnap/"));
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    QString hostName() const { return m_host; }
    void setHostName(const QString& host) { m_host = host; }
    int port() const { return m_port; }
    void setPort(int port) { m_port = port; }
    QString context() const { return m_context; }
    Timeouts timeouts() const { return m_timeouts; }
    void setTimeouts(const Timeouts& timeouts) { m_timeouts = timeouts; }

    // Opens the connection; throws RemoteError when the server cannot be reached.
    void open();
    void close();
    bool isOpen() const { return m_client != nullptr; }
    // A new, closed connection with the same parameters.
    std::unique_ptr<ServerConnection> clone() const;

    // Calls TServerMethods1.<method>; the connection must be open.
    CallAnswer call(const QString& method, const QJsonArray& params);
    // Calls a method whose result is a stream. Outputs are known when this returns; the bytes are
    // read off the network as the returned stream is read.
    std::unique_ptr<RemoteStream> callStream(const QString& method, const QJsonArray& params, QJsonArray* outputs);

    QString methodPath(const QString& method) const;

private:
    void requireOpen(const QString& method) const;

    QString m_host = QStringLiteral("localhost");
    int m_port = 9090;
    QString m_context = QStringLiteral("datasnap/");
    Timeouts m_timeouts;
    std::unique_ptr<httplib::Client> m_client;
};

// The bytes of a stream result. Reading blocks until the bytes have arrived; a transfer that
// breaks off before Content-Length bytes makes read() fail with errorString() set.
class RemoteStream : public QIODevice {
    Q_OBJECT
public:
    ~RemoteStream() override;
    qint64 size() const override { return m_size; }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    bool atEnd() const override;
    // Reads everything that is left; throws RemoteError when the transfer breaks off.
    QByteArray readAllOrThrow();

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    friend class ServerConnection;
    struct Transfer;
    explicit RemoteStream(std::shared_ptr<Transfer> transfer, qint64 size);

    std::shared_ptr<Transfer> m_transfer;
    qint64 m_size = 0;
    qint64 m_read = 0;
};

} // namespace velmora
