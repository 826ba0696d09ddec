#include "history_methods.h"

#include "method_table.h"
#include "ordering_data.h"
#include "report_pdf.h"
#include "schema_history.h"
#include "storage.h"

#include "platform/table.h"
#include "platform/wire_codec.h"
#include "remote/mobilstokunit.h"
#include "session/kayitlar.h"

#include <QFileInfo>
#include <QLocale>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cmath>
#include <optional>

namespace velmora::server {

namespace {

using velmora::Column;
using velmora::FieldType;
using velmora::Table;

const QDate kDayZero(1899, 12, 30);

// Day numbers of the wire: days since 1899-12-30, the time of day as the fraction.
double dayNumber(const QDate& date)
{
    return static_cast<double>(kDayZero.daysTo(date));
}

double dayNumber(const QDateTime& time)
{
    const QDateTime local = time.toLocalTime();
    return dayNumber(local.date()) + local.time().msecsSinceStartOfDay() / 86400000.0;
}

// Stored days are yyyy-MM-dd, stored times ISO 8601 in UTC; an empty text is a missing value.
QVariant storedDay(const QVariant& value)
{
    const QString text = value.toString();
    if (text.isEmpty())
        return {};
    if (text.size() == 10)
        return dayNumber(QDate::fromString(text, Qt::ISODate));
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!time.isValid())
        time = QDateTime::fromString(text, Qt::ISODate);
    if (!time.isValid())
        return {};
    return dayNumber(time);
}

QDate dayOf(double number, const char* what)
{
    if (!std::isfinite(number) || number < 1 || number > 2958465)
        throw CallError::badRequest(QStringLiteral("Geçersiz tarih (%1)").arg(QLatin1String(what)));
    return kDayZero.addDays(static_cast<qint64>(std::floor(number)));
}

CallAnswer tableAnswer(const Table& table)
{
    return CallAnswer{wire::encodeTable(table), {}};
}

// A result table whose cells come from query columns of the same position, converted by kind.
Table tableFrom(QSqlQuery& q, const QVector<Column>& columns)
{
    Table t;
    t.columns = columns;
    while (q.next()) {
        QVector<QVariant> row;
        row.reserve(columns.size());
        for (int i = 0; i < columns.size(); ++i) {
            const QVariant v = q.value(i);
            if (v.isNull()) {
                row.append(QVariant());
                continue;
            }
            switch (columns[i].type) {
            case FieldType::Int32:
                row.append(v.toInt());
                break;
            case FieldType::Int64:
                row.append(v.toLongLong());
                break;
            case FieldType::Double:
                row.append(v.toDouble());
                break;
            case FieldType::Date:
                row.append(storedDay(v));
                break;
            case FieldType::Bool:
                row.append(v.toInt() != 0);
                break;
            case FieldType::Text:
                row.append(v.toString());
                break;
            case FieldType::Blob:
                row.append(v.toByteArray());
                break;
            }
        }
        t.rows.append(row);
    }
    return t;
}

QVector<Column> cols(std::initializer_list<std::pair<const char*, FieldType>> list)
{
    QVector<Column> out;
    for (const auto& [name, type] : list)
        out.append({QString::fromLatin1(name), type});
    return out;
}

QString orderStateText(int state)
{
    switch (state) {
    case 0:
        return QStringLiteral("Alındı");
    case 1:
        return QStringLiteral("Onaylandı");
    case 2:
        return QStringLiteral("Görüldü");
    case 3:
        return QStringLiteral("Parçalı Hazırlandı");
    case 4:
        return QStringLiteral("Hazırlandı");
    case 5:
        return QStringLiteral("Sevk Edildi");
    }
    return {};
}

// --- Who is calling ------------------------------------------------------------------------

// The caller's user as the database knows it, found by the computer identifier in the session
// record; the record's own user, account and representative fields are not trusted.
struct Caller {
    TSonucBilgisi record;
    bool representative() const { return record.FMusteriTipi == 1 || record.FMusteriTipi == 2; }
};

Caller callerOf(const CallContext& call, int ordinal)
{
    const auto bil = call.record<TSonucBilgisi>(ordinal);
    if (!bil)
        throw CallError::badRequest(
            QStringLiteral("TServerMethods1.%1: oturum bilgisi boş olamaz").arg(QLatin1String(call.method().ad)));
    const auto known = call.storage().sessionFor(bil->FBILGISAYARID);
    if (!known || known->FAKTIF == 0)
        throw CallError(403, QStringLiteral("Forbidden"),
                        QStringLiteral("Bu bilgisayar için etkin bir kullanıcı kayıtlı değil"));
    Caller c{*known};
    // The customer a representative chose lives only in the client's record.
    c.record.FCARINO = bil->FCARINO;
    if (!c.representative())
        c.record.FCARINO = known->FCARINO;
    return c;
}

// SQL condition on the account column `carino` for the accounts the caller may see, with its
// value: a representative's customers, or a dealer's own account.
std::pair<QString, QVariant> visibleAccounts(const Caller& c, const QString& carino)
{
    if (c.representative())
        return {QStringLiteral("%1 IN (SELECT CARINO FROM cariler WHERE SATICINO = ?)").arg(carino),
                c.record.FSaticiNo};
    return {QStringLiteral("%1 = ?").arg(carino), c.record.FCARINO};
}

void requireVisibleAccount(QSqlDatabase& db, const Caller& c, qint32 account)
{
    const auto [condition, value] = visibleAccounts(c, QStringLiteral("CARINO"));
    if (!Storage::run(db, QStringLiteral("SELECT 1 FROM cariler WHERE CARINO = ? AND ") + condition, {account, value})
             .next())
        throw CallError(403, QStringLiteral("Forbidden"),
                        QStringLiteral("Bu cariye erişim yetkiniz yok: %1").arg(account));
}

// --- Order lines ---------------------------------------------------------------------------

// Effective values of an order line after balance changes (bakiye_degisiklikleri): price and
// first discount as last set, the remaining balance as last set or ordered - delivered.
const QString kLineSelect = QStringLiteral(
    "SELECT l.SIRANO, COALESCE(NULLIF(o.SIPARISNO, ''), CAST(o.IDNO AS TEXT)), o.CARINO, o.TARIH,"
    " COALESCE(NULLIF(l.VERILISTARIHI, ''), o.TARIH), l.STOKNO, l.BARKOD, COALESCE(s.FINISHKOD, ''),"
    " COALESCE(s.OEMNO, ''), COALESCE(s.OEM1, ''), COALESCE(s.OEM2, ''), COALESCE(s.OEM3, ''), COALESCE(s.OEM4, ''),"
    " COALESCE(s.URETICIKODU, ''), COALESCE(s.DIGERADI, ''), COALESCE(s.DPKOD, ''), COALESCE(s.PKOD, ''),"
    " COALESCE(m.ADI, ''), COALESCE(s.MODEL, ''), COALESCE(s.ANAGRUP, ''), COALESCE(s.OZELKOD, ''), l.STOKADI,"
    " l.MIKTAR, COALESCE(b.BIRIMFIYAT, l.BIRIMFIYAT), COALESCE(b.IND1, l.IND1), l.IND2, l.IND3, l.IND4, l.KDV,"
    " COALESCE(u.ADI, ''), COALESCE(l.VERENSIRANO, 0), l.TESLIMMIKTAR,"
    " CASE WHEN b.SILINDI = 1 THEN 0 WHEN b.KALAN IS NOT NULL THEN b.KALAN"
    "  WHEN l.MIKTAR > l.TESLIMMIKTAR THEN l.MIKTAR - l.TESLIMMIKTAR ELSE 0 END,"
    " o.IDNO, COALESCE(o.TESLIMID, 0), COALESCE(o.KARGOID, 0), COALESCE(t.ADI, ''), COALESCE(k.ADI, ''),"
    " o.ACIKLAMA, c.CARIKOD, c.CARIADI, COALESCE(s.DURUM, 0), COALESCE(s.KALAN, 0),"
    " COALESCE(b.ILKFIYAT, l.BIRIMFIYAT), COALESCE(s.VERILENSIPARIS, 0),"
    " (SELECT COALESCE(SUM(x.MIKTAR - x.TESLIMMIKTAR), 0) FROM siparis_satirlari x JOIN siparisler y"
    "  ON y.IDNO = x.IDNO WHERE x.STOKNO = l.STOKNO AND y.DURUM < 5), o.DURUM,"
    " l.NETBIRIMFIYAT, b.BIRIMFIYAT IS NOT NULL OR b.IND1 IS NOT NULL"
    " FROM siparis_satirlari l"
    " JOIN siparisler o ON o.IDNO = l.IDNO"
    " JOIN cariler c ON c.CARINO = o.CARINO"
    " LEFT JOIN stoklar s ON s.STOKNO = l.STOKNO"
    " LEFT JOIN markalar m ON m.MARKANO = s.MARKANO"
    " LEFT JOIN kullanicilar u ON u.SIRANO = l.VERENSIRANO"
    " LEFT JOIN teslim_sekilleri t ON t.KOD = o.TESLIMID"
    " LEFT JOIN kargo_turleri k ON k.KOD = o.KARGOID"
    " LEFT JOIN bakiye_degisiklikleri b ON b.SIRANO = l.SIRANO");

enum LineField {
    LSirano,
    LSiparisNo,
    LCarino,
    LTarih,
    LVerilis,
    LStokno,
    LBarkod,
    LFinish,
    LOemNo,
    LOem1,
    LOem2,
    LOem3,
    LOem4,
    LUretici,
    LDigerAdi,
    LDpKod,
    LPKod,
    LMarka,
    LModel,
    LAnaGrup,
    LOzelKod,
    LStokAdi,
    LMiktar,
    LFiyat,
    LInd1,
    LInd2,
    LInd3,
    LInd4,
    LKdv,
    LVeren,
    LVerenNo,
    LTeslim,
    LKalan,
    LIdno,
    LTeslimId,
    LKargoId,
    LTeslimAdi,
    LKargoAdi,
    LAciklama,
    LCariKod,
    LCariAdi,
    LStokDurum,
    LEldeki,
    LIlkFiyat,
    LVerilenSiparis,
    LAlinanSiparis,
    LSiparisDurum,
    LNetBirimFiyat,
    LFiyatDegisti,
};

struct LineMoneyRow {
    double gross, discount, netUnit, net, vat;
};

// Money of an order line: the net unit price stored with the order, or after a price change the
// new price less the discounts one after another.
LineMoneyRow orderLineMoney(const QSqlQuery& q)
{
    auto v = [&](LineField f) { return q.value(static_cast<int>(f)).toDouble(); };
    const double quantity = v(LMiktar);
    const double price = v(LFiyat);
    const double netUnit = q.value(LFiyatDegisti).toBool()
                               ? priceFor(price, 0, 0, {v(LInd1), v(LInd2), v(LInd3), v(LInd4)}).net
                               : v(LNetBirimFiyat);
    const double vat = v(LKdv);
    const double gross = roundKurus(quantity * price);
    const double net = roundKurus(quantity * netUnit);
    return {gross, roundKurus(gross - net), netUnit, net, roundKurus(net * vat / 100)};
}

// Columns of every list of order lines: order detail, all orders and balances.
Table orderLines(QSqlQuery& q)
{
    Table t;
    t.columns = cols({
        {"SIRANO", FieldType::Int32},
        {"STOKHAR_NO", FieldType::Int32},
        {"SIPARISNO", FieldType::Text},
        {"IDNO", FieldType::Int32},
        {"CARINO", FieldType::Int32},
        {"CARIKOD", FieldType::Text},
        {"CARIADI", FieldType::Text},
        {"TARIH", FieldType::Date},
        {"VERILISTARIHI", FieldType::Date},
        {"SAAT", FieldType::Text},
        {"STOKNO", FieldType::Int32},
        {"STOK_STOKNO", FieldType::Int32},
        {"BARKOD", FieldType::Text},
        {"FINISHKOD", FieldType::Text},
        {"OEMNO", FieldType::Text},
        {"OEM1", FieldType::Text},
        {"OEM2", FieldType::Text},
        {"OEM3", FieldType::Text},
        {"OEM4", FieldType::Text},
        {"URETICIKODU", FieldType::Text},
        {"DIGERADI", FieldType::Text},
        {"DPKOD", FieldType::Text},
        {"PKOD", FieldType::Text},
        {"MARKA", FieldType::Text},
        {"MODEL", FieldType::Text},
        {"ANAGRUP", FieldType::Text},
        {"OZELKOD", FieldType::Text},
        {"STOKADI", FieldType::Text},
        {"ACIKLAMA", FieldType::Text},
        {"MIKTAR", FieldType::Double},
        {"BIRIMFIYAT", FieldType::Double},
        {"ILKFIYAT", FieldType::Double},
        {"TUTAR", FieldType::Double},
        {"INDIRIMORANI1", FieldType::Double},
        {"INDIRIMORANI2", FieldType::Double},
        {"INDIRIMORANI3", FieldType::Double},
        {"INDIRIMORANI4", FieldType::Double},
        {"INDIRIMYAZI", FieldType::Text},
        {"INDIRIMTUTAR", FieldType::Double},
        {"NETBIRIMFIYAT", FieldType::Double},
        {"NETTUTAR", FieldType::Double},
        {"KDV", FieldType::Double},
        {"VERGITUTARI", FieldType::Double},
        {"VEREN", FieldType::Text},
        {"VERENIDNO", FieldType::Int32},
        {"VERENSIRANO", FieldType::Int32},
        {"TESLIMEDILEN", FieldType::Double},
        {"KALAN", FieldType::Double},
        {"ELDEKI", FieldType::Double},
        {"DURUM", FieldType::Int32},
        {"ALINANSIPARIS", FieldType::Double},
        {"VERILENSIPARIS", FieldType::Double},
        {"TESLIMID", FieldType::Int32},
        {"KARGOID", FieldType::Int32},
        {"TESLIM", FieldType::Text},
        {"KARGO", FieldType::Text},
        {"KUR", FieldType::Text},
        {"KURTL", FieldType::Double},
        {"AKTAR", FieldType::Int32},
    });
    while (q.next()) {
        auto v = [&](LineField f) { return q.value(static_cast<int>(f)); };
        const double quantity = v(LMiktar).toDouble();
        const double i1 = v(LInd1).toDouble(), i2 = v(LInd2).toDouble(), i3 = v(LInd3).toDouble(),
                     i4 = v(LInd4).toDouble();
        const LineMoneyRow m = orderLineMoney(q);
        const QDateTime given = QDateTime::fromString(v(LVerilis).toString(), Qt::ISODateWithMs);
        t.rows.append({
            v(LSirano).toInt(),
            v(LSirano).toInt(),
            v(LSiparisNo).toString(),
            v(LIdno).toInt(),
            v(LCarino).toInt(),
            v(LCariKod).toString(),
            v(LCariAdi).toString(),
            storedDay(v(LTarih)),
            storedDay(v(LVerilis)),
            given.isValid() ? given.toLocalTime().toString(QStringLiteral("HH:mm")) : QString(),
            v(LStokno).toInt(),
            v(LStokno).toInt(),
            v(LBarkod).toString(),
            v(LFinish).toString(),
            v(LOemNo).toString(),
            v(LOem1).toString(),
            v(LOem2).toString(),
            v(LOem3).toString(),
            v(LOem4).toString(),
            v(LUretici).toString(),
            v(LDigerAdi).toString(),
            v(LDpKod).toString(),
            v(LPKod).toString(),
            v(LMarka).toString(),
            v(LModel).toString(),
            v(LAnaGrup).toString(),
            v(LOzelKod).toString(),
            v(LStokAdi).toString(),
            v(LAciklama).toString(),
            quantity,
            v(LFiyat).toDouble(),
            v(LIlkFiyat).toDouble(),
            m.gross,
            i1,
            i2,
            i3,
            i4,
            discountText(Discounts{i1, i2, i3, i4}),
            m.discount,
            m.netUnit,
            m.net,
            v(LKdv).toDouble(),
            m.vat,
            v(LVeren).toString(),
            v(LVerenNo).toInt(),
            v(LVerenNo).toInt(),
            v(LTeslim).toDouble(),
            v(LKalan).toDouble(),
            v(LEldeki).toDouble(),
            v(LStokDurum).toInt(),
            v(LAlinanSiparis).toDouble(),
            v(LVerilenSiparis).toDouble(),
            v(LTeslimId).toInt(),
            v(LKargoId).toInt(),
            v(LTeslimAdi).toString(),
            v(LKargoAdi).toString(),
            QStringLiteral("TL"),
            1.0,
            0,
        });
    }
    return t;
}

const QString kOpenBalance =
    QStringLiteral(" o.DURUM < 5 AND (CASE WHEN b.SILINDI = 1 THEN 0 WHEN b.KALAN IS NOT NULL THEN b.KALAN"
                   "  WHEN l.MIKTAR > l.TESLIMMIKTAR THEN l.MIKTAR - l.TESLIMMIKTAR ELSE 0 END) > 0");

// --- Account history -----------------------------------------------------------------------

MethodAnswer OncekiSiparisler(const CallContext& call)
{
    const qint32 carino = call.int32(0);
    return call.storage().read([&](QSqlDatabase& db) {
        Table t;
        t.columns = cols({
            {"IDNO", FieldType::Int32},    {"SIPARISNO", FieldType::Text},  {"TARIH", FieldType::Date},
            {"KARGO", FieldType::Text},    {"TESLIM", FieldType::Text},     {"VEREN", FieldType::Text},
            {"VERGI", FieldType::Double},  {"NETTUTAR", FieldType::Double}, {"TUTAR", FieldType::Double},
            {"DURUM", FieldType::Text},    {"KARGOADI", FieldType::Text},   {"VERENINNOTU", FieldType::Text},
            {"ALANNOTU", FieldType::Text}, {"CARINO", FieldType::Int32},    {"KUR", FieldType::Text},
            {"KURTL", FieldType::Double},  {"VERENIDNO", FieldType::Int32}, {"CARIKOD", FieldType::Text},
            {"CARIADI", FieldType::Text},
        });
        QSqlQuery q = Storage::run(
            db,
            QStringLiteral("SELECT o.IDNO, COALESCE(NULLIF(o.SIPARISNO, ''), CAST(o.IDNO AS TEXT)), o.TARIH,"
                           " COALESCE(k.ADI, ''), COALESCE(t.ADI, ''), COALESCE(u.ADI, ''), o.DURUM,"
                           " COALESCE(f.ADI, ''), o.ACIKLAMA, COALESCE(n.ALANNOTU, ''), o.CARINO,"
                           " COALESCE(o.VERENSIRANO, 0), c.CARIKOD, c.CARIADI"
                           " FROM siparisler o JOIN cariler c ON c.CARINO = o.CARINO"
                           " LEFT JOIN kargo_turleri k ON k.KOD = o.KARGOID"
                           " LEFT JOIN teslim_sekilleri t ON t.KOD = o.TESLIMID"
                           " LEFT JOIN kargo_firmalari f ON f.SIRANO = o.KARGOFIRMAID"
                           " LEFT JOIN kullanicilar u ON u.SIRANO = o.VERENSIRANO"
                           " LEFT JOIN siparis_notlari n ON n.IDNO = o.IDNO"
                           " WHERE o.CARINO = ? ORDER BY o.TARIH DESC, o.IDNO DESC"),
            {carino});
        // Money of each order from its lines as they stand now.
        QSqlQuery lines = Storage::run(db, kLineSelect + QStringLiteral(" WHERE o.CARINO = ?"), {carino});
        QHash<int, std::pair<double, double>> money; // IDNO -> net, VAT
        while (lines.next()) {
            const LineMoneyRow m = orderLineMoney(lines);
            auto& sum = money[lines.value(LIdno).toInt()];
            sum.first = roundKurus(sum.first + m.net);
            sum.second = roundKurus(sum.second + m.vat);
        }
        while (q.next()) {
            const auto [net, vat] = money.value(q.value(0).toInt());
            t.rows.append({q.value(0).toInt(), q.value(1).toString(), storedDay(q.value(2)), q.value(3).toString(),
                           q.value(4).toString(), q.value(5).toString(), vat, net, roundKurus(net + vat),
                           orderStateText(q.value(6).toInt()), q.value(7).toString(), q.value(8).toString(),
                           q.value(9).toString(), q.value(10).toInt(), QStringLiteral("TL"), 1.0, q.value(11).toInt(),
                           q.value(12).toString(), q.value(13).toString()});
        }
        return MethodAnswer{tableAnswer(t)};
    });
}

MethodAnswer SiparisAyrintisi2(const CallContext& call)
{
    const qint32 carino = call.int32(0);
    const qint32 idno = call.int32(1);
    return call.storage().read([&](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(
            db, kLineSelect + QStringLiteral(" WHERE o.CARINO = ? AND o.IDNO = ? ORDER BY l.SATIRNO, l.SIRANO"),
            {carino, idno});
        return MethodAnswer{tableAnswer(orderLines(q))};
    });
}

// The customer number is always 0 from the client, so the order number alone finds the order.
MethodAnswer SiparisAytintisiDip(const CallContext& call)
{
    const qint32 carino = call.int32(0);
    const qint32 idno = call.int32(1);
    return call.storage().read([&](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(
            db,
            QStringLiteral("SELECT o.ACIKLAMA, o.DURUM, COALESCE(u.ADI, ''), COALESCE(f.ADI, ''),"
                           " COALESCE(n.ALANNOTU, ''), COALESCE(t.ADI, ''), COALESCE(k.ADI, ''), o.SATICINOTU"
                           " FROM siparisler o"
                           " LEFT JOIN kargo_turleri k ON k.KOD = o.KARGOID"
                           " LEFT JOIN teslim_sekilleri t ON t.KOD = o.TESLIMID"
                           " LEFT JOIN kargo_firmalari f ON f.SIRANO = o.KARGOFIRMAID"
                           " LEFT JOIN kullanicilar u ON u.SIRANO = o.VERENSIRANO"
                           " LEFT JOIN siparis_notlari n ON n.IDNO = o.IDNO"
                           " WHERE o.IDNO = ? AND (? = 0 OR o.CARINO = ?)"),
            {idno, carino, carino});
        if (!q.next())
            return MethodAnswer{CallAnswer{QJsonValue::Null, {}}};
        TSiparisDipAyrinti dip;
        dip.FSizinMesaj = q.value(0).toString();
        dip.FDurumu = orderStateText(q.value(1).toInt());
        dip.FVeren = q.value(2).toString();
        dip.FKargo = q.value(3).toString();
        dip.FBizimMesaj = q.value(4).toString();
        dip.FTeslimCinsi = q.value(5).toString();
        dip.FKargoCinsi = q.value(6).toString();
        dip.FSaticiNotu = q.value(7).toString();
        return MethodAnswer{CallAnswer{velmora::encodeRecord(&dip), {}}};
    });
}

MethodAnswer TumSiparislerVer(const CallContext& call)
{
    const qint32 carino = call.int32(0);
    const qint32 stokno = call.int32(1);
    return call.storage().read([&](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(db,
                                   kLineSelect + QStringLiteral(" WHERE o.CARINO = ? AND (? = 0 OR l.STOKNO = ?)"
                                                                " ORDER BY o.TARIH DESC, o.IDNO DESC, l.SATIRNO"),
                                   {carino, stokno, stokno});
        return MethodAnswer{tableAnswer(orderLines(q))};
    });
}

MethodAnswer BakiyelerVer2(const CallContext& call)
{
    const qint32 carino = call.int32(0);
    return call.storage().read([&](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(db,
                                   kLineSelect + QStringLiteral(" WHERE o.CARINO = ? AND") + kOpenBalance +
                                       QStringLiteral(" ORDER BY o.TARIH, o.IDNO, l.SATIRNO"),
                                   {carino});
        return MethodAnswer{tableAnswer(orderLines(q))};
    });
}

// The three balance changes: the line is named by its number (sepetsirano and siparissirano
// both carry SIRANO/STOKHAR_NO of the balance row) with its barcode, and for delete and
// quantity also its stock number. Result 1: changed.
enum class BalanceChange { Delete, Quantity, Price };

MethodAnswer changeBalance(const CallContext& call, BalanceChange change)
{
    const Caller caller = callerOf(call, 0);
    const qint32 stokno = call.int32(1);
    const qint32 line = call.int32(2);
    const qint32 orderLine = call.int32(3);
    const double newBalance = call.number(5);
    const QString barkod = call.text(6);
    const QString method = QLatin1String(call.method().ad);
    if (line != orderLine)
        throw CallError::badRequest(
            QStringLiteral("%1: satır numaraları farklı (%2, %3)").arg(method).arg(line).arg(orderLine));
    double price = 0, discount = 0;
    if (change == BalanceChange::Price) {
        if (caller.record.FMusteriTipi != 2)
            throw CallError(403, QStringLiteral("Forbidden"), QStringLiteral("Fiyat değiştirme yetkiniz yok"));
        price = call.number(7);
        discount = call.number(8);
        if (!std::isfinite(price) || price < 0)
            throw CallError::badRequest(QStringLiteral("%1: fiyat sıfırdan küçük olamaz").arg(method));
        if (!std::isfinite(discount) || discount < 0 || discount >= 100)
            throw CallError::badRequest(QStringLiteral("%1: indirim oranı 0 ile 100 arasında olmalı").arg(method));
    }
    if (change == BalanceChange::Quantity && (!std::isfinite(newBalance) || newBalance <= 0))
        throw CallError::badRequest(
            QStringLiteral("%1: yeni bakiye sıfırdan büyük olmalı; bakiyeyi silmek için Bakiyeyi Sil").arg(method));

    return call.storage().write([&](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(db,
                                   QStringLiteral("SELECT o.CARINO, l.STOKNO, l.BARKOD, l.BIRIMFIYAT, o.DURUM"
                                                  " FROM siparis_satirlari l JOIN siparisler o ON o.IDNO = l.IDNO"
                                                  " LEFT JOIN bakiye_degisiklikleri b ON b.SIRANO = l.SIRANO"
                                                  " WHERE l.SIRANO = ? AND") +
                                       kOpenBalance,
                                   {line});
        if (!q.next() || q.value(2).toString() != barkod ||
            (change != BalanceChange::Price && q.value(1).toInt() != stokno))
            throw CallError::badRequest(
                QStringLiteral("%1: açık sipariş bakiyesi bulunamadı (%2)").arg(method).arg(line));
        const qint32 account = q.value(0).toInt();
        const double firstPrice = q.value(3).toDouble();
        q.finish();
        requireVisibleAccount(db, caller, account);

        Storage::run(db,
                     QStringLiteral("INSERT INTO bakiye_degisiklikleri (SIRANO, ILKFIYAT) VALUES (?, ?)"
                                    " ON CONFLICT DO NOTHING"),
                     {line, firstPrice});
        switch (change) {
        case BalanceChange::Delete:
            Storage::run(db, QStringLiteral("UPDATE bakiye_degisiklikleri SET SILINDI = 1 WHERE SIRANO = ?"), {line});
            break;
        case BalanceChange::Quantity:
            Storage::run(db, QStringLiteral("UPDATE bakiye_degisiklikleri SET KALAN = ? WHERE SIRANO = ?"),
                         {newBalance, line});
            break;
        case BalanceChange::Price:
            Storage::run(db,
                         QStringLiteral("UPDATE bakiye_degisiklikleri SET BIRIMFIYAT = ?, IND1 = ? WHERE SIRANO = ?"),
                         {price, discount, line});
            break;
        }
        Storage::run(db,
                     QStringLiteral("INSERT INTO bakiye_degisiklik_kayitlari (SIRANO, ISLEM, KULLANICI, ZAMAN, ADET,"
                                    " BAKIYE, FIYAT, INDIRIM) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                     {line, method, caller.record.FSirano, QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs),
                      call.number(4), newBalance, price, discount});
        return MethodAnswer{CallAnswer{1, {}}};
    });
}

MethodAnswer BakiyeDuzenle(const CallContext& call)
{
    return changeBalance(call, BalanceChange::Delete);
}

MethodAnswer BakiyeDegistir(const CallContext& call)
{
    return changeBalance(call, BalanceChange::Quantity);
}

MethodAnswer BakiyeFiyatDegistir(const CallContext& call)
{
    return changeBalance(call, BalanceChange::Price);
}

// The statement in date order; BAKIYE and D carry the running balance (the client recomputes them).
MethodAnswer CariEkstreVer(const CallContext& call)
{
    const qint32 carino = call.int32(0);
    return call.storage().read([&](QSqlDatabase& db) {
        Table t;
        t.columns = cols({{"CARINO", FieldType::Int32},
                          {"IDNO", FieldType::Int32},
                          {"TARIH", FieldType::Date},
                          {"TURADI", FieldType::Text},
                          {"EVRAK", FieldType::Text},
                          {"BORC", FieldType::Double},
                          {"ALACAK", FieldType::Double},
                          {"KUR", FieldType::Text},
                          {"BAKIYE", FieldType::Double},
                          {"D", FieldType::Text},
                          {"ACIKLAMA", FieldType::Text}});
        QSqlQuery q =
            Storage::run(db,
                         QStringLiteral("SELECT CARINO, IDNO, TARIH, TUR, EVRAKNO, BORC, ALACAK, KUR, ACIKLAMA"
                                        " FROM cari_hareketler WHERE CARINO = ? ORDER BY TARIH, IDNO"),
                         {carino});
        double balance = 0;
        while (q.next()) {
            const double debit = q.value(5).toDouble();
            const double credit = q.value(6).toDouble();
            balance = roundKurus(balance + debit - credit);
            t.rows.append({q.value(0).toInt(), q.value(1).toInt(), storedDay(q.value(2)),
                           movementKindName(static_cast<MovementKind>(q.value(3).toInt())), q.value(4).toString(),
                           debit, credit, q.value(7).toString(), balance,
                           balance > 0   ? QStringLiteral("B")
                           : balance < 0 ? QStringLiteral("A")
                                         : QStringLiteral(" "),
                           q.value(8).toString()});
        }
        return MethodAnswer{tableAnswer(t)};
    });
}

// Invoice lines with the document's header on every row. A movement of another account, or one
// that is no invoice, gives no rows.
MethodAnswer FaturaGetir(const CallContext& call)
{
    const qint32 carino = call.int32(0);
    const qint32 idno = call.int32(1);
    return call.storage().read([&](QSqlDatabase& db) {
        Table t;
        t.columns = cols({
            {"IDNO", FieldType::Int32},
            {"STOKHAR_CARINO", FieldType::Int32},
            {"STOKHAR_HAREKETTARIHI", FieldType::Date},
            {"STOKHAR_SAAT", FieldType::Text},
            {"STOKHAR_HAREKETTIPI2", FieldType::Text},
            {"EVRAKNO", FieldType::Text},
            {"BELGENO", FieldType::Text},
            {"SATICIADI", FieldType::Text},
            {"STOKHAR_VADE", FieldType::Int32},
            {"OEMNO", FieldType::Text},
            {"BARKOD", FieldType::Text},
            {"STOKADI", FieldType::Text},
            {"FINISHKOD", FieldType::Text},
            {"MARKA", FieldType::Text},
            {"MODEL", FieldType::Text},
            {"ANAGRUP", FieldType::Text},
            {"OZELKOD", FieldType::Text},
            {"BIRIM", FieldType::Text},
            {"STOKHAR_MIKTAR", FieldType::Double},
            {"STOKHAR_TLBIRIMFIYATI", FieldType::Double},
            {"STOKHAR_TLTUTAR", FieldType::Double},
            {"STOKHAR_INDIRIM1", FieldType::Double},
            {"STOKHAR_INDIRIM2", FieldType::Double},
            {"KDV", FieldType::Double},
            {"STOKHAR_TOPLAMINDIRIM", FieldType::Double},
            {"STOKHAR_TOPLAMMASRAF", FieldType::Double},
            {"STOKHAR_NETTLBIRIMFIYATI", FieldType::Double},
            {"STOKHAR_NETTLTUTAR", FieldType::Double},
            {"STOKHAR_TLVERGI", FieldType::Double},
            {"SATIRACIKLMASI", FieldType::Text},
            {"IRSALIYEEVRAKNO", FieldType::Text},
            {"STOKHAR_IRSTARIHI", FieldType::Date},
            {"IRSALIYETIP2", FieldType::Text},
            {"SIPARISEVRAKNO", FieldType::Text},
            {"SIPARISTARIHI", FieldType::Date},
            {"KUR_KURSIMGE", FieldType::Text},
            {"STOKHAR_KURTL", FieldType::Double},
        });
        QSqlQuery q = Storage::run(
            db,
            QStringLiteral("SELECT h.IDNO, h.CARINO, h.TARIH, h.SAAT, h.TUR, h.EVRAKNO, h.SATICIADI, h.VADE,"
                           " f.OEMNO, f.BARKOD, f.STOKADI, f.FINISHKOD, f.MARKA, f.MODEL, f.ANAGRUP, f.OZELKOD,"
                           " f.BIRIM, f.MIKTAR, f.BIRIMFIYAT, f.INDIRIM1, f.INDIRIM2, f.MASRAF, f.KDV, f.ACIKLAMA,"
                           " f.IRSALIYENO, f.SIPARISNO, f.SIPARISTARIHI"
                           " FROM fatura_satirlari f JOIN cari_hareketler h ON h.IDNO = f.IDNO"
                           " WHERE h.IDNO = ? AND h.CARINO = ? AND h.TUR IN (1, 2) ORDER BY f.SIRANO"),
            {idno, carino});
        while (q.next()) {
            InvoiceLine line;
            line.quantity = q.value(17).toDouble();
            line.unitPrice = q.value(18).toDouble();
            line.discount1 = q.value(19).toDouble();
            line.discount2 = q.value(20).toDouble();
            line.expense = q.value(21).toDouble();
            line.vat = q.value(22).toDouble();
            const LineMoney m = lineMoney(line);
            const QString kind = movementKindName(static_cast<MovementKind>(q.value(4).toInt()));
            t.rows.append({q.value(0).toInt(),
                           q.value(1).toInt(),
                           storedDay(q.value(2)),
                           q.value(3).toString(),
                           kind,
                           q.value(5).toString(),
                           q.value(5).toString(),
                           q.value(6).toString(),
                           q.value(7).toInt(),
                           q.value(8).toString(),
                           q.value(9).toString(),
                           q.value(10).toString(),
                           q.value(11).toString(),
                           q.value(12).toString(),
                           q.value(13).toString(),
                           q.value(14).toString(),
                           q.value(15).toString(),
                           q.value(16).toString(),
                           line.quantity,
                           line.unitPrice,
                           m.gross,
                           line.discount1,
                           line.discount2,
                           line.vat,
                           m.discount,
                           line.expense,
                           roundKurus(m.net / line.quantity),
                           m.net,
                           m.vat,
                           q.value(23).toString(),
                           q.value(24).toString(),
                           q.value(24).toString().isEmpty() ? QVariant() : storedDay(q.value(2)),
                           q.value(24).toString().isEmpty() ? QString() : QStringLiteral("Satış İrsaliyesi"),
                           q.value(25).toString(),
                           storedDay(q.value(26)),
                           QStringLiteral("TL"),
                           1.0});
        }
        return MethodAnswer{tableAnswer(t)};
    });
}

// One row of invoice totals, as the lines add up: gross, discounts, net (MATRAH), VAT, total.
// No row for a movement that is no invoice.
MethodAnswer FaturaAltGetir(const CallContext& call)
{
    const qint32 idno = call.int32(0);
    return call.storage().read([&](QSqlDatabase& db) {
        Table t;
        t.columns = cols({{"IDNO", FieldType::Int32},
                          {"TOPLAM", FieldType::Double},
                          {"TOPLAMINDIRIM", FieldType::Double},
                          {"TOPLAMMASRAF", FieldType::Double},
                          {"MATRAH", FieldType::Double},
                          {"KDVTUTAR", FieldType::Double},
                          {"KDVDAHIL", FieldType::Double}});
        if (!Storage::run(db, QStringLiteral("SELECT 1 FROM cari_hareketler WHERE IDNO = ? AND TUR IN (1, 2)"), {idno})
                 .next())
            return MethodAnswer{tableAnswer(t)};
        QSqlQuery q = Storage::run(db,
                                   QStringLiteral("SELECT MIKTAR, BIRIMFIYAT, INDIRIM1, INDIRIM2, MASRAF, KDV"
                                                  " FROM fatura_satirlari WHERE IDNO = ? ORDER BY SIRANO"),
                                   {idno});
        double gross = 0, discount = 0, expense = 0, net = 0, vat = 0;
        while (q.next()) {
            InvoiceLine line;
            line.quantity = q.value(0).toDouble();
            line.unitPrice = q.value(1).toDouble();
            line.discount1 = q.value(2).toDouble();
            line.discount2 = q.value(3).toDouble();
            line.expense = q.value(4).toDouble();
            line.vat = q.value(5).toDouble();
            const LineMoney m = lineMoney(line);
            gross = roundKurus(gross + m.gross);
            discount = roundKurus(discount + m.discount);
            expense = roundKurus(expense + line.expense);
            net = roundKurus(net + m.net);
            vat = roundKurus(vat + m.vat);
        }
        t.rows.append({idno, gross, discount, expense, net, vat, roundKurus(net + vat)});
        return MethodAnswer{tableAnswer(t)};
    });
}

// Entries of a collection or payment; column names as the collection window shows them.
MethodAnswer Tahsilat(const CallContext& call)
{
    const qint32 idno = call.int32(0);
    return call.storage().read([&](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(
            db,
            QStringLiteral("SELECT h.TARIH, CASE h.TUR WHEN 4 THEN 'Tediye' ELSE 'Tahsilat' END, t.CINS, t.VADE,"
                           " t.TUTAR, t.ACIKLAMA, h.EVRAKNO, t.REF, h.SAAT, h.KUR, 1.0, t.TUTAR"
                           " FROM tahsilat_satirlari t JOIN cari_hareketler h ON h.IDNO = t.IDNO"
                           " WHERE h.IDNO = ? AND h.TUR IN (3, 4) ORDER BY t.SIRANO"),
            {idno});
        return MethodAnswer{tableAnswer(tableFrom(q, {{QStringLiteral("Tarih"), FieldType::Date},
                                                      {QStringLiteral("Türü"), FieldType::Text},
                                                      {QStringLiteral("Cins"), FieldType::Text},
                                                      {QStringLiteral("Vade"), FieldType::Date},
                                                      {QStringLiteral("Tutar"), FieldType::Double},
                                                      {QStringLiteral("Açıklama"), FieldType::Text},
                                                      {QStringLiteral("EvrakNo"), FieldType::Text},
                                                      {QStringLiteral("Ref"), FieldType::Text},
                                                      {QStringLiteral("Saat"), FieldType::Text},
                                                      {QStringLiteral("Kur"), FieldType::Text},
                                                      {QStringLiteral("KurTL"), FieldType::Double},
                                                      {QStringLiteral("Döviz Tutar"), FieldType::Double}}))};
    });
}

// --- Stock lists ---------------------------------------------------------------------------

enum class StockList { New, Campaign };

// The stock rows of the new-stock or campaign list with this account's prices: list price less
// the account's discounts for the brand (or its general ones), or the campaign price as it is.
const QString kStockFrom = QStringLiteral(" FROM stoklar s LEFT JOIN markalar m ON m.MARKANO = s.MARKANO"
                                          " LEFT JOIN cari_iskontolari d ON d.CARINO = ? AND d.MARKANO = s.MARKANO"
                                          " LEFT JOIN cari_iskontolari g ON g.CARINO = ? AND g.MARKANO = 0"
                                          " LEFT JOIN stok_resimleri r ON r.STOKNO = s.STOKNO"
                                          " WHERE s.AKTIF = 1 AND ");

QString stockCondition(StockList list)
{
    return list == StockList::New ? QStringLiteral("s.YENI = 1") : QStringLiteral("s.KAMPFIYAT > 0");
}

// Campaign stock is not offered to users of type 4.
bool listOffered(StockList list, qint32 userType)
{
    return list == StockList::New || userType != 4;
}

Table stockList(QSqlDatabase& db, qint32 carino, StockList list)
{
    Table t;
    t.columns = cols({
        {"STOK_STOKNO", FieldType::Int32},
        {"BARKOD", FieldType::Text},
        {"BARKOD_BARKODNO", FieldType::Text},
        {"OEM1", FieldType::Text},
        {"OEM2", FieldType::Text},
        {"OEM3", FieldType::Text},
        {"OEM4", FieldType::Text},
        {"OEMNO", FieldType::Text},
        {"ADI", FieldType::Text},
        {"DIGERADI", FieldType::Text},
        {"FINISHKOD", FieldType::Text},
        {"URETICIKODU", FieldType::Text},
        {"DPKOD", FieldType::Text},
        {"PKOD", FieldType::Text},
        {"MARKA", FieldType::Text},
        {"MODEL", FieldType::Text},
        {"ANAGRUP", FieldType::Text},
        {"OZELKOD", FieldType::Text},
        {"BIRIM", FieldType::Text},
        {"KDV", FieldType::Double},
        {"RESIM", FieldType::Int32},
        {"DURUM", FieldType::Int32},
        {"KALAN", FieldType::Double},
        {"ALINANSIPARIS", FieldType::Double},
        {"VERILENSIPARIS", FieldType::Double},
        {"LISTEFIYAT1", FieldType::Double},
        {"ESKIFIYAT", FieldType::Double},
        {"KAMPFIYAT", FieldType::Double},
        {"FIYAT", FieldType::Double},
        {"Y", FieldType::Int32},
        {"K", FieldType::Int32},
        {"INDIRIM", FieldType::Double},
        {"INDIRIMYAZI", FieldType::Text},
        {"NETFIYAT", FieldType::Double},
        {"KDVDAHIL", FieldType::Double},
    });
    QSqlQuery q = Storage::run(
        db,
        QStringLiteral("SELECT s.STOKNO, s.BARKOD, s.BARKODNO, s.OEM1, s.OEM2, s.OEM3, s.OEM4, s.OEMNO, s.ADI,"
                       " s.DIGERADI, s.FINISHKOD, s.URETICIKODU, s.DPKOD, s.PKOD, COALESCE(m.ADI, ''), s.MODEL,"
                       " s.ANAGRUP, s.OZELKOD, s.BIRIM, s.KDV, r.STOKNO IS NOT NULL, s.DURUM, s.KALAN,"
                       " (SELECT COALESCE(SUM(x.MIKTAR - x.TESLIMMIKTAR), 0) FROM siparis_satirlari x JOIN siparisler y"
                       "  ON y.IDNO = x.IDNO WHERE x.STOKNO = s.STOKNO AND y.DURUM < 5),"
                       " s.VERILENSIPARIS, s.LISTEFIYAT, s.KAMPFIYAT, s.YENI,"
                       " COALESCE(d.IND1, g.IND1, 0), COALESCE(d.IND2, g.IND2, 0), COALESCE(d.IND3, g.IND3, 0),"
                       " COALESCE(d.IND4, g.IND4, 0)") +
            kStockFrom + stockCondition(list) + QStringLiteral(" ORDER BY s.EKLENMETARIHI DESC, s.STOKNO DESC"),
        {carino, carino});
    while (q.next()) {
        const double listPrice = q.value(25).toDouble();
        const double campaign = q.value(26).toDouble();
        const double vat = q.value(19).toDouble();
        const double i1 = q.value(28).toDouble(), i2 = q.value(29).toDouble(), i3 = q.value(30).toDouble(),
                     i4 = q.value(31).toDouble();
        const Price price = priceFor(listPrice, campaign, vat, {i1, i2, i3, i4});
        const bool onCampaign = price.campaign;
        const double net = price.net;
        const double discount = price.discounts.ind1;
        const QString discountLabel = price.discountText;
        QVector<QVariant> row;
        for (int i = 0; i < 19; ++i)
            row.append(i == 0 ? QVariant(q.value(0).toInt()) : QVariant(q.value(i).toString()));
        row << vat << (q.value(20).toBool() ? 1 : 0) << q.value(21).toInt() << q.value(22).toDouble()
            << q.value(23).toDouble() << q.value(24).toDouble() << listPrice << listPrice << (onCampaign ? net : 0.0)
            << net << q.value(27).toInt() << (onCampaign ? 1 : 0) << discount << discountLabel << net << price.withVat;
        t.rows.append(row);
    }
    return t;
}

int stockCount(QSqlDatabase& db, StockList list)
{
    QSqlQuery q = Storage::run(db, QStringLiteral("SELECT COUNT(*) FROM stoklar s WHERE s.AKTIF = 1 AND ") +
                                       stockCondition(list));
    return q.next() ? q.value(0).toInt() : 0;
}

MethodAnswer YenilerVer2(const CallContext& call)
{
    const qint32 carino = call.int32(0);
    return call.storage().read(
        [&](QSqlDatabase& db) { return MethodAnswer{tableAnswer(stockList(db, carino, StockList::New))}; });
}

// The second parameter is the user type, not a representative number.
MethodAnswer KampanyaliVer2(const CallContext& call)
{
    const qint32 carino = call.int32(0);
    const qint32 userType = call.int32(1);
    return call.storage().read([&](QSqlDatabase& db) {
        Table t = stockList(db, carino, StockList::Campaign);
        if (!listOffered(StockList::Campaign, userType))
            t.rows.clear();
        return MethodAnswer{tableAnswer(t)};
    });
}

// --- Announcements, files, notices ---------------------------------------------------------

const QString kActiveAnnouncements = QStringLiteral(" FROM duyurular WHERE AKTIF = 1");

MethodAnswer DuyuruVer(const CallContext& call)
{
    return call.storage().read([&](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(db, QStringLiteral("SELECT SIRANO, TARIH, BASLIK, DUYURU") + kActiveAnnouncements +
                                           QStringLiteral(" ORDER BY TARIH DESC, SIRANO DESC"));
        return MethodAnswer{tableAnswer(tableFrom(q, cols({{"SIRANO", FieldType::Int32},
                                                           {"TARIH", FieldType::Date},
                                                           {"BASLIK", FieldType::Text},
                                                           {"DUYURU", FieldType::Text}})))};
    });
}

// File type code of a name's extension, as the files tab shows it.
int fileTypeCode(const QString& name)
{
    const QString suffix = QFileInfo(name).suffix().toUpper();
    if (suffix == QLatin1String("PDF"))
        return 4;
    if (suffix == QLatin1String("XLSX") || suffix == QLatin1String("XLS"))
        return 6;
    if (suffix == QLatin1String("BMP") || suffix == QLatin1String("PNG") || suffix == QLatin1String("JPG"))
        return 2;
    if (suffix == QLatin1String("DOC") || suffix == QLatin1String("DOCX"))
        return 3;
    if (suffix == QLatin1String("PPT") || suffix == QLatin1String("PPTX"))
        return 5;
    if (suffix == QLatin1String("MDB"))
        return 1;
    return 0;
}

MethodAnswer DosyaListesi2(const CallContext& call)
{
    return call.storage().read([&](QSqlDatabase& db) {
        Table t;
        t.columns = cols({{"SIRANO", FieldType::Int32},
                          {"TUR", FieldType::Int32},
                          {"ACIKLAMA", FieldType::Text},
                          {"DOSYAYOL", FieldType::Text},
                          {"ILERI", FieldType::Int32},
                          {"BOYUT", FieldType::Int64},
                          {"TARIH", FieldType::Date}});
        QSqlQuery q = Storage::run(db, QStringLiteral("SELECT SIRANO, ACIKLAMA, DOSYAADI, length(ICERIK), ZAMAN"
                                                      " FROM dosyalar ORDER BY SIRANO"));
        while (q.next()) {
            t.rows.append({q.value(0).toInt(), fileTypeCode(q.value(2).toString()), q.value(1).toString(),
                           q.value(2).toString(), 0, q.value(3).toLongLong(), storedDay(q.value(4))});
        }
        return MethodAnswer{tableAnswer(t)};
    });
}

MethodAnswer BelgeIndir(const CallContext& call)
{
    const qint32 sirano = call.int32(0);
    return call.storage().read([&](QSqlDatabase& db) {
        QSqlQuery q =
            Storage::run(db, QStringLiteral("SELECT DOSYAADI, ICERIK FROM dosyalar WHERE SIRANO = ?"), {sirano});
        if (!q.next())
            throw CallError(404, QStringLiteral("NotFound"), QStringLiteral("Belge bulunamadı: %1").arg(sirano));
        const QByteArray bytes = q.value(1).toByteArray();
        return MethodAnswer{StreamAnswer{bytes, {qint64(bytes.size()), q.value(0).toString()}}};
    });
}

MethodAnswer KayanYaziGetir(const CallContext& call)
{
    return CallAnswer{call.storage().setting(QStringLiteral("kayan_yazi")), {}};
}

// The newest banner; size 0 and no bytes when none is stored.
MethodAnswer BannerResimVer(const CallContext& call)
{
    return call.storage().read([&](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(db, QStringLiteral("SELECT ICERIK FROM bannerlar ORDER BY SIRANO DESC LIMIT 1"));
        const QByteArray bytes = q.next() ? q.value(0).toByteArray() : QByteArray();
        return MethodAnswer{StreamAnswer{bytes, {qint64(bytes.size())}}};
    });
}

// Open balance lines of an account, the same lines BakiyelerVer2 lists.
double openBalance(QSqlDatabase& db, qint32 carino)
{
    QSqlQuery q = Storage::run(
        db,
        QStringLiteral("SELECT COALESCE(SUM(CASE WHEN b.SILINDI = 1 THEN 0 WHEN b.KALAN IS NOT NULL THEN b.KALAN"
                       " WHEN l.MIKTAR > l.TESLIMMIKTAR THEN l.MIKTAR - l.TESLIMMIKTAR ELSE 0 END), 0)"
                       " FROM siparis_satirlari l JOIN siparisler o ON o.IDNO = l.IDNO"
                       " LEFT JOIN bakiye_degisiklikleri b ON b.SIRANO = l.SIRANO WHERE o.CARINO = ? AND") +
            kOpenBalance,
        {carino});
    return q.next() ? q.value(0).toDouble() : 0;
}

// One row with what the tabs will show: basket lines, new stock, campaign stock, announcements
// and the remaining balance quantity of the account in the session.
MethodAnswer BalonGetir(const CallContext& call)
{
    const Caller caller = callerOf(call, 0);
    return call.storage().read([&](QSqlDatabase& db) {
        const qint32 carino = caller.record.FCARINO;
        if (carino > 0)
            requireVisibleAccount(db, caller, carino);
        QSqlQuery basket = Storage::run(db, QStringLiteral("SELECT COUNT(*) FROM sepet WHERE CARINO = ?"), {carino});
        const int basketLines = basket.next() ? basket.value(0).toInt() : 0;
        basket.finish();
        QSqlQuery news = Storage::run(db, QStringLiteral("SELECT COUNT(*)") + kActiveAnnouncements);
        const int announcements = news.next() ? news.value(0).toInt() : 0;
        news.finish();
        Table t;
        t.columns = cols({{"SEPET", FieldType::Int32},
                          {"YENI", FieldType::Int32},
                          {"KAMPANYA", FieldType::Int32},
                          {"DUYURU", FieldType::Int32},
                          {"BAKIYE", FieldType::Double}});
        t.rows.append(
            {basketLines, stockCount(db, StockList::New),
             listOffered(StockList::Campaign, caller.record.FMusteriTipi) ? stockCount(db, StockList::Campaign) : 0,
             announcements, carino > 0 ? openBalance(db, carino) : 0.0});
        return MethodAnswer{tableAnswer(t)};
    });
}

// --- Representative desk -------------------------------------------------------------------

// Customer rows of the selection window for the accounts that pass `condition`.
Table customerRows(QSqlDatabase& db, const Caller& caller, const QString& condition, const QVariantList& values)
{
    const auto [visible, owner] = visibleAccounts(caller, QStringLiteral("c.CARINO"));
    QVariantList all{owner};
    all += values;
    QSqlQuery q = Storage::run(
        db,
        QStringLiteral(
            "SELECT c.CARINO, c.CARIKOD, c.CARIADI, COALESCE(s.ADI, ''),"
            " COALESCE((SELECT SUM(BORC - ALACAK) FROM cari_hareketler h WHERE h.CARINO = c.CARINO), 0),"
            " c.OZELKOD, COALESCE(k.KOD1, ''), COALESCE(k.KOD2, ''), COALESCE(k.KOD3, ''), COALESCE(k.KOD4, ''),"
            " COALESCE(k.KOD5, ''), c.TEL1, c.TEL2, c.ILCE, c.SEHIR, c.GSM,"
            " (SELECT COUNT(*) FROM sepet b WHERE b.CARINO = c.CARINO),"
            " c.YETKILI, COALESCE(k.INDIRIM, 0), COALESCE(k.VADE, 0), COALESCE(k.VADEKONTROLGUN, 0),"
            " COALESCE(k.VADEKONTROLAY, 0), c.VERGIDAIRESI, c.VERGINO, c.ADRES1, c.ADRES2, c.ANAGRUP, c.ALTGRUP,"
            " c.FAX1, c.FAX2, c.EMAIL,"
            " (SELECT COUNT(*) FROM siparisler o WHERE o.CARINO = c.CARINO AND o.DURUM = 0),"
            " (SELECT COUNT(*) FROM siparisler o WHERE o.CARINO = c.CARINO AND o.DURUM = 1),"
            " (SELECT COUNT(*) FROM siparisler o WHERE o.CARINO = c.CARINO AND o.DURUM = 2),"
            " (SELECT COUNT(*) FROM siparisler o WHERE o.CARINO = c.CARINO AND o.DURUM = 4),"
            " (SELECT COUNT(*) FROM siparisler o WHERE o.CARINO = c.CARINO AND o.DURUM = 3),"
            " (SELECT COUNT(*) FROM siparisler o WHERE o.CARINO = c.CARINO AND o.DURUM = 5)"
            " FROM cariler c LEFT JOIN saticilar s ON s.SATICINO = c.SATICINO"
            " LEFT JOIN cari_kosullari k ON k.CARINO = c.CARINO WHERE ") +
            visible + condition + QStringLiteral(" ORDER BY c.CARIKOD, c.CARINO"),
        all);
    Table t = tableFrom(q, cols({
                               {"CARINO", FieldType::Int32},
                               {"CARIKOD", FieldType::Text},
                               {"CARIADI", FieldType::Text},
                               {"SATICISI", FieldType::Text},
                               {"TLBAKIYE", FieldType::Double},
                               {"OZELKOD", FieldType::Text},
                               {"KOD1", FieldType::Text},
                               {"KOD2", FieldType::Text},
                               {"KOD3", FieldType::Text},
                               {"KOD4", FieldType::Text},
                               {"KOD5", FieldType::Text},
                               {"TEL1", FieldType::Text},
                               {"TEL2", FieldType::Text},
                               {"ILCE", FieldType::Text},
                               {"IL", FieldType::Text},
                               {"GSM", FieldType::Text},
                               {"SEPET", FieldType::Int32},
                               {"YETKILI", FieldType::Text},
                               {"INDIRIM", FieldType::Double},
                               {"VADE", FieldType::Int32},
                               {"VADEKONTROLGUN", FieldType::Int32},
                               {"VADEKONTROLAY", FieldType::Int32},
                               {"VERGIDAIRESI", FieldType::Text},
                               {"VERGINO", FieldType::Text},
                               {"ADRES1", FieldType::Text},
                               {"ADRES2", FieldType::Text},
                               {"ANAGRUP", FieldType::Text},
                               {"ALTGRUP", FieldType::Text},
                               {"FAX1", FieldType::Text},
                               {"FAX2", FieldType::Text},
                               {"EMAIL", FieldType::Text},
                               {"ALINDI", FieldType::Int32},
                               {"ONAYLANDI", FieldType::Int32},
                               {"GORULDU", FieldType::Int32},
                               {"HAZIRLANDI", FieldType::Int32},
                               {"PARCALIHAZIRLANDI", FieldType::Int32},
                               {"SEVKEDILDI", FieldType::Int32},
                           }));
    // The balance state after the balance: debit or credit side.
    t.columns.insert(5, Column{QStringLiteral("DURUM"), FieldType::Text});
    for (auto& row : t.rows) {
        const double balance = roundKurus(row[4].toDouble());
        row[4] = balance;
        row.insert(5, balance > 0 ? QStringLiteral("Borçlu") : balance < 0 ? QStringLiteral("Alacaklı") : QString());
    }
    return t;
}

// Every word of the search text must occur in the code, name, city, district or special code,
// compared in the folded form (Turkish letters to plain capitals).
MethodAnswer CariAra(const CallContext& call)
{
    const Caller caller = callerOf(call, 0);
    const QStringList words = call.text(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return call.storage().read([&](QSqlDatabase& db) {
        Table all = customerRows(db, caller, QString(), {});
        if (words.isEmpty())
            return MethodAnswer{tableAnswer(all)};
        static const QString foldFrom = QStringLiteral("ğĞüÜşŞıİöÖçÇâÂîÎûÛ");
        static const QString foldTo = QStringLiteral("GGUUSSIIOOCCAAIIUU");
        auto fold = [](QString s) {
            for (QChar& c : s) {
                const qsizetype at = foldFrom.indexOf(c);
                c = at >= 0 ? foldTo.at(at) : c.toUpper();
            }
            return s;
        };
        const int searched[] = {1, 2, 14, 15, 6}; // code, name, district, city, special code
        Table found;
        found.columns = all.columns;
        for (const auto& row : std::as_const(all.rows)) {
            QString text;
            for (int column : searched)
                text += fold(row[column].toString()) + QLatin1Char('\n');
            bool every = true;
            for (const QString& word : words)
                every = every && text.contains(fold(word));
            if (every)
                found.rows.append(row);
        }
        return MethodAnswer{tableAnswer(found)};
    });
}

// List codes: 1 customers with basket lines, 2 to 7 customers with orders in state 0 to 5.
MethodAnswer CariSepetVer(const CallContext& call)
{
    const Caller caller = callerOf(call, 0);
    const qint32 code = call.int32(1);
    if (code < 1 || code > 7)
        throw CallError::badRequest(QStringLiteral("TServerMethods1.CariSepetVer: bilinmeyen liste kodu %1").arg(code));
    return call.storage().read([&](QSqlDatabase& db) {
        const Table t =
            code == 1
                ? customerRows(db, caller,
                               QStringLiteral(" AND EXISTS (SELECT 1 FROM sepet b WHERE b.CARINO = c.CARINO)"), {})
                : customerRows(db, caller,
                               QStringLiteral(" AND EXISTS (SELECT 1 FROM siparisler o WHERE o.CARINO = c.CARINO"
                                              " AND o.DURUM = ?)"),
                               {code - 2});
        return MethodAnswer{tableAnswer(t)};
    });
}

// How many of the caller's customers have lines in their basket.
MethodAnswer SepetSayisi(const CallContext& call)
{
    const Caller caller = callerOf(call, 0);
    return call.storage().read([&](QSqlDatabase& db) {
        const auto [visible, owner] = visibleAccounts(caller, QStringLiteral("CARINO"));
        QSqlQuery q =
            Storage::run(db, QStringLiteral("SELECT COUNT(DISTINCT CARINO) FROM sepet WHERE ") + visible, {owner});
        return MethodAnswer{CallAnswer{q.next() ? q.value(0).toInt() : 0, {}}};
    });
}

// Orders of the caller's customers in each state.
MethodAnswer TusSonuclariVer(const CallContext& call)
{
    const Caller caller = callerOf(call, 0);
    return call.storage().read([&](QSqlDatabase& db) {
        const auto [visible, owner] = visibleAccounts(caller, QStringLiteral("CARINO"));
        QSqlQuery q = Storage::run(db,
                                   QStringLiteral("SELECT DURUM, COUNT(*) FROM siparisler WHERE ") + visible +
                                       QStringLiteral(" GROUP BY DURUM"),
                                   {owner});
        TTusSonuclari counts;
        while (q.next()) {
            const int n = q.value(1).toInt();
            switch (q.value(0).toInt()) {
            case 0:
                counts.FAlindi = n;
                break;
            case 1:
                counts.FOnaylandi = n;
                break;
            case 2:
                counts.FGoruldu = n;
                break;
            case 3:
                counts.FParcaliHazirlandi = n;
                break;
            case 4:
                counts.FHazirlandi = n;
                break;
            case 5:
                counts.FSevkEdildi = n;
                break;
            }
        }
        return MethodAnswer{CallAnswer{velmora::encodeRecord(&counts), {}}};
    });
}

MethodAnswer RaporGetir(const CallContext& call)
{
    ReportRequest r;
    r.number = call.int32(0);
    if (call.int32(1) != r.number)
        throw CallError::badRequest(QStringLiteral("TServerMethods1.RaporGetir: bölüm rapor numarasıyla aynı olmalı"));
    r.account = call.int32(3);
    r.representative = call.text(4);
    r.from = dayOf(call.number(5), "tarih1");
    r.to = dayOf(call.number(6), "tarih2");
    const QByteArray pdf = renderReport(call.storage(), r);
    return StreamAnswer{pdf, {qint64(pdf.size())}};
}

// --- Customer details and mail -------------------------------------------------------------

// The account of the user registered for the computer (or `sirano` when the user may see it),
// with the user's name, password and mail and the account's totals. Null for an unknown
// computer.
MethodAnswer MobilCariBilgisiGetir(const CallContext& call)
{
    const qint32 sirano = call.int32(0);
    const QString computerId = call.text(1);
    const auto session = call.storage().sessionFor(computerId);
    if (!session)
        return CallAnswer{QJsonValue::Null, {}};
    const Caller caller{*session};
    return call.storage().read([&](QSqlDatabase& db) {
        TMobilCariBilgisi r;
        r.FBILGISAYARID = computerId;
        r.FKULLANICIADI = session->FADI;
        r.FSIFRE = session->FSIFRE;
        r.FMAIL = session->FKullanicimail;
        r.FSATICIADI = session->FSaticiAdi;
        r.FSATICITELEFON = session->FSaticiTelefon;
        r.FSATICIMAIL = session->FSaticiMail;
        qint32 account = session->FCARINO;
        if (sirano > 0) {
            requireVisibleAccount(db, caller, sirano);
            account = sirano;
        }
        QSqlQuery q = Storage::run(
            db,
            QStringLiteral("SELECT c.CARINO, c.CARIKOD, c.CARIADI, c.ADRES1, c.ADRES2, c.ILCE, c.SEHIR, c.ULKE,"
                           " c.TEL1, c.TEL2, c.GSM, c.FAX1, c.FAX2, c.EMAIL, c.VERGIDAIRESI, c.VERGINO, c.YETKILI,"
                           " c.ANAGRUP, c.ALTGRUP, c.OZELKOD,"
                           " COALESCE((SELECT SUM(BORC) FROM cari_hareketler h WHERE h.CARINO = c.CARINO), 0),"
                           " COALESCE((SELECT SUM(ALACAK) FROM cari_hareketler h WHERE h.CARINO = c.CARINO), 0)"
                           " FROM cariler c WHERE c.CARINO = ?"),
            {account});
        if (q.next()) {
            r.FCARINO = q.value(0).toInt();
            r.FCARIKOD = q.value(1).toString();
            r.FCARIADI = q.value(2).toString();
            r.FADRES1 = q.value(3).toString();
            r.FADRES2 = q.value(4).toString();
            r.FILCE = q.value(5).toString();
            r.FSEHIR = q.value(6).toString();
            r.FULKE = q.value(7).toString();
            r.FTEL1 = q.value(8).toString();
            r.FTEL2 = q.value(9).toString();
            r.FGSM = q.value(10).toString();
            r.FFAX1 = q.value(11).toString();
            r.FFAX2 = q.value(12).toString();
            r.FEMAIL = q.value(13).toString();
            r.FVERGIDAIRESI = q.value(14).toString();
            r.FVERGINO = q.value(15).toString();
            r.FYETKILI = q.value(16).toString();
            r.FAnaGrup = q.value(17).toString();
            r.FAltGrup = q.value(18).toString();
            r.FOzelKod = q.value(19).toString();
            r.FTLBORC = roundKurus(q.value(20).toDouble());
            r.FTLALACAK = roundKurus(q.value(21).toDouble());
            r.FTLBAKIYE = roundKurus(r.FTLBORC - r.FTLALACAK);
        }
        return MethodAnswer{CallAnswer{velmora::encodeRecord(&r), {}}};
    });
}

const char* const kRequestFields[] = {"Firma Adı",     "Adres", "Adres2",        "İlçe",       "Şehir",
                                      "Telefon",       "Fax",   "Vergi Dairesi", "Vergi No",   "Yetkili",
                                      "Kullanıcı Adı", "Şifre", "Mail",          "Kargo Ambar"};

// Queues a request or mail in the outbox for the distributor; 1 means queued. A mail goes to the
// account's representative when the computer's user has one, else to the distributor's address.
MethodAnswer queueMail(const CallContext& call, bool withText)
{
    const QString method = QLatin1String(call.method().ad);
    const QString computerId = call.text(0);
    const QString title = call.text(1);
    if (computerId.trimmed().isEmpty())
        throw CallError::badRequest(QStringLiteral("%1: bilgisayar kimliği boş olamaz").arg(method));
    if (title.trimmed().isEmpty())
        throw CallError::badRequest(QStringLiteral("%1: başlık boş olamaz").arg(method));
    QStringList body;
    body << QStringLiteral("Bilgisayar ID: %1").arg(computerId);
    for (int i = 0; i < 14; ++i)
        body << QStringLiteral("%1: %2").arg(QString::fromUtf8(kRequestFields[i]), call.text(2 + i));
    if (withText)
        body << QString() << call.text(16);
    const auto session = call.storage().sessionFor(computerId);
    const QString office =
        call.storage().setting(QStringLiteral("dagitici_mail"), QStringLiteral("b2b@velmora.example"));
    const QString recipient = withText && session && !session->FSaticiMail.isEmpty() ? session->FSaticiMail : office;
    call.storage().write([&](QSqlDatabase& db) {
        Storage::run(db,
                     QStringLiteral("INSERT INTO giden_postalar (TUR, ZAMAN, UZAKADRES, BILGISAYARID, CARINO, ALICI,"
                                    " BASLIK, GOVDE) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                     {withText ? QStringLiteral("mail") : QStringLiteral("istek"),
                      QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs), call.remoteAddress(), computerId,
                      session ? session->FCARINO : 0, recipient, title, body.join(QLatin1Char('\n'))});
    });
    return CallAnswer{1, {}};
}

MethodAnswer MailGonserCari(const CallContext& call)
{
    return queueMail(call, false);
}

MethodAnswer MailGonserCariNormal(const CallContext& call)
{
    return queueMail(call, true);
}

} // namespace

void addHistoryMethods(MethodTable& table)
{
    table.add(QStringLiteral("MailGonserCari"), MailGonserCari);
    table.add(QStringLiteral("MobilCariBilgisiGetir"), MobilCariBilgisiGetir);
    table.add(QStringLiteral("MailGonserCariNormal"), MailGonserCariNormal);
    table.add(QStringLiteral("OncekiSiparisler"), OncekiSiparisler);
    table.add(QStringLiteral("CariEkstreVer"), CariEkstreVer);
    table.add(QStringLiteral("YenilerVer2"), YenilerVer2);
    table.add(QStringLiteral("KampanyaliVer2"), KampanyaliVer2);
    table.add(QStringLiteral("DuyuruVer"), DuyuruVer);
    table.add(QStringLiteral("SiparisAyrintisi2"), SiparisAyrintisi2);
    table.add(QStringLiteral("SiparisAytintisiDip"), SiparisAytintisiDip);
    table.add(QStringLiteral("FaturaGetir"), FaturaGetir);
    table.add(QStringLiteral("FaturaAltGetir"), FaturaAltGetir);
    table.add(QStringLiteral("Tahsilat"), Tahsilat);
    table.add(QStringLiteral("TumSiparislerVer"), TumSiparislerVer);
    table.add(QStringLiteral("BakiyelerVer2"), BakiyelerVer2);
    table.add(QStringLiteral("BakiyeDuzenle"), BakiyeDuzenle);
    table.add(QStringLiteral("BakiyeDegistir"), BakiyeDegistir);
    table.add(QStringLiteral("BakiyeFiyatDegistir"), BakiyeFiyatDegistir);
    table.add(QStringLiteral("DosyaListesi2"), DosyaListesi2);
    table.add(QStringLiteral("BelgeIndir"), BelgeIndir);
    table.add(QStringLiteral("CariAra"), CariAra);
    table.add(QStringLiteral("CariSepetVer"), CariSepetVer);
    table.add(QStringLiteral("SepetSayisi"), SepetSayisi);
    table.add(QStringLiteral("TusSonuclariVer"), TusSonuclariVer);
    table.add(QStringLiteral("RaporGetir"), RaporGetir);
    table.add(QStringLiteral("BalonGetir"), BalonGetir);
    table.add(QStringLiteral("KayanYaziGetir"), KayanYaziGetir);
    table.add(QStringLiteral("BannerResimVer"), BannerResimVer);
}

} // namespace velmora::server
