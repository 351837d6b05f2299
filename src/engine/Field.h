#pragma once

#include "engine/DataType.h"

#include <QString>
#include <QVariant>

namespace kv::engine {

class TableDef;
class Recordset;

/// A field of a table definition or of a record set. While a field belongs to a stored
/// table, setting a property stores it at once; type, size and attributes can then no
/// longer be changed (error 3219). Value is only meaningful on record-set fields.
class Field {
public:
    /// size < 0 takes the size the type carries (Text: 50).
    explicit Field(QString name = {}, int type = dbText, int size = -1);

    QString name() const { return m_name; }
    void setName(const QString& name);
    int type() const { return m_type; }
    void setType(int type);
    int size() const { return m_size; }
    void setSize(int size);
    int attributes() const { return m_attributes; }
    void setAttributes(int attributes);
    bool isAutoIncrement() const { return (m_attributes & dbAutoIncrField) != 0; }
    QString defaultValue() const { return m_defaultValue; }
    void setDefaultValue(const QString& expression);
    bool required() const { return m_required; }
    void setRequired(bool required);
    bool allowZeroLength() const { return m_allowZeroLength; }
    void setAllowZeroLength(bool allow);
    QString validationRule() const { return m_validationRule; }
    void setValidationRule(const QString& rule);
    QString validationText() const { return m_validationText; }
    void setValidationText(const QString& text);
    int ordinalPosition() const { return m_ordinalPosition; }
    void setOrdinalPosition(int position);

    QString sourceTable() const { return m_sourceTable; }
    QString sourceField() const { return m_sourceField; }
    QString foreignName() const { return m_foreignName; }
    bool dataUpdatable() const { return m_dataUpdatable; }

    /// Record-set fields: the current record's value, typed by the field type.
    QVariant value() const;
    /// Record-set fields in edit mode; throws 3020-style errors otherwise.
    void setValue(const QVariant& value);

    TableDef* table() const { return m_table; }

private:
    friend class Catalog;
    friend class Database;
    friend class TableDef;
    friend class Recordset;

    template <class Change> void change(Change&& aenderung);

    QString m_name;
    int m_type = dbText;
    int m_size = 50;
    int m_attributes = dbVariableField;
    QString m_defaultValue;
    bool m_required = false;
    bool m_allowZeroLength = false;
    QString m_validationRule;
    QString m_validationText;
    int m_ordinalPosition = 0;
    QString m_sourceTable;
    QString m_sourceField;
    QString m_foreignName;
    bool m_dataUpdatable = false;

    TableDef* m_table = nullptr;
    Recordset* m_recordset = nullptr;
    int m_column = -1;
};

} // namespace kv::engine
