#include "session_methods.h"

#include "method_table.h"
#include "storage.h"

#include "session/kayitlar.h"

namespace velmora::server {

namespace {

// The user registered for the computer, or a record with FVarmi false that still carries the
// identifier and the current client version, so that the client can route to the update or the
// new-account request. Every lookup goes to the session log.
MethodAnswer BuyukGetir(const CallContext& call)
{
    const TSonucBilgisi bilgi = call.storage().loginRecord(call.text(0), call.remoteAddress());
    return CallAnswer{velmora::encodeRecord(&bilgi), {}};
}

// Records the logout with the session record the client sends.
MethodAnswer CikisGonder(const CallContext& call)
{
    const auto bilgi = call.record<TSonucBilgisi>(0);
    if (!bilgi)
        throw CallError::badRequest(QStringLiteral("TServerMethods1.CikisGonder: oturum bilgisi (bilgi) boş olamaz"));
    call.storage().logSession(QStringLiteral("cikis"), *bilgi, call.remoteAddress());
    return CallAnswer{QJsonValue::Null, {}};
}

} // namespace

void addSessionMethods(MethodTable& table)
{
    table.add(QStringLiteral("BuyukGetir"), BuyukGetir);
    table.add(QStringLiteral("CikisGonder"), CikisGonder);
}

} // namespace velmora::server
