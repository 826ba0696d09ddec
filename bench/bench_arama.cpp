// Stock search over a catalogue of a million items: the whole StokAraVelmora2 call over HTTP (the
// client proxy against the server's HTTP service in this process) next to the handler alone and
// the database search alone; then the basket reload rate next to a trivial HTTP handler's rate.
//
//   bench_arama [data folder, default /tmp/velmora-bench] [runs, default 5] [items, default 1000000]
//
// The catalogue is built once with the demo generator and reused by later runs.

#include "platform/record.h"
#include "platform/server_connection.h"
#include "remote/proxim.h"
#include "server/demo_catalogue.h"
#include "server/demo_data.h"
#include "server/http_service.h"
#include "server/method_table.h"
#include "server/ordering_methods.h"
#include "server/session_methods.h"
#include "server/storage.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QRegularExpression>

#include <httplib.h>

#include <algorithm>
#include <cstdio>
#include <thread>

using namespace velmora;
using namespace velmora::server;

namespace {

template <class F> double bestOf(int runs, F&& f)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

// Calls `f` for about `ms` milliseconds (at most `limit` times); returns calls per second.
template <class F> double rateOf(qint64 ms, int limit, F&& f)
{
    QElapsedTimer t;
    t.start();
    int calls = 0;
    while (calls < limit && t.elapsed() < ms) {
        f();
        ++calls;
    }
    return calls / (t.nsecsElapsed() / 1e9);
}

} // namespace

int main(int argc, char* argv[])
{
    // The demo catalogue draws its pictures with fonts: a GUI application on the offscreen platform.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/velmora-bench");
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    const int items = argc > 3 ? std::max(1000, atoi(argv[3])) : 1000000;

    Storage storage(folder);
    fillDemoData(storage);
    QElapsedTimer building;
    building.start();
    if (fillDemoCatalogue(storage, items))
        std::printf("catalogue of %d items built in %.1f s in %s\n", items, building.nsecsElapsed() / 1e9,
                    qPrintable(folder));
    const QString computer = QStringLiteral("BENCHPC");
    registerDemoComputer(storage, DemoUser::Bayi, computer);
    const TSonucBilgisi session = *storage.sessionFor(computer);

    // Texts from an item in the middle of the catalogue.
    const auto [count, name, oem] = storage.read([](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(db, QStringLiteral("SELECT (SELECT COUNT(*) FROM stoklar), ADI, OEM1 FROM stoklar"
                                                      " WHERE STOKNO >= (SELECT MAX(STOKNO) / 2 FROM stoklar)"
                                                      " AND OEM1 <> '' ORDER BY STOKNO LIMIT 1"));
        if (!q.next())
            throw StorageError(QStringLiteral("the catalogue is empty"));
        return std::tuple{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString()};
    });
    QStringList words = name.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    std::sort(words.begin(), words.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    const QStringList texts{name.left(3), oem, words.value(0)};

    MethodTable methods;
    addSessionMethods(methods);
    addOrderingMethods(methods);
    HttpService service(storage, methods, HttpService::Options{});
    const int port = service.bind(QStringLiteral("127.0.0.1"), 0);
    if (port <= 0) {
        std::fprintf(stderr, "cannot bind\n");
        return 1;
    }
    std::thread serving([&] { service.run(); });
    ServerConnection connection(QStringLiteral("127.0.0.1"), port);
    connection.open();
    TServerMethods1Client proxy(connection);

    std::printf("stock search over %lld items, best of %d (ms)\n", count, runs);
    std::printf("  %-28s %6s %12s %12s %12s\n", "text", "rows", "database", "handler", "HTTP call");
    for (const QString& text : texts) {
        int rows = 0;
        const double query = bestOf(runs, [&] {
            rows = static_cast<int>(
                storage.read([&](QSqlDatabase& db) { return searchStock(db, text, session.FCARINO); }).rows.size());
        });
        const QJsonArray params{text, encodeRecord(&session)};
        const double handler = bestOf(runs, [&] {
            methods.call(QStringLiteral("StokAraVelmora2"), params, storage, QStringLiteral("127.0.0.1"));
        });
        int callRows = 0;
        const double call = bestOf(
            runs, [&] { callRows = static_cast<int>(proxy.StokAraVelmora2(text, kopyasi(session))->rows.size()); });
        if (callRows != rows)
            std::printf("  (the call found %d rows, the database %d)\n", callRows, rows);
        std::printf("  %-28s %6d %12.2f %12.2f %12.2f\n", qPrintable(QLatin1Char('"') + text + QLatin1Char('"')), rows,
                    query, handler, call);
    }

    // A basket of twenty lines, reloaded as the workspace does after every change.
    proxy.SepetHepsiniSil(kopyasi(session));
    const Table found = *proxy.StokAraVelmora2(words.value(0), kopyasi(session));
    const int stockColumn = found.columnIndex(QStringLiteral("STOKNO"));
    for (int row = 0; row < std::min<int>(20, found.rows.size()); ++row)
        proxy.SepetEkle2(kopyasi(session), session.FCARINO, found.rows.at(row).at(stockColumn).toInt(), "", "", 1, 0, 0,
                         0, 0, 0, 0, 0, 0);
    const int basketLines = static_cast<int>(proxy.SepetVer2(session.FCARINO)->rows.size());
    const double basketRate = rateOf(2000, 100000, [&] { proxy.SepetVer2(session.FCARINO); });
    proxy.SepetHepsiniSil(kopyasi(session));

    // The same HTTP library with a handler that does nothing, set up as the service and the client
    // proxy are: no Nagle delay, connections kept alive for 100 requests.
    httplib::Server trivial;
    trivial.set_tcp_nodelay(true);
    trivial.set_keep_alive_max_count(HttpService::Options{}.keepAliveMaxCount);
    trivial.Get("/ping", [](const httplib::Request&, httplib::Response& res) { res.set_content("ok", "text/plain"); });
    const int trivialPort = trivial.bind_to_any_port("127.0.0.1");
    std::thread trivialServing([&] { trivial.listen_after_bind(); });
    httplib::Client client("127.0.0.1", trivialPort);
    client.set_keep_alive(true);
    client.set_tcp_nodelay(true);
    const double trivialRate = rateOf(2000, 100000, [&] {
        if (!client.Get("/ping"))
            std::abort();
    });

    std::printf("basket reload (SepetVer2, %d lines, one kept-alive client): %8.0f calls/s\n", basketLines, basketRate);
    std::printf("trivial GET on the same HTTP library:                      %8.0f calls/s\n", trivialRate);

    trivial.stop();
    trivialServing.join();
    connection.close();
    service.stop();
    serving.join();
    return 0;
}
