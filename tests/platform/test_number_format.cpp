#include "platform/number_format.h"

#include <QLocale>
#include <QTest>

#include <cmath>

using velmora::IkiHaneYuvarla;

class TestNumberFormat : public QObject {
    Q_OBJECT
private slots:
    void ikiHaneYuvarla_data();
    void ikiHaneYuvarla();
    void ikiHaneYuvarlaGivesNoNegativeZero();
    void formatNumber_data();
    void formatNumber();
};

void TestNumberFormat::ikiHaneYuvarla_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    // Halves as a person reads them, although the binary value lies just below.
    QTest::newRow("2.675") << 2.675 << 2.68;
    QTest::newRow("1.005") << 1.005 << 1.01;
    QTest::newRow("-1.005") << -1.005 << -1.01;
    QTest::newRow("0.125") << 0.125 << 0.13;
    QTest::newRow("0.005") << 0.005 << 0.01;
    QTest::newRow("-0.005") << -0.005 << -0.01;
    QTest::newRow("1234567.895") << 1234567.895 << 1234567.9;
    QTest::newRow("carry into whole") << 9.995 << 10.0;
    QTest::newRow("carry into new digit") << 999999.999 << 1000000.0;
    QTest::newRow("below half") << 2.674999 << 2.67;
    QTest::newRow("two decimals 0.1") << 0.1 << 0.1;
    QTest::newRow("two decimals 19.99") << 19.99 << 19.99;
    QTest::newRow("two decimals -42.07") << -42.07 << -42.07;
    QTest::newRow("whole") << 118.0 << 118.0;
    QTest::newRow("zero") << 0.0 << 0.0;
    // Products whose double lies just below the half a person reads.
    QTest::newRow("1.25 x 1.18") << 1.25 * 1.18 << 1.48;
    QTest::newRow("5.25 x 1.18") << 5.25 * 1.18 << 6.2;
    QTest::newRow("84.75 x 1.18") << 84.75 * 1.18 << 100.01;
    QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << 0.3;
    QTest::newRow("large") << 98765432109.125 << 98765432109.13;
}

void TestNumberFormat::ikiHaneYuvarla()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    const double rounded = IkiHaneYuvarla(value);
    // The very double of the two-decimal text, not one near it.
    QVERIFY2(rounded == expected, qPrintable(QString::number(rounded, 'g', 17)));
}

void TestNumberFormat::ikiHaneYuvarlaGivesNoNegativeZero()
{
    for (const double value : {-0.001, -0.004999, -0.0}) {
        const double rounded = IkiHaneYuvarla(value);
        QCOMPARE(rounded, 0.0);
        QVERIFY2(!std::signbit(rounded), qPrintable(QString::number(value)));
        QCOMPARE(velmora::formatNumber(rounded, QStringLiteral("#,###,##0.00"), QLocale::c()), QStringLiteral("0.00"));
    }
}

void TestNumberFormat::formatNumber_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    const QLocale tr(QLocale::Turkish, QLocale::Turkey);
    const QLocale c = QLocale::c();
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    const QString amount = QString::fromLatin1(velmora::kAmountFormat);

    QTest::newRow("tr amount 1234.5") << tr << amount << 1234.5 << "1.234,50";
    QTest::newRow("tr amount 0") << tr << amount << 0.0 << "0,00";
    QTest::newRow("tr amount 0.5") << tr << amount << 0.5 << "0,50";
    QTest::newRow("tr amount negative") << tr << amount << -1234567.891 << "-1.234.567,89";
    QTest::newRow("tr amount half up") << tr << amount << 2.675 << "2,68";
    QTest::newRow("tr amount tiny negative") << tr << amount << -0.001 << "0,00";
    QTest::newRow("tr amount product below half") << tr << amount << 2.75 * 1.18 << "3,25";
    QTest::newRow("tr amount 999.995") << tr << amount << 999.995 << "1.000,00";
    QTest::newRow("tr amount 100") << tr << amount << 100.0 << "100,00";
    QTest::newRow("tr amount billions") << tr << amount << 1234567890.12 << "1.234.567.890,12";
    QTest::newRow("tr 0.00") << tr << "0.00" << 1234.567 << "1234,57";
    QTest::newRow("tr 0.00 negative") << tr << "0.00" << -0.5 << "-0,50";
    QTest::newRow("tr #,##0") << tr << "#,##0" << 1234567.5 << "1.234.568";
    QTest::newRow("tr #,##0 small") << tr << "#,##0" << 0.4 << "0";
    QTest::newRow("tr 0.## trims") << tr << "0.##" << 2.5 << "2,5";
    QTest::newRow("tr 0.## whole") << tr << "0.##" << 3.0 << "3";
    QTest::newRow("tr optional whole") << tr << "#,###,##.00" << 0.5 << ",50";
    QTest::newRow("c amount") << c << amount << -1234567.891 << "-1,234,567.89";
    QTest::newRow("c 0.00") << c << "0.00" << 0.125 << "0.13";
    QTest::newRow("en #,##0") << en << "#,##0" << 1234.5 << "1,235";
    QTest::newRow("en amount 0") << en << amount << 0.0 << "0.00";
}

void TestNumberFormat::formatNumber()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, pattern);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(velmora::formatNumber(value, pattern, locale), expected);
}

QTEST_GUILESS_MAIN(TestNumberFormat)
#include "test_number_format.moc"
