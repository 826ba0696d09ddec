#include "server/demo_catalogue.h"
#include "server/demo_data.h"
#include "server/ordering_data.h"
#include "server/storage.h"
#include "server/table_cells.h"
#include "server_process.h"

#include "platform/record.h"
#include "platform/server_connection.h"
#include "platform/wire_codec.h"
#include "remote/proxim.h"
#include "session/kayitlar.h"

#include <QJsonDocument>
#include <QSqlQuery>
#include <QTest>

#include <functional>
#include <stdexcept>

using namespace velmora::server;

namespace {

// What one engine answered to the same calls, call by call: a label and the answer's JSON.
struct Transcript {
    QStringList labels;
    QStringList answers;
};

// Columns filled from the clock when a row was written (basket lines, orders, uploads).
const QStringList kStamps{QStringLiteral("TARIH"), QStringLiteral("VERILISTARIHI"), QStringLiteral("SAAT")};

QString json(const QJsonValue& value)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact));
}

// A table as the wire carries it, column kinds and all, with the clock's columns blanked.
QString tableText(velmora::Table table, const QStringList& stamps = {})
{
    for (const QString& stamp : stamps) {
        const int column = table.columnIndex(stamp);
        for (auto& row : table.rows) {
            if (column >= 0)
                row[column] = QVariant();
        }
    }
    return json(velmora::wire::encodeTable(table));
}

template <class R> QString recordText(const R* record)
{
    return record ? json(velmora::recordFields(*record)) : QStringLiteral("null");
}

// Texts that take every path of the stock search: codes written otherwise, trigram words, short
// words one by one and as a list, Turkish letters, LIKE's wildcards taken literally, quotes.
QStringList searchTexts(Storage& storage)
{
    const auto first = storage.read([](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(db, QStringLiteral("SELECT BARKOD, OEM1 FROM stoklar ORDER BY STOKNO LIMIT 1"));
        if (!q.next())
            throw std::runtime_error("the demo catalogue is empty");
        return std::pair{q.value(0).toString(), q.value(1).toString()};
    });
    QString oemOtherwise = first.second;
    oemOtherwise.replace(QLatin1Char(' '), QLatin1Char('-'));
    return {first.first,
            first.first.toLower(),
            first.first.left(4),
            oemOtherwise,
            QStringLiteral("FREN"),
            QStringLiteral("fren ön"),
            QStringLiteral("balata arka"),
            QStringLiteral("yağ filtresi"),
            QStringLiteral("ŞAFT"),
            QStringLiteral("a"),
            QStringLiteral("12"),
            QStringLiteral("a b c d e f g h i j k l m n o p r s"),
            QStringLiteral("PARITE-%_1"),
            QStringLiteral("PARITE_%"),
            QStringLiteral("RITE_%_1"),
            QStringLiteral("\"ÇELİK\" iğne"),
            QStringLiteral("zzzz")};
}

// Builds the demo data and a few rows with awkward values, then makes the same calls on the
// engine's server: lists, searches, a basket that is changed and ordered, balances, the history
// and the representative's desk.
Transcript runScript(TestDatabase& database)
{
    Transcript t;
    const auto storage = database.openStorage();
    if (!fillDemoData(*storage) || !fillDemoCatalogue(*storage, 400))
        throw std::runtime_error("demo data not filled");
    StockItem odd;
    odd.code = QStringLiteral("PARITE-%_1");
    odd.name = QStringLiteral("Özel Çelik Şaft İğne");
    odd.oem1 = QStringLiteral("0 986/494.123");
    odd.onHand = 1234.5678901234567; // needs every digit of a double
    odd.givenOrders = 1e-7;
    odd.listPrice = 19.99;
    odd.vat = 8.5;
    odd.isNew = true;
    const qint32 oddNo = addStockItem(*storage, odd);
    storage->registerInstallation(QStringLiteral("PARITE-B"), *storage->userNoByName(QStringLiteral("BAYI")));
    storage->registerInstallation(QStringLiteral("PARITE-T"), *storage->userNoByName(QStringLiteral("TEMSILCI")));
    const QStringList texts = searchTexts(*storage);

    ServerProcess server(database);
    if (!server.start())
        throw std::runtime_error(server.errorText().toStdString());
    velmora::ServerConnection connection(QStringLiteral("127.0.0.1"), server.port());
    connection.open();
    TServerMethods1Client proxy(connection);
    const auto step = [&](const QString& label, const std::function<QString()>& call) {
        t.labels << label;
        try {
            t.answers << call();
        } catch (const std::exception& e) {
            t.answers << QStringLiteral("error: %1").arg(QString::fromUtf8(e.what()));
        }
    };

    const TSonucBilgisi dealer = *proxy.BuyukGetir(QStringLiteral("PARITE-B"));
    TSonucBilgisi representative = *proxy.BuyukGetir(QStringLiteral("PARITE-T"));
    const qint32 account = dealer.FCARINO;
    representative.FCARINO = account;
    step(QStringLiteral("BuyukGetir"), [&] { return recordText(&dealer); });
    step(QStringLiteral("KayanYaziGetir"), [&] { return proxy.KayanYaziGetir(); });
    step(QStringLiteral("TeslimVer"), [&] { return tableText(*proxy.TeslimVer()); });
    step(QStringLiteral("KargoVer"), [&] { return tableText(*proxy.KargoVer()); });
    for (int kind = 1; kind <= 3; ++kind)
        step(QStringLiteral("KargolarVer %1").arg(kind), [&] { return tableText(*proxy.KargolarVer(kind)); });
    step(QStringLiteral("DuyuruVer"), [&] { return tableText(*proxy.DuyuruVer()); });
    step(QStringLiteral("DosyaListesi2"), [&] { return tableText(*proxy.DosyaListesi2(), kStamps); });
    step(QStringLiteral("YenilerVer2"), [&] { return tableText(*proxy.YenilerVer2(account)); });
    for (int type : {3, 4})
        step(QStringLiteral("KampanyaliVer2 %1").arg(type),
             [&] { return tableText(*proxy.KampanyaliVer2(account, type)); });
    step(QStringLiteral("BalonGetir"), [&] { return tableText(*proxy.BalonGetir(kopyasi(dealer))); });
    for (const QString& text : texts) {
        step(QStringLiteral("StokAraVelmora2 dealer '%1'").arg(text),
             [&] { return tableText(*proxy.StokAraVelmora2(text, kopyasi(dealer))); });
        step(QStringLiteral("StokAraVelmora2 representative '%1'").arg(text),
             [&] { return tableText(*proxy.StokAraVelmora2(text, kopyasi(representative))); });
    }

    // A basket: three items, one of them twice, changed, one line unselected, one removed.
    const velmora::Table found = *proxy.StokAraVelmora2(QStringLiteral("FREN"), kopyasi(dealer));
    if (found.rows.size() < 3)
        throw std::runtime_error("the search found too few items for a basket");
    const QList<qint32> items{cell(found, 0, "STOKNO").toInt(), cell(found, 1, "STOKNO").toInt(), oddNo,
                              cell(found, 2, "STOKNO").toInt()};
    const QList<double> quantities{2, 1.5, 3, 4};
    for (int i = 0; i < items.size(); ++i)
        step(QStringLiteral("SepetEkle2 %1").arg(i), [&] {
            return QString::number(
                proxy.SepetEkle2(kopyasi(dealer), account, items[i], {}, {}, quantities[i], 0, 0, 0, 0, 0, 0, 0, 0));
        });
    step(QStringLiteral("SepetEkle2 again"), [&] {
        return QString::number(
            proxy.SepetEkle2(kopyasi(dealer), account, items[0], {}, {}, 0.25, 0, 0, 0, 0, 0, 0, 0, 0));
    });
    const velmora::Table basket = *proxy.SepetVer2(account);
    step(QStringLiteral("SepetVer2"), [&] { return tableText(basket, kStamps); });
    const auto line = [&](int row) { return cell(basket, row, "SIRANO").toInt(); };
    step(QStringLiteral("SepetGuncelle2"), [&] {
        return QString::number(
            proxy.SepetGuncelle2(kopyasi(dealer), account, items[1], {}, {}, 7.25, 0, 0, 0, 0, line(1), 0, 0, 0));
    });
    proxy.SepetSecimGuncelle(line(2), 0);
    step(QStringLiteral("SepetSatirSil"),
         [&] { return QString::number(proxy.SepetSatirSil(kopyasi(dealer), line(3), QStringLiteral("parite"))); });
    step(QStringLiteral("SepetVer2 changed"), [&] { return tableText(*proxy.SepetVer2(account), kStamps); });
    const qint32 company = cell(*proxy.KargolarVer(1), 0, "SIRANO").toInt();
    step(QStringLiteral("SiparisKaydet"), [&] {
        return QString::number(proxy.SiparisKaydet(kopyasi(dealer), account, 1, 1, QStringLiteral("Parite siparişi"),
                                                   dealer.FSirano, company));
    });
    proxy.SepetSecimGuncelle(line(2), 1);
    step(QStringLiteral("SiparisKaydet second"), [&] {
        return QString::number(
            proxy.SiparisKaydet(kopyasi(dealer), account, 2, 1, QStringLiteral("İkinci"), dealer.FSirano, company));
    });
    step(QStringLiteral("SepetVer2 empty"), [&] { return tableText(*proxy.SepetVer2(account), kStamps); });

    // The orders as lists, details and balances, then balance changes.
    const velmora::Table orders = *proxy.OncekiSiparisler(account);
    if (orders.rows.size() < 2)
        throw std::runtime_error("the orders were not stored");
    step(QStringLiteral("OncekiSiparisler"), [&] { return tableText(orders, kStamps); });
    for (int row = 0; row < orders.rows.size(); ++row) {
        const qint32 idno = cell(orders, row, "IDNO").toInt();
        step(QStringLiteral("SiparisAyrintisi2 %1").arg(row),
             [&] { return tableText(*proxy.SiparisAyrintisi2(account, idno), kStamps); });
        step(QStringLiteral("SiparisAytintisiDip %1").arg(row),
             [&] { return recordText(proxy.SiparisAytintisiDip(0, idno)); });
    }
    step(QStringLiteral("TumSiparislerVer"), [&] { return tableText(*proxy.TumSiparislerVer(account, 0), kStamps); });
    step(QStringLiteral("TumSiparislerVer item"),
         [&] { return tableText(*proxy.TumSiparislerVer(account, items[0]), kStamps); });
    const velmora::Table balances = *proxy.BakiyelerVer2(account);
    step(QStringLiteral("BakiyelerVer2"), [&] { return tableText(balances, kStamps); });
    if (balances.rows.size() >= 2) {
        const auto balanceLine = [&](int row) { return cell(balances, row, "SIRANO").toInt(); };
        step(QStringLiteral("BakiyeDegistir"), [&] {
            return QString::number(proxy.BakiyeDegistir(kopyasi(dealer), cell(balances, 0, "STOKNO").toInt(),
                                                        balanceLine(0), balanceLine(0), 1, 0.5,
                                                        cell(balances, 0, "BARKOD").toString()));
        });
        step(QStringLiteral("BakiyeDuzenle"), [&] {
            return QString::number(proxy.BakiyeDuzenle(kopyasi(dealer), cell(balances, 1, "STOKNO").toInt(),
                                                       balanceLine(1), balanceLine(1), 0, 0,
                                                       cell(balances, 1, "BARKOD").toString()));
        });
    }
    step(QStringLiteral("BakiyelerVer2 changed"), [&] { return tableText(*proxy.BakiyelerVer2(account), kStamps); });
    step(QStringLiteral("BalonGetir after orders"), [&] { return tableText(*proxy.BalonGetir(kopyasi(dealer))); });

    // The account's statement and the documents behind it.
    const velmora::Table statement = *proxy.CariEkstreVer(account);
    step(QStringLiteral("CariEkstreVer"), [&] { return tableText(statement); });
    for (int row = 0; row < statement.rows.size(); ++row) {
        const qint32 idno = cell(statement, row, "IDNO").toInt();
        const QString kind = cell(statement, row, "TURADI").toString();
        if (kind.contains(QStringLiteral("Fatura"))) {
            step(QStringLiteral("FaturaGetir %1").arg(idno),
                 [&] { return tableText(*proxy.FaturaGetir(account, idno)); });
            step(QStringLiteral("FaturaAltGetir %1").arg(idno), [&] { return tableText(*proxy.FaturaAltGetir(idno)); });
        } else {
            step(QStringLiteral("Tahsilat %1").arg(idno), [&] { return tableText(*proxy.Tahsilat(idno)); });
        }
    }

    // The representative's desk.
    for (const QString& text : {QString(), QStringLiteral("oto"), QStringLiteral("ş"), QStringLiteral("120.0")})
        step(QStringLiteral("CariAra '%1'").arg(text),
             [&] { return tableText(*proxy.CariAra(kopyasi(representative), text)); });
    for (int list = 1; list <= 7; ++list)
        step(QStringLiteral("CariSepetVer %1").arg(list),
             [&] { return tableText(*proxy.CariSepetVer(kopyasi(representative), list)); });
    step(QStringLiteral("SepetSayisi"), [&] { return QString::number(proxy.SepetSayisi(kopyasi(representative))); });
    step(QStringLiteral("TusSonuclariVer"), [&] { return recordText(proxy.TusSonuclariVer(kopyasi(representative))); });
    step(QStringLiteral("MobilCariBilgisiGetir"),
         [&] { return recordText(proxy.MobilCariBilgisiGetir(0, QStringLiteral("PARITE-B"))); });
    connection.close();
    if (!server.stop())
        throw std::runtime_error("the server did not stop cleanly");
    return t;
}

} // namespace

// The same demo data and the same calls on SQLite and on PostgreSQL must give the same answers,
// column kinds and values alike, apart from the times the clock wrote.
class TestEngineParity : public QObject {
    Q_OBJECT

private slots:
    void answersAreTheSameOnBothEngines();
};

void TestEngineParity::answersAreTheSameOnBothEngines()
{
    TestDatabase postgres(TestBackend::PostgreSQL);
    VELMORA_REQUIRE_DATABASE(postgres);
    TestDatabase sqlite(TestBackend::SQLite);
    VELMORA_REQUIRE_DATABASE(sqlite);

    Transcript onSqlite;
    Transcript onPostgres;
    try {
        onSqlite = runScript(sqlite);
        onPostgres = runScript(postgres);
    } catch (const std::exception& e) {
        QFAIL(e.what());
    }
    QCOMPARE(onPostgres.labels, onSqlite.labels);
    int differences = 0;
    for (qsizetype i = 0; i < onSqlite.answers.size(); ++i) {
        if (onSqlite.answers[i] == onPostgres.answers[i])
            continue;
        ++differences;
        qsizetype at = 0;
        while (at < onSqlite.answers[i].size() && at < onPostgres.answers[i].size() &&
               onSqlite.answers[i][at] == onPostgres.answers[i][at])
            ++at;
        qWarning("%s differs at character %lld:\n  SQLite:     ...%s\n  PostgreSQL: ...%s",
                 qPrintable(onSqlite.labels[i]), static_cast<long long>(at),
                 qPrintable(onSqlite.answers[i].mid(qMax<qsizetype>(0, at - 80), 240)),
                 qPrintable(onPostgres.answers[i].mid(qMax<qsizetype>(0, at - 80), 240)));
    }
    QCOMPARE(differences, 0);
    // The calls did work: no call failed, and the searches found items.
    QVERIFY2(!onSqlite.answers.join(QLatin1Char('\n')).contains(QStringLiteral("error: ")),
             qPrintable(onSqlite.answers.filter(QStringLiteral("error: ")).join(QLatin1Char('\n'))));
    QVERIFY(onSqlite.answers.at(onSqlite.labels.indexOf(QStringLiteral("StokAraVelmora2 dealer 'FREN'")))
                .contains(QStringLiteral("FREN")));
}

QTEST_MAIN(TestEngineParity)
#include "test_engine_parity.moc"
