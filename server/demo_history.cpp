#include "demo_history.h"

#include "banner_gif.h"
#include "schema_history.h"
#include "storage.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSqlQuery>

namespace velmora::server {

namespace {

// A one-page price list, as the distributor would publish it.
QByteArray priceListPdf()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(QStringLiteral("Velmora Otomotiv Fiyat Listesi"));
    writer.setResolution(96);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                     QPageLayout::Millimeter));
    QPainter p(&writer);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(18);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QPointF(0, 24), QStringLiteral("VELMORA OTOMOTİV - FİYAT LİSTESİ"));
    f.setPixelSize(12);
    f.setBold(false);
    p.setFont(f);
    const QStringList rows{
        QStringLiteral("Fren Balatası Ön Takım            1.250,00 TL"),
        QStringLiteral("Fren Diski Ön (çift)                 2.180,00 TL"),
        QStringLiteral("Yağ Filtresi                               185,00 TL"),
        QStringLiteral("Hava Filtresi                              240,00 TL"),
        QStringLiteral("Amortisör Ön Sağ                    1.640,00 TL"),
        QStringLiteral("Fiyatlara KDV dahil değildir."),
    };
    qreal y = 60;
    for (const QString& row : rows) {
        p.drawText(QPointF(0, y), row);
        y += 20;
    }
    p.end();
    return buffer.data();
}

QByteArray textFile(const QString& text)
{
    return text.toUtf8();
}

qint32 accountByCode(Storage& storage, const QString& code)
{
    return storage.read([&](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(db, QStringLiteral("SELECT CARINO FROM cariler WHERE CARIKOD = ?"), {code});
        return q.next() ? q.value(0).toInt() : 0;
    });
}

InvoiceLine item(const char* oem, const char* name, const char* make, const char* model, double quantity, double price,
                 double discount1, double discount2 = 0)
{
    InvoiceLine l;
    l.oemNo = QString::fromUtf8(oem);
    l.name = QString::fromUtf8(name);
    l.make = QString::fromUtf8(make);
    l.model = QString::fromUtf8(model);
    l.mainGroup = QStringLiteral("FREN SİSTEMİ");
    l.quantity = quantity;
    l.unitPrice = price;
    l.discount1 = discount1;
    l.discount2 = discount2;
    return l;
}

void fillAccount(HistoryStore& h, qint32 account, const QString& representative, int series, double opening)
{
    const QDate start(QDate::currentDate().year(), 1, 2);
    if (opening != 0)
        h.addOpeningBalance(account, start, opening);
    for (int i = 0; i < 4; ++i) {
        Invoice inv;
        inv.account = account;
        inv.date = start.addDays(9 + i * 21);
        inv.time = QStringLiteral("1%1:%2").arg(i).arg(15 + series, 2, 10, QLatin1Char('0'));
        inv.documentNo = QStringLiteral("SF%1%2").arg(series).arg(2400 + i * 7, 6, 10, QLatin1Char('0'));
        inv.termDays = 30 + 15 * (i % 3);
        inv.representative = representative;
        inv.lines << item("1K0 615 301 AA", "Fren Diski Ön Havalı", "Kartal", "Golf V", 2 + i, 1090, 20, 5)
                  << item("7701 208 265", "Fren Balatası Ön Takım", "Kartal", "Clio IV", 1 + i % 2, 1250, 20)
                  << item("55 238 221", "Yağ Filtresi", "Atlas", "Egea 1.3", 6, 185, 10);
        if (i % 2 == 1) {
            InvoiceLine shipping;
            shipping.name = QStringLiteral("Kargo Bedeli");
            shipping.unit = QStringLiteral("HİZMET");
            shipping.quantity = 1;
            shipping.unitPrice = 120;
            inv.lines << shipping;
        }
        h.addInvoice(inv);
        Collection c;
        c.account = account;
        c.date = inv.date.addDays(12);
        c.time = QStringLiteral("11:30");
        c.documentNo = QStringLiteral("TH%1%2").arg(series).arg(900 + i, 5, 10, QLatin1Char('0'));
        c.note = QStringLiteral("Fatura %1 ödemesi").arg(inv.documentNo);
        c.entries << CollectionEntry{QStringLiteral("Havale/EFT"), c.date, 2500.0 + 750 * i, QString(),
                                     QStringLiteral("EFT-%1").arg(731200 + series * 10 + i)};
        if (i % 2 == 0)
            c.entries << CollectionEntry{QStringLiteral("Çek"), c.date.addDays(60), 3000,
                                         QStringLiteral("Ziraat Bankası"),
                                         QStringLiteral("ÇEK-%1").arg(448100 + series * 10 + i)};
        h.addCollection(c);
    }
    Invoice back;
    back.account = account;
    back.returns = true;
    back.date = start.addDays(70);
    back.documentNo = QStringLiteral("IF%1000031").arg(series);
    back.representative = representative;
    back.note = QStringLiteral("Hatalı sevk iadesi");
    back.lines << item("55 238 221", "Yağ Filtresi", "Atlas", "Egea 1.3", 2, 185, 10);
    h.addInvoice(back);
}

} // namespace

void fillHistoryDemoData(Storage& storage)
{
    HistoryStore h(storage);
    struct Demo {
        const char* code;
        const char* representative;
        int series;
        double opening;
        double discount;
        int term;
    };
    const Demo accounts[] = {
        {"120.01.001", "Murat Aksoy", 1, 4820.40, 15, 60},
        {"120.02.014", "Selin Karaca", 2, -650, 10, 45},
        {"120.03.007", "Murat Aksoy", 3, 12940.75, 12.5, 90},
        {"120.04.021", "Selin Karaca", 4, 0, 8, 30},
    };
    for (const Demo& d : accounts) {
        const qint32 account = accountByCode(storage, QLatin1String(d.code));
        if (account == 0)
            continue;
        CustomerTerms terms;
        terms.account = account;
        terms.discount = d.discount;
        terms.termDays = d.term;
        terms.termCheckDays = d.term + 15;
        terms.termCheckMonths = 1;
        terms.codes[0] = QStringLiteral("BAYİ");
        terms.codes[1] = d.series % 2 ? QStringLiteral("ANADOLU") : QStringLiteral("BATI");
        h.setTerms(terms);
        fillAccount(h, account, QString::fromUtf8(d.representative), d.series, d.opening);
    }

    const QDate today = QDate::currentDate();
    h.addAnnouncement(today.addDays(-20), QStringLiteral("Yeni depo"),
                      QStringLiteral("<p><b>Yeni depomuz açıldı.</b> İkitelli'deki yeni depomuzdan sevkiyatlar "
                                     "<span style=\"color:#8e1212\">1 Mart</span> itibarıyla başlıyor.</p>"));
    h.addAnnouncement(today.addDays(-7), QStringLiteral("Fren kampanyası"),
                      QStringLiteral("<p>Fren balatası ve disklerinde <b>%20'ye varan</b> indirim! Kampanyalı "
                                     "ürünleri <i>Kampanyalı Stoklar</i> sekmesinde bulabilirsiniz.</p>"
                                     "<ul><li>Geçerlilik: ay sonuna kadar</li><li>Stoklarla sınırlıdır</li></ul>"));
    h.addAnnouncement(today.addDays(-2), QStringLiteral("Bayram mesaisi"),
                      QStringLiteral("<p>Bayram arifesinde depomuz <b>13:00</b>'e kadar açıktır; bu saatten "
                                     "sonraki siparişler bayram sonrası ilk iş günü sevk edilir.</p>"));
    h.addAnnouncement(today.addDays(-400), QStringLiteral("Eski duyuru"), QStringLiteral("<p>Yayından kalktı.</p>"),
                      false);

    h.addFile(QStringLiteral("Güncel Fiyat Listesi"), QStringLiteral("Velmora Fiyat Listesi.pdf"), priceListPdf());
    h.addFile(QStringLiteral("İade ve Garanti Koşulları"), QStringLiteral("İade Koşulları.txt"),
              textFile(QStringLiteral("İade ve garanti koşulları\r\n\r\n1. Ürünler teslimden itibaren 14 gün "
                                      "içinde faturasıyla iade edilebilir.\r\n2. Montajı yapılmış ürünler iade "
                                      "alınmaz.\r\n3. Garanti başvuruları satış temsilcinize yapılır.\r\n")));
    h.addFile(QStringLiteral("Kargo Anlaşması Bilgilendirmesi"), QStringLiteral("kargo-bilgi.txt"),
              textFile(QStringLiteral("Anlaşmalı kargo ile gönderimlerde 5.000 TL üzeri siparişlerde kargo "
                                      "ücretsizdir.\r\n")));
    h.storeBanner(drawBannerGif());

    // Notes of the order desk on the demo orders, where there are any.
    const QVector<qint32> orders = storage.read([](QSqlDatabase& db) {
        QVector<qint32> list;
        QSqlQuery q = Storage::run(db, QStringLiteral("SELECT IDNO FROM siparisler ORDER BY IDNO"));
        while (q.next())
            list << q.value(0).toInt();
        return list;
    });
    const QStringList notes{QStringLiteral("Depoya iletildi, öğleden sonra hazırlanacak."),
                            QStringLiteral("Eksik kalem tedarikçiden bekleniyor."), QString(),
                            QStringLiteral("Kargoya teslim edildi.")};
    for (int i = 0; i < orders.size(); ++i) {
        if (!notes[i % notes.size()].isEmpty())
            h.setOrderNote(orders[i], notes[i % notes.size()]);
    }
}

} // namespace velmora::server
