#pragma once

#include "platform/data_set.h"
#include "platform/ui/grid_column.h"

#include <QAbstractTableModel>
#include <QLocale>
#include <QPointer>

namespace velmora {

// A table model over a data set: one row per record, one column per grid column, bound to the
// data set's fields by name. It follows the data set's reset and row-change notifications; the
// row count and field bindings it reports change only with them, so a view never sees a
// half-refilled data set.
class DataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role {
        ValueRole = Qt::UserRole + 1, // the raw field value
        KeyRole,                      // the text that search and filters compare
        ProgressRole,                 // Progress cells: the value within 0 .. the column's maximum
    };

    explicit DataSetModel(QObject* parent = nullptr);

    void setColumns(const QVector<GridColumn>& columns);
    const QVector<GridColumn>& columns() const { return m_columns; }
    const GridColumn& column(int index) const { return m_columns[index]; }

    void setDataSet(DataSet* dataSet); // nullptr detaches
    DataSet* dataSet() const { return m_dataSet; }

    void setLocale(const QLocale& locale);
    QLocale locale() const { return m_locale; }

    // The data set field a column shows, -1 when unbound or missing.
    int fieldIndex(int column) const;
    // The column's alignment, its kind's default when the column names none.
    Qt::Alignment alignment(int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    void refresh(); // re-reads row count and bindings inside a model reset
    void bind();
    void onRowChanged(int row);
    QString keyText(int row, int column) const;

    QVector<GridColumn> m_columns;
    QVector<int> m_fields; // per column
    QPointer<DataSet> m_dataSet;
    QLocale m_locale;
    int m_rowCount = 0;
};

} // namespace velmora
