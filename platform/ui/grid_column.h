#pragma once

#include <QPixmap>
#include <QString>
#include <QStyleOptionViewItem>
#include <QVector>

#include <functional>

class QPainter;

namespace velmora {

class DataSet;

// How a grid cell shows its value.
enum class CellKind {
    Text,     // the field's text
    Number,   // the field's text in its display format, right-aligned
    CheckBox, // ticked when the value is non-zero
    Image,    // the picture at the cell's integer value in the column's list; none outside it
    Progress, // a bar filled to the value, out of the column's maximum
    Button,   // a push button; a click reports the row
    RichText, // the value as HTML
    Drawn,    // painted by the column's own painter
};

// Paints one cell of a drawn column. `row` is the data set row; `option.rect` is the cell and
// `option.state` tells whether the row is selected.
using CellPainter =
    std::function<void(QPainter& painter, const QStyleOptionViewItem& option, const DataSet& dataSet, int row)>;

// One column of a grid; every member has a default, so designated initialisers may name only
// what differs. Columns are bound to data set fields by name; a column whose field the data set
// lacks stays empty.
struct GridColumn {
    QString objectName{};
    QString fieldName{}; // empty: bound to no field (drawn or button columns)
    QString caption{};
    int weight = 0; // share of the width under the weight rule
    bool visible = true;
    bool offered = true;          // listed in the column chooser
    bool readOnly = true;         // an editable check box or text writes to the data set
    Qt::Alignment alignment = {}; // empty: by kind (numbers right, pictures and check boxes centred)
    bool wrap = false;
    CellKind kind = CellKind::Text;
    int width = 100;

    QVector<QPixmap> images{}; // Image
    int progressMaximum = 100; // Progress
    QString buttonText{};      // Button
    CellPainter painter{};     // Drawn
};

} // namespace velmora
