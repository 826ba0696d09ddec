#include "platform/wire_codec.h"

#include <QJsonDocument>
#include <QTest>

#include <limits>

using namespace velmora;

namespace {

// One value through the bytes of an answer, as the client receives it from the server.
QJsonValue throughAnswer(const QJsonValue& value)
{
    const CallAnswer answer = wire::decodeAnswer(wire::encodeAnswer({value, QJsonArray{value}}));
    if (answer.outputs.size() != 1)
        throw std::logic_error("output lost");
    return answer.result;
}

// One value through the bytes of a request, as the server receives it.
QJsonValue throughRequest(const QJsonValue& value)
{
    const QJsonArray params = wire::decodeRequest(wire::encodeRequest(QJsonArray{value}));
    return params.at(0);
}

const QString kTurkish = QStringLiteral("ğüşıöçĞÜŞİÖÇ");

Table everyKindTable()
{
    Table table;
    table.columns = {{QStringLiteral("STOKNO"), FieldType::Int32},  {QStringLiteral("KAYITNO"), FieldType::Int64},
                     {QStringLiteral("FIYAT"), FieldType::Double},  {QStringLiteral("STOKADI"), FieldType::Text},
                     {QStringLiteral("RESIMVAR"), FieldType::Bool}, {QStringLiteral("TARIH"), FieldType::Date},
                     {QStringLiteral("RESIM"), FieldType::Blob}};
    QByteArray allBytes;
    for (int b = 0; b < 256; ++b)
        allBytes.append(static_cast<char>(b));
    table.rows.append({std::numeric_limits<qint32>::min(), qint64(9007199254740993LL), 0.1,
                       kTurkish + QStringLiteral(" \"tırnak\" \\ \n\t\x01"), true, 45000.0, allBytes});
    table.rows.append({std::numeric_limits<qint32>::max(), std::numeric_limits<qint64>::min(), -1234567.891, QString(),
                       false, 0.0, QByteArray()});
    table.rows.append({QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()});
    return table;
}

} // namespace

class TestWireCodec : public QObject {
    Q_OBJECT
private slots:
    void int32RoundTrip_data();
    void int32RoundTrip();
    void int64RoundTrip_data();
    void int64RoundTrip();
    void doubleRoundTrip_data();
    void doubleRoundTrip();
    void boolAndTextRoundTrip();
    void tableRoundTrip();
    void emptyTableRoundTrip();
    void scalarOfWrongKindIsWireError_data();
    void scalarOfWrongKindIsWireError();
    void malformedTableIsWireError_data();
    void malformedTableIsWireError();
    void malformedMessageIsWireError_data();
    void malformedMessageIsWireError();
    void errorAnswer();
    void outputsHeaderIsAsciiAndReadsBack();
};

void TestWireCodec::int32RoundTrip_data()
{
    QTest::addColumn<qint32>("value");
    QTest::newRow("min") << std::numeric_limits<qint32>::min();
    QTest::newRow("max") << std::numeric_limits<qint32>::max();
    QTest::newRow("zero") << 0;
    QTest::newRow("minus one") << -1;
}

void TestWireCodec::int32RoundTrip()
{
    QFETCH(qint32, value);
    QCOMPARE(wire::toInt32(throughAnswer(wire::fromInt64(value)), "x"), value);
    QCOMPARE(wire::toInt32(throughRequest(wire::fromInt64(value)), "x"), value);
}

void TestWireCodec::int64RoundTrip_data()
{
    QTest::addColumn<qint64>("value");
    QTest::newRow("2^53 + 1") << qint64(9007199254740993LL);
    QTest::newRow("-(2^53 + 1)") << qint64(-9007199254740993LL);
    QTest::newRow("max") << std::numeric_limits<qint64>::max();
    QTest::newRow("min") << std::numeric_limits<qint64>::min();
    QTest::newRow("stream size") << qint64(5368709120LL);
}

void TestWireCodec::int64RoundTrip()
{
    QFETCH(qint64, value);
    QCOMPARE(wire::toInt64(throughAnswer(wire::fromInt64(value)), "x"), value);
    QCOMPARE(wire::toInt64(throughRequest(wire::fromInt64(value)), "x"), value);
}

void TestWireCodec::doubleRoundTrip_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("0.1") << 0.1;
    QTest::newRow("1e-300") << 1e-300;
    QTest::newRow("123456789.123456789") << 123456789.123456789;
    QTest::newRow("-0.0") << -0.0;
    QTest::newRow("whole") << 42.0;
    QTest::newRow("beyond int64") << 1e19;
    QTest::newRow("max") << std::numeric_limits<double>::max();
    QTest::newRow("denormal") << std::numeric_limits<double>::denorm_min();
    QTest::newRow("1/3") << 1.0 / 3.0;
}

void TestWireCodec::doubleRoundTrip()
{
    QFETCH(double, value);
    for (const QJsonValue& back : {throughAnswer(wire::fromDouble(value)), throughRequest(wire::fromDouble(value))}) {
        // Exact bits, except that a negative zero arrives as zero (JSON "-0" reads as integer).
        const double read = wire::toDouble(back, "x");
        QVERIFY2(read == value, qPrintable(QString::number(read, 'g', 17))); // exact, not fuzzy
    }
}

void TestWireCodec::boolAndTextRoundTrip()
{
    QCOMPARE(wire::toBool(throughAnswer(true), "x"), true);
    QCOMPARE(wire::toBool(throughRequest(false), "x"), false);
    QString control;
    for (char16_t c = 1; c < 0x20; ++c)
        control.append(QChar(c));
    const QStringList texts{kTurkish, QStringLiteral("\"alıntı\" ve \\ ters bölü / eğik"), control, QString(),
                            QStringLiteral("emoji 🚗 ve €")};
    for (const QString& text : texts) {
        QCOMPARE(wire::toText(throughAnswer(text), "x"), text);
        QCOMPARE(wire::toText(throughRequest(text), "x"), text);
    }
}

void TestWireCodec::tableRoundTrip()
{
    const Table table = everyKindTable();
    const QByteArray body = wire::encodeAnswer({wire::encodeTable(table), {}});
    for (const Table& back : {wire::decodeTable(wire::decodeAnswer(body).result),
                              wire::decodeTable(QJsonDocument(wire::encodeTable(table)).toJson())}) {
        QCOMPARE(back.columns.size(), table.columns.size());
        for (int c = 0; c < table.columns.size(); ++c) {
            QCOMPARE(back.columns[c].name, table.columns[c].name);
            QCOMPARE(back.columns[c].type, table.columns[c].type);
        }
        QCOMPARE(back.rows.size(), table.rows.size());
        for (int r = 0; r < table.rows.size(); ++r) {
            for (int c = 0; c < table.columns.size(); ++c) {
                const QVariant& expected = table.rows[r][c];
                const QVariant& actual = back.rows[r][c];
                const QByteArray where = QStringLiteral("row %1 column %2").arg(r).arg(c).toUtf8();
                QVERIFY2(actual.isValid() == expected.isValid(), where.constData());
                QVERIFY2(actual == expected, where.constData());
            }
        }
    }
    // Cells carry the column's type, whatever JSON number form they came in.
    const Table back = wire::decodeTable(QJsonValue(wire::encodeTable(table)));
    QCOMPARE(back.rows[0][0].typeId(), QMetaType::Int);
    QCOMPARE(back.rows[0][1].typeId(), QMetaType::LongLong);
    QCOMPARE(back.rows[1][5].typeId(), QMetaType::Double);
    QCOMPARE(back.rows[0][6].typeId(), QMetaType::QByteArray);
    QCOMPARE(back.rows[0][6].toByteArray().size(), 256);
}

void TestWireCodec::emptyTableRoundTrip()
{
    Table table;
    table.columns = {{QStringLiteral("SEC"), FieldType::Int32}};
    const Table back = wire::decodeTable(QJsonValue(wire::encodeTable(table)));
    QCOMPARE(back.columns.size(), 1);
    QCOMPARE(back.rows.size(), 0);
}

void TestWireCodec::scalarOfWrongKindIsWireError_data()
{
    QTest::addColumn<QByteArray>("json"); // the value, inside [ ]
    QTest::addColumn<QString>("kind");
    QTest::newRow("text for int32") << QByteArray("\"12\"") << "int32";
    QTest::newRow("2^40 for int32") << QByteArray("1099511627776") << "int32";
    QTest::newRow("2^31 for int32") << QByteArray("2147483648") << "int32";
    QTest::newRow("1.5 for int32") << QByteArray("1.5") << "int32";
    QTest::newRow("null for int32") << QByteArray("null") << "int32";
    QTest::newRow("1.5 for int64") << QByteArray("1.5") << "int64";
    QTest::newRow("bool for int64") << QByteArray("true") << "int64";
    QTest::newRow("1e300 for int64") << QByteArray("1e300") << "int64";
    QTest::newRow("text for double") << QByteArray("\"1.5\"") << "double";
    QTest::newRow("null for double") << QByteArray("null") << "double";
    QTest::newRow("1 for bool") << QByteArray("1") << "bool";
    QTest::newRow("number for text") << QByteArray("12") << "text";
    QTest::newRow("null for text") << QByteArray("null") << "text";
}

void TestWireCodec::scalarOfWrongKindIsWireError()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, kind);
    const QJsonValue value = wire::decodeRequest("{\"params\":[" + json + "]}").at(0);
    try {
        if (kind == QLatin1String("int32"))
            wire::toInt32(value, QStringLiteral("FSirano"));
        else if (kind == QLatin1String("int64"))
            wire::toInt64(value, QStringLiteral("FSirano"));
        else if (kind == QLatin1String("double"))
            wire::toDouble(value, QStringLiteral("FSirano"));
        else if (kind == QLatin1String("bool"))
            wire::toBool(value, QStringLiteral("FSirano"));
        else
            wire::toText(value, QStringLiteral("FSirano"));
        QFAIL("accepted");
    } catch (const WireError& e) {
        QVERIFY2(e.message().contains(QLatin1String("FSirano")), qPrintable(e.message()));
    }
}

void TestWireCodec::malformedTableIsWireError_data()
{
    QTest::addColumn<QByteArray>("json");
    const QByteArray cols = R"("columns":[{"name":"A","type":"int32"},{"name":"B","type":"blob"}])";
    QTest::newRow("not an object") << QByteArray("[1,2]");
    QTest::newRow("no rows") << "{" + cols + "}";
    QTest::newRow("no columns") << QByteArray(R"({"rows":[]})");
    QTest::newRow("rows not an array") << "{" + cols + R"(,"rows":{}})";
    QTest::newRow("row not an array") << "{" + cols + R"(,"rows":[1]})";
    QTest::newRow("row too short") << "{" + cols + R"(,"rows":[[1]]})";
    QTest::newRow("row too long") << "{" + cols + R"(,"rows":[[1,"",2]]})";
    QTest::newRow("text in int32") << "{" + cols + R"(,"rows":[["1",""]]})";
    QTest::newRow("2^40 in int32") << "{" + cols + R"(,"rows":[[1099511627776,""]]})";
    QTest::newRow("1.5 in int32") << "{" + cols + R"(,"rows":[[1.5,""]]})";
    QTest::newRow("bad base64") << "{" + cols + R"(,"rows":[[1,"@@not base64@@"]]})";
    QTest::newRow("number in blob") << "{" + cols + R"(,"rows":[[1,5]]})";
    QTest::newRow("unknown column type") << QByteArray(R"({"columns":[{"name":"A","type":"currency"}],"rows":[]})");
    QTest::newRow("column without name") << QByteArray(R"({"columns":[{"type":"int32"}],"rows":[]})");
    QTest::newRow("column not an object") << QByteArray(R"({"columns":["A"],"rows":[]})");
}

void TestWireCodec::malformedTableIsWireError()
{
    QFETCH(QByteArray, json);
    QVERIFY_THROWS_EXCEPTION(WireError, wire::decodeTable(json));
    // The same table as the result of an answer.
    const QByteArray answer = "{\"result\":" + json + ",\"outputs\":[]}";
    QVERIFY_THROWS_EXCEPTION(WireError, wire::decodeTable(wire::decodeAnswer(answer).result));
}

void TestWireCodec::malformedMessageIsWireError_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("isRequest");
    QTest::newRow("answer not JSON") << QByteArray("<html>502</html>") << false;
    QTest::newRow("answer empty") << QByteArray() << false;
    QTest::newRow("answer truncated") << QByteArray(R"({"result":[1,2)") << false;
    QTest::newRow("answer an array") << QByteArray("[]") << false;
    QTest::newRow("answer without result") << QByteArray(R"({"outputs":[]})") << false;
    QTest::newRow("answer without outputs") << QByteArray(R"({"result":1})") << false;
    QTest::newRow("outputs not an array") << QByteArray(R"({"result":1,"outputs":3})") << false;
    QTest::newRow("request not JSON") << QByteArray("params=1") << true;
    QTest::newRow("request without params") << QByteArray(R"({"args":[]})") << true;
    QTest::newRow("params not an array") << QByteArray(R"({"params":"x"})") << true;
}

void TestWireCodec::malformedMessageIsWireError()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, isRequest);
    if (isRequest)
        QVERIFY_THROWS_EXCEPTION(WireError, wire::decodeRequest(body));
    else
        QVERIFY_THROWS_EXCEPTION(WireError, wire::decodeAnswer(body));
}

void TestWireCodec::errorAnswer()
{
    const ErrorAnswer sent{QStringLiteral("EDatabaseError"), QStringLiteral("Sipariş kaydedilemedi: ürün bulunamadı")};
    const auto back = wire::decodeError(wire::encodeError(sent));
    QVERIFY(back.has_value());
    QCOMPARE(back->errorClass, sent.errorClass);
    QCOMPARE(back->message, sent.message);
    QVERIFY(!wire::decodeError(R"({"result":1,"outputs":[]})").has_value());
    QVERIFY(!wire::decodeError("Internal Server Error").has_value());
}

void TestWireCodec::outputsHeaderIsAsciiAndReadsBack()
{
    const QJsonArray outputs{qint64(5368709120LL), QStringLiteral("Şubat kampanyası \"ÖZEL\" \\ 🚗.pdf"), kTurkish,
                             QJsonValue::Null};
    const QByteArray header = wire::encodeOutputsHeader(outputs);
    for (const char ch : header) {
        const auto byte = static_cast<unsigned char>(ch);
        QVERIFY2(byte >= 0x20 && byte < 0x7f, header.constData());
    }
    QCOMPARE(wire::decodeOutputsHeader(header), outputs);
    QCOMPARE(wire::toInt64(wire::decodeOutputsHeader(header).at(0), "size"), 5368709120LL);
    QVERIFY_THROWS_EXCEPTION(WireError, wire::decodeOutputsHeader("{\"outputs\":"));
}

QTEST_GUILESS_MAIN(TestWireCodec)
#include "test_wire_codec.moc"
