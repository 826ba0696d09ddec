#pragma once

#include "platform/data_set.h"
#include "platform/ui/grid_column.h"

#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QWidget>

class QMenu;
class QModelIndex;
class QTableView;

namespace velmora {

class DataSetModel;
class GridDelegate;
class GridFilterModel;
class GridFooter;
class GridHeader;
class GridTable;

// Windows (or screens) wider than this get the weight rule; narrower ones best fit.
inline constexpr int kWideLayoutWidth = 1152;
inline constexpr int kMinimumColumnWidth = 20;

// The weight rule: U = (gridWidth - 30) / (sum of the weights), truncated; each column gets its
// weight times U. When every weight is 0 the columns share the width equally. No column gets
// less than kMinimumColumnWidth, so a column of weight 0 among weighted ones stays reachable.
QVector<int> columnWidthsByWeight(const QVector<int>& weights, int gridWidth);

enum class SummaryKind {
    Count, // rows shown
    Sum,   // the column's values over the rows shown, in the field's display format
};

// A read-only-by-default grid over a data set: a table with whole-row focus, per-kind cell
// painting, type-ahead search in the focused column, a filter button in every column header, a
// column chooser on the header's context menu, and a footer with count and sum summaries. The
// focused row and the data set's cursor follow each other.
//
// Rows are addressed by their data set row number unless a name says otherwise.
class GridView : public QWidget {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);
    ~GridView() override;

    // Columns, addressed by their object names.
    void setColumns(const QVector<GridColumn>& columns);
    const QVector<GridColumn>& columns() const { return m_columns; }
    int columnIndex(const QString& objectName) const; // -1 when missing
    void setColumnVisible(const QString& objectName, bool visible);
    bool isColumnVisible(const QString& objectName) const;
    void setColumnOffered(const QString& objectName, bool offered);
    void setColumnWidth(const QString& objectName, int width);
    int columnWidth(const QString& objectName) const;
    QStringList visibleColumns() const; // in display order
    QString focusedColumn() const;      // object name of the focused cell's column

    // The data set; nullptr detaches the grid while a load refills the data set. A detached
    // grid shows nothing and its table is disabled.
    void setDataSet(DataSet* dataSet);
    DataSet* dataSet() const;
    bool isAttached() const { return dataSet() != nullptr; }

    // Rows shown (after the column filters) and the data set row behind each of them.
    int rowCount() const;
    int dataRow(int shownRow) const;
    int focusedRow() const; // -1 when none
    void setFocusedRow(int row);

    // Look and size.
    void setRowHeight(int height);
    int rowHeight() const;
    void setHeaderHeight(int height);
    int headerHeight() const;
    void setFooterVisible(bool visible);
    void setFilterButtonsVisible(bool visible);
    void setColumnChooserEnabled(bool enabled);
    void setIncrementalSearchEnabled(bool enabled);
    void setIncrementalSearchInterval(int milliseconds); // pause that starts a new search text

    // Changes between these repaint once.
    void beginUpdate();
    void endUpdate();

    // Widths.
    void applyWeightWidths(int gridWidth);
    void applyWidthRule(int referenceWidth, int gridWidth); // wider than kWideLayoutWidth: weights
    void bestFit(const QString& objectName);
    void bestFitAll(); // visible columns

    // Footer.
    void setSummary(const QString& objectName, SummaryKind kind);
    void clearSummaries();
    QString summaryText(const QString& objectName) const; // empty without a summary

    // Column filters: a column shows only rows whose text equals its filter value.
    QStringList filterValues(const QString& objectName) const; // distinct texts, sorted
    void setFilter(const QString& objectName, const QString& value);
    void clearFilter(const QString& objectName);
    void clearFilters();
    bool isFiltered(const QString& objectName) const;

    // The menus the header offers; the caller owns them.
    QMenu* createFilterMenu(const QString& objectName, QWidget* parent = nullptr);
    QMenu* createColumnChooserMenu(QWidget* parent = nullptr);

    QTableView* tableView() const;
    DataSetModel* model() const { return m_model; }

signals:
    void doubleClicked(int row);
    void contextMenuRequested(int row, const QPoint& globalPos);
    void buttonClicked(const QString& columnObjectName, int row);
    void focusedRowChanged(int row);

protected:
    void changeEvent(QEvent* event) override;

private:
    friend class GridDelegate;
    friend class GridFooter;
    friend class GridHeader;
    friend class GridTable;

    bool typeAhead(const QString& text);
    void onCurrentChanged(const QModelIndex& current);
    void onCursorMoved(int row);
    void syncFromCursor();
    void summariesChanged();
    void computeSummaries() const;
    void showFilterMenu(int column, const QPoint& globalPos);
    void showColumnChooser(const QPoint& globalPos);
    int requireColumn(const QString& objectName) const;

    QVector<GridColumn> m_columns;
    DataSetModel* m_model = nullptr;
    GridFilterModel* m_filter = nullptr;
    GridTable* m_table = nullptr;
    GridHeader* m_header = nullptr;
    GridFooter* m_footer = nullptr;
    GridDelegate* m_delegate = nullptr;
    QPointer<DataSet> m_dataSet;
    bool m_syncing = false;
    int m_updateDepth = 0;
    bool m_columnChooser = true;
    bool m_incrementalSearch = true;
    int m_searchInterval = 1000;
    QString m_searchText;
    QElapsedTimer m_searchClock;
    QHash<int, SummaryKind> m_summaryKinds;
    mutable QHash<int, QString> m_summaryTexts;
    mutable bool m_summariesDirty = true;
};

} // namespace velmora
