#pragma once

namespace velmora::server {

class MethodTable;

// The ordering workspace: stock search and pictures, the basket, the delivery and cargo lists and
// saving an order.
void addOrderingMethods(MethodTable& table);

} // namespace velmora::server
