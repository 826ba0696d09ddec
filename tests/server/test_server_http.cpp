#include "server/storage.h"
#include "server_process.h"

#include "platform/record.h"
#include "platform/server_connection.h"
#include "session/bilgisayar_kimligi.h"
#include "session/kayitlar.h"

#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

#include <httplib.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

using velmora::server::CustomerAccount;
using velmora::server::Representative;
using velmora::server::Storage;
using velmora::server::User;

Q_DECLARE_METATYPE(TSonucBilgisi)

namespace {

// One field per line, so that a failed comparison names the field.
QString fieldsText(const TSonucBilgisi& record)
{
    const QJsonObject fields = velmora::recordFields(record);
    QStringList lines;
    for (auto it = fields.begin(); it != fields.end(); ++it)
        lines << it.key() + QLatin1Char('=') +
                     QString::fromUtf8(QJsonDocument(QJsonArray{it.value()}).toJson(QJsonDocument::Compact));
    return lines.join(QLatin1Char('\n'));
}

TSonucBilgisi sessionRecord(const QJsonValue& result)
{
    const auto record = velmora::decodeRecord<TSonucBilgisi>(result);
    if (!record)
        throw std::runtime_error("BuyukGetir answered null");
    return *record;
}

} // namespace

class TestServerHttp : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void identity();
    void ipEcho();
    void buyukGetir_data();
    void buyukGetir();
    void buyukGetirIsLogged();
    void cikisGonderIsLogged();
    void malformedRequests_data();
    void malformedRequests();
    void concurrentCallsAllLand();
    void installerDownload();
    void demoData_data();
    void demoData();
    void callsGoOnAfterTheDatabaseDropsTheConnections();

private:
    velmora::CallAnswer call(const QString& method, const QJsonArray& params);
    std::unique_ptr<httplib::Client> rawClient() const;

    TestDatabase m_db;
    std::unique_ptr<Storage> m_storage;
    std::unique_ptr<ServerProcess> m_server;
    TSonucBilgisi m_dealer;
    TSonucBilgisi m_representative;
    TSonucBilgisi m_inactive;
};

void TestServerHttp::initTestCase()
{
    VELMORA_REQUIRE_DATABASE(m_db);
    m_storage = m_db.openStorage();
    Storage& s = *m_storage;
    const qint32 ali = s.addRepresentative(
        {0, QStringLiteral("Ali Vural"), QStringLiteral("0532 111 22 33"), QStringLiteral("ali@velmora.example")});
    const qint32 zeynep = s.addRepresentative({0, QStringLiteral("Zeynep Şahin"), QStringLiteral("0533 444 55 66"),
                                               QStringLiteral("zeynep@velmora.example")});
    CustomerAccount account;
    account.code = QStringLiteral("120.01.001");
    account.name = QStringLiteral("Çınar Oto Yedek Parça");
    account.city = QStringLiteral("Bursa");
    account.representative = ali;
    const qint32 cinar = s.addCustomerAccount(account);
    account.code = QStringLiteral("120.01.002");
    account.name = QStringLiteral("Güneş Otomotiv");
    account.representative = zeynep;
    const qint32 gunes = s.addCustomerAccount(account);

    User dealer{0, QStringLiteral("BAYI"), QStringLiteral("1234"), 1, 3, QStringLiteral("bayi@cinar.example"), cinar,
                0};
    dealer.no = s.addUser(dealer);
    // A representative user speaks for himself, whatever account he is tied to.
    User representative{
        0, QStringLiteral("TEMSILCI"), QStringLiteral("5678"), 1, 2, QStringLiteral("z@velmora.example"), 0, zeynep};
    representative.no = s.addUser(representative);
    User inactive{0, QStringLiteral("PASIF"), QStringLiteral("abc"), 0, 4, QString(), gunes, 0};
    inactive.no = s.addUser(inactive);
    s.registerInstallation(QStringLiteral("PC-BAYI"), dealer.no);
    s.registerInstallation(QStringLiteral("PC-TEMSILCI"), representative.no);
    s.registerInstallation(QStringLiteral("PC-PASIF"), inactive.no);
    // Not the compiled-in default: the answer must come from the setting.
    s.setClientVersion(19);

    m_dealer.FVarmi = true;
    m_dealer.FBILGISAYARID = QStringLiteral("PC-BAYI");
    m_dealer.FSirano = dealer.no;
    m_dealer.FADI = QStringLiteral("BAYI");
    m_dealer.FSIFRE = QStringLiteral("1234");
    m_dealer.FAKTIF = 1;
    m_dealer.FMusteriTipi = 3;
    m_dealer.FKullanicimail = QStringLiteral("bayi@cinar.example");
    m_dealer.FCARINO = cinar;
    m_dealer.FCariAdi = QStringLiteral("Çınar Oto Yedek Parça");
    m_dealer.Fcarikod = QStringLiteral("120.01.001");
    m_dealer.FSaticiNo = ali;
    m_dealer.FSaticiAdi = QStringLiteral("Ali Vural");
    m_dealer.FSaticiTelefon = QStringLiteral("0532 111 22 33");
    m_dealer.FSaticiMail = QStringLiteral("ali@velmora.example");
    m_dealer.FVersion = 19;

    m_representative.FVarmi = true;
    m_representative.FBILGISAYARID = QStringLiteral("PC-TEMSILCI");
    m_representative.FSirano = representative.no;
    m_representative.FADI = QStringLiteral("TEMSILCI");
    m_representative.FSIFRE = QStringLiteral("5678");
    m_representative.FAKTIF = 1;
    m_representative.FMusteriTipi = 2;
    m_representative.FKullanicimail = QStringLiteral("z@velmora.example");
    m_representative.FSaticiNo = zeynep;
    m_representative.FSaticiAdi = QStringLiteral("Zeynep Şahin");
    m_representative.FSaticiTelefon = QStringLiteral("0533 444 55 66");
    m_representative.FSaticiMail = QStringLiteral("zeynep@velmora.example");
    m_representative.FVersion = 19;

    m_inactive.FVarmi = true;
    m_inactive.FBILGISAYARID = QStringLiteral("PC-PASIF");
    m_inactive.FSirano = inactive.no;
    m_inactive.FADI = QStringLiteral("PASIF");
    m_inactive.FSIFRE = QStringLiteral("abc");
    m_inactive.FAKTIF = 0;
    m_inactive.FMusteriTipi = 4;
    m_inactive.FCARINO = gunes;
    m_inactive.FCariAdi = QStringLiteral("Güneş Otomotiv");
    m_inactive.Fcarikod = QStringLiteral("120.01.002");
    m_inactive.FSaticiNo = zeynep;
    m_inactive.FSaticiAdi = QStringLiteral("Zeynep Şahin");
    m_inactive.FSaticiTelefon = QStringLiteral("0533 444 55 66");
    m_inactive.FSaticiMail = QStringLiteral("zeynep@velmora.example");
    m_inactive.FVersion = 19;

    m_server = std::make_unique<ServerProcess>(m_db);
    QVERIFY2(m_server->start(), qPrintable(m_server->errorText()));
}

void TestServerHttp::cleanupTestCase()
{
    if (m_server && m_server->port() > 0)
        QVERIFY2(m_server->stop(), "SIGTERM must end the server with exit code 0");
}

velmora::CallAnswer TestServerHttp::call(const QString& method, const QJsonArray& params)
{
    velmora::ServerConnection connection(QStringLiteral("127.0.0.1"), m_server->port());
    connection.open();
    return connection.call(method, params);
}

std::unique_ptr<httplib::Client> TestServerHttp::rawClient() const
{
    auto client = std::make_unique<httplib::Client>("127.0.0.1", m_server->port());
    client->set_connection_timeout(std::chrono::seconds(5));
    client->set_read_timeout(std::chrono::seconds(10));
    return client;
}

void TestServerHttp::identity()
{
    const auto res = rawClient()->Get("/datasnap/");
    QVERIFY(res);
    QCOMPARE(res->status, 200);
    const QJsonObject who = QJsonDocument::fromJson(QByteArray::fromStdString(res->body)).object();
    QCOMPARE(who.value(QStringLiteral("server")).toString(), QStringLiteral("velmora-server"));
    QVERIFY(who.value(QStringLiteral("methods")).toArray().contains(QStringLiteral("BuyukGetir")));

    velmora::ServerConnection connection(QStringLiteral("127.0.0.1"), m_server->port());
    connection.open();
    QVERIFY(connection.isOpen());
}

void TestServerHttp::ipEcho()
{
    const auto res = rawClient()->Get("/ip.php");
    QVERIFY(res);
    QCOMPARE(res->status, 200);
    QCOMPARE(QString::fromStdString(res->body), QStringLiteral("127.0.0.1"));
}

void TestServerHttp::buyukGetir_data()
{
    QTest::addColumn<QString>("idsi");
    QTest::addColumn<TSonucBilgisi>("expected");

    QTest::newRow("dealer, representative of his account") << QStringLiteral("PC-BAYI") << m_dealer;
    QTest::newRow("representative user") << QStringLiteral("PC-TEMSILCI") << m_representative;
    QTest::newRow("inactive user is still returned") << QStringLiteral("PC-PASIF") << m_inactive;

    TSonucBilgisi unknown;
    unknown.FBILGISAYARID = QStringLiteral("PC-YABANCI");
    unknown.FVersion = 19;
    QTest::newRow("unknown computer") << QStringLiteral("PC-YABANCI") << unknown;
    // Identifiers are exact: another case is another computer.
    TSonucBilgisi otherCase = unknown;
    otherCase.FBILGISAYARID = QStringLiteral("pc-bayi");
    QTest::newRow("identifier case matters") << QStringLiteral("pc-bayi") << otherCase;
}

void TestServerHttp::buyukGetir()
{
    QFETCH(QString, idsi);
    QFETCH(TSonucBilgisi, expected);
    const velmora::CallAnswer answer = call(QStringLiteral("BuyukGetir"), {idsi});
    QVERIFY(answer.outputs.isEmpty());
    QCOMPARE(fieldsText(sessionRecord(answer.result)), fieldsText(expected));
}

void TestServerHttp::buyukGetirIsLogged()
{
    const qsizetype before = m_storage->sessionLog().size();
    call(QStringLiteral("BuyukGetir"), {QStringLiteral("PC-BAYI")});
    call(QStringLiteral("BuyukGetir"), {QStringLiteral("PC-YOK")});
    const auto log = m_storage->sessionLog();
    QCOMPARE(log.size(), before + 2);

    const auto& known = log[log.size() - 2];
    QCOMPARE(known.event, QStringLiteral("giris"));
    QCOMPARE(known.remoteAddress, QStringLiteral("127.0.0.1"));
    QVERIFY(known.record.FVarmi);
    QCOMPARE(known.record.FSirano, m_dealer.FSirano);
    QCOMPARE(known.record.FCARINO, m_dealer.FCARINO);
    QVERIFY2(known.record.FSIFRE.isEmpty(), "passwords are never logged");
    QVERIFY(qAbs(known.time.secsTo(QDateTime::currentDateTimeUtc())) < 60);

    const auto& unknown = log.last();
    QVERIFY(!unknown.record.FVarmi);
    QCOMPARE(unknown.record.FBILGISAYARID, QStringLiteral("PC-YOK"));
}

void TestServerHttp::cikisGonderIsLogged()
{
    TSonucBilgisi bilgi = m_dealer;
    bilgi.FBilgiSayarAdi = QStringLiteral("MUHASEBE-PC");
    bilgi.FBilgisayarKullanici = QStringLiteral("Hasan");
    bilgi.FDisip = QStringLiteral("85.105.12.7");
    bilgi.FIcip = QStringLiteral("192.168.1.23");
    // A representative who chose a customer logs out with that customer.
    bilgi.FCARINO = 4711;
    bilgi.FCariAdi = QStringLiteral("Seçilen Müşteri Ltd.");

    const qsizetype before = m_storage->sessionLog().size();
    const velmora::CallAnswer answer = call(QStringLiteral("CikisGonder"), {velmora::encodeRecord(&bilgi)});
    QVERIFY(answer.result.isNull());
    QVERIFY(answer.outputs.isEmpty());

    const auto log = m_storage->sessionLog();
    QCOMPARE(log.size(), before + 1);
    const auto& entry = log.last();
    QCOMPARE(entry.event, QStringLiteral("cikis"));
    QCOMPARE(entry.remoteAddress, QStringLiteral("127.0.0.1"));
    TSonucBilgisi expected = bilgi;
    expected.FSIFRE.clear();
    QCOMPARE(fieldsText(entry.record), fieldsText(expected));
}

void TestServerHttp::malformedRequests_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("body"); // null: a GET
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("errorClass");

    const QString buyuk = QStringLiteral("/datasnap/TServerMethods1.BuyukGetir");
    const QString cikis = QStringLiteral("/datasnap/TServerMethods1.CikisGonder");
    const QString cariBilgisi = QStringLiteral("/datasnap/TServerMethods1.MobilCariBilgisiGetir");
    const QString bad = QStringLiteral("BadRequest");

    QTest::newRow("not JSON") << buyuk << QByteArray("{params: [") << 400 << bad;
    QTest::newRow("body not an object") << buyuk << QByteArray(R"(["PC-BAYI"])") << 400 << bad;
    QTest::newRow("params missing") << buyuk << QByteArray("{}") << 400 << bad;
    QTest::newRow("params not an array") << buyuk << QByteArray(R"({"params":"PC-BAYI"})") << 400 << bad;
    QTest::newRow("too few params") << buyuk << QByteArray(R"({"params":[]})") << 400 << bad;
    QTest::newRow("too many params") << buyuk << QByteArray(R"({"params":["PC-BAYI","x"]})") << 400 << bad;
    QTest::newRow("number where text") << buyuk << QByteArray(R"({"params":[42]})") << 400 << bad;
    QTest::newRow("null where text") << buyuk << QByteArray(R"({"params":[null]})") << 400 << bad;
    QTest::newRow("text where int") << cariBilgisi << QByteArray(R"({"params":["0","PC-BAYI"]})") << 400 << bad;
    QTest::newRow("fraction where int") << cariBilgisi << QByteArray(R"({"params":[1.5,"PC-BAYI"]})") << 400 << bad;
    QTest::newRow("int beyond 32 bits") << cariBilgisi << QByteArray(R"({"params":[4294967296,"PC-BAYI"]})") << 400
                                        << bad;
    QTest::newRow("record of another type")
        << cikis << QByteArray(R"({"params":[{"type":"baglantiu.TTusSonuclari","fields":{}}]})") << 400 << bad;
    QTest::newRow("record as text") << cikis << QByteArray(R"({"params":["PC-BAYI"]})") << 400 << bad;
    QTest::newRow("record without fields")
        << cikis << QByteArray(R"({"params":[{"type":"baglantiu.TSonucBilgisi"}]})") << 400 << bad;
    QTest::newRow("record missing a field")
        << cikis << QByteArray(R"({"params":[{"type":"baglantiu.TSonucBilgisi","fields":{"FADI":"BAYI"}}]})") << 400
        << bad;
    QJsonObject record = velmora::encodeRecord(&m_dealer).toObject();
    QJsonObject fields = record.value(QStringLiteral("fields")).toObject();
    fields.insert(QStringLiteral("FSirano"), QStringLiteral("1"));
    record.insert(QStringLiteral("fields"), fields);
    QTest::newRow("record field of the wrong kind") << cikis << velmora::wire::encodeRequest({record}) << 400 << bad;
    QTest::newRow("null session record") << cikis << QByteArray(R"({"params":[null]})") << 400 << bad;
    QTest::newRow("unknown method") << QStringLiteral("/datasnap/TServerMethods1.StokSil")
                                    << QByteArray(R"({"params":[]})") << 404 << QStringLiteral("UnknownMethod");
    QTest::newRow("unknown path") << QStringLiteral("/datasnap/baska") << QByteArray() << 404
                                  << QStringLiteral("NotFound");
    QByteArray huge = R"({"params":[")" + QByteArray(1024 * 1024, 'x') + R"("]})";
    QTest::newRow("body over 1 MiB") << buyuk << huge << 413 << QStringLiteral("PayloadTooLarge");
}

void TestServerHttp::malformedRequests()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    QFETCH(QString, errorClass);

    auto client = rawClient();
    const auto res = body.isNull() ? client->Get(path.toStdString())
                                   : client->Post(path.toStdString(), body.toStdString(), "application/json");
    QVERIFY2(res, httplib::to_string(res.error()).c_str());
    QCOMPARE(res->status, status);
    const auto error = velmora::wire::decodeError(QByteArray::fromStdString(res->body));
    QVERIFY2(error, res->body.c_str());
    QCOMPARE(error->errorClass, errorClass);
    QVERIFY(!error->message.isEmpty());

    // The server goes on serving.
    const TSonucBilgisi after = sessionRecord(call(QStringLiteral("BuyukGetir"), {QStringLiteral("PC-BAYI")}).result);
    QCOMPARE(after.FADI, QStringLiteral("BAYI"));
}

void TestServerHttp::concurrentCallsAllLand()
{
    constexpr int threads = 8;
    constexpr int callsEach = 25;
    const qsizetype before = m_storage->sessionLog().size();
    std::atomic<int> good{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            try {
                velmora::ServerConnection connection(QStringLiteral("127.0.0.1"), m_server->port());
                connection.open();
                for (int i = 0; i < callsEach; ++i) {
                    if (i % 2 == 0) {
                        const auto answer = connection.call(QStringLiteral("BuyukGetir"), {QStringLiteral("PC-BAYI")});
                        if (sessionRecord(answer.result).FSirano == m_dealer.FSirano)
                            ++good;
                    } else {
                        TSonucBilgisi bilgi = m_dealer;
                        bilgi.FBilgiSayarAdi = QStringLiteral("PC-%1-%2").arg(t).arg(i);
                        connection.call(QStringLiteral("CikisGonder"), {velmora::encodeRecord(&bilgi)});
                        ++good;
                    }
                }
            } catch (const std::exception& e) {
                qWarning("worker %d: %s", t, e.what());
            }
        });
    }
    for (auto& worker : workers)
        worker.join();
    QCOMPARE(good.load(), threads * callsEach);
    QCOMPARE(m_storage->sessionLog().size(), before + threads * callsEach);
}

void TestServerHttp::installerDownload()
{
    auto client = rawClient();
    auto res = client->Get("/exe/VelmoraSetup.exe");
    QVERIFY(res);
    QCOMPARE(res->status, 404);
    QVERIFY(velmora::wire::decodeError(QByteArray::fromStdString(res->body)));

    QByteArray older(3000, '\0');
    for (int i = 0; i < older.size(); ++i)
        older[i] = static_cast<char>(i * 7);
    m_storage->storeInstaller(QStringLiteral("VelmoraSetup.exe"), 19, older);
    const QByteArray newer = "MZ newer installer \x00\x01\xff";
    m_storage->storeInstaller(QStringLiteral("VelmoraSetup.exe"), 20, newer);

    res = client->Get("/exe/VelmoraSetup.exe");
    QVERIFY(res);
    QCOMPARE(res->status, 200);
    QCOMPARE(QByteArray::fromStdString(res->body), newer);
}

void TestServerHttp::demoData_data()
{
    QTest::addColumn<QString>("demoUser");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("userType");

    QTest::newRow("dealer by default") << QString() << QStringLiteral("BAYI") << 3;
    QTest::newRow("representative") << QStringLiteral("temsilci") << QStringLiteral("TEMSILCI") << 1;
}

void TestServerHttp::demoData()
{
    QFETCH(QString, demoUser);
    QFETCH(QString, name);
    QFETCH(int, userType);

    TestDatabase database;
    VELMORA_REQUIRE_DATABASE(database);
    QStringList arguments{QStringLiteral("--demo")};
    if (!demoUser.isEmpty())
        arguments << QStringLiteral("--demo-user") << demoUser;
    ServerProcess demo(database);
    QVERIFY2(demo.start(arguments), qPrintable(demo.errorText()));
    QVERIFY(demo.outputLines().join(QLatin1Char('\n')).contains(name + QStringLiteral(", password 1234")));

    velmora::ServerConnection connection(QStringLiteral("127.0.0.1"), demo.port());
    connection.open();
    const TSonucBilgisi bilgi = sessionRecord(connection.call(QStringLiteral("BuyukGetir"), {BilgisayarIdAl()}).result);
    QVERIFY(bilgi.FVarmi);
    QCOMPARE(bilgi.FADI, name);
    QCOMPARE(bilgi.FSIFRE, QStringLiteral("1234"));
    QCOMPARE(bilgi.FAKTIF, 1);
    QCOMPARE(bilgi.FMusteriTipi, userType);
    QCOMPARE(bilgi.FVersion, 18);
    QVERIFY(!bilgi.FSaticiAdi.isEmpty());
    // Dealers work for their account; representatives choose one after login.
    QCOMPARE(bilgi.FCARINO != 0, userType >= 3);
    QCOMPARE(!bilgi.FCariAdi.isEmpty(), userType >= 3);

    auto client = httplib::Client("127.0.0.1", demo.port());
    const auto res = client.Get("/exe/VelmoraSetup.exe");
    QVERIFY(res);
    QCOMPARE(res->status, 200);
    QVERIFY(!res->body.empty());
    connection.close();
    QVERIFY(demo.stop());
}

// PostgreSQL may end sessions (a restart, an administrator): each thread opens its connection
// again on its next transaction, in the server and in this process alike.
void TestServerHttp::callsGoOnAfterTheDatabaseDropsTheConnections()
{
    if (!m_db.postgres())
        QSKIP("SQLite has no server to drop connections");
    try {
        const auto before = call(QStringLiteral("BuyukGetir"), {m_dealer.FBILGISAYARID});
        QVERIFY(m_storage->hasUsers());
        QVERIFY(m_db.dropConnections() >= 2); // the server's worker and this process
        for (int i = 0; i < 3; ++i) {
            const velmora::CallAnswer again = call(QStringLiteral("BuyukGetir"), {m_dealer.FBILGISAYARID});
            QCOMPARE(fieldsText(sessionRecord(again.result)), fieldsText(sessionRecord(before.result)));
        }
        QVERIFY(m_storage->hasUsers());
        m_storage->setSetting(QStringLiteral("yeniden"), QStringLiteral("bağlandı"));
        QCOMPARE(m_storage->setting(QStringLiteral("yeniden")), QStringLiteral("bağlandı"));
    } catch (const std::exception& e) {
        QFAIL(e.what());
    }
}

QTEST_GUILESS_MAIN(TestServerHttp)
#include "test_server_http.moc"
