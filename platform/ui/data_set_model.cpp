#include "data_set_model.h"

#include "platform/data_set.h"

#include <QTextDocumentFragment>

#include <algorithm>

namespace velmora {

DataSetModel::DataSetModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void DataSetModel::setColumns(const QVector<GridColumn>& columns)
{
    beginResetModel();
    m_columns = columns;
    bind();
    endResetModel();
}

void DataSetModel::setDataSet(DataSet* dataSet)
{
    if (m_dataSet == dataSet)
        return;
    if (m_dataSet)
        disconnect(m_dataSet, nullptr, this, nullptr);
    m_dataSet = dataSet;
    if (m_dataSet) {
        connect(m_dataSet, &DataSet::reset, this, &DataSetModel::refresh);
        connect(m_dataSet, &DataSet::rowChanged, this, &DataSetModel::onRowChanged);
        // A data set that goes away leaves an empty grid behind.
        connect(m_dataSet, &QObject::destroyed, this, &DataSetModel::refresh);
    }
    refresh();
}

void DataSetModel::setLocale(const QLocale& locale)
{
    if (m_locale == locale)
        return;
    m_locale = locale;
    if (m_rowCount > 0 && !m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(m_rowCount - 1, columnCount() - 1));
}

void DataSetModel::refresh()
{
    beginResetModel();
    bind();
    endResetModel();
}

void DataSetModel::bind()
{
    m_fields.fill(-1, m_columns.size());
    m_rowCount = 0;
    if (!m_dataSet || !m_dataSet->isOpen())
        return;
    m_rowCount = m_dataSet->recordCount();
    for (int c = 0; c < m_columns.size(); ++c) {
        if (!m_columns[c].fieldName.isEmpty())
            m_fields[c] = m_dataSet->fieldIndex(m_columns[c].fieldName);
    }
}

void DataSetModel::onRowChanged(int row)
{
    if (row < 0 || row >= m_rowCount || m_columns.isEmpty())
        return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

int DataSetModel::fieldIndex(int column) const
{
    return column >= 0 && column < m_fields.size() ? m_fields[column] : -1;
}

Qt::Alignment DataSetModel::alignment(int column) const
{
    const GridColumn& c = m_columns[column];
    Qt::Alignment result = c.alignment;
    if (!(result & Qt::AlignHorizontal_Mask)) {
        switch (c.kind) {
        case CellKind::Number:
            result |= Qt::AlignRight;
            break;
        case CellKind::CheckBox:
        case CellKind::Image:
        case CellKind::Progress:
        case CellKind::Button:
            result |= Qt::AlignHCenter;
            break;
        default:
            result |= Qt::AlignLeft;
            break;
        }
    }
    if (!(result & Qt::AlignVertical_Mask))
        result |= Qt::AlignVCenter;
    return result;
}

int DataSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int DataSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QString DataSetModel::keyText(int row, int column) const
{
    const QString text = m_dataSet->displayText(row, m_fields[column], m_locale);
    if (m_columns[column].kind == CellKind::RichText)
        return QTextDocumentFragment::fromHtml(text).toPlainText();
    return text;
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !m_dataSet)
        return {};
    Q_ASSERT(checkIndex(index, CheckIndexOption::IndexIsValid));
    const int row = index.row();
    const int column = index.column();
    const GridColumn& c = m_columns[column];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignment(column));
    if (role == Qt::DisplayRole && c.kind == CellKind::Button)
        return c.buttonText;
    const int field = m_fields[column];
    if (field < 0)
        return {};

    switch (role) {
    case ValueRole:
        return m_dataSet->value(row, field);
    case KeyRole:
        return keyText(row, column);
    case Qt::DisplayRole:
        switch (c.kind) {
        case CellKind::Text:
        case CellKind::Number:
        case CellKind::RichText:
        case CellKind::Progress:
            return m_dataSet->displayText(row, field, m_locale);
        default:
            return {};
        }
    case Qt::EditRole:
        return c.kind == CellKind::Text || c.kind == CellKind::Number ? m_dataSet->value(row, field) : QVariant();
    case Qt::CheckStateRole:
        if (c.kind != CellKind::CheckBox)
            return {};
        return m_dataSet->value(row, field).toInt() != 0 ? Qt::Checked : Qt::Unchecked;
    case Qt::DecorationRole: {
        if (c.kind != CellKind::Image)
            return {};
        const QVariant value = m_dataSet->value(row, field);
        bool ok = false;
        const int picture = value.toInt(&ok);
        if (!ok || picture < 0 || picture >= c.images.size() || c.images[picture].isNull())
            return {};
        return c.images[picture];
    }
    case ProgressRole: {
        if (c.kind != CellKind::Progress)
            return {};
        const QVariant value = m_dataSet->value(row, field);
        if (!value.isValid() || value.isNull())
            return {};
        return std::clamp(qRound(value.toDouble()), 0, std::max(c.progressMaximum, 0));
    }
    default:
        return {};
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_columns[section].caption;
    return {};
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Q_ASSERT(checkIndex(index, CheckIndexOption::IndexIsValid));
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    const GridColumn& c = m_columns[index.column()];
    if (!c.readOnly && m_fields[index.column()] >= 0) {
        if (c.kind == CellKind::CheckBox)
            result |= Qt::ItemIsUserCheckable;
        else if (c.kind == CellKind::Text || c.kind == CellKind::Number)
            result |= Qt::ItemIsEditable;
    }
    return result;
}

bool DataSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || !m_dataSet)
        return false;
    const Qt::ItemFlags itemFlags = flags(index);
    QVariant stored;
    if (role == Qt::CheckStateRole && (itemFlags & Qt::ItemIsUserCheckable))
        stored = value.toInt() == Qt::Checked ? 1 : 0;
    else if (role == Qt::EditRole && (itemFlags & Qt::ItemIsEditable))
        stored = value;
    else
        return false;
    // Edits go through the data set's cursor, which then stands on the edited row.
    m_dataSet->moveTo(index.row());
    m_dataSet->edit();
    m_dataSet->setValue(m_dataSet->fields()[m_fields[index.column()]].name, stored);
    m_dataSet->post();
    return true;
}

} // namespace velmora
