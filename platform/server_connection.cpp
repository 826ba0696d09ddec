#include "server_connection.h"

#include <httplib.h>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace velmora {

namespace {

constexpr size_t kStreamBufferLimit = 4 * 1024 * 1024;

QString transportText(httplib::Error error)
{
    return QStringLiteral("Sunucuya bağlanılamadı (%1)").arg(QString::fromStdString(httplib::to_string(error)));
}

void configure(httplib::Client& client, const ServerConnection::Timeouts& timeouts)
{
    client.set_tcp_nodelay(true);
    client.set_keep_alive(true);
    client.set_connection_timeout(timeouts.connect);
    client.set_read_timeout(timeouts.read);
    client.set_write_timeout(timeouts.write);
}

std::unique_ptr<httplib::Client> makeClient(const QString& host, int port, const ServerConnection::Timeouts& timeouts)
{
    auto client = std::make_unique<httplib::Client>(host.toStdString(), port);
    configure(*client, timeouts);
    return client;
}

[[noreturn]] void throwErrorAnswer(int status, const QByteArray& body)
{
    if (const auto error = wire::decodeError(body))
        throw RemoteError(RemoteError::Kind::Server, error->message, status);
    throw RemoteError(RemoteError::Kind::Malformed,
                      QStringLiteral("Sunucu beklenmeyen bir cevap verdi (HTTP %1)").arg(status), status);
}

} // namespace

RemoteError::RemoteError(Kind kind, const QString& message, int httpStatus)
    : std::runtime_error(message.toStdString())
    , m_kind(kind)
    , m_status(httpStatus)
{
}

ServerConnection::ServerConnection() = default;

ServerConnection::ServerConnection(const QString& host, int port, const QString& context)
    : m_host(host)
    , m_port(port)
    , m_context(context)
{
}

ServerConnection::~ServerConnection() = default;

void ServerConnection::open()
{
    if (m_client)
        return;
    auto client = makeClient(m_host, m_port, m_timeouts);
    const auto res = client->Get(("/" + m_context).toStdString());
    if (!res)
        throw RemoteError(RemoteError::Kind::Transport, transportText(res.error()));
    if (res->status != 200)
        throw RemoteError(RemoteError::Kind::Transport,
                          QStringLiteral("Sunucu bağlantıyı kabul etmedi (HTTP %1)").arg(res->status), res->status);
    m_client = std::move(client);
}

void ServerConnection::close()
{
    m_client.reset();
}

std::unique_ptr<ServerConnection> ServerConnection::clone() const
{
    auto copy = std::make_unique<ServerConnection>(m_host, m_port, m_context);
    copy->m_timeouts = m_timeouts;
    return copy;
}

QString ServerConnection::methodPath(const QString& method) const
{
    return QStringLiteral("/%1TServerMethods1.%2").arg(m_context, method);
}

void ServerConnection::requireOpen(const QString& method) const
{
    if (!m_client)
        throw RemoteError(RemoteError::Kind::Transport, QStringLiteral("Bağlantı açık değil (%1)").arg(method));
}

CallAnswer ServerConnection::call(const QString& method, const QJsonArray& params)
{
    requireOpen(method);
    const auto res =
        m_client->Post(methodPath(method).toStdString(), wire::encodeRequest(params).toStdString(), "application/json");
    if (!res)
        throw RemoteError(RemoteError::Kind::Transport, transportText(res.error()));
    const QByteArray body = QByteArray::fromStdString(res->body);
    if (res->status != 200)
        throwErrorAnswer(res->status, body);
    try {
        return wire::decodeAnswer(body);
    } catch (const WireError& e) {
        throw RemoteError(RemoteError::Kind::Malformed, e.message(), res->status);
    }
}

// State shared between the thread that receives a stream and the stream that hands it out.
struct RemoteStream::Transfer {
    std::mutex mutex;
    std::condition_variable changed;
    QByteArray buffer;
    bool headersReady = false;
    bool done = false;
    bool cancelled = false;
    int status = 0;
    std::string outputsHeader;
    qint64 contentLength = -1;
    QString failure;
    std::thread thread;

    void stop()
    {
        {
            std::lock_guard lock(mutex);
            cancelled = true;
        }
        changed.notify_all();
        if (thread.joinable())
            thread.join();
    }
};

std::unique_ptr<RemoteStream> ServerConnection::callStream(const QString& method, const QJsonArray& params,
                                                           QJsonArray* outputs)
{
    requireOpen(method);
    auto transfer = std::make_shared<RemoteStream::Transfer>();
    const std::string path = methodPath(method).toStdString();
    const std::string body = wire::encodeRequest(params).toStdString();

    transfer->thread = std::thread([transfer, path, body, host = m_host, port = m_port, timeouts = m_timeouts] {
        auto client = makeClient(host, port, timeouts);
        httplib::Request req;
        req.method = "POST";
        req.path = path;
        req.body = body;
        req.set_header("Content-Type", "application/json");
        req.response_handler = [&](const httplib::Response& response) {
            std::lock_guard lock(transfer->mutex);
            transfer->status = response.status;
            transfer->outputsHeader = response.get_header_value("X-Velmora-Outputs");
            if (response.has_header("Content-Length"))
                transfer->contentLength = std::stoll(response.get_header_value("Content-Length"));
            transfer->headersReady = true;
            transfer->changed.notify_all();
            return true;
        };
        req.content_receiver = [&](const char* data, size_t length, uint64_t, uint64_t) {
            std::unique_lock lock(transfer->mutex);
            transfer->changed.wait(lock, [&] {
                return transfer->cancelled || static_cast<size_t>(transfer->buffer.size()) < kStreamBufferLimit;
            });
            if (transfer->cancelled)
                return false;
            transfer->buffer.append(data, static_cast<qsizetype>(length));
            transfer->changed.notify_all();
            return true;
        };
        httplib::Response res;
        httplib::Error error = httplib::Error::Success;
        client->send(req, res, error);
        std::lock_guard lock(transfer->mutex);
        if (error != httplib::Error::Success && !transfer->cancelled)
            transfer->failure = transportText(error);
        transfer->done = true;
        transfer->changed.notify_all();
    });

    std::unique_lock lock(transfer->mutex);
    transfer->changed.wait(lock, [&] { return transfer->headersReady || transfer->done; });
    if (!transfer->headersReady) {
        const QString failure = transfer->failure;
        lock.unlock();
        transfer->stop();
        throw RemoteError(RemoteError::Kind::Transport,
                          failure.isEmpty() ? transportText(httplib::Error::Unknown) : failure);
    }
    if (transfer->status != 200) {
        transfer->changed.wait(lock, [&] { return transfer->done; });
        const int status = transfer->status;
        const QByteArray errorBody = transfer->buffer;
        lock.unlock();
        transfer->stop();
        throwErrorAnswer(status, errorBody);
    }
    const QByteArray header = QByteArray::fromStdString(transfer->outputsHeader);
    const qint64 length = transfer->contentLength;
    lock.unlock();
    try {
        if (length < 0)
            throw WireError(QStringLiteral("Sunucu cevabı okunamadı: akışın uzunluğu yok"));
        const QJsonArray decoded = header.isEmpty() ? QJsonArray() : wire::decodeOutputsHeader(header);
        if (outputs)
            *outputs = decoded;
    } catch (const WireError& e) {
        transfer->stop();
        throw RemoteError(RemoteError::Kind::Malformed, e.message(), 200);
    }
    return std::unique_ptr<RemoteStream>(new RemoteStream(std::move(transfer), length));
}

RemoteStream::RemoteStream(std::shared_ptr<Transfer> transfer, qint64 size)
    : m_transfer(std::move(transfer))
    , m_size(size)
{
    QIODevice::open(QIODevice::ReadOnly);
}

RemoteStream::~RemoteStream()
{
    m_transfer->stop();
}

qint64 RemoteStream::bytesAvailable() const
{
    std::lock_guard lock(m_transfer->mutex);
    return m_transfer->buffer.size() + QIODevice::bytesAvailable();
}

bool RemoteStream::atEnd() const
{
    return m_read >= m_size && QIODevice::bytesAvailable() == 0;
}

qint64 RemoteStream::readData(char* data, qint64 maxSize)
{
    if (m_read >= m_size)
        return -1;
    std::unique_lock lock(m_transfer->mutex);
    m_transfer->changed.wait(lock, [&] { return !m_transfer->buffer.isEmpty() || m_transfer->done; });
    if (m_transfer->buffer.isEmpty()) {
        setErrorString(m_transfer->failure.isEmpty()
                           ? QStringLiteral("Sunucu akışı %1 bayt eksik gönderdi").arg(m_size - m_read)
                           : m_transfer->failure);
        return -1;
    }
    const qint64 count = std::min<qint64>({maxSize, m_transfer->buffer.size(), m_size - m_read});
    memcpy(data, m_transfer->buffer.constData(), static_cast<size_t>(count));
    m_transfer->buffer.remove(0, count);
    m_read += count;
    m_transfer->changed.notify_all();
    return count;
}

QByteArray RemoteStream::readAllOrThrow()
{
    QByteArray all;
    all.reserve(static_cast<qsizetype>(m_size));
    char chunk[64 * 1024];
    while (!atEnd()) {
        const qint64 n = read(chunk, sizeof chunk);
        if (n < 0)
            throw RemoteError(RemoteError::Kind::Transport, errorString());
        all.append(chunk, static_cast<qsizetype>(n));
    }
    return all;
}

} // namespace velmora
