#pragma once

#include <QLocale>
#include <QString>

namespace velmora {

// Display pattern of every amount.
inline constexpr const char* kAmountFormat = "#,###,##0.00";

// Formats a number with a picture such as "#,###,##0.00", "0.00" or "#,##0": ',' in the integer
// part groups thousands, '0' is a required digit, '#' an optional one. The separators come from
// `locale`. Halves round away from zero on the number as it reads with 15 significant digits.
QString formatNumber(double value, const QString& pattern, const QLocale& locale = QLocale());

// Rounds an amount to two decimals, halves away from zero on the amount as a person reads it:
// 2.675 -> 2.68, 1.005 -> 1.01, -1.005 -> -1.01.
double IkiHaneYuvarla(double value);

} // namespace velmora
