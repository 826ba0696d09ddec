// Twenty clients working at once for a few seconds, each through the client proxy on a kept-alive
// connection of its own: searches, basket reloads, additions and orders. Every call must succeed;
// the rate and the latencies are printed.

#include "server/ordering_data.h"
#include "server/storage.h"
#include "server_process.h"

#include "platform/server_connection.h"
#include "remote/proxim.h"
#include "session/kayitlar.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

using namespace velmora::server;

class TestServerLoad : public QObject {
    Q_OBJECT

private slots:
    void mixedCallsFromTwentyClients();
};

void TestServerLoad::mixedCallsFromTwentyClients()
{
    // VELMORA_LOAD_CLIENTS and VELMORA_LOAD_SECONDS make a longer run for measuring.
    const int clients = qEnvironmentVariableIntValue("VELMORA_LOAD_CLIENTS") > 0
                            ? qEnvironmentVariableIntValue("VELMORA_LOAD_CLIENTS")
                            : 20;
    const qint64 runMs = qEnvironmentVariableIntValue("VELMORA_LOAD_SECONDS") > 0
                             ? qEnvironmentVariableIntValue("VELMORA_LOAD_SECONDS") * qint64(1000)
                             : 8000;
    constexpr int items = 5000;

    TestDatabase database;
    VELMORA_REQUIRE_DATABASE(database);
    std::vector<TSonucBilgisi> sessions;
    qint32 company = 0;
    {
        const auto opened = database.openStorage();
        Storage& s = *opened;
        for (int c = 0; c < clients; ++c) {
            CustomerAccount account;
            account.code = QStringLiteral("120.03.%1").arg(c, 3, 10, QLatin1Char('0'));
            account.name = QStringLiteral("Yük Müşterisi %1").arg(c);
            const qint32 carino = s.addCustomerAccount(account);
            const QString computer = QStringLiteral("PC-YUK-%1").arg(c);
            const qint32 user =
                s.addUser({0, QStringLiteral("YUK%1").arg(c), QStringLiteral("1"), 1, 3, {}, carino, 0});
            s.registerInstallation(computer, user);
            TSonucBilgisi session;
            session.FVarmi = true;
            session.FBILGISAYARID = computer;
            session.FSirano = user;
            session.FMusteriTipi = 3;
            session.FAKTIF = 1;
            session.FCARINO = carino;
            sessions.push_back(session);
        }
        const QStringList names{QStringLiteral("Fren Balatası Ön"), QStringLiteral("Yağ Filtresi"),
                                QStringLiteral("Amortisör Arka"), QStringLiteral("Debriyaj Seti"),
                                QStringLiteral("Conta Takımı")};
        s.write([&](QSqlDatabase& db) {
            StockWriter writer(db);
            StockItem item;
            for (int i = 0; i < items; ++i) {
                item.code = QStringLiteral("YK-%1").arg(i, 5, 10, QLatin1Char('0'));
                item.name = names.at(i % names.size()) + QStringLiteral(" %1").arg(i % 97);
                item.oem1 = QStringLiteral("0 986 %1").arg(100000 + i * 7);
                item.listPrice = 10 + i % 300;
                writer.add(item);
            }
        });
        addDeliveryKind(s, 7, QStringLiteral("Kargo"));
        addCargoKind(s, 2, QStringLiteral("Alıcı Ödemeli"));
        company = addCargoCompany(s, QStringLiteral("Yurtiçi Kargo"), QString(), {2});
    }
    ServerProcess server(database);
    QVERIFY2(server.start(), qPrintable(server.errorText()));

    // Searches as dealers type them: a code, part of a code, words of a name, an OEM number.
    const QStringList texts{QStringLiteral("YK-01234"), QStringLiteral("yk 0456"), QStringLiteral("fren balata 12"),
                            QStringLiteral("FILTRE"), QStringLiteral("0986100700")};
    std::vector<std::vector<qint64>> micros(clients);
    std::vector<QString> firstError(clients);
    // Search, basket reload, basket add, order.
    std::vector<std::array<std::vector<qint64>, 4>> microsByKind(clients);
    std::atomic<int> errors{0};
    std::atomic<int> orders{0};
    QElapsedTimer clock;
    clock.start();
    std::vector<std::thread> workers;
    for (int c = 0; c < clients; ++c) {
        workers.emplace_back([&, c] {
            const TSonucBilgisi& me = sessions[size_t(c)];
            try {
                velmora::ServerConnection connection(QStringLiteral("127.0.0.1"), server.port());
                connection.open();
                TServerMethods1Client proxy(connection);
                for (int i = 0; i < 1000000 && clock.elapsed() < runMs; ++i) {
                    QElapsedTimer one;
                    one.start();
                    const int kind = i % 10 < 4 ? 0 : i % 10 < 7 ? 1 : i % 10 < 9 ? 2 : 3;
                    switch (i % 10) {
                    case 0:
                    case 1:
                    case 2:
                    case 3:
                        if (proxy.StokAraVelmora2(texts.at((i + c) % texts.size()), kopyasi(me))->rows.isEmpty())
                            throw std::runtime_error("a search found nothing");
                        break;
                    case 4:
                    case 5:
                    case 6:
                        proxy.SepetVer2(me.FCARINO);
                        break;
                    case 7:
                    case 8:
                        if (proxy.SepetEkle2(kopyasi(me), me.FCARINO, 1 + (i * 31 + c) % items, "", "", 1, 0, 0, 0, 0,
                                             0, 0, 0, 0) != 1)
                            throw std::runtime_error("a basket line was refused");
                        break;
                    default:
                        if (!proxy.SiparisKaydet(kopyasi(me), me.FCARINO, 7, 2, {}, me.FSirano, company))
                            throw std::runtime_error("an order was refused");
                        ++orders;
                    }
                    micros[size_t(c)].push_back(one.nsecsElapsed() / 1000);
                    microsByKind[size_t(c)][size_t(kind)].push_back(one.nsecsElapsed() / 1000);
                }
            } catch (const std::exception& e) {
                ++errors;
                firstError[size_t(c)] = QString::fromUtf8(e.what());
            }
        });
    }
    for (auto& worker : workers)
        worker.join();
    const double seconds = clock.nsecsElapsed() / 1e9;
    QVERIFY2(errors == 0, qPrintable(QStringList(firstError.begin(), firstError.end()).join(QLatin1Char(' '))));

    std::vector<qint64> all;
    size_t fewest = all.max_size();
    for (const auto& each : micros) {
        QVERIFY2(!each.empty(), "a client made no call");
        all.insert(all.end(), each.begin(), each.end());
        fewest = std::min(fewest, each.size());
    }
    std::sort(all.begin(), all.end());
    qInfo("%d clients, %.1f s: %zu calls, %.0f calls/s, p50 %.1f ms, p99 %.1f ms, max %.1f ms, %d orders, fewest calls "
          "of a client %zu",
          clients, seconds, all.size(), all.size() / seconds, all[all.size() / 2] / 1000.0,
          all[all.size() * 99 / 100] / 1000.0, all.back() / 1000.0, orders.load(), fewest);

    const char* kindNames[] = {"search", "reload", "add", "order"};
    for (size_t kind = 0; kind < 4; ++kind) {
        std::vector<qint64> calls;
        for (const auto& each : microsByKind)
            calls.insert(calls.end(), each[kind].begin(), each[kind].end());
        std::sort(calls.begin(), calls.end());
        if (!calls.empty())
            qInfo("  %-6s %6zu calls, p50 %.1f ms, p99 %.1f ms", kindNames[kind], calls.size(),
                  calls[calls.size() / 2] / 1000.0, calls[calls.size() * 99 / 100] / 1000.0);
    }

    // A connection that waits for a worker waits until another connection closes or idles.
    QVERIFY2(all.back() < 4000000, "a client waited seconds for a worker");

    QVERIFY(server.stop());
    const qint64 stored = database.openStorage()->read([](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(db, QStringLiteral("SELECT COUNT(*) FROM siparisler"));
        return q.next() ? q.value(0).toLongLong() : -1;
    });
    QCOMPARE(stored, qint64(orders.load()));
}

QTEST_GUILESS_MAIN(TestServerLoad)
#include "test_server_load.moc"
