#pragma once

#include "platform/record.h"
#include "platform/wire_codec.h"
#include "remote/yontem_katalogu.h"

#include <QByteArray>
#include <QHash>
#include <QJsonArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <stdexcept>
#include <variant>

namespace velmora::server {

class Storage;

// A call that fails with an HTTP status and the error form {"error": {"class", "message"}}.
class CallError : public std::runtime_error {
public:
    CallError(int status, const QString& errorClass, const QString& message);
    int status() const { return m_status; }
    QString errorClass() const { return m_class; }
    QString message() const { return QString::fromUtf8(what()); }

    static CallError badRequest(const QString& message);

private:
    int m_status;
    QString m_class;
};

// The answer of a method whose result is a stream: its bytes and the output parameters.
struct StreamAnswer {
    QByteArray bytes;
    QJsonArray outputs;
};

using MethodAnswer = std::variant<CallAnswer, StreamAnswer>;

// What a handler gets: the parameters, already checked against the method's declared kinds, and
// the services of the server.
class CallContext {
public:
    CallContext(const UzakYontem& method, const QJsonArray& params, Storage& storage, QString remoteAddress);

    const UzakYontem& method() const { return m_method; }
    Storage& storage() const { return m_storage; }
    QString remoteAddress() const { return m_remoteAddress; }

    QString text(int ordinal) const;
    qint32 int32(int ordinal) const;
    qint64 int64(int ordinal) const;
    double number(int ordinal) const;
    bool boolean(int ordinal) const;
    // A record parameter with every field of R present and of its kind; nothing for null.
    template <class R> std::optional<R> record(int ordinal) const
    {
        try {
            return velmora::decodeRecord<R>(m_params.at(ordinal));
        } catch (const WireError& e) {
            throw CallError::badRequest(parameterText(ordinal, e.message()));
        }
    }

private:
    QString parameterText(int ordinal, const QString& problem) const;
    template <class F> auto take(int ordinal, F&& convert) const;

    const UzakYontem& m_method;
    const QJsonArray& m_params;
    Storage& m_storage;
    QString m_remoteAddress;
};

using MethodHandler = std::function<MethodAnswer(const CallContext&)>;

// The server's remote methods by name. Every method is one of the catalogue's, whose declared
// parameter and result kinds the table enforces on each call.
class MethodTable {
public:
    // Adds a handler for a catalogue method; throws std::logic_error for a name the catalogue
    // does not know or a method added twice.
    void add(const QString& name, MethodHandler handler);
    bool has(const QString& name) const { return m_handlers.contains(name); }
    QStringList names() const;

    // Checks the parameters, runs the handler and checks its answer against the declaration.
    // Throws CallError: 404 for an unknown method, 400 for wrong parameters, 501 for a catalogue
    // method without a handler, 500 for a handler that broke the declaration or failed.
    MethodAnswer call(const QString& name, const QJsonArray& params, Storage& storage,
                      const QString& remoteAddress) const;

private:
    QHash<QString, MethodHandler> m_handlers;
};

// Throws CallError 400 unless `params` match the method's declared inputs in count and kind.
void checkParameters(const UzakYontem& method, const QJsonArray& params);

} // namespace velmora::server
