#include "remote/mobilstokunit.h"
#include "session/kayitlar.h"

#include <QJsonDocument>
#include <QTest>

#include <optional>

using namespace velmora;

namespace {

const QString kTurkish = QStringLiteral("ğüşıöçĞÜŞİÖÇ");

TSonucBilgisi filledSonuc()
{
    TSonucBilgisi s;
    s.setBILGISAYARID(QStringLiteral("WD-WCC4N1234567"));
    s.setSaticiMail(QStringLiteral("satıcı@velmora.example"));
    s.setSirano(17);
    s.setCariAdi(QStringLiteral("Öztürk Oto Yedek Parça Ltd. Şti."));
    s.setSIFRE(QStringLiteral("gizli \"şifre\" \\ 1"));
    s.setSaticiNo(4);
    s.setCARINO(2147483647);
    s.setAKTIF(1);
    s.setKullanicimail(QStringLiteral("kullanici@example.com"));
    s.setADI(QStringLiteral("İSMAİL"));
    s.setSaticiTelefon(QStringLiteral("0 (212) 555 12 34"));
    s.setcarikod(QStringLiteral("120.01.Ç07"));
    s.setVarmi(true);
    s.setSaticiAdi(QStringLiteral("Gülşen Çağlar"));
    s.setBilgiSayarAdi(QStringLiteral("MAĞAZA-PC"));
    s.setDisip(QStringLiteral("203.0.113.7"));
    s.setIcip(QStringLiteral("192.168.1.20"));
    s.setBilgisayarKullanici(kTurkish);
    s.setMusteriTipi(3);
    s.setVersion(18);
    return s;
}

QByteArray fieldsJson(const QJsonObject& fields)
{
    return QJsonDocument(fields).toJson(QJsonDocument::Compact);
}

// A record value through the bytes of an answer.
QJsonValue throughAnswer(const QJsonValue& value)
{
    return wire::decodeAnswer(wire::encodeAnswer({value, {}})).result;
}

} // namespace

class TestKayitlar : public QObject {
    Q_OBJECT
private slots:
    void sonucBilgisiDefaults();
    void kopyalaResetsAndCopies();
    void otherRecordsDefaultsAndKopyala();
    void recordsRoundTrip();
    void nullRecord();
    void malformedRecordIsWireError_data();
    void malformedRecordIsWireError();
};

void TestKayitlar::sonucBilgisiDefaults()
{
    const TSonucBilgisi s;
    QCOMPARE(s.MusteriTipi(), 1);
    QCOMPARE(s.Version(), 1);
    const QJsonObject fields = recordFields(s);
    QCOMPARE(fields.size(), 20);
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        if (it.key() == QLatin1String("FMusteriTipi") || it.key() == QLatin1String("FVersion"))
            continue;
        const QJsonValue v = it.value();
        QVERIFY2(v == QJsonValue(QString()) || v == QJsonValue(0) || v == QJsonValue(false), qPrintable(it.key()));
    }
}

void TestKayitlar::kopyalaResetsAndCopies()
{
    TSonucBilgisi running = filledSonuc();
    const TSonucBilgisi fresh;
    running.Kopyala(fresh);
    QCOMPARE(fieldsJson(recordFields(running)), fieldsJson(recordFields(fresh)));

    const TSonucBilgisi source = filledSonuc();
    TSonucBilgisi copy;
    copy.Kopyala(source);
    QCOMPARE(fieldsJson(recordFields(copy)), fieldsJson(recordFields(filledSonuc())));
    copy.setCariAdi(QStringLiteral("Başka"));
    QCOMPARE(source.CariAdi(), QStringLiteral("Öztürk Oto Yedek Parça Ltd. Şti.")); // unchanged
}

void TestKayitlar::otherRecordsDefaultsAndKopyala()
{
    TSiparisDipAyrinti dip;
    dip.setSizinMesaj(QStringLiteral("Acele gönderin"));
    dip.setKargoCinsi(QStringLiteral("Alıcı ödemeli"));
    TSiparisDipAyrinti dipCopy;
    dipCopy.Kopyala(dip);
    QCOMPARE(dipCopy.SizinMesaj(), QStringLiteral("Acele gönderin"));
    QCOMPARE(dipCopy.KargoCinsi(), QStringLiteral("Alıcı ödemeli"));
    dipCopy.Kopyala(TSiparisDipAyrinti());
    for (const QJsonValue& v : recordFields(dipCopy))
        QCOMPARE(v, QJsonValue(QString()));

    TTusSonuclari tus;
    tus.setAlindi(3);
    tus.setGoruldu(9);
    TTusSonuclari tusCopy;
    tusCopy.Kopyala(tus);
    QCOMPARE(tusCopy.Alindi(), 3);
    QCOMPARE(tusCopy.Goruldu(), 9);
    tusCopy.Kopyala(TTusSonuclari());
    for (const QJsonValue& v : recordFields(tusCopy))
        QCOMPARE(v, QJsonValue(0));

    TMobilCariBilgisi cari;
    cari.setTLBAKIYE(-1234.56);
    cari.setSEHIR(QStringLiteral("İstanbul"));
    TMobilCariBilgisi cariCopy;
    cariCopy.Kopyala(cari);
    QCOMPARE(cariCopy.TLBAKIYE(), -1234.56);
    QCOMPARE(cariCopy.SEHIR(), QStringLiteral("İstanbul"));
    cariCopy.Kopyala(TMobilCariBilgisi());
    QCOMPARE(cariCopy.TLBAKIYE(), 0.0);
    QCOMPARE(cariCopy.SEHIR(), QString());
    QCOMPARE(recordFields(cariCopy).size(), 30);
}

void TestKayitlar::recordsRoundTrip()
{
    const TSonucBilgisi sonuc = filledSonuc();
    const QJsonValue sonucValue = encodeRecord(&sonuc);
    QCOMPARE(sonucValue.toObject().value("type").toString(), QStringLiteral("baglantiu.TSonucBilgisi"));
    const auto sonucBack = decodeRecord<TSonucBilgisi>(throughAnswer(sonucValue));
    QVERIFY(sonucBack.has_value());
    QCOMPARE(fieldsJson(recordFields(*sonucBack)), fieldsJson(recordFields(sonuc)));
    QCOMPARE(sonucBack->SIFRE(), QStringLiteral("gizli \"şifre\" \\ 1"));

    TMobilCariBilgisi cari;
    cari.setCARIADI(QStringLiteral("Çağdaş Oto Şti."));
    cari.setADRES1(QStringLiteral("Gülbahar Mah. Öğretmen Sk. No:5\nKat 2"));
    cari.setSEHIR(QStringLiteral("İZMİR"));
    cari.setILCE(kTurkish);
    cari.setTLBORC(123456789.123456789);
    cari.setTLALACAK(0.1);
    cari.setTLBAKIYE(-1e-300);
    cari.setCARINO(-2147483647 - 1);
    const auto cariBack =
        decodeRecord<TMobilCariBilgisi>(wire::decodeRequest(wire::encodeRequest({encodeRecord(&cari)})).at(0));
    QVERIFY(cariBack.has_value());
    QCOMPARE(fieldsJson(recordFields(*cariBack)), fieldsJson(recordFields(cari)));
    QVERIFY(cariBack->TLBORC() == 123456789.123456789); // exact, not fuzzy
    QVERIFY(cariBack->TLBAKIYE() == -1e-300);
    QCOMPARE(cariBack->ILCE(), kTurkish);
}

void TestKayitlar::nullRecord()
{
    QVERIFY(encodeRecord<TSonucBilgisi>(nullptr).isNull());
    QVERIFY(!decodeRecord<TSonucBilgisi>(throughAnswer(encodeRecord<TSonucBilgisi>(nullptr))).has_value());
    QVERIFY(!decodeRecord<TMobilCariBilgisi>(QJsonValue::Null).has_value());
}

void TestKayitlar::malformedRecordIsWireError_data()
{
    QTest::addColumn<QJsonValue>("value");
    const TSonucBilgisi sonuc = filledSonuc();
    const QJsonObject good = encodeRecord(&sonuc).toObject();
    const QJsonObject fields = good.value("fields").toObject();
    auto withFields = [&](const QJsonValue& f) {
        QJsonObject o = good;
        o.insert("fields", f);
        return QJsonValue(o);
    };
    auto withField = [&](const char* name, const QJsonValue& v) {
        QJsonObject f = fields;
        f.insert(QLatin1String(name), v);
        return withFields(f);
    };
    QJsonObject missing = fields;
    missing.remove("FVersion");
    QJsonObject wrongType = good;
    wrongType.insert("type", "mobilstokunit.TMobilCariBilgisi");
    QJsonObject noType = good;
    noType.remove("type");
    QJsonObject noFields = good;
    noFields.remove("fields");

    QTest::newRow("field missing") << withFields(missing);
    QTest::newRow("text for int32") << withField("FCARINO", "12");
    QTest::newRow("2^40 for int32") << withField("FCARINO", 1099511627776.0);
    QTest::newRow("1.5 for int32") << withField("FSirano", 1.5);
    QTest::newRow("int for bool") << withField("FVarmi", 1);
    QTest::newRow("null for text") << withField("FADI", QJsonValue::Null);
    QTest::newRow("other record type") << QJsonValue(wrongType);
    QTest::newRow("no type") << QJsonValue(noType);
    QTest::newRow("no fields") << QJsonValue(noFields);
    QTest::newRow("fields an array") << withFields(QJsonArray{});
    QTest::newRow("not an object") << QJsonValue("baglantiu.TSonucBilgisi");
    QTest::newRow("array") << QJsonValue(QJsonArray{1, 2});
}

void TestKayitlar::malformedRecordIsWireError()
{
    QFETCH(QJsonValue, value);
    QVERIFY_THROWS_EXCEPTION(WireError, decodeRecord<TSonucBilgisi>(throughAnswer(value)));
}

QTEST_GUILESS_MAIN(TestKayitlar)
#include "test_kayitlar.moc"
