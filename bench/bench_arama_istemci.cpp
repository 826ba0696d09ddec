// A stock search that returns 2,000 rows: the client's whole path from the search text to a
// filled grid model (connection check, call, decode, data set, model) next to the server's own
// time for the same call (the method handler run in-process, without HTTP).

#include "app/Unit1.h"
#include "platform/data_set.h"
#include "platform/ui/grid_view.h"
#include "remote/proxim.h"
#include "server/http_service.h"
#include "server/method_table.h"
#include "server/ordering_data.h"
#include "server/ordering_methods.h"
#include "server/session_methods.h"
#include "server/storage.h"
#include "session/baglantiu.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

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

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int items = argc > 1 ? std::max(2000, atoi(argv[1])) : 5000;

    QTemporaryDir folder;
    Storage storage(folder.path());
    Representative rep;
    rep.name = QStringLiteral("Kemal Aydın");
    CustomerAccount account;
    account.code = QStringLiteral("120.01.001");
    account.name = QStringLiteral("Özgür Oto Yedek Parça");
    account.representative = storage.addRepresentative(rep);
    User user;
    user.name = QStringLiteral("BAYI");
    user.password = QStringLiteral("1234");
    user.account = storage.addCustomerAccount(account);
    storage.registerInstallation(QStringLiteral("BENCHPC"), storage.addUser(user));
    const qint32 brand = addBrand(storage, QStringLiteral("Vaxtor"));
    setCustomerDiscounts(storage, user.account, 0, {20, 5, 0, 0});
    storage.write([&](QSqlDatabase& db) {
        StockWriter writer(db);
        for (int i = 0; i < items; ++i) {
            StockItem s;
            s.code = QStringLiteral("BLT-%1").arg(100000 + i);
            s.name = QStringLiteral("Fren Balatası Ön Takım %1").arg(i);
            s.oem1 = QStringLiteral("7700%1").arg(300000 + i);
            s.oem2 = QStringLiteral("5174%1").arg(800000 + i);
            s.finishCode = QStringLiteral("F%1").arg(i);
            s.brand = brand;
            s.model = QStringLiteral("Doblo 1.3 Multijet");
            s.packQuantity = 4;
            s.listPrice = 100 + i % 400;
            writer.add(s);
        }
        return 0;
    });

    MethodTable methods;
    addSessionMethods(methods);
    addOrderingMethods(methods);
    HttpService service(storage, methods, HttpService::Options{});
    const int port = service.bind(QStringLiteral("127.0.0.1"), 0);
    std::thread serving([&] { service.run(); });

    ServerConnection bagc(QStringLiteral("127.0.0.1"), port);
    bagc.open();
    TSonucBilgisi sbilgi;
    {
        TServerMethods1Client proxy(bagc);
        sbilgi.Kopyala(*proxy.BuyukGetir(QStringLiteral("BENCHPC")));
    }
    bagc.close();

    const QString text = QStringLiteral("FREN");
    const QJsonArray params{text, encodeRecord(&sbilgi)};
    int serverRows = 0;
    const double serverMs = bestOf(10, [&] {
        const auto answer = std::get<CallAnswer>(
            methods.call(QStringLiteral("StokAraVelmora2"), params, storage, QStringLiteral("127.0.0.1")));
        serverRows = static_cast<int>(answer.result.toObject().value(QStringLiteral("rows")).toArray().size());
    });

    GridView grid;
    grid.setColumns({{.objectName = QStringLiteral("ADI"),
                      .fieldName = QStringLiteral("ADI"),
                      .caption = QStringLiteral("Açıklama")},
                     {.objectName = QStringLiteral("KDVDAHIL"),
                      .fieldName = QStringLiteral("KDVDAHIL"),
                      .caption = QStringLiteral("KDV Dahil Fiyat"),
                      .kind = CellKind::Number}});
    DataSet stok;
    int clientRows = 0;
    const double clientMs = bestOf(10, [&] {
        grid.setDataSet(nullptr);
        Table result;
        if (!TForm1::StokAramaYap(bagc, sbilgi, text, result))
            std::abort();
        stok.assignData(std::move(result));
        OndalikBicimle(stok);
        grid.setDataSet(&stok);
        clientRows = grid.rowCount();
    });

    std::printf("stock search \"%s\" over %d items: %d rows\n", qPrintable(text), items, clientRows);
    std::printf("  server-side (handler in-process):         %8.2f ms (%d rows)\n", serverMs, serverRows);
    std::printf("  client, text to filled grid model (HTTP): %8.2f ms\n", clientMs);

    service.stop();
    serving.join();
    return 0;
}
