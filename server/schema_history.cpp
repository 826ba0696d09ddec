#include "schema_history.h"

#include "storage.h"

#include <QDateTime>
#include <QSqlQuery>

#include <cmath>

namespace velmora::server {

namespace {

QString dayText(const QDate& date)
{
    return date.toString(Qt::ISODate);
}

QString now()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
}

} // namespace

void createHistorySchema(QSqlDatabase& db)
{
    static const char* const statements[] = {
        // Trade terms and grouping codes of an account, beside its master data.
        "CREATE TABLE IF NOT EXISTS cari_kosullari ("
        " CARINO INTEGER PRIMARY KEY REFERENCES cariler(CARINO),"
        " INDIRIM REAL NOT NULL DEFAULT 0,"
        " VADE INTEGER NOT NULL DEFAULT 0,"
        " VADEKONTROLGUN INTEGER NOT NULL DEFAULT 0,"
        " VADEKONTROLAY INTEGER NOT NULL DEFAULT 0,"
        " KOD1 TEXT NOT NULL DEFAULT '', KOD2 TEXT NOT NULL DEFAULT '', KOD3 TEXT NOT NULL DEFAULT '',"
        " KOD4 TEXT NOT NULL DEFAULT '', KOD5 TEXT NOT NULL DEFAULT '')",
        // Account movements: the statement's rows. TARIH is yyyy-MM-dd.
        "CREATE TABLE IF NOT EXISTS cari_hareketler ("
        " IDNO INTEGER PRIMARY KEY,"
        " CARINO INTEGER NOT NULL REFERENCES cariler(CARINO),"
        " TARIH TEXT NOT NULL,"
        " SAAT TEXT NOT NULL DEFAULT '',"
        " TUR INTEGER NOT NULL CHECK (TUR BETWEEN 1 AND 5),"
        " EVRAKNO TEXT NOT NULL DEFAULT '',"
        " BORC REAL NOT NULL DEFAULT 0 CHECK (BORC >= 0),"
        " ALACAK REAL NOT NULL DEFAULT 0 CHECK (ALACAK >= 0),"
        " KUR TEXT NOT NULL DEFAULT 'TL',"
        " VADE INTEGER NOT NULL DEFAULT 0,"
        " SATICIADI TEXT NOT NULL DEFAULT '',"
        " ACIKLAMA TEXT NOT NULL DEFAULT '')",
        "CREATE INDEX IF NOT EXISTS cari_hareketler_cari ON cari_hareketler(CARINO, TARIH, IDNO)",
        "CREATE TABLE IF NOT EXISTS fatura_satirlari ("
        " SIRANO INTEGER PRIMARY KEY,"
        " IDNO INTEGER NOT NULL REFERENCES cari_hareketler(IDNO) ON DELETE CASCADE,"
        " BARKOD TEXT NOT NULL DEFAULT '', OEMNO TEXT NOT NULL DEFAULT '', STOKADI TEXT NOT NULL,"
        " FINISHKOD TEXT NOT NULL DEFAULT '', MARKA TEXT NOT NULL DEFAULT '', MODEL TEXT NOT NULL DEFAULT '',"
        " ANAGRUP TEXT NOT NULL DEFAULT '', OZELKOD TEXT NOT NULL DEFAULT '', BIRIM TEXT NOT NULL DEFAULT 'ADET',"
        " MIKTAR REAL NOT NULL CHECK (MIKTAR > 0),"
        " BIRIMFIYAT REAL NOT NULL CHECK (BIRIMFIYAT >= 0),"
        " INDIRIM1 REAL NOT NULL DEFAULT 0 CHECK (INDIRIM1 BETWEEN 0 AND 100),"
        " INDIRIM2 REAL NOT NULL DEFAULT 0 CHECK (INDIRIM2 BETWEEN 0 AND 100),"
        " MASRAF REAL NOT NULL DEFAULT 0,"
        " KDV REAL NOT NULL DEFAULT 18,"
        " ACIKLAMA TEXT NOT NULL DEFAULT '',"
        " IRSALIYENO TEXT NOT NULL DEFAULT '',"
        " SIPARISNO TEXT NOT NULL DEFAULT '',"
        " SIPARISTARIHI TEXT NOT NULL DEFAULT '')",
        "CREATE INDEX IF NOT EXISTS fatura_satirlari_hareket ON fatura_satirlari(IDNO, SIRANO)",
        "CREATE TABLE IF NOT EXISTS tahsilat_satirlari ("
        " SIRANO INTEGER PRIMARY KEY,"
        " IDNO INTEGER NOT NULL REFERENCES cari_hareketler(IDNO) ON DELETE CASCADE,"
        " CINS TEXT NOT NULL,"
        " VADE TEXT NOT NULL,"
        " TUTAR REAL NOT NULL CHECK (TUTAR > 0),"
        " ACIKLAMA TEXT NOT NULL DEFAULT '',"
        " REF TEXT NOT NULL DEFAULT '')",
        "CREATE INDEX IF NOT EXISTS tahsilat_satirlari_hareket ON tahsilat_satirlari(IDNO, SIRANO)",
        // Changes of open order balances over the order lines: the remaining quantity, price and
        // first discount as last set, or the balance deleted; ILKFIYAT keeps the price ordered.
        "CREATE TABLE IF NOT EXISTS bakiye_degisiklikleri ("
        " SIRANO INTEGER PRIMARY KEY REFERENCES siparis_satirlari(SIRANO) ON DELETE CASCADE,"
        " ILKFIYAT REAL NOT NULL,"
        " BIRIMFIYAT REAL CHECK (BIRIMFIYAT >= 0),"
        " IND1 REAL CHECK (IND1 >= 0 AND IND1 < 100),"
        " KALAN REAL CHECK (KALAN > 0),"
        " SILINDI INTEGER NOT NULL DEFAULT 0 CHECK (SILINDI IN (0, 1)))",
        // Who changed which balance, when, with the values sent.
        "CREATE TABLE IF NOT EXISTS bakiye_degisiklik_kayitlari ("
        " NO INTEGER PRIMARY KEY AUTOINCREMENT,"
        " SIRANO INTEGER NOT NULL,"
        " ISLEM TEXT NOT NULL,"
        " KULLANICI INTEGER NOT NULL,"
        " ZAMAN TEXT NOT NULL,"
        " ADET REAL NOT NULL,"
        " BAKIYE REAL NOT NULL,"
        " FIYAT REAL NOT NULL DEFAULT 0,"
        " INDIRIM REAL NOT NULL DEFAULT 0)",
        // The note of whoever took an order at the distributor.
        "CREATE TABLE IF NOT EXISTS siparis_notlari ("
        " IDNO INTEGER PRIMARY KEY REFERENCES siparisler(IDNO) ON DELETE CASCADE,"
        " ALANNOTU TEXT NOT NULL DEFAULT '')",
        // Announcements as rich text (HTML).
        "CREATE TABLE IF NOT EXISTS duyurular ("
        " SIRANO INTEGER PRIMARY KEY,"
        " TARIH TEXT NOT NULL,"
        " BASLIK TEXT NOT NULL,"
        " DUYURU TEXT NOT NULL,"
        " AKTIF INTEGER NOT NULL DEFAULT 1)",
        // Documents offered for download; DOSYAADI is a plain file name.
        "CREATE TABLE IF NOT EXISTS dosyalar ("
        " SIRANO INTEGER PRIMARY KEY,"
        " ACIKLAMA TEXT NOT NULL,"
        " DOSYAADI TEXT NOT NULL CHECK (DOSYAADI <> '' AND DOSYAADI NOT IN ('.', '..')"
        "  AND instr(DOSYAADI, '/') = 0 AND instr(DOSYAADI, '\\') = 0),"
        " ICERIK BLOB NOT NULL,"
        " ZAMAN TEXT NOT NULL)",
        "CREATE TABLE IF NOT EXISTS bannerlar ("
        " SIRANO INTEGER PRIMARY KEY AUTOINCREMENT,"
        " ICERIK BLOB NOT NULL,"
        " ZAMAN TEXT NOT NULL)",
        // Mails and requests the server sends to the distributor's staff.
        "CREATE TABLE IF NOT EXISTS giden_postalar ("
        " SIRANO INTEGER PRIMARY KEY AUTOINCREMENT,"
        " TUR TEXT NOT NULL CHECK (TUR IN ('istek', 'mail')),"
        " ZAMAN TEXT NOT NULL,"
        " UZAKADRES TEXT NOT NULL DEFAULT '',"
        " BILGISAYARID TEXT NOT NULL,"
        " CARINO INTEGER NOT NULL DEFAULT 0,"
        " ALICI TEXT NOT NULL,"
        " BASLIK TEXT NOT NULL,"
        " GOVDE TEXT NOT NULL,"
        " DURUM TEXT NOT NULL DEFAULT 'bekliyor')",
    };
    for (const char* statement : statements)
        Storage::run(db, schemaSql(engineOf(db), QString::fromLatin1(statement)));
}

QString movementKindName(MovementKind kind)
{
    switch (kind) {
    case MovementKind::SatisFaturasi:
        return QStringLiteral("Satış Faturası");
    case MovementKind::IadeFaturasi:
        return QStringLiteral("İade Faturası");
    case MovementKind::Tahsilat:
        return QStringLiteral("Tahsilat");
    case MovementKind::Tediye:
        return QStringLiteral("Tediye");
    case MovementKind::Devir:
        return QStringLiteral("Devir");
    }
    return {};
}

double roundKurus(double amount)
{
    // Halves away from zero on the amount's 15-digit reading, so 0.125 rounds to 0.13.
    const double cents = std::round(QString::number(amount * 100, 'g', 15).toDouble());
    return cents / 100;
}

LineMoney lineMoney(const InvoiceLine& line)
{
    LineMoney m;
    m.gross = roundKurus(line.quantity * line.unitPrice);
    const double afterFirst = m.gross * (1 - line.discount1 / 100);
    const double afterSecond = afterFirst * (1 - line.discount2 / 100);
    m.discount = roundKurus(m.gross - afterSecond);
    m.net = roundKurus(m.gross - m.discount + line.expense);
    m.vat = roundKurus(m.net * line.vat / 100);
    return m;
}

void HistoryStore::setTerms(const CustomerTerms& t)
{
    m_storage.write([&](QSqlDatabase& db) {
        Storage::run(db,
                     QStringLiteral("INSERT INTO cari_kosullari (CARINO, INDIRIM, VADE, VADEKONTROLGUN,"
                                    " VADEKONTROLAY, KOD1, KOD2, KOD3, KOD4, KOD5)"
                                    " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (CARINO) DO UPDATE SET"
                                    " INDIRIM = excluded.INDIRIM, VADE = excluded.VADE,"
                                    " VADEKONTROLGUN = excluded.VADEKONTROLGUN, VADEKONTROLAY = excluded.VADEKONTROLAY,"
                                    " KOD1 = excluded.KOD1, KOD2 = excluded.KOD2, KOD3 = excluded.KOD3,"
                                    " KOD4 = excluded.KOD4, KOD5 = excluded.KOD5"),
                     {t.account, t.discount, t.termDays, t.termCheckDays, t.termCheckMonths, t.codes[0], t.codes[1],
                      t.codes[2], t.codes[3], t.codes[4]});
    });
}

qint32 HistoryStore::addMovement(QSqlDatabase& db, qint32 account, MovementKind kind, const QDate& date,
                                 const QString& time, const QString& documentNo, double debit, double credit,
                                 qint32 termDays, const QString& representative, const QString& note)
{
    return insertRow(
        db, QStringLiteral("cari_hareketler"), QStringLiteral("IDNO"), 0,
        QStringLiteral("CARINO TARIH SAAT TUR EVRAKNO BORC ALACAK VADE SATICIADI ACIKLAMA").split(QLatin1Char(' ')),
        {account, dayText(date), time, static_cast<int>(kind), documentNo, debit, credit, termDays, representative,
         note});
}

qint32 HistoryStore::addInvoice(const Invoice& inv)
{
    double total = 0;
    for (const InvoiceLine& line : inv.lines) {
        const LineMoney m = lineMoney(line);
        total = roundKurus(total + m.net + m.vat);
    }
    return m_storage.write([&](QSqlDatabase& db) {
        const qint32 idno =
            addMovement(db, inv.account, inv.returns ? MovementKind::IadeFaturasi : MovementKind::SatisFaturasi,
                        inv.date, inv.time, inv.documentNo, inv.returns ? 0 : total, inv.returns ? total : 0,
                        inv.termDays, inv.representative, inv.note);
        for (const InvoiceLine& l : inv.lines) {
            Storage::run(db,
                         QStringLiteral("INSERT INTO fatura_satirlari (IDNO, BARKOD, OEMNO, STOKADI, FINISHKOD, MARKA,"
                                        " MODEL, ANAGRUP, OZELKOD, BIRIM, MIKTAR, BIRIMFIYAT, INDIRIM1, INDIRIM2,"
                                        " MASRAF, KDV, ACIKLAMA, IRSALIYENO, SIPARISNO, SIPARISTARIHI)"
                                        " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                         {idno,          l.barcode,
                          l.oemNo,       l.name,
                          l.finishCode,  l.make,
                          l.model,       l.mainGroup,
                          l.specialCode, l.unit,
                          l.quantity,    l.unitPrice,
                          l.discount1,   l.discount2,
                          l.expense,     l.vat,
                          l.note,        l.deliveryNoteNo,
                          l.orderNo,     l.orderDate.isValid() ? dayText(l.orderDate) : QString()});
        }
        return idno;
    });
}

qint32 HistoryStore::addCollection(const Collection& c)
{
    double total = 0;
    for (const CollectionEntry& e : c.entries)
        total = roundKurus(total + e.amount);
    return m_storage.write([&](QSqlDatabase& db) {
        const qint32 idno =
            addMovement(db, c.account, c.payment ? MovementKind::Tediye : MovementKind::Tahsilat, c.date, c.time,
                        c.documentNo, c.payment ? total : 0, c.payment ? 0 : total, 0, QString(), c.note);
        for (const CollectionEntry& e : c.entries) {
            Storage::run(db,
                         QStringLiteral("INSERT INTO tahsilat_satirlari (IDNO, CINS, VADE, TUTAR, ACIKLAMA, REF)"
                                        " VALUES (?, ?, ?, ?, ?, ?)"),
                         {idno, e.kind, dayText(e.due.isValid() ? e.due : c.date), e.amount, e.note, e.reference});
        }
        return idno;
    });
}

qint32 HistoryStore::addOpeningBalance(qint32 account, const QDate& date, double amount)
{
    return m_storage.write([&](QSqlDatabase& db) {
        return addMovement(db, account, MovementKind::Devir, date, QString(), QStringLiteral("DEVİR"),
                           amount > 0 ? amount : 0, amount < 0 ? -amount : 0, 0, QString(),
                           QStringLiteral("Önceki dönemden devir"));
    });
}

qint32 HistoryStore::addAnnouncement(const QDate& date, const QString& title, const QString& html, bool active)
{
    return m_storage.write([&](QSqlDatabase& db) {
        return insertRow(
            db, QStringLiteral("duyurular"), QStringLiteral("SIRANO"), 0,
            {QStringLiteral("TARIH"), QStringLiteral("BASLIK"), QStringLiteral("DUYURU"), QStringLiteral("AKTIF")},
            {dayText(date), title, html, active ? 1 : 0});
    });
}

qint32 HistoryStore::addFile(const QString& description, const QString& fileName, const QByteArray& bytes)
{
    return m_storage.write([&](QSqlDatabase& db) {
        return insertRow(
            db, QStringLiteral("dosyalar"), QStringLiteral("SIRANO"), 0,
            {QStringLiteral("ACIKLAMA"), QStringLiteral("DOSYAADI"), QStringLiteral("ICERIK"), QStringLiteral("ZAMAN")},
            {description, fileName, bytes, now()});
    });
}

void HistoryStore::setOrderNote(qint32 order, const QString& note)
{
    m_storage.write([&](QSqlDatabase& db) {
        Storage::run(db,
                     QStringLiteral("INSERT INTO siparis_notlari (IDNO, ALANNOTU) VALUES (?, ?)"
                                    " ON CONFLICT (IDNO) DO UPDATE SET ALANNOTU = excluded.ALANNOTU"),
                     {order, note});
    });
}

void HistoryStore::storeBanner(const QByteArray& gif)
{
    m_storage.write([&](QSqlDatabase& db) {
        Storage::run(db, QStringLiteral("INSERT INTO bannerlar (ICERIK, ZAMAN) VALUES (?, ?)"), {gif, now()});
    });
}

QVector<OutboxMessage> HistoryStore::outbox()
{
    return m_storage.read([](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(db, QStringLiteral("SELECT SIRANO, TUR, BILGISAYARID, CARINO, ALICI, BASLIK, GOVDE,"
                                                      " ZAMAN FROM giden_postalar ORDER BY SIRANO"));
        QVector<OutboxMessage> messages;
        while (q.next()) {
            messages.append({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString(), q.value(3).toInt(),
                             q.value(4).toString(), q.value(5).toString(), q.value(6).toString(),
                             q.value(7).toString()});
        }
        return messages;
    });
}

} // namespace velmora::server
