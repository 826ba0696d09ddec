#include "grid_view.h"
#include "grid_view_p.h"

#include "platform/data_set.h"
#include "platform/number_format.h"
#include "platform/ui/data_set_model.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QSet>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace velmora {

namespace {

constexpr int kFilterButtonWidth = 16;
constexpr int kMaxFilterValues = 500; // a menu longer than this helps nobody
const QString kAllValues = QStringLiteral("(Tümü)");
const QString kEmptyValue = QStringLiteral("(Boş)");

// Type-ahead compares without case and without telling dotted from dotless i, so that "is" finds
// both "İSTANBUL" and "ISTANBUL".
QString searchKey(const QString& text)
{
    QString key = text.toLower();
    key.replace(QChar(0x0131), QLatin1Char('i'));
    key.remove(QChar(0x0307));
    return key;
}

bool isNumericField(FieldType type)
{
    return type == FieldType::Int32 || type == FieldType::Int64 || type == FieldType::Double || type == FieldType::Date;
}

} // namespace

QVector<int> columnWidthsByWeight(const QVector<int>& weights, int gridWidth)
{
    QVector<int> widths;
    if (weights.isEmpty())
        return widths;
    const int available = std::max(gridWidth - 30, 0);
    const int sum = std::accumulate(weights.cbegin(), weights.cend(), 0,
                                    [](int total, int weight) { return total + std::max(weight, 0); });
    widths.reserve(weights.size());
    if (sum == 0) {
        const int share = available / static_cast<int>(weights.size());
        widths.fill(std::max(share, kMinimumColumnWidth), weights.size());
        return widths;
    }
    const int unit = available / sum;
    for (int weight : weights)
        widths.append(std::max(std::max(weight, 0) * unit, kMinimumColumnWidth));
    return widths;
}

// --- filter model -----------------------------------------------------------------------------

void GridFilterModel::setColumnFilter(int column, const QString& value)
{
    m_filters.insert(column, value);
    invalidate(); // one layout change; a row-by-row update is slow on long lists
}

void GridFilterModel::clearColumnFilter(int column)
{
    if (m_filters.remove(column))
        invalidate(); // one layout change; a row-by-row update is slow on long lists
}

void GridFilterModel::clearColumnFilters()
{
    if (m_filters.isEmpty())
        return;
    m_filters.clear();
    invalidate(); // one layout change; a row-by-row update is slow on long lists
}

bool GridFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    for (auto it = m_filters.cbegin(); it != m_filters.cend(); ++it) {
        const QModelIndex index = sourceModel()->index(sourceRow, it.key(), sourceParent);
        if (index.data(DataSetModel::KeyRole).toString() != it.value())
            return false;
    }
    return true;
}

// --- header -----------------------------------------------------------------------------------

GridHeader::GridHeader(GridView* grid, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
    , m_grid(grid)
{
    setSectionsClickable(true);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void GridHeader::setFilterButtonsVisible(bool visible)
{
    m_buttons = visible;
    viewport()->update();
}

QRect GridHeader::buttonRectIn(const QRect& section) const
{
    return QRect(section.right() - kFilterButtonWidth + 1, section.top(), kFilterButtonWidth, section.height());
}

bool GridHeader::hasFilterButton(int logicalIndex) const
{
    // Columns bound to no field have no values to choose from.
    return m_buttons && logicalIndex >= 0 && logicalIndex < m_grid->m_columns.size() &&
           !m_grid->m_columns[logicalIndex].fieldName.isEmpty();
}

QRect GridHeader::filterButtonRect(int logicalIndex) const
{
    if (!hasFilterButton(logicalIndex) || isSectionHidden(logicalIndex))
        return {};
    return buttonRectIn(QRect(sectionViewportPosition(logicalIndex), 0, sectionSize(logicalIndex), height()));
}

void GridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    if (!hasFilterButton(logicalIndex) || rect.width() < 2 * kFilterButtonWidth)
        return;
    const bool filtered = m_grid->m_filter->hasColumnFilter(logicalIndex);
    const QRect button = buttonRectIn(rect);
    const QPointF centre = QRectF(button).center();
    QPainterPath arrow;
    arrow.moveTo(centre.x() - 4, centre.y() - 2);
    arrow.lineTo(centre.x() + 4, centre.y() - 2);
    arrow.lineTo(centre.x(), centre.y() + 3);
    arrow.closeSubpath();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(filtered ? palette().color(QPalette::Highlight) : palette().color(QPalette::Mid));
    painter->drawPath(arrow);
    painter->restore();
}

void GridHeader::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const int logical = logicalIndexAt(pos);
    if (event->button() == Qt::LeftButton && logical >= 0 && filterButtonRect(logical).contains(pos)) {
        emit filterButtonClicked(logical, viewport()->mapToGlobal(filterButtonRect(logical).bottomLeft()));
        event->accept();
        return;
    }
    QHeaderView::mousePressEvent(event);
}

QSize GridHeader::sectionSizeFromContents(int logicalIndex) const
{
    QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
    if (hasFilterButton(logicalIndex))
        size.rwidth() += kFilterButtonWidth;
    return size;
}

// --- table ------------------------------------------------------------------------------------

GridTable::GridTable(GridView* grid, QWidget* parent)
    : QTableView(parent)
    , m_grid(grid)
{
}

void GridTable::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const bool printable =
        !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isPrint(); });
    if (m_grid->m_incrementalSearch && printable && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        m_grid->typeAhead(text);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

// --- footer -----------------------------------------------------------------------------------

GridFooter::GridFooter(GridView* grid, QWidget* parent)
    : QWidget(parent)
    , m_grid(grid)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
}

QSize GridFooter::sizeHint() const
{
    return {100, fontMetrics().height() + 8};
}

void GridFooter::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, 0, width(), 0);
    painter.setPen(palette().color(QPalette::ButtonText));
    const QHeaderView* header = m_grid->m_header;
    const int offset = m_grid->m_table->viewport()->mapTo(m_grid, QPoint(0, 0)).x() - x();
    for (auto it = m_grid->m_summaryKinds.cbegin(); it != m_grid->m_summaryKinds.cend(); ++it) {
        const int column = it.key();
        if (header->isSectionHidden(column))
            continue;
        const QRect cell(offset + header->sectionViewportPosition(column), 0, header->sectionSize(column), height());
        const QString text = m_grid->summaryText(m_grid->m_columns[column].objectName);
        const Qt::Alignment alignment =
            (m_grid->m_model->alignment(column) & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
        painter.drawText(cell.adjusted(4, 0, -4, 0), static_cast<int>(alignment), text);
    }
}

// --- delegate ---------------------------------------------------------------------------------

GridDelegate::GridDelegate(GridView* grid)
    : QStyledItemDelegate(grid)
    , m_grid(grid)
{
}

const GridColumn& GridDelegate::columnOf(const QModelIndex& index) const
{
    return m_grid->m_columns[index.column()];
}

void GridDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const GridColumn& column = columnOf(index);
    if (column.wrap)
        option->features |= QStyleOptionViewItem::WrapText;
    else
        option->features &= ~QStyleOptionViewItem::WrapText;
    option->state &= ~QStyle::State_HasFocus; // whole rows are focused, never one cell
}

void GridDelegate::paintBackground(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    background.icon = QIcon();
    background.features &= ~(QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration |
                             QStyleOptionViewItem::HasDisplay);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const GridColumn& column = columnOf(index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    switch (column.kind) {
    case CellKind::Text:
    case CellKind::Number:
        QStyledItemDelegate::paint(painter, option, index);
        return;
    case CellKind::CheckBox: {
        paintBackground(painter, option, index);
        const QVariant state = index.data(Qt::CheckStateRole);
        if (!state.isValid())
            return;
        QStyleOptionViewItem check = option;
        const QSize size(style->pixelMetric(QStyle::PM_IndicatorWidth, &option, widget),
                         style->pixelMetric(QStyle::PM_IndicatorHeight, &option, widget));
        check.rect =
            QStyle::alignedRect(option.direction, m_grid->m_model->alignment(index.column()), size, option.rect);
        check.state &= ~QStyle::State_HasFocus;
        check.state |= state.toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, widget);
        return;
    }
    case CellKind::Image: {
        paintBackground(painter, option, index);
        const QPixmap picture = index.data(Qt::DecorationRole).value<QPixmap>();
        if (picture.isNull())
            return;
        const QSize logical = picture.deviceIndependentSize().toSize();
        const QSize size = logical.boundedTo(option.rect.size()) == logical
                               ? logical
                               : logical.scaled(option.rect.size(), Qt::KeepAspectRatio);
        const QRect target =
            QStyle::alignedRect(option.direction, m_grid->m_model->alignment(index.column()), size, option.rect);
        painter->drawPixmap(target, picture);
        return;
    }
    case CellKind::Progress: {
        paintBackground(painter, option, index);
        const QVariant value = index.data(DataSetModel::ProgressRole);
        if (!value.isValid())
            return;
        QStyleOptionProgressBar bar;
        bar.initFrom(widget);
        bar.state = option.state & ~QStyle::State_HasFocus;
        bar.rect = option.rect.adjusted(2, 3, -2, -3);
        bar.minimum = 0;
        bar.maximum = std::max(column.progressMaximum, 0);
        bar.progress = value.toInt();
        bar.text = index.data(Qt::DisplayRole).toString();
        bar.textVisible = true;
        bar.textAlignment = Qt::AlignCenter;
        style->drawControl(QStyle::CE_ProgressBar, &bar, painter, widget);
        return;
    }
    case CellKind::Button: {
        paintBackground(painter, option, index);
        QStyleOptionButton button;
        button.initFrom(widget);
        button.rect = option.rect.adjusted(2, 2, -2, -2);
        button.text = index.data(Qt::DisplayRole).toString();
        button.state = QStyle::State_Enabled |
                       (m_pressed.isValid() && m_pressed == index ? QStyle::State_Sunken : QStyle::State_Raised);
        style->drawControl(QStyle::CE_PushButton, &button, painter, widget);
        return;
    }
    case CellKind::RichText: {
        paintBackground(painter, option, index);
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QRect area = item.rect.adjusted(3, 1, -3, -1);
        QTextDocument document;
        document.setDefaultFont(item.font);
        document.setDocumentMargin(0);
        document.setHtml(index.data(Qt::DisplayRole).toString());
        document.setTextWidth(column.wrap ? area.width() : -1);
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette = item.palette;
        context.palette.setColor(
            QPalette::Text,
            item.palette.color(item.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        const qreal height = std::min<qreal>(document.size().height(), area.height());
        painter->save();
        painter->translate(area.left(), area.top() + (area.height() - height) / 2);
        painter->setClipRect(QRectF(0, 0, area.width(), area.height()));
        document.documentLayout()->draw(painter, context);
        painter->restore();
        return;
    }
    case CellKind::Drawn: {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        DataSet* dataSet = m_grid->dataSet();
        if (!column.painter || !dataSet) {
            paintBackground(painter, option, index);
            return;
        }
        painter->save();
        column.painter(*painter, item, *dataSet, m_grid->dataRow(index.row()));
        painter->restore();
        return;
    }
    }
}

QSize GridDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const GridColumn& column = columnOf(index);
    switch (column.kind) {
    case CellKind::Image: {
        QSize size(0, 0);
        for (const QPixmap& picture : column.images)
            size = size.expandedTo(picture.deviceIndependentSize().toSize());
        return size + QSize(6, 4);
    }
    case CellKind::CheckBox:
        return QSize(24, 20);
    case CellKind::Button: {
        const QFontMetrics metrics(option.font);
        return QSize(metrics.horizontalAdvance(column.buttonText) + 24, metrics.height() + 10);
    }
    case CellKind::RichText: {
        QTextDocument document;
        document.setDefaultFont(option.font);
        document.setDocumentMargin(0);
        document.setHtml(index.data(Qt::DisplayRole).toString());
        return document.size().toSize() + QSize(8, 4);
    }
    case CellKind::Drawn:
        return QSize(column.width, option.fontMetrics.height());
    default:
        return QStyledItemDelegate::sizeHint(option, index);
    }
}

bool GridDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                               const QModelIndex& index)
{
    const GridColumn& column = columnOf(index);
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool release = event->type() == QEvent::MouseButtonRelease;
    if (!press && !release)
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    const bool inside = option.rect.contains(mouse->position().toPoint());

    if (column.kind == CellKind::Button) {
        if (press && inside) {
            m_pressed = index;
            return false; // the press still focuses the row
        }
        const bool clicked = release && inside && m_pressed == index;
        m_pressed = QPersistentModelIndex();
        if (clicked)
            emit m_grid->buttonClicked(column.objectName, m_grid->dataRow(index.row()));
        return clicked;
    }
    if (column.kind == CellKind::CheckBox && (index.flags() & Qt::ItemIsUserCheckable)) {
        if (release && inside) {
            const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
            return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
        }
        return false;
    }
    return false;
}

// --- grid -------------------------------------------------------------------------------------

GridView::GridView(QWidget* parent)
    : QWidget(parent)
    , m_model(new DataSetModel(this))
    , m_filter(new GridFilterModel(this))
{
    m_filter->setSourceModel(m_model);
    m_model->setLocale(locale());

    m_table = new GridTable(this, this);
    m_header = new GridHeader(this, m_table);
    m_table->setHorizontalHeader(m_header);
    m_table->setModel(m_filter);
    m_delegate = new GridDelegate(this);
    m_table->setItemDelegate(m_delegate);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->setAlternatingRowColors(true);
    m_table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setMinimumSectionSize(1);
    m_table->setEnabled(false); // nothing to show until a data set comes
    m_header->setSectionResizeMode(QHeaderView::Interactive);
    m_header->setContextMenuPolicy(Qt::CustomContextMenu);
    m_header->setMinimumSectionSize(kMinimumColumnWidth);
    setFocusProxy(m_table);

    m_footer = new GridFooter(this, this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_table);
    layout->addWidget(m_footer);

    connect(m_table->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { onCurrentChanged(current); });
    connect(m_table, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit doubleClicked(dataRow(index.row()));
    });
    connect(m_table, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        const QModelIndex index = m_table->indexAt(pos);
        if (index.isValid())
            m_table->setCurrentIndex(index);
        emit contextMenuRequested(focusedRow(), m_table->viewport()->mapToGlobal(pos));
    });
    connect(m_header, &GridHeader::filterButtonClicked, this,
            [this](int column, const QPoint& globalPos) { showFilterMenu(column, globalPos); });
    connect(m_header, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { showColumnChooser(m_header->mapToGlobal(pos)); });

    // The footer follows the columns and the rows shown.
    auto refreshFooter = [this] { m_footer->update(); };
    connect(m_header, &QHeaderView::sectionResized, m_footer, refreshFooter);
    connect(m_header, &QHeaderView::sectionMoved, m_footer, refreshFooter);
    connect(m_table->horizontalScrollBar(), &QScrollBar::valueChanged, m_footer, refreshFooter);
    connect(m_filter, &QAbstractItemModel::modelReset, this, [this] {
        summariesChanged();
        syncFromCursor();
    });
    connect(m_filter, &QAbstractItemModel::rowsInserted, this, &GridView::summariesChanged);
    connect(m_filter, &QAbstractItemModel::rowsRemoved, this, &GridView::summariesChanged);
    connect(m_filter, &QAbstractItemModel::layoutChanged, this, &GridView::summariesChanged);
    connect(m_filter, &QAbstractItemModel::dataChanged, this, &GridView::summariesChanged);
}

GridView::~GridView()
{
    // The table and its header read the columns while they are hidden and destroyed; they go
    // first, while the columns still exist.
    delete m_table;
}

QTableView* GridView::tableView() const
{
    return m_table;
}

int GridView::columnIndex(const QString& objectName) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].objectName == objectName)
            return i;
    }
    return -1;
}

int GridView::requireColumn(const QString& objectName) const
{
    const int index = columnIndex(objectName);
    if (index < 0)
        throw std::invalid_argument("GridView: no column " + objectName.toStdString());
    return index;
}

void GridView::setColumns(const QVector<GridColumn>& columns)
{
    beginUpdate();
    m_filter->clearColumnFilters();
    m_summaryKinds.clear();
    m_columns = columns;
    m_model->setColumns(columns);
    for (int i = 0; i < m_columns.size(); ++i) {
        m_header->resizeSection(i, std::max(m_columns[i].width, kMinimumColumnWidth));
        m_header->setSectionHidden(i, !m_columns[i].visible);
    }
    summariesChanged();
    endUpdate();
}

void GridView::setColumnVisible(const QString& objectName, bool visible)
{
    const int column = requireColumn(objectName);
    m_columns[column].visible = visible;
    m_header->setSectionHidden(column, !visible);
    m_footer->update();
}

bool GridView::isColumnVisible(const QString& objectName) const
{
    return !m_header->isSectionHidden(requireColumn(objectName));
}

void GridView::setColumnOffered(const QString& objectName, bool offered)
{
    m_columns[requireColumn(objectName)].offered = offered;
}

void GridView::setColumnWidth(const QString& objectName, int width)
{
    const int column = requireColumn(objectName);
    m_columns[column].width = width;
    m_header->resizeSection(column, width);
}

int GridView::columnWidth(const QString& objectName) const
{
    return m_header->sectionSize(requireColumn(objectName));
}

QStringList GridView::visibleColumns() const
{
    QStringList names;
    for (int visual = 0; visual < m_header->count(); ++visual) {
        const int logical = m_header->logicalIndex(visual);
        if (!m_header->isSectionHidden(logical))
            names.append(m_columns[logical].objectName);
    }
    return names;
}

QString GridView::focusedColumn() const
{
    const QModelIndex current = m_table->currentIndex();
    return current.isValid() ? m_columns[current.column()].objectName : QString();
}

void GridView::setDataSet(DataSet* dataSet)
{
    if (m_dataSet == dataSet)
        return;
    if (m_dataSet)
        disconnect(m_dataSet, nullptr, this, nullptr);
    m_dataSet = dataSet;
    if (m_dataSet)
        connect(m_dataSet, &DataSet::cursorMoved, this, &GridView::onCursorMoved);
    m_model->setDataSet(dataSet); // resets the rows, which also puts the focus on the cursor
    m_table->setEnabled(dataSet != nullptr);
}

DataSet* GridView::dataSet() const
{
    return m_dataSet;
}

int GridView::rowCount() const
{
    return m_filter->rowCount();
}

int GridView::dataRow(int shownRow) const
{
    if (shownRow < 0 || shownRow >= m_filter->rowCount())
        return -1;
    return m_filter->mapToSource(m_filter->index(shownRow, 0)).row();
}

int GridView::focusedRow() const
{
    const QModelIndex current = m_table->currentIndex();
    return current.isValid() ? dataRow(current.row()) : -1;
}

void GridView::setFocusedRow(int row)
{
    const QModelIndex current = m_table->currentIndex();
    const int column = current.isValid() ? current.column() : 0;
    const QModelIndex index = m_filter->mapFromSource(m_model->index(row, column));
    if (index.isValid())
        m_table->setCurrentIndex(index);
}

void GridView::onCurrentChanged(const QModelIndex& current)
{
    const int row = current.isValid() ? dataRow(current.row()) : -1;
    if (!m_syncing && row >= 0 && m_dataSet && m_dataSet->recNo() != row) {
        m_syncing = true;
        m_dataSet->moveTo(row);
        m_syncing = false;
    }
    emit focusedRowChanged(row);
}

void GridView::onCursorMoved(int row)
{
    if (m_syncing || row < 0 || row >= m_model->rowCount())
        return;
    m_syncing = true;
    setFocusedRow(row);
    m_syncing = false;
}

void GridView::syncFromCursor()
{
    if (m_dataSet)
        onCursorMoved(m_dataSet->recNo());
}

void GridView::setRowHeight(int height)
{
    m_table->verticalHeader()->setDefaultSectionSize(height);
}

int GridView::rowHeight() const
{
    return m_table->verticalHeader()->defaultSectionSize();
}

void GridView::setHeaderHeight(int height)
{
    m_header->setFixedHeight(height);
}

int GridView::headerHeight() const
{
    return m_header->height();
}

void GridView::setFooterVisible(bool visible)
{
    m_footer->setVisible(visible);
}

void GridView::setFilterButtonsVisible(bool visible)
{
    m_header->setFilterButtonsVisible(visible);
}

void GridView::setColumnChooserEnabled(bool enabled)
{
    m_columnChooser = enabled;
}

void GridView::setIncrementalSearchEnabled(bool enabled)
{
    m_incrementalSearch = enabled;
}

void GridView::setIncrementalSearchInterval(int milliseconds)
{
    m_searchInterval = milliseconds;
}

void GridView::beginUpdate()
{
    if (m_updateDepth++ == 0)
        setUpdatesEnabled(false);
}

void GridView::endUpdate()
{
    if (m_updateDepth == 0 || --m_updateDepth > 0)
        return;
    setUpdatesEnabled(true);
    update();
}

void GridView::applyWeightWidths(int gridWidth)
{
    QVector<int> columns;
    QVector<int> weights;
    for (int visual = 0; visual < m_header->count(); ++visual) {
        const int logical = m_header->logicalIndex(visual);
        if (m_header->isSectionHidden(logical))
            continue;
        columns.append(logical);
        weights.append(m_columns[logical].weight);
    }
    const QVector<int> widths = columnWidthsByWeight(weights, gridWidth);
    beginUpdate();
    for (int i = 0; i < columns.size(); ++i)
        m_header->resizeSection(columns[i], widths[i]);
    endUpdate();
}

void GridView::applyWidthRule(int referenceWidth, int gridWidth)
{
    if (referenceWidth > kWideLayoutWidth)
        applyWeightWidths(gridWidth);
    else
        bestFitAll();
}

void GridView::bestFit(const QString& objectName)
{
    m_table->resizeColumnToContents(requireColumn(objectName));
}

void GridView::bestFitAll()
{
    beginUpdate();
    for (int column = 0; column < m_columns.size(); ++column) {
        if (!m_header->isSectionHidden(column))
            m_table->resizeColumnToContents(column);
    }
    endUpdate();
}

// --- type-ahead -------------------------------------------------------------------------------

bool GridView::typeAhead(const QString& text)
{
    if (!m_searchClock.isValid() || m_searchClock.elapsed() > m_searchInterval)
        m_searchText.clear();
    m_searchClock.restart();
    m_searchText += text;

    int column = m_table->currentIndex().column();
    if (column < 0) {
        const QStringList visible = visibleColumns();
        if (visible.isEmpty())
            return false;
        column = columnIndex(visible.first());
    }
    const QString wanted = searchKey(m_searchText);
    for (int row = 0; row < m_filter->rowCount(); ++row) {
        const QModelIndex index = m_filter->index(row, column);
        if (searchKey(index.data(DataSetModel::KeyRole).toString()).startsWith(wanted)) {
            m_table->setCurrentIndex(index);
            m_table->scrollTo(index);
            return true;
        }
    }
    return false;
}

// --- summaries --------------------------------------------------------------------------------

void GridView::setSummary(const QString& objectName, SummaryKind kind)
{
    m_summaryKinds.insert(requireColumn(objectName), kind);
    summariesChanged();
}

void GridView::clearSummaries()
{
    m_summaryKinds.clear();
    summariesChanged();
}

void GridView::summariesChanged()
{
    m_summariesDirty = true;
    m_footer->update();
}

void GridView::computeSummaries() const
{
    m_summaryTexts.clear();
    m_summariesDirty = false;
    if (!m_dataSet)
        return;
    const int shown = m_filter->rowCount();
    for (auto it = m_summaryKinds.cbegin(); it != m_summaryKinds.cend(); ++it) {
        const int column = it.key();
        if (it.value() == SummaryKind::Count) {
            m_summaryTexts.insert(column, QString::number(shown));
            continue;
        }
        const int field = m_model->fieldIndex(column);
        if (field < 0)
            continue;
        double sum = 0;
        for (int row = 0; row < shown; ++row)
            sum += m_dataSet->value(dataRow(row), field).toDouble();
        const DataSet::Field& definition = m_dataSet->fields()[field];
        QString text;
        if (!definition.displayFormat.isEmpty())
            text = formatNumber(sum, definition.displayFormat, m_model->locale());
        else if (definition.type == FieldType::Double)
            text = m_model->locale().toString(sum, 'g', 15);
        else
            text = QString::number(static_cast<qint64>(sum));
        m_summaryTexts.insert(column, text);
    }
}

QString GridView::summaryText(const QString& objectName) const
{
    const int column = requireColumn(objectName);
    if (m_summariesDirty)
        computeSummaries();
    return m_summaryTexts.value(column);
}

// --- filters ----------------------------------------------------------------------------------

QStringList GridView::filterValues(const QString& objectName) const
{
    const int column = requireColumn(objectName);
    const int field = m_model->fieldIndex(column);
    if (!m_dataSet || field < 0)
        return {};
    QSet<QString> seen;
    QVector<QPair<QVariant, QString>> values;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const QString key = m_model->index(row, column).data(DataSetModel::KeyRole).toString();
        if (seen.contains(key))
            continue;
        seen.insert(key);
        values.append({m_dataSet->value(row, field), key});
    }
    if (isNumericField(m_dataSet->fields()[field].type)) {
        std::sort(values.begin(), values.end(), [](const auto& a, const auto& b) {
            if (a.first.isNull() != b.first.isNull())
                return a.first.isNull(); // empty first
            return a.first.toDouble() < b.first.toDouble();
        });
    } else {
        std::sort(values.begin(), values.end(),
                  [](const auto& a, const auto& b) { return QString::localeAwareCompare(a.second, b.second) < 0; });
    }
    QStringList keys;
    keys.reserve(values.size());
    for (const auto& value : values)
        keys.append(value.second);
    return keys;
}

void GridView::setFilter(const QString& objectName, const QString& value)
{
    m_filter->setColumnFilter(requireColumn(objectName), value);
    m_header->viewport()->update();
}

void GridView::clearFilter(const QString& objectName)
{
    m_filter->clearColumnFilter(requireColumn(objectName));
    m_header->viewport()->update();
}

void GridView::clearFilters()
{
    m_filter->clearColumnFilters();
    m_header->viewport()->update();
}

bool GridView::isFiltered(const QString& objectName) const
{
    return m_filter->hasColumnFilter(requireColumn(objectName));
}

QMenu* GridView::createFilterMenu(const QString& objectName, QWidget* parent)
{
    const int column = requireColumn(objectName);
    auto* menu = new QMenu(parent);
    menu->addAction(kAllValues, this, [this, objectName] { clearFilter(objectName); });
    menu->addSeparator();
    const QStringList values = filterValues(objectName);
    const bool filtered = m_filter->hasColumnFilter(column);
    const QString current = m_filter->columnFilter(column);
    for (int i = 0; i < values.size() && i < kMaxFilterValues; ++i) {
        const QString value = values[i];
        QAction* action = menu->addAction(value.isEmpty() ? kEmptyValue : value, this,
                                          [this, objectName, value] { setFilter(objectName, value); });
        action->setCheckable(true);
        action->setChecked(filtered && current == value);
    }
    if (values.size() > kMaxFilterValues)
        menu->addAction(QStringLiteral("…"))->setEnabled(false);
    return menu;
}

QMenu* GridView::createColumnChooserMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    for (int visual = 0; visual < m_header->count(); ++visual) {
        const int logical = m_header->logicalIndex(visual);
        const GridColumn& column = m_columns[logical];
        if (!column.offered)
            continue;
        QAction* action = menu->addAction(column.caption.isEmpty() ? column.objectName : column.caption);
        action->setObjectName(column.objectName);
        action->setCheckable(true);
        action->setChecked(!m_header->isSectionHidden(logical));
        const QString name = column.objectName;
        connect(action, &QAction::toggled, this, [this, name](bool checked) { setColumnVisible(name, checked); });
    }
    return menu;
}

void GridView::showFilterMenu(int column, const QPoint& globalPos)
{
    QMenu* menu = createFilterMenu(m_columns[column].objectName, this);
    menu->exec(globalPos);
    delete menu;
}

void GridView::showColumnChooser(const QPoint& globalPos)
{
    if (!m_columnChooser)
        return;
    QMenu* menu = createColumnChooserMenu(this);
    if (!menu->isEmpty())
        menu->exec(globalPos);
    delete menu;
}

void GridView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LocaleChange) {
        m_model->setLocale(locale());
        summariesChanged();
    }
    QWidget::changeEvent(event);
}

} // namespace velmora
