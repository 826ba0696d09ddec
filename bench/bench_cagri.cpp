// Round trip of one remote call on loopback: the client proxy over a kept-alive connection to
// the server's HTTP service running in this process, with its SQLite storage.

#include "platform/server_connection.h"
#include "remote/proxim.h"
#include "server/http_service.h"
#include "server/method_table.h"
#include "server/session_methods.h"
#include "server/storage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <thread>

using namespace velmora;
using namespace velmora::server;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int calls = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;

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

    MethodTable methods;
    addSessionMethods(methods);
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
    QVector<double> micros;
    micros.reserve(calls);
    QElapsedTimer total;
    total.start();
    for (int i = 0; i < calls; ++i) {
        QElapsedTimer one;
        one.start();
        if (!proxy.BuyukGetir(QStringLiteral("BENCHPC")))
            return 1;
        micros.append(one.nsecsElapsed() / 1000.0);
    }
    const double seconds = total.nsecsElapsed() / 1e9;
    std::sort(micros.begin(), micros.end());
    std::printf("call round trip (BuyukGetir, loopback, kept-alive): %d calls\n", calls);
    std::printf("  p50 %.0f us   p99 %.0f us   %.0f calls/s\n", micros[calls / 2], micros[calls * 99 / 100],
                calls / seconds);

    connection.close();
    service.stop();
    serving.join();
    return 0;
}
