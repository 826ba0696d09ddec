#include "server/demo_catalogue.h"
#include "server/ordering_data.h"
#include "server/storage.h"
#include "server/table_cells.h"
#include "server_process.h"

#include "platform/server_connection.h"
#include "remote/proxim.h"
#include "session/kayitlar.h"

#include <QImage>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace velmora::server;

namespace {

} // namespace

class TestOrderingMethods : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void search_data();
    void search();
    void searchPricesAreTheSessionCustomers();
    void searchIsBounded();
    void searchRefusesAnUnregisteredComputer();
    void picture();
    void basketLines();
    void basketRefusals_data();
    void basketRefusals();
    void basketBelongsToOneCustomer();
    void orderTakesTheSelectedLinesOnce();
    void orderRefusesUnknownChoices();
    void deliveryAndCargoLists();
    void demoCatalogue();

private:
    TSonucBilgisi session(const QString& computer, qint32 user, qint32 type, qint32 account) const;
    QVector<QVector<QVariant>> query(const QString& sql, const QVariantList& values = {});

    TestDatabase m_db;
    std::unique_ptr<Storage> m_storage;
    std::unique_ptr<ServerProcess> m_server;
    std::unique_ptr<velmora::ServerConnection> m_connection;
    qint32 m_accountA = 0;
    qint32 m_accountB = 0;
    TSonucBilgisi m_dealerA;
    TSonucBilgisi m_dealerB;
    TSonucBilgisi m_representative;
    qint32 m_balata = 0;     // FB-1001, brand with a discount of its own, pack of 4
    qint32 m_balataArka = 0; // FB-1001-A
    qint32 m_filtre = 0;     // campaign item
    qint32 m_saft = 0;
    qint32 m_cargoKind = 0;
    qint32 m_yurtici = 0;
    qint32 m_ambar = 0;
    QByteArray m_picture;
};

TSonucBilgisi TestOrderingMethods::session(const QString& computer, qint32 user, qint32 type, qint32 account) const
{
    TSonucBilgisi s;
    s.FVarmi = true;
    s.FBILGISAYARID = computer;
    s.FSirano = user;
    s.FMusteriTipi = type;
    s.FAKTIF = 1;
    s.FCARINO = account;
    return s;
}

QVector<QVector<QVariant>> TestOrderingMethods::query(const QString& sql, const QVariantList& values)
{
    return m_storage->read([&](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(db, sql, values);
        QVector<QVector<QVariant>> rows;
        while (q.next()) {
            QVector<QVariant> row;
            for (int i = 0; i < q.record().count(); ++i)
                row << q.value(i);
            rows << row;
        }
        return rows;
    });
}

void TestOrderingMethods::initTestCase()
{
    VELMORA_REQUIRE_DATABASE(m_db);
    m_storage = m_db.openStorage();
    Storage& s = *m_storage;
    const qint32 rep = s.addRepresentative({0, QStringLiteral("Ali Vural"), {}, {}});
    CustomerAccount account;
    account.code = QStringLiteral("120.01.001");
    account.name = QStringLiteral("Çınar Oto");
    account.representative = rep;
    m_accountA = s.addCustomerAccount(account);
    account.code = QStringLiteral("120.01.002");
    account.name = QStringLiteral("Güneş Otomotiv");
    m_accountB = s.addCustomerAccount(account);
    const qint32 dealerA = s.addUser({0, QStringLiteral("BAYI"), QStringLiteral("1"), 1, 3, {}, m_accountA, 0});
    const qint32 dealerB = s.addUser({0, QStringLiteral("GUNES"), QStringLiteral("1"), 1, 4, {}, m_accountB, 0});
    const qint32 representative = s.addUser({0, QStringLiteral("TEMSILCI"), QStringLiteral("1"), 1, 1, {}, 0, rep});
    s.registerInstallation(QStringLiteral("PC-A"), dealerA);
    s.registerInstallation(QStringLiteral("PC-B"), dealerB);
    s.registerInstallation(QStringLiteral("PC-T"), representative);
    m_dealerA = session(QStringLiteral("PC-A"), dealerA, 3, m_accountA);
    m_dealerB = session(QStringLiteral("PC-B"), dealerB, 4, m_accountB);
    m_representative = session(QStringLiteral("PC-T"), representative, 1, m_accountA);

    const qint32 ozdemir = addBrand(s, QStringLiteral("Özdemir"));
    const qint32 karaca = addBrand(s, QStringLiteral("Karaca"));
    // Account A: 10+5 on Özdemir, 20 on every other brand; campaign prices take no discount.
    setCustomerDiscounts(s, m_accountA, ozdemir, {10, 5, 0, 0});
    setCustomerDiscounts(s, m_accountA, 0, {20, 0, 0, 0});

    StockItem item;
    item.code = QStringLiteral("FB-1001");
    item.name = QStringLiteral("Fren Balatası Ön");
    item.oem1 = QStringLiteral("0 986 494 123");
    item.brand = ozdemir;
    item.packQuantity = 4;
    item.listPrice = 100;
    m_balata = addStockItem(s, item);
    item = {};
    item.code = QStringLiteral("FB-1001-A");
    item.name = QStringLiteral("Fren Balatası Arka");
    item.brand = ozdemir;
    item.listPrice = 80;
    m_balataArka = addStockItem(s, item);
    item.code = QStringLiteral("FB-1001-Z");
    item.name = QStringLiteral("Fren Balatası Eski");
    item.active = false;
    addStockItem(s, item);
    item = {};
    item.code = QStringLiteral("YF-2040");
    item.name = QStringLiteral("Yağ Filtresi");
    item.brand = karaca;
    item.listPrice = 40;
    item.campaignPrice = 30;
    m_filtre = addStockItem(s, item);
    item = {};
    item.code = QStringLiteral("SK-51");
    item.name = QStringLiteral("Şaft Kavraması İç");
    item.brand = karaca;
    item.listPrice = 250;
    m_saft = addStockItem(s, item);
    // Alphabetical order would put these the other way round.
    for (const char* code : {"AB-ZB-77", "ZB-77-K", "ZB-77"}) {
        item = {};
        item.code = QLatin1String(code);
        item.name = QStringLiteral("Rotil");
        addStockItem(s, item);
    }
    // More rows than the default bound of a search.
    s.write([](QSqlDatabase& db) {
        StockWriter writer(db);
        StockItem gasket;
        gasket.name = QStringLiteral("Conta Takımı");
        for (int i = 0; i < 2100; ++i) {
            gasket.code = QStringLiteral("CT-%1").arg(i, 5, 10, QLatin1Char('0'));
            writer.add(gasket);
        }
    });
    m_picture = QByteArray("\xff\xd8\xff\xe0 not really a JPEG, bytes are bytes \x00\x01\xff\xd9", 44);
    setStockPicture(s, m_balata, m_picture);

    addDeliveryKind(s, 7, QStringLiteral("Kargo"));
    addDeliveryKind(s, 3, QStringLiteral("Gel Al"));
    m_cargoKind = 2;
    addCargoKind(s, 2, QStringLiteral("Alıcı Ödemeli"));
    addCargoKind(s, 1, QStringLiteral("Gönderici Ödemeli"));
    m_yurtici =
        addCargoCompany(s, QStringLiteral("Yurtiçi Kargo"), QStringLiteral("16:00'dan sonra ertesi gün"), {2, 1});
    m_ambar = addCargoCompany(s, QStringLiteral("Anadolu Ambarı"), QString(), {1});

    m_server = std::make_unique<ServerProcess>(m_db);
    QVERIFY2(m_server->start(), qPrintable(m_server->errorText()));
    m_connection = std::make_unique<velmora::ServerConnection>(QStringLiteral("127.0.0.1"), m_server->port());
    m_connection->open();
}

void TestOrderingMethods::cleanupTestCase()
{
    m_connection.reset();
    if (m_server && m_server->port() > 0)
        QVERIFY(m_server->stop());
}

void TestOrderingMethods::init()
{
    m_storage->write([](QSqlDatabase& db) {
        Storage::run(db, QStringLiteral("DELETE FROM sepet"));
        Storage::run(db, QStringLiteral("DELETE FROM siparisler"));
    });
}

void TestOrderingMethods::search_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");

    const QStringList balatalar{QStringLiteral("FB-1001"), QStringLiteral("FB-1001-A")};
    QTest::newRow("words as typed, any case") << QStringLiteral("fren BALATASI") << balatalar;
    QTest::newRow("Turkish letters as pasted") << QStringLiteral("Fren Balatası Ön") << QStringList{"FB-1001"};
    QTest::newRow("exact code first, then codes it starts") << QStringLiteral("FB-1001-A") << QStringList{"FB-1001-A"};
    QTest::newRow("exact code before a longer one") << QStringLiteral("fb1001") << balatalar;
    QTest::newRow("exact code, codes starting with it, the rest")
        << QStringLiteral("zb 77") << QStringList{"ZB-77", "ZB-77-K", "AB-ZB-77"};
    QTest::newRow("OEM number without blanks") << QStringLiteral("0986494123") << QStringList{"FB-1001"};
    QTest::newRow("substring inside a word") << QStringLiteral("ILTRE") << QStringList{"YF-2040"};
    QTest::newRow("dotted capital I from the client") << QStringLiteral("KAVRAMASİ İÇ") << QStringList{"SK-51"};
    QTest::newRow("dotless i typed as I") << QStringLiteral("KAVRAMASI IC") << QStringList{"SK-51"};
    QTest::newRow("two letters with blanks") << QStringLiteral("  IC ") << QStringList{"SK-51"};
    QTest::newRow("brand name") << QStringLiteral("OZDEMIR ARKA") << QStringList{"FB-1001-A"};
    QTest::newRow("no match") << QStringLiteral("ZZZ") << QStringList{};
    QTest::newRow("quotes are plain text") << QStringLiteral("\"FREN\" OR *") << QStringList{};
}

void TestOrderingMethods::search()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    TServerMethods1Client proxy(*m_connection);
    const velmora::Table* stok = proxy.StokAraVelmora2(text, kopyasi(m_dealerA));
    QCOMPARE(codes(*stok), expected);
}

void TestOrderingMethods::searchPricesAreTheSessionCustomers()
{
    TServerMethods1Client proxy(*m_connection);
    const velmora::Table* stok = proxy.StokAraVelmora2(QStringLiteral("FB-1001"), kopyasi(m_dealerA));
    for (const char* column : {"STOK_STOKNO",
                               "STOKNO",
                               "DURUM",
                               "OEM1",
                               "OEM2",
                               "OEM3",
                               "OEM4",
                               "OEMNO",
                               "ADI",
                               "BARKOD",
                               "BARKOD_BARKODNO",
                               "FINISHKOD",
                               "URETICIKODU",
                               "DIGERADI",
                               "DPKOD",
                               "PKOD",
                               "MARKA",
                               "MODEL",
                               "ANAGRUP",
                               "OZELKOD",
                               "BIRIM",
                               "OZELKOD1",
                               "RESIM",
                               "KDV",
                               "KALAN",
                               "ALINANSIPARIS",
                               "VERILENSIPARIS",
                               "FIYAT",
                               "LISTEFIYAT1",
                               "KAMPFIYAT",
                               "NETFIYAT",
                               "KDVDAHIL",
                               "INDIRIMYAZI",
                               "IND1",
                               "IND2",
                               "IND3",
                               "IND4",
                               "Y",
                               "K"})
        QVERIFY2(stok->columnIndex(QLatin1String(column)) >= 0, column);
    QCOMPARE(cell(*stok, 0, "STOK_STOKNO").toInt(), m_balata);
    QCOMPARE(cell(*stok, 0, "MARKA").toString(), QStringLiteral("Özdemir"));
    QCOMPARE(cell(*stok, 0, "OZELKOD1").toInt(), 4);
    QCOMPARE(cell(*stok, 0, "RESIM").toInt(), 1);
    QCOMPARE(cell(*stok, 1, "RESIM").toInt(), 0);
    // 100 less 10 % less 5 %, 20 % VAT.
    QCOMPARE(cell(*stok, 0, "FIYAT").toDouble(), 100.0);
    QCOMPARE(cell(*stok, 0, "IND1").toDouble(), 10.0);
    QCOMPARE(cell(*stok, 0, "IND2").toDouble(), 5.0);
    QCOMPARE(cell(*stok, 0, "NETFIYAT").toDouble(), 85.5);
    QCOMPARE(cell(*stok, 0, "KDVDAHIL").toDouble(), 102.6);
    QCOMPARE(cell(*stok, 0, "INDIRIMYAZI").toString(), QStringLiteral("10+5"));
    QCOMPARE(cell(*stok, 0, "K").toInt(), 0);

    // A campaign price stands instead of the discounts.
    stok = proxy.StokAraVelmora2(QStringLiteral("YF-2040"), kopyasi(m_dealerA));
    QCOMPARE(cell(*stok, 0, "K").toInt(), 1);
    QCOMPARE(cell(*stok, 0, "KAMPFIYAT").toDouble(), 30.0);
    QCOMPARE(cell(*stok, 0, "NETFIYAT").toDouble(), 30.0);
    QCOMPARE(cell(*stok, 0, "KDVDAHIL").toDouble(), 36.0);
    QCOMPARE(cell(*stok, 0, "IND1").toDouble(), 25.0);

    // A representative gets the prices of the account he chose ...
    TSonucBilgisi forB = m_representative;
    forB.FCARINO = m_accountB;
    stok = proxy.StokAraVelmora2(QStringLiteral("FB-1001"), kopyasi(forB));
    QCOMPARE(cell(*stok, 0, "NETFIYAT").toDouble(), 100.0);
    QCOMPARE(cell(*stok, 0, "INDIRIMYAZI").toString(), QStringLiteral("0"));
    stok = proxy.StokAraVelmora2(QStringLiteral("SK-51"), kopyasi(m_representative));
    QCOMPARE(cell(*stok, 0, "NETFIYAT").toDouble(), 200.0);
    // ... a dealer those of his own account, whatever account his record names.
    TSonucBilgisi forged = m_dealerB;
    forged.FCARINO = m_accountA;
    stok = proxy.StokAraVelmora2(QStringLiteral("FB-1001"), kopyasi(forged));
    QCOMPARE(cell(*stok, 0, "NETFIYAT").toDouble(), 100.0);
}

void TestOrderingMethods::searchIsBounded()
{
    TServerMethods1Client proxy(*m_connection);
    QCOMPARE(proxy.StokAraVelmora2(QStringLiteral("CONTA"), kopyasi(m_dealerA))->rows.size(), 2000);
    m_storage->setSetting(QStringLiteral("stok_arama_siniri"), QStringLiteral("3"));
    const velmora::Table* stok = proxy.StokAraVelmora2(QStringLiteral("CT-0"), kopyasi(m_dealerA));
    m_storage->setSetting(QStringLiteral("stok_arama_siniri"), QStringLiteral("2000"));
    QCOMPARE(codes(*stok), (QStringList{"CT-00000", "CT-00001", "CT-00002"}));
    // The exact code comes first even when the bound cuts the rest.
    m_storage->setSetting(QStringLiteral("stok_arama_siniri"), QStringLiteral("1"));
    stok = proxy.StokAraVelmora2(QStringLiteral("CT-02099"), kopyasi(m_dealerA));
    m_storage->setSetting(QStringLiteral("stok_arama_siniri"), QStringLiteral("2000"));
    QCOMPARE(codes(*stok), QStringList{"CT-02099"});
}

void TestOrderingMethods::searchRefusesAnUnregisteredComputer()
{
    TServerMethods1Client proxy(*m_connection);
    TSonucBilgisi stranger = m_dealerA;
    stranger.FBILGISAYARID = QStringLiteral("PC-YABANCI");
    try {
        proxy.StokAraVelmora2(QStringLiteral("FREN"), kopyasi(stranger));
        QFAIL("the search must be refused");
    } catch (const velmora::RemoteError& e) {
        QCOMPARE(e.httpStatus(), 403);
    }
}

void TestOrderingMethods::picture()
{
    TServerMethods1Client proxy(*m_connection);
    qint64 boy = -1;
    velmora::RemoteStream* stream = proxy.ResimVer5(m_balata, boy);
    QCOMPARE(boy, qint64(m_picture.size()));
    QCOMPARE(stream->readAllOrThrow(), m_picture);

    TServerMethods1Client other(*m_connection);
    boy = -1;
    stream = other.ResimVer5(m_saft, boy);
    QCOMPARE(boy, qint64(0));
    QVERIFY(stream->readAllOrThrow().isEmpty());
}

void TestOrderingMethods::basketLines()
{
    TServerMethods1Client proxy(*m_connection);
    const int verenid = m_dealerA.FSirano;
    // The client's price, discount and VAT are not taken: the customer's own apply.
    QCOMPARE(proxy.SepetEkle2(kopyasi(m_dealerA), m_accountA, m_balata, "X", "Y", 4, 1, 1.0, 99, verenid, 0, 0, 0, 0),
             1);
    const velmora::Table* sepet = proxy.SepetVer2(m_accountA);
    QCOMPARE(sepet->rows.size(), 1);
    const int line = cell(*sepet, 0, "SIRANO").toInt();
    QCOMPARE(cell(*sepet, 0, "STOKNO").toInt(), m_balata);
    QCOMPARE(cell(*sepet, 0, "BARKOD").toString(), QStringLiteral("FB-1001"));
    QCOMPARE(cell(*sepet, 0, "STOKADI").toString(), QStringLiteral("Fren Balatası Ön"));
    QCOMPARE(cell(*sepet, 0, "MARKA").toString(), QStringLiteral("Özdemir"));
    QCOMPARE(cell(*sepet, 0, "SEC").toInt(), 1);
    QCOMPARE(cell(*sepet, 0, "MIKTAR").toDouble(), 4.0);
    QCOMPARE(cell(*sepet, 0, "BIRIMFIYAT").toDouble(), 100.0);
    QCOMPARE(cell(*sepet, 0, "NETBIRIMFIYAT").toDouble(), 85.5);
    QCOMPARE(cell(*sepet, 0, "KDV").toDouble(), 20.0);
    QCOMPARE(cell(*sepet, 0, "TUTAR").toDouble(), 400.0);
    QCOMPARE(cell(*sepet, 0, "INDIRIMTUTAR").toDouble(), 58.0);
    QCOMPARE(cell(*sepet, 0, "NETTUTAR").toDouble(), 342.0);
    QCOMPARE(cell(*sepet, 0, "VERGITUTARI").toDouble(), 68.4);
    QCOMPARE(cell(*sepet, 0, "INDIRIMORANI1").toDouble(), 10.0);
    QCOMPARE(cell(*sepet, 0, "INDIRIMYAZI").toString(), QStringLiteral("10+5"));
    QCOMPARE(cell(*sepet, 0, "VEREN").toString(), QStringLiteral("BAYI"));
    QVERIFY(cell(*sepet, 0, "VERILISTARIHI").toDouble() > 45000);

    // The same item again adds to its line.
    QCOMPARE(proxy.SepetEkle2(kopyasi(m_dealerA), m_accountA, m_balata, "", "", 4, 20, 100, 10, verenid, 0, 5, 0, 0),
             1);
    sepet = proxy.SepetVer2(m_accountA);
    QCOMPARE(sepet->rows.size(), 1);
    QCOMPARE(cell(*sepet, 0, "MIKTAR").toDouble(), 8.0);

    QCOMPARE(proxy.SepetGuncelle2(kopyasi(m_dealerA), m_accountA, 0, "", "", 12, 20, 1, 0, verenid, line, 0, 0, 0), 1);
    proxy.SepetSecimGuncelle(line, 0);
    sepet = proxy.SepetVer2(m_accountA);
    QCOMPARE(cell(*sepet, 0, "MIKTAR").toDouble(), 12.0);
    QCOMPARE(cell(*sepet, 0, "BIRIMFIYAT").toDouble(), 100.0);
    QCOMPARE(cell(*sepet, 0, "SEC").toInt(), 0);
    proxy.SepetSecimGuncelle(line, 1);
    QCOMPARE(cell(*proxy.SepetVer2(m_accountA), 0, "SEC").toInt(), 1);
    QVERIFY_THROWS_EXCEPTION(velmora::RemoteError, proxy.SepetSecimGuncelle(line, 2));

    QCOMPARE(proxy.SepetEkle2(kopyasi(m_dealerA), m_accountA, m_filtre, "", "", 1, 0, 0, 0, verenid, 1, 0, 0, 0), 1);
    QCOMPARE(proxy.SepetSatirSil(kopyasi(m_dealerA), line, QStringLiteral("FB-1001-Fren Balatası Ön")), 1);
    QCOMPARE(proxy.SepetSatirSil(kopyasi(m_dealerA), line, QStringLiteral("again")), 0);
    sepet = proxy.SepetVer2(m_accountA);
    QCOMPARE(codes(*sepet), QStringList{"YF-2040"});
    QCOMPARE(cell(*sepet, 0, "BIRIMFIYAT").toDouble(), 40.0);
    QCOMPARE(cell(*sepet, 0, "NETBIRIMFIYAT").toDouble(), 30.0);
    QCOMPARE(
        query(QStringLiteral("SELECT ACIKLAMA FROM sepet_silinenler WHERE SEPETSIRANO = ?"), {line}).value(0).value(0),
        QVariant(QStringLiteral("FB-1001-Fren Balatası Ön")));

    QCOMPARE(proxy.SepetHepsiniSil(kopyasi(m_dealerA)), 1);
    QCOMPARE(proxy.SepetVer2(m_accountA)->rows.size(), 0);
}

void TestOrderingMethods::basketRefusals_data()
{
    QTest::addColumn<double>("quantity");
    QTest::addColumn<int>("stock");
    QTest::addColumn<bool>("stranger");

    QTest::newRow("zero quantity") << 0.0 << 0 << false;
    QTest::newRow("negative quantity") << -4.0 << 0 << false;
    QTest::newRow("beyond the largest quantity") << 2e6 << 0 << false;
    QTest::newRow("unknown item") << 1.0 << 999999 << false;
    QTest::newRow("computer not registered") << 1.0 << 0 << true;
}

void TestOrderingMethods::basketRefusals()
{
    QFETCH(double, quantity);
    QFETCH(int, stock);
    QFETCH(bool, stranger);
    TSonucBilgisi who = m_dealerA;
    if (stranger)
        who.FBILGISAYARID = QStringLiteral("PC-YABANCI");
    TServerMethods1Client proxy(*m_connection);
    QCOMPARE(proxy.SepetEkle2(kopyasi(m_dealerA), m_accountA, m_saft, "", "", 1, 0, 0, 0, 0, 0, 0, 0, 0), 1);
    const int line = cell(*proxy.SepetVer2(m_accountA), 0, "SIRANO").toInt();
    QCOMPARE(
        proxy.SepetEkle2(kopyasi(who), m_accountA, stock ? stock : m_filtre, "", "", quantity, 0, 0, 0, 0, 0, 0, 0, 0),
        0);
    if (!stock)
        QCOMPARE(proxy.SepetGuncelle2(kopyasi(who), m_accountA, 0, "", "", quantity, 0, 0, 0, 0, line, 0, 0, 0), 0);
    const velmora::Table* sepet = proxy.SepetVer2(m_accountA);
    QCOMPARE(codes(*sepet), QStringList{"SK-51"});
    QCOMPARE(cell(*sepet, 0, "MIKTAR").toDouble(), 1.0);
}

void TestOrderingMethods::basketBelongsToOneCustomer()
{
    TServerMethods1Client proxy(*m_connection);
    QCOMPARE(proxy.SepetEkle2(kopyasi(m_dealerA), m_accountA, m_balata, "", "", 4, 0, 0, 0, 0, 0, 0, 0, 0), 1);
    const int lineA = cell(*proxy.SepetVer2(m_accountA), 0, "SIRANO").toInt();

    // Dealer B can neither add to, change nor delete from A's basket, with his own account or A's.
    QCOMPARE(proxy.SepetEkle2(kopyasi(m_dealerB), m_accountA, m_saft, "", "", 1, 0, 0, 0, 0, 0, 0, 0, 0), 0);
    QCOMPARE(proxy.SepetGuncelle2(kopyasi(m_dealerB), m_accountA, 0, "", "", 40, 0, 0, 0, 0, lineA, 0, 0, 0), 0);
    QCOMPARE(proxy.SepetGuncelle2(kopyasi(m_dealerB), m_accountB, 0, "", "", 40, 0, 0, 0, 0, lineA, 0, 0, 0), 0);
    QCOMPARE(proxy.SepetSatirSil(kopyasi(m_dealerB), lineA, QString()), 0);
    TSonucBilgisi forged = m_dealerB;
    forged.FCARINO = m_accountA;
    QCOMPARE(proxy.SepetSatirSil(kopyasi(forged), lineA, QString()), 0);
    QCOMPARE(proxy.SepetHepsiniSil(kopyasi(forged)), 0);
    QCOMPARE(proxy.SepetHepsiniSil(kopyasi(m_dealerB)), 1);
    QCOMPARE(proxy.SiparisKaydet(kopyasi(forged), m_accountA, 7, m_cargoKind, {}, 0, m_yurtici), false);

    // A representative works on the account in the call only.
    QCOMPARE(proxy.SepetEkle2(kopyasi(m_representative), m_accountB, m_saft, "", "", 2, 0, 0, 0, 0, 0, 0, 0, 0), 1);
    TSonucBilgisi repForB = m_representative;
    repForB.FCARINO = m_accountB;
    QCOMPARE(proxy.SepetSatirSil(kopyasi(repForB), lineA, QString()), 0);
    QCOMPARE(proxy.SepetHepsiniSil(kopyasi(repForB)), 1);

    const velmora::Table* sepet = proxy.SepetVer2(m_accountA);
    QCOMPARE(codes(*sepet), QStringList{"FB-1001"});
    QCOMPARE(cell(*sepet, 0, "MIKTAR").toDouble(), 4.0);
    QCOMPARE(proxy.SepetVer2(m_accountB)->rows.size(), 0);
}

void TestOrderingMethods::orderTakesTheSelectedLinesOnce()
{
    TServerMethods1Client proxy(*m_connection);
    for (const qint32 stock : {m_balata, m_balataArka, m_filtre})
        QCOMPARE(proxy.SepetEkle2(kopyasi(m_dealerA), m_accountA, stock, "", "", 2, 0, 0, 0, 0, 0, 0, 0, 0), 1);
    QCOMPARE(proxy.SepetEkle2(kopyasi(m_dealerB), m_accountB, m_saft, "", "", 1, 0, 0, 0, 0, 0, 0, 0, 0), 1);
    const velmora::Table* sepet = proxy.SepetVer2(m_accountA);
    proxy.SepetSecimGuncelle(cell(*sepet, 1, "SIRANO").toInt(), 0);

    QVERIFY(proxy.SiparisKaydet(kopyasi(m_dealerA), m_accountA, 7, m_cargoKind, QStringLiteral("Öğlene kadar"),
                                m_dealerA.FSirano, m_yurtici));
    const auto orders = query(QStringLiteral("SELECT IDNO, CARINO, DURUM, TESLIMID, KARGOID, KARGOFIRMAID, ACIKLAMA,"
                                             " VERENSIRANO, SIPARISNO FROM siparisler"));
    QCOMPARE(orders.size(), 1);
    const QVector<QVariant>& order = orders.first();
    QCOMPARE(order.at(1).toInt(), m_accountA);
    QCOMPARE(order.at(2).toInt(), 0);
    QCOMPARE(order.at(3).toInt(), 7);
    QCOMPARE(order.at(4).toInt(), m_cargoKind);
    QCOMPARE(order.at(5).toInt(), m_yurtici);
    QCOMPARE(order.at(6).toString(), QStringLiteral("Öğlene kadar"));
    QCOMPARE(order.at(7).toInt(), m_dealerA.FSirano);
    QCOMPARE(order.at(8).toString(), QStringLiteral("W%1").arg(order.at(0).toInt(), 6, 10, QLatin1Char('0')));
    const auto lines = query(QStringLiteral("SELECT SATIRNO, STOKNO, MIKTAR, BIRIMFIYAT, NETBIRIMFIYAT, NETTUTAR"
                                            " FROM siparis_satirlari WHERE IDNO = ? ORDER BY SATIRNO"),
                             {order.at(0)});
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0), (QVector<QVariant>{1, m_balata, 2.0, 100.0, 85.5, 171.0}));
    QCOMPARE(lines.at(1), (QVector<QVariant>{2, m_filtre, 2.0, 40.0, 30.0, 60.0}));

    // The unselected line stays, the other customer's basket is untouched, and a second send has
    // nothing to take.
    QCOMPARE(codes(*proxy.SepetVer2(m_accountA)), QStringList{"FB-1001-A"});
    QCOMPARE(codes(*proxy.SepetVer2(m_accountB)), QStringList{"SK-51"});
    QCOMPARE(proxy.SiparisKaydet(kopyasi(m_dealerA), m_accountA, 7, m_cargoKind, {}, 0, m_yurtici), false);
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM siparisler")).value(0).value(0).toInt(), 1);

    // What is ordered counts as received orders of the item.
    const velmora::Table* stok = proxy.StokAraVelmora2(QStringLiteral("FB-1001"), kopyasi(m_dealerA));
    QCOMPARE(cell(*stok, 0, "ALINANSIPARIS").toDouble(), 2.0);
    QCOMPARE(cell(*stok, 1, "ALINANSIPARIS").toDouble(), 0.0);
}

void TestOrderingMethods::orderRefusesUnknownChoices()
{
    TServerMethods1Client proxy(*m_connection);
    QCOMPARE(proxy.SepetEkle2(kopyasi(m_dealerA), m_accountA, m_balata, "", "", 4, 0, 0, 0, 0, 0, 0, 0, 0), 1);
    // Unknown delivery kind; a company that does not carry the cargo kind; an unknown company.
    QCOMPARE(proxy.SiparisKaydet(kopyasi(m_dealerA), m_accountA, 99, m_cargoKind, {}, 0, m_yurtici), false);
    QCOMPARE(proxy.SiparisKaydet(kopyasi(m_dealerA), m_accountA, 7, m_cargoKind, {}, 0, m_ambar), false);
    QCOMPARE(proxy.SiparisKaydet(kopyasi(m_dealerA), m_accountA, 7, m_cargoKind, {}, 0, 0), false);
    QCOMPARE(query(QStringLiteral("SELECT COUNT(*) FROM siparisler")).value(0).value(0).toInt(), 0);
    QCOMPARE(proxy.SepetVer2(m_accountA)->rows.size(), 1);
    // The same basket goes through with valid choices, sent by a representative for the account.
    QVERIFY(proxy.SiparisKaydet(kopyasi(m_representative), m_accountA, 3, 1, {}, 0, m_ambar));
    QCOMPARE(query(QStringLiteral("SELECT VERENSIRANO FROM siparisler")).value(0).value(0).toInt(),
             m_representative.FSirano);
}

void TestOrderingMethods::deliveryAndCargoLists()
{
    TServerMethods1Client proxy(*m_connection);
    const velmora::Table* teslim = proxy.TeslimVer();
    QCOMPARE(teslim->columns.size(), 2);
    QCOMPARE(teslim->columns.at(0).type, velmora::FieldType::Int32);
    QCOMPARE(teslim->rows, (QVector<QVector<QVariant>>{{7, QStringLiteral("Kargo")}, {3, QStringLiteral("Gel Al")}}));
    const velmora::Table* kargoTurleri = proxy.KargoVer();
    QCOMPARE(kargoTurleri->rows, (QVector<QVector<QVariant>>{{2, QStringLiteral("Alıcı Ödemeli")},
                                                             {1, QStringLiteral("Gönderici Ödemeli")}}));

    const velmora::Table* kargo = proxy.KargolarVer(1);
    QCOMPARE(kargo->rows.size(), 2);
    QCOMPARE(cell(*kargo, 0, "ADI").toString(), QStringLiteral("Yurtiçi Kargo"));
    QCOMPARE(cell(*kargo, 0, "SIRANO").toInt(), m_yurtici);
    QCOMPARE(cell(*kargo, 0, "UYARI").toString(), QStringLiteral("16:00'dan sonra ertesi gün"));
    QCOMPARE(cell(*kargo, 1, "SIRANO").toInt(), m_ambar);
    QCOMPARE(cell(*kargo, 1, "UYARI").toString(), QString());
    QCOMPARE(proxy.KargolarVer(m_cargoKind)->rows.size(), 1);
    QCOMPARE(proxy.KargolarVer(42)->rows.size(), 0);
}

void TestOrderingMethods::demoCatalogue()
{
    TestDatabase database;
    VELMORA_REQUIRE_DATABASE(database);
    const auto opened = database.openStorage();
    Storage& storage = *opened;
    CustomerAccount account;
    account.code = QStringLiteral("120.09.001");
    account.name = QStringLiteral("Demo Oto");
    storage.addCustomerAccount(account);
    QVERIFY(fillDemoCatalogue(storage, 300));
    QVERIFY(!fillDemoCatalogue(storage, 300));

    const auto count = [&](const QString& sql) {
        return storage.read([&](QSqlDatabase& db) {
            QSqlQuery q = Storage::run(db, sql);
            return q.next() ? q.value(0).toInt() : -1;
        });
    };
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM stoklar")), 300);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM stok_arama")), 300);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(DISTINCT DURUM) FROM stoklar")), 7);
    QVERIFY(count(QStringLiteral("SELECT COUNT(*) FROM stoklar WHERE KAMPFIYAT > 0")) > 0);
    QVERIFY(count(QStringLiteral("SELECT COUNT(*) FROM stoklar WHERE KOLIADET > 1")) > 0);
    QVERIFY(count(QStringLiteral("SELECT COUNT(*) FROM cari_iskontolari")) > 0);
    QVERIFY(count(QStringLiteral("SELECT COUNT(*) FROM teslim_sekilleri")) >= 2);
    QVERIFY(count(QStringLiteral("SELECT COUNT(*) FROM kargo_firmalari WHERE UYARI <> ''")) >= 1);
    // Every company carries at least one cargo kind, and every kind has a company.
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM kargo_firmalari WHERE SIRANO NOT IN"
                                  " (SELECT FIRMA FROM kargo_turu_firmalari)")),
             0);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM kargo_turleri WHERE KOD NOT IN"
                                  " (SELECT KARGOTURU FROM kargo_turu_firmalari)")),
             0);
    const QByteArray jpeg = storage.read([](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(db, QStringLiteral("SELECT RESIM FROM stok_resimleri LIMIT 1"));
        return q.next() ? q.value(0).toByteArray() : QByteArray();
    });
    QVERIFY(!QImage::fromData(jpeg, "JPG").isNull());
}

QTEST_GUILESS_MAIN(TestOrderingMethods)
#include "test_ordering_methods.moc"
