#pragma once

#include "engine/catalog/Definitions.h"
#include "engine/core/DataType.h"

#include <QString>
#include <QVariant>

namespace kv::engine {

class TableDef;
class Recordset;
struct RecordColumn;

/// A field of a table definition or of a record set. While a field belongs to a stored
/// table, setting a property stores it at once; type, size and attributes can then no
/// longer be changed (error 3219). Value is only meaningful on record-set fields.
class Field {
public:
    /// size < 0 takes the size the type carries (Text: 50).
    explicit Field(QString name = {}, int type = dbText, int size = -1);
    /// A field of a stored table, as its catalog rows describe it.
    Field(TableDef& table, FieldDefinition definition);
    /// A field of a record set: its column at that position.
    Field(Recordset& recordset, int column, const RecordColumn& description);

    QString name() const { return m_def.name; }
    void setName(const QString& name);
    int type() const { return m_def.type; }
    void setType(int type);
    int size() const { return m_def.size; }
    void setSize(int size);
    int attributes() const { return m_def.attributes; }
    void setAttributes(int attributes);
    bool isAutoIncrement() const { return m_def.isAutoIncrement(); }
    QString defaultValue() const { return m_def.defaultValue; }
    void setDefaultValue(const QString& expression);
    bool required() const { return m_def.required; }
    void setRequired(bool required);
    bool allowZeroLength() const { return m_def.allowZeroLength; }
    void setAllowZeroLength(bool allow);
    QString validationRule() const { return m_def.validationRule; }
    void setValidationRule(const QString& rule);
    QString validationText() const { return m_def.validationText; }
    void setValidationText(const QString& text);
    int ordinalPosition() const { return m_def.ordinalPosition; }
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
    /// The definition as the catalog stores it.
    const FieldDefinition& definition() const { return m_def; }

private:
    // The table binds its fields when it takes or stores them and notes what storing decided.
    friend class TableDef;

    template <class Change> void change(Change&& apply);

    FieldDefinition m_def;
    QString m_sourceTable;
    QString m_sourceField;
    QString m_foreignName;
    bool m_dataUpdatable = false;

    TableDef* m_table = nullptr;
    Recordset* m_recordset = nullptr;
    int m_column = -1;
};

} // namespace kv::engine
