#include "platform/system_hooks.h"
#include "session/bilgisayar_kimligi.h"

#include <QTest>

#include <stdexcept>

using velmora::systemHooks;

class TestBilgisayarKimligi : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void bilgisayarIdAl_data();
    void bilgisayarIdAl();
    void failingSourcesGiveEmptyTexts();
    void macAdresiBicimle_data();
    void macAdresiBicimle();
};

void TestBilgisayarKimligi::cleanup()
{
    const velmora::SystemHooks real = velmora::defaultSystemHooks();
    systemHooks().diskSerial = real.diskSerial;
    systemHooks().networkAddress = real.networkAddress;
}

void TestBilgisayarKimligi::bilgisayarIdAl_data()
{
    QTest::addColumn<QString>("serial");
    QTest::addColumn<bool>("serialThrows");
    QTest::addColumn<QString>("mac");
    QTest::addColumn<QString>("expected");
    const QString mac = QStringLiteral("aa:bb:cc:dd:ee:ff");
    const QStringList& fixed = sabitBilgisayarIdleri();

    QTest::newRow("plain") << "WD-WCC4N1234567" << false << mac << "WD-WCC4N1234567";
    QTest::newRow("blanks everywhere") << "  WD-WCC4 N12\t34567 \r\n" << false << mac << "WD-WCC4N1234567";
    QTest::newRow("lower case") << "s3z9nb0k123456x" << false << mac << "S3Z9NB0K123456X";
    QTest::newRow("empty serial") << "" << false << mac << "AA-BB-CC-DD-EE-FF";
    QTest::newRow("blank serial") << "   " << false << mac << "AA-BB-CC-DD-EE-FF";
    QTest::newRow("serial throws") << "" << true << mac << "AA-BB-CC-DD-EE-FF";
    QTest::newRow("no serial, bad mac") << "" << false << "AA-BB-CC"
                                        << "";
    QTest::newRow("fixed first") << fixed[0] << false << mac << fixed[1];
    QTest::newRow("fixed third") << fixed[2] << false << mac << fixed[1];
    QTest::newRow("fixed second") << fixed[1] << false << mac << fixed[1];
    QTest::newRow("fixed first spaced, lower")
        << " " + fixed[0].left(4).toLower() + " " + fixed[0].mid(4) << false << mac << fixed[1];
    QTest::newRow("near a fixed one") << fixed[0] + "0" << false << mac << fixed[0] + "0";
}

void TestBilgisayarKimligi::bilgisayarIdAl()
{
    QFETCH(QString, serial);
    QFETCH(bool, serialThrows);
    QFETCH(QString, mac);
    QFETCH(QString, expected);
    systemHooks().diskSerial = [=]() -> QString {
        if (serialThrows)
            throw std::runtime_error("WMI unavailable");
        return serial;
    };
    systemHooks().networkAddress = [=] { return mac; };
    const QString id = BilgisayarIdAl();
    QCOMPARE(id, expected);
    if (expected == QLatin1String("AA-BB-CC-DD-EE-FF"))
        QCOMPARE(id.size(), 17);
}

void TestBilgisayarKimligi::failingSourcesGiveEmptyTexts()
{
    systemHooks().diskSerial = []() -> QString { throw std::runtime_error("WMI unavailable"); };
    systemHooks().networkAddress = []() -> QString { throw std::runtime_error("no adapter"); };
    QCOMPARE(DiskSeriNoAl(), QString());
    QCOMPARE(MacAdresiAl(), QString());
    QCOMPARE(BilgisayarIdAl(), QString());
    systemHooks().diskSerial = nullptr;
    systemHooks().networkAddress = nullptr;
    QCOMPARE(BilgisayarIdAl(), QString());
}

void TestBilgisayarKimligi::macAdresiBicimle_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("expected");
    QTest::newRow("dashes") << "00-1A-2b-3C-4d-5E"
                            << "00-1A-2B-3C-4D-5E";
    QTest::newRow("colons") << "00:1a:2b:3c:4d:5e"
                            << "00-1A-2B-3C-4D-5E";
    QTest::newRow("bare") << "001a2b3c4d5e"
                          << "00-1A-2B-3C-4D-5E";
    QTest::newRow("blanks around") << "  001a2b3c4d5e\n"
                                   << "00-1A-2B-3C-4D-5E";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("too short") << "00-1A-2B-3C-4D"
                               << "";
    QTest::newRow("too long") << "00-1A-2B-3C-4D-5E-6F"
                              << "";
    QTest::newRow("not hex") << "00-1A-2B-3C-4D-5G"
                             << "";
    QTest::newRow("hex hidden in words") << "adapter 001a2b3c4d5e"
                                         << "";
}

void TestBilgisayarKimligi::macAdresiBicimle()
{
    QFETCH(QString, raw);
    QFETCH(QString, expected);
    QCOMPARE(::macAdresiBicimle(raw), expected);
    systemHooks().networkAddress = [=] { return raw; };
    QCOMPARE(MacAdresiAl(), expected);
}

QTEST_GUILESS_MAIN(TestBilgisayarKimligi)
#include "test_bilgisayar_kimligi.moc"
