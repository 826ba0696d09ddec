#include "method_table.h"

#include <QJsonObject>

#include <algorithm>
#include <utility>

namespace velmora::server {

namespace {

QString kindText(const Parametre& p)
{
    switch (p.tip) {
    case DegerTipi::Metin:
        return QStringLiteral("metin");
    case DegerTipi::Tamsayi:
        return QStringLiteral("32 bitlik tam sayı");
    case DegerTipi::Tamsayi64:
        return QStringLiteral("64 bitlik tam sayı");
    case DegerTipi::Ondalik:
        return QStringLiteral("sayı");
    case DegerTipi::Mantiksal:
        return QStringLiteral("mantıksal değer");
    case DegerTipi::Kayit:
        return QStringLiteral("%1 kaydı ya da null").arg(QLatin1String(p.kayitTipi));
    case DegerTipi::Okuyucu:
    case DegerTipi::Paket:
        return QStringLiteral("tablo");
    case DegerTipi::Akis:
        return QStringLiteral("akış");
    case DegerTipi::Yok:
        return QStringLiteral("null");
    }
    return {};
}

// Whether `value` has the kind that `p` declares. Tables are checked for their shape only.
bool hasKind(const QJsonValue& value, const Parametre& p)
{
    const QString what = QLatin1String(p.ad);
    try {
        switch (p.tip) {
        case DegerTipi::Metin:
            wire::toText(value, what);
            return true;
        case DegerTipi::Tamsayi:
            wire::toInt32(value, what);
            return true;
        case DegerTipi::Tamsayi64:
            wire::toInt64(value, what);
            return true;
        case DegerTipi::Ondalik:
            wire::toDouble(value, what);
            return true;
        case DegerTipi::Mantiksal:
            wire::toBool(value, what);
            return true;
        case DegerTipi::Kayit:
            wire::decodeRecord(value, QLatin1String(p.kayitTipi));
            return true;
        case DegerTipi::Okuyucu:
        case DegerTipi::Paket: {
            const QJsonObject table = value.toObject();
            return value.isObject() && table.value(QStringLiteral("columns")).isArray() &&
                   table.value(QStringLiteral("rows")).isArray();
        }
        case DegerTipi::Yok:
            return value.isNull() || value.isUndefined();
        case DegerTipi::Akis:
            return false;
        }
    } catch (const WireError&) {
        return false;
    }
    return false;
}

QString methodText(const UzakYontem& method)
{
    return QStringLiteral("TServerMethods1.%1").arg(QLatin1String(method.ad));
}

CallError brokenAnswer(const UzakYontem& method, const QString& problem)
{
    return CallError(
        500, QStringLiteral("InternalError"),
        QStringLiteral("Sunucu hatası: %1 cevabı bildirimine uymuyor (%2)").arg(methodText(method), problem));
}

void checkOutputs(const UzakYontem& method, const QJsonArray& outputs)
{
    if (outputs.size() != method.ciktilar.size())
        throw brokenAnswer(
            method, QStringLiteral("%1 çıkış parametresi yerine %2").arg(method.ciktilar.size()).arg(outputs.size()));
    for (int i = 0; i < outputs.size(); ++i) {
        if (!hasKind(outputs.at(i), method.ciktilar[i]))
            throw brokenAnswer(
                method,
                QStringLiteral("%1 %2 olmalı").arg(QLatin1String(method.ciktilar[i].ad), kindText(method.ciktilar[i])));
    }
}

void checkAnswer(const UzakYontem& method, const MethodAnswer& answer)
{
    const bool isStream = std::holds_alternative<StreamAnswer>(answer);
    if (isStream != (method.sonuc.tip == DegerTipi::Akis))
        throw brokenAnswer(method,
                           isStream ? QStringLiteral("akış beklenmiyordu") : QStringLiteral("akış bekleniyordu"));
    if (isStream) {
        checkOutputs(method, std::get<StreamAnswer>(answer).outputs);
        return;
    }
    const CallAnswer& call = std::get<CallAnswer>(answer);
    if (!hasKind(call.result, method.sonuc))
        throw brokenAnswer(method, QStringLiteral("sonuç %1 olmalı").arg(kindText(method.sonuc)));
    checkOutputs(method, call.outputs);
}

} // namespace

CallError::CallError(int status, const QString& errorClass, const QString& message)
    : std::runtime_error(message.toStdString())
    , m_status(status)
    , m_class(errorClass)
{
}

CallError CallError::badRequest(const QString& message)
{
    return CallError(400, QStringLiteral("BadRequest"), message);
}

void checkParameters(const UzakYontem& method, const QJsonArray& params)
{
    if (params.size() != method.girdiler.size())
        throw CallError::badRequest(QStringLiteral("%1 %2 parametre bekler, %3 geldi")
                                        .arg(methodText(method))
                                        .arg(method.girdiler.size())
                                        .arg(params.size()));
    for (int i = 0; i < params.size(); ++i) {
        const Parametre& p = method.girdiler[i];
        if (!hasKind(params.at(i), p))
            throw CallError::badRequest(QStringLiteral("%1: %2. parametre (%3) %4 olmalı")
                                            .arg(methodText(method))
                                            .arg(i)
                                            .arg(QLatin1String(p.ad), kindText(p)));
    }
}

CallContext::CallContext(const UzakYontem& method, const QJsonArray& params, Storage& storage, QString remoteAddress)
    : m_method(method)
    , m_params(params)
    , m_storage(storage)
    , m_remoteAddress(std::move(remoteAddress))
{
}

QString CallContext::parameterText(int ordinal, const QString& problem) const
{
    const QString name = ordinal < m_method.girdiler.size() ? QLatin1String(m_method.girdiler[ordinal].ad) : QString();
    return QStringLiteral("%1: %2. parametre (%3): %4").arg(methodText(m_method)).arg(ordinal).arg(name, problem);
}

template <class F> auto CallContext::take(int ordinal, F&& convert) const
{
    try {
        return convert(m_params.at(ordinal), QLatin1String(m_method.girdiler.value(ordinal).ad));
    } catch (const WireError& e) {
        throw CallError::badRequest(parameterText(ordinal, e.message()));
    }
}

QString CallContext::text(int ordinal) const
{
    return take(ordinal, wire::toText);
}
qint32 CallContext::int32(int ordinal) const
{
    return take(ordinal, wire::toInt32);
}
qint64 CallContext::int64(int ordinal) const
{
    return take(ordinal, wire::toInt64);
}
double CallContext::number(int ordinal) const
{
    return take(ordinal, wire::toDouble);
}
bool CallContext::boolean(int ordinal) const
{
    return take(ordinal, wire::toBool);
}

void MethodTable::add(const QString& name, MethodHandler handler)
{
    if (!uzakYontemBul(name))
        throw std::logic_error("method not in the catalogue: " + name.toStdString());
    if (m_handlers.contains(name))
        throw std::logic_error("method added twice: " + name.toStdString());
    m_handlers.insert(name, std::move(handler));
}

QStringList MethodTable::names() const
{
    QStringList list = m_handlers.keys();
    std::sort(list.begin(), list.end());
    return list;
}

MethodAnswer MethodTable::call(const QString& name, const QJsonArray& params, Storage& storage,
                               const QString& remoteAddress) const
{
    const UzakYontem* method = uzakYontemBul(name);
    if (!method)
        throw CallError(404, QStringLiteral("UnknownMethod"),
                        QStringLiteral("Bilinmeyen yöntem: TServerMethods1.%1").arg(name));
    checkParameters(*method, params);
    const auto handler = m_handlers.constFind(name);
    if (handler == m_handlers.constEnd())
        throw CallError(501, QStringLiteral("NotImplemented"),
                        QStringLiteral("TServerMethods1.%1 bu sunucuda henüz yok").arg(name));
    MethodAnswer answer = (*handler)(CallContext(*method, params, storage, remoteAddress));
    checkAnswer(*method, answer);
    return answer;
}

} // namespace velmora::server
