#include "storage.h"

#include "schema_history.h"
#include "schema_ordering.h"

#include <QDir>
#include <QMutexLocker>
#include <QSqlError>
#include <QSqlRecord>

#include <atomic>
#include <map>

namespace velmora::server {

namespace {

std::atomic<quint64> nextStorageId{1};
std::atomic<quint64> nextConnectionSerial{1};

const QString kClientVersionKey = QStringLiteral("istemci_surumu");

// Schema steps by version; a database at version N runs the steps after N, each in one
// transaction. Later business tables (stock, prices, basket, orders, movements, files,
// announcements) come as further steps.
const QVector<QStringList>& migrations()
{
    static const QVector<QStringList> steps{
        {
            QStringLiteral("CREATE TABLE IF NOT EXISTS ayarlar ("
                           " ANAHTAR TEXT PRIMARY KEY,"
                           " DEGER TEXT NOT NULL)"),
            QStringLiteral("CREATE TABLE IF NOT EXISTS saticilar ("
                           " SATICINO INTEGER PRIMARY KEY,"
                           " ADI TEXT NOT NULL,"
                           " TELEFON TEXT NOT NULL DEFAULT '',"
                           " MAIL TEXT NOT NULL DEFAULT '')"),
            QStringLiteral("CREATE TABLE IF NOT EXISTS cariler ("
                           " CARINO INTEGER PRIMARY KEY,"
                           " CARIKOD TEXT NOT NULL UNIQUE,"
                           " CARIADI TEXT NOT NULL,"
                           " ADRES1 TEXT NOT NULL DEFAULT '', ADRES2 TEXT NOT NULL DEFAULT '',"
                           " ILCE TEXT NOT NULL DEFAULT '', SEHIR TEXT NOT NULL DEFAULT '',"
                           " ULKE TEXT NOT NULL DEFAULT '',"
                           " TEL1 TEXT NOT NULL DEFAULT '', TEL2 TEXT NOT NULL DEFAULT '',"
                           " GSM TEXT NOT NULL DEFAULT '',"
                           " FAX1 TEXT NOT NULL DEFAULT '', FAX2 TEXT NOT NULL DEFAULT '',"
                           " EMAIL TEXT NOT NULL DEFAULT '',"
                           " VERGIDAIRESI TEXT NOT NULL DEFAULT '', VERGINO TEXT NOT NULL DEFAULT '',"
                           " YETKILI TEXT NOT NULL DEFAULT '',"
                           " ANAGRUP TEXT NOT NULL DEFAULT '', ALTGRUP TEXT NOT NULL DEFAULT '',"
                           " OZELKOD TEXT NOT NULL DEFAULT '',"
                           " SATICINO INTEGER REFERENCES saticilar(SATICINO))"),
            // Dealers (3, 4) belong to an account; representatives (1, 2) are a representative.
            QStringLiteral("CREATE TABLE IF NOT EXISTS kullanicilar ("
                           " SIRANO INTEGER PRIMARY KEY,"
                           " ADI TEXT NOT NULL,"
                           " SIFRE TEXT NOT NULL,"
                           " AKTIF INTEGER NOT NULL DEFAULT 1,"
                           " MUSTERITIPI INTEGER NOT NULL CHECK (MUSTERITIPI BETWEEN 1 AND 4),"
                           " MAIL TEXT NOT NULL DEFAULT '',"
                           " CARINO INTEGER REFERENCES cariler(CARINO),"
                           " SATICINO INTEGER REFERENCES saticilar(SATICINO),"
                           " CHECK (MUSTERITIPI IN (1, 2) OR CARINO IS NOT NULL),"
                           " CHECK (MUSTERITIPI IN (3, 4) OR SATICINO IS NOT NULL))"),
            QStringLiteral("CREATE INDEX IF NOT EXISTS kullanicilar_adi ON kullanicilar(ADI)"),
            QStringLiteral("CREATE TABLE IF NOT EXISTS kurulumlar ("
                           " BILGISAYARID TEXT PRIMARY KEY CHECK (BILGISAYARID <> ''),"
                           " KULLANICI INTEGER NOT NULL REFERENCES kullanicilar(SIRANO),"
                           " KAYITZAMANI TEXT NOT NULL)"),
            QStringLiteral("CREATE TABLE IF NOT EXISTS oturum_kayitlari ("
                           " SIRANO INTEGER PRIMARY KEY AUTOINCREMENT,"
                           " OLAY TEXT NOT NULL CHECK (OLAY IN ('giris', 'cikis')),"
                           " ZAMAN TEXT NOT NULL,"
                           " UZAKADRES TEXT NOT NULL,"
                           " VARMI INTEGER NOT NULL,"
                           " BILGISAYARID TEXT NOT NULL,"
                           " KULLANICI INTEGER NOT NULL,"
                           " ADI TEXT NOT NULL,"
                           " AKTIF INTEGER NOT NULL,"
                           " MUSTERITIPI INTEGER NOT NULL,"
                           " KULLANICIMAIL TEXT NOT NULL,"
                           " CARINO INTEGER NOT NULL,"
                           " CARIKOD TEXT NOT NULL,"
                           " CARIADI TEXT NOT NULL,"
                           " SATICINO INTEGER NOT NULL,"
                           " SATICIADI TEXT NOT NULL,"
                           " SATICITELEFON TEXT NOT NULL,"
                           " SATICIMAIL TEXT NOT NULL,"
                           " BILGISAYARADI TEXT NOT NULL,"
                           " BILGISAYARKULLANICI TEXT NOT NULL,"
                           " DISIP TEXT NOT NULL,"
                           " ICIP TEXT NOT NULL,"
                           " SURUM INTEGER NOT NULL)"),
            QStringLiteral("CREATE INDEX IF NOT EXISTS oturum_kayitlari_bilgisayar"
                           " ON oturum_kayitlari(BILGISAYARID)"),
            QStringLiteral("CREATE TABLE IF NOT EXISTS kurulum_dosyalari ("
                           " SIRANO INTEGER PRIMARY KEY AUTOINCREMENT,"
                           " ADI TEXT NOT NULL,"
                           " SURUM INTEGER NOT NULL,"
                           " ICERIK BLOB NOT NULL,"
                           " ZAMAN TEXT NOT NULL)"),
            QStringLiteral("INSERT OR IGNORE INTO ayarlar (ANAHTAR, DEGER) VALUES ('istemci_surumu', '%1')")
                .arg(VELMORA_CLIENT_VERSION),
            QStringLiteral("INSERT OR IGNORE INTO ayarlar (ANAHTAR, DEGER) VALUES ('kayan_yazi', '')"),
        },
        orderingSchema(),
    };
    return steps;
}

QString now()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
}

// 0 stands for "none" in the API and NULL in the database.
QVariant orNull(qint32 number)
{
    return number == 0 ? QVariant() : QVariant(number);
}

qint32 readClientVersion(QSqlDatabase& db)
{
    QSqlQuery q = Storage::run(db, QStringLiteral("SELECT DEGER FROM ayarlar WHERE ANAHTAR = ?"), {kClientVersionKey});
    bool ok = false;
    const qint32 version = q.next() ? q.value(0).toString().toInt(&ok) : 0;
    return ok ? version : VELMORA_CLIENT_VERSION;
}

std::optional<TSonucBilgisi> findSession(QSqlDatabase& db, const QString& computerId)
{
    // A representative user speaks for himself; a dealer gets his account's representative.
    QSqlQuery q =
        Storage::run(db,
                     QStringLiteral("SELECT k.SIRANO, k.ADI, k.SIFRE, k.AKTIF, k.MUSTERITIPI, k.MAIL,"
                                    " COALESCE(c.CARINO, 0), COALESCE(c.CARIADI, ''), COALESCE(c.CARIKOD, ''),"
                                    " COALESCE(s.SATICINO, 0), COALESCE(s.ADI, ''), COALESCE(s.TELEFON, ''),"
                                    " COALESCE(s.MAIL, '')"
                                    " FROM kurulumlar i"
                                    " JOIN kullanicilar k ON k.SIRANO = i.KULLANICI"
                                    " LEFT JOIN cariler c ON c.CARINO = k.CARINO"
                                    " LEFT JOIN saticilar s ON s.SATICINO = COALESCE(k.SATICINO, c.SATICINO)"
                                    " WHERE i.BILGISAYARID = ?"),
                     {computerId});
    if (!q.next())
        return std::nullopt;
    TSonucBilgisi r;
    r.FVarmi = true;
    r.FSirano = q.value(0).toInt();
    r.FADI = q.value(1).toString();
    r.FSIFRE = q.value(2).toString();
    r.FAKTIF = q.value(3).toInt();
    r.FMusteriTipi = q.value(4).toInt();
    r.FKullanicimail = q.value(5).toString();
    r.FCARINO = q.value(6).toInt();
    r.FCariAdi = q.value(7).toString();
    r.Fcarikod = q.value(8).toString();
    r.FSaticiNo = q.value(9).toInt();
    r.FSaticiAdi = q.value(10).toString();
    r.FSaticiTelefon = q.value(11).toString();
    r.FSaticiMail = q.value(12).toString();
    r.FBILGISAYARID = computerId;
    r.FVersion = readClientVersion(db);
    return r;
}

void insertSessionLog(QSqlDatabase& db, const QString& event, const TSonucBilgisi& r, const QString& remoteAddress)
{
    Storage::run(db,
                 QStringLiteral("INSERT INTO oturum_kayitlari (OLAY, ZAMAN, UZAKADRES, VARMI, BILGISAYARID, KULLANICI,"
                                " ADI, AKTIF, MUSTERITIPI, KULLANICIMAIL, CARINO, CARIKOD, CARIADI, SATICINO, "
                                "SATICIADI,"
                                " SATICITELEFON, SATICIMAIL, BILGISAYARADI, BILGISAYARKULLANICI, DISIP, ICIP, SURUM)"
                                " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                 {event,
                  now(),
                  remoteAddress,
                  r.FVarmi ? 1 : 0,
                  r.FBILGISAYARID,
                  r.FSirano,
                  r.FADI,
                  r.FAKTIF,
                  r.FMusteriTipi,
                  r.FKullanicimail,
                  r.FCARINO,
                  r.Fcarikod,
                  r.FCariAdi,
                  r.FSaticiNo,
                  r.FSaticiAdi,
                  r.FSaticiTelefon,
                  r.FSaticiMail,
                  r.FBilgiSayarAdi,
                  r.FBilgisayarKullanici,
                  r.FDisip,
                  r.FIcip,
                  r.FVersion});
}

} // namespace

StorageError::StorageError(const QString& message)
    : std::runtime_error(message.toStdString())
{
}

Storage::Storage(const QString& folder)
    : m_id(nextStorageId++)
{
    if (!QDir().mkpath(folder))
        throw StorageError(QStringLiteral("Veri klasörü oluşturulamadı: %1").arg(folder));
    m_file = QDir(folder).absoluteFilePath(QLatin1String(fileName));
    migrate();
}

Storage::~Storage()
{
    QMutexLocker lock(&m_mutex);
    for (const QString& name : std::as_const(m_connections))
        QSqlDatabase::removeDatabase(name);
}

QSqlDatabase Storage::connection()
{
    // Connection names of this thread, by storage; a storage id is never reused.
    thread_local std::map<quint64, QString> names;
    const auto found = names.find(m_id);
    if (found != names.end())
        return QSqlDatabase::database(found->second, false);

    const QString name = QStringLiteral("velmora-server-%1-%2").arg(m_id).arg(nextConnectionSerial++);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(m_file);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        if (!db.open()) {
            const QString error = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw StorageError(QStringLiteral("Veritabanı açılamadı (%1): %2").arg(m_file, error));
        }
        run(db, QStringLiteral("PRAGMA journal_mode=WAL"));
        run(db, QStringLiteral("PRAGMA synchronous=NORMAL"));
        run(db, QStringLiteral("PRAGMA foreign_keys=ON"));
    }
    {
        QMutexLocker lock(&m_mutex);
        m_connections.append(name);
    }
    names.emplace(m_id, name);
    return QSqlDatabase::database(name, false);
}

QSqlQuery Storage::run(QSqlDatabase& db, const QString& sql, const QVariantList& values)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw StorageError(
            QStringLiteral("Veritabanı komutu hazırlanamadı: %1 (%2)").arg(query.lastError().text(), sql));
    // A null QString is an empty text here; NULL is written as an invalid QVariant.
    for (const QVariant& value : values) {
        if (value.typeId() == QMetaType::QString && value.toString().isNull())
            query.addBindValue(QStringLiteral(""));
        else
            query.addBindValue(value);
    }
    if (!query.exec())
        throw StorageError(QStringLiteral("Veritabanı komutu çalışmadı: %1 (%2)").arg(query.lastError().text(), sql));
    return query;
}

void Storage::rollback(QSqlDatabase& db)
{
    QSqlQuery query(db);
    query.exec(QStringLiteral("ROLLBACK"));
}

void Storage::migrate()
{
    write([](QSqlDatabase& db) {
        run(db, QStringLiteral("CREATE TABLE IF NOT EXISTS schema_surumu (SURUM INTEGER NOT NULL)"));
        QSqlQuery current = run(db, QStringLiteral("SELECT MAX(SURUM) FROM schema_surumu"));
        const int version = current.next() ? current.value(0).toInt() : 0;
        current.finish();
        const auto& steps = migrations();
        if (version > steps.size())
            throw StorageError(QStringLiteral("Veritabanı bu sunucudan yeni (şema %1, en çok %2 bilinir)")
                                   .arg(version)
                                   .arg(steps.size()));
        for (int v = version; v < steps.size(); ++v) {
            for (const QString& statement : steps[v])
                run(db, statement);
            run(db, QStringLiteral("INSERT INTO schema_surumu (SURUM) VALUES (?)"), {v + 1});
        }
        createHistorySchema(db);
    });
}

qint32 Storage::addRepresentative(const Representative& r)
{
    return write([&](QSqlDatabase& db) {
        QSqlQuery q =
            run(db, QStringLiteral("INSERT INTO saticilar (SATICINO, ADI, TELEFON, MAIL) VALUES (?, ?, ?, ?)"),
                {orNull(r.no), r.name, r.phone, r.mail});
        return q.lastInsertId().toInt();
    });
}

qint32 Storage::addCustomerAccount(const CustomerAccount& a)
{
    return write([&](QSqlDatabase& db) {
        QSqlQuery q = run(
            db,
            QStringLiteral("INSERT INTO cariler (CARINO, CARIKOD, CARIADI, ADRES1, ADRES2, ILCE, SEHIR,"
                           " ULKE, TEL1, TEL2, GSM, FAX1, FAX2, EMAIL, VERGIDAIRESI, VERGINO, YETKILI,"
                           " ANAGRUP, ALTGRUP, OZELKOD, SATICINO)"
                           " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {orNull(a.no), a.code,      a.name,    a.address1,  a.address2, a.district,    a.city,
             a.country,    a.phone1,    a.phone2,  a.mobile,    a.fax1,     a.fax2,        a.mail,
             a.taxOffice,  a.taxNumber, a.contact, a.mainGroup, a.subGroup, a.specialCode, orNull(a.representative)});
        return q.lastInsertId().toInt();
    });
}

qint32 Storage::addUser(const User& u)
{
    return write([&](QSqlDatabase& db) {
        QSqlQuery q = run(
            db,
            QStringLiteral("INSERT INTO kullanicilar (SIRANO, ADI, SIFRE, AKTIF, MUSTERITIPI, MAIL,"
                           " CARINO, SATICINO) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
            {orNull(u.no), u.name, u.password, u.active, u.type, u.mail, orNull(u.account), orNull(u.representative)});
        return q.lastInsertId().toInt();
    });
}

void Storage::registerInstallation(const QString& computerId, qint32 userNo)
{
    write([&](QSqlDatabase& db) {
        run(db,
            QStringLiteral("INSERT INTO kurulumlar (BILGISAYARID, KULLANICI, KAYITZAMANI) VALUES (?, ?, ?)"
                           " ON CONFLICT (BILGISAYARID) DO UPDATE SET KULLANICI = excluded.KULLANICI,"
                           " KAYITZAMANI = excluded.KAYITZAMANI"),
            {computerId, userNo, now()});
    });
}

std::optional<qint32> Storage::userNoByName(const QString& name)
{
    return read([&](QSqlDatabase& db) -> std::optional<qint32> {
        QSqlQuery q =
            run(db, QStringLiteral("SELECT SIRANO FROM kullanicilar WHERE ADI = ? ORDER BY SIRANO LIMIT 1"), {name});
        if (!q.next())
            return std::nullopt;
        return q.value(0).toInt();
    });
}

bool Storage::hasUsers()
{
    return read([](QSqlDatabase& db) { return run(db, QStringLiteral("SELECT 1 FROM kullanicilar LIMIT 1")).next(); });
}

QString Storage::setting(const QString& key, const QString& fallback)
{
    return read([&](QSqlDatabase& db) {
        QSqlQuery q = run(db, QStringLiteral("SELECT DEGER FROM ayarlar WHERE ANAHTAR = ?"), {key});
        return q.next() ? q.value(0).toString() : fallback;
    });
}

void Storage::setSetting(const QString& key, const QString& value)
{
    write([&](QSqlDatabase& db) {
        run(db,
            QStringLiteral("INSERT INTO ayarlar (ANAHTAR, DEGER) VALUES (?, ?)"
                           " ON CONFLICT (ANAHTAR) DO UPDATE SET DEGER = excluded.DEGER"),
            {key, value});
    });
}

qint32 Storage::clientVersion()
{
    return read([](QSqlDatabase& db) { return readClientVersion(db); });
}

void Storage::setClientVersion(qint32 version)
{
    setSetting(kClientVersionKey, QString::number(version));
}

void Storage::storeInstaller(const QString& name, qint32 version, const QByteArray& bytes)
{
    write([&](QSqlDatabase& db) {
        run(db, QStringLiteral("INSERT INTO kurulum_dosyalari (ADI, SURUM, ICERIK, ZAMAN) VALUES (?, ?, ?, ?)"),
            {name, version, bytes, now()});
    });
}

std::optional<QByteArray> Storage::currentInstaller()
{
    return read([](QSqlDatabase& db) -> std::optional<QByteArray> {
        QSqlQuery q = run(db, QStringLiteral("SELECT ICERIK FROM kurulum_dosyalari ORDER BY SIRANO DESC LIMIT 1"));
        if (!q.next())
            return std::nullopt;
        return q.value(0).toByteArray();
    });
}

std::optional<TSonucBilgisi> Storage::sessionFor(const QString& computerId)
{
    return read([&](QSqlDatabase& db) { return findSession(db, computerId); });
}

TSonucBilgisi Storage::loginRecord(const QString& computerId, const QString& remoteAddress)
{
    return write([&](QSqlDatabase& db) {
        TSonucBilgisi record;
        if (const auto found = findSession(db, computerId)) {
            record = *found;
        } else {
            record.FBILGISAYARID = computerId;
            record.FVersion = readClientVersion(db);
        }
        insertSessionLog(db, QStringLiteral("giris"), record, remoteAddress);
        return record;
    });
}

void Storage::logSession(const QString& event, const TSonucBilgisi& record, const QString& remoteAddress)
{
    write([&](QSqlDatabase& db) { insertSessionLog(db, event, record, remoteAddress); });
}

QVector<SessionLogEntry> Storage::sessionLog()
{
    return read([](QSqlDatabase& db) {
        QSqlQuery q = run(db, QStringLiteral("SELECT SIRANO, OLAY, ZAMAN, UZAKADRES, VARMI, BILGISAYARID, KULLANICI,"
                                             " ADI, AKTIF, MUSTERITIPI, KULLANICIMAIL, CARINO, CARIKOD, CARIADI,"
                                             " SATICINO, SATICIADI, SATICITELEFON, SATICIMAIL, BILGISAYARADI,"
                                             " BILGISAYARKULLANICI, DISIP, ICIP, SURUM"
                                             " FROM oturum_kayitlari ORDER BY SIRANO"));
        QVector<SessionLogEntry> entries;
        while (q.next()) {
            SessionLogEntry e;
            e.no = q.value(0).toLongLong();
            e.event = q.value(1).toString();
            e.time = QDateTime::fromString(q.value(2).toString(), Qt::ISODateWithMs);
            e.remoteAddress = q.value(3).toString();
            TSonucBilgisi& r = e.record;
            r.FVarmi = q.value(4).toInt() != 0;
            r.FBILGISAYARID = q.value(5).toString();
            r.FSirano = q.value(6).toInt();
            r.FADI = q.value(7).toString();
            r.FAKTIF = q.value(8).toInt();
            r.FMusteriTipi = q.value(9).toInt();
            r.FKullanicimail = q.value(10).toString();
            r.FCARINO = q.value(11).toInt();
            r.Fcarikod = q.value(12).toString();
            r.FCariAdi = q.value(13).toString();
            r.FSaticiNo = q.value(14).toInt();
            r.FSaticiAdi = q.value(15).toString();
            r.FSaticiTelefon = q.value(16).toString();
            r.FSaticiMail = q.value(17).toString();
            r.FBilgiSayarAdi = q.value(18).toString();
            r.FBilgisayarKullanici = q.value(19).toString();
            r.FDisip = q.value(20).toString();
            r.FIcip = q.value(21).toString();
            r.FVersion = q.value(22).toInt();
            entries.append(e);
        }
        return entries;
    });
}

} // namespace velmora::server
