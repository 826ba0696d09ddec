#pragma once

namespace velmora::server {

class Storage;

// Demo account history for the demo accounts (terms, invoices, collections, carried-over
// balances), announcements, downloadable files, the banner and notes on the orders that exist.
void fillHistoryDemoData(Storage& storage);

} // namespace velmora::server
