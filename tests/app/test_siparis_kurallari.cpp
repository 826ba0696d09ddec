#include "app/siparis_kurallari.h"
#include "platform/data_set.h"

#include <QTest>

class TestSiparisKurallari : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey)); }

    void sepetToplamlari_data()
    {
        QTest::addColumn<QVector<SepetSatiri>>("satirlar");
        QTest::addColumn<double>("toplam");
        QTest::addColumn<double>("indirim");
        QTest::addColumn<double>("ara");
        QTest::addColumn<double>("vergi");
        QTest::addColumn<double>("genel");
        QTest::newRow("boş") << QVector<SepetSatiri>{} << 0.0 << 0.0 << 0.0 << 0.0 << 0.0;
        QTest::newRow("iki seçili") << QVector<SepetSatiri>{{1, 100, 10}, {1, 50, 5}} << 150.0 << 15.0 << 135.0 << 24.30
                                    << 159.30;
        QTest::newRow("seçili olmayan sayılmaz")
            << QVector<SepetSatiri>{{1, 100, 10}, {0, 999, 99}, {2, 7, 1}, {1, 50, 5}} << 150.0 << 15.0 << 135.0
            << 24.30 << 159.30;
        // 1.25 net: 1.475 with tax reads as 1.48, so the tax is 0.23.
        QTest::newRow("yarım kuruş yukarı")
            << QVector<SepetSatiri>{{1, 1.25, 0}} << 1.25 << 0.0 << 1.25 << 0.23 << 1.48;
        QTest::newRow("kuruş birikimi") << QVector<SepetSatiri>{{1, 0.105, 0}, {1, 0.105, 0}} << 0.22 << 0.0 << 0.22
                                        << 0.04 << 0.26;
    }

    void sepetToplamlari()
    {
        QFETCH(QVector<SepetSatiri>, satirlar);
        const SepetToplamlari t = ::sepetToplamlari(satirlar);
        QFETCH(double, toplam);
        QFETCH(double, indirim);
        QFETCH(double, ara);
        QFETCH(double, vergi);
        QFETCH(double, genel);
        QCOMPARE(t.toplam, toplam);
        QCOMPARE(t.indirim, indirim);
        QCOMPARE(t.araToplam, ara);
        QVERIFY(qAbs(t.vergi - vergi) < 1e-9);
        QCOMPARE(t.genelToplam, genel);
    }

    void sepetSatirlariVeriKumesinden()
    {
        velmora::DataSet sepet;
        velmora::Table t;
        t.columns = {{"SIRANO", velmora::FieldType::Int32},
                     {"SEC", velmora::FieldType::Int32},
                     {"TUTAR", velmora::FieldType::Double},
                     {"INDIRIMTUTAR", velmora::FieldType::Double}};
        t.rows = {{1, 1, 100.0, 10.0}, {2, 0, 40.0, 0.0}, {3, 1, 50.0, 5.0}};
        sepet.assignData(std::move(t));
        const SepetToplamlari toplam = ::sepetToplamlari(sepetSatirlari(sepet));
        QCOMPARE(toplam.genelToplam, 159.30);
    }

    void koliyeYuvarla_data()
    {
        QTest::addColumn<int>("miktar");
        QTest::addColumn<int>("koli");
        QTest::addColumn<int>("sonuc");
        QTest::newRow("13/12") << 13 << 12 << 24;
        QTest::newRow("24/12") << 24 << 12 << 24;
        QTest::newRow("12/12") << 12 << 12 << 12;
        QTest::newRow("1/12") << 1 << 12 << 12;
        QTest::newRow("5/1") << 5 << 1 << 5;
        QTest::newRow("bozuk koli 0") << 5 << 0 << 5;
    }

    void koliyeYuvarla()
    {
        QFETCH(int, miktar);
        QFETCH(int, koli);
        QFETCH(int, sonuc);
        QCOMPARE(::koliyeYuvarla(miktar, koli), sonuc);
    }

    void satirKaynagi()
    {
        QCOMPARE(satirKaynagiSec(SatirKaynagi::StokListesi, false), SatirKaynagi::StokListesi);
        QCOMPARE(satirKaynagiSec(SatirKaynagi::Kampanyali, false), SatirKaynagi::Kampanyali);
        QCOMPARE(satirKaynagiSec(SatirKaynagi::YeniStoklar, true), SatirKaynagi::SepetSatiri);
        QCOMPARE(satirKaynagiSec(SatirKaynagi::StokListesi, true), SatirKaynagi::SepetSatiri);
    }

    void fiyatBilgisi_data()
    {
        QTest::addColumn<double>("kampanya");
        QTest::addColumn<QString>("metin");
        QTest::newRow("kampanyasız") << 0.0
                                     << "Liste Fiyatı: 1.234,50\r\nNetFiyat: 987,60\r\nKDV li Fiyat: 1.165,37\r\n";
        QTest::newRow("kampanyalı") << 1100.0
                                    << "Liste Fiyatı: 1.234,50\r\nKampanyalı Fiyat: 1.100,00\r\nNetFiyat: "
                                       "987,60\r\nKDV li Fiyat: 1.165,37\r\n";
    }

    void fiyatBilgisi()
    {
        QFETCH(double, kampanya);
        QFETCH(QString, metin);
        QCOMPARE(fiyatBilgisiMetni(1234.5, kampanya, 987.6, 1165.368), metin);
    }

    void aramaHarfleri()
    {
        QCOMPARE(aramaMetni(QStringLiteral("çanta")), QStringLiteral("CANTA"));
        QCOMPARE(aramaMetni(QStringLiteral("ğüşöçıİĞÜŞÖÇ")), QStringLiteral("GUSOCIIGUSOC"));
        QCOMPARE(aramaMetni(QStringLiteral(" fren-12/a")), QStringLiteral(" FREN-12/A"));
    }

    void satirAramasi()
    {
        QCOMPARE(satirAramaMetni(QStringLiteral("BLT-1001"), QStringLiteral("GÜÇLÜ ışık")),
                 QStringLiteral("BLT-1001 GUCLU İşİk"));
    }

    void siparisOzeti()
    {
        const QString metin =
            siparisOzetiMetni({QStringLiteral("BAYI"), QStringLiteral("Özgür Oto"), QStringLiteral("Kargo"),
                               QStringLiteral("Alıcı Ödemeli"), QStringLiteral("159,30"), QStringLiteral("Hızlı Kargo"),
                               QStringLiteral("Acil")});
        const QStringList satirlar = metin.split(QStringLiteral("\r\n"));
        QCOMPARE(satirlar.size(), 7);
        QCOMPARE(satirlar[0], QStringLiteral("Kullanıcı: BAYI"));
        QCOMPARE(satirlar[4], QStringLiteral("Tutar    : 159,30"));
        QCOMPARE(satirlar[5], QStringLiteral("Kargo    : Hızlı Kargo"));
        QCOMPARE(satirlar[6], QStringLiteral("Açıklama : Acil"));
        for (const QString& s : satirlar)
            QCOMPARE(s.indexOf(QLatin1Char(':')), 9); // values line up in a fixed-pitch font
        QVERIFY(!metin.endsWith(QLatin1Char('\n')));
    }
};

QTEST_GUILESS_MAIN(TestSiparisKurallari)
#include "test_siparis_kurallari.moc"
