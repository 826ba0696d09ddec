#include "app/duyuru_kurallari.h"

#include <QTest>

class TestDuyuruKurallari : public QObject {
    Q_OBJECT

private slots:
    void kayanYazi_data()
    {
        QTest::addColumn<QString>("metin");
        QTest::addColumn<bool>("gosterilir");
        QTest::newRow("bos") << QString() << false;
        QTest::newRow("yalniz bosluk") << QStringLiteral("     ") << false;
        QTest::newRow("satir sonlari ve sekmeler") << QStringLiteral("\t\r\n \n") << false;
        QTest::newRow("denetim karakterleri") << QStringLiteral("\x01 \x1f") << false;
        QTest::newRow("bastaki bosluklarla metin") << QStringLiteral("   Yeni kampanya") << true;
        QTest::newRow("isaretli metin") << QStringLiteral("<b>Duyuru</b>") << true;
        QTest::newRow("Turkce harf") << QStringLiteral(" ş ") << true;
    }
    void kayanYazi()
    {
        QFETCH(QString, metin);
        QFETCH(bool, gosterilir);
        QCOMPARE(kayanYaziGosterilir(metin), gosterilir);
    }

    void balonBasliklari_data()
    {
        QTest::addColumn<double>("bakiye");
        QTest::addColumn<QString>("turkce");
        QTest::addColumn<QString>("ingilizce");
        QTest::newRow("kesirli") << 12.5 << QStringLiteral("12,5=Bakiyeler") << QStringLiteral("12.5=Bakiyeler");
        QTest::newRow("tam") << 3.0 << QStringLiteral("3=Bakiyeler") << QStringLiteral("3=Bakiyeler");
        QTest::newRow("gruplanmaz") << 1234567.25 << QStringLiteral("1234567,25=Bakiyeler")
                                    << QStringLiteral("1234567.25=Bakiyeler");
        QTest::newRow("sifir") << 0.0 << QStringLiteral("0=Bakiyeler") << QStringLiteral("0=Bakiyeler");
    }
    void balonBasliklari()
    {
        QFETCH(double, bakiye);
        QFETCH(QString, turkce);
        QFETCH(QString, ingilizce);
        const BalonSayilari s{7, 12, 0, 3, bakiye};
        const QVector<QString> tr = ::balonBasliklari(s, QLocale(QLocale::Turkish, QLocale::Turkey));
        QCOMPARE(tr, (QVector<QString>{QStringLiteral("7=Sepet"), QStringLiteral("12=Yeni Stoklar"),
                                       QStringLiteral("0=Kampanyalı"), QStringLiteral("3=Duyurular"), turkce}));
        QCOMPARE(::balonBasliklari(s, QLocale::c())[4], ingilizce);
    }
};

QTEST_MAIN(TestDuyuruKurallari)
#include "test_duyuru_kurallari.moc"
