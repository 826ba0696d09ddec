#include "http_get.h"

#include "server_connection.h"

#include <QUrl>

#include <httplib.h>

namespace velmora {

QByteArray httpGet(const QString& url, std::chrono::milliseconds connectTimeout, std::chrono::milliseconds readTimeout)
{
    const QUrl parsed(url);
    if (!parsed.isValid() || parsed.scheme() != QLatin1String("http") || parsed.host().isEmpty())
        throw RemoteError(RemoteError::Kind::Transport, QStringLiteral("Geçersiz adres: %1").arg(url));
    httplib::Client client(parsed.host().toStdString(), parsed.port(80));
    client.set_tcp_nodelay(true);
    client.set_connection_timeout(connectTimeout);
    client.set_read_timeout(readTimeout);
    QString path = parsed.path(QUrl::FullyEncoded);
    if (path.isEmpty())
        path = QStringLiteral("/");
    if (parsed.hasQuery())
        path += QLatin1Char('?') + parsed.query(QUrl::FullyEncoded);
    const auto res = client.Get(path.toStdString());
    if (!res)
        throw RemoteError(
            RemoteError::Kind::Transport,
            QStringLiteral("%1 alınamadı (%2)").arg(url, QString::fromStdString(httplib::to_string(res.error()))));
    if (res->status != 200)
        throw RemoteError(RemoteError::Kind::Transport,
                          QStringLiteral("%1 alınamadı (HTTP %2)").arg(url).arg(res->status), res->status);
    return QByteArray::fromStdString(res->body);
}

} // namespace velmora
