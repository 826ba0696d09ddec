#pragma once

#include "wire_codec.h"

#include <QJsonObject>
#include <QString>

#include <optional>

namespace velmora {

// Records that cross the wire list their fields once, in a member function template
//     template <class V> void alanlar(V&& v) { v("FADI", FADI); ... }
// and carry their wire name in `static constexpr const char* wireType`. These helpers turn
// such a record into its JSON form and back, every field under its field name.

namespace detail {
struct FieldWriter {
    QJsonObject& out;
    void operator()(const char* name, const QString& v) { out.insert(QLatin1String(name), v); }
    void operator()(const char* name, qint32 v) { out.insert(QLatin1String(name), v); }
    void operator()(const char* name, qint64 v) { out.insert(QLatin1String(name), v); }
    void operator()(const char* name, double v) { out.insert(QLatin1String(name), v); }
    void operator()(const char* name, bool v) { out.insert(QLatin1String(name), v); }
};

struct FieldReader {
    const QJsonObject& in;
    QString type;
    QJsonValue take(const char* name) const
    {
        const QJsonValue v = in.value(QLatin1String(name));
        if (v.isUndefined())
            throw WireError(
                QStringLiteral("Sunucu cevabı okunamadı: %1 kaydında %2 alanı yok").arg(type, QLatin1String(name)));
        return v;
    }
    QString what(const char* name) const { return type + QLatin1Char('.') + QLatin1String(name); }
    void operator()(const char* name, QString& v) const { v = wire::toText(take(name), what(name)); }
    void operator()(const char* name, qint32& v) const { v = wire::toInt32(take(name), what(name)); }
    void operator()(const char* name, qint64& v) const { v = wire::toInt64(take(name), what(name)); }
    void operator()(const char* name, double& v) const { v = wire::toDouble(take(name), what(name)); }
    void operator()(const char* name, bool& v) const { v = wire::toBool(take(name), what(name)); }
};
} // namespace detail

template <class R> QJsonObject recordFields(const R& record)
{
    QJsonObject out;
    const_cast<R&>(record).alanlar(detail::FieldWriter{out});
    return out;
}

template <class R> QJsonValue encodeRecord(const R* record)
{
    if (!record)
        return QJsonValue::Null;
    return wire::encodeRecord(QLatin1String(R::wireType), recordFields(*record));
}

// Reads a record's fields from their JSON form; every field must be present with its kind.
template <class R> void readRecordFields(R& record, const QJsonObject& fields)
{
    record.alanlar(detail::FieldReader{fields, QLatin1String(R::wireType)});
}

// A missing record (null) gives nothing.
template <class R> std::optional<R> decodeRecord(const QJsonValue& value)
{
    const auto fields = wire::decodeRecord(value, QLatin1String(R::wireType));
    if (!fields)
        return std::nullopt;
    R record;
    readRecordFields(record, *fields);
    return record;
}

} // namespace velmora

// Declares a field F<name> with its property <name>() and set<name>().
#define VELMORA_ALAN_ILK(Type, Name, Initial)                                                                          \
public:                                                                                                                \
    Type F##Name = Initial;                                                                                            \
    const Type& Name() const                                                                                           \
    {                                                                                                                  \
        return F##Name;                                                                                                \
    }                                                                                                                  \
    void set##Name(const Type& value)                                                                                  \
    {                                                                                                                  \
        F##Name = value;                                                                                               \
    }
#define VELMORA_ALAN(Type, Name) VELMORA_ALAN_ILK(Type, Name, Type{})
