#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace velmora {

// Writes a one-sheet workbook in the Excel 97-2003 format (.xls): the header as the first row
// (bold), then the rows. A cell's value decides its kind: integers, doubles and other numbers
// become numbers, bool a Boolean, QDate and QDateTime dates, a null or invalid value an empty
// cell, anything else its text. Texts keep every Unicode character; a text longer than 32,767
// characters is cut there, as the format allows no more in one cell.
//
// The format holds at most 65,536 rows (the header included) and 256 columns; more throw
// std::invalid_argument. A file that cannot be written throws std::runtime_error; the file is
// replaced only when writing succeeded.
void writeXls(const QString& path, const QString& sheetName, const QStringList& header,
              const QVector<QVector<QVariant>>& rows);

} // namespace velmora
