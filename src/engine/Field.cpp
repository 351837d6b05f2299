#include "engine/Field.h"

#include "engine/Database.h"
#include "engine/Recordset.h"
#include "engine/TableDef.h"
#include "engine/catalog/Catalog.h"
#include "engine/cursor/RecordColumns.h"

namespace kv::engine {

Field::Field(QString name, int type, int size)
{
    m_def.name = std::move(name);
    m_def.type = type;
    m_def.size = size < 0 ? datatype::defaultSize(type) : size;
    m_def.attributes = datatype::defaultAttributes(type);
    m_def.allowZeroLength = false;
}

Field::Field(TableDef& table, FieldDefinition definition)
    : m_def(std::move(definition))
    , m_sourceTable(table.name())
    , m_sourceField(m_def.name)
    , m_dataUpdatable(true)
    , m_table(&table)
{ }

Field::Field(Recordset& recordset, int column, const RecordColumn& description)
    : m_def(description.definition)
    , m_sourceTable(description.sourceTable)
    , m_sourceField(description.sourceField)
    , m_dataUpdatable(description.updatable)
    , m_recordset(&recordset)
    , m_column(column)
{ }

template <class Change> void Field::change(Change&& apply)
{
    if (m_recordset)
        throw EngineError(err::NotSupported,
            QStringLiteral("Die Eigenschaft eines Datensatzgruppen-Feldes kann nicht geändert "
                           "werden."));
    if (!m_table || !m_table->isStored()) {
        apply(m_def);
        return;
    }
    FieldDefinition changed = m_def;
    apply(changed);
    m_table->database()->catalog().updateField(m_table->name(), m_def, changed);
    apply(m_def);
}

void Field::setName(const QString& name)
{
    change([&](FieldDefinition& f) { f.name = name; });
}

namespace {
void onlyNew(const Field& f)
{
    if (f.table() && f.table()->isStored())
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Typ, Größe und Attribute des gespeicherten Feldes '%1' können nicht "
                           "geändert werden.")
                .arg(f.name()));
}
} // namespace

void Field::setType(int type)
{
    onlyNew(*this);
    change([&](FieldDefinition& f) {
        f.type = type;
        if (type != dbText && type != dbChar && type != dbBinary && type != dbVarBinary)
            f.size = datatype::defaultSize(type);
    });
}

void Field::setSize(int size)
{
    onlyNew(*this);
    change([&](FieldDefinition& f) { f.size = size; });
}

void Field::setAttributes(int attributes)
{
    onlyNew(*this);
    change([&](FieldDefinition& f) { f.attributes = attributes; });
}

void Field::setDefaultValue(const QString& expression)
{
    change([&](FieldDefinition& f) { f.defaultValue = expression; });
}

void Field::setRequired(bool required)
{
    change([&](FieldDefinition& f) { f.required = required; });
}

void Field::setAllowZeroLength(bool allow)
{
    change([&](FieldDefinition& f) { f.allowZeroLength = allow; });
}

void Field::setValidationRule(const QString& rule)
{
    change([&](FieldDefinition& f) { f.validationRule = rule; });
}

void Field::setValidationText(const QString& text)
{
    change([&](FieldDefinition& f) { f.validationText = text; });
}

void Field::setOrdinalPosition(int position)
{
    change([&](FieldDefinition& f) { f.ordinalPosition = position; });
}

QVariant Field::value() const
{
    if (!m_recordset)
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Das Feld '%1' gehört zu keiner Datensatzgruppe.").arg(m_def.name));
    return m_recordset->value(m_column);
}

void Field::setValue(const QVariant& value)
{
    if (!m_recordset)
        throw EngineError(err::InvalidOperation,
            QStringLiteral("Das Feld '%1' gehört zu keiner Datensatzgruppe.").arg(m_def.name));
    m_recordset->setValue(m_column, value);
}

} // namespace kv::engine
