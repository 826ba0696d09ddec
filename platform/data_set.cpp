#include "data_set.h"

#include "number_format.h"

#include <QDate>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace velmora {

DataSet::DataSet(QObject* parent)
    : QObject(parent)
{
}

void DataSet::requireOpen(const char* operation) const
{
    if (!m_open)
        throw std::logic_error(std::string("DataSet::") + operation + ": data set is closed");
}

void DataSet::loadFromTable(const Table& table)
{
    Table copy = table;
    assignData(std::move(copy));
}

void DataSet::assignData(Table&& table)
{
    QVector<Field> fields;
    fields.reserve(table.columns.size());
    for (const Column& column : table.columns) {
        Field field{column.name, column.type, {}};
        // Keep a format set earlier on a field of the same name and type.
        const int old = fieldIndex(column.name);
        if (old >= 0 && m_fields[old].type == column.type)
            field.displayFormat = m_fields[old].displayFormat;
        fields.append(field);
    }
    m_fields = std::move(fields);
    m_rows = std::move(table.rows);
    // Every row holds one cell per field, whoever built the table.
    for (auto& row : m_rows) {
        if (row.size() != m_fields.size())
            row.resize(m_fields.size());
    }
    m_open = true;
    m_editing = false;
    m_appending = false;
    setCursor(m_rows.isEmpty() ? -1 : 0);
    notifyReset();
}

void DataSet::setFields(const QVector<Field>& fields)
{
    m_fields = fields;
    m_rows.clear();
    m_open = true;
    m_editing = false;
    setCursor(-1);
    notifyReset();
}

Table DataSet::toTable() const
{
    Table table;
    for (const Field& field : m_fields)
        table.columns.append({field.name, field.type});
    table.rows = m_rows;
    return table;
}

void DataSet::close()
{
    m_open = false;
    m_rows.clear();
    m_fields.clear();
    m_editing = false;
    setCursor(-1);
    notifyReset();
}

void DataSet::emptyDataSet()
{
    m_rows.clear();
    m_editing = false;
    setCursor(-1);
    notifyReset();
}

int DataSet::fieldIndex(const QString& name) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void DataSet::setDisplayFormat(const QString& fieldName, const QString& format)
{
    const int index = fieldIndex(fieldName);
    if (index < 0)
        return;
    m_fields[index].displayFormat = format;
    notifyReset();
}

void DataSet::setCursor(int row)
{
    if (m_rows.isEmpty()) {
        m_cursor = -1;
        m_eof = m_bof = true;
    } else {
        m_cursor = std::clamp(row, 0, static_cast<int>(m_rows.size()) - 1);
        m_eof = m_bof = false;
    }
    if (m_disabled == 0)
        emit cursorMoved(m_cursor);
    else
        m_pendingCursor = true;
}

void DataSet::checkBrowseMode()
{
    if (m_editing)
        post(); // leaving a row keeps its changes
}

void DataSet::first()
{
    checkBrowseMode();
    setCursor(0);
}

void DataSet::last()
{
    checkBrowseMode();
    setCursor(static_cast<int>(m_rows.size()) - 1);
}

void DataSet::next()
{
    checkBrowseMode();
    if (m_rows.isEmpty() || m_cursor >= m_rows.size() - 1) {
        m_eof = true;
        return;
    }
    setCursor(m_cursor + 1);
}

void DataSet::prior()
{
    checkBrowseMode();
    if (m_rows.isEmpty() || m_cursor <= 0) {
        m_bof = true;
        return;
    }
    setCursor(m_cursor - 1);
}

void DataSet::moveTo(int row)
{
    checkBrowseMode();
    setCursor(row);
}

bool DataSet::locate(const QString& fieldName, const QVariant& value)
{
    checkBrowseMode();
    const int column = fieldIndex(fieldName);
    if (column < 0)
        return false;
    for (int row = 0; row < m_rows.size(); ++row) {
        const QVariant& cell = m_rows[row][column];
        if (cell == value || (cell.isValid() && value.isValid() && cell.toString() == value.toString())) {
            setCursor(row);
            return true;
        }
    }
    return false;
}

QVariant DataSet::value(const QString& fieldName) const
{
    const int column = fieldIndex(fieldName);
    if (column < 0)
        return {};
    if (m_editing) // also a row being appended to an empty data set
        return m_editBuffer.value(column);
    if (m_cursor < 0)
        return {};
    return m_rows[m_cursor][column];
}

QVariant DataSet::value(int row, int column) const
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_fields.size())
        return {};
    return m_rows[row][column];
}

QString DataSet::displayText(int row, int column, const QLocale& locale) const
{
    const QVariant cell = value(row, column);
    if (!cell.isValid() || cell.isNull())
        return {};
    const Field& field = m_fields[column];
    switch (field.type) {
    case FieldType::Double:
    case FieldType::Int32:
    case FieldType::Int64:
        if (!field.displayFormat.isEmpty())
            return formatNumber(cell.toDouble(), field.displayFormat, locale);
        return field.type == FieldType::Double ? locale.toString(cell.toDouble(), 'g', 15)
                                               : QString::number(cell.toLongLong());
    case FieldType::Date:
        return locale.toString(QDate(1899, 12, 30).addDays(static_cast<qint64>(cell.toDouble())),
                               field.displayFormat.isEmpty() ? QStringLiteral("dd.MM.yyyy") : field.displayFormat);
    case FieldType::Bool:
        return cell.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case FieldType::Blob:
        return QStringLiteral("(BLOB)");
    case FieldType::Text:
        break;
    }
    return cell.toString();
}

void DataSet::edit()
{
    requireOpen("edit");
    if (m_editing)
        return;
    if (m_cursor < 0)
        throw std::logic_error("DataSet::edit: no current row");
    m_editBuffer = m_rows[m_cursor];
    m_editing = true;
    m_appending = false;
}

void DataSet::append()
{
    requireOpen("append");
    m_editBuffer = QVector<QVariant>(m_fields.size());
    m_editing = true;
    m_appending = true;
}

void DataSet::setValue(const QString& fieldName, const QVariant& value)
{
    if (!m_editing)
        throw std::logic_error("DataSet::setValue: not in edit mode");
    const int column = fieldIndex(fieldName);
    if (column < 0)
        throw std::invalid_argument("DataSet::setValue: no field " + fieldName.toStdString());
    m_editBuffer[column] = value;
}

void DataSet::post()
{
    if (!m_editing)
        return;
    m_editing = false;
    if (m_appending) {
        m_appending = false;
        m_rows.append(std::move(m_editBuffer));
        setCursor(static_cast<int>(m_rows.size()) - 1);
        notifyReset();
        return;
    }
    m_rows[m_cursor] = std::move(m_editBuffer);
    if (m_disabled == 0)
        emit rowChanged(m_cursor);
    else
        m_pendingReset = true;
}

void DataSet::cancel()
{
    m_editing = false;
    m_appending = false;
    m_editBuffer.clear();
}

void DataSet::deleteRow()
{
    requireOpen("deleteRow");
    if (m_appending) { // the row being appended is the one that goes
        cancel();
        return;
    }
    cancel(); // changes to the row that goes
    if (m_cursor < 0)
        return;
    m_rows.removeAt(m_cursor);
    setCursor(m_cursor);
    notifyReset();
}

void DataSet::disableControls()
{
    ++m_disabled;
}

void DataSet::enableControls()
{
    if (m_disabled == 0)
        return;
    if (--m_disabled > 0)
        return;
    const bool wasReset = std::exchange(m_pendingReset, false);
    const bool moved = std::exchange(m_pendingCursor, false);
    if (wasReset)
        emit reset();
    if (wasReset || moved)
        emit cursorMoved(m_cursor);
}

void DataSet::notifyReset()
{
    if (m_disabled > 0) {
        m_pendingReset = true;
        return;
    }
    emit reset();
}

} // namespace velmora
