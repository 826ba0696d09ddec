#pragma once

#include "table.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

#include <optional>
#include <stdexcept>

namespace velmora {

// A message that is not what the wire contract says (bad JSON, missing field, wrong type).
class WireError : public std::runtime_error {
public:
    explicit WireError(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }
};

// The result and output parameters of one remote call.
struct CallAnswer {
    QJsonValue result;
    QJsonArray outputs;
};

// An error answer: {"error": {"class": ..., "message": ...}}.
struct ErrorAnswer {
    QString errorClass;
    QString message;
};

namespace wire {

// Scalars; each throws WireError naming `what` when the value has another kind.
QJsonValue fromInt64(qint64 value);
QJsonValue fromDouble(double value);
qint32 toInt32(const QJsonValue& value, const QString& what);
qint64 toInt64(const QJsonValue& value, const QString& what);
double toDouble(const QJsonValue& value, const QString& what);
bool toBool(const QJsonValue& value, const QString& what);
QString toText(const QJsonValue& value, const QString& what);

// Records: {"type": "<unit>.<Class>", "fields": {...}} or null.
QJsonValue encodeRecord(const QString& type, const QJsonObject& fields);
// Returns nothing for null; throws when the type differs from the expected one.
std::optional<QJsonObject> decodeRecord(const QJsonValue& value, const QString& expectedType);

// Tables: {"columns": [{"name", "type"}], "rows": [[...]]}.
QJsonObject encodeTable(const Table& table);
Table decodeTable(const QJsonValue& value);
Table decodeTable(const QByteArray& json); // straight from bytes, for a whole answer's result

// Requests and answers.
QByteArray encodeRequest(const QJsonArray& params);
QJsonArray decodeRequest(const QByteArray& body);
QByteArray encodeAnswer(const CallAnswer& answer);
CallAnswer decodeAnswer(const QByteArray& body);
QByteArray encodeError(const ErrorAnswer& error);
std::optional<ErrorAnswer> decodeError(const QByteArray& body);
// The outputs header of a stream answer: compact JSON with every non-ASCII letter as \uXXXX.
QByteArray encodeOutputsHeader(const QJsonArray& outputs);
QJsonArray decodeOutputsHeader(const QByteArray& header);

} // namespace wire
} // namespace velmora
