#pragma once

#include <QString>
#include <QStringList>

namespace velmora::server {

enum class Engine;

// One schema step: brands, stock items with their pictures and search index, customer
// discounts, baskets, delivery and cargo choices, orders and order lines.
QStringList orderingSchema(Engine engine);

// Search form of a text: Turkish letters and circumflexed vowels folded to their plain upper-case
// letters, other ASCII letters upper-cased. The search index holds texts in this form, built by the
// same rules in SQL.
QString searchFold(const QString& text);
// A code without blanks, dashes, dots and slashes, so that "0 986-494.123" and "0986494123" meet.
QString compactCode(const QString& foldedCode);

} // namespace velmora::server
