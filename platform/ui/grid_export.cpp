#include "grid_export.h"

#include "platform/data_set.h"
#include "platform/ui/data_set_model.h"
#include "platform/ui/grid_view.h"
#include "platform/xls_writer.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTextDocumentFragment>

#include <cmath>

namespace velmora {
namespace {

QString withXlsExtension(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xls"))
        return path;
    if (suffix == QLatin1String("xlsx"))
        return path.chopped(1);
    return path + QStringLiteral(".xls");
}

// The value a cell carries into the workbook.
QVariant exportValue(const DataSet& dataSet, int row, int field, const GridColumn& column)
{
    const QVariant value = dataSet.value(row, field);
    if (!value.isValid() || value.isNull())
        return {};
    switch (dataSet.fields()[field].type) {
    case FieldType::Int32:
    case FieldType::Int64:
        return value.toLongLong();
    case FieldType::Double:
        return value.toDouble();
    case FieldType::Bool:
        return value.toBool();
    case FieldType::Date: {
        const double day = value.toDouble();
        const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(day)));
        const double fraction = day - std::floor(day);
        if (fraction == 0)
            return date;
        return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(std::lround(fraction * 86400000.0))));
    }
    case FieldType::Blob:
        return {};
    case FieldType::Text:
        break;
    }
    if (column.kind == CellKind::RichText)
        return QTextDocumentFragment::fromHtml(value.toString()).toPlainText();
    return value.toString();
}

} // namespace

QString exportGridToXls(const GridView& grid, const QString& path)
{
    const QString target = withXlsExtension(path);
    QStringList header;
    QVector<int> columns;
    for (const QString& name : grid.visibleColumns()) {
        const int column = grid.columnIndex(name);
        columns.append(column);
        header.append(grid.columns()[column].caption);
    }

    QVector<QVector<QVariant>> rows;
    const DataSet* dataSet = grid.dataSet();
    if (dataSet) {
        rows.reserve(grid.rowCount());
        for (int shown = 0; shown < grid.rowCount(); ++shown) {
            const int row = grid.dataRow(shown);
            QVector<QVariant> cells;
            cells.reserve(columns.size());
            for (int column : columns) {
                const int field = grid.model()->fieldIndex(column);
                const GridColumn& definition = grid.columns()[column];
                const bool bound =
                    field >= 0 && definition.kind != CellKind::Drawn && definition.kind != CellKind::Button;
                cells.append(bound ? exportValue(*dataSet, row, field, definition) : QVariant());
            }
            rows.append(std::move(cells));
        }
    }
    writeXls(target, QStringLiteral("Sayfa1"), header, rows);
    return target;
}

} // namespace velmora
