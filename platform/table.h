#pragma once

#include <QString>
#include <QVariant>
#include <QVector>

namespace velmora {

// Column types as they travel on the wire and live in a client data set.
enum class FieldType {
    Int32,
    Int64,
    Double,
    Text,
    Bool,
    Date, // a day number (days since 1899-12-30) held as a double
    Blob,
};

QString fieldTypeName(FieldType type);
bool fieldTypeFromName(const QString& name, FieldType* type);

struct Column {
    QString name;
    FieldType type = FieldType::Text;
};

// A result table: what a reader or a data packet carries. A null cell is an invalid QVariant.
struct Table {
    QVector<Column> columns;
    QVector<QVector<QVariant>> rows;

    int columnIndex(const QString& name) const; // -1 when missing (case-insensitive)
};

} // namespace velmora
