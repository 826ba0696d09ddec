#pragma once

namespace velmora::server {

class MethodTable;

// The account history, the representative desk, the notices and the mails: previous orders,
// order lines and footers, the statement with invoices and collections, order balances and their
// changes, new and campaign stock, announcements, files, customer lists and status counts,
// reports, tab counts, news line, banner, and the requests and mails sent to the distributor.
void addHistoryMethods(MethodTable& table);

} // namespace velmora::server
