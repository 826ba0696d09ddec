#include "server/banner_gif.h"
#include "server/ordering_data.h"
#include "server/schema_history.h"
#include "server/storage.h"
#include "server/table_cells.h"
#include "server_process.h"

#include "platform/server_connection.h"
#include "remote/proxim.h"
#include "session/kayitlar.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace velmora::server;

namespace {

QVector<QVariant> column(const velmora::Table& table, const char* name)
{
    QVector<QVariant> values;
    for (int row = 0; row < table.rows.size(); ++row)
        values << cell(table, row, name);
    return values;
}

// The document title from the PDF information dictionary: a literal string of UTF-16 with a
// byte-order mark, brackets and backslashes escaped.
QString pdfTitle(const QByteArray& pdf)
{
    qsizetype at = pdf.indexOf("/Title (");
    if (at < 0)
        return {};
    QByteArray raw;
    for (at += 8; at < pdf.size() && pdf[at] != ')'; ++at) {
        if (pdf[at] == '\\')
            ++at;
        raw.append(pdf[at]);
    }
    if (!raw.startsWith("\xfe\xff"))
        return QString::fromLatin1(raw);
    QString title;
    for (qsizetype i = 2; i + 1 < raw.size(); i += 2)
        title.append(QChar(static_cast<char16_t>((uchar(raw[i]) << 8) | uchar(raw[i + 1]))));
    return title;
}

double day(int y, int m, int d)
{
    return static_cast<double>(QDate(1899, 12, 30).daysTo(QDate(y, m, d)));
}

} // namespace

class TestHistoryMethods : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void statementRunsInDateOrder();
    void invoiceLinesAndTotalsAddUp();
    void collectionEntries();
    void previousOrdersAndTheirLines();
    void orderFooter();
    void allOrdersOfOneItem();
    void balanceChangesShowOnTheNextList();
    void balanceChangeRefusals_data();
    void balanceChangeRefusals();
    void representativesSeeOnlyTheirCustomers();
    void customerSearch_data();
    void customerSearch();
    void statusListsAndCounts();
    void stockListsWithTheAccountsPrices();
    void tabCountsMatchTheLists();
    void announcementsAreTheActiveOnes();
    void documentsRoundTrip();
    void reportsArePdfWithTheirDates_data();
    void reportsArePdfWithTheirDates();
    void reportRefusals_data();
    void reportRefusals();
    void bannerIsAnAnimatedGif();
    void gifEncoderRoundTripsEveryPixel();
    void newsLine();
    void customerDetailsForTheComputer();
    void requestsAndMailsGoToTheOutbox();

private:
    TSonucBilgisi session(const QString& computer) const;
    qint32 addOrder(qint32 account, int state, const QString& time, const QString& note);
    qint32 addLine(qint32 order, int lineNo, qint32 stock, const QString& code, double quantity, double delivered,
                   double price, double ind1);
    void addBasketLine(qint32 account, qint32 stock, const QString& code);

    TestDatabase m_db;
    std::unique_ptr<Storage> m_storage;
    std::unique_ptr<ServerProcess> m_server;
    std::unique_ptr<velmora::ServerConnection> m_connection;
    qint32 m_cinar = 0, m_gunes = 0, m_deniz = 0; // Ali's two customers, Zeynep's one
    qint32 m_balata = 0, m_filtre = 0, m_disk = 0, m_eski = 0;
    qint32 m_order1 = 0, m_order2 = 0, m_order3 = 0, m_order4 = 0;
    qint32 m_line1 = 0, m_line2 = 0, m_line3 = 0;
    qint32 m_invoice = 0, m_returns = 0, m_collection = 0;
    qint32 m_priceList = 0;
    QByteArray m_priceListBytes;
    QByteArray m_banner;
    qint32 m_delivery = 1, m_cargo = 1, m_company = 0;
};

TSonucBilgisi TestHistoryMethods::session(const QString& computer) const
{
    const auto found = m_storage->sessionFor(computer);
    return found ? *found : TSonucBilgisi{};
}

qint32 TestHistoryMethods::addOrder(qint32 account, int state, const QString& time, const QString& note)
{
    return m_storage->write([&](QSqlDatabase& db) {
        return Storage::run(
                   db,
                   QStringLiteral("INSERT INTO siparisler (CARINO, TARIH, DURUM, TESLIMID, KARGOID,"
                                  " KARGOFIRMAID, ACIKLAMA, SATICINOTU) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                   {account, time, state, m_delivery, m_cargo, m_company, note, QStringLiteral("Perşembe sevk")})
            .lastInsertId()
            .toInt();
    });
}

qint32 TestHistoryMethods::addLine(qint32 order, int lineNo, qint32 stock, const QString& code, double quantity,
                                   double delivered, double price, double ind1)
{
    const Price p = priceFor(price, 0, 20, {ind1, 0, 0, 0});
    return m_storage->write([&](QSqlDatabase& db) {
        return Storage::run(db,
                            QStringLiteral("INSERT INTO siparis_satirlari (IDNO, SATIRNO, STOKNO, BARKOD, STOKADI,"
                                           " MIKTAR, TESLIMMIKTAR, BIRIMFIYAT, IND1, KDV, NETBIRIMFIYAT, NETTUTAR)"
                                           " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 20, ?, ?)"),
                            {order, lineNo, stock, code, QStringLiteral("Ürün ") + code, quantity, delivered, price,
                             ind1, p.net, p.net * quantity})
            .lastInsertId()
            .toInt();
    });
}

void TestHistoryMethods::addBasketLine(qint32 account, qint32 stock, const QString& code)
{
    m_storage->write([&](QSqlDatabase& db) {
        Storage::run(db,
                     QStringLiteral("INSERT INTO sepet (CARINO, STOKNO, BARKOD, STOKADI, MIKTAR, BIRIMFIYAT,"
                                    " NETBIRIMFIYAT, KDV, TARIH) VALUES (?, ?, ?, 'x', 1, 10, 10, 20, '2024-02-01')"),
                     {account, stock, code});
    });
}

void TestHistoryMethods::initTestCase()
{
    VELMORA_REQUIRE_DATABASE(m_db);
    m_storage = m_db.openStorage();
    Storage& s = *m_storage;
    HistoryStore h(s);

    const qint32 ali = s.addRepresentative(
        {0, QStringLiteral("Ali Vural"), QStringLiteral("0532 111 22 33"), QStringLiteral("ali@velmora.example")});
    const qint32 zeynep = s.addRepresentative({0, QStringLiteral("Zeynep Şahin"), QStringLiteral("0533 444 55 66"),
                                               QStringLiteral("zeynep@velmora.example")});
    CustomerAccount a;
    a.code = QStringLiteral("120.01.001");
    a.name = QStringLiteral("Çınar Oto Yedek Parça");
    a.address1 = QStringLiteral("Sanayi Cad. No:5");
    a.district = QStringLiteral("Osmangazi");
    a.city = QStringLiteral("Bursa");
    a.phone1 = QStringLiteral("0224 111 22 33");
    a.fax1 = QStringLiteral("0224 111 22 34");
    a.taxOffice = QStringLiteral("Uludağ");
    a.taxNumber = QStringLiteral("1234567890");
    a.contact = QStringLiteral("Mehmet Çınar");
    a.specialCode = QStringLiteral("A");
    a.representative = ali;
    m_cinar = s.addCustomerAccount(a);
    a = CustomerAccount{};
    a.code = QStringLiteral("120.01.002");
    a.name = QStringLiteral("Güneş Otomotiv");
    a.district = QStringLiteral("Çankaya");
    a.city = QStringLiteral("Ankara");
    a.representative = ali;
    m_gunes = s.addCustomerAccount(a);
    a.code = QStringLiteral("120.02.001");
    a.name = QStringLiteral("Deniz Motor");
    a.city = QStringLiteral("İzmir");
    a.representative = zeynep;
    m_deniz = s.addCustomerAccount(a);

    auto addUser = [&](const char* name, qint32 type, qint32 account, qint32 rep, const char* computer) {
        const qint32 no = s.addUser({0, QLatin1String(name), QStringLiteral("1234"), 1, type,
                                     QStringLiteral("%1@example.com").arg(QLatin1String(name)), account, rep});
        s.registerInstallation(QLatin1String(computer), no);
    };
    addUser("BAYI", 3, m_cinar, 0, "PC-BAYI");
    addUser("EGE", 4, m_gunes, 0, "PC-EGE");
    addUser("ALI", 1, 0, ali, "PC-ALI");
    addUser("ZEYNEP", 2, 0, zeynep, "PC-ZEYNEP");
    s.setSetting(QStringLiteral("kayan_yazi"), QStringLiteral("  <b>Kış</b> kampanyası başladı"));

    CustomerTerms terms;
    terms.account = m_cinar;
    terms.discount = 15;
    terms.termDays = 60;
    terms.codes[0] = QStringLiteral("MARMARA");
    h.setTerms(terms);

    // Catalogue: a new item, a campaign item, a plain one and an inactive new one.
    const qint32 brand = addBrand(s, QStringLiteral("Kartal"));
    setCustomerDiscounts(s, m_cinar, 0, {10, 5, 0, 0});
    StockItem item;
    item.code = QStringLiteral("FB-1001");
    item.name = QStringLiteral("Fren Balatası Ön");
    item.brand = brand;
    item.listPrice = 100;
    item.isNew = true;
    m_balata = addStockItem(s, item);
    item.code = QStringLiteral("YF-2002");
    item.name = QStringLiteral("Yağ Filtresi");
    item.listPrice = 200;
    item.campaignPrice = 150;
    item.isNew = false;
    m_filtre = addStockItem(s, item);
    item.code = QStringLiteral("FD-3003");
    item.name = QStringLiteral("Fren Diski");
    item.listPrice = 50;
    item.campaignPrice = 0;
    m_disk = addStockItem(s, item);
    item.code = QStringLiteral("ES-4004");
    item.isNew = true;
    item.active = false;
    m_eski = addStockItem(s, item);
    addDeliveryKind(s, m_delivery, QStringLiteral("Adrese Teslim"));
    addCargoKind(s, m_cargo, QStringLiteral("Anlaşmalı Kargo"));
    m_company = addCargoCompany(s, QStringLiteral("Hızlı Kargo"), QString(), {m_cargo});

    // Orders: Çınar has an open one and a shipped one; Güneş an approved, Deniz a received one.
    m_order1 = addOrder(m_cinar, 0, QStringLiteral("2024-02-05T08:30:00.000Z"), QStringLiteral("Acele lütfen"));
    m_line1 = addLine(m_order1, 1, m_balata, QStringLiteral("FB-1001"), 4, 1, 100, 10);
    m_line2 = addLine(m_order1, 2, m_disk, QStringLiteral("FD-3003"), 2, 2, 50, 0);
    m_line3 = addLine(m_order1, 3, m_disk, QStringLiteral("FD-3003"), 5, 0, 50, 0);
    h.setOrderNote(m_order1, QStringLiteral("Depoya iletildi"));
    m_order2 = addOrder(m_cinar, 5, QStringLiteral("2024-01-15T10:00:00.000Z"), QString());
    addLine(m_order2, 1, m_balata, QStringLiteral("FB-1001"), 3, 0, 100, 10);
    m_order3 = addOrder(m_gunes, 1, QStringLiteral("2024-02-06T09:00:00.000Z"), QString());
    addLine(m_order3, 1, m_filtre, QStringLiteral("YF-2002"), 1, 0, 200, 0);
    m_order4 = addOrder(m_deniz, 0, QStringLiteral("2024-02-07T09:00:00.000Z"), QString());
    addLine(m_order4, 1, m_balata, QStringLiteral("FB-1001"), 1, 0, 100, 0);
    addBasketLine(m_cinar, m_balata, QStringLiteral("FB-1001"));
    addBasketLine(m_cinar, m_disk, QStringLiteral("FD-3003"));
    addBasketLine(m_deniz, m_balata, QStringLiteral("FB-1001"));

    // Çınar's account: carried-over debit, an invoice, a collection; Güneş a returns invoice.
    h.addOpeningBalance(m_cinar, QDate(2024, 1, 2), 1000);
    Invoice inv;
    inv.account = m_cinar;
    inv.date = QDate(2024, 1, 10);
    inv.documentNo = QStringLiteral("SF-000123");
    inv.termDays = 30;
    inv.representative = QStringLiteral("Ali Vural");
    InvoiceLine line;
    line.oemNo = QStringLiteral("1K0 615 301");
    line.name = QStringLiteral("Fren Diski Ön");
    line.make = QStringLiteral("Kartal");
    line.quantity = 2;
    line.unitPrice = 250;
    line.discount1 = 10;
    line.discount2 = 5;
    inv.lines << line;
    line.name = QStringLiteral("Montaj Seti");
    line.quantity = 1;
    line.unitPrice = 40;
    line.discount1 = 0;
    line.discount2 = 0;
    line.expense = 5;
    inv.lines << line;
    m_invoice = h.addInvoice(inv);
    Collection c;
    c.account = m_cinar;
    c.date = QDate(2024, 1, 20);
    c.documentNo = QStringLiteral("TH-77");
    c.entries << CollectionEntry{QStringLiteral("Nakit"), QDate(2024, 1, 20), 500, QString(), QString()}
              << CollectionEntry{QStringLiteral("Çek"), QDate(2024, 3, 1), 1200.5, QStringLiteral("Halkbank"),
                                 QStringLiteral("ÇK-5521")};
    m_collection = h.addCollection(c);
    inv.account = m_gunes;
    inv.returns = true;
    inv.documentNo = QStringLiteral("IF-9");
    inv.lines.resize(1);
    m_returns = h.addInvoice(inv);

    h.addAnnouncement(QDate(2024, 2, 1), QStringLiteral("Tatil"), QStringLiteral("<p><b>1 Mayıs</b> kapalıyız</p>"));
    h.addAnnouncement(QDate(2024, 2, 3), QStringLiteral("Yeni depo"), QStringLiteral("<p>Yeni depomuz açıldı</p>"));
    h.addAnnouncement(QDate(2024, 1, 1), QStringLiteral("Eski"), QStringLiteral("<p>eski</p>"), false);

    for (int i = 0; i < 2500; ++i)
        m_priceListBytes.append(static_cast<char>(i * 7));
    m_priceList =
        h.addFile(QStringLiteral("Fiyat Listesi"), QStringLiteral("Fiyat listesi Şubat ğüşİ.pdf"), m_priceListBytes);
    h.addFile(QStringLiteral("Katalog"), QStringLiteral("katalog.XLSX"), QByteArray("xlsx"));
    h.addFile(QStringLiteral("Notlar"), QStringLiteral("BENIOKU"), QByteArray("n"));
    m_banner = drawBannerGif();
    h.storeBanner(m_banner);

    m_server = std::make_unique<ServerProcess>(m_db);
    QVERIFY2(m_server->start(), qPrintable(m_server->errorText()));
    m_connection = std::make_unique<velmora::ServerConnection>(QStringLiteral("127.0.0.1"), m_server->port());
    m_connection->open();
}

void TestHistoryMethods::cleanupTestCase()
{
    m_connection.reset();
    if (m_server)
        QVERIFY(m_server->stop());
}

void TestHistoryMethods::statementRunsInDateOrder()
{
    TServerMethods1Client proxy(*m_connection);
    const velmora::Table t = *proxy.CariEkstreVer(m_cinar);
    QCOMPARE(t.rows.size(), 3);
    QCOMPARE(column(t, "TURADI"), (QVector<QVariant>{QStringLiteral("Devir"), QStringLiteral("Satış Faturası"),
                                                     QStringLiteral("Tahsilat")}));
    QCOMPARE(column(t, "TARIH"), (QVector<QVariant>{day(2024, 1, 2), day(2024, 1, 10), day(2024, 1, 20)}));
    QCOMPARE(cell(t, 1, "IDNO").toInt(), m_invoice);
    QCOMPARE(cell(t, 1, "EVRAK").toString(), QStringLiteral("SF-000123"));
    // Invoice: 2 x 250 less 10 % and 5 % = 427.50, + 40 + 5 expense = 472.50 net, VAT 18 % 85.05.
    QCOMPARE(cell(t, 1, "BORC").toDouble(), 557.55);
    QCOMPARE(cell(t, 2, "ALACAK").toDouble(), 1700.5);
    QCOMPARE(column(t, "BAKIYE"), (QVector<QVariant>{1000.0, 1557.55, -142.95}));
    QCOMPARE(column(t, "D"), (QVector<QVariant>{QStringLiteral("B"), QStringLiteral("B"), QStringLiteral("A")}));
    for (const char* name : {"CARINO", "KUR", "ACIKLAMA"})
        QVERIFY(t.columnIndex(QLatin1String(name)) >= 0);
    QVERIFY(proxy.CariEkstreVer(m_deniz)->rows.isEmpty());
}

void TestHistoryMethods::invoiceLinesAndTotalsAddUp()
{
    TServerMethods1Client proxy(*m_connection);
    const velmora::Table lines = *proxy.FaturaGetir(m_cinar, m_invoice);
    QCOMPARE(lines.rows.size(), 2);
    QCOMPARE(cell(lines, 0, "STOKADI").toString(), QStringLiteral("Fren Diski Ön"));
    QCOMPARE(cell(lines, 0, "STOKHAR_TLTUTAR").toDouble(), 500.0);
    QCOMPARE(cell(lines, 0, "STOKHAR_TOPLAMINDIRIM").toDouble(), 72.5);
    QCOMPARE(cell(lines, 0, "STOKHAR_NETTLTUTAR").toDouble(), 427.5);
    QCOMPARE(cell(lines, 0, "STOKHAR_NETTLBIRIMFIYATI").toDouble(), 213.75);
    QCOMPARE(cell(lines, 1, "STOKHAR_TOPLAMMASRAF").toDouble(), 5.0);
    QCOMPARE(cell(lines, 1, "STOKHAR_NETTLTUTAR").toDouble(), 45.0);
    // The header fields the window reads from the first row.
    QCOMPARE(cell(lines, 0, "STOKHAR_HAREKETTARIHI").toDouble(), day(2024, 1, 10));
    QCOMPARE(cell(lines, 0, "STOKHAR_HAREKETTIPI2").toString(), QStringLiteral("Satış Faturası"));
    QCOMPARE(cell(lines, 0, "SATICIADI").toString(), QStringLiteral("Ali Vural"));
    QCOMPARE(cell(lines, 0, "EVRAKNO").toString(), QStringLiteral("SF-000123"));
    QCOMPARE(cell(lines, 0, "STOKHAR_VADE").toInt(), 30);

    const velmora::Table totals = *proxy.FaturaAltGetir(m_invoice);
    QCOMPARE(totals.rows.size(), 1);
    QCOMPARE(cell(totals, 0, "TOPLAM").toDouble(), 540.0);
    QCOMPARE(cell(totals, 0, "TOPLAMINDIRIM").toDouble(), 72.5);
    QCOMPARE(cell(totals, 0, "MATRAH").toDouble(), 472.5);
    QCOMPARE(cell(totals, 0, "KDVTUTAR").toDouble(), 85.05);
    QCOMPARE(cell(totals, 0, "KDVDAHIL").toDouble(), 557.55); // the statement's debit

    // Another account's invoice, or a collection, has no lines here.
    QVERIFY(proxy.FaturaGetir(m_gunes, m_invoice)->rows.isEmpty());
    QVERIFY(proxy.FaturaGetir(m_cinar, m_collection)->rows.isEmpty());
    QVERIFY(proxy.FaturaAltGetir(m_collection)->rows.isEmpty());
    QCOMPARE(cell(*proxy.FaturaGetir(m_gunes, m_returns), 0, "STOKHAR_HAREKETTIPI2").toString(),
             QStringLiteral("İade Faturası"));
}

void TestHistoryMethods::collectionEntries()
{
    TServerMethods1Client proxy(*m_connection);
    const velmora::Table t = *proxy.Tahsilat(m_collection);
    QCOMPARE(t.rows.size(), 2);
    QCOMPARE(cell(t, 1, "Tarih").toDouble(), day(2024, 1, 20));
    QCOMPARE(cell(t, 1, "Türü").toString(), QStringLiteral("Tahsilat"));
    QCOMPARE(cell(t, 1, "Cins").toString(), QStringLiteral("Çek"));
    QCOMPARE(cell(t, 1, "Vade").toDouble(), day(2024, 3, 1));
    QCOMPARE(cell(t, 1, "Tutar").toDouble(), 1200.5);
    QCOMPARE(cell(t, 1, "Açıklama").toString(), QStringLiteral("Halkbank"));
    QCOMPARE(cell(t, 1, "Ref").toString(), QStringLiteral("ÇK-5521"));
    QCOMPARE(cell(t, 0, "EvrakNo").toString(), QStringLiteral("TH-77"));
    for (const char* name : {"Saat", "Kur", "KurTL", "Döviz Tutar"})
        QVERIFY(t.columnIndex(QString::fromUtf8(name)) >= 0);
    QVERIFY(proxy.Tahsilat(m_invoice)->rows.isEmpty());
}

void TestHistoryMethods::previousOrdersAndTheirLines()
{
    TServerMethods1Client proxy(*m_connection);
    const velmora::Table orders = *proxy.OncekiSiparisler(m_cinar);
    QCOMPARE(column(orders, "IDNO"), (QVector<QVariant>{m_order1, m_order2})); // newest first
    QCOMPARE(cell(orders, 0, "DURUM").toString(), QStringLiteral("Alındı"));
    QCOMPARE(cell(orders, 1, "DURUM").toString(), QStringLiteral("Sevk Edildi"));
    QCOMPARE(cell(orders, 0, "KARGO").toString(), QStringLiteral("Anlaşmalı Kargo"));
    QCOMPARE(cell(orders, 0, "TESLIM").toString(), QStringLiteral("Adrese Teslim"));
    QCOMPARE(cell(orders, 0, "KARGOADI").toString(), QStringLiteral("Hızlı Kargo"));
    QCOMPARE(cell(orders, 0, "VERENINNOTU").toString(), QStringLiteral("Acele lütfen"));
    QCOMPARE(cell(orders, 0, "ALANNOTU").toString(), QStringLiteral("Depoya iletildi"));
    // 4 x 90 + 2 x 50 + 5 x 50 = 710 net, 20 % VAT.
    QCOMPARE(cell(orders, 0, "NETTUTAR").toDouble(), 710.0);
    QCOMPARE(cell(orders, 0, "VERGI").toDouble(), 142.0);
    QCOMPARE(cell(orders, 0, "TUTAR").toDouble(), 852.0);
    QVERIFY(cell(orders, 0, "TARIH").toDouble() > day(2024, 2, 5));

    const velmora::Table lines = *proxy.SiparisAyrintisi2(m_cinar, m_order1);
    QCOMPARE(lines.rows.size(), 3);
    QCOMPARE(cell(lines, 0, "STOKADI").toString(), QStringLiteral("Ürün FB-1001"));
    QCOMPARE(cell(lines, 0, "TUTAR").toDouble(), 400.0);
    QCOMPARE(cell(lines, 0, "INDIRIMTUTAR").toDouble(), 40.0);
    QCOMPARE(cell(lines, 0, "NETTUTAR").toDouble(), 360.0);
    QCOMPARE(cell(lines, 0, "INDIRIMYAZI").toString(), QStringLiteral("10"));
    QCOMPARE(cell(lines, 0, "TESLIMEDILEN").toDouble(), 1.0);
    QCOMPARE(cell(lines, 0, "KALAN").toDouble(), 3.0);
    // The order number and the customer must belong together.
    QVERIFY(proxy.SiparisAyrintisi2(m_gunes, m_order1)->rows.isEmpty());
}

void TestHistoryMethods::orderFooter()
{
    TServerMethods1Client proxy(*m_connection);
    const TSiparisDipAyrinti* dip = proxy.SiparisAytintisiDip(0, m_order1);
    QVERIFY(dip);
    QCOMPARE(dip->FDurumu, QStringLiteral("Alındı"));
    QCOMPARE(dip->FSizinMesaj, QStringLiteral("Acele lütfen"));
    QCOMPARE(dip->FBizimMesaj, QStringLiteral("Depoya iletildi"));
    QCOMPARE(dip->FTeslimCinsi, QStringLiteral("Adrese Teslim"));
    QCOMPARE(dip->FKargoCinsi, QStringLiteral("Anlaşmalı Kargo"));
    QCOMPARE(dip->FKargo, QStringLiteral("Hızlı Kargo"));
    QCOMPARE(dip->FSaticiNotu, QStringLiteral("Perşembe sevk"));
    QVERIFY(!proxy.SiparisAytintisiDip(0, 999999));
}

void TestHistoryMethods::allOrdersOfOneItem()
{
    TServerMethods1Client proxy(*m_connection);
    QCOMPARE(proxy.TumSiparislerVer(m_cinar, 0)->rows.size(), 4);
    const velmora::Table disks = *proxy.TumSiparislerVer(m_cinar, m_disk);
    QCOMPARE(column(disks, "STOK_STOKNO"), (QVector<QVariant>{m_disk, m_disk}));
    QVERIFY(proxy.TumSiparislerVer(m_gunes, m_disk)->rows.isEmpty());
}

void TestHistoryMethods::balanceChangesShowOnTheNextList()
{
    TServerMethods1Client proxy(*m_connection);
    const TSonucBilgisi zeynep = session(QStringLiteral("PC-ZEYNEP"));
    TSonucBilgisi bayi = session(QStringLiteral("PC-BAYI"));
    TSonucBilgisi ali = session(QStringLiteral("PC-ALI"));
    ali.FCARINO = m_cinar;

    // Fully delivered lines and shipped orders have no balance.
    velmora::Table t = *proxy.BakiyelerVer2(m_cinar);
    QCOMPARE(column(t, "SIRANO"), (QVector<QVariant>{m_line1, m_line3}));
    QCOMPARE(column(t, "STOKHAR_NO"), (QVector<QVariant>{m_line1, m_line3}));
    QCOMPARE(column(t, "KALAN"), (QVector<QVariant>{3.0, 5.0}));
    QCOMPARE(cell(t, 0, "MIKTAR").toDouble(), 4.0);
    QCOMPARE(cell(t, 0, "IDNO").toInt(), m_order1);

    QCOMPARE(proxy.BakiyeDegistir(kopyasi(bayi), m_balata, m_line1, m_line1, 2, 2, QStringLiteral("FB-1001")), 1);
    t = *proxy.BakiyelerVer2(m_cinar);
    QCOMPARE(column(t, "KALAN"), (QVector<QVariant>{2.0, 5.0}));
    QCOMPARE(cell(t, 0, "MIKTAR").toDouble(), 4.0);

    // Only a user of type 2 changes prices; the first price stays visible.
    QVERIFY_THROWS_EXCEPTION(velmora::RemoteError, proxy.BakiyeFiyatDegistir(kopyasi(ali), 0, m_line3, m_line3, 5, 5,
                                                                             QStringLiteral("FD-3003"), 40, 0));
    TSonucBilgisi zeynepForCinar = zeynep;
    zeynepForCinar.FCARINO = m_cinar;
    QVERIFY_THROWS_EXCEPTION(velmora::RemoteError,
                             proxy.BakiyeFiyatDegistir(kopyasi(zeynepForCinar), 0, m_line3, m_line3, 5, 5,
                                                       QStringLiteral("FD-3003"), 40, 0)); // not her customer
    m_storage->write([&](QSqlDatabase& db) {
        Storage::run(db, QStringLiteral("UPDATE cariler SET SATICINO = ? WHERE CARINO = ?"),
                     {zeynep.FSaticiNo, m_cinar});
    });
    QCOMPARE(proxy.BakiyeFiyatDegistir(kopyasi(zeynepForCinar), 0, m_line3, m_line3, 5, 5, QStringLiteral("FD-3003"),
                                       40, 25),
             1);
    m_storage->write([&](QSqlDatabase& db) {
        Storage::run(db, QStringLiteral("UPDATE cariler SET SATICINO = ? WHERE CARINO = ?"), {ali.FSaticiNo, m_cinar});
    });
    t = *proxy.BakiyelerVer2(m_cinar);
    QCOMPARE(cell(t, 1, "BIRIMFIYAT").toDouble(), 40.0);
    QCOMPARE(cell(t, 1, "INDIRIMORANI1").toDouble(), 25.0);
    QCOMPARE(cell(t, 1, "ILKFIYAT").toDouble(), 50.0);
    QCOMPARE(cell(t, 1, "NETBIRIMFIYAT").toDouble(), 30.0);
    QCOMPARE(cell(t, 1, "NETTUTAR").toDouble(), 150.0);
    QCOMPARE(cell(t, 1, "INDIRIMTUTAR").toDouble(), 50.0);
    // The changed price reaches the order's totals as well: 4 x 90 + 2 x 50 + 5 x 30.
    QCOMPARE(cell(*proxy.OncekiSiparisler(m_cinar), 0, "NETTUTAR").toDouble(), 610.0);

    QCOMPARE(proxy.BakiyeDuzenle(kopyasi(ali), m_disk, m_line3, m_line3, 5, 5, QStringLiteral("FD-3003")), 1);
    t = *proxy.BakiyelerVer2(m_cinar);
    QCOMPARE(column(t, "SIRANO"), (QVector<QVariant>{m_line1}));
    QCOMPARE(cell(*proxy.SiparisAyrintisi2(m_cinar, m_order1), 2, "KALAN").toDouble(), 0.0);
    // A deleted balance cannot be changed again.
    QVERIFY_THROWS_EXCEPTION(velmora::RemoteError, proxy.BakiyeDegistir(kopyasi(ali), m_disk, m_line3, m_line3, 3, 3,
                                                                        QStringLiteral("FD-3003")));
}

void TestHistoryMethods::balanceChangeRefusals_data()
{
    QTest::addColumn<QString>("computer");
    QTest::addColumn<int>("stock");
    QTest::addColumn<QString>("code");
    QTest::addColumn<double>("balance");
    QTest::addColumn<int>("status");
    QTest::newRow("other customer's dealer") << "PC-EGE" << 0 << "FB-1001" << 2.0 << 403;
    QTest::newRow("other representative") << "PC-ZEYNEP" << 0 << "FB-1001" << 2.0 << 403;
    QTest::newRow("unregistered computer") << "PC-YOK" << 0 << "FB-1001" << 2.0 << 403;
    QTest::newRow("wrong barcode") << "PC-BAYI" << 0 << "FD-3003" << 2.0 << 400;
    QTest::newRow("wrong stock") << "PC-BAYI" << 1 << "FB-1001" << 2.0 << 400;
    QTest::newRow("zero balance") << "PC-BAYI" << 0 << "FB-1001" << 0.0 << 400;
}

void TestHistoryMethods::balanceChangeRefusals()
{
    QFETCH(QString, computer);
    QFETCH(int, stock);
    QFETCH(QString, code);
    QFETCH(double, balance);
    QFETCH(int, status);
    TSonucBilgisi who = session(computer);
    who.FBILGISAYARID = computer;
    who.FCARINO = who.FMusteriTipi <= 2 ? m_cinar : who.FCARINO;
    TServerMethods1Client proxy(*m_connection);
    const double before = cell(*proxy.BakiyelerVer2(m_cinar), 0, "KALAN").toDouble();
    try {
        proxy.BakiyeDegistir(kopyasi(who), stock == 0 ? m_balata : m_disk, m_line1, m_line1, balance, balance, code);
        QFAIL("the change was accepted");
    } catch (const velmora::RemoteError& e) {
        QCOMPARE(e.httpStatus(), status);
    }
    QCOMPARE(cell(*proxy.BakiyelerVer2(m_cinar), 0, "KALAN").toDouble(), before);
}

void TestHistoryMethods::representativesSeeOnlyTheirCustomers()
{
    TServerMethods1Client proxy(*m_connection);
    auto names = [](const velmora::Table& t) {
        QStringList list;
        for (const QVariant& v : column(t, "CARIADI"))
            list << v.toString();
        return list;
    };
    QCOMPARE(names(*proxy.CariAra(kopyasi(session(QStringLiteral("PC-ALI"))), QString())),
             (QStringList{QStringLiteral("Çınar Oto Yedek Parça"), QStringLiteral("Güneş Otomotiv")}));
    QCOMPARE(names(*proxy.CariAra(kopyasi(session(QStringLiteral("PC-ZEYNEP"))), QString())),
             (QStringList{QStringLiteral("Deniz Motor")}));
    // A forged representative number in the record changes nothing: the computer decides.
    TSonucBilgisi forged = session(QStringLiteral("PC-ZEYNEP"));
    forged.FSaticiNo = session(QStringLiteral("PC-ALI")).FSaticiNo;
    QCOMPARE(names(*proxy.CariAra(kopyasi(forged), QString())), (QStringList{QStringLiteral("Deniz Motor")}));
    // A dealer sees his own account only.
    QCOMPARE(names(*proxy.CariAra(kopyasi(session(QStringLiteral("PC-BAYI"))), QString())),
             (QStringList{QStringLiteral("Çınar Oto Yedek Parça")}));
    TSonucBilgisi unknown;
    unknown.FBILGISAYARID = QStringLiteral("PC-YOK");
    QVERIFY_THROWS_EXCEPTION(velmora::RemoteError, proxy.CariAra(kopyasi(unknown), QString()));

    const velmora::Table t = *proxy.CariAra(kopyasi(session(QStringLiteral("PC-ALI"))), QStringLiteral("ÇINAR"));
    QCOMPARE(t.rows.size(), 1);
    QCOMPARE(cell(t, 0, "CARINO").toInt(), m_cinar);
    QCOMPARE(cell(t, 0, "SATICISI").toString(), QStringLiteral("Ali Vural"));
    QCOMPARE(cell(t, 0, "IL").toString(), QStringLiteral("Bursa"));
    QCOMPARE(cell(t, 0, "ILCE").toString(), QStringLiteral("Osmangazi"));
    QCOMPARE(cell(t, 0, "VADE").toInt(), 60);
    QCOMPARE(cell(t, 0, "INDIRIM").toDouble(), 15.0);
    QCOMPARE(cell(t, 0, "KOD1").toString(), QStringLiteral("MARMARA"));
    QCOMPARE(cell(t, 0, "TLBAKIYE").toDouble(), -142.95);
    QCOMPARE(cell(t, 0, "DURUM").toString(), QStringLiteral("Alacaklı"));
    QCOMPARE(cell(t, 0, "SEPET").toInt(), 2);
    QCOMPARE(cell(t, 0, "ALINDI").toInt(), 1);
    for (const char* name :
         {"OZELKOD",       "KOD5",         "TEL1",    "TEL2",      "GSM",     "YETKILI",    "VADEKONTROLGUN",
          "VADEKONTROLAY", "VERGIDAIRESI", "VERGINO", "ADRES1",    "ADRES2",  "ANAGRUP",    "ALTGRUP",
          "FAX1",          "FAX2",         "EMAIL",   "ONAYLANDI", "GORULDU", "HAZIRLANDI", "PARCALIHAZIRLANDI"})
        QVERIFY2(t.columnIndex(QLatin1String(name)) >= 0, name);
}

void TestHistoryMethods::customerSearch_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("empty lists all") << "" << QStringList{"120.01.001", "120.01.002"};
    QTest::newRow("blanks list all") << "   " << QStringList{"120.01.001", "120.01.002"};
    QTest::newRow("Turkish capitals") << "GÜNEŞ" << QStringList{"120.01.002"};
    QTest::newRow("folded letters") << "GUNES" << QStringList{"120.01.002"};
    QTest::newRow("city") << "ANKARA" << QStringList{"120.01.002"};
    QTest::newRow("code part") << "01.001" << QStringList{"120.01.001"};
    QTest::newRow("every word must match") << "ÇINAR ANKARA" << QStringList{};
    QTest::newRow("other representative's customer") << "DENİZ" << QStringList{};
}

void TestHistoryMethods::customerSearch()
{
    QFETCH(QString, text);
    QFETCH(QStringList, codes);
    TServerMethods1Client proxy(*m_connection);
    QStringList found;
    for (const QVariant& v : column(*proxy.CariAra(kopyasi(session(QStringLiteral("PC-ALI"))), text), "CARIKOD"))
        found << v.toString();
    QCOMPARE(found, codes);
}

void TestHistoryMethods::statusListsAndCounts()
{
    TServerMethods1Client proxy(*m_connection);
    const TSonucBilgisi ali = session(QStringLiteral("PC-ALI"));
    auto carinos = [&](int code) {
        QVector<QVariant> list = column(*proxy.CariSepetVer(kopyasi(ali), code), "CARINO");
        return list;
    };
    QCOMPARE(carinos(1), (QVector<QVariant>{m_cinar})); // basket lines
    QCOMPARE(carinos(2), (QVector<QVariant>{m_cinar})); // received
    QCOMPARE(carinos(3), (QVector<QVariant>{m_gunes})); // approved
    QCOMPARE(carinos(4), (QVector<QVariant>{}));        // seen
    QCOMPARE(carinos(7), (QVector<QVariant>{m_cinar})); // shipped
    QVERIFY_THROWS_EXCEPTION(velmora::RemoteError, proxy.CariSepetVer(kopyasi(ali), 8));

    QCOMPARE(proxy.SepetSayisi(kopyasi(ali)), 1);
    QCOMPARE(proxy.SepetSayisi(kopyasi(session(QStringLiteral("PC-ZEYNEP")))), 1);
    QCOMPARE(proxy.SepetSayisi(kopyasi(session(QStringLiteral("PC-EGE")))), 0);

    const TTusSonuclari* counts = proxy.TusSonuclariVer(kopyasi(ali));
    QVERIFY(counts);
    QCOMPARE(counts->FAlindi, 1);
    QCOMPARE(counts->FOnaylandi, 1);
    QCOMPARE(counts->FGoruldu, 0);
    QCOMPARE(counts->FParcaliHazirlandi, 0);
    QCOMPARE(counts->FHazirlandi, 0);
    QCOMPARE(counts->FSevkEdildi, 1);
    QCOMPARE(proxy.TusSonuclariVer(kopyasi(session(QStringLiteral("PC-ZEYNEP"))))->FAlindi, 1);
}

void TestHistoryMethods::stockListsWithTheAccountsPrices()
{
    TServerMethods1Client proxy(*m_connection);
    const velmora::Table news = *proxy.YenilerVer2(m_cinar);
    QCOMPARE(column(news, "STOK_STOKNO"), (QVector<QVariant>{m_balata})); // the inactive one is left out
    QCOMPARE(cell(news, 0, "LISTEFIYAT1").toDouble(), 100.0);
    QCOMPARE(cell(news, 0, "NETFIYAT").toDouble(), 85.5); // 10 % then 5 %
    QCOMPARE(cell(news, 0, "KDVDAHIL").toDouble(), 102.6);
    QCOMPARE(cell(news, 0, "INDIRIMYAZI").toString(), QStringLiteral("10+5"));
    QCOMPARE(cell(news, 0, "K").toInt(), 0);
    QCOMPARE(cell(news, 0, "ADI").toString(), QStringLiteral("Fren Balatası Ön"));
    // Without discounts of its own an account pays the list price.
    QCOMPARE(cell(*proxy.YenilerVer2(m_deniz), 0, "NETFIYAT").toDouble(), 100.0);

    const velmora::Table campaign = *proxy.KampanyaliVer2(m_cinar, 3);
    QCOMPARE(column(campaign, "STOK_STOKNO"), (QVector<QVariant>{m_filtre}));
    QCOMPARE(cell(campaign, 0, "ESKIFIYAT").toDouble(), 200.0);
    QCOMPARE(cell(campaign, 0, "FIYAT").toDouble(), 150.0);
    QCOMPARE(cell(campaign, 0, "NETFIYAT").toDouble(), 150.0);
    QCOMPARE(cell(campaign, 0, "K").toInt(), 1);
    QCOMPARE(cell(campaign, 0, "Y").toInt(), 0);
    QCOMPARE(cell(campaign, 0, "RESIM").toInt(), 0);
    QCOMPARE(cell(campaign, 0, "DURUM").toInt(), 1);
    for (const char* name : {"OEM1", "OEM2", "OEM3", "FINISHKOD", "BIRIM", "BARKOD", "KALAN", "ALINANSIPARIS",
                             "VERILENSIPARIS", "INDIRIM", "KAMPFIYAT", "MARKA"})
        QVERIFY2(campaign.columnIndex(QLatin1String(name)) >= 0, name);
    // Users of type 4 get no campaign stock.
    QVERIFY(proxy.KampanyaliVer2(m_gunes, 4)->rows.isEmpty());
}

void TestHistoryMethods::tabCountsMatchTheLists()
{
    TServerMethods1Client proxy(*m_connection);
    TSonucBilgisi ali = session(QStringLiteral("PC-ALI"));
    ali.FCARINO = m_cinar;
    velmora::Table t = *proxy.BalonGetir(kopyasi(ali));
    QCOMPARE(t.rows.size(), 1);
    QCOMPARE(t.rows[0].size(), 5);
    QCOMPARE(t.rows[0][0].toInt(), proxy.SepetVer2(m_cinar)->rows.size());
    QCOMPARE(t.rows[0][1].toInt(), proxy.YenilerVer2(m_cinar)->rows.size());
    QCOMPARE(t.rows[0][2].toInt(), proxy.KampanyaliVer2(m_cinar, ali.FMusteriTipi)->rows.size());
    QCOMPARE(t.rows[0][3].toInt(), proxy.DuyuruVer()->rows.size());
    double balance = 0;
    for (const QVariant& v : column(*proxy.BakiyelerVer2(m_cinar), "KALAN"))
        balance += v.toDouble();
    QCOMPARE(t.rows[0][4].toDouble(), balance);

    t = *proxy.BalonGetir(kopyasi(session(QStringLiteral("PC-EGE"))));
    QCOMPARE(t.rows[0][2].toInt(), 0); // type 4: no campaign tab
    QCOMPARE(t.rows[0][4].toDouble(), 1.0);
    // A representative's record naming another's customer is refused.
    TSonucBilgisi zeynep = session(QStringLiteral("PC-ZEYNEP"));
    zeynep.FCARINO = m_cinar;
    QVERIFY_THROWS_EXCEPTION(velmora::RemoteError, proxy.BalonGetir(kopyasi(zeynep)));
}

void TestHistoryMethods::announcementsAreTheActiveOnes()
{
    TServerMethods1Client proxy(*m_connection);
    const velmora::Table t = *proxy.DuyuruVer();
    QCOMPARE(column(t, "BASLIK"), (QVector<QVariant>{QStringLiteral("Yeni depo"), QStringLiteral("Tatil")}));
    QCOMPARE(cell(t, 1, "DUYURU").toString(), QStringLiteral("<p><b>1 Mayıs</b> kapalıyız</p>"));
}

void TestHistoryMethods::documentsRoundTrip()
{
    TServerMethods1Client proxy(*m_connection);
    const velmora::Table list = *proxy.DosyaListesi2();
    QCOMPARE(column(list, "TUR"), (QVector<QVariant>{4, 6, 0}));
    QCOMPARE(column(list, "ILERI"), (QVector<QVariant>{0, 0, 0}));
    QCOMPARE(cell(list, 0, "ACIKLAMA").toString(), QStringLiteral("Fiyat Listesi"));
    QCOMPARE(cell(list, 0, "DOSYAYOL").toString(), QStringLiteral("Fiyat listesi Şubat ğüşİ.pdf"));

    qint64 size = -1;
    QString name;
    velmora::RemoteStream* stream = proxy.BelgeIndir(cell(list, 0, "SIRANO").toInt(), size, name);
    QCOMPARE(size, qint64(2500));
    QCOMPARE(name, QStringLiteral("Fiyat listesi Şubat ğüşİ.pdf"));
    QCOMPARE(stream->readAllOrThrow(), m_priceListBytes);
    QVERIFY_THROWS_EXCEPTION(velmora::RemoteError, proxy.BelgeIndir(999999, size, name));
}

void TestHistoryMethods::reportsArePdfWithTheirDates_data()
{
    QTest::addColumn<int>("report");
    QTest::addColumn<bool>("oneAccount");
    QTest::addColumn<QString>("representative");
    QTest::addColumn<QString>("title");
    QTest::newRow("account summary") << 6 << true << "Ali Vural"
                                     << "Cari Özeti 15.01.2024";
    QTest::newRow("receivables of all") << 6 << false << "."
                                        << "Cari Toplu Alacak Vadeleri 15.01.2024";
    QTest::newRow("receivables of one representative") << 6 << false << "ALI"
                                                       << "Cari Toplu Alacak Vadeleri 15.01.2024";
    QTest::newRow("purchases and sales") << 7 << true << "Ali Vural"
                                         << "Cari Alış Satış Tablosu (Satıcılı) 15.01.2024 - 29.02.2024";
}

void TestHistoryMethods::reportsArePdfWithTheirDates()
{
    QFETCH(int, report);
    QFETCH(bool, oneAccount);
    QFETCH(QString, representative);
    QFETCH(QString, title);
    TServerMethods1Client proxy(*m_connection);
    qint64 size = -1;
    velmora::RemoteStream* stream =
        proxy.RaporGetir(report, report, 1, oneAccount ? m_cinar : 0, representative, day(2024, 1, 15),
                         report == 7 ? day(2024, 2, 29) : day(2024, 1, 15), size);
    const QByteArray pdf = stream->readAllOrThrow();
    QVERIFY(pdf.startsWith("%PDF-"));
    QCOMPARE(size, qint64(pdf.size()));
    QVERIFY(pdf.trimmed().endsWith("%%EOF"));
    // The document's title, in its metadata, names the report with its dates.
    QCOMPARE(pdfTitle(pdf), title);
}

void TestHistoryMethods::reportRefusals_data()
{
    QTest::addColumn<int>("report");
    QTest::addColumn<int>("part");
    QTest::addColumn<int>("account");
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::newRow("unknown report") << 5 << 5 << 0 << day(2024, 1, 1) << day(2024, 1, 1);
    QTest::newRow("part differs") << 6 << 7 << 0 << day(2024, 1, 1) << day(2024, 1, 1);
    QTest::newRow("unknown account") << 6 << 6 << 999999 << day(2024, 1, 1) << day(2024, 1, 1);
    QTest::newRow("period backwards") << 7 << 7 << 1 << day(2024, 2, 1) << day(2024, 1, 1);
    QTest::newRow("report 7 for all") << 7 << 7 << 0 << day(2024, 1, 1) << day(2024, 2, 1);
    QTest::newRow("no date") << 6 << 6 << 0 << 0.0 << 0.0;
}

void TestHistoryMethods::reportRefusals()
{
    QFETCH(int, report);
    QFETCH(int, part);
    QFETCH(int, account);
    QFETCH(double, from);
    QFETCH(double, to);
    TServerMethods1Client proxy(*m_connection);
    qint64 size = -1;
    try {
        proxy.RaporGetir(report, part, 1, account, QStringLiteral("."), from, to, size);
        QFAIL("the report was made");
    } catch (const velmora::RemoteError& e) {
        QCOMPARE(e.httpStatus(), 400);
    }
}

void TestHistoryMethods::bannerIsAnAnimatedGif()
{
    TServerMethods1Client proxy(*m_connection);
    qint64 size = -1;
    const QByteArray gif = proxy.BannerResimVer(size)->readAllOrThrow();
    QCOMPARE(size, qint64(gif.size()));
    QCOMPARE(gif, m_banner);
    QBuffer buffer;
    buffer.setData(gif);
    QImageReader reader(&buffer, "gif");
    QVERIFY(reader.supportsAnimation());
    QCOMPARE(reader.size(), QSize(409, 100));
    int frames = 0;
    for (QImage frame = reader.read(); !frame.isNull(); frame = reader.read())
        ++frames;
    QVERIFY2(frames > 1, qPrintable(reader.errorString()));
}

// Exact pixels after decoding, through frames that fill and restart the code table.
void TestHistoryMethods::gifEncoderRoundTripsEveryPixel()
{
    QVector<QImage> frames;
    QImage noise(157, 93, QImage::Format_RGB32); // 256 colours at random: many table restarts
    QRandomGenerator random(7);
    QVector<QRgb> palette;
    for (int i = 0; i < 256; ++i)
        palette << qRgb(i, (i * 37) & 0xff, 255 - i);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, palette[random.bounded(256)]);
    frames << noise;
    QImage flat(157, 93, QImage::Format_RGB32); // one colour: long runs, the widest codes
    flat.fill(qRgb(12, 34, 56));
    frames << flat;
    QImage drawn(157, 93, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter p(&drawn);
    p.setPen(Qt::red);
    for (int i = 0; i < 93; i += 3)
        p.drawLine(0, i, 156, 92 - i);
    p.end();
    frames << drawn;

    QBuffer buffer;
    buffer.setData(encodeGif(frames, {5, 10, 20}));
    QImageReader reader(&buffer, "gif");
    for (int i = 0; i < frames.size(); ++i) {
        const QImage decoded = reader.read().convertToFormat(QImage::Format_RGB32);
        QVERIFY2(!decoded.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(decoded, frames[i]);
    }
    QVERIFY(reader.read().isNull());
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, encodeGif({}, {1}));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, encodeGif({noise, QImage(10, 10, QImage::Format_RGB32)}, {1}));
}

void TestHistoryMethods::newsLine()
{
    TServerMethods1Client proxy(*m_connection);
    QCOMPARE(proxy.KayanYaziGetir(), QStringLiteral("  <b>Kış</b> kampanyası başladı"));
}

void TestHistoryMethods::customerDetailsForTheComputer()
{
    TServerMethods1Client proxy(*m_connection);
    const TMobilCariBilgisi* r = proxy.MobilCariBilgisiGetir(0, QStringLiteral("PC-BAYI"));
    QVERIFY(r);
    QCOMPARE(r->FCARINO, m_cinar);
    QCOMPARE(r->FCARIADI, QStringLiteral("Çınar Oto Yedek Parça"));
    QCOMPARE(r->FADRES1, QStringLiteral("Sanayi Cad. No:5"));
    QCOMPARE(r->FILCE, QStringLiteral("Osmangazi"));
    QCOMPARE(r->FSEHIR, QStringLiteral("Bursa"));
    QCOMPARE(r->FTEL1, QStringLiteral("0224 111 22 33"));
    QCOMPARE(r->FFAX1, QStringLiteral("0224 111 22 34"));
    QCOMPARE(r->FVERGIDAIRESI, QStringLiteral("Uludağ"));
    QCOMPARE(r->FVERGINO, QStringLiteral("1234567890"));
    QCOMPARE(r->FYETKILI, QStringLiteral("Mehmet Çınar"));
    QCOMPARE(r->FKULLANICIADI, QStringLiteral("BAYI"));
    QCOMPARE(r->FMAIL, QStringLiteral("BAYI@example.com"));
    QCOMPARE(r->FSATICIADI, QStringLiteral("Ali Vural"));
    QCOMPARE(r->FBILGISAYARID, QStringLiteral("PC-BAYI"));
    QCOMPARE(r->FTLBORC, 1557.55);
    QCOMPARE(r->FTLALACAK, 1700.5);
    QCOMPARE(r->FTLBAKIYE, -142.95);
    QVERIFY(!proxy.MobilCariBilgisiGetir(0, QStringLiteral("PC-YOK")));
    // A representative has no account of his own, yet gets his details for the mail form.
    const TMobilCariBilgisi* rep = proxy.MobilCariBilgisiGetir(0, QStringLiteral("PC-ALI"));
    QVERIFY(rep);
    QCOMPARE(rep->FCARINO, 0);
    QCOMPARE(rep->FKULLANICIADI, QStringLiteral("ALI"));
    // Another account by number only when the computer's user may see it.
    QCOMPARE(proxy.MobilCariBilgisiGetir(m_gunes, QStringLiteral("PC-ALI"))->FCARIADI,
             QStringLiteral("Güneş Otomotiv"));
    QVERIFY_THROWS_EXCEPTION(velmora::RemoteError, proxy.MobilCariBilgisiGetir(m_gunes, QStringLiteral("PC-BAYI")));
}

void TestHistoryMethods::requestsAndMailsGoToTheOutbox()
{
    HistoryStore h(*m_storage);
    const int before = h.outbox().size();
    TServerMethods1Client proxy(*m_connection);
    CariIstekAlanlari f{QStringLiteral("PC-YENI"),
                        QStringLiteral("B2B Yeni Kullanıcı İstek"),
                        QStringLiteral("Kaya Oto"),
                        QStringLiteral("  Cumhuriyet Cad. 3"),
                        QString(),
                        QStringLiteral("Merkez"),
                        QStringLiteral("Sivas"),
                        QStringLiteral("0346 222 33 44"),
                        QString(),
                        QString(),
                        QString(),
                        QStringLiteral("Ahmet Kaya"),
                        QStringLiteral("KAYA"),
                        QStringLiteral("9876"),
                        QStringLiteral("a@kaya.example"),
                        QString()};
    QCOMPARE(proxy.MailGonserCari(f), 1);
    f.idsi = QStringLiteral("PC-BAYI");
    f.baslik = QStringLiteral("Şasi: WVWZZZ1JZXW000001");
    QCOMPARE(proxy.MailGonserCariNormal(f, QStringLiteral("\"Merhaba dünya\",123")), 1);

    const QVector<OutboxMessage> out = h.outbox();
    QCOMPARE(out.size(), before + 2);
    const OutboxMessage& request = out[before];
    QCOMPARE(request.kind, QStringLiteral("istek"));
    QCOMPARE(request.computerId, QStringLiteral("PC-YENI"));
    QCOMPARE(request.title, QStringLiteral("B2B Yeni Kullanıcı İstek"));
    QVERIFY(request.body.contains(QStringLiteral("Adres:   Cumhuriyet Cad. 3"))); // sent as typed
    QVERIFY(request.body.contains(QStringLiteral("Kullanıcı Adı: KAYA")));
    const OutboxMessage& mail = out[before + 1];
    QCOMPARE(mail.kind, QStringLiteral("mail"));
    QCOMPARE(mail.account, m_cinar);
    QCOMPARE(mail.recipient, QStringLiteral("ali@velmora.example")); // the account's representative
    QVERIFY(mail.body.endsWith(QStringLiteral("\"Merhaba dünya\",123")));

    f.baslik = QStringLiteral("   ");
    QVERIFY_THROWS_EXCEPTION(velmora::RemoteError, proxy.MailGonserCariNormal(f, QStringLiteral("x")));
    QCOMPARE(h.outbox().size(), before + 2);
}

QTEST_MAIN(TestHistoryMethods)
#include "test_history_methods.moc"
