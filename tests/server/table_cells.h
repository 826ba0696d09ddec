#pragma once

#include "platform/table.h"

#include <QStringList>
#include <QVariant>

#include <stdexcept>
#include <string>

// Reading result tables in the server tests: a cell by column name (a missing column is an
// error, not a null) and the item codes of a stock list.
inline QVariant cell(const velmora::Table& table, int row, const char* column)
{
    const int index = table.columnIndex(QString::fromUtf8(column));
    if (index < 0)
        throw std::runtime_error(std::string("missing column ") + column);
    return table.rows.at(row).at(index);
}

inline QStringList codes(const velmora::Table& table)
{
    QStringList list;
    for (int row = 0; row < table.rows.size(); ++row)
        list << cell(table, row, "BARKOD").toString();
    return list;
}
