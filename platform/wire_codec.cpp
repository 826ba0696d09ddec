#include "wire_codec.h"

#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>
#include <limits>

namespace velmora {

WireError::WireError(const QString& message)
    : std::runtime_error(message.toStdString())
{
}

namespace wire {

namespace {

[[noreturn]] void wrongKind(const QString& what, const char* expected)
{
    throw WireError(QStringLiteral("Sunucu cevabı okunamadı: %1 %2 olmalı").arg(what, QString::fromUtf8(expected)));
}

QJsonObject parseObject(const QByteArray& body, const char* what)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError)
        throw WireError(
            QStringLiteral("Sunucu cevabı okunamadı: %1 (%2)").arg(QLatin1String(what), error.errorString()));
    if (!doc.isObject())
        throw WireError(QStringLiteral("Sunucu cevabı okunamadı: %1 bir nesne değil").arg(QLatin1String(what)));
    return doc.object();
}

bool isWholeNumber(double d)
{
    return std::isfinite(d) && std::trunc(d) == d;
}

QJsonValue encodeCell(const QVariant& cell, FieldType type)
{
    if (!cell.isValid() || cell.isNull())
        return QJsonValue::Null;
    switch (type) {
    case FieldType::Int32:
    case FieldType::Int64:
        return QJsonValue(cell.toLongLong());
    case FieldType::Double:
    case FieldType::Date:
        return QJsonValue(cell.toDouble());
    case FieldType::Bool:
        return QJsonValue(cell.toBool());
    case FieldType::Text:
        return QJsonValue(cell.toString());
    case FieldType::Blob:
        return QJsonValue(QString::fromLatin1(cell.toByteArray().toBase64()));
    }
    return QJsonValue::Null;
}

QVariant decodeCell(const QJsonValue& value, FieldType type, const QString& what)
{
    if (value.isNull())
        return {};
    switch (type) {
    case FieldType::Int32:
        return toInt32(value, what);
    case FieldType::Int64:
        return toInt64(value, what);
    case FieldType::Double:
    case FieldType::Date:
        return toDouble(value, what);
    case FieldType::Bool:
        return toBool(value, what);
    case FieldType::Text:
        return toText(value, what);
    case FieldType::Blob: {
        const auto decoded =
            QByteArray::fromBase64Encoding(toText(value, what).toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            wrongKind(what, "base64");
        return *decoded;
    }
    }
    return {};
}

} // namespace

QJsonValue fromInt64(qint64 value)
{
    return QJsonValue(value);
}
QJsonValue fromDouble(double value)
{
    return QJsonValue(value);
}

qint32 toInt32(const QJsonValue& value, const QString& what)
{
    const double d = value.toDouble(std::numeric_limits<double>::quiet_NaN());
    if (!value.isDouble() || !isWholeNumber(d) || d < std::numeric_limits<qint32>::min() ||
        d > std::numeric_limits<qint32>::max())
        wrongKind(what, "32 bitlik tam sayı");
    return static_cast<qint32>(d);
}

qint64 toInt64(const QJsonValue& value, const QString& what)
{
    if (!value.isDouble())
        wrongKind(what, "tam sayı");
    const QVariant exact = value.toVariant();
    if (exact.typeId() == QMetaType::LongLong)
        return exact.toLongLong();
    const double d = value.toDouble();
    if (!isWholeNumber(d) || std::fabs(d) > 9007199254740992.0)
        wrongKind(what, "tam sayı");
    return static_cast<qint64>(d);
}

double toDouble(const QJsonValue& value, const QString& what)
{
    if (!value.isDouble())
        wrongKind(what, "sayı");
    return value.toDouble();
}

bool toBool(const QJsonValue& value, const QString& what)
{
    if (!value.isBool())
        wrongKind(what, "mantıksal değer");
    return value.toBool();
}

QString toText(const QJsonValue& value, const QString& what)
{
    if (!value.isString())
        wrongKind(what, "metin");
    return value.toString();
}

QJsonValue encodeRecord(const QString& type, const QJsonObject& fields)
{
    return QJsonObject{{QStringLiteral("type"), type}, {QStringLiteral("fields"), fields}};
}

std::optional<QJsonObject> decodeRecord(const QJsonValue& value, const QString& expectedType)
{
    if (value.isNull() || value.isUndefined())
        return std::nullopt;
    if (!value.isObject())
        wrongKind(expectedType, "kayıt");
    const QJsonObject object = value.toObject();
    const QString type = object.value(QStringLiteral("type")).toString();
    if (type != expectedType)
        throw WireError(QStringLiteral("Sunucu cevabı okunamadı: %1 yerine %2 geldi")
                            .arg(expectedType, type.isEmpty() ? QStringLiteral("tipsiz kayıt") : type));
    const QJsonValue fields = object.value(QStringLiteral("fields"));
    if (!fields.isObject())
        wrongKind(expectedType + QStringLiteral(".fields"), "nesne");
    return fields.toObject();
}

QJsonObject encodeTable(const Table& table)
{
    QJsonArray columns;
    for (const Column& column : table.columns)
        columns.append(
            QJsonObject{{QStringLiteral("name"), column.name}, {QStringLiteral("type"), fieldTypeName(column.type)}});
    QJsonArray rows;
    for (const auto& row : table.rows) {
        QJsonArray cells;
        for (int c = 0; c < table.columns.size(); ++c)
            cells.append(encodeCell(c < row.size() ? row[c] : QVariant(), table.columns[c].type));
        rows.append(cells);
    }
    return QJsonObject{{QStringLiteral("columns"), columns}, {QStringLiteral("rows"), rows}};
}

Table decodeTable(const QJsonValue& value)
{
    if (!value.isObject())
        wrongKind(QStringLiteral("tablo"), "nesne");
    const QJsonObject object = value.toObject();
    const QJsonValue columnsValue = object.value(QStringLiteral("columns"));
    const QJsonValue rowsValue = object.value(QStringLiteral("rows"));
    if (!columnsValue.isArray())
        wrongKind(QStringLiteral("tablo sütunları"), "dizi");
    if (!rowsValue.isArray())
        wrongKind(QStringLiteral("tablo satırları"), "dizi");

    Table table;
    const QJsonArray columns = columnsValue.toArray();
    table.columns.reserve(columns.size());
    for (const QJsonValue& c : columns) {
        const QJsonObject column = c.toObject();
        Column decoded;
        decoded.name = toText(column.value(QStringLiteral("name")), QStringLiteral("sütun adı"));
        const QString typeName = toText(column.value(QStringLiteral("type")), QStringLiteral("sütun tipi"));
        if (!fieldTypeFromName(typeName, &decoded.type))
            throw WireError(QStringLiteral("Sunucu cevabı okunamadı: bilinmeyen sütun tipi %1").arg(typeName));
        table.columns.append(decoded);
    }

    const QJsonArray rows = rowsValue.toArray();
    const int columnCount = table.columns.size();
    table.rows.reserve(rows.size());
    for (const QJsonValue& r : rows) {
        if (!r.isArray())
            wrongKind(QStringLiteral("tablo satırı"), "dizi");
        const QJsonArray cells = r.toArray();
        if (cells.size() != columnCount)
            throw WireError(QStringLiteral("Sunucu cevabı okunamadı: satırda %1 yerine %2 hücre var")
                                .arg(columnCount)
                                .arg(cells.size()));
        QVector<QVariant> row;
        row.reserve(columnCount);
        for (int c = 0; c < columnCount; ++c)
            row.append(decodeCell(cells.at(c), table.columns[c].type, table.columns[c].name));
        table.rows.append(std::move(row));
    }
    return table;
}

Table decodeTable(const QByteArray& json)
{
    return decodeTable(QJsonValue(parseObject(json, "tablo")));
}

QByteArray encodeRequest(const QJsonArray& params)
{
    return QJsonDocument(QJsonObject{{QStringLiteral("params"), params}}).toJson(QJsonDocument::Compact);
}

QJsonArray decodeRequest(const QByteArray& body)
{
    const QJsonObject object = parseObject(body, "istek");
    const QJsonValue params = object.value(QStringLiteral("params"));
    if (!params.isArray())
        wrongKind(QStringLiteral("params"), "dizi");
    return params.toArray();
}

QByteArray encodeAnswer(const CallAnswer& answer)
{
    QJsonObject object{{QStringLiteral("result"), answer.result.isUndefined() ? QJsonValue::Null : answer.result},
                       {QStringLiteral("outputs"), answer.outputs}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

CallAnswer decodeAnswer(const QByteArray& body)
{
    const QJsonObject object = parseObject(body, "cevap");
    if (!object.contains(QStringLiteral("result")))
        throw WireError(QStringLiteral("Sunucu cevabı okunamadı: result alanı yok"));
    const QJsonValue outputs = object.value(QStringLiteral("outputs"));
    if (!outputs.isArray())
        wrongKind(QStringLiteral("outputs"), "dizi");
    return {object.value(QStringLiteral("result")), outputs.toArray()};
}

QByteArray encodeError(const ErrorAnswer& error)
{
    QJsonObject inner{{QStringLiteral("class"), error.errorClass}, {QStringLiteral("message"), error.message}};
    return QJsonDocument(QJsonObject{{QStringLiteral("error"), inner}}).toJson(QJsonDocument::Compact);
}

std::optional<ErrorAnswer> decodeError(const QByteArray& body)
{
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(body, &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonValue inner = doc.object().value(QStringLiteral("error"));
    if (!inner.isObject())
        return std::nullopt;
    const QJsonObject error = inner.toObject();
    return ErrorAnswer{error.value(QStringLiteral("class")).toString(),
                       error.value(QStringLiteral("message")).toString()};
}

QByteArray encodeOutputsHeader(const QJsonArray& outputs)
{
    const QByteArray utf8 =
        QJsonDocument(QJsonObject{{QStringLiteral("outputs"), outputs}}).toJson(QJsonDocument::Compact);
    const QString text = QString::fromUtf8(utf8);
    QByteArray ascii;
    ascii.reserve(text.size());
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80)
            ascii.append(static_cast<char>(ch.unicode()));
        else
            ascii.append(QStringLiteral("\\u%1").arg(ch.unicode(), 4, 16, QLatin1Char('0')).toLatin1());
    }
    return ascii;
}

QJsonArray decodeOutputsHeader(const QByteArray& header)
{
    const QJsonObject object = parseObject(header, "çıkış parametreleri");
    const QJsonValue outputs = object.value(QStringLiteral("outputs"));
    if (!outputs.isArray())
        wrongKind(QStringLiteral("outputs"), "dizi");
    return outputs.toArray();
}

} // namespace wire
} // namespace velmora
