#pragma once

#include <QString>

namespace velmora {

class GridView;

// Writes the rows the grid shows (all of them, not only those on screen) under its visible
// columns, in display order, to an Excel 97-2003 workbook; the captions form the first row.
// Numbers stay numbers and dates dates. A file name without the ".xls" extension gets it (an
// ".xlsx" one has it replaced, since the content is the older format). Returns the name
// written; throws std::runtime_error when the file cannot be written.
QString exportGridToXls(const GridView& grid, const QString& path);

} // namespace velmora
