#include "ordering_data.h"

#include "storage.h"

#include "platform/number_format.h"

#include <QDateTime>
#include <QSqlError>
#include <QVariant>

namespace velmora::server {

namespace {

QVariant orNull(qint32 number)
{
    return number == 0 ? QVariant() : QVariant(number);
}

const QString kStockColumns = QStringLiteral(
    "BARKOD, BARKODNO, ADI, DIGERADI, OEM1, OEM2, OEM3, OEM4, OEMNO, FINISHKOD, URETICIKODU, DPKOD, PKOD, MARKANO,"
    " MODEL, ANAGRUP, OZELKOD, BIRIM, KOLIADET, KDV, DURUM, KALAN, VERILENSIPARIS, LISTEFIYAT, KAMPFIYAT, YENI,"
    " AKTIF, EKLENMETARIHI");
const QString kStockValues =
    QStringLiteral("?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?");

void prepare(QSqlQuery& query, const QString& sql)
{
    if (!query.prepare(sql))
        throw StorageError(
            QStringLiteral("Veritabanı komutu hazırlanamadı: %1 (%2)").arg(query.lastError().text(), sql));
}

void exec(QSqlQuery& query)
{
    if (!query.exec())
        throw StorageError(
            QStringLiteral("Veritabanı komutu çalışmadı: %1 (%2)").arg(query.lastError().text(), query.lastQuery()));
}

QString rateText(double rate)
{
    QString text = QString::number(IkiHaneYuvarla(rate), 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

} // namespace

QString discountText(const Discounts& d)
{
    QStringList parts;
    for (double rate : {d.ind1, d.ind2, d.ind3, d.ind4}) {
        if (rate > 0)
            parts << rateText(rate);
    }
    return parts.isEmpty() ? QStringLiteral("0") : parts.join(QLatin1Char('+'));
}

Price priceFor(double listPrice, double campaignPrice, double vat, const Discounts& discounts)
{
    Price p;
    p.list = IkiHaneYuvarla(listPrice);
    if (campaignPrice > 0) {
        p.campaign = true;
        p.net = IkiHaneYuvarla(campaignPrice);
        if (p.list > 0 && p.net < p.list)
            p.discounts.ind1 = IkiHaneYuvarla((1 - p.net / p.list) * 100);
    } else {
        p.discounts = discounts;
        double net = p.list;
        for (double rate : {discounts.ind1, discounts.ind2, discounts.ind3, discounts.ind4})
            net *= 1 - rate / 100;
        p.net = IkiHaneYuvarla(net);
    }
    p.withVat = IkiHaneYuvarla(p.net * (1 + vat / 100));
    p.discountText = discountText(p.discounts);
    return p;
}

StockWriter::StockWriter(QSqlDatabase& db)
    : m_db(db)
    , m_insert(db)
    , m_insertNo(db)
    , m_picture(db)
{
    prepare(m_insert,
            QStringLiteral("INSERT INTO stoklar (%1) VALUES (%2) RETURNING STOKNO").arg(kStockColumns, kStockValues));
    prepare(m_insertNo, QStringLiteral("INSERT INTO stoklar (STOKNO, %1) VALUES (?, %2) RETURNING STOKNO")
                            .arg(kStockColumns, kStockValues));
    prepare(m_picture, QStringLiteral("INSERT INTO stok_resimleri (STOKNO, RESIM) VALUES (?, ?)"
                                      " ON CONFLICT (STOKNO) DO UPDATE SET RESIM = excluded.RESIM"));
}

qint32 StockWriter::add(const StockItem& s)
{
    // A null QString would be written as NULL; the text columns are NOT NULL.
    const auto text = [](const QString& value) { return value.isNull() ? QStringLiteral("") : value; };
    const QVariantList values{text(s.code),
                              text(s.secondCode),
                              text(s.name),
                              text(s.otherName),
                              text(s.oem1),
                              text(s.oem2),
                              text(s.oem3),
                              text(s.oem4),
                              text(s.oemNo),
                              text(s.finishCode),
                              text(s.makerCode),
                              text(s.dpCode),
                              text(s.pCode),
                              orNull(s.brand),
                              text(s.model),
                              text(s.mainGroup),
                              text(s.specialCode),
                              text(s.unit),
                              s.packQuantity,
                              s.vat,
                              s.state,
                              s.onHand,
                              s.givenOrders,
                              s.listPrice,
                              s.campaignPrice,
                              s.isNew ? 1 : 0,
                              s.active ? 1 : 0,
                              QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)};
    QSqlQuery& insert = s.no != 0 ? m_insertNo : m_insert;
    const int first = s.no != 0 ? 1 : 0;
    if (s.no != 0)
        insert.bindValue(0, s.no);
    for (int i = 0; i < values.size(); ++i)
        insert.bindValue(first + i, values.at(i));
    exec(insert);
    if (!insert.next())
        throw StorageError(QStringLiteral("Eklenen stoğun numarası okunamadı"));
    const qint32 no = insert.value(0).toInt();
    insert.finish();
    if (s.no != 0)
        syncKeySequence(m_db, QStringLiteral("stoklar"), QStringLiteral("STOKNO"));
    return no;
}

void StockWriter::setPicture(qint32 stockNo, const QByteArray& jpeg)
{
    m_picture.bindValue(0, stockNo);
    m_picture.bindValue(1, jpeg);
    exec(m_picture);
    m_picture.finish();
}

qint32 addBrand(Storage& storage, const QString& name)
{
    return storage.write([&](QSqlDatabase& db) {
        return insertRow(db, QStringLiteral("markalar"), QStringLiteral("MARKANO"), 0, {QStringLiteral("ADI")}, {name});
    });
}

qint32 addStockItem(Storage& storage, const StockItem& item)
{
    return storage.write([&](QSqlDatabase& db) { return StockWriter(db).add(item); });
}

void setStockPicture(Storage& storage, qint32 stockNo, const QByteArray& jpeg)
{
    storage.write([&](QSqlDatabase& db) { StockWriter(db).setPicture(stockNo, jpeg); });
}

void setCustomerDiscounts(Storage& storage, qint32 account, qint32 brand, const Discounts& d)
{
    storage.write([&](QSqlDatabase& db) {
        Storage::run(db,
                     QStringLiteral("INSERT INTO cari_iskontolari (CARINO, MARKANO, IND1, IND2, IND3, IND4)"
                                    " VALUES (?, ?, ?, ?, ?, ?) ON CONFLICT (CARINO, MARKANO) DO UPDATE SET"
                                    " IND1 = excluded.IND1, IND2 = excluded.IND2, IND3 = excluded.IND3,"
                                    " IND4 = excluded.IND4"),
                     {account, brand, d.ind1, d.ind2, d.ind3, d.ind4});
    });
}

void addDeliveryKind(Storage& storage, qint32 code, const QString& name)
{
    storage.write([&](QSqlDatabase& db) {
        Storage::run(db,
                     QStringLiteral("INSERT INTO teslim_sekilleri (KOD, ADI, SIRA)"
                                    " VALUES (?, ?, (SELECT COUNT(*) FROM teslim_sekilleri))"),
                     {code, name});
    });
}

void addCargoKind(Storage& storage, qint32 code, const QString& name)
{
    storage.write([&](QSqlDatabase& db) {
        Storage::run(
            db,
            QStringLiteral(
                "INSERT INTO kargo_turleri (KOD, ADI, SIRA) VALUES (?, ?, (SELECT COUNT(*) FROM kargo_turleri))"),
            {code, name});
    });
}

qint32 addCargoCompany(Storage& storage, const QString& name, const QString& warning, const QVector<qint32>& kinds)
{
    return storage.write([&](QSqlDatabase& db) {
        const qint32 no = insertRow(db, QStringLiteral("kargo_firmalari"), QStringLiteral("SIRANO"), 0,
                                    {QStringLiteral("ADI"), QStringLiteral("UYARI")}, {name, warning});
        for (qint32 kind : kinds)
            Storage::run(
                db,
                QStringLiteral("INSERT INTO kargo_turu_firmalari (KARGOTURU, FIRMA, SIRA)"
                               " VALUES (?, ?, (SELECT COUNT(*) FROM kargo_turu_firmalari WHERE KARGOTURU = ?))"),
                {kind, no, kind});
        return no;
    });
}

} // namespace velmora::server
