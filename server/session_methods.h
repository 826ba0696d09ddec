#pragma once

namespace velmora::server {

class MethodTable;

// BuyukGetir and CikisGonder: the login lookup by computer identifier and the logout notice.
void addSessionMethods(MethodTable& table);

} // namespace velmora::server
