#pragma once

#include "platform/table.h"

#include <QSqlDatabase>
#include <QString>

namespace velmora::server {

class MethodTable;

// The ordering workspace: stock search and pictures, the basket, the delivery and cargo lists and
// saving an order.
void addOrderingMethods(MethodTable& table);

// The stock search behind StokAraVelmora2, with the prices of `account` (0: list prices), on a
// connection inside a transaction.
velmora::Table searchStock(QSqlDatabase& db, const QString& text, qint32 account);

} // namespace velmora::server
