#include "http_service.h"

#include "method_table.h"
#include "storage.h"

#include "platform/wire_codec.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

#include <httplib.h>

#include <cstdio>

namespace velmora::server {

namespace {

constexpr const char* kJson = "application/json; charset=utf-8";
const std::string kMethodPrefix = "/datasnap/TServerMethods1.";

void logFailure(const httplib::Request& req, int status, const QString& errorClass, const QString& message)
{
    const QByteArray line =
        QStringLiteral("%1 %2 %3 %4 -> %5 %6: %7\n")
            .arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs), QString::fromStdString(req.remote_addr),
                 QString::fromStdString(req.method), QString::fromStdString(req.path))
            .arg(status)
            .arg(errorClass, message)
            .toUtf8();
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fflush(stderr);
}

void answerError(const httplib::Request& req, httplib::Response& res, int status, const QString& errorClass,
                 const QString& message)
{
    res.status = status;
    res.set_content(wire::encodeError({errorClass, message}).toStdString(), kJson);
    logFailure(req, status, errorClass, message);
}

// The caller's IPv4 address; a v4 address mapped into v6 is given in its v4 form.
std::string callerAddress(const httplib::Request& req)
{
    const std::string mapped = "::ffff:";
    if (req.remote_addr.rfind(mapped, 0) == 0)
        return req.remote_addr.substr(mapped.size());
    return req.remote_addr;
}

} // namespace

HttpService::HttpService(Storage& storage, const MethodTable& methods, const Options& options)
    : m_storage(storage)
    , m_methods(methods)
    , m_options(options)
    , m_server(std::make_unique<httplib::Server>())
{
    const int threads = m_options.threads;
    m_server->new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<size_t>(threads)); };
    m_server->set_tcp_nodelay(true);
    m_server->set_keep_alive_max_count(m_options.keepAliveMaxCount);
    m_server->set_keep_alive_timeout(m_options.keepAliveTimeout.count());
    m_server->set_read_timeout(m_options.readTimeout);
    m_server->set_write_timeout(m_options.writeTimeout);
    m_server->set_payload_max_length(m_options.maxBodyBytes);
    installRoutes();
}

HttpService::~HttpService() = default;

int HttpService::bind(const QString& address, int port)
{
    const std::string host = address.toStdString();
    if (port == 0)
        return m_server->bind_to_any_port(host);
    return m_server->bind_to_port(host, port) ? port : -1;
}

bool HttpService::run()
{
    return m_server->listen_after_bind();
}

void HttpService::stop()
{
    m_server->stop();
}

void HttpService::installRoutes()
{
    m_server->Get("/datasnap/?", [this](const httplib::Request&, httplib::Response& res) {
        QJsonArray methods;
        for (const QString& name : m_methods.names())
            methods.append(name);
        const QJsonObject who{{QStringLiteral("server"), QLatin1String(serverName)},
                              {QStringLiteral("version"), QStringLiteral(VELMORA_SERVER_VERSION)},
                              {QStringLiteral("methods"), methods}};
        res.set_content(QJsonDocument(who).toJson(QJsonDocument::Compact).toStdString(), kJson);
    });

    m_server->Post(R"(/datasnap/TServerMethods1\.(.*))", [this](const httplib::Request& req, httplib::Response& res) {
        const QString name = QString::fromStdString(req.matches[1].str());
        try {
            QJsonArray params;
            try {
                params = wire::decodeRequest(QByteArray::fromStdString(req.body));
            } catch (const WireError& e) {
                throw CallError::badRequest(
                    QStringLiteral("TServerMethods1.%1: istek okunamadı: %2").arg(name, e.message()));
            }
            const MethodAnswer answer =
                m_methods.call(name, params, m_storage, QString::fromStdString(callerAddress(req)));
            if (const auto* stream = std::get_if<StreamAnswer>(&answer)) {
                res.set_header("X-Velmora-Outputs", wire::encodeOutputsHeader(stream->outputs).toStdString());
                res.set_content(stream->bytes.toStdString(), "application/octet-stream");
            } else {
                res.set_content(wire::encodeAnswer(std::get<CallAnswer>(answer)).toStdString(), kJson);
            }
        } catch (const CallError& e) {
            answerError(req, res, e.status(), e.errorClass(), e.message());
        } catch (const StorageError& e) {
            answerError(req, res, 500, QStringLiteral("StorageError"),
                        QStringLiteral("Sunucu hatası: %1").arg(e.message()));
        } catch (const std::exception& e) {
            answerError(req, res, 500, QStringLiteral("InternalError"),
                        QStringLiteral("Sunucu hatası: %1").arg(QString::fromUtf8(e.what())));
        }
    });

    m_server->Get("/ip.php", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content(callerAddress(req), "text/plain; charset=us-ascii");
    });

    m_server->Get("/exe/VelmoraSetup.exe", [this](const httplib::Request& req, httplib::Response& res) {
        try {
            const auto installer = m_storage.currentInstaller();
            if (!installer) {
                answerError(req, res, 404, QStringLiteral("NotFound"), QStringLiteral("Kurulum dosyası yok"));
                return;
            }
            res.set_content(installer->toStdString(), "application/octet-stream");
        } catch (const std::exception& e) {
            answerError(req, res, 500, QStringLiteral("InternalError"),
                        QStringLiteral("Sunucu hatası: %1").arg(QString::fromUtf8(e.what())));
        }
    });

    // Failures that the library answers itself (unknown path, unreadable request, body too
    // large) get the error form too.
    m_server->set_error_handler(
        httplib::Server::HandlerWithResponse([this](const httplib::Request& req, httplib::Response& res) {
            if (!res.body.empty())
                return httplib::Server::HandlerResponse::Unhandled;
            switch (res.status) {
            case 404:
                answerError(req, res, 404, QStringLiteral("NotFound"),
                            QStringLiteral("Bilinmeyen adres: %1 %2")
                                .arg(QString::fromStdString(req.method), QString::fromStdString(req.path)));
                break;
            case 413:
                answerError(req, res, 413, QStringLiteral("PayloadTooLarge"),
                            QStringLiteral("İstek çok büyük (en çok %1 bayt)").arg(m_options.maxBodyBytes));
                break;
            default:
                answerError(req, res, res.status,
                            res.status < 500 ? QStringLiteral("BadRequest") : QStringLiteral("InternalError"),
                            QStringLiteral("İstek karşılanamadı (HTTP %1)").arg(res.status));
                break;
            }
            return httplib::Server::HandlerResponse::Handled;
        }));

    m_server->set_exception_handler([](const httplib::Request& req, httplib::Response& res, std::exception_ptr) {
        answerError(req, res, 500, QStringLiteral("InternalError"), QStringLiteral("Sunucu hatası"));
    });
}

} // namespace velmora::server
