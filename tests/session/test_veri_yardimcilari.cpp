#include "platform/data_set.h"
#include "session/veri_yardimcilari.h"

#include <QSignalSpy>
#include <QTest>

using namespace velmora;

namespace {

// Basket lines with the given SEC values; a null QVariant leaves the cell empty.
Table basket(const QVector<QVariant>& sec)
{
    Table table;
    table.columns = {{QStringLiteral("STOKNO"), FieldType::Int32},
                     {QStringLiteral("FIYAT"), FieldType::Double},
                     {QStringLiteral("SEC"), FieldType::Int32}};
    for (int i = 0; i < sec.size(); ++i)
        table.rows.append({100 + i, 10.5 * (i + 1), sec[i]});
    return table;
}

} // namespace

class TestVeriYardimcilari : public QObject {
    Q_OBJECT
private slots:
    void ondalikBicimleFormatsOnlyDoubles();
    void doluMu();
    void seciliVarmi_data();
    void seciliVarmi();
    void seciliVarmiLeavesAnEmptyDataSetAlone();
};

void TestVeriYardimcilari::ondalikBicimleFormatsOnlyDoubles()
{
    Table table;
    table.columns = {{QStringLiteral("STOKNO"), FieldType::Int32}, {QStringLiteral("KAYITNO"), FieldType::Int64},
                     {QStringLiteral("FIYAT"), FieldType::Double}, {QStringLiteral("TUTAR"), FieldType::Double},
                     {QStringLiteral("STOKADI"), FieldType::Text}, {QStringLiteral("TARIH"), FieldType::Date}};
    table.rows = {{1, qint64(2), 1234.5, -0.004, QStringLiteral("Ön"), 45000.0}};
    DataSet dataSet;
    dataSet.loadFromTable(table);
    QSignalSpy resets(&dataSet, &DataSet::reset);
    OndalikBicimle(dataSet);
    QCOMPARE(resets.size(), 1);

    QStringList formats;
    for (const DataSet::Field& field : dataSet.fields())
        formats << field.displayFormat;
    const QString amount = QStringLiteral("#,###,##0.00");
    QCOMPARE(formats, (QStringList{{}, {}, amount, amount, {}, {}}));
    const QLocale tr(QLocale::Turkish, QLocale::Turkey);
    QCOMPARE(dataSet.displayText(0, 2, tr), QStringLiteral("1.234,50"));
    QCOMPARE(dataSet.displayText(0, 3, tr), QStringLiteral("0,00"));
    QCOMPARE(dataSet.displayText(0, 0, tr), QStringLiteral("1"));

    DataSet closed; // nothing to format, nothing reported
    QSignalSpy closedResets(&closed, &DataSet::reset);
    OndalikBicimle(closed);
    QCOMPARE(closedResets.size(), 0);
}

void TestVeriYardimcilari::doluMu()
{
    DataSet dataSet;
    QVERIFY(!DoluMu(dataSet));
    dataSet.loadFromTable(basket({}));
    QVERIFY(!DoluMu(dataSet));
    dataSet.loadFromTable(basket({0}));
    QVERIFY(DoluMu(dataSet));
    dataSet.deleteRow();
    QVERIFY(!DoluMu(dataSet));
    dataSet.loadFromTable(basket({0}));
    dataSet.close();
    QVERIFY(!DoluMu(dataSet));
}

void TestVeriYardimcilari::seciliVarmi_data()
{
    QTest::addColumn<QVector<QVariant>>("sec");
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<int>("row"); // cursor afterwards
    QTest::addColumn<bool>("eof");
    QTest::newRow("first marked") << QVector<QVariant>{1, 0, 1} << 2 << true << 0 << false;
    QTest::newRow("middle marked") << QVector<QVariant>{0, 1, 1} << 2 << true << 1 << false;
    QTest::newRow("last marked") << QVector<QVariant>{0, 0, 1} << 0 << true << 2 << false;
    QTest::newRow("marked before cursor") << QVector<QVariant>{1, 0, 0} << 2 << true << 0 << false;
    QTest::newRow("none marked") << QVector<QVariant>{0, 0, 0} << 1 << false << 2 << true;
    QTest::newRow("nulls and other values") << QVector<QVariant>{QVariant(), 2, -1} << 0 << false << 2 << true;
    QTest::newRow("single marked") << QVector<QVariant>{1} << 0 << true << 0 << false;
    QTest::newRow("single unmarked") << QVector<QVariant>{0} << 0 << false << 0 << true;
}

void TestVeriYardimcilari::seciliVarmi()
{
    QFETCH(QVector<QVariant>, sec);
    QFETCH(int, start);
    QFETCH(bool, expected);
    QFETCH(int, row);
    QFETCH(bool, eof);
    DataSet dataSet;
    dataSet.loadFromTable(basket(sec));
    dataSet.moveTo(start);
    QCOMPARE(SeciliVarmi(dataSet), expected);
    QCOMPARE(dataSet.recNo(), row);
    QCOMPARE(dataSet.eof(), eof);
    if (expected)
        QCOMPARE(dataSet.value(QStringLiteral("SEC")).toInt(), 1);
}

void TestVeriYardimcilari::seciliVarmiLeavesAnEmptyDataSetAlone()
{
    DataSet closed;
    QSignalSpy closedMoves(&closed, &DataSet::cursorMoved);
    QVERIFY(!SeciliVarmi(closed));
    QCOMPARE(closedMoves.size(), 0);

    DataSet empty;
    empty.loadFromTable(basket({}));
    QSignalSpy moves(&empty, &DataSet::cursorMoved);
    QVERIFY(!SeciliVarmi(empty));
    QCOMPARE(moves.size(), 0);
    QCOMPARE(empty.recNo(), -1);

    // A data set without a SEC field has no marked line.
    Table table;
    table.columns = {{QStringLiteral("STOKNO"), FieldType::Int32}};
    table.rows = {{1}, {2}};
    DataSet unmarked;
    unmarked.loadFromTable(table);
    QVERIFY(!SeciliVarmi(unmarked));
    QCOMPARE(unmarked.recNo(), 1);
}

QTEST_GUILESS_MAIN(TestVeriYardimcilari)
#include "test_veri_yardimcilari.moc"
