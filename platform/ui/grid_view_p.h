#pragma once

// Parts of GridView that nobody else uses.

#include "platform/ui/grid_view.h"

#include <QHeaderView>
#include <QPersistentModelIndex>
#include <QSortFilterProxyModel>
#include <QStyledItemDelegate>
#include <QTableView>

namespace velmora {

// Keeps the rows whose text in every filtered column equals that column's filter value.
class GridFilterModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setColumnFilter(int column, const QString& value);
    void clearColumnFilter(int column);
    void clearColumnFilters();
    bool hasColumnFilter(int column) const { return m_filters.contains(column); }
    QString columnFilter(int column) const { return m_filters.value(column); }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QHash<int, QString> m_filters;
};

// The column header with a filter button at the right end of every section.
class GridHeader : public QHeaderView {
    Q_OBJECT
public:
    GridHeader(GridView* grid, QWidget* parent);
    void setFilterButtonsVisible(bool visible);
    bool filterButtonsVisible() const { return m_buttons; }
    bool hasFilterButton(int logicalIndex) const;
    QRect filterButtonRect(int logicalIndex) const; // in viewport coordinates

signals:
    void filterButtonClicked(int logicalIndex, const QPoint& globalPos);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    QSize sectionSizeFromContents(int logicalIndex) const override;

private:
    QRect buttonRectIn(const QRect& section) const;

    GridView* m_grid;
    bool m_buttons = true;
};

// The table: hands printable keys to the grid's type-ahead search.
class GridTable : public QTableView {
    Q_OBJECT
public:
    GridTable(GridView* grid, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    GridView* m_grid;
};

// The summary line under the table, its texts under their columns.
class GridFooter : public QWidget {
    Q_OBJECT
public:
    GridFooter(GridView* grid, QWidget* parent);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    GridView* m_grid;
};

// Paints every cell by its column's kind; buttons and editable check boxes take clicks.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(GridView* grid);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    const GridColumn& columnOf(const QModelIndex& index) const;
    void paintBackground(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

    GridView* m_grid;
    QPersistentModelIndex m_pressed; // button held down
};

} // namespace velmora
