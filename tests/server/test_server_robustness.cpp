// The server against hostile and broken clients, and against being killed in the middle of
// orders: it goes on answering, its database stays consistent, and no acknowledged order is lost.

#include "server/http_service.h"
#include "server/ordering_data.h"
#include "server/storage.h"
#include "server/table_cells.h"
#include "server_process.h"

#include "platform/server_connection.h"
#include "remote/proxim.h"
#include "session/kayitlar.h"

#include <QElapsedTimer>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

using namespace velmora::server;

namespace {

TSonucBilgisi dealerSession(const QString& computer, qint32 user, qint32 account)
{
    TSonucBilgisi s;
    s.FVarmi = true;
    s.FBILGISAYARID = computer;
    s.FSirano = user;
    s.FMusteriTipi = 3;
    s.FAKTIF = 1;
    s.FCARINO = account;
    return s;
}

// Delivery kind 7, cargo kind 2 and a company carrying it; returns the company.
qint32 addShipping(Storage& s)
{
    addDeliveryKind(s, 7, QStringLiteral("Kargo"));
    addCargoKind(s, 2, QStringLiteral("Alıcı Ödemeli"));
    return addCargoCompany(s, QStringLiteral("Yurtiçi Kargo"), QString(), {2});
}

QString integrityOf(Storage& storage)
{
    return storage.read([](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(db, QStringLiteral("PRAGMA integrity_check"));
        QStringList lines;
        while (q.next())
            lines << q.value(0).toString();
        return lines.join(QLatin1Char('\n'));
    });
}

// A bare TCP connection to the server, for requests no HTTP client would send.
class RawSocket {
public:
    explicit RawSocket(int port)
        : m_fd(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        // Generous: PostgreSQL hands a 24 MB picture over as 48 MB of hex text, a second or more
        // before the head goes out, longer while other tests run.
        timeval timeout{20, 0};
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        ::setsockopt(m_fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
        m_connected = ::connect(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawSocket() { ::close(m_fd); }
    RawSocket(const RawSocket&) = delete;
    RawSocket& operator=(const RawSocket&) = delete;

    bool connected() const { return m_connected; }
    bool send(const QByteArray& bytes)
    {
        return ::send(m_fd, bytes.constData(), static_cast<size_t>(bytes.size()), MSG_NOSIGNAL) == bytes.size();
    }
    // Up to `count` bytes, empty at the end or after the timeout.
    QByteArray receive(int count)
    {
        QByteArray bytes(count, Qt::Uninitialized);
        const ssize_t got = ::recv(m_fd, bytes.data(), static_cast<size_t>(count), 0);
        bytes.resize(got > 0 ? got : 0);
        return bytes;
    }

private:
    int m_fd;
    bool m_connected = false;
};

} // namespace

class TestServerRobustness : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void hostileSearchTexts_data();
    void hostileSearchTexts();
    void hugeSearchTexts_data();
    void hugeSearchTexts();
    void halfBodyThenDisconnect();
    void disconnectDuringLargeStream();
    void databaseIntactAfterwards();

    void killDuringOrdersLosesNoAcknowledgedOrder();

private:
    // Answers a normal search, so the server still serves.
    void verifyServing();
    qint64 stockCount();

    TestDatabase m_db;
    std::unique_ptr<Storage> m_storage;
    std::unique_ptr<ServerProcess> m_server;
    std::unique_ptr<velmora::ServerConnection> m_connection;
    TSonucBilgisi m_dealer;
    qint32 m_bigPictureItem = 0;
    QByteArray m_bigPicture;
    qint64 m_stockCount = 0;
};

void TestServerRobustness::initTestCase()
{
    VELMORA_REQUIRE_DATABASE(m_db);
    m_storage = m_db.openStorage();
    Storage& s = *m_storage;
    CustomerAccount account;
    account.code = QStringLiteral("120.01.001");
    account.name = QStringLiteral("Çınar Oto");
    const qint32 carino = s.addCustomerAccount(account);
    const qint32 dealer = s.addUser({0, QStringLiteral("BAYI"), QStringLiteral("1"), 1, 3, {}, carino, 0});
    s.registerInstallation(QStringLiteral("PC-A"), dealer);
    m_dealer = dealerSession(QStringLiteral("PC-A"), dealer, carino);

    StockItem item;
    item.code = QStringLiteral("FB-1001");
    item.name = QStringLiteral("Fren Balatası Ön");
    item.listPrice = 100;
    addStockItem(s, item);
    item.code = QStringLiteral("KL-100");
    item.name = QStringLiteral("Kelepçe 100%_ Paslanmaz \\ Çelik");
    addStockItem(s, item);
    item.code = QStringLiteral("AD-12");
    item.name = QStringLiteral("Adaptör 1/2\" O'Ring");
    addStockItem(s, item);
    item.code = QStringLiteral("RS-1");
    item.name = QStringLiteral("Katalog Resmi");
    m_bigPictureItem = addStockItem(s, item);
    s.write([](QSqlDatabase& db) {
        StockWriter writer(db);
        StockItem gasket;
        gasket.name = QStringLiteral("Conta Takımı");
        for (int i = 0; i < 300; ++i) {
            gasket.code = QStringLiteral("CT-%1").arg(i, 4, 10, QLatin1Char('0'));
            writer.add(gasket);
        }
    });
    // Far more than the socket buffers hold, so that the server is still writing when the
    // client goes away.
    m_bigPicture.resize(24 * 1024 * 1024);
    for (qsizetype i = 0; i < m_bigPicture.size(); ++i)
        m_bigPicture[i] = static_cast<char>((i * 131) >> 3);
    setStockPicture(s, m_bigPictureItem, m_bigPicture);
    m_stockCount = stockCount();

    m_server = std::make_unique<ServerProcess>(m_db);
    QVERIFY2(m_server->start(), qPrintable(m_server->errorText()));
    m_connection = std::make_unique<velmora::ServerConnection>(QStringLiteral("127.0.0.1"), m_server->port());
    m_connection->open();
}

void TestServerRobustness::cleanupTestCase()
{
    m_connection.reset();
    if (m_server && m_server->port() > 0)
        m_server->stop();
}

qint64 TestServerRobustness::stockCount()
{
    return m_storage->read([](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(db, QStringLiteral("SELECT COUNT(*) FROM stoklar"));
        return q.next() ? q.value(0).toLongLong() : -1;
    });
}

void TestServerRobustness::verifyServing()
{
    velmora::ServerConnection fresh(QStringLiteral("127.0.0.1"), m_server->port());
    fresh.open();
    TServerMethods1Client proxy(fresh);
    QCOMPARE(codes(*proxy.StokAraVelmora2(QStringLiteral("FREN"), kopyasi(m_dealer))), QStringList{"FB-1001"});
    QCOMPARE(proxy.StokAraVelmora2(QStringLiteral("CONTA"), kopyasi(m_dealer))->rows.size(), 300);
}

void TestServerRobustness::hostileSearchTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    const QStringList kelepce{QStringLiteral("KL-100")};
    const QStringList adaptor{QStringLiteral("AD-12")};
    QTest::newRow("quote, OR 1=1, comment") << QStringLiteral("' OR 1=1 --") << QStringList{};
    QTest::newRow("statement after a quote") << QStringLiteral("\"; DROP TABLE stoklar; --") << QStringList{};
    QTest::newRow("escaped quote pair") << QStringLiteral("\\' OR ''='") << QStringList{};
    QTest::newRow("percent is a letter, not a wildcard") << QStringLiteral("%") << kelepce;
    QTest::newRow("underscore is a letter, not a wildcard") << QStringLiteral("_") << kelepce;
    QTest::newRow("backslash") << QStringLiteral("\\") << kelepce;
    QTest::newRow("wildcards inside a word") << QStringLiteral("100%_") << kelepce;
    QTest::newRow("single quote inside a word") << QStringLiteral("o'ring") << adaptor;
    QTest::newRow("double quote inside a word") << QStringLiteral("1/2\"") << adaptor;
    QTest::newRow("index syntax") << QStringLiteral("FREN* NEAR(BALATA) NOT ON") << QStringList{};
    QTest::newRow("control characters") << QStringLiteral("FREN\x01\t") << QStringList{};
    QTest::newRow("NUL inside a word") << QStringLiteral("KL") + QChar(0) + QStringLiteral("100") << QStringList{};
    QTest::newRow("NUL after a word") << QStringLiteral("KL-100") + QChar(0) << QStringList{};
}

void TestServerRobustness::hostileSearchTexts()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    TServerMethods1Client proxy(*m_connection);
    QCOMPARE(codes(*proxy.StokAraVelmora2(text, kopyasi(m_dealer))), expected);
    QCOMPARE(stockCount(), m_stockCount);
    verifyServing();
}

void TestServerRobustness::hugeSearchTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("one word of 100,000 letters") << QString(100000, QLatin1Char('A')) << QStringList{};
    QTest::newRow("one code repeated into 100,000 characters")
        << QStringLiteral("CT-0001 ").repeated(12500) << QStringList{"CT-0001"};
    // Every word of one or two letters and digits: each is a condition of its own.
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    QString shortWords;
    while (shortWords.size() < 100000) {
        for (const QChar first : alphabet) {
            shortWords += QString(first) + QLatin1Char(' ');
            for (const QChar second : alphabet)
                shortWords += QString(first) + second + QLatin1Char(' ');
        }
    }
    QTest::newRow("1,332 different short words") << shortWords << QStringList{};
    QTest::newRow("many short words, all of one item")
        << QStringLiteral("P A S L N M Z PA AS SL LA AN NM MA AZ K E KE EL ").repeated(2100) << QStringList{"KL-100"};
}

void TestServerRobustness::hugeSearchTexts()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QVERIFY(text.size() >= 100000);
    TServerMethods1Client proxy(*m_connection);
    QElapsedTimer took;
    took.start();
    const QStringList found = codes(*proxy.StokAraVelmora2(text, kopyasi(m_dealer)));
    if (expected.isEmpty())
        QVERIFY2(found.size() <= 300, qPrintable(found.join(QLatin1Char(' '))));
    else
        QCOMPARE(found, expected);
    QVERIFY2(took.elapsed() < 10000, "a long text must not hold a worker for long");
    verifyServing();
}

void TestServerRobustness::halfBodyThenDisconnect()
{
    const QByteArray body = R"({"params":["CONTA",{"type":"baglantiu.TSonucBilgisi","fields":{}}]})";
    // More of them than the server has workers: a worker stuck on one would starve the rest.
    for (int i = 0; i < HttpService::Options{}.threads + 16; ++i) {
        RawSocket socket(m_server->port());
        QVERIFY(socket.connected());
        QVERIFY(socket.send("POST /datasnap/TServerMethods1.StokAraVelmora2 HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                            "Content-Type: application/json\r\nContent-Length: " +
                            QByteArray::number(body.size() * 4) + "\r\n\r\n" + body.left(body.size() / 2)));
    }
    QElapsedTimer took;
    took.start();
    verifyServing();
    QVERIFY2(took.elapsed() < 5000, "broken uploads must not hold the workers");
}

void TestServerRobustness::disconnectDuringLargeStream()
{
    // The whole picture comes through for a client that reads it.
    {
        TServerMethods1Client proxy(*m_connection);
        qint64 boy = -1;
        velmora::RemoteStream* stream = proxy.ResimVer5(m_bigPictureItem, boy);
        QCOMPARE(boy, qint64(m_bigPicture.size()));
        QVERIFY(stream->readAllOrThrow() == m_bigPicture);
    }
    const QByteArray body = "{\"params\":[" + QByteArray::number(m_bigPictureItem) + "]}";
    for (int i = 0; i < 12; ++i) {
        RawSocket socket(m_server->port());
        QVERIFY(socket.connected());
        QVERIFY(socket.send("POST /datasnap/TServerMethods1.ResimVer5 HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                            "Content-Type: application/json\r\nContent-Length: " +
                            QByteArray::number(body.size()) + "\r\n\r\n" + body));
        // The head and the first bytes of the picture, then the client is gone.
        QByteArray head;
        for (int reads = 0; reads < 100 && !head.contains("application/octet-stream"); ++reads) {
            const QByteArray more = socket.receive(4096);
            if (more.isEmpty())
                break;
            head += more;
        }
        QVERIFY2(head.startsWith("HTTP/1.1 200"), head.left(200).constData());
    }
    QElapsedTimer took;
    took.start();
    verifyServing();
    QVERIFY2(took.elapsed() < 5000, "abandoned downloads must not hold the workers");
}

void TestServerRobustness::databaseIntactAfterwards()
{
    verifyServing();
    m_connection.reset();
    QVERIFY(m_server->stop());
    QCOMPARE(stockCount(), m_stockCount);
    if (m_storage->engine() == Engine::SQLite)
        QCOMPARE(integrityOf(*m_storage), QStringLiteral("ok"));
}

void TestServerRobustness::killDuringOrdersLosesNoAcknowledgedOrder()
{
    constexpr int clients = 4;
    TestDatabase database;
    VELMORA_REQUIRE_DATABASE(database);
    std::vector<TSonucBilgisi> sessions;
    qint32 itemA = 0;
    qint32 itemB = 0;
    qint32 company = 0;
    {
        const auto opened = database.openStorage();
        Storage& s = *opened;
        for (int c = 0; c < clients; ++c) {
            CustomerAccount account;
            account.code = QStringLiteral("120.02.%1").arg(c, 3, 10, QLatin1Char('0'));
            account.name = QStringLiteral("Müşteri %1").arg(c);
            const qint32 carino = s.addCustomerAccount(account);
            const QString computer = QStringLiteral("PC-%1").arg(c);
            const qint32 user =
                s.addUser({0, QStringLiteral("BAYI%1").arg(c), QStringLiteral("1"), 1, 3, {}, carino, 0});
            s.registerInstallation(computer, user);
            sessions.push_back(dealerSession(computer, user, carino));
        }
        StockItem item;
        item.code = QStringLiteral("FB-1001");
        item.name = QStringLiteral("Fren Balatası Ön");
        item.listPrice = 100;
        itemA = addStockItem(s, item);
        item.code = QStringLiteral("YF-2040");
        item.name = QStringLiteral("Yağ Filtresi");
        item.listPrice = 40;
        itemB = addStockItem(s, item);
        company = addShipping(s);
    }

    struct Acknowledged {
        int iteration;
        QSet<int> basketLines;
    };
    std::vector<std::vector<Acknowledged>> acknowledged(clients);
    std::atomic<bool> killed{false};
    std::atomic<int> failuresBeforeKill{0};
    std::vector<QString> firstFailure(clients);

    auto server = std::make_unique<ServerProcess>(database);
    QVERIFY2(server->start(), qPrintable(server->errorText()));
    const int port = server->port();
    std::vector<std::thread> workers;
    for (int c = 0; c < clients; ++c) {
        workers.emplace_back([&, c] {
            const TSonucBilgisi& me = sessions[size_t(c)];
            try {
                velmora::ServerConnection connection(QStringLiteral("127.0.0.1"), port);
                connection.open();
                TServerMethods1Client proxy(connection);
                // Each order's quantities name its iteration: item A i + 1, item B i + 1001.
                for (int i = 0; i < 100000 && !killed; ++i) {
                    if (proxy.SepetEkle2(kopyasi(me), me.FCARINO, itemA, "", "", i + 1, 0, 0, 0, 0, 0, 0, 0, 0) != 1 ||
                        proxy.SepetEkle2(kopyasi(me), me.FCARINO, itemB, "", "", i + 1001, 0, 0, 0, 0, 0, 0, 0, 0) != 1)
                        throw std::runtime_error("a basket line was refused");
                    const velmora::Table* sepet = proxy.SepetVer2(me.FCARINO);
                    QSet<int> lines;
                    for (int row = 0; row < sepet->rows.size(); ++row)
                        lines << cell(*sepet, row, "SIRANO").toInt();
                    if (lines.size() != 2)
                        throw std::runtime_error("the basket does not hold the two new lines");
                    for (const int line : lines)
                        proxy.SepetSecimGuncelle(line, 1);
                    if (!proxy.SiparisKaydet(kopyasi(me), me.FCARINO, 7, 2, {}, me.FSirano, company))
                        throw std::runtime_error("an order was refused");
                    acknowledged[size_t(c)].push_back({i, lines});
                }
            } catch (const std::exception& e) {
                if (!killed) {
                    ++failuresBeforeKill;
                    firstFailure[size_t(c)] = QString::fromUtf8(e.what());
                }
            }
        });
    }
    QTest::qWait(1500);
    killed = true;
    server->kill();
    for (auto& worker : workers)
        worker.join();
    QVERIFY2(failuresBeforeKill == 0, qPrintable(QStringList(firstFailure.begin(), firstFailure.end()).join(" | ")));

    server = std::make_unique<ServerProcess>(database);
    QVERIFY2(server->start(), qPrintable(server->errorText()));
    {
        velmora::ServerConnection connection(QStringLiteral("127.0.0.1"), server->port());
        connection.open();
        TServerMethods1Client proxy(connection);
        int total = 0;
        for (int c = 0; c < clients; ++c) {
            const qint32 carino = sessions[size_t(c)].FCARINO;
            // Iteration -> times an order with exactly that iteration's two lines is stored.
            QHash<int, int> stored;
            const velmora::Table orders = *proxy.OncekiSiparisler(carino);
            for (int row = 0; row < orders.rows.size(); ++row) {
                const velmora::Table* lines = proxy.SiparisAyrintisi2(carino, cell(orders, row, "IDNO").toInt());
                QCOMPARE(lines->rows.size(), 2);
                QMap<int, int> quantities;
                for (int l = 0; l < lines->rows.size(); ++l)
                    quantities[cell(*lines, l, "STOKNO").toInt()] = qRound(cell(*lines, l, "MIKTAR").toDouble());
                const int iteration = quantities.value(itemA) - 1;
                QCOMPARE(quantities.value(itemB), iteration + 1001);
                ++stored[iteration];
            }
            for (const Acknowledged& order : acknowledged[size_t(c)])
                QVERIFY2(stored.value(order.iteration) == 1,
                         qPrintable(QStringLiteral("client %1, order %2 stored %3 times")
                                        .arg(c)
                                        .arg(order.iteration)
                                        .arg(stored.value(order.iteration))));
            for (auto it = stored.begin(); it != stored.end(); ++it)
                QCOMPARE(it.value(), 1);

            // The basket keeps no line of an acknowledged order.
            const velmora::Table* sepet = proxy.SepetVer2(carino);
            for (int row = 0; row < sepet->rows.size(); ++row) {
                const int line = cell(*sepet, row, "SIRANO").toInt();
                for (const Acknowledged& order : acknowledged[size_t(c)])
                    QVERIFY2(!order.basketLines.contains(line), "an ordered line is still in the basket");
            }
            total += int(acknowledged[size_t(c)].size());
        }
        qInfo("%d orders acknowledged before the kill", total);
        QVERIFY2(total >= clients, "the clients placed too few orders to mean anything");
    }
    QVERIFY(server->stop());

    // Every stored order line took its basket line away, even the order in flight at the kill.
    const auto opened = database.openStorage();
    Storage& s = *opened;
    if (s.engine() == Engine::SQLite)
        QCOMPARE(integrityOf(s), QStringLiteral("ok"));
    const qint64 both = s.read([](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(db, QStringLiteral("SELECT COUNT(*) FROM siparis_satirlari l"
                                                      " JOIN sepet b ON b.SIRANO = l.SEPETSIRANO"));
        return q.next() ? q.value(0).toLongLong() : -1;
    });
    QCOMPARE(both, qint64(0));
}

QTEST_GUILESS_MAIN(TestServerRobustness)
#include "test_server_robustness.moc"
