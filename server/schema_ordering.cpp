#include "schema_ordering.h"

#include "storage.h"

namespace velmora::server {

namespace {

// Letters folded before upper-casing; upper() on ASCII letters only (SQLite's, PostgreSQL's under
// the C collation) and the ASCII rule below do the rest.
const QVector<std::pair<QString, QString>>& letterFolds()
{
    static const QVector<std::pair<QString, QString>> folds{
        {QStringLiteral("ğ"), QStringLiteral("G")}, {QStringLiteral("Ğ"), QStringLiteral("G")},
        {QStringLiteral("ü"), QStringLiteral("U")}, {QStringLiteral("Ü"), QStringLiteral("U")},
        {QStringLiteral("ş"), QStringLiteral("S")}, {QStringLiteral("Ş"), QStringLiteral("S")},
        {QStringLiteral("ı"), QStringLiteral("I")}, {QStringLiteral("İ"), QStringLiteral("I")},
        {QStringLiteral("ö"), QStringLiteral("O")}, {QStringLiteral("Ö"), QStringLiteral("O")},
        {QStringLiteral("ç"), QStringLiteral("C")}, {QStringLiteral("Ç"), QStringLiteral("C")},
        {QStringLiteral("â"), QStringLiteral("A")}, {QStringLiteral("Â"), QStringLiteral("A")},
        {QStringLiteral("î"), QStringLiteral("I")}, {QStringLiteral("Î"), QStringLiteral("I")},
        {QStringLiteral("û"), QStringLiteral("U")}, {QStringLiteral("Û"), QStringLiteral("U")},
    };
    return folds;
}

QString foldSql(Engine engine, const QString& expression)
{
    QString sql = expression;
    for (const auto& [from, to] : letterFolds())
        sql = QStringLiteral("replace(%1, '%2', '%3')").arg(sql, from, to);
    if (engine == Engine::PostgreSQL)
        return QStringLiteral("upper((%1) COLLATE \"C\")").arg(sql);
    return QStringLiteral("upper(%1)").arg(sql);
}

QString compactSql(const QString& expression)
{
    return QStringLiteral("replace(replace(replace(replace(%1, ' ', ''), '-', ''), '.', ''), '/', '')").arg(expression);
}

const QStringList& codeColumns()
{
    static const QStringList columns{
        QStringLiteral("BARKOD"), QStringLiteral("BARKODNO"),  QStringLiteral("OEM1"),
        QStringLiteral("OEM2"),   QStringLiteral("OEM3"),      QStringLiteral("OEM4"),
        QStringLiteral("OEMNO"),  QStringLiteral("FINISHKOD"), QStringLiteral("URETICIKODU"),
    };
    return columns;
}

// The statement that indexes the stock row `new`: every code and name folded, then the codes in
// compact form; KODLAR holds the compact codes between bars for exact matching. The row's key is
// SQLite's rowid of the FTS table, STOKNO of PostgreSQL's plain table.
QString indexRowSql(Engine engine)
{
    QStringList texts;
    QStringList compact;
    for (const QString& column : codeColumns()) {
        texts << QStringLiteral("new.%1").arg(column);
        compact << compactSql(foldSql(engine, QStringLiteral("new.%1").arg(column)));
    }
    for (const char* column : {"ADI", "DIGERADI", "MODEL", "ANAGRUP", "OZELKOD"})
        texts << QStringLiteral("new.%1").arg(QLatin1String(column));
    texts << QStringLiteral("COALESCE((SELECT ADI FROM markalar WHERE MARKANO = new.MARKANO), '')");
    const QString metin = foldSql(engine, texts.join(QStringLiteral(" || ' ' || "))) + QStringLiteral(" || ' ' || ") +
                          compact.join(QStringLiteral(" || ' ' || "));
    const QString kodlar =
        QStringLiteral("'|' || ") + compact.join(QStringLiteral(" || '|' || ")) + QStringLiteral(" || '|'");
    return QStringLiteral("INSERT INTO stok_arama (%1, METIN, KODLAR) VALUES (new.STOKNO, %2, %3);")
        .arg(engine == Engine::PostgreSQL ? QStringLiteral("STOKNO") : QStringLiteral("rowid"), metin, kodlar);
}

// The search index and what keeps it. SQLite: an FTS5 trigram table and three triggers.
// PostgreSQL: a plain table with a pg_trgm GIN index on METIN, kept by one trigger function.
QStringList searchIndexSchema(Engine engine, const QStringList& indexedColumns)
{
    if (engine == Engine::SQLite) {
        return {
            QStringLiteral("CREATE VIRTUAL TABLE stok_arama USING fts5(METIN, KODLAR UNINDEXED, tokenize = 'trigram')"),
            QStringLiteral("CREATE TRIGGER stoklar_arama_ekle AFTER INSERT ON stoklar BEGIN %1 END")
                .arg(indexRowSql(engine)),
            QStringLiteral("CREATE TRIGGER stoklar_arama_degistir AFTER UPDATE OF %1 ON stoklar BEGIN"
                           " DELETE FROM stok_arama WHERE rowid = old.STOKNO; %2 END")
                .arg(indexedColumns.join(QStringLiteral(", ")), indexRowSql(engine)),
            QStringLiteral("CREATE TRIGGER stoklar_arama_sil AFTER DELETE ON stoklar BEGIN"
                           " DELETE FROM stok_arama WHERE rowid = old.STOKNO; END"),
        };
    }
    return {
        QStringLiteral("CREATE TABLE stok_arama ("
                       " STOKNO INTEGER PRIMARY KEY REFERENCES stoklar(STOKNO) ON DELETE CASCADE,"
                       " METIN TEXT NOT NULL,"
                       " KODLAR TEXT NOT NULL)"),
        QStringLiteral("CREATE INDEX stok_arama_metin ON stok_arama USING gin (METIN gin_trgm_ops)"),
        QStringLiteral("CREATE FUNCTION stoklar_arama() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN"
                       " IF TG_OP = 'UPDATE' THEN DELETE FROM stok_arama WHERE STOKNO = old.STOKNO; END IF;"
                       " %1 RETURN NULL; END $$")
            .arg(indexRowSql(engine)),
        QStringLiteral("CREATE TRIGGER stoklar_arama AFTER INSERT OR UPDATE OF %1 ON stoklar"
                       " FOR EACH ROW EXECUTE FUNCTION stoklar_arama()")
            .arg(indexedColumns.join(QStringLiteral(", "))),
    };
}

QString textColumns(std::initializer_list<const char*> names)
{
    QStringList parts;
    for (const char* name : names)
        parts << QStringLiteral(" %1 TEXT NOT NULL DEFAULT ''").arg(QLatin1String(name));
    return parts.join(QLatin1Char(','));
}

} // namespace

QString searchFold(const QString& text)
{
    QString folded = text;
    for (const auto& [from, to] : letterFolds())
        folded.replace(from, to);
    for (QChar& c : folded) {
        if (c.unicode() < 128)
            c = c.toUpper();
    }
    return folded;
}

QString compactCode(const QString& foldedCode)
{
    QString compact = foldedCode;
    compact.remove(QLatin1Char(' ')).remove(QLatin1Char('-')).remove(QLatin1Char('.')).remove(QLatin1Char('/'));
    return compact;
}

QStringList orderingSchema(Engine engine)
{
    QStringList indexedColumns = codeColumns();
    indexedColumns << QStringLiteral("ADI") << QStringLiteral("DIGERADI") << QStringLiteral("MODEL")
                   << QStringLiteral("ANAGRUP") << QStringLiteral("OZELKOD") << QStringLiteral("MARKANO");
    QStringList schema{
        QStringLiteral("CREATE TABLE markalar ("
                       " MARKANO INTEGER PRIMARY KEY,"
                       " ADI TEXT NOT NULL UNIQUE CHECK (ADI <> ''))"),
        // BARKOD is the distributor's own item code; the other codes are the makers' and OEM numbers.
        // LISTEFIYAT is the list price without VAT; KAMPFIYAT a campaign price, 0 without campaign.
        // DURUM: 0 none, 1 in stock, 2 call us, 3 on the way, 4 special order, 5 being supplied,
        // 6 critical.
        QStringLiteral("CREATE TABLE stoklar ("
                       " STOKNO INTEGER PRIMARY KEY,"
                       " BARKOD TEXT NOT NULL UNIQUE CHECK (BARKOD <> ''),"
                       " ADI TEXT NOT NULL,") +
            textColumns({"BARKODNO", "DIGERADI", "OEM1", "OEM2", "OEM3", "OEM4", "OEMNO", "FINISHKOD", "URETICIKODU",
                         "DPKOD", "PKOD", "MODEL", "ANAGRUP", "OZELKOD"}) +
            QStringLiteral(", MARKANO INTEGER REFERENCES markalar(MARKANO),"
                           " BIRIM TEXT NOT NULL DEFAULT 'ADET',"
                           " KOLIADET INTEGER NOT NULL DEFAULT 1 CHECK (KOLIADET >= 1),"
                           " KDV REAL NOT NULL DEFAULT 20 CHECK (KDV >= 0),"
                           " DURUM INTEGER NOT NULL DEFAULT 1 CHECK (DURUM BETWEEN 0 AND 6),"
                           " KALAN REAL NOT NULL DEFAULT 0,"
                           " VERILENSIPARIS REAL NOT NULL DEFAULT 0,"
                           " LISTEFIYAT REAL NOT NULL DEFAULT 0 CHECK (LISTEFIYAT >= 0),"
                           " KAMPFIYAT REAL NOT NULL DEFAULT 0 CHECK (KAMPFIYAT >= 0),"
                           " YENI INTEGER NOT NULL DEFAULT 0 CHECK (YENI IN (0, 1)),"
                           " AKTIF INTEGER NOT NULL DEFAULT 1 CHECK (AKTIF IN (0, 1)),"
                           " EKLENMETARIHI TEXT NOT NULL DEFAULT '')"),
        QStringLiteral("CREATE INDEX stoklar_marka ON stoklar(MARKANO)"),
        // Pictures apart from the rows, so that a search never reads them.
        QStringLiteral("CREATE TABLE stok_resimleri ("
                       " STOKNO INTEGER PRIMARY KEY REFERENCES stoklar(STOKNO) ON DELETE CASCADE,"
                       " RESIM BLOB NOT NULL)"),
        // A customer's discount rates, for one brand or, with MARKANO 0, for every other brand.
        QStringLiteral("CREATE TABLE cari_iskontolari ("
                       " CARINO INTEGER NOT NULL REFERENCES cariler(CARINO) ON DELETE CASCADE,"
                       " MARKANO INTEGER NOT NULL DEFAULT 0,"
                       " IND1 REAL NOT NULL DEFAULT 0 CHECK (IND1 >= 0 AND IND1 < 100),"
                       " IND2 REAL NOT NULL DEFAULT 0 CHECK (IND2 >= 0 AND IND2 < 100),"
                       " IND3 REAL NOT NULL DEFAULT 0 CHECK (IND3 >= 0 AND IND3 < 100),"
                       " IND4 REAL NOT NULL DEFAULT 0 CHECK (IND4 >= 0 AND IND4 < 100),"
                       " PRIMARY KEY (CARINO, MARKANO))"),
        // One basket per customer, one line per item. Prices are the server's own at the time the line
        // was added; line numbers are never reused.
        QStringLiteral("CREATE TABLE sepet ("
                       " SIRANO INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " CARINO INTEGER NOT NULL REFERENCES cariler(CARINO),"
                       " STOKNO INTEGER NOT NULL REFERENCES stoklar(STOKNO),"
                       " BARKOD TEXT NOT NULL,"
                       " STOKADI TEXT NOT NULL,"
                       " MIKTAR REAL NOT NULL CHECK (MIKTAR > 0),"
                       " BIRIMFIYAT REAL NOT NULL,"
                       " IND1 REAL NOT NULL DEFAULT 0, IND2 REAL NOT NULL DEFAULT 0,"
                       " IND3 REAL NOT NULL DEFAULT 0, IND4 REAL NOT NULL DEFAULT 0,"
                       " NETBIRIMFIYAT REAL NOT NULL,"
                       " KDV REAL NOT NULL,"
                       " KAMPANYA INTEGER NOT NULL DEFAULT 0 CHECK (KAMPANYA IN (0, 1)),"
                       " SEC INTEGER NOT NULL DEFAULT 1 CHECK (SEC IN (0, 1)),"
                       " VERENSIRANO INTEGER REFERENCES kullanicilar(SIRANO),"
                       " TARIH TEXT NOT NULL,"
                       " UNIQUE (CARINO, STOKNO))"),
        // Removed basket lines with the description the client sends, who and when.
        QStringLiteral("CREATE TABLE sepet_silinenler ("
                       " SIRANO INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " SEPETSIRANO INTEGER NOT NULL,"
                       " CARINO INTEGER NOT NULL,"
                       " ACIKLAMA TEXT NOT NULL,"
                       " SILENSIRANO INTEGER NOT NULL,"
                       " ZAMAN TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE teslim_sekilleri ("
                       " KOD INTEGER PRIMARY KEY,"
                       " ADI TEXT NOT NULL CHECK (ADI <> ''),"
                       " SIRA INTEGER NOT NULL DEFAULT 0)"),
        QStringLiteral("CREATE TABLE kargo_turleri ("
                       " KOD INTEGER PRIMARY KEY,"
                       " ADI TEXT NOT NULL CHECK (ADI <> ''),"
                       " SIRA INTEGER NOT NULL DEFAULT 0)"),
        QStringLiteral("CREATE TABLE kargo_firmalari ("
                       " SIRANO INTEGER PRIMARY KEY,"
                       " ADI TEXT NOT NULL CHECK (ADI <> ''),"
                       " UYARI TEXT NOT NULL DEFAULT '',"
                       " AKTIF INTEGER NOT NULL DEFAULT 1 CHECK (AKTIF IN (0, 1)))"),
        // Which companies carry which cargo kind.
        QStringLiteral("CREATE TABLE kargo_turu_firmalari ("
                       " KARGOTURU INTEGER NOT NULL REFERENCES kargo_turleri(KOD) ON DELETE CASCADE,"
                       " FIRMA INTEGER NOT NULL REFERENCES kargo_firmalari(SIRANO) ON DELETE CASCADE,"
                       " SIRA INTEGER NOT NULL DEFAULT 0,"
                       " PRIMARY KEY (KARGOTURU, FIRMA))"),
        // DURUM: 0 received, 1 approved, 2 seen, 3 prepared in part, 4 prepared, 5 shipped. TARIH is
        // UTC, ISO 8601 with milliseconds. SATICINO is the account's representative when it was given.
        QStringLiteral("CREATE TABLE siparisler ("
                       " IDNO INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " SIPARISNO TEXT NOT NULL DEFAULT '',"
                       " CARINO INTEGER NOT NULL REFERENCES cariler(CARINO),"
                       " TARIH TEXT NOT NULL,"
                       " DURUM INTEGER NOT NULL DEFAULT 0 CHECK (DURUM BETWEEN 0 AND 5),"
                       " TESLIMID INTEGER REFERENCES teslim_sekilleri(KOD),"
                       " KARGOID INTEGER REFERENCES kargo_turleri(KOD),"
                       " KARGOFIRMAID INTEGER REFERENCES kargo_firmalari(SIRANO),"
                       " ACIKLAMA TEXT NOT NULL DEFAULT '',"
                       " VERENSIRANO INTEGER REFERENCES kullanicilar(SIRANO),"
                       " SATICINO INTEGER REFERENCES saticilar(SATICINO),"
                       " SATICINOTU TEXT NOT NULL DEFAULT '')"),
        QStringLiteral("CREATE INDEX siparisler_cari ON siparisler(CARINO, TARIH)"),
        // Lines keep the basket line they came from (SEPETSIRANO) and what was delivered so far.
        QStringLiteral("CREATE TABLE siparis_satirlari ("
                       " SIRANO INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " IDNO INTEGER NOT NULL REFERENCES siparisler(IDNO) ON DELETE CASCADE,"
                       " SATIRNO INTEGER NOT NULL,"
                       " STOKNO INTEGER NOT NULL REFERENCES stoklar(STOKNO),"
                       " SEPETSIRANO INTEGER NOT NULL DEFAULT 0,"
                       " BARKOD TEXT NOT NULL,"
                       " STOKADI TEXT NOT NULL,"
                       " MIKTAR REAL NOT NULL CHECK (MIKTAR > 0),"
                       " TESLIMMIKTAR REAL NOT NULL DEFAULT 0 CHECK (TESLIMMIKTAR >= 0),"
                       " BIRIMFIYAT REAL NOT NULL,"
                       " IND1 REAL NOT NULL DEFAULT 0, IND2 REAL NOT NULL DEFAULT 0,"
                       " IND3 REAL NOT NULL DEFAULT 0, IND4 REAL NOT NULL DEFAULT 0,"
                       " KDV REAL NOT NULL,"
                       " NETBIRIMFIYAT REAL NOT NULL,"
                       " NETTUTAR REAL NOT NULL,"
                       " VERENSIRANO INTEGER REFERENCES kullanicilar(SIRANO),"
                       " VERILISTARIHI TEXT NOT NULL DEFAULT '')"),
        QStringLiteral("CREATE INDEX siparis_satirlari_siparis ON siparis_satirlari(IDNO, SATIRNO)"),
        QStringLiteral("CREATE INDEX siparis_satirlari_stok ON siparis_satirlari(STOKNO)"),
        QStringLiteral("INSERT INTO ayarlar (ANAHTAR, DEGER) VALUES ('stok_arama_siniri', '2000')"
                       " ON CONFLICT DO NOTHING"),
    };
    // Substring search over codes and names, keyed by STOKNO, after the stock and picture tables.
    const QStringList search = searchIndexSchema(engine, indexedColumns);
    for (qsizetype i = 0; i < search.size(); ++i)
        schema.insert(4 + i, search.at(i));
    return schema;
}

} // namespace velmora::server
