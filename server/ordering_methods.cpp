#include "ordering_methods.h"

#include "method_table.h"
#include "ordering_data.h"
#include "schema_ordering.h"
#include "storage.h"

#include "platform/number_format.h"
#include "platform/table.h"
#include "platform/wire_codec.h"
#include "session/kayitlar.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSqlRecord>
#include <QTimeZone>

#include <cmath>
#include <optional>

namespace velmora::server {

namespace {

// The largest quantity one basket line may hold.
constexpr double kMaxQuantity = 1000000;

// The user behind a session record: the computer must be registered to the record's user, and the
// user must be active.
struct Actor {
    qint32 user = 0;
    qint32 type = 0;
    qint32 account = 0; // a dealer's own account
    bool dealer() const { return type == 3 || type == 4; }
};

std::optional<Actor> actorOf(QSqlDatabase& db, const TSonucBilgisi& session)
{
    QSqlQuery q = Storage::run(db,
                               QStringLiteral("SELECT k.SIRANO, k.MUSTERITIPI, COALESCE(k.CARINO, 0) FROM kurulumlar i"
                                              " JOIN kullanicilar k ON k.SIRANO = i.KULLANICI"
                                              " WHERE i.BILGISAYARID = ? AND k.SIRANO = ? AND k.AKTIF = 1"),
                               {session.FBILGISAYARID, session.FSirano});
    if (!q.next())
        return std::nullopt;
    return Actor{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()};
}

// A dealer acts only for his own account; a representative for any account, one per call.
bool mayActFor(QSqlDatabase& db, const Actor& actor, qint32 account)
{
    if (account <= 0)
        return false;
    if (actor.dealer())
        return account == actor.account;
    return Storage::run(db, QStringLiteral("SELECT 1 FROM cariler WHERE CARINO = ?"), {account}).next();
}

TSonucBilgisi sessionParameter(const CallContext& call, int ordinal)
{
    const auto session = call.record<TSonucBilgisi>(ordinal);
    if (!session)
        throw CallError::badRequest(
            QStringLiteral("TServerMethods1.%1: oturum bilgisi boş olamaz").arg(QLatin1String(call.method().ad)));
    return *session;
}

QString now()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
}

// A stored UTC time as a day number in the server's local time (days since 1899-12-30).
QVariant dayNumber(const QString& isoUtc)
{
    QDateTime time = QDateTime::fromString(isoUtc, Qt::ISODateWithMs);
    if (!time.isValid())
        return {};
    time = time.toLocalTime();
    const qint64 days = QDate(1899, 12, 30).daysTo(time.date());
    return double(days) + time.time().msecsSinceStartOfDay() / 86400000.0;
}

// Builds a result table column by column from a query: each column takes the query value of the
// same name, converted to its type.
class TableBuilder {
public:
    void column(const QString& name, FieldType type) { m_table.columns.append({name, type}); }
    void columns(std::initializer_list<const char*> names, FieldType type)
    {
        for (const char* name : names)
            column(QLatin1String(name), type);
    }
    Table& table() { return m_table; }
    QVector<QVariant> row(const QSqlRecord& record) const
    {
        QVector<QVariant> cells;
        cells.reserve(m_table.columns.size());
        for (const Column& c : m_table.columns) {
            const QVariant v = record.value(c.name);
            switch (c.type) {
            case FieldType::Int32:
                cells.append(v.isNull() ? QVariant() : QVariant(v.toInt()));
                break;
            case FieldType::Double:
                cells.append(v.isNull() ? QVariant() : QVariant(v.toDouble()));
                break;
            default:
                cells.append(v.isNull() ? QVariant() : QVariant(v.toString()));
            }
        }
        return cells;
    }
    void set(QVector<QVariant>& row, const QString& name, const QVariant& value) const
    {
        row[m_table.columnIndex(name)] = value;
    }

private:
    Table m_table;
};

CallAnswer tableAnswer(const Table& table)
{
    return CallAnswer{wire::encodeTable(table), {}};
}

// --- Stock search ---------------------------------------------------------------------------

TableBuilder stockColumns()
{
    TableBuilder b;
    b.columns({"STOK_STOKNO", "STOKNO", "DURUM"}, FieldType::Int32);
    b.columns({"OEM1", "OEM2", "OEM3", "OEM4", "OEMNO", "ADI", "BARKOD", "BARKOD_BARKODNO", "FINISHKOD", "URETICIKODU",
               "DIGERADI", "DPKOD", "PKOD", "MARKA", "MODEL", "ANAGRUP", "OZELKOD", "BIRIM"},
              FieldType::Text);
    b.columns({"OZELKOD1", "RESIM"}, FieldType::Int32);
    b.columns({"KDV", "KALAN", "ALINANSIPARIS", "VERILENSIPARIS", "FIYAT", "LISTEFIYAT1", "KAMPFIYAT", "NETFIYAT",
               "KDVDAHIL"},
              FieldType::Double);
    b.column(QStringLiteral("INDIRIMYAZI"), FieldType::Text);
    b.columns({"IND1", "IND2", "IND3", "IND4"}, FieldType::Double);
    b.columns({"Y", "K"}, FieldType::Int32);
    return b;
}

// A word as a LIKE pattern's literal part (PostgreSQL's LIKE escapes with a backslash).
QString likeEscaped(const QString& word)
{
    QString escaped = word;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    escaped.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return escaped;
}

// The condition on the search index for the words of three letters and more: one FTS5 MATCH of
// all phrases on SQLite, one LIKE per word on PostgreSQL, which its trigram index answers.
QString searchIndexConditions(bool postgres, qsizetype words)
{
    if (!postgres)
        return QStringLiteral("stok_arama MATCH ?");
    QStringList conditions;
    for (qsizetype i = 0; i < words; ++i)
        conditions << QStringLiteral("a.METIN LIKE ?");
    return conditions.join(QStringLiteral(" AND "));
}

qint32 searchLimit(QSqlDatabase& db)
{
    QSqlQuery q = Storage::run(db, QStringLiteral("SELECT DEGER FROM ayarlar WHERE ANAHTAR = 'stok_arama_siniri'"));
    bool ok = false;
    const qint32 limit = q.next() ? q.value(0).toString().toInt(&ok) : 0;
    return ok && limit > 0 ? limit : 2000;
}

} // namespace

// Every word of the search text must occur in an item's codes or names. Words of three letters and
// more go through the trigram index, shorter ones are checked on the rows it leaves (or on every
// row when there is no longer word). Items whose code equals the whole text come first, then those
// with a code that starts with it.
Table searchStock(QSqlDatabase& db, const QString& text, qint32 account)
{
    TableBuilder b = stockColumns();
    const QString folded = searchFold(text.trimmed());
    QStringList words = folded.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    words.removeDuplicates();
    // No stored text holds a NUL (PostgreSQL cannot), so a word with one matches nothing. Passed on,
    // it ended SQLite's FTS5 query text early ("unterminated string", a server error) and would be
    // cut short by the PostgreSQL driver.
    if (words.isEmpty() || folded.contains(QChar(0)))
        return b.table();
    QString code = compactCode(folded);
    if (code.isEmpty())
        code = QStringLiteral("\x01"); // matches no code

    const bool postgres = engineOf(db) == Engine::PostgreSQL;
    QStringList phrases;
    QStringList shortWords;
    for (const QString& word : words) {
        if (word.size() < 3)
            shortWords << word;
        else if (postgres)
            phrases << QLatin1Char('%') + likeEscaped(word) + QLatin1Char('%');
        else
            phrases << QLatin1Char('"') + QString(word).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                           QLatin1Char('"');
    }
    // TAM and BAS read the row's codes, and reading them is most of the work when a text of several
    // words matches many rows. On SQLite a row whose codes hold the text has it in METIN too (the
    // compact codes are there), so only the rows the index finds for it are read; the index needs
    // three letters, and for a single word that is its code the rows found are those already.
    QString exact = QStringLiteral("instr(a.KODLAR, '|' || ? || '|') > 0");
    QString prefix = QStringLiteral("instr(a.KODLAR, '|' || ?) > 0");
    QVariantList values;
    if (!postgres && code.size() >= 3 && !(words.size() == 1 && words.first() == code)) {
        const QString codesHold = QStringLiteral("a.rowid IN (SELECT rowid FROM stok_arama WHERE stok_arama MATCH ?)");
        exact = QStringLiteral("CASE WHEN %1 THEN %2 ELSE 0 END").arg(codesHold, exact);
        prefix = QStringLiteral("CASE WHEN %1 THEN %2 ELSE 0 END").arg(codesHold, prefix);
        const QString codePhrase =
            QLatin1Char('"') + QString(code).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
        values << codePhrase << code << codePhrase << code;
    } else {
        values << code << code;
    }
    QStringList where;
    if (!phrases.isEmpty()) {
        where << searchIndexConditions(postgres, phrases.size());
        if (postgres) {
            for (const QString& phrase : std::as_const(phrases))
                values << phrase;
        } else {
            values << phrases.join(QLatin1Char(' '));
        }
    }
    // One condition per short word while they are few; a pasted text of thousands of them would
    // pass SQLite's bound on the depth of an expression, so many go as one JSON list.
    constexpr qsizetype shortWordConditions = 16;
    if (shortWords.size() <= shortWordConditions) {
        for (const QString& word : shortWords) {
            where << QStringLiteral("instr(a.METIN, ?) > 0");
            values << word;
        }
    } else {
        where << QStringLiteral("NOT EXISTS (SELECT 1 FROM %1 WHERE instr(a.METIN, w.value) = 0)")
                     .arg(postgres ? QStringLiteral("json_array_elements_text(CAST(? AS json)) w(value)")
                                   : QStringLiteral("json_each(?) w"));
        values << QString::fromUtf8(
            QJsonDocument(QJsonArray::fromStringList(shortWords)).toJson(QJsonDocument::Compact));
    }

    const QString sql = QStringLiteral(
        "WITH bulunan AS ("
        " SELECT a.%2 AS NO, %3 AS TAM, %4 AS BAS,"
        " s.BARKOD AS SIRA"
        " FROM stok_arama a JOIN stoklar s ON s.STOKNO = a.%2"
        " WHERE %1 AND s.AKTIF = 1"
        " ORDER BY TAM DESC, BAS DESC, SIRA LIMIT ?)"
        " SELECT s.STOKNO AS STOK_STOKNO, s.STOKNO, s.DURUM, s.OEM1, s.OEM2, s.OEM3, s.OEM4, s.OEMNO, s.ADI, s.BARKOD,"
        " s.BARKODNO AS BARKOD_BARKODNO, s.FINISHKOD, s.URETICIKODU, s.DIGERADI, s.DPKOD, s.PKOD,"
        " COALESCE(m.ADI, '') AS MARKA, s.MODEL, s.ANAGRUP, s.OZELKOD, s.BIRIM, s.KOLIADET AS OZELKOD1,"
        " EXISTS (SELECT 1 FROM stok_resimleri r WHERE r.STOKNO = s.STOKNO) AS RESIM, s.KDV, s.KALAN,"
        " (SELECT COALESCE(SUM(l.MIKTAR - l.TESLIMMIKTAR), 0.0) FROM siparis_satirlari l"
        "  JOIN siparisler o ON o.IDNO = l.IDNO"
        "  WHERE l.STOKNO = s.STOKNO AND o.DURUM < 5) AS ALINANSIPARIS,"
        " s.VERILENSIPARIS, s.LISTEFIYAT, s.KAMPFIYAT, s.YENI AS Y,"
        " COALESCE(d1.IND1, d0.IND1, 0) AS D1, COALESCE(d1.IND2, d0.IND2, 0) AS D2,"
        " COALESCE(d1.IND3, d0.IND3, 0) AS D3, COALESCE(d1.IND4, d0.IND4, 0) AS D4"
        " FROM bulunan JOIN stoklar s ON s.STOKNO = bulunan.NO"
        " LEFT JOIN markalar m ON m.MARKANO = s.MARKANO"
        " LEFT JOIN cari_iskontolari d1 ON d1.CARINO = ? AND d1.MARKANO = s.MARKANO"
        " LEFT JOIN cari_iskontolari d0 ON d0.CARINO = ? AND d0.MARKANO = 0"
        " ORDER BY bulunan.TAM DESC, bulunan.BAS DESC, bulunan.SIRA");
    values << searchLimit(db) << account << account;
    QSqlQuery q = Storage::run(db,
                               sql.arg(where.join(QStringLiteral(" AND ")),
                                       postgres ? QStringLiteral("STOKNO") : QStringLiteral("rowid"), exact, prefix),
                               values);
    while (q.next()) {
        const QSqlRecord r = q.record();
        QVector<QVariant> row = b.row(r);
        const Discounts d{r.value(QStringLiteral("D1")).toDouble(), r.value(QStringLiteral("D2")).toDouble(),
                          r.value(QStringLiteral("D3")).toDouble(), r.value(QStringLiteral("D4")).toDouble()};
        const Price p =
            priceFor(r.value(QStringLiteral("LISTEFIYAT")).toDouble(), r.value(QStringLiteral("KAMPFIYAT")).toDouble(),
                     r.value(QStringLiteral("KDV")).toDouble(), d);
        b.set(row, QStringLiteral("FIYAT"), p.list);
        b.set(row, QStringLiteral("LISTEFIYAT1"), p.list);
        b.set(row, QStringLiteral("NETFIYAT"), p.net);
        b.set(row, QStringLiteral("KDVDAHIL"), p.withVat);
        b.set(row, QStringLiteral("INDIRIMYAZI"), p.discountText);
        b.set(row, QStringLiteral("IND1"), p.discounts.ind1);
        b.set(row, QStringLiteral("IND2"), p.discounts.ind2);
        b.set(row, QStringLiteral("IND3"), p.discounts.ind3);
        b.set(row, QStringLiteral("IND4"), p.discounts.ind4);
        b.set(row, QStringLiteral("K"), p.campaign ? 1 : 0);
        b.table().rows.append(std::move(row));
    }
    return b.table();
}

namespace {

// Search for the session's customer: a dealer's own account, the account a representative chose
// (list prices while he has chosen none).
MethodAnswer StokAraVelmora2(const CallContext& call)
{
    const TSonucBilgisi session = sessionParameter(call, 1);
    const QString text = call.text(0);
    const Table table = call.storage().read([&](QSqlDatabase& db) {
        const auto actor = actorOf(db, session);
        if (!actor)
            throw CallError(403, QStringLiteral("Forbidden"),
                            QStringLiteral("Oturum geçersiz: bu bilgisayar bu kullanıcıya kayıtlı değil"));
        qint32 account = actor->dealer() ? actor->account : session.FCARINO;
        if (!actor->dealer() && !mayActFor(db, *actor, account))
            account = 0;
        return searchStock(db, text, account);
    });
    return tableAnswer(table);
}

MethodAnswer ResimVer5(const CallContext& call)
{
    const qint32 stockNo = call.int32(0);
    const QByteArray bytes = call.storage().read([&](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(db, QStringLiteral("SELECT RESIM FROM stok_resimleri WHERE STOKNO = ?"), {stockNo});
        return q.next() ? q.value(0).toByteArray() : QByteArray();
    });
    return StreamAnswer{bytes, QJsonArray{wire::fromInt64(bytes.size())}};
}

// --- Basket ---------------------------------------------------------------------------------

MethodAnswer SepetVer2(const CallContext& call)
{
    const qint32 account = call.int32(0);
    TableBuilder b;
    b.columns({"SIRANO", "SEC"}, FieldType::Int32);
    b.column(QStringLiteral("VERILISTARIHI"), FieldType::Date);
    b.columns({"BARKOD", "FINISHKOD", "OEMNO", "STOKADI"}, FieldType::Text);
    b.columns({"MIKTAR", "BIRIMFIYAT", "TUTAR"}, FieldType::Double);
    b.column(QStringLiteral("INDIRIMYAZI"), FieldType::Text);
    b.columns({"NETBIRIMFIYAT", "KDV", "VERGITUTARI", "NETTUTAR"}, FieldType::Double);
    b.column(QStringLiteral("VEREN"), FieldType::Text);
    b.column(QStringLiteral("DURUM"), FieldType::Int32);
    b.column(QStringLiteral("SIPARISNO"), FieldType::Text);
    b.column(QStringLiteral("TARIH"), FieldType::Date);
    b.columns({"KUR", "SAAT", "ACIKLAMA", "OEM1", "OEM2", "OEM3", "OEM4", "DIGERADI", "DPKOD", "MARKA", "MODEL",
               "ANAGRUP", "OZELKOD", "PKOD"},
              FieldType::Text);
    b.columns({"INDIRIMORANI1", "INDIRIMORANI2", "INDIRIMORANI3", "INDIRIMORANI4"}, FieldType::Double);
    b.columns({"CARINO", "AKTAR", "STOKNO"}, FieldType::Int32);
    b.columns({"INDIRIMTUTAR", "KURTL"}, FieldType::Double);
    b.columns({"VERENIDNO", "TESLIMID", "KARGOID", "IDNO", "VERENSIRANO"}, FieldType::Int32);
    b.columns({"CARIKOD", "CARIADI"}, FieldType::Text);
    b.column(QStringLiteral("STOK_STOKNO"), FieldType::Int32);
    b.column(QStringLiteral("URETICIKODU"), FieldType::Text);
    b.column(QStringLiteral("KALAN"), FieldType::Double);

    call.storage().read([&](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(
            db,
            QStringLiteral(
                "SELECT p.SIRANO, p.SEC, p.TARIH AS ZAMAN, p.BARKOD, s.FINISHKOD, s.OEMNO, p.STOKADI, p.MIKTAR,"
                " p.BIRIMFIYAT, p.NETBIRIMFIYAT, p.KDV, p.IND1, p.IND2, p.IND3, p.IND4,"
                " COALESCE(k.ADI, '') AS VEREN, s.DURUM, '' AS SIPARISNO, 'TL' AS KUR, '' AS ACIKLAMA,"
                " s.OEM1, s.OEM2, s.OEM3, s.OEM4, s.DIGERADI, s.DPKOD, COALESCE(m.ADI, '') AS MARKA, s.MODEL,"
                " s.ANAGRUP, s.OZELKOD, s.PKOD, p.CARINO, 0 AS AKTAR, p.STOKNO, 1.0 AS KURTL,"
                " COALESCE(p.VERENSIRANO, 0) AS VERENIDNO, 0 AS TESLIMID, 0 AS KARGOID, p.SIRANO AS IDNO,"
                " COALESCE(p.VERENSIRANO, 0) AS VERENSIRANO, c.CARIKOD, c.CARIADI, p.STOKNO AS STOK_STOKNO,"
                " s.URETICIKODU, s.KALAN"
                " FROM sepet p JOIN stoklar s ON s.STOKNO = p.STOKNO JOIN cariler c ON c.CARINO = p.CARINO"
                " LEFT JOIN markalar m ON m.MARKANO = s.MARKANO"
                " LEFT JOIN kullanicilar k ON k.SIRANO = p.VERENSIRANO"
                " WHERE p.CARINO = ? ORDER BY p.SIRANO"),
            {account});
        while (q.next()) {
            const QSqlRecord r = q.record();
            QVector<QVariant> row = b.row(r);
            const double quantity = r.value(QStringLiteral("MIKTAR")).toDouble();
            const double amount = IkiHaneYuvarla(quantity * r.value(QStringLiteral("BIRIMFIYAT")).toDouble());
            const double net = IkiHaneYuvarla(quantity * r.value(QStringLiteral("NETBIRIMFIYAT")).toDouble());
            const Discounts d{r.value(QStringLiteral("IND1")).toDouble(), r.value(QStringLiteral("IND2")).toDouble(),
                              r.value(QStringLiteral("IND3")).toDouble(), r.value(QStringLiteral("IND4")).toDouble()};
            const QString given = r.value(QStringLiteral("ZAMAN")).toString();
            b.set(row, QStringLiteral("VERILISTARIHI"), dayNumber(given));
            b.set(row, QStringLiteral("TARIH"), dayNumber(given));
            b.set(row, QStringLiteral("SAAT"),
                  QDateTime::fromString(given, Qt::ISODateWithMs).toLocalTime().toString(QStringLiteral("HH:mm")));
            b.set(row, QStringLiteral("TUTAR"), amount);
            b.set(row, QStringLiteral("NETTUTAR"), net);
            b.set(row, QStringLiteral("INDIRIMTUTAR"), IkiHaneYuvarla(amount - net));
            b.set(row, QStringLiteral("VERGITUTARI"),
                  IkiHaneYuvarla(net * r.value(QStringLiteral("KDV")).toDouble() / 100));
            b.set(row, QStringLiteral("INDIRIMYAZI"), discountText(d));
            b.set(row, QStringLiteral("INDIRIMORANI1"), d.ind1);
            b.set(row, QStringLiteral("INDIRIMORANI2"), d.ind2);
            b.set(row, QStringLiteral("INDIRIMORANI3"), d.ind3);
            b.set(row, QStringLiteral("INDIRIMORANI4"), d.ind4);
            b.table().rows.append(std::move(row));
        }
    });
    return tableAnswer(b.table());
}

bool validQuantity(double quantity)
{
    return std::isfinite(quantity) && quantity > 0 && quantity <= kMaxQuantity;
}

// Adds the item to the customer's basket at the customer's price; an item already in the basket
// gets the quantity added to its line. The prices, discounts, VAT, code and name the client sends
// are not taken: the server's own apply.
MethodAnswer SepetEkle2(const CallContext& call)
{
    const TSonucBilgisi session = sessionParameter(call, 0);
    const qint32 account = call.int32(1);
    const qint32 stockNo = call.int32(2);
    const double quantity = call.number(5);
    const qint32 result = call.storage().write([&](QSqlDatabase& db) {
        const auto actor = actorOf(db, session);
        if (!actor || !mayActFor(db, *actor, account) || !validQuantity(quantity))
            return 0;
        QSqlQuery line = Storage::run(
            db, QStringLiteral("SELECT SIRANO, MIKTAR FROM sepet WHERE CARINO = ? AND STOKNO = ?"), {account, stockNo});
        if (line.next()) {
            const double total = line.value(1).toDouble() + quantity;
            if (!validQuantity(total))
                return 0;
            Storage::run(db, QStringLiteral("UPDATE sepet SET MIKTAR = ? WHERE SIRANO = ?"), {total, line.value(0)});
            return 1;
        }
        QSqlQuery item =
            Storage::run(db,
                         QStringLiteral("SELECT s.BARKOD, s.ADI, s.KDV, s.LISTEFIYAT, s.KAMPFIYAT,"
                                        " COALESCE(d1.IND1, d0.IND1, 0), COALESCE(d1.IND2, d0.IND2, 0),"
                                        " COALESCE(d1.IND3, d0.IND3, 0), COALESCE(d1.IND4, d0.IND4, 0)"
                                        " FROM stoklar s"
                                        " LEFT JOIN cari_iskontolari d1 ON d1.CARINO = ? AND d1.MARKANO = s.MARKANO"
                                        " LEFT JOIN cari_iskontolari d0 ON d0.CARINO = ? AND d0.MARKANO = 0"
                                        " WHERE s.STOKNO = ? AND s.AKTIF = 1"),
                         {account, account, stockNo});
        if (!item.next())
            return 0;
        const double vat = item.value(2).toDouble();
        const Price p = priceFor(
            item.value(3).toDouble(), item.value(4).toDouble(), vat,
            {item.value(5).toDouble(), item.value(6).toDouble(), item.value(7).toDouble(), item.value(8).toDouble()});
        Storage::run(
            db,
            QStringLiteral("INSERT INTO sepet (CARINO, STOKNO, BARKOD, STOKADI, MIKTAR, BIRIMFIYAT, IND1, IND2,"
                           " IND3, IND4, NETBIRIMFIYAT, KDV, KAMPANYA, VERENSIRANO, TARIH)"
                           " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {account, stockNo, item.value(0), item.value(1), quantity, p.list, p.discounts.ind1, p.discounts.ind2,
             p.discounts.ind3, p.discounts.ind4, p.net, vat, p.campaign ? 1 : 0, actor->user, now()});
        return 1;
    });
    return CallAnswer{result, {}};
}

// Sets the quantity of one line of the customer's basket; the line keeps its prices.
MethodAnswer SepetGuncelle2(const CallContext& call)
{
    const TSonucBilgisi session = sessionParameter(call, 0);
    const qint32 account = call.int32(1);
    const double quantity = call.number(5);
    const qint32 lineNo = call.int32(10);
    const qint32 result = call.storage().write([&](QSqlDatabase& db) {
        const auto actor = actorOf(db, session);
        if (!actor || !mayActFor(db, *actor, account) || !validQuantity(quantity))
            return 0;
        QSqlQuery q = Storage::run(db, QStringLiteral("UPDATE sepet SET MIKTAR = ? WHERE SIRANO = ? AND CARINO = ?"),
                                   {quantity, lineNo, account});
        return q.numRowsAffected() == 1 ? 1 : 0;
    });
    return CallAnswer{result, {}};
}

// Removes one line of the session's customer's basket and notes it with the client's description.
MethodAnswer SepetSatirSil(const CallContext& call)
{
    const TSonucBilgisi session = sessionParameter(call, 0);
    const qint32 lineNo = call.int32(1);
    const QString description = call.text(2);
    const qint32 result = call.storage().write([&](QSqlDatabase& db) {
        const auto actor = actorOf(db, session);
        if (!actor || !mayActFor(db, *actor, session.FCARINO))
            return 0;
        QSqlQuery q = Storage::run(db, QStringLiteral("DELETE FROM sepet WHERE SIRANO = ? AND CARINO = ?"),
                                   {lineNo, session.FCARINO});
        if (q.numRowsAffected() != 1)
            return 0;
        Storage::run(db,
                     QStringLiteral("INSERT INTO sepet_silinenler (SEPETSIRANO, CARINO, ACIKLAMA, SILENSIRANO, ZAMAN)"
                                    " VALUES (?, ?, ?, ?, ?)"),
                     {lineNo, session.FCARINO, description, actor->user, now()});
        return 1;
    });
    return CallAnswer{result, {}};
}

// Empties the session's customer's basket.
MethodAnswer SepetHepsiniSil(const CallContext& call)
{
    const TSonucBilgisi session = sessionParameter(call, 0);
    const qint32 result = call.storage().write([&](QSqlDatabase& db) {
        const auto actor = actorOf(db, session);
        if (!actor || !mayActFor(db, *actor, session.FCARINO))
            return 0;
        Storage::run(
            db,
            QStringLiteral("INSERT INTO sepet_silinenler (SEPETSIRANO, CARINO, ACIKLAMA, SILENSIRANO, ZAMAN)"
                           " SELECT SIRANO, CARINO, BARKOD || '-' || STOKADI, ?, ? FROM sepet WHERE CARINO = ?"),
            {actor->user, now(), session.FCARINO});
        Storage::run(db, QStringLiteral("DELETE FROM sepet WHERE CARINO = ?"), {session.FCARINO});
        return 1;
    });
    return CallAnswer{result, {}};
}

// Marks a line for the next order (1) or not (0). A line that is gone (ordered or deleted in the
// meantime) is left alone.
MethodAnswer SepetSecimGuncelle(const CallContext& call)
{
    const qint32 lineNo = call.int32(0);
    const qint32 selected = call.int32(1);
    if (selected != 0 && selected != 1)
        throw CallError::badRequest(
            QStringLiteral("TServerMethods1.SepetSecimGuncelle: seçim (secim) 0 ya da 1 olmalı, %1 geldi")
                .arg(selected));
    call.storage().write([&](QSqlDatabase& db) {
        Storage::run(db, QStringLiteral("UPDATE sepet SET SEC = ? WHERE SIRANO = ?"), {selected, lineNo});
    });
    return CallAnswer{QJsonValue::Null, {}};
}

// --- Delivery, cargo and the order ------------------------------------------------------------

CallAnswer codeList(Storage& storage, const QString& tableName)
{
    TableBuilder b;
    b.column(QStringLiteral("KOD"), FieldType::Int32);
    b.column(QStringLiteral("ADI"), FieldType::Text);
    storage.read([&](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(db, QStringLiteral("SELECT KOD, ADI FROM %1 ORDER BY SIRA, KOD").arg(tableName));
        while (q.next())
            b.table().rows.append(b.row(q.record()));
    });
    return tableAnswer(b.table());
}

MethodAnswer TeslimVer(const CallContext& call)
{
    return codeList(call.storage(), QStringLiteral("teslim_sekilleri"));
}

MethodAnswer KargoVer(const CallContext& call)
{
    return codeList(call.storage(), QStringLiteral("kargo_turleri"));
}

MethodAnswer KargolarVer(const CallContext& call)
{
    const qint32 kind = call.int32(0);
    TableBuilder b;
    b.column(QStringLiteral("ADI"), FieldType::Text);
    b.column(QStringLiteral("SIRANO"), FieldType::Int32);
    b.column(QStringLiteral("UYARI"), FieldType::Text);
    call.storage().read([&](QSqlDatabase& db) {
        QSqlQuery q = Storage::run(db,
                                   QStringLiteral("SELECT f.ADI, f.SIRANO, f.UYARI FROM kargo_turu_firmalari t"
                                                  " JOIN kargo_firmalari f ON f.SIRANO = t.FIRMA"
                                                  " WHERE t.KARGOTURU = ? AND f.AKTIF = 1 ORDER BY t.SIRA, f.ADI"),
                                   {kind});
        while (q.next())
            b.table().rows.append(b.row(q.record()));
    });
    return tableAnswer(b.table());
}

// Turns the customer's selected basket lines into one order, in one transaction: false, changing
// nothing, when no line is selected, the session may not order for the customer, or the delivery
// kind, the cargo kind or the company (which must carry that kind) is unknown.
MethodAnswer SiparisKaydet(const CallContext& call)
{
    const TSonucBilgisi session = sessionParameter(call, 0);
    const qint32 account = call.int32(1);
    const qint32 delivery = call.int32(2);
    const qint32 cargoKind = call.int32(3);
    const QString message = call.text(4);
    const qint32 company = call.int32(6);
    const bool saved = call.storage().write([&](QSqlDatabase& db) {
        const auto actor = actorOf(db, session);
        if (!actor || !mayActFor(db, *actor, account))
            return false;
        if (!Storage::run(db, QStringLiteral("SELECT 1 FROM teslim_sekilleri WHERE KOD = ?"), {delivery}).next() ||
            !Storage::run(
                 db,
                 QStringLiteral("SELECT 1 FROM kargo_turu_firmalari t JOIN kargo_firmalari f"
                                " ON f.SIRANO = t.FIRMA WHERE t.KARGOTURU = ? AND t.FIRMA = ? AND f.AKTIF = 1"),
                 {cargoKind, company})
                 .next())
            return false;

        QSqlQuery lines =
            Storage::run(db,
                         QStringLiteral("SELECT SIRANO, STOKNO, BARKOD, STOKADI, MIKTAR, BIRIMFIYAT, IND1,"
                                        " IND2, IND3, IND4, KDV, NETBIRIMFIYAT, VERENSIRANO, TARIH"
                                        " FROM sepet WHERE CARINO = ? AND SEC = 1 ORDER BY SIRANO"),
                         {account});
        QVector<QVariantList> selected;
        while (lines.next()) {
            QVariantList line;
            for (int i = 0; i < 14; ++i)
                line << lines.value(i);
            selected << line;
        }
        lines.finish();
        if (selected.isEmpty())
            return false;

        QSqlQuery inserted =
            Storage::run(db,
                         QStringLiteral("INSERT INTO siparisler (CARINO, TARIH, DURUM, TESLIMID, KARGOID, KARGOFIRMAID,"
                                        " ACIKLAMA, VERENSIRANO, SATICINO) VALUES (?, ?, 0, ?, ?, ?, ?, ?,"
                                        " (SELECT SATICINO FROM cariler WHERE CARINO = ?)) RETURNING IDNO"),
                         {account, now(), delivery, cargoKind, company, message, actor->user, account});
        if (!inserted.next())
            throw StorageError(QStringLiteral("Siparişin numarası okunamadı"));
        const qint32 order = inserted.value(0).toInt();
        inserted.finish();
        Storage::run(db, QStringLiteral("UPDATE siparisler SET SIPARISNO = ? WHERE IDNO = ?"),
                     {QStringLiteral("W%1").arg(order, 6, 10, QLatin1Char('0')), order});
        int position = 0;
        for (const QVariantList& l : selected) {
            const double net = IkiHaneYuvarla(l.at(4).toDouble() * l.at(11).toDouble());
            Storage::run(db,
                         QStringLiteral("INSERT INTO siparis_satirlari (IDNO, SATIRNO, STOKNO, SEPETSIRANO, BARKOD,"
                                        " STOKADI, MIKTAR, BIRIMFIYAT, IND1, IND2, IND3, IND4, KDV, NETBIRIMFIYAT,"
                                        " NETTUTAR, VERENSIRANO, VERILISTARIHI)"
                                        " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                         {order, ++position, l.at(1), l.at(0), l.at(2), l.at(3), l.at(4), l.at(5), l.at(6), l.at(7),
                          l.at(8), l.at(9), l.at(10), l.at(11), net, l.at(12), l.at(13)});
            Storage::run(db, QStringLiteral("DELETE FROM sepet WHERE SIRANO = ?"), {l.at(0)});
        }
        return true;
    });
    return CallAnswer{saved, {}};
}

} // namespace

void addOrderingMethods(MethodTable& table)
{
    table.add(QStringLiteral("StokAraVelmora2"), StokAraVelmora2);
    table.add(QStringLiteral("ResimVer5"), ResimVer5);
    table.add(QStringLiteral("SepetVer2"), SepetVer2);
    table.add(QStringLiteral("SepetEkle2"), SepetEkle2);
    table.add(QStringLiteral("SepetGuncelle2"), SepetGuncelle2);
    table.add(QStringLiteral("SepetSatirSil"), SepetSatirSil);
    table.add(QStringLiteral("SepetHepsiniSil"), SepetHepsiniSil);
    table.add(QStringLiteral("SepetSecimGuncelle"), SepetSecimGuncelle);
    table.add(QStringLiteral("TeslimVer"), TeslimVer);
    table.add(QStringLiteral("KargoVer"), KargoVer);
    table.add(QStringLiteral("KargolarVer"), KargolarVer);
    table.add(QStringLiteral("SiparisKaydet"), SiparisKaydet);
}

} // namespace velmora::server
