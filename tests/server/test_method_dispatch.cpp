#include "server/http_service.h"
#include "server/method_table.h"
#include "server/storage.h"
#include "server_process.h"

#include "platform/server_connection.h"

#include <QTemporaryDir>
#include <QTest>

#include <httplib.h>

#include <memory>
#include <thread>

using namespace velmora::server;

// The dispatch rules with handlers made for the test, served in-process over real HTTP.
class TestMethodDispatch : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void tableAcceptsOnlyCatalogueMethodsOnce();
    void streamAnswer();
    void failingHandlers_data();
    void failingHandlers();

private:
    TestDatabase m_db;
    std::unique_ptr<Storage> m_storage;
    MethodTable m_methods;
    std::unique_ptr<HttpService> m_service;
    std::thread m_thread;
    int m_port = 0;
    QByteArray m_document;
};

void TestMethodDispatch::initTestCase()
{
    VELMORA_REQUIRE_DATABASE(m_db);
    m_storage = m_db.openStorage();

    m_document.resize(300 * 1024);
    for (int i = 0; i < m_document.size(); ++i)
        m_document[i] = static_cast<char>((i * 31) ^ (i >> 8));
    m_methods.add(QStringLiteral("BelgeIndir"), [this](const CallContext& call) -> MethodAnswer {
        const qint32 sirano = call.int32(0);
        return StreamAnswer{m_document,
                            {qint64(m_document.size()), QStringLiteral("Fiyat listesi %1 ğüşİ.pdf").arg(sirano)}};
    });
    // Handlers that break their declaration or fail.
    m_methods.add(QStringLiteral("KayanYaziGetir"), [](const CallContext&) -> MethodAnswer {
        return velmora::CallAnswer{QJsonValue(42), {}};
    });
    m_methods.add(QStringLiteral("BannerResimVer"), [](const CallContext&) -> MethodAnswer {
        return velmora::CallAnswer{QJsonValue::Null, {}};
    });
    m_methods.add(QStringLiteral("ResimVer5"), [](const CallContext&) -> MethodAnswer {
        return StreamAnswer{QByteArray("x"), {}};
    });
    m_methods.add(QStringLiteral("DuyuruVer"),
                  [](const CallContext&) -> MethodAnswer { throw std::runtime_error("disk dolu"); });
    m_methods.add(QStringLiteral("TeslimVer"), [](const CallContext& call) -> MethodAnswer {
        QSqlDatabase db = call.storage().connection();
        Storage::run(db, QStringLiteral("SELECT * FROM yok"));
        return velmora::CallAnswer{};
    });

    m_service = std::make_unique<HttpService>(*m_storage, m_methods, HttpService::Options{});
    m_port = m_service->bind(QStringLiteral("127.0.0.1"), 0);
    QVERIFY(m_port > 0);
    m_thread = std::thread([this] { m_service->run(); });
}

void TestMethodDispatch::cleanupTestCase()
{
    if (m_service)
        m_service->stop();
    if (m_thread.joinable())
        m_thread.join();
}

void TestMethodDispatch::tableAcceptsOnlyCatalogueMethodsOnce()
{
    MethodTable table;
    const MethodHandler handler = [](const CallContext&) -> MethodAnswer { return velmora::CallAnswer{}; };
    QVERIFY_THROWS_EXCEPTION(std::logic_error, table.add(QStringLiteral("EchoString"), handler));
    table.add(QStringLiteral("KargoVer"), handler);
    QVERIFY_THROWS_EXCEPTION(std::logic_error, table.add(QStringLiteral("KargoVer"), handler));
    QCOMPARE(table.names(), QStringList{QStringLiteral("KargoVer")});
}

void TestMethodDispatch::streamAnswer()
{
    velmora::ServerConnection connection(QStringLiteral("127.0.0.1"), m_port);
    connection.open();
    QJsonArray outputs;
    auto stream = connection.callStream(QStringLiteral("BelgeIndir"), {7}, &outputs);
    QCOMPARE(stream->size(), qint64(m_document.size()));
    QCOMPARE(stream->readAllOrThrow(), m_document);
    QCOMPARE(outputs, (QJsonArray{qint64(m_document.size()), QStringLiteral("Fiyat listesi 7 ğüşİ.pdf")}));

    // On the wire: Content-Length and an ASCII-only outputs header.
    httplib::Client raw("127.0.0.1", m_port);
    const auto res = raw.Post("/datasnap/TServerMethods1.BelgeIndir", R"({"params":[7]})", "application/json");
    QVERIFY(res);
    QCOMPARE(res->status, 200);
    QCOMPARE(res->get_header_value("Content-Length"), std::to_string(m_document.size()));
    const std::string header = res->get_header_value("X-Velmora-Outputs");
    QVERIFY(!header.empty());
    for (const char c : header)
        QVERIFY(static_cast<unsigned char>(c) < 0x80);
}

void TestMethodDispatch::failingHandlers_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("errorClass");
    QTest::addColumn<QString>("messagePart");

    QTest::newRow("catalogue method without a handler")
        << QStringLiteral("SepetSayisi") << QByteArray(R"({"params":[null]})") << 501
        << QStringLiteral("NotImplemented") << QStringLiteral("SepetSayisi");
    QTest::newRow("parameters are checked before the missing handler")
        << QStringLiteral("SepetSayisi") << QByteArray(R"({"params":[]})") << 400 << QStringLiteral("BadRequest")
        << QStringLiteral("1 parametre");
    QTest::newRow("number for a text result") << QStringLiteral("KayanYaziGetir") << QByteArray(R"({"params":[]})")
                                              << 500 << QStringLiteral("InternalError") << QStringLiteral("sonuç");
    QTest::newRow("plain answer for a stream method")
        << QStringLiteral("BannerResimVer") << QByteArray(R"({"params":[]})") << 500 << QStringLiteral("InternalError")
        << QStringLiteral("akış");
    QTest::newRow("stream without its outputs") << QStringLiteral("ResimVer5") << QByteArray(R"({"params":[1]})") << 500
                                                << QStringLiteral("InternalError") << QStringLiteral("çıkış");
    QTest::newRow("handler throws") << QStringLiteral("DuyuruVer") << QByteArray(R"({"params":[]})") << 500
                                    << QStringLiteral("InternalError") << QStringLiteral("disk dolu");
    QTest::newRow("statement fails") << QStringLiteral("TeslimVer") << QByteArray(R"({"params":[]})") << 500
                                     << QStringLiteral("StorageError") << QStringLiteral("yok");
}

void TestMethodDispatch::failingHandlers()
{
    QFETCH(QString, method);
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    QFETCH(QString, errorClass);
    QFETCH(QString, messagePart);

    httplib::Client raw("127.0.0.1", m_port);
    const auto res =
        raw.Post(("/datasnap/TServerMethods1." + method).toStdString(), body.toStdString(), "application/json");
    QVERIFY(res);
    QCOMPARE(res->status, status);
    const auto error = velmora::wire::decodeError(QByteArray::fromStdString(res->body));
    QVERIFY2(error, res->body.c_str());
    QCOMPARE(error->errorClass, errorClass);
    QVERIFY2(error->message.contains(messagePart), qPrintable(error->message));

    // The client reports the server's message.
    velmora::ServerConnection connection(QStringLiteral("127.0.0.1"), m_port);
    connection.open();
    try {
        connection.call(method, velmora::wire::decodeRequest(body));
        QFAIL("the call should fail");
    } catch (const velmora::RemoteError& e) {
        QCOMPARE(e.kind(), velmora::RemoteError::Kind::Server);
        QCOMPARE(e.httpStatus(), status);
        QCOMPARE(e.message(), error->message);
    }
}

QTEST_GUILESS_MAIN(TestMethodDispatch)
#include "test_method_dispatch.moc"
