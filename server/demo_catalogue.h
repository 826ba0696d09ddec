#pragma once

namespace velmora::server {

class Storage;

// Fills an empty catalogue with `items` believable stock items (brands, codes, OEM numbers, Turkish
// descriptions, prices, pack sizes, states, a few drawn pictures), discounts for every customer
// account, delivery kinds, cargo kinds and cargo companies, in one transaction. Returns false,
// changing nothing, when the catalogue already holds items.
bool fillDemoCatalogue(Storage& storage, int items);

} // namespace velmora::server
