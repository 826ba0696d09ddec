#include "platform/data_set.h"

#include <QSignalSpy>
#include <QTest>

using namespace velmora;

namespace {

// A small basket: three lines, the middle one without a price.
Table basket()
{
    Table table;
    table.columns = {{QStringLiteral("STOKNO"), FieldType::Int32},
                     {QStringLiteral("STOKADI"), FieldType::Text},
                     {QStringLiteral("FIYAT"), FieldType::Double},
                     {QStringLiteral("SEC"), FieldType::Int32}};
    table.rows = {{101, QStringLiteral("Fren balatası"), 1234.5, 0},
                  {102, QStringLiteral("Yağ filtresi"), QVariant(), 1},
                  {103, QStringLiteral("Şanzıman yağı"), -1234567.891, 0}};
    return table;
}

QVector<int> column(const DataSet& dataSet, int c)
{
    QVector<int> values;
    for (int r = 0; r < dataSet.recordCount(); ++r)
        values.append(dataSet.value(r, c).toInt());
    return values;
}

} // namespace

class TestDataSet : public QObject {
    Q_OBJECT
private slots:
    void loadCopiesAndAssignMoves();
    void assignKeepsFormatOfSameField();
    void cursorOnEmptyAndClosed();
    void cursorWalk();
    void locate_data();
    void locate();
    void editPostAndCancel();
    void movingWhileEditingPostsToTheEditedRow();
    void appendOnEmptyAndFilled();
    void deleteRow();
    void deleteRowWhileEditingDropsTheEdit();
    void notificationsWhileDisabled();
    void cursorMovesWhileDisabledAreReported();
    void displayText_data();
    void displayText();
    void missingFieldGivesNull();
    void raggedRowsAreFilledWithNulls();
};

void TestDataSet::loadCopiesAndAssignMoves()
{
    Table table = basket();
    DataSet dataSet;
    QSignalSpy resets(&dataSet, &DataSet::reset);
    dataSet.loadFromTable(table);
    QCOMPARE(resets.size(), 1);
    QVERIFY(dataSet.isOpen());
    QCOMPARE(dataSet.recordCount(), 3);
    QCOMPARE(dataSet.fieldCount(), 4);
    QCOMPARE(dataSet.recNo(), 0);
    QCOMPARE(table.rows.size(), 3); // the reader's copy leaves the source alone

    Table packet;
    packet.columns = {{QStringLiteral("CARINO"), FieldType::Int32}};
    packet.rows = {{7}};
    dataSet.assignData(std::move(packet));
    QCOMPARE(dataSet.fieldCount(), 1); // structure replaced
    QCOMPARE(dataSet.recordCount(), 1);
    QCOMPARE(dataSet.value(QStringLiteral("carino")).toInt(), 7);
    QVERIFY(!dataSet.hasField(QStringLiteral("STOKNO")));

    const Table round = dataSet.toTable();
    QCOMPARE(round.columns.size(), 1);
    QCOMPARE(round.rows.at(0).at(0).toInt(), 7);
}

void TestDataSet::assignKeepsFormatOfSameField()
{
    DataSet dataSet;
    dataSet.loadFromTable(basket());
    dataSet.setDisplayFormat(QStringLiteral("FIYAT"), QStringLiteral("0.00"));
    dataSet.setDisplayFormat(QStringLiteral("STOKNO"), QStringLiteral("#,##0"));
    Table next = basket();
    next.columns[0].type = FieldType::Int64; // same name, other type: the format goes
    dataSet.loadFromTable(next);
    QCOMPARE(dataSet.fields()[2].displayFormat, QStringLiteral("0.00"));
    QCOMPARE(dataSet.fields()[0].displayFormat, QString());
}

void TestDataSet::cursorOnEmptyAndClosed()
{
    DataSet closed;
    QVERIFY(!closed.isOpen());
    QVERIFY(closed.eof());
    closed.first();
    closed.next();
    QCOMPARE(closed.recNo(), -1);
    QVERIFY(!closed.value(QStringLiteral("SEC")).isValid());
    QVERIFY_THROWS_EXCEPTION(std::logic_error, closed.edit());
    QVERIFY_THROWS_EXCEPTION(std::logic_error, closed.append());

    Table table = basket();
    table.rows.clear();
    DataSet empty;
    empty.loadFromTable(table);
    QVERIFY(empty.isOpen());
    QVERIFY(empty.isEmpty());
    empty.first();
    QVERIFY(empty.eof());
    QVERIFY(empty.bof());
    empty.next();
    QVERIFY(empty.eof());
    QCOMPARE(empty.recNo(), -1);
    QVERIFY_THROWS_EXCEPTION(std::logic_error, empty.edit());
}

void TestDataSet::cursorWalk()
{
    DataSet dataSet;
    dataSet.loadFromTable(basket());
    QSignalSpy moves(&dataSet, &DataSet::cursorMoved);
    QVector<int> seen;
    for (dataSet.first(); !dataSet.eof(); dataSet.next())
        seen.append(dataSet.value(QStringLiteral("STOKNO")).toInt());
    QCOMPARE(seen, (QVector<int>{101, 102, 103}));
    QCOMPARE(dataSet.recNo(), 2); // past the end the cursor stays on the last row
    QCOMPARE(moves.size(), 3);

    dataSet.prior();
    QVERIFY(!dataSet.eof());
    QCOMPARE(dataSet.recNo(), 1);
    dataSet.first();
    dataSet.prior();
    QVERIFY(dataSet.bof());
    QCOMPARE(dataSet.recNo(), 0);
    dataSet.last();
    QCOMPARE(dataSet.recNo(), 2);
    dataSet.moveTo(99);
    QCOMPARE(dataSet.recNo(), 2);
}

void TestDataSet::locate_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("row");
    QTest::newRow("int") << "STOKNO" << QVariant(103) << true << 2;
    QTest::newRow("int as text") << "STOKNO" << QVariant(QStringLiteral("102")) << true << 1;
    QTest::newRow("int as int64") << "STOKNO" << QVariant(qint64(102)) << true << 1;
    QTest::newRow("text any case field") << "stokadi" << QVariant(QStringLiteral("Yağ filtresi")) << true << 1;
    QTest::newRow("first of several") << "SEC" << QVariant(0) << true << 0;
    QTest::newRow("null cell") << "FIYAT" << QVariant() << true << 1;
    QTest::newRow("no such value") << "STOKNO" << QVariant(999) << false << 1;
    QTest::newRow("no such field") << "BARKOD" << QVariant(101) << false << 1;
}

void TestDataSet::locate()
{
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(bool, found);
    QFETCH(int, row);
    DataSet dataSet;
    dataSet.loadFromTable(basket());
    dataSet.moveTo(1);
    QCOMPARE(dataSet.locate(field, value), found);
    QCOMPARE(dataSet.recNo(), row);
}

void TestDataSet::editPostAndCancel()
{
    DataSet dataSet;
    dataSet.loadFromTable(basket());
    QSignalSpy changed(&dataSet, &DataSet::rowChanged);
    dataSet.moveTo(1);
    dataSet.edit();
    dataSet.setValue(QStringLiteral("FIYAT"), 99.5);
    QCOMPARE(dataSet.value(QStringLiteral("FIYAT")).toDouble(), 99.5); // the edited value
    QVERIFY(!dataSet.value(1, 2).isValid());                           // row not yet changed
    dataSet.cancel();
    QVERIFY(!dataSet.isEditing());
    QVERIFY(!dataSet.value(QStringLiteral("FIYAT")).isValid());
    QCOMPARE(changed.size(), 0);

    dataSet.edit();
    dataSet.setValue(QStringLiteral("fiyat"), 99.5);
    dataSet.post();
    QCOMPARE(dataSet.value(1, 2).toDouble(), 99.5);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.at(0).at(0).toInt(), 1);

    QVERIFY_THROWS_EXCEPTION(std::logic_error, dataSet.setValue(QStringLiteral("SEC"), 1));
    dataSet.edit();
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, dataSet.setValue(QStringLiteral("YOK"), 1));
}

void TestDataSet::movingWhileEditingPostsToTheEditedRow()
{
    DataSet dataSet;
    dataSet.loadFromTable(basket());
    dataSet.first();
    dataSet.edit();
    dataSet.setValue(QStringLiteral("SEC"), 1);
    dataSet.next(); // leaving the row keeps its change
    QVERIFY(!dataSet.isEditing());
    dataSet.post();
    QCOMPARE(column(dataSet, 3), (QVector<int>{1, 1, 0}));
    QCOMPARE(dataSet.value(QStringLiteral("STOKNO")).toInt(), 102);

    dataSet.edit();
    dataSet.setValue(QStringLiteral("SEC"), 0);
    QVERIFY(dataSet.locate(QStringLiteral("STOKNO"), 103));
    QCOMPARE(column(dataSet, 3), (QVector<int>{1, 0, 0}));
}

void TestDataSet::appendOnEmptyAndFilled()
{
    Table table = basket();
    table.rows.clear();
    DataSet dataSet;
    dataSet.loadFromTable(table);
    QSignalSpy resets(&dataSet, &DataSet::reset);
    dataSet.append();
    dataSet.setValue(QStringLiteral("STOKNO"), 201);
    QCOMPARE(dataSet.value(QStringLiteral("STOKNO")).toInt(), 201);
    QVERIFY(!dataSet.value(QStringLiteral("STOKADI")).isValid());
    QCOMPARE(dataSet.recordCount(), 0);
    dataSet.post();
    QCOMPARE(dataSet.recordCount(), 1);
    QCOMPARE(dataSet.recNo(), 0);
    QCOMPARE(resets.size(), 1);

    dataSet.loadFromTable(basket());
    dataSet.first();
    dataSet.append();
    dataSet.setValue(QStringLiteral("STOKNO"), 104);
    dataSet.cancel();
    QCOMPARE(dataSet.recordCount(), 3);
    dataSet.append();
    dataSet.setValue(QStringLiteral("STOKNO"), 104);
    dataSet.post();
    QCOMPARE(column(dataSet, 0), (QVector<int>{101, 102, 103, 104}));
    QCOMPARE(dataSet.recNo(), 3);
}

void TestDataSet::deleteRow()
{
    DataSet dataSet;
    dataSet.loadFromTable(basket());
    dataSet.moveTo(1);
    dataSet.deleteRow();
    QCOMPARE(column(dataSet, 0), (QVector<int>{101, 103}));
    QCOMPARE(dataSet.value(QStringLiteral("STOKNO")).toInt(), 103);
    dataSet.deleteRow(); // the last row: the cursor goes to the new last
    QCOMPARE(dataSet.value(QStringLiteral("STOKNO")).toInt(), 101);
    dataSet.deleteRow();
    QVERIFY(dataSet.isEmpty());
    QCOMPARE(dataSet.recNo(), -1);
    QVERIFY(dataSet.eof());
    dataSet.deleteRow(); // nothing left: nothing happens
    QVERIFY(dataSet.isOpen());
}

void TestDataSet::deleteRowWhileEditingDropsTheEdit()
{
    DataSet dataSet;
    dataSet.loadFromTable(basket());
    dataSet.first();
    dataSet.edit();
    dataSet.setValue(QStringLiteral("STOKNO"), 555);
    dataSet.deleteRow();
    QVERIFY(!dataSet.isEditing());
    dataSet.post();
    QCOMPARE(column(dataSet, 0), (QVector<int>{102, 103}));

    dataSet.append(); // deleting a row being appended only drops it
    dataSet.setValue(QStringLiteral("STOKNO"), 104);
    dataSet.deleteRow();
    QVERIFY(!dataSet.isEditing());
    QCOMPARE(column(dataSet, 0), (QVector<int>{102, 103}));
}

void TestDataSet::notificationsWhileDisabled()
{
    DataSet dataSet;
    dataSet.loadFromTable(basket());
    QSignalSpy resets(&dataSet, &DataSet::reset);
    QSignalSpy changed(&dataSet, &DataSet::rowChanged);

    dataSet.disableControls();
    dataSet.disableControls();
    dataSet.loadFromTable(basket());
    dataSet.edit();
    dataSet.setValue(QStringLiteral("SEC"), 1);
    dataSet.post();
    dataSet.deleteRow();
    dataSet.enableControls();
    QVERIFY(dataSet.controlsDisabled());
    QCOMPARE(resets.size(), 0);
    QCOMPARE(changed.size(), 0);
    dataSet.enableControls();
    QVERIFY(!dataSet.controlsDisabled());
    QCOMPARE(resets.size(), 1);
    QCOMPARE(changed.size(), 0);

    dataSet.enableControls(); // unbalanced: nothing more
    dataSet.disableControls();
    dataSet.enableControls(); // nothing changed: no reset
    QCOMPARE(resets.size(), 1);
    dataSet.disableControls();
    QVERIFY(dataSet.controlsDisabled());
    dataSet.enableControls();
    QVERIFY(!dataSet.controlsDisabled());
}

void TestDataSet::cursorMovesWhileDisabledAreReported()
{
    DataSet dataSet;
    dataSet.loadFromTable(basket());
    QSignalSpy moves(&dataSet, &DataSet::cursorMoved);
    QSignalSpy resets(&dataSet, &DataSet::reset);
    dataSet.disableControls();
    dataSet.last();
    dataSet.first();
    dataSet.next();
    QCOMPARE(moves.size(), 0);
    dataSet.enableControls();
    QCOMPARE(moves.size(), 1); // views learn the final row once
    QCOMPARE(moves.at(0).at(0).toInt(), 1);
    QCOMPARE(resets.size(), 0);
}

void TestDataSet::displayText_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    const int dbl = static_cast<int>(FieldType::Double);
    const int i32 = static_cast<int>(FieldType::Int32);
    const QString amount = QStringLiteral("#,###,##0.00");
    QTest::newRow("amount") << dbl << QVariant(1234.5) << amount << "1.234,50";
    QTest::newRow("amount negative") << dbl << QVariant(-1234567.891) << amount << "-1.234.567,89";
    QTest::newRow("amount zero") << dbl << QVariant(0.0) << amount << "0,00";
    QTest::newRow("amount null") << dbl << QVariant() << amount << "";
    QTest::newRow("double plain") << dbl << QVariant(2.5) << ""
                                  << "2,5";
    QTest::newRow("int with format") << i32 << QVariant(1234567) << "#,##0"
                                     << "1.234.567";
    QTest::newRow("int plain") << i32 << QVariant(1234567) << ""
                               << "1234567";
    QTest::newRow("bool") << static_cast<int>(FieldType::Bool) << QVariant(true) << ""
                          << "True";
    QTest::newRow("date") << static_cast<int>(FieldType::Date) << QVariant(45000.0) << ""
                          << "15.03.2023";
    QTest::newRow("text") << static_cast<int>(FieldType::Text) << QVariant(QStringLiteral("Ön tampon")) << ""
                          << "Ön tampon";
}

void TestDataSet::displayText()
{
    QFETCH(int, type);
    QFETCH(QVariant, value);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    Table table;
    table.columns = {{QStringLiteral("ALAN"), static_cast<FieldType>(type)}};
    table.rows = {{value}};
    DataSet dataSet;
    dataSet.loadFromTable(table);
    dataSet.setDisplayFormat(QStringLiteral("ALAN"), format);
    QCOMPARE(dataSet.displayText(0, 0, QLocale(QLocale::Turkish, QLocale::Turkey)), expected);
}

void TestDataSet::missingFieldGivesNull()
{
    DataSet dataSet;
    dataSet.loadFromTable(basket());
    QVERIFY(!dataSet.value(QStringLiteral("BARKOD")).isValid());
    QVERIFY(!dataSet.value(3, 0).isValid());
    QVERIFY(!dataSet.value(0, 4).isValid());
    QVERIFY(!dataSet.value(-1, 0).isValid());
    QCOMPARE(dataSet.displayText(0, 9), QString());
    QCOMPARE(dataSet.fieldIndex(QStringLiteral("BARKOD")), -1);
    dataSet.setDisplayFormat(QStringLiteral("BARKOD"), QStringLiteral("0.00")); // ignored
    dataSet.close();
    QVERIFY(!dataSet.value(QStringLiteral("STOKNO")).isValid());
    QCOMPARE(dataSet.fieldCount(), 0);
}

void TestDataSet::raggedRowsAreFilledWithNulls()
{
    Table table = basket();
    table.rows[0].resize(2);
    table.rows[1].append(QStringLiteral("fazla"));
    DataSet dataSet;
    dataSet.loadFromTable(table);
    QVERIFY(!dataSet.value(0, 3).isValid());
    QVERIFY(dataSet.locate(QStringLiteral("SEC"), 1));
    QCOMPARE(dataSet.recNo(), 1);
    QCOMPARE(dataSet.toTable().rows[1].size(), 4);
}

QTEST_GUILESS_MAIN(TestDataSet)
#include "test_data_set.moc"
