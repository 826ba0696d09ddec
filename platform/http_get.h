#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>

namespace velmora {

// GET of an http:// address with deliberate time-outs; throws RemoteError (Transport) when the
// request fails or the answer is not 200.
QByteArray httpGet(const QString& url, std::chrono::milliseconds connectTimeout, std::chrono::milliseconds readTimeout);

} // namespace velmora
