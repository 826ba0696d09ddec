#pragma once

#include "table.h"

#include <QLocale>
#include <QObject>

namespace velmora {

// An in-memory table with a cursor, fed by remote results and shown by grids. Its columns are
// named as the server sends them; lookups by name ignore case. Change notifications can be
// suspended (disableControls / enableControls) while a load refills it.
class DataSet : public QObject {
    Q_OBJECT
public:
    struct Field {
        QString name;
        FieldType type = FieldType::Text;
        QString displayFormat; // empty: the value's plain text
    };

    explicit DataSet(QObject* parent = nullptr);

    // Structure and content.
    void loadFromTable(const Table& table);       // copy of a reader: columns and every row
    void assignData(Table&& table);               // a data packet replaces content and structure
    void setFields(const QVector<Field>& fields); // opens an empty data set with these fields
    Table toTable() const;
    void close();
    void emptyDataSet();
    bool isOpen() const { return m_open; }
    bool isEmpty() const { return m_rows.isEmpty(); }
    int fieldCount() const { return static_cast<int>(m_fields.size()); }
    int recordCount() const { return static_cast<int>(m_rows.size()); }
    const QVector<Field>& fields() const { return m_fields; }
    int fieldIndex(const QString& name) const; // -1 when missing
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }
    void setDisplayFormat(const QString& fieldName, const QString& format);

    // Cursor.
    int recNo() const { return m_cursor; } // 0-based, -1 when empty
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int row);
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool locate(const QString& fieldName, const QVariant& value);

    // Values of the current row; a missing field or an empty data set gives a null value.
    QVariant value(const QString& fieldName) const;
    QVariant value(int row, int column) const;
    QString displayText(int row, int column, const QLocale& locale = QLocale()) const;

    // Editing of the current row, and appending. Moving the cursor posts a pending edit;
    // deleting the row drops it.
    void edit();
    void setValue(const QString& fieldName, const QVariant& value);
    void post();
    void cancel();
    void append();
    void deleteRow();
    bool isEditing() const { return m_editing; }

    // Suspended notifications nest; the last enableControls reports one reset if anything changed.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disabled > 0; }

signals:
    void reset();             // structure or many rows changed
    void rowChanged(int row); // one row's values changed
    void cursorMoved(int row);

private:
    void setCursor(int row);
    void checkBrowseMode(); // posts a pending edit before the cursor moves
    void notifyReset();
    void requireOpen(const char* operation) const;

    QVector<Field> m_fields;
    QVector<QVector<QVariant>> m_rows;
    QVector<QVariant> m_editBuffer;
    int m_cursor = -1;
    bool m_open = false;
    bool m_eof = true;
    bool m_bof = true;
    bool m_editing = false;
    bool m_appending = false;
    int m_disabled = 0;
    bool m_pendingReset = false;
    bool m_pendingCursor = false;
};

} // namespace velmora
